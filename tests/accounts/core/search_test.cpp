#include "patientfixture.h"

#include "accounts/core/manualsearch.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/searchmenucontroller.h"
#include "store/core/filecounts.h"
#include "ui/core/keys.h"

#include <gtest/gtest.h>
#include <QSqlRecord>
#include <algorithm>
#include <chrono>
#include <thread>

using namespace patienttest;
namespace s = accounts::search;

namespace {

class PatientSearch : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        testsupport::EngineTest::SetUp();
        if (IsSkipped())
            return;
        a = std::make_unique<Station>(store);
        menu = std::make_unique<accounts::SearchMenuController>(a->services);
        menu->activated();
        // Sample files 1-3 are SAMPLE, EXAMPLE and a third; more below.
        smith = a->addFile("SMITH", "JOHN");
        a->db.exec("UPDATE tbl_PatientDetails SET DateOfBirth = '01/02/1990', PAddress = '9 HILL ST' WHERE FileNo = ?",
                   {smith});
        smithByAddress = a->addFile("SMITH", "JOHN");
        a->db.exec("UPDATE tbl_PatientDetails SET PAddress = '9 HILL ST' WHERE FileNo = ?", {smithByAddress});
        // The first in file order matches by address; the date of birth picks the other.
        a->db.exec("UPDATE tbl_PatientDetails SET PAddress = '1 LOW RD' WHERE FileNo = ?", {smith});
        a->windows.clearLog();
    }
    void TearDown() override
    {
        menu.reset();
        a.reset();
    }
    void type(const QString &box, const QString &text) { menu->setText(box, text); }
    QString shown() { return a->windows.log().isEmpty() ? QString() : a->windows.log().last(); }

    std::unique_ptr<Station> a;
    std::unique_ptr<accounts::SearchMenuController> menu;
    int smith = 0, smithByAddress = 0;
};

TEST_P(PatientSearch, TheCriteriaAreTriedInTheirOrder)
{
    // A file number wins over a last name.
    type(s::FileNo, "2");
    type(s::LastName, "smith");
    menu->search();
    EXPECT_EQ(shown(), "show frmPatientDetails");
    EXPECT_EQ(a->state.currentFileNo, 2);

    // Name, date of birth and address: the date of birth decides.
    menu->cancel();
    type(s::FirstName, "john");
    type(s::LastName, "smith");
    type(s::DOB, "01/02/1990");
    type(s::Address, "9 hill st");
    menu->search();
    EXPECT_EQ(a->state.currentFileNo, smith);
    EXPECT_EQ(menu->found(), smith);

    type(s::DOB, "");
    menu->search();
    EXPECT_EQ(a->state.currentFileNo, smithByAddress);

    // A name alone: the manual search.
    type(s::Address, "");
    a->windows.clearLog();
    menu->search();
    EXPECT_EQ(shown(), "show frmSearch");
    EXPECT_EQ(a->state.searchLastName, "SMITH");

    // Nothing matches: the manual search, no message.
    menu->cancel();
    type(s::SSN, "000-00-0000");
    menu->search();
    EXPECT_EQ(shown(), "show frmSearch");
}

TEST_P(PatientSearch, NoLastNameEnablesTheBoxesAndAFileNumberMustBeWhole)
{
    QStringList focus;
    QObject::connect(menu.get(), &accounts::SearchMenuController::focusRequested,
                     [&](const QString &c) { focus << c; });
    type(s::FirstName, "JOHN");
    menu->search();
    EXPECT_TRUE(menu->criteriaEnabled());
    EXPECT_EQ(focus.last(), s::LastName);
    EXPECT_TRUE(a->windows.log().isEmpty());

    for (const char *bad : {"12A", "1.5", "0", "99999999999"}) {
        type(s::FileNo, bad);
        a->prompter.expectMessage();
        menu->search();
        EXPECT_EQ(a->prompter.last().text, "The file number must be a whole number from 1 to 2147483647.") << bad;
        EXPECT_EQ(focus.last(), s::FileNo);
        EXPECT_TRUE(a->windows.log().isEmpty()) << bad;
    }
}

TEST_P(PatientSearch, NewClientStoresAPendingBlankAndComingForwardClearsThePendingMark)
{
    const int before = a->files_();
    menu->newClient();
    EXPECT_EQ(a->files_(), before + 1);
    EXPECT_TRUE(a->state.newFilePending);
    EXPECT_EQ(shown(), "show frmPatientDetails");
    a->files->arrive();
    EXPECT_TRUE(a->files->isPending());
    EXPECT_EQ(a->files->fileNo(), a->state.currentFileNo);
    menu->activated();
    EXPECT_FALSE(a->state.newFilePending);
    // The window still knows its blank file, and removes it on leaving.
    a->files->open();
    EXPECT_EQ(a->files_(), before);
}

TEST_P(PatientSearch, TheManualSearchStandsOnTheInitialAndReadsOnlyWhatItShows)
{
    {
        store::WriteTransaction tx(a->db);
        for (int i = 0; i < 80; ++i)   // more than a page before the S's
            a->addFile(QString("B%1").arg(i, 3, 10, QChar('0')));
        tx.commit();
    }
    a->addFile("Smythe");   // lower case: no match for "S" by its second letter
    accounts::ManualSearch list(a->services);
    a->state.searchLastName = "SMITH";
    list.activated();   // the first S
    const int row = list.currentRow();
    EXPECT_EQ(list.list().data(list.list().index(row, 1)).toString(), "SAMPLE");
    EXPECT_EQ(list.list().data(list.list().index(row - 1, 1)).toString(), "EXAMPLE");
    EXPECT_EQ(list.list().headerData(11, Qt::Horizontal).toString(), "Cellular");
    EXPECT_EQ(list.list().columnCount(), 17);
    EXPECT_LE(list.list().pagesRead(), 2);

    list.key({Qt::Key_PageUp, 0, {}});
    EXPECT_EQ(list.currentRow(), row - 10);
    list.key({Qt::Key_Home, 0, {}});
    EXPECT_EQ(list.currentRow(), 0);
    list.key({Qt::Key_End, 0, {}});
    EXPECT_EQ(list.currentRow(), list.list().rowCount() - 1);
    list.key({Qt::Key_PageDown, 0, {}});
    EXPECT_EQ(list.currentRow(), list.list().rowCount() - 1);

    a->state.searchLastName = "Q";   // nobody: the last row
    list.activated();
    EXPECT_EQ(list.currentRow(), list.list().rowCount() - 1);
    a->state.searchLastName = "";
    list.activated();   // no file without a last name: the last row too
    EXPECT_EQ(list.currentRow(), list.list().rowCount() - 1);
    a->files->newFile();
    list.activated();
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.list().fileNoAt(0), a->files->fileNo());

    a->state.searchLastName = "S";
    list.activated();
    a->windows.clearLog();
    EXPECT_TRUE(list.key({Qt::Key_X, 0, QChar('x')}));
    EXPECT_EQ(a->state.currentFileNo, list.list().fileNoAt(list.currentRow()));
    EXPECT_EQ(a->windows.log(), QStringList({"show frmPatientDetails", "unload frmSearch"}));
}

// Names that sort differently by other rules (case, accents, blanks, none):
// the list is by character codes with files without a name first, the same
// on either engine, and a server reads it by its index.
TEST_P(PatientSearch, TheListIsInCharacterCodeOrderWithoutANameFirst)
{
    QList<std::pair<QVariant, int>> files;
    for (const char *name : {"zeta", "Zeta", "ÄRGER", "ARGER", "éclair", "Eclair", "", "a b", "A", "Zeta"})
        files.push_back({QString(name), a->addFile(name)});
    for (int i = 0; i < 140; ++i) {   // more than two pages, half of them before the Z's
        const QString name = QString(i % 2 ? "b%1" : "B%1").arg(i, 3, 10, QChar('0'));
        files.push_back({name, a->addFile(name)});
    }
    const int none = a->addFile("X");
    a->db.exec("UPDATE tbl_PatientDetails SET PLastName = NULL WHERE FileNo = ?", {none});
    files.push_back({QVariant(), none});
    for (const QSqlRecord &r : a->db.select("SELECT FileNo, PLastName FROM tbl_PatientDetails WHERE FileNo < ?", {smith}))
        files.push_back({r.value(1), r.value(0).toInt()});
    files.push_back({"SMITH", smith});
    files.push_back({"SMITH", smithByAddress});
    std::sort(files.begin(), files.end(), [](const auto &x, const auto &y) {
        if (x.first.isNull() != y.first.isNull())
            return x.first.isNull();
        const QString s = x.first.toString(), t = y.first.toString();
        return s != t ? s < t : x.second < y.second;   // UTF-16 order: code point order for these
    });
    accounts::ManualSearch list(a->services);
    a->state.searchLastName = "ZETA";   // its rows, and those about it, read from where the Z's begin
    list.activated();
    EXPECT_EQ(list.list().data(list.list().index(list.currentRow(), 1)).toString(), "Zeta");
    ASSERT_EQ(list.list().rowCount(), files.size());
    for (int r = int(files.size()) - 1; r >= 0; --r)
        EXPECT_EQ(list.list().fileNoAt(r), files[r].second) << r << " " << files[r].first.toString().toStdString();

    if (!a->db.onServer())
        return;
    store::WriteTransaction tx(a->db);   // the setting ends with it
    a->db.exec("SET LOCAL enable_seqscan = off");
    QStringList plan;
    for (const QSqlRecord &r : a->db.select("EXPLAIN SELECT FileNo FROM tbl_PatientDetails "
                                            "ORDER BY PLastName COLLATE \"C\" NULLS FIRST, FileNo LIMIT 64 OFFSET 5"))
        plan << r.value(0).toString();
    EXPECT_FALSE(plan.join("\n").contains("Sort")) << plan.join("\n").toStdString();
}

// The kept counts against a count of the files themselves.
void expectCountsAsStored(store::Database &db)
{
    EXPECT_EQ(store::FileCounts::total(db), db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt());
    EXPECT_EQ(store::FileCounts::unnamed(db),
              db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PLastName = '' OR PLastName IS NULL").toInt());
    const QString last = db.dialect().byCodes("PLastName");
    for (const QString initial : {"A", "M", "S", "Z", "a", "Ä"})
        EXPECT_EQ(store::FileCounts::before(db, initial),
                  db.scalar(QString("SELECT COUNT(*) FROM tbl_PatientDetails WHERE %1 < ? OR PLastName IS NULL").arg(last),
                            {initial})
                      .toInt())
            << initial.toStdString();
}

// Whoever writes the files (another station's statements, a rename, a
// removal, a name taken away), the list stands where a count of the files
// puts it.
TEST_P(PatientSearch, TheManualSearchPlacesItsListByCountsEveryWriteKeeps)
{
    accounts::ManualSearch list(a->services);
    a->state.searchLastName = "SMITH";
    list.activated();
    const int row = list.currentRow();
    Station b(store);
    b.addFile("ADAMS");
    b.addFile("ÄRGER");
    b.addFile("");
    b.db.exec("UPDATE tbl_PatientDetails SET PLastName = 'MILLS' WHERE FileNo = ?", {smithByAddress});
    const int gone = b.addFile("BROWN");
    b.db.exec("DELETE FROM tbl_PatientDetails WHERE FileNo = ?", {gone});
    b.db.exec("UPDATE tbl_PatientDetails SET PLastName = NULL WHERE FileNo = ?", {smith});
    expectCountsAsStored(a->db);
    a->addFile("Smythe");
    list.activated();
    EXPECT_EQ(list.currentRow(), row + 4);   // ADAMS, the blank and both SMITHs now before the S's
    EXPECT_EQ(list.list().data(list.list().index(list.currentRow(), 1)).toString(), "SAMPLE");
    EXPECT_EQ(list.list().rowCount(), a->files_());
    EXPECT_EQ(accounts::PatientStore(a->db).rowOfInitial("Sm"),
              a->db.scalar(QString("SELECT COUNT(*) FROM tbl_PatientDetails WHERE %1 < 'Sm' OR PLastName IS NULL")
                               .arg(a->db.dialect().byCodes("PLastName")))
                  .toInt());
    a->state.searchLastName = "";
    list.activated();
    EXPECT_EQ(list.currentRow(), 0);
}

// Two stations add a file each at once, the first of its initial on either:
// the second waits for the first and both are counted.
TEST_P(PatientSearch, TwoStationsAddingFilesAtOnceAreBothCounted)
{
    const int before = store::FileCounts::unnamed(a->db);
    a->db.beginWrite();
    accounts::PatientStore(a->db).addBlank();
    std::thread other([&] {
        store::Database b;
        ASSERT_TRUE(store.open(b).ok());
        accounts::PatientStore(b).addBlank();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    a->db.commit();
    other.join();
    EXPECT_EQ(store::FileCounts::unnamed(a->db), before + 2);
    expectCountsAsStored(a->db);
}

QUILLON_BOTH_ENGINES(PatientSearch);

} // namespace
