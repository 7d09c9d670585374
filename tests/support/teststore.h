#pragma once

#include "store/core/database.h"
#include "support/testdir.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace testsupport {

enum class Engine { Sqlite, Postgres };

// The practice's database for one test, on either engine: db.mdb in a fresh
// application folder, or a fresh empty database on the test server named by
// QUILLON_TEST_PG (a libpq connection string; ./test.sh starts a server and
// sets it). Every station of the test opens it through open().
class TestStore {
public:
    explicit TestStore(Engine engine);
    ~TestStore();
    TestStore(const TestStore &) = delete;
    TestStore &operator=(const TestStore &) = delete;

    Engine engine() const { return m_engine; }
    bool onServer() const { return m_engine == Engine::Postgres; }
    // False when the server is not there; reason() says why.
    bool available() const { return m_available; }
    QString reason() const { return m_reason; }

    const TestDir &dir() const { return m_dir; }
    QString appDir() const { return m_dir.path(); }
    QString conninfo() const { return m_conninfo; }

    store::Database::OpenResult open(store::Database &db, bool create = true) const;

    // A further empty server database, dropped with this store.
    QString newServerDatabase();

private:
    Engine m_engine;
    TestDir m_dir;
    bool m_available = true;
    QString m_reason;
    QString m_conninfo;
    QStringList m_made;
};

// Fixture of the tests that run on both engines. A server case skips with
// the reason when no server is set up, and fails instead under CI.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    Engine engine() const { return GetParam(); }
    bool onServer() const { return GetParam() == Engine::Postgres; }
    TestStore store{GetParam()};
};

// A suite over one station of its own, `S`, opened on the suite's store.
template <typename S>
class StationTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        a = std::make_unique<S>(store);
    }
    void TearDown() override { a.reset(); }
    std::unique_ptr<S> a;
};

std::string engineName(const ::testing::TestParamInfo<Engine> &info);
inline void PrintTo(Engine e, std::ostream *os) { *os << (e == Engine::Postgres ? "Postgres" : "Sqlite"); }

} // namespace testsupport

#define QUILLON_BOTH_ENGINES(Suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                       \
                             ::testing::Values(::testsupport::Engine::Sqlite,                      \
                                               ::testsupport::Engine::Postgres),                   \
                             ::testsupport::engineName)
