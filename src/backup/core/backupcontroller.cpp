#include "backup/core/backupcontroller.h"

#include "backup/core/filesteps.h"
#include "store/core/database.h"
#include "store/core/dbcopy.h"
#include "store/core/dberror.h"
#include "store/core/presence.h"
#include "store/core/settings.h"
#include "store/core/tempfiles.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace backup {

namespace {

// A step that has told the user why it stopped: the abandon actions follow,
// without the retry question.
struct Stopped {};
// A step that ends the program.
struct Ending {};
// The user said No before anything was touched.
struct Declined {};

const QString SpareField = QStringLiteral("Spare");

// Why a folder cannot be made: what stands in the way on its path.
QString creationProblem(const QString &folder)
{
    QFileInfo up(QFileInfo(folder).absolutePath());
    QString at = folder;
    while (!up.exists() && up.absoluteFilePath() != at) {
        at = up.absoluteFilePath();
        up = QFileInfo(up.absolutePath());
    }
    const QString where = QDir::toNativeSeparators(up.absoluteFilePath());
    if (!up.exists())
        return QStringLiteral("the drive or share is not there.");
    if (!up.isDir())
        return QStringLiteral("%1 is a file, not a folder.").arg(where);
    if (!up.isWritable())
        return QStringLiteral("this user may not create folders in %1. Choose another destination, or ask "
                              "the administrator for write access to it.").arg(where);
    return QStringLiteral("the disk refused it (it may be full or read-only).");
}

QString pathNotFound(const QString &path)
{
    return QStringLiteral("Path not found: %1").arg(path.isEmpty() ? QStringLiteral("(none given)") : path);
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Removes a working file (and the journal the engine may leave beside it)
// on every way out of a step.
class TempFile {
public:
    explicit TempFile(QString path) : m_path(std::move(path)) { remove(); }
    ~TempFile() { remove(); }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    const QString &path() const { return m_path; }

private:
    void remove()
    {
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }
    QString m_path;
};

} // namespace

BackupController::BackupController(ui::Services &services, CopierFactory copier, Clock clock)
    : m_s(services), m_copier(std::move(copier)), m_clock(std::move(clock))
{
    if (!m_copier)
        m_copier = [](store::Database &db) { return store::DatabaseCopy::forDatabase(db); };
    if (!m_clock)
        m_clock = [] { return QDateTime::currentDateTime(); };
}

BackupController::~BackupController() = default;

void BackupController::load()
{
    try {
        const QString spare = store::SettingsStore(m_s.db).field(SpareField).toString();
        m_destination = spare;
        m_source = spare;
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), Caption);
    }
}

void BackupController::setBusy(bool on)
{
    if (m_busy == on)
        return;
    m_busy = on;
    if (busyChanged)
        busyChanged(on);
}

void BackupController::changed()
{
    if (statusChanged)
        statusChanged();
}

void BackupController::closeWindows(const QStringList &names)
{
    // A window holding a typed entry keeps it: the user stores it first.
    if (!m_s.windows.settle(names))
        throw Declined{};
    for (const QString &name : names)
        if (m_s.windows.isLoaded(name))
            m_s.windows.unload(name);
}

std::unique_ptr<store::DatabaseCopy> BackupController::copier()
{
    auto copy = m_copier(m_s.db);
    if (!copy)
        throw StepFailure(QStringLiteral("This station's database cannot be copied"));
    return copy;
}

BackupController::Outcome BackupController::run(const std::vector<Step> &steps,
                                                const std::function<void()> &abandon)
{
    size_t i = 0;
    while (i < steps.size()) {
        try {
            steps[i]();
            ++i;
        } catch (const StepFailure &f) {
            const bool wasBusy = m_busy;
            setBusy(false);
            if (m_s.prompter.ask(f.description() + QStringLiteral(". Retry?"), Caption,
                                 ui::Icon::Question)) {
                setBusy(wasBusy);
                continue;   // the failed step again, and on from there
            }
            abandon();
            return Outcome::Abandoned;
        } catch (const Stopped &) {
            setBusy(false);
            abandon();
            return Outcome::Abandoned;
        } catch (const Declined &) {
            return Outcome::Declined;
        } catch (const Ending &) {
            setBusy(false);
            return Outcome::Ended;
        }
    }
    return Outcome::Done;
}

void BackupController::clearStatus(bool &running, bool &complete)
{
    running = false;
    complete = false;
    changed();
}

// ---- backup ---------------------------------------------------------------

BackupController::Outcome BackupController::backup()
{
    m_noInfo = false;
    const std::vector<Step> steps{
        [this] { clearStatus(m_status.restoring, m_status.restoreComplete); },
        [this] { checkDestination(); },
        [this] { closeWindows({ui::win::Menu, ui::win::Appt, ui::win::Setup, ui::win::Splash}); },
        [this] {
            setBusy(true);
            m_status.backing = true;
            m_status.backupTarget = m_destination;
            changed();
        },
        [this] { m_folder = withoutTrailingSeparator(m_destination); },
        [this] { makeDestination(); },
        [this] { removeLeftovers(m_folder); },
        [this] { backUpDatabase(); },
        [this] { backUpInfo(); },
        [this] {
            setBusy(false);
            m_status.backing = false;
            m_status.backupComplete = true;
            m_status.backupCompleteText = BackupCompleteText + (m_noInfo ? NoInfoText : QString());
            changed();
        },
        [this] {
            try {
                store::SettingsStore(m_s.db).write({{SpareField, m_folder}});
            } catch (const store::DbError &e) {
                throw StepFailure(e.description());
            }
        },
    };
    return run(steps, [this] { clearStatus(m_status.backing, m_status.backupComplete); });
}

void BackupController::checkDestination() const
{
    const QString folder = withoutTrailingSeparator(m_destination);
    if (folder.trimmed().isEmpty() || QDir::isRelativePath(folder))
        throw StepFailure(pathNotFound(m_destination));
    // The working files themselves must never be replaced by their copies.
    if (sameFolder(folder, m_s.state.places.data()))
        throw StepFailure(QStringLiteral("The destination %1 is the practice's data folder").arg(folder));
}

void BackupController::makeDestination()
{
    const QFileInfo info(m_folder);
    if (info.isDir() || (!info.exists() && QDir().mkpath(m_folder) && QFileInfo(m_folder).isDir()))
        return;
    // Why it could not be made; the window stays, and so does what other
    // windows hold.
    QString why;
    if (info.exists())
        why = QStringLiteral("%1 is a file, not a folder.").arg(QDir::toNativeSeparators(m_folder));
    else
        why = QStringLiteral("The folder %1 could not be made: %2")
                  .arg(QDir::toNativeSeparators(m_folder), creationProblem(m_folder));
    setBusy(false);
    m_s.prompter.message(DestinationInvalidText + QStringLiteral("\n\n") + why, DestinationTitle);
    throw Stopped{};
}

// Files a killed backup or restore left behind, here and in the data folder.
void BackupController::removeLeftovers(const QString &folder)
{
    store::removeStaleTemporaries(folder);
    store::removeStaleTemporaries(m_s.state.places.data());
}

void BackupController::backUpDatabase()
{
    const QString target = QDir(m_folder).filePath(DataFile);
    TempFile temp(partialName(target));
    auto copy = copier();
    try {
        copy->writeSnapshot(temp.path());
    } catch (const store::DbError &e) {
        throw StepFailure(e.description());
    }
    // The copy is of the working database page for page: a fault in it is a
    // fault of the working database, and must not replace a good backup.
    const QString problem = copy->problemWith(temp.path());
    if (!problem.isEmpty()) {
        setBusy(false);
        m_s.prompter.message(QStringLiteral("The working database %1. The backup in %2 was not replaced.")
                                 .arg(problem, m_folder),
                             Caption, ui::Icon::Critical);
        throw Stopped{};
    }
    renameOver(temp.path(), target);
}

void BackupController::backUpInfo()
{
    const QString from = QDir(m_s.state.places.data()).filePath(InfoFile);
    m_noInfo = !QFileInfo(from).isFile();
    if (!m_noInfo)
        replaceFile(from, QDir(m_folder).filePath(InfoFile));
}

// ---- restore --------------------------------------------------------------

BackupController::Outcome BackupController::restore()
{
    m_noInfo = false;
    const std::vector<Step> steps{
        [this] { clearStatus(m_status.backing, m_status.backupComplete); },
        [this] {
            if (!m_s.prompter.ask(RestoreQuestion, RestoreTitle, ui::Icon::Critical, true))
                throw Declined{};
        },
        [this] { confirmOthersClosed(); },
        [this] { checkSource(); },
        [this] {
            closeWindows({ui::win::Appt, ui::win::Configure, ui::win::Help, ui::win::Menu,
                          ui::win::Readme, ui::win::Setup, ui::win::Splash});
        },
        [this] {
            setBusy(true);
            m_status.restoring = true;
            m_status.restoreComplete = false;
            changed();
        },
        [this] { m_folder = withoutTrailingSeparator(m_source); },
        [this] { restoreDatabase(); },
        [this] { restoreInfo(); },
        [this] {
            setBusy(false);
            m_status.restoreComplete = true;
            m_status.restoreCompleteText = RestoreCompleteText + (m_noInfo ? NoInfoText : QString());
            changed();
        },
    };
    return run(steps, [this] { clearStatus(m_status.restoring, m_status.restoreComplete); });
}

void BackupController::confirmOthersClosed() const
{
    std::vector<store::StationSeen> others;
    try {
        others = store::Presence::others(m_s.db, m_clock());
    } catch (const store::DbError &) {
        // Nobody can be named: the restore's own steps say what is wrong.
        return;
    }
    if (!others.empty() &&
        !m_s.prompter.ask(OthersOpenQuestion.arg(store::Presence::listing(others)), RestoreTitle, ui::Icon::Warning,
                          true))
        throw Declined{};
}

void BackupController::checkSource() const
{
    const QString folder = withoutTrailingSeparator(m_source);
    if (folder.trimmed().isEmpty() || QDir::isRelativePath(folder) || !QFileInfo(folder).isDir())
        throw StepFailure(pathNotFound(m_source));
}

void BackupController::restoreDatabase()
{
    store::removeStaleTemporaries(m_s.state.places.data());
    const QString from = QDir(m_folder).filePath(DataFile);
    if (!QFileInfo(from).isFile())
        throw StepFailure(QStringLiteral("The file %1 does not exist").arg(from));
    // Checked and loaded from a copy of our own, so that what is loaded is
    // exactly what was checked.
    TempFile temp(partialName(QDir(m_s.state.places.data()).filePath(DataFile)));
    QFile in(from);
    if (!in.copy(temp.path()))
        throw StepFailure(QStringLiteral("The file %1 cannot be copied (%2)").arg(from, in.errorString()));
    auto copy = copier();
    const QString problem = copy->problemWith(temp.path());
    if (!problem.isEmpty())
        throw StepFailure(QStringLiteral("The file %1 %2").arg(from, problem));
    keepSafetyCopy(*copy);
    try {
        copy->replaceWith(temp.path());
    } catch (const store::DbError &e) {
        throw StepFailure(e.description());
    }
}

void BackupController::keepSafetyCopy(store::DatabaseCopy &copy)
{
    QDir app(m_s.state.places.data());
    if (!app.mkpath(SafetyFolder))
        throw StepFailure(QStringLiteral("The folder %1 cannot be created").arg(app.filePath(SafetyFolder)));
    const QDir safe(app.filePath(SafetyFolder));
    // Names sort by time, oldest first.
    QDateTime at = m_clock();
    const auto nameAt = [](const QDateTime &t) {
        return QStringLiteral("db-%1.mdb").arg(t.toString(QStringLiteral("yyyy-MM-dd-HHmmss-zzz")));
    };
    while (safe.exists(nameAt(at)))
        at = at.addMSecs(1);
    try {
        copy.writeSnapshot(safe.filePath(nameAt(at)));
    } catch (const store::DbError &e) {
        throw StepFailure(e.description());
    }
    QStringList kept = safe.entryList({QStringLiteral("db-*.mdb")}, QDir::Files, QDir::Name);
    while (kept.size() > SafetyCopiesKept)
        QFile::remove(safe.filePath(kept.takeFirst()));
}

void BackupController::restoreInfo()
{
    const QString from = QDir(m_folder).filePath(InfoFile);
    m_noInfo = !QFileInfo(from).isFile();
    if (!m_noInfo)
        replaceFile(from, QDir(m_s.state.places.data()).filePath(InfoFile));
}

// ---- exit -----------------------------------------------------------------

void BackupController::exit()
{
    if (m_s.state.exitFlag) {
        m_s.windows.quit();
        return;
    }
    m_s.windows.replace(ui::win::Backup, ui::win::Menu);
}

} // namespace backup
