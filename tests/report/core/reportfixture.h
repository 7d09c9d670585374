#pragma once

#include "report/core/reportsettings.h"
#include "store/core/database.h"
#include "support/testdir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace reporttest {

inline QString shippedLayouts()
{
    return QStringLiteral(QUILLON_REPORTS_DIR);
}

// An application folder holding the shipped layout files and a new db.mdb
// with its sample invoices 1..3 (John Sample unpaid, Mary Example paid by
// cheque, Jane Specimen unpaid).
class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir src(shippedLayouts());
        for (const QString &name : src.entryList({QStringLiteral("*.rpt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(src.filePath(name), dir.file(name))) << name.toStdString();
        ASSERT_TRUE(db.open(dir.file(QStringLiteral("db.mdb"))).ok());
        // Tie each sample invoice to its sample patient by name, whatever
        // numbers the files were given.
        const char *names[] = {"SAMPLE", "EXAMPLE", "SPECIMEN"};
        for (int n = 1; n <= 3; ++n)
            db.exec(QStringLiteral("UPDATE tbl_Accounts SET FileNo = (SELECT FileNo FROM "
                                   "tbl_PatientDetails WHERE PLastName = ?) WHERE Invoice = ?"),
                    {QString::fromLatin1(names[n - 1]), n});
    }

    // Settings as the invoice window makes them: folder + "\name".
    report::ReportSettings settings(const QString &file, int invoice) const
    {
        const QString app = QDir::toNativeSeparators(dir.path());
        report::ReportSettings s;
        s.reportFile = app + QStringLiteral("\\") + file;
        for (QString &d : s.dataFiles)
            d = app + QStringLiteral("\\db.mdb");
        s.selectionFormula = QStringLiteral("{tbl_Accounts.Invoice}=%1").arg(invoice);
        s.dataDir = dir.path();
        return s;
    }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    testsupport::TestDir dir;
    store::Database db;
};

} // namespace reporttest
