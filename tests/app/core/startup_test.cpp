#include "app/core/startup.h"

#include "store/core/presence.h"
#include "store/core/schema.h"
#include "store/core/sharelock.h"
#include "support/testdir.h"
#include "support/doubles/scriptedprompter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <cstdlib>
#include <unistd.h>

using namespace app;

namespace {

class StartupTest : public ::testing::Test {
protected:
    QString dbFile() const { return dir.file("db.mdb"); }
    QString stationFile() const { return dir.file("dbn.mdb"); }
    QString shownDb() const { return QDir::toNativeSeparators(QFileInfo(dbFile()).absoluteFilePath()); }

    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Starts the program once more; true when the database is ready.
    bool start()
    {
        store::Database db;
        Startup s(db, prompter);
        const bool ok = s.open(dir.path());
        EXPECT_EQ(ok, db.isOpen());
        return ok;
    }

    // The one message of a refused start.
    QString refusal()
    {
        EXPECT_EQ(prompter.transcript().size(), 1u);
        if (prompter.transcript().empty())
            return {};
        EXPECT_EQ(prompter.last().kind, ui::ScriptedPrompter::Kind::Message);
        EXPECT_EQ(prompter.last().title, "Open Database");
        EXPECT_EQ(prompter.last().icon, ui::Icon::Critical);
        return prompter.last().text;
    }

    // A SQLite file holding only the given tables.
    void makeSqliteFile(const QString &path, const QStringList &tables)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "startup-test");
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            for (const QString &t : tables)
                QSqlQuery(db).exec(QStringLiteral("CREATE TABLE \"%1\" (ID INTEGER)").arg(t));
            db.close();
        }
        QSqlDatabase::removeDatabase("startup-test");
    }

    testsupport::TestDir dir;
    ui::ScriptedPrompter prompter;
};

} // namespace

TEST_F(StartupTest, FirstStartMakesBothFilesSilently)
{
    store::Database db;
    Startup s(db, prompter);
    ASSERT_TRUE(s.open(dir.path()));
    EXPECT_TRUE(s.created());
    EXPECT_TRUE(QFileInfo::exists(dbFile()));
    EXPECT_TRUE(QFileInfo::exists(stationFile()));
    EXPECT_TRUE(prompter.transcript().empty());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Setup").toInt(), 1);
}

TEST_F(StartupTest, DatabaseOfAnEarlierRunOpensAsItIs)
{
    int patients = 0;
    {
        store::Database db;
        Startup s(db, prompter);
        ASSERT_TRUE(s.open(dir.path()));
        db.exec("UPDATE tbl_Setup SET location = ?", {QStringLiteral("Harbour Street")});
        db.insert(store::tables::PatientDetails, {{"PLastName", "Okafor"}, {"PFirstName", "Ada"}});
        patients = db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt();
    }
    store::Database db;
    Startup s(db, prompter);
    ASSERT_TRUE(s.open(dir.path()));
    EXPECT_FALSE(s.created());
    EXPECT_TRUE(prompter.transcript().empty());
    EXPECT_EQ(db.scalar("SELECT location FROM tbl_Setup").toString(), "Harbour Street");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Setup").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Order").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt(), patients);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PLastName = ?", {"Okafor"})
                  .toInt(),
              1);
}

TEST_F(StartupTest, LostDatabaseBesideItsStationFileIsNotMadeAnew)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(QFile::remove(dbFile()));
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb())) << text.toStdString();
    EXPECT_TRUE(text.contains("Restore db.mdb from your latest backup")) << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(QFileInfo(stationFile()).absoluteFilePath())));
    EXPECT_FALSE(QFileInfo::exists(dbFile()));
    EXPECT_TRUE(QFileInfo::exists(stationFile()));
}

TEST_F(StartupTest, FileThatIsNotADatabaseIsLeftAlone)
{
    const QByteArray bytes("Practice notes, not a database\n");
    writeFile(dbFile(), bytes);
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb())) << text.toStdString();
    EXPECT_TRUE(text.contains("is not a database of this program")) << text.toStdString();
    EXPECT_TRUE(text.contains("Restore db.mdb from your latest backup")) << text.toStdString();
    EXPECT_EQ(readFile(dbFile()), bytes);
    EXPECT_FALSE(QFileInfo::exists(stationFile()));
}

TEST_F(StartupTest, EmptyFileIsNotFilledWithANewDatabase)
{
    writeFile(dbFile(), QByteArray());
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb()));
    EXPECT_TRUE(text.contains("is empty")) << text.toStdString();
    EXPECT_EQ(QFileInfo(dbFile()).size(), 0);
}

TEST_F(StartupTest, MissingTablesAreNamed)
{
    makeSqliteFile(dbFile(), {"tbl_Appt", "tbl_Setup"});
    const QByteArray before = readFile(dbFile());
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb()));
    EXPECT_TRUE(text.contains("these tables are missing")) << text.toStdString();
    EXPECT_TRUE(text.contains("tbl_Order"));
    EXPECT_TRUE(text.contains("tbl_PatientDetails"));
    EXPECT_FALSE(text.contains("tbl_Setup"));
    EXPECT_EQ(readFile(dbFile()), before);
}

TEST_F(StartupTest, DatabaseOfALaterVersionIsRefused)
{
    ASSERT_TRUE(start());
    {
        store::Database db;
        ASSERT_TRUE(db.open(dbFile()).ok());
        db.exec("UPDATE sys_Schema SET Version = ?", {store::Database::SchemaVersion + 1});
    }
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb()));
    EXPECT_TRUE(text.contains("later version of the program")) << text.toStdString();
}

TEST_F(StartupTest, UnreadableDatabaseSaysWhatToCheck)
{
    // A folder in the file's place cannot be read as a file, even by root.
    ASSERT_TRUE(QDir(dir.path()).mkdir("db.mdb"));
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb()));
    EXPECT_TRUE(text.contains("cannot be read or written")) << text.toStdString();
    EXPECT_TRUE(QFileInfo(dbFile()).isDir());
}

TEST_F(StartupTest, FileWithoutPermissionsIsUnreadable)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    ASSERT_TRUE(start());
    QFile::setPermissions(dbFile(), QFileDevice::Permissions());
    prompter.expectMessage();
    EXPECT_FALSE(start());
    EXPECT_TRUE(refusal().contains("cannot be read or written"));
    QFile::setPermissions(dbFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(StartupTest, DamagedStationFileIsNamedAndMayBeRemoved)
{
    ASSERT_TRUE(start());
    writeFile(stationFile(), "garbage");
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(QFileInfo(stationFile()).absoluteFilePath())));
    EXPECT_TRUE(text.contains("Remove it")) << text.toStdString();

    // Removing it, as the message says, lets the program start with its data.
    ASSERT_TRUE(QFile::remove(stationFile()));
    prompter.clear();
    EXPECT_TRUE(start());
    EXPECT_TRUE(QFileInfo::exists(stationFile()));
}

namespace {

// Ways a db.mdb that still looks like a database of this program gets damaged.
struct Damage {
    const char *name;
    void (*apply)(QFile &f);
};

class DamagedDatabase : public StartupTest, public ::testing::WithParamInterface<Damage> {};

} // namespace

TEST_P(DamagedDatabase, IsRefusedWithRestoreAdviceAndLeftUnwritten)
{
    ASSERT_TRUE(start());
    {
        // Pages enough that the damage lands past the tables' first pages.
        store::Database db;
        ASSERT_TRUE(db.open(dbFile()).ok());
        db.beginWrite();
        for (int i = 0; i < 400; ++i)
            db.insert(store::tables::Appt, {{"CalDate", QDate(2020, 1, 1).addDays(i)},
                                            {"Data", QString(3000, QLatin1Char('x'))}});
        db.commit();
    }
    {
        QFile f(dbFile());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        GetParam().apply(f);
    }
    const QByteArray before = readFile(dbFile());
    prompter.expectMessage();
    EXPECT_FALSE(start());
    const QString text = refusal();
    EXPECT_TRUE(text.contains(shownDb())) << text.toStdString();
    EXPECT_TRUE(text.contains("is damaged")) << text.toStdString();
    EXPECT_TRUE(text.contains("Restore db.mdb from your latest backup")) << text.toStdString();
    EXPECT_FALSE(text.contains("room on the disk")) << text.toStdString();
    EXPECT_EQ(readFile(dbFile()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, DamagedDatabase,
    ::testing::Values(Damage{"Truncated", [](QFile &f) { f.resize(f.size() / 2); }},
                      Damage{"PagesOverwritten",
                             [](QFile &f) {
                                 f.seek(f.size() / 2);
                                 f.write(QByteArray(8192, '\x13'));
                             }},
                      Damage{"TableRootOverwritten",
                             [](QFile &f) {
                                 f.seek(4096);
                                 f.write(QByteArray(4096, '\xff'));
                             }}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(StartupTest, FolderThatTakesNoNewFileIsRefusedAtStart)
{
    ASSERT_TRUE(start());
    // An immutable folder keeps its files writable but takes no new one, even from root.
    const QByteArray folder = QFile::encodeName(dir.path());
    if (std::system(("chattr +i '" + folder + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "this file system cannot make a folder immutable";
    prompter.expectMessage();
    const bool started = start();
    std::system(("chattr -i '" + folder + "'").constData());
    EXPECT_FALSE(started);
    const QString text = refusal();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(dir.path()))) << text.toStdString();
    EXPECT_TRUE(text.contains("No file can be made in the folder")) << text.toStdString();
}

// Another machine runs on the same db.mdb. While its lock reaches this
// station, this one starts and records itself with a byte of its own; when
// its row says it holds a lock this station can take, the share does not
// pass locks: this station opens nothing and says where to go instead.
TEST_F(StartupTest, AShareWhoseLocksDoNotReachAcrossOpensNothing)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(9, 0));
    store::Database other;
    ASSERT_TRUE(other.open(dbFile()).ok());
    other.setStation({"Surgery", "desk2", "ben"});
    store::ShareLock otherLock;
    ASSERT_TRUE(otherLock.take(dbFile()));
    store::Presence otherRow(other, [now] { return now; });
    otherRow.join(otherLock.byte(), true);

    {
        store::Database db;
        Startup s(db, prompter);
        ASSERT_TRUE(s.open(dir.path()));
        store::Presence mine(db, [now] { return now; });
        store::ShareLock myLock;
        EXPECT_TRUE(s.joinStations(mine, myLock, now));
        EXPECT_TRUE(myLock.held());
        EXPECT_NE(myLock.byte(), otherLock.byte());
        EXPECT_EQ(store::Presence::others(other, now).size(), 1u);
    }

    otherLock.release();   // as on a share that drops the other machine's locks
    store::Database db;
    Startup s(db, prompter);
    ASSERT_TRUE(s.open(dir.path()));
    store::Presence mine(db, [now] { return now; });
    store::ShareLock myLock;
    prompter.expectMessage();
    EXPECT_FALSE(s.joinStations(mine, myLock, now));
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(mine.joined());
    EXPECT_EQ(refusal(), Startup::unsharedLocksText(QFileInfo(dbFile()).absolutePath(),
                                                   "  Surgery (desk2, ben), since 09:00"));
}
