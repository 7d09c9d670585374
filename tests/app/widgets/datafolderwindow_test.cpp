#include "app/widgets/datafolderwindow.h"

#include "support/doubles/scriptedprompter.h"
#include "support/testdir.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(DataFolderWindow, TypingASharedFolderChoosesItAndOkMakesItReady)
{
    testsupport::TestDir dir;
    ui::ScriptedPrompter prompter;
    QDir().mkpath(dir.file("share"));
    app::DataFolderWindow w(prompter, dir.file("home/Quillon"));
    w.show();
    EXPECT_EQ(w.findChild<QLabel *>("lblNote")->text(),
              "A new database is made in " + QDir::toNativeSeparators(dir.file("home/Quillon")) + ".");

    QTest::keyClicks(w.findChild<QLineEdit *>("txtShared"), dir.file("share"));
    EXPECT_TRUE(w.findChild<QRadioButton *>("optShared")->isChecked());
    EXPECT_TRUE(w.findChild<QLabel *>("lblNote")->text().endsWith("is empty: a new database is made there."));

    w.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.chosen(), dir.file("share"));
    EXPECT_FALSE(QDir(dir.file("home")).exists());
}

TEST(DataFolderWindow, BrowseAsksThePrompterForTheSharedFolder)
{
    testsupport::TestDir dir;
    ui::ScriptedPrompter prompter;
    QDir().mkpath(dir.file("share"));
    app::DataFolderWindow w(prompter, dir.file("home/Quillon"));
    prompter.answerChoice(dir.file("share")).answerChoice(std::nullopt);
    w.findChild<QPushButton *>("cmdBrowse")->click();
    EXPECT_EQ(prompter.last().title, "The practice's shared folder");
    EXPECT_EQ(w.findChild<QLineEdit *>("txtShared")->text(), QDir::toNativeSeparators(dir.file("share")));
    EXPECT_TRUE(w.findChild<QRadioButton *>("optShared")->isChecked());
    // Cancelled: the folder typed stays.
    w.findChild<QPushButton *>("cmdBrowse")->click();
    EXPECT_EQ(prompter.last().defaultText, QDir::toNativeSeparators(dir.file("share")));
    EXPECT_EQ(w.findChild<QLineEdit *>("txtShared")->text(), QDir::toNativeSeparators(dir.file("share")));
}
