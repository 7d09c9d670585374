#include "backup/core/backupcontroller.h"
#include "store/core/database.h"
#include "store/core/dbcopy.h"
#include "store/core/presence.h"
#include "store/core/tempfiles.h"
#include "store/core/dberror.h"
#include "store/core/schema.h"
#include "store/core/settings.h"
#include "support/testdir.h"
#include "ui/core/appstate.h"
#include "support/doubles/scriptedprompter.h"
#include "ui/core/windows.h"
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingwindows.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QSysInfo>
#include <QFile>
#include <atomic>
#include <thread>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using backup::BackupController;
using Outcome = BackupController::Outcome;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int pages(store::Database &db)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"tbl_Appt\"")).toInt();
}

int pagesIn(const QString &path)
{
    store::Database other;
    if (!other.open(path, store::Database::Kind::Main, false).ok())
        return -1;
    return pages(other);
}

void addPage(store::Database &db, int day, const QString &text = QStringLiteral("Smith"))
{
    db.insert(store::tables::Appt, {{"CalDate", QDate(2020, 1, 1).addDays(day)}, {"Data", text}});
}

// The engine's copier, failing its first snapshots as a full disk would.
class FullDiskCopy : public store::DatabaseCopy {
public:
    FullDiskCopy(store::Database &db, int &failures) : m_real(forDatabase(db)), m_failures(failures) {}
    void writeSnapshot(const QString &path) override
    {
        if (m_failures > 0) {
            --m_failures;
            throw store::DbError(13, QStringLiteral("database or disk is full"));
        }
        m_real->writeSnapshot(path);
    }
    QString problemWith(const QString &path) override { return m_real->problemWith(path); }
    void replaceWith(const QString &path) override { m_real->replaceWith(path); }

private:
    std::unique_ptr<store::DatabaseCopy> m_real;
    int &m_failures;
};

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.places.setData(app.path());
        ASSERT_TRUE(db.open(app.file("db.mdb")).ok());
        services = std::make_unique<ui::Services>(ui::Services{db, prompter, state, windows, clock, clipboard, desktop});
        ctl = makeController();
    }

    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    std::unique_ptr<BackupController> makeController(BackupController::CopierFactory copier = {})
    {
        auto c = std::make_unique<BackupController>(*services, std::move(copier), [this] { return now; });
        c->load();
        return c;
    }

    QString spare() { return store::SettingsStore(db).field("Spare").toString(); }

    // A good backup of the working database in `folder`.
    void backUpTo(const QString &folder)
    {
        ctl->setDestination(folder);
        ASSERT_EQ(ctl->backup(), Outcome::Done);
    }

    testsupport::TestDir app;
    testsupport::TestDir media;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::AppState state;
    QDateTime now{QDate(2024, 3, 5), QTime(9, 30)};
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<BackupController> ctl;
};

TEST_F(BackupTest, BackupToANewFolderCopiesBothFilesAndRemembersTheFolder)
{
    addPage(db, 1);
    writeFile(app.file("Info.xls"), "sheet");
    for (const QString &w : {ui::win::Menu, ui::win::Appt, ui::win::Splash})
        windows.setLoaded(w);
    const QString folder = media.file("Clinic Backups/March");

    ctl->setDestination(folder + "/");
    EXPECT_EQ(ctl->backup(), Outcome::Done);

    EXPECT_EQ(pagesIn(folder + "/db.mdb"), pages(db));
    EXPECT_EQ(bytesOf(folder + "/Info.xls"), "sheet");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"db.mdb", "Info.xls"}));
    EXPECT_EQ(spare(), folder);
    EXPECT_TRUE(ctl->status().backupComplete);
    EXPECT_FALSE(ctl->status().backing);
    EXPECT_EQ(ctl->status().backupCompleteText, BackupController::BackupCompleteText);
    EXPECT_EQ(windows.log(), QStringList({"unload frmMenu", "unload frmAppt", "unload frmSplash"}));

    const auto again = makeController();
    EXPECT_EQ(again->destination(), folder);
    EXPECT_EQ(again->source(), folder);
}

TEST_F(BackupTest, CopiesTakenWhileAnotherStationWritesHoldWholeTransactions)
{
    const QString folder = media.file("live");
    std::atomic<bool> started{false};
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        store::Database other;
        ASSERT_TRUE(other.open(app.file("db.mdb")).ok());
        // One long transaction first, then a burst of short ones: every
        // transaction adds a page and its colour record together.
        other.beginWrite();
        for (int i = 0; i < 300; ++i) {
            addPage(other, i);
            other.insert(store::tables::Color, {{"caldate", QDate(2020, 1, 1).addDays(i)}, {"CColor", "0"}});
        }
        started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        other.commit();
        for (int i = 300; !stop; ++i) {
            store::WriteTransaction tx(other);
            addPage(other, i);
            other.insert(store::tables::Color, {{"caldate", QDate(2020, 1, 1).addDays(i)}, {"CColor", "0"}});
            tx.commit();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    while (!started)
        std::this_thread::yield();

    const int colours = db.scalar("SELECT COUNT(*) FROM \"tbl_Color\"").toInt();
    const int before = pages(db);
    for (int round = 0; round < 5; ++round) {
        backUpTo(folder);
        store::Database copy;
        ASSERT_TRUE(copy.open(folder + "/db.mdb", store::Database::Kind::Main, false).ok());
        EXPECT_EQ(store::DatabaseCopy::forDatabase(copy)->problemWith(folder + "/db.mdb"), "");
        const int added = pages(copy) - before;
        EXPECT_EQ(copy.scalar("SELECT COUNT(*) FROM \"tbl_Color\"").toInt() - colours, added);
        EXPECT_TRUE(added == 0 || added >= 300) << added;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"db.mdb"}));
}

TEST_F(BackupTest, ADestinationThatCannotBeCreatedSaysWhyAndStays)
{
    writeFile(media.file("taken"), "a file, not a folder");
    ctl->setDestination(media.file("taken/backup"));
    prompter.expectMessage();

    EXPECT_EQ(ctl->backup(), Outcome::Abandoned);

    EXPECT_EQ(prompter.last().text, BackupController::DestinationInvalidText + "\n\nThe folder " +
                                        QDir::toNativeSeparators(media.file("taken/backup")) +
                                        " could not be made: " + QDir::toNativeSeparators(media.file("taken")) +
                                        " is a file, not a folder.");
    EXPECT_EQ(prompter.last().title, "Backup Destination");
    EXPECT_FALSE(windows.quitCalled());
    EXPECT_EQ(spare(), "");
}

TEST_F(BackupTest, FilesOfAKilledBackupOrRestoreGoAtTheNextOne)
{
    // A process of this computer that has ended, one that still runs (this
    // one), and another computer's recent file, which may still be written.
    const QString dead = media.file("db.mdb.partial-" + QSysInfo::machineHostName() + "-999999999");
    writeFile(dead, "half a copy");
    writeFile(dead + "-journal", "journal");
    writeFile(app.file("db.mdb.partial-" + QSysInfo::machineHostName() + "-999999998"), "half a restore");
    const QString elsewhere = media.file("db.mdb.partial-otherhost-12");
    writeFile(elsewhere, "another station's copy");
    ctl->setDestination(media.path());

    EXPECT_EQ(ctl->backup(), Outcome::Done);

    EXPECT_EQ(QDir(media.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"db.mdb", "db.mdb.partial-otherhost-12"}));
    EXPECT_FALSE(QFileInfo::exists(app.file("db.mdb.partial-" + QSysInfo::machineHostName() + "-999999998")));
    EXPECT_EQ(store::removeStaleTemporaries(media.path(), QDateTime::currentDateTime().addDays(2)), 1);
}

TEST_F(BackupTest, AFullDestinationAsksToRetryAndKeepsThePreviousBackup)
{
    const QString folder = media.file("usb");
    backUpTo(folder);
    const QByteArray previous = bytesOf(folder + "/db.mdb");
    addPage(db, 7);
    int failures = 2;
    ctl = makeController([&failures](store::Database &d) { return std::make_unique<FullDiskCopy>(d, failures); });
    ctl->setDestination(media.file("usb"));

    prompter.answerYes().answerNo();
    EXPECT_EQ(ctl->backup(), Outcome::Abandoned);
    EXPECT_EQ(prompter.texts(), QStringList({"database or disk is full. Retry?", "database or disk is full. Retry?"}));
    EXPECT_EQ(bytesOf(folder + "/db.mdb"), previous);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"db.mdb"}));
    EXPECT_FALSE(ctl->status().backing);
    EXPECT_FALSE(ctl->status().backupComplete);

    // The disk has room again: Yes carries on from the failed step.
    failures = 1;
    prompter.answerYes();
    EXPECT_EQ(ctl->backup(), Outcome::Done);
    EXPECT_EQ(pagesIn(folder + "/db.mdb"), pages(db));
    EXPECT_EQ(ctl->status().backupCompleteText, BackupController::BackupCompleteText + "(no Info.xls to copy)");
}

class UnusableDestination : public BackupTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(UnusableDestination, AsksToRetryBeforeClosingAnything)
{
    windows.setLoaded(ui::win::Appt);
    const QString typed = QString::fromLatin1(GetParam()) == "app" ? app.path() + "/" : GetParam();
    ctl->setDestination(typed);
    prompter.answerNo();

    EXPECT_EQ(ctl->backup(), Outcome::Abandoned);

    EXPECT_TRUE(prompter.last().text.endsWith(". Retry?")) << prompter.last().text.toStdString();
    EXPECT_TRUE(windows.log().isEmpty());
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files), QStringList({"db.mdb"}));
}

INSTANTIATE_TEST_SUITE_P(Destinations, UnusableDestination,
                         ::testing::Values("", "A:", "relative/folder", "app"));

// ---- restore -------------------------------------------------------------

struct BadSource {
    const char *name;
    const char *problem;   // what the retry question says of the file
    std::function<void(const QString &folder, store::Database &db)> make;
};

void PrintTo(const BadSource &s, std::ostream *os) { *os << s.name; }

class RefusedRestore : public BackupTest, public ::testing::WithParamInterface<BadSource> {};

TEST_P(RefusedRestore, LeavesTheWorkingDatabaseUntouched)
{
    addPage(db, 3);
    writeFile(app.file("Info.xls"), "ours");
    const QString folder = media.file("source");
    QDir().mkpath(folder);
    GetParam().make(folder, db);
    const QByteArray working = bytesOf(app.file("db.mdb"));
    ctl->setSource(folder);

    prompter.answerYes().answerNo();
    EXPECT_EQ(ctl->restore(), Outcome::Abandoned);

    EXPECT_TRUE(prompter.last().text.contains(GetParam().problem)) << prompter.last().text.toStdString();
    EXPECT_TRUE(prompter.last().text.endsWith(". Retry?"));
    EXPECT_EQ(bytesOf(app.file("db.mdb")), working);
    EXPECT_EQ(pages(db), 1);
    EXPECT_EQ(bytesOf(app.file("Info.xls")), "ours");
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({"db.mdb", "Info.xls"}));
    EXPECT_FALSE(ctl->status().restoring);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, RefusedRestore,
    ::testing::Values(
        BadSource{"EmptyFolder", "does not exist", [](const QString &, store::Database &) {}},
        BadSource{"TextFile", "is not a database of this program",
                  [](const QString &f, store::Database &) { writeFile(f + "/db.mdb", "Name,Phone\nSmith,555\n"); }},
        BadSource{"EmptyFile", "is empty", [](const QString &f, store::Database &) { writeFile(f + "/db.mdb", ""); }},
        BadSource{"Truncated", "is damaged",
                  [](const QString &f, store::Database &db) {
                      store::WriteTransaction tx(db);
                      for (int i = 0; i < 200; ++i)
                          addPage(db, 10 + i, QString(400, QLatin1Char('x')));
                      tx.commit();
                      const QByteArray whole = bytesOf(db.path());
                      writeFile(f + "/db.mdb", whole.left(whole.size() / 2));
                      db.exec("DELETE FROM \"tbl_Appt\" WHERE \"CalDate\" > '2020-01-05'");
                  }},
        BadSource{"OtherProgram", "it has no tbl_Appt",
                  [](const QString &f, store::Database &) {
                      store::Database other;
                      other.open(f + "/other.db", store::Database::Kind::Station);
                      other.close();
                      QFile::rename(f + "/other.db", f + "/db.mdb");
                  }},
        BadSource{"LaterVersion", "later version",
                  [](const QString &f, store::Database &) {
                      store::Database later;
                      later.open(f + "/db.mdb");
                      later.exec("UPDATE \"sys_Schema\" SET \"Version\" = ?", {store::Database::SchemaVersion + 1});
                  }}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(BackupTest, RestoreReplacesTheDataUnderOpenConnectionsAndKeepsASafetyCopy)
{
    const QString folder = media.file("usb");
    writeFile(app.file("Info.xls"), "march");
    addPage(db, 1);
    backUpTo(folder);
    addPage(db, 2, "Jones");
    writeFile(app.file("Info.xls"), "april");
    store::Database station;
    ASSERT_TRUE(station.open(app.file("db.mdb")).ok());
    ASSERT_EQ(pages(station), 2);
    windows.setLoaded(ui::win::Appt);
    windows.clearLog();

    ctl->setSource(folder + "/");
    prompter.answerYes();
    EXPECT_EQ(ctl->restore(), Outcome::Done);

    EXPECT_EQ(prompter.last().text, BackupController::RestoreQuestion);
    EXPECT_EQ(prompter.last().title, "Restore files");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Critical);
    EXPECT_TRUE(prompter.last().defaultNo);
    EXPECT_EQ(pages(db), 1);
    EXPECT_EQ(pages(station), 1);
    EXPECT_EQ(bytesOf(app.file("Info.xls")), "march");
    EXPECT_EQ(windows.log(), QStringList({"unload frmAppt"}));
    EXPECT_TRUE(ctl->status().restoring);
    EXPECT_TRUE(ctl->status().restoreComplete);

    const QDir safe(app.file(BackupController::SafetyFolder));
    ASSERT_EQ(safe.entryList(QDir::Files), QStringList({"db-2024-03-05-093000-000.mdb"}));
    EXPECT_EQ(pagesIn(safe.filePath("db-2024-03-05-093000-000.mdb")), 2);
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files), QStringList({"db.mdb", "Info.xls"}));
}

TEST_F(BackupTest, RestoreBringsABackupOfAnEarlierVersionUpToDate)
{
    backUpTo(media.file("old"));
    {
        store::Database old;
        ASSERT_TRUE(old.open(media.file("old/db.mdb")).ok());
        old.exec("ALTER TABLE \"tbl_Setup\" DROP COLUMN \"Blockout\"");
        old.exec("DROP TABLE \"sys_State\"");
        old.exec("UPDATE \"sys_Schema\" SET \"Version\" = 1");
    }
    ctl->setSource(media.file("old"));
    prompter.answerYes();
    ASSERT_EQ(ctl->restore(), Outcome::Done);
    EXPECT_NO_THROW(store::SettingsStore(db).load());
    EXPECT_NO_THROW(store::SettingsStore(db).field("Blockout"));
}

TEST_F(BackupTest, RestoreKeepsTheLastFewSafetyCopies)
{
    backUpTo(media.file("usb"));
    ctl->setSource(media.file("usb"));
    for (int i = 0; i < BackupController::SafetyCopiesKept + 2; ++i) {
        now = now.addDays(1);
        prompter.answerYes();
        ASSERT_EQ(ctl->restore(), Outcome::Done);
        EXPECT_EQ(ctl->status().restoreCompleteText, BackupController::RestoreCompleteText + "(no Info.xls to copy)");
    }
    const QStringList kept = QDir(app.file(BackupController::SafetyFolder)).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(kept.size(), BackupController::SafetyCopiesKept);
    EXPECT_EQ(kept.first(), "db-2024-03-08-093000-000.mdb");
    EXPECT_EQ(kept.last(), "db-2024-03-12-093000-000.mdb");
}

TEST_F(BackupTest, RestoreAnsweredNoChangesNothing)
{
    windows.setLoaded(ui::win::Menu);
    ctl->setSource(media.path());
    prompter.answerNo();
    EXPECT_EQ(ctl->restore(), Outcome::Declined);
    EXPECT_TRUE(windows.log().isEmpty());
    EXPECT_FALSE(QDir(app.file(BackupController::SafetyFolder)).exists());
}

TEST_F(BackupTest, ExitEndsTheProgramOnTheWayOutAndReturnsToTheMenuOtherwise)
{
    ctl->exit();
    EXPECT_EQ(windows.log(), QStringList({"show frmMenu", "unload frmBackup"}));
    EXPECT_FALSE(windows.quitCalled());

    state.exitFlag = true;
    windows.clearLog();
    ctl->exit();
    EXPECT_EQ(windows.log(), QStringList({"quit"}));
}

} // namespace

TEST_F(BackupTest, RestoreNamesTheStationsStillOpenAndGoesOnOnlyWhenConfirmed)
{
    backUpTo(media.file("usb"));
    store::Database other;
    ASSERT_TRUE(other.open(app.file("db.mdb")).ok());
    other.setStation({"Surgery", "desk2", "ben"});
    store::Presence open(other, [this] { return now; });
    open.join();
    ctl->setSource(media.file("usb"));

    prompter.answerYes().answerNo();
    EXPECT_EQ(ctl->restore(), Outcome::Declined);
    EXPECT_EQ(prompter.last().text,
              BackupController::OthersOpenQuestion.arg(store::Presence::listing(store::Presence::others(db, now))));
    EXPECT_TRUE(prompter.last().text.contains("Surgery (desk2, ben), since 09:30"));
    EXPECT_TRUE(prompter.last().defaultNo);
    EXPECT_FALSE(QDir(app.file(BackupController::SafetyFolder)).exists());

    // Confirmed, it restores; the open station stays listed across it.
    prompter.answerYes().answerYes();
    EXPECT_EQ(ctl->restore(), Outcome::Done);
    EXPECT_EQ(store::Presence::others(db, now).size(), 1u);
    EXPECT_TRUE(open.beat());
}
