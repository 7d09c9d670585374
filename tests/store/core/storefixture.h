#pragma once

#include "store/core/database.h"
#include "support/testdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace storetest {

// A fresh db.mdb in a temporary application folder.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto r = db.open(path());
        ASSERT_EQ(r.status, store::Database::Status::Created) << r.detail.toStdString();
    }
    QString path() const { return dir.file(QStringLiteral("db.mdb")); }
    int count(const QString &table)
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + store::Dialect::quote(table)).toInt();
    }

    testsupport::TestDir dir;
    store::Database db;
};

inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace storetest
