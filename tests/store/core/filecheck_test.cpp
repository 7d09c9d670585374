// The check of a db.mdb's pages before the program writes to it: skipped
// only for a file exactly as a clean close left it.
#include "store/core/database.h"
#include "store/core/filecheck.h"
#include "store/core/schema.h"
#include "storefixture.h"

#include <QDate>
#include <QFile>

using store::FileCheck;

namespace {

class FileCheckTest : public ::testing::Test {
protected:
    QString path() const { return dir.file("db.mdb"); }
    void SetUp() override
    {
        store::Database db;
        ASSERT_TRUE(db.open(path()).ok());
        db.beginWrite();
        // Pages enough that damage lands past the tables' first pages.
        for (int i = 0; i < 400; ++i)
            db.insert(store::tables::Appt, {{"CalDate", QDate(2020, 1, 1).addDays(i)},
                                            {"Data", QString(3000, QLatin1Char('x'))}});
        db.commit();
        db.close();
        ASSERT_FALSE(FileCheck::damage(path()));
        ASSERT_TRUE(FileCheck::closedCleanly(path()));
        ASSERT_FALSE(FileCheck::damage(path()));
    }
    void overwriteMiddle()
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(8192, '\x13'));
    }
    testsupport::TestDir dir;
};

TEST_F(FileCheckTest, DamageAfterACleanCloseIsFoundWhateverTheMarkSays)
{
    overwriteMiddle();
    EXPECT_TRUE(FileCheck::damage(path()));

    // Cut short: the header alone tells.
    ASSERT_TRUE(FileCheck::closedCleanly(path()));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() / 2));
    f.close();
    const auto found = FileCheck::damage(path());
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->contains("where its header counts")) << found->toStdString();
}

TEST_F(FileCheckTest, ASaveLeftUnfinishedMarksNothingAndIsChecked)
{
    QFile journal(path() + "-journal");
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("unfinished");
    journal.close();
    EXPECT_FALSE(FileCheck::closedCleanly(path()));
    EXPECT_FALSE(QFile::exists(path() + ".clean"));
    ASSERT_TRUE(QFile::remove(path() + "-journal"));
    overwriteMiddle();
    EXPECT_TRUE(FileCheck::damage(path()));
}

} // namespace
