#include "patientfixture.h"

#include "accounts/core/patientforms.h"
#include "store/core/dbcopy.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace patienttest;

namespace {

const QString SaveQuestion = "Do you want to save new file?";
const QString DeleteQuestion = "Are you sure you want to delete this file?";

class PatientFiles : public testsupport::StationTest<Station> {};

TEST(PatientForm, CapitalsSexLettersAndTheBlankSocialSecurityNumber)
{
    ui::FormModel f = accounts::patientForm();
    EXPECT_EQ(f.typed(b::Sex, 'm'), QChar('M'));
    EXPECT_FALSE(f.typed(b::Sex, 'x'));
    EXPECT_EQ(f.typed(b::Sex, QChar(8)), QChar(8));
    EXPECT_EQ(f.setText(b::Sex, "mxf"), "MF");
    EXPECT_EQ(f.setText(b::LastName, "o'brien"), "O'BRIEN");
    EXPECT_EQ(f.stored(b::SSN), " ");
    EXPECT_EQ(f.moveFrom(b::FirstName, ui::Move::Down), b::DOB);
    EXPECT_EQ(f.moveFrom(b::FirstName, ui::Move::Left), b::Title);
    EXPECT_EQ(f.moveFrom(b::Invoice, ui::Move::Up), b::Occup);
    EXPECT_EQ(f.enterFrom(b::Invoice).kind, ui::FormModel::EnterTarget::Press);
}

TEST_P(PatientFiles, NewFileIsStoredAtOnceAndSavedWithItsSpaceForTheSocialSecurityNumber)
{
    const int before = a->files_();
    a->files->newFile();
    const int file = a->files->fileNo();
    EXPECT_GT(file, 3);
    EXPECT_EQ(a->files_(), before + 1);
    EXPECT_TRUE(a->state.newFilePending);
    EXPECT_EQ(a->state.currentFileNo, file);

    a->type(b::LastName, "smith");
    a->type(b::Sex, "m");
    EXPECT_TRUE(a->files->save());
    EXPECT_FALSE(a->state.newFilePending);
    EXPECT_EQ(a->stored(file, "PLastName").toString(), "SMITH");
    EXPECT_EQ(a->stored(file, "Sex").toString(), "M");
    EXPECT_EQ(a->stored(file, "SocialSecurityNo").toString(), " ");
}

TEST_P(PatientFiles, SaveWithoutLastNameOnlyFocusesIt)
{
    QStringList focus;
    QObject::connect(a->files.get(), &accounts::PatientController::focusRequested,
                     [&](const QString &box) { focus << box; });
    a->show(1);
    focus.clear();
    a->type(b::LastName, "");
    a->type(b::City, "ELSEWHERE");
    EXPECT_FALSE(a->files->save());
    EXPECT_EQ(focus, QStringList{b::LastName});
    EXPECT_EQ(a->stored(1, "PCity").toString(), "PORT ELMS");
}

TEST_P(PatientFiles, InvoiceWithoutNameWritesQuestionMarksEachTimeAndSaveTakesThem)
{
    a->files->newFile();
    for (int i = 0; i < 2; ++i) {
        a->files->invoice();
        EXPECT_EQ(a->box(b::LastName), "???");
        EXPECT_TRUE(a->windows.log().filter("Account").isEmpty());
    }
    EXPECT_TRUE(a->files->save());
    EXPECT_EQ(a->stored(a->files->fileNo(), "PLastName").toString(), "???");
}

TEST_P(PatientFiles, InvoiceMakesThePatientsFirstInvoiceOnlyOnce)
{
    a->files->newFile();
    const int file = a->files->fileNo();
    a->type(b::LastName, "JONES");
    a->files->invoice();
    EXPECT_EQ(a->db.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE FileNo = ?", {file}).toInt(), 1);
    EXPECT_EQ(a->db.scalar("SELECT FileNo FROM tbl_Accounts WHERE Invoice = ?", {a->state.currentInvoiceNo}).toInt(),
              file);
    EXPECT_EQ(a->state.currentFileNo, file);
    EXPECT_EQ(a->windows.log().mid(a->windows.log().size() - 2),
              QStringList({"show frmAccount", "unload frmPatientDetails"}));

    a->files->invoice();
    EXPECT_EQ(a->db.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE FileNo = ?", {file}).toInt(), 1);
}

TEST_P(PatientFiles, DeleteYesOnAProtectedFileKeepsItAndSaysSo)
{
    for (int file = 1; file <= 3; ++file) {
        a->show(file);
        a->prompter.answerYes().expectMessage();
        a->files->remove();
        EXPECT_EQ(a->prompter.last().text,
                  QString("File %1 is one of the protected sample files 1 to 3 and was kept.").arg(file));
        EXPECT_EQ(a->prompter.transcript()[a->prompter.transcript().size() - 2].text, DeleteQuestion);
        EXPECT_TRUE(a->stored(file, "FileNo").isValid());
        EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");
    }
}

TEST_P(PatientFiles, DeleteYesRemovesAndNoRemovesOnlyAnUnfinishedBlank)
{
    const int kept = a->addFile("KEEP");
    a->show(kept);
    a->prompter.answerNo();
    a->files->remove();
    EXPECT_TRUE(a->stored(kept, "FileNo").isValid());
    EXPECT_EQ(a->prompter.last().icon, ui::Icon::Critical);
    EXPECT_TRUE(a->prompter.last().defaultNo);

    a->files->newFile();
    const int blank = a->files->fileNo();
    a->prompter.answerNo();
    a->files->remove();
    EXPECT_FALSE(a->stored(blank, "FileNo").isValid());
    EXPECT_FALSE(a->state.newFilePending);

    a->show(kept);
    a->prompter.answerYes();
    a->files->remove();
    EXPECT_FALSE(a->stored(kept, "FileNo").isValid());
    EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");
}

TEST_P(PatientFiles, CancelRereadsASavedFileAndDiscardsAPendingOne)
{
    a->show(2);
    a->type(b::City, "NOWHERE");
    a->files->cancel();
    EXPECT_EQ(a->box(b::City), "KELLERTON");
    EXPECT_TRUE(a->windows.log().filter("unload").isEmpty());

    a->files->newFile();
    const int blank = a->files->fileNo();
    a->type(b::City, "TYPED");
    a->files->cancel();
    EXPECT_FALSE(a->stored(blank, "FileNo").isValid());
    EXPECT_EQ(a->windows.log().mid(a->windows.log().size() - 2),
              QStringList({"show frmSearchMenu", "unload frmPatientDetails"}));
}

TEST_P(PatientFiles, NextAndPreviousStopAtTheEndsAndWriteWhatWasTyped)
{
    const int last = a->addFile("LAST");
    a->show(1);
    a->files->previous();
    EXPECT_EQ(a->files->fileNo(), 1);
    a->type(b::Occup, "PILOT");
    a->files->next();
    EXPECT_EQ(a->files->fileNo(), 2);
    EXPECT_EQ(a->stored(1, "Occupation").toString(), "PILOT");
    a->show(last);
    a->files->next();
    EXPECT_EQ(a->files->fileNo(), last);
}

// New stores a blank file at once; leaving it by any path removes it again.
TEST_P(PatientFiles, ABlankNewFileGoesWhicheverWayTheWindowLeavesIt)
{
    const int files = a->files_();
    a->files->newFile();
    a->files->open();
    EXPECT_EQ(a->files_(), files);
    EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");

    a->files->newFile();
    a->show(2);   // another patient picked in the search windows
    EXPECT_EQ(a->files_(), files);
    EXPECT_EQ(a->files->fileNo(), 2);

    a->files->newFile();
    a->files->next();
    EXPECT_EQ(a->files_(), files);

    a->files->newFile();
    a->files.reset();   // the program unloads the window
    EXPECT_EQ(a->files_(), files);
    a->files = std::make_unique<accounts::PatientController>(a->services);
    ASSERT_TRUE(a->files->load());
}

TEST_P(PatientFiles, ExitAsksAboutAPendingFileAndStaysWhenItCannotBeSaved)
{
    a->files->newFile();
    a->type(b::City, "TYPED");
    a->prompter.answerYes();
    EXPECT_FALSE(a->files->exit());   // no last name: nothing saved, nothing lost
    EXPECT_EQ(a->prompter.last().text, SaveQuestion);
    EXPECT_EQ(a->prompter.last().title, "Save File?");
    EXPECT_EQ(a->box(b::City), "TYPED");

    a->type(b::LastName, "BROWN");
    a->prompter.answerYes();
    EXPECT_TRUE(a->files->exit());
    EXPECT_EQ(a->db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PLastName = 'BROWN'").toInt(), 1);
    EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");
}

TEST_P(PatientFiles, ASecondNewAsksAboutTheFirstOnlyOnceItHasAName)
{
    a->files->newFile();
    const int first = a->files->fileNo();
    a->files->newFile();   // no last name yet: focus only
    EXPECT_EQ(a->files->fileNo(), first);
    a->type(b::LastName, "GREEN");
    a->prompter.answerYes();
    a->files->newFile();
    EXPECT_NE(a->files->fileNo(), first);
    EXPECT_EQ(a->stored(first, "PLastName").toString(), "GREEN");
}

// Two stations on one file: a save never overwrites what the other stored
// after this one read it, even while this station's question was open.
TEST_P(PatientFiles, AnotherStationsEditIsNeverOverwritten)
{
    Station other(store);
    const int file = a->addFile("WHITE");
    a->show(file);
    other.show(file);

    other.type(b::City, "OTHERTOWN");
    ASSERT_TRUE(other.files->save());
    a->type(b::Occup, "BAKER");   // another field: both kept
    ASSERT_TRUE(a->files->save());
    EXPECT_EQ(a->stored(file, "PCity").toString(), "OTHERTOWN");
    EXPECT_EQ(a->stored(file, "Occupation").toString(), "BAKER");
    EXPECT_EQ(a->box(b::City), "OTHERTOWN");

    a->type(b::LastName, "BLACK");
    other.type(b::LastName, "GREY");
    ASSERT_TRUE(other.files->save());
    a->prompter.expectMessage();
    EXPECT_FALSE(a->files->save());
    EXPECT_TRUE(a->prompter.last().text.startsWith("Another station changed this file"));
    EXPECT_TRUE(a->prompter.last().text.contains("Last Name: BLACK"));
    EXPECT_EQ(a->stored(file, "PLastName").toString(), "GREY");
    EXPECT_EQ(a->box(b::LastName), "BLACK");
}

TEST_P(PatientFiles, TheOtherStationSavesWhileTheSaveQuestionIsOpen)
{
    Station other(store);
    a->files->newFile();
    const int file = a->files->fileNo();
    a->type(b::LastName, "FIRST");
    other.show(file);
    a->prompter.onNext([&](const auto &) {
        other.type(b::LastName, "SECOND");
        EXPECT_TRUE(other.files->save());
    });
    a->prompter.answerYes().expectMessage();
    EXPECT_FALSE(a->files->exit());
    EXPECT_EQ(a->prompter.transcript()[0].text, SaveQuestion);
    EXPECT_EQ(a->stored(file, "PLastName").toString(), "SECOND");
    EXPECT_EQ(a->box(b::LastName), "FIRST");
}

// The other station changed one box this station typed: the rest is
// stored, and the message names every box typed by its label.
TEST_P(PatientFiles, ASaveMeetingAnotherStationsChangeKeepsEveryOtherEntry)
{
    Station other(store);
    const int file = a->addFile("PHONE");
    a->show(file);
    other.show(file);
    other.type(b::HomeNo, "555 0100");
    ASSERT_TRUE(other.files->save());
    a->type(b::HomeNo, "555 0199");
    a->type(b::Occup, "baker");
    a->prompter.expectMessage();
    EXPECT_FALSE(a->files->save());
    EXPECT_EQ(a->prompter.last().text,
              "Another station changed this file while you were editing it, so your entries in the boxes it also "
              "changed were not saved; your other entries were saved. The file is shown as it is stored now, and "
              "what was not saved is still in its box: save again to store it over the other station's entry.\n\n"
              "Your entries:\nHome Phone: 555 0199   (not saved; stored now: 555 0100)\nOccupation: BAKER   (saved)");
    EXPECT_EQ(a->stored(file, "Occupation").toString(), "BAKER");
    EXPECT_EQ(a->stored(file, "HomeNo").toString(), "555 0100");
    EXPECT_EQ(a->box(b::Occup), "BAKER");
    EXPECT_EQ(a->box(b::HomeNo), "555 0199");
    // Saved again, it goes over the other station's entry, as the user chose.
    EXPECT_TRUE(a->files->save());
    EXPECT_EQ(a->stored(file, "HomeNo").toString(), "555 0199");
}

TEST_P(PatientFiles, AFileChangedWhileTheDeleteQuestionIsOpenIsKept)
{
    Station other(store);
    const int file = a->addFile("KEEPME");
    a->show(file);
    other.show(file);
    a->prompter.onNext([&](const auto &) {
        other.type(b::City, "MOVED");
        EXPECT_TRUE(other.files->save());
    });
    a->prompter.answerYes().expectMessage();
    a->files->remove();
    EXPECT_EQ(a->prompter.last().text, QString("Another station changed file %1 after you opened it, so it was "
                                               "not deleted. The file is shown as it is stored now.")
                                           .arg(file));
    EXPECT_TRUE(a->stored(file, "FileNo").isValid());
    EXPECT_EQ(a->box(b::City), "MOVED");
    EXPECT_TRUE(a->windows.log().filter("unload").isEmpty());
}

// Another station deletes the file between this station's read and its
// write: said once, every entry listed by its label, and the window can be
// left; the boxes keep what was typed until then.
TEST_P(PatientFiles, AFileDeletedUnderneathIsReportedOnceAndTheWindowCanBeLeft)
{
    Station other(store);
    const int file = a->addFile("GONE");
    a->show(file);
    other.show(file);
    a->type(b::City, "springfield");
    a->type(b::Occup, "BAKER");
    other.prompter.answerYes();
    other.files->remove();
    ASSERT_FALSE(a->stored(file, "FileNo").isValid());

    a->prompter.expectMessage();
    EXPECT_FALSE(a->files->save());
    EXPECT_EQ(a->prompter.last().text,
              QString("File %1 is no longer stored: it was deleted at another station, or the data was restored "
                      "from a backup, while you were editing it. Your entries were not saved.\n\n"
                      "Your entries:\nCity: SPRINGFIELD\nOccupation: BAKER")
                  .arg(file));
    EXPECT_EQ(a->box(b::City), "SPRINGFIELD");
    a->prompter.expectMessage();
    a->files->invoice();   // no file, no invoice
    EXPECT_EQ(a->prompter.last().text, accounts::PatientController::FileNotFound);
    EXPECT_TRUE(a->files->exit());   // nothing more to say
    EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");
    EXPECT_EQ(a->db.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE FileNo = ?", {file}).toInt(), 0);
}

TEST_P(PatientFiles, ANewFileDeletedWhileTheSaveQuestionIsOpenLetsTheWindowGo)
{
    Station other(store);
    a->files->newFile();
    const int file = a->files->fileNo();
    a->type(b::LastName, "FRESH");
    other.show(file);
    a->prompter.onNext([&](const auto &) {
        other.prompter.answerYes();
        other.files->remove();
    });
    a->prompter.answerYes().expectMessage();
    EXPECT_TRUE(a->files->exit());
    EXPECT_TRUE(a->prompter.last().text.endsWith("Your entries:\nLast Name: FRESH"))
        << a->prompter.last().text.toStdString();
    EXPECT_EQ(a->windows.log().last(), "unload frmPatientDetails");
}

} // namespace

namespace {

// A file read before another station restored a backup is not written over
// the restored data: the user is told, the entries stay in their boxes over
// the restored file, and saving again stores them there.
TEST_P(PatientFiles, ASaveAfterARestoreElsewhereWritesNothingAndKeepsTheEntries)
{
    const int file = a->addFile("RESTORED");
    Station other(store);
    const auto copy = store::DatabaseCopy::forDatabase(other.db);
    QTemporaryDir media;
    const QString backup = QDir(media.path()).filePath("db.mdb");
    copy->writeSnapshot(backup);
    a->show(file);
    copy->replaceWith(backup);

    a->type(b::Occup, "baker");
    a->prompter.expectMessage();
    EXPECT_FALSE(a->files->save());
    EXPECT_TRUE(a->prompter.last().text.startsWith("3900")) << a->prompter.last().text.toStdString();
    EXPECT_EQ(a->stored(file, "Occupation").toString(), "");
    EXPECT_EQ(a->box(b::Occup), "BAKER");
    EXPECT_TRUE(a->files->save());
    EXPECT_EQ(a->stored(file, "Occupation").toString(), "BAKER");
}

// The menu's Exit (or backup) unloading the client window settles typed
// boxes as the window's own Exit does: they are stored, not dropped.
TEST_P(PatientFiles, APathUnloadingTheWindowStoresTheTypedBoxesFirst)
{
    const int file = a->addFile("LEAVING");
    a->show(file);
    a->windows.setLoaded(ui::win::PatientDetails);
    a->type(b::Occup, "baker");
    EXPECT_TRUE(a->windows.settle({ui::win::Appt, ui::win::PatientDetails}));
    EXPECT_EQ(a->stored(file, "Occupation").toString(), "BAKER");
}

} // namespace

namespace {
QUILLON_BOTH_ENGINES(PatientFiles);
} // namespace
