#pragma once

#include "store/core/database.h"
#include "support/teststore.h"

#include <QFile>
#include <gtest/gtest.h>

namespace storetest {

// A fresh practice database (db.mdb, or an empty server database), opened.
class StoreTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const auto r = store.open(db);
        ASSERT_EQ(r.status, store::Database::Status::Created) << r.detail.toStdString();
    }
    // Another station's connection to the same database.
    void openOther(store::Database &other)
    {
        const auto r = store.open(other);
        ASSERT_EQ(r.status, store::Database::Status::Opened) << r.detail.toStdString();
    }
    int count(const QString &table)
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + store::Dialect::quote(table)).toInt();
    }

    store::Database db;
};

inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace storetest
