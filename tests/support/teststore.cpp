#include "support/teststore.h"

#include "store/core/conninfo.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace testsupport {

namespace {

const QString AdminConnection = QStringLiteral("quillon-test-admin");

// One connection per test program to the server's maintenance database,
// which makes and drops the tests' databases.
QSqlDatabase admin(QString *why)
{
    const QString base = qEnvironmentVariable("QUILLON_TEST_PG");
    if (base.isEmpty()) {
        *why = QStringLiteral("no test server: QUILLON_TEST_PG is not set (./test.sh starts one)");
        return {};
    }
    if (QSqlDatabase::contains(AdminConnection)) {
        QSqlDatabase db = QSqlDatabase::database(AdminConnection);
        if (db.isOpen())
            return db;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *why = QStringLiteral("Qt's PostgreSQL driver (libqt6sql6-psql) is not installed");
        return {};
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), AdminConnection);
    db.setConnectOptions(base);
    if (!db.open()) {
        *why = QStringLiteral("the test server cannot be reached: %1").arg(db.lastError().text());
        return {};
    }
    return db;
}

} // namespace

TestStore::TestStore(Engine engine) : m_engine(engine)
{
    if (engine == Engine::Postgres)
        m_conninfo = newServerDatabase();
}

QString TestStore::newServerDatabase()
{
    QSqlDatabase db = admin(&m_reason);
    if (!db.isOpen()) {
        m_available = false;
        return {};
    }
    const QString name =
        QStringLiteral("quillon_t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(name))) {
        m_available = false;
        m_reason = QStringLiteral("the test server refused a new database: %1").arg(q.lastError().text());
        return {};
    }
    m_made << name;
    auto info = store::ConnInfo::parse(qEnvironmentVariable("QUILLON_TEST_PG"));
    info->set(QStringLiteral("dbname"), name);
    return info->toString();
}

TestStore::~TestStore()
{
    if (m_made.isEmpty())
        return;
    QString why;
    QSqlDatabase db = admin(&why);
    for (const QString &name : m_made)
        QSqlQuery(db).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

store::Database::OpenResult TestStore::open(store::Database &db, bool create) const
{
    if (!onServer())
        return db.open(m_dir.file(QStringLiteral("db.mdb")), store::Database::Kind::Main, create);
    if (!m_available)
        return {store::Database::Status::Unreachable, m_reason};
    return db.openServer(m_conninfo, create);
}

void EngineTest::SetUp()
{
    if (store.available())
        return;
    if (qEnvironmentVariable("CI") == QLatin1String("true"))
        FAIL() << "the server cases must run in CI: " << store.reason().toStdString();
    GTEST_SKIP() << store.reason().toStdString();
}

std::string engineName(const ::testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::Postgres ? "Postgres" : "Sqlite";
}

} // namespace testsupport
