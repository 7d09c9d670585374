#include "book/core/writefailure.h"

#include "store/core/database.h"
#include "store/core/dberror.h"

namespace book {

QString writeFailure(const store::DbError &error, const store::Database &db, const QString &outcome)
{
    const QString why = error.numbered();
    const bool server = db.onServer();
    QString cause, advice;
    switch (store::troubleOf(error)) {
    case store::DbTrouble::Busy:
        cause = QStringLiteral("Another station is holding the database at the moment (%1).").arg(why);
        advice = QStringLiteral("Please wait a moment and try again.");
        break;
    case store::DbTrouble::DiskFull:
        if (server) {
            cause = QStringLiteral("The database server\n%1\nhas no room left on its disk (%2).").arg(db.where(), why);
            advice = QStringLiteral("Ask whoever looks after the server to make room, then try again.");
        } else {
            cause = QStringLiteral("The disk that holds the database file\n%1\nis full (%2).").arg(db.where(), why);
            advice = QStringLiteral("Make room on that disk (on a network, on the computer that shares the "
                                    "folder), then try again.");
        }
        break;
    case store::DbTrouble::Unwritable:
        if (server) {
            cause = QStringLiteral("The database server\n%1\ntakes no changes from this station (%2).")
                        .arg(db.where(), why);
            advice = QStringLiteral("Ask whoever looks after the server to let this station's login change "
                                    "the practice's database, then try again.");
        } else {
            cause = QStringLiteral("The database file\n%1\ncannot be written to (%2).").arg(db.where(), why);
            advice = QStringLiteral("The program makes a short-lived journal file beside the database file at "
                                    "every save. Make sure the file is not read-only and that you are allowed "
                                    "to create and delete files in its folder (on a network, that the drive is "
                                    "still connected), then try again.");
        }
        break;
    case store::DbTrouble::Gone:
        cause = QStringLiteral("Another station removed this page while it was shown here (%1). The page now "
                               "shows what is stored.")
                    .arg(why);
        advice = QStringLiteral("Please look at the page and try again.");
        break;
    case store::DbTrouble::Restored:
        cause = QStringLiteral("%1 The page now shows the restored data.").arg(error.description());
        advice = QStringLiteral("Please look at the page and enter again what is still needed.");
        break;
    case store::DbTrouble::Other:
        cause = QStringLiteral("The database refused the change (%1).").arg(why);
        advice = QStringLiteral("Please try again; if this happens again, close the program and start it again.");
        break;
    }
    return cause + QStringLiteral("\n\n") + outcome + QLatin1Char(' ') + advice;
}

} // namespace book
