#include "app/core/startup.h"

#include "store/core/conninfo.h"
#include "store/core/schema.h"
#include "support/teststore.h"
#include "support/doubles/scriptedprompter.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace app;

namespace {

// A station whose server.conf names a server database.
class ServerStartup : public testsupport::EngineTest {
protected:
    QString appDir() const { return store.appDir(); }
    void writeConf(const QString &text)
    {
        QFile f(store.dir().file("server.conf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("# the practice's server\n" + text + "\n").toUtf8());
    }
    // The test server's database with some settings changed.
    QString conninfo(const QString &key = {}, const QString &value = {})
    {
        auto info = store::ConnInfo::parse(store.conninfo());
        if (!key.isEmpty())
            info->set(key, value);
        return info->toString();
    }
    bool start(store::Database &db)
    {
        Startup s(db, prompter);
        return s.open(appDir());
    }
    QString refusal()
    {
        const size_t before = prompter.transcript().size();
        store::Database db;
        EXPECT_FALSE(start(db));
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(prompter.transcript().size(), before + 1);
        return prompter.transcript().empty() ? QString() : prompter.last().text;
    }
    ui::ScriptedPrompter prompter;
};

TEST(ServerSettings, APasswordIsRefusedAndNothingIsMade)
{
    testsupport::TestDir dir;
    QFile f(dir.file("server.conf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("host=clinic-server dbname=practice user=desk password=secret\n");
    f.close();
    ui::ScriptedPrompter prompter;
    prompter.expectMessage();
    store::Database db;
    EXPECT_FALSE(Startup(db, prompter).open(dir.path()));
    EXPECT_TRUE(prompter.last().text.contains("server.conf"));
    EXPECT_TRUE(prompter.last().text.contains("holds a password"));
    EXPECT_TRUE(prompter.last().text.endsWith("Quillon will now close."));
    EXPECT_FALSE(QFileInfo::exists(dir.file("db.mdb")));
    EXPECT_FALSE(QFileInfo::exists(dir.file("dbn.mdb")));
}

TEST(ServerSettings, AnUnreachableServerIsNamed)
{
    testsupport::TestDir dir;
    QFile f(dir.file("server.conf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("postgresql://desk@127.0.0.1:1/practice?connect_timeout=3\n");
    f.close();
    ui::ScriptedPrompter prompter;
    prompter.expectMessage();
    store::Database db;
    EXPECT_FALSE(Startup(db, prompter).open(dir.path()));
    const QString text = prompter.last().text;
    EXPECT_TRUE(text.startsWith("The practice's database\ndatabase \"practice\" on the server 127.0.0.1 "
                                "port 1 as user \"desk\"\ncannot be reached:"))
        << text.toStdString();
    EXPECT_EQ(prompter.last().title, "Open Database");
    EXPECT_FALSE(QFileInfo::exists(dir.file("dbn.mdb")));
}

TEST_P(ServerStartup, AnEmptyDatabaseIsMadeReadyOnTheFirstStartOnly)
{
    writeConf(store.conninfo());
    {
        store::Database db;
        Startup s(db, prompter);
        ASSERT_TRUE(s.open(appDir())) << prompter.texts().join("\n").toStdString();
        EXPECT_TRUE(s.created());
        EXPECT_TRUE(db.onServer());
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt(), 3);
    }
    EXPECT_FALSE(QFileInfo::exists(store.dir().file("db.mdb")));
    EXPECT_TRUE(QFileInfo::exists(store.dir().file("dbn.mdb")));
    {
        store::Database db;
        Startup s(db, prompter);
        ASSERT_TRUE(s.open(appDir()));
        EXPECT_FALSE(s.created());
        // Emptied behind the station's back: not made anew.
        for (const QString &t : db.tableNames())
            db.exec(QStringLiteral("DROP %1 IF EXISTS %2 CASCADE")
                        .arg(t == "qry_accounts" ? "VIEW" : "TABLE", store::Dialect::quote(t)));
    }
    prompter.expectMessage();
    const QString text = refusal();
    EXPECT_TRUE(text.contains("is empty, but this station has used a database before")) << text.toStdString();
}

TEST_P(ServerStartup, AStationWithADbFileIsToldToCopyItFirst)
{
    {
        store::Database file;
        ASSERT_TRUE(file.open(store.dir().file("db.mdb")).ok());
    }
    writeConf(store.conninfo());
    prompter.expectMessage();
    const QString text = refusal();
    EXPECT_TRUE(text.contains("is empty, and this station keeps its data in")) << text.toStdString();
    EXPECT_TRUE(text.contains("quillon-db import"));
}

TEST_P(ServerStartup, RefusedLoginsAndMissingDatabasesAreNamed)
{
    writeConf(conninfo("user", "nobody"));
    prompter.expectMessage();
    QString text = refusal();
    EXPECT_TRUE(text.contains("as user \"nobody\"\nrefused the login:")) << text.toStdString();

    writeConf(conninfo("dbname", "no_such_practice"));
    prompter.expectMessage();
    text = refusal();
    EXPECT_TRUE(text.contains("database \"no_such_practice\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("does not exist on that server")) << text.toStdString();
}

// The server cases only.
INSTANTIATE_TEST_SUITE_P(Engines, ServerStartup, ::testing::Values(testsupport::Engine::Postgres),
                         testsupport::engineName);

} // namespace
