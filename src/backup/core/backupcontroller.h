#pragma once

#include "ui/core/services.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace store {
class Database;
class DatabaseCopy;
}

namespace backup {

// What the status labels show.
struct Status {
    bool backing = false;          // lblBacking and lblBackup
    QString backupTarget;          // lblBackup: the destination as typed
    bool backupComplete = false;   // lblBackupComplete
    QString backupCompleteText;
    bool restoring = false;        // lblRestoring
    bool restoreComplete = false;  // lblRestoreComplete
    QString restoreCompleteText;
};

// The backup and restore window (frmBackup) without its widgets: the two
// boxes, the numbered steps of both copies under the retry rule, and Exit.
class BackupController {
public:
    static inline const QString Caption = QStringLiteral("Back-up /Restore Files");
    static inline const QString BackupInstructions = QStringLiteral(
        "To back-up files, please specify destination disk drive  ( e.g. A: ),  and click Backup Button.");
    static inline const QString RestoreInstructions = QStringLiteral(
        "To restore files after hard disk crash or program reinstallation, please specify source disk "
        "drive ( e.g. A: ),  and click Restore Button.");
    static inline const QString BackingText = QStringLiteral("Backing up files to ");
    static inline const QString BackupCompleteText = QStringLiteral("Files back-up successful. ");
    static inline const QString RestoringText = QStringLiteral("Restoring files...");
    static inline const QString RestoreCompleteText = QStringLiteral("Files restored successfully.        ");
    static inline const QString NoInfoText = QStringLiteral("(no Info.xls to copy)");
    static inline const QString DestinationInvalidText = QStringLiteral(
        "Backup destination folder is invalid. Please create a new folder to store backup file.");
    static inline const QString DestinationTitle = QStringLiteral("Backup Destination");
    static inline const QString RestoreQuestion = QStringLiteral(
        "Existing database will be replaced!  Please make sure you have the correct data disk in the "
        "source drive. Do you wish to proceed?");
    static inline const QString RestoreTitle = QStringLiteral("Restore files");
    static inline const QString OthersOpenQuestion = QStringLiteral(
        "These stations are still open:\n%1\n\nPlease close them before restoring. If you restore now, "
        "they read the restored data again, and an entry being typed there is not stored until it is "
        "saved again.\n\nDo you wish to restore all the same?");
    static inline const QString DataFile = QStringLiteral("db.mdb");
    static inline const QString InfoFile = QStringLiteral("Info.xls");
    // Where a restore keeps the database it replaced, and how many it keeps.
    static inline const QString SafetyFolder = QStringLiteral("restore-safety");
    static constexpr int SafetyCopiesKept = 5;

    using CopierFactory = std::function<std::unique_ptr<store::DatabaseCopy>(store::Database &)>;
    using Clock = std::function<QDateTime()>;

    // `copier` makes the database copies (the engine's own by default);
    // `clock` dates the safety copies.
    explicit BackupController(ui::Services &services, CopierFactory copier = {}, Clock clock = {});
    ~BackupController();
    BackupController(const BackupController &) = delete;
    BackupController &operator=(const BackupController &) = delete;

    // Form_Load: both boxes get the destination of the last backup.
    void load();

    QString destination() const { return m_destination; }
    void setDestination(const QString &text) { m_destination = text; }
    QString source() const { return m_source; }
    void setSource(const QString &text) { m_source = text; }
    const Status &status() const { return m_status; }

    enum class Outcome {
        Done,       // every step succeeded
        Declined,   // the user answered No before anything was touched
        Abandoned,  // a step failed and the user did not retry
        Ended,      // the program is ending
    };
    Outcome backup();
    Outcome restore();

    // Exit button and close box: the program ends on the way out of it,
    // otherwise the main menu comes back.
    void exit();

    // Called as the labels change and as the busy pointer comes and goes, so
    // that the window shows them while a copy runs.
    std::function<void()> statusChanged;
    std::function<void(bool)> busyChanged;

private:
    using Step = std::function<void()>;
    Outcome run(const std::vector<Step> &steps, const std::function<void()> &abandon);
    void setBusy(bool on);
    void changed();
    // A backup or a restore neither running nor finished, as the window shows it.
    void clearStatus(bool &running, bool &complete);
    void closeWindows(const QStringList &names);
    std::unique_ptr<store::DatabaseCopy> copier();

    void checkDestination() const;
    void makeDestination();
    void removeLeftovers(const QString &folder);
    void backUpDatabase();
    void backUpInfo();
    void checkSource() const;
    void restoreDatabase();
    // The other stations still open are named; going on needs a Yes.
    void confirmOthersClosed() const;
    void restoreInfo();
    void keepSafetyCopy(store::DatabaseCopy &copy);

    ui::Services &m_s;
    CopierFactory m_copier;
    Clock m_clock;
    QString m_destination;
    QString m_source;
    QString m_folder;       // the destination or source without its trailing separator
    bool m_noInfo = false;  // there was no Info.xls to copy
    bool m_busy = false;
    Status m_status;
};

} // namespace backup
