// The main menu's change log window over the changes of two stations.
#include "app/widgets/changelogwindow.h"
#include "app/widgets/menuwindow.h"
#include "app/widgets/registration.h"
#include "store/core/settings.h"
#include "support/station.h"
#include "ui/widgets/windowregistry.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class ChangeLogWindowTest : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        windows.setServices(&services);
        app::registerWindows(windows);
        app::registerUnavailableWindows(windows);
        clock.set(QDateTime(QDate::currentDate(), QTime(9, 0)));
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
    }
    testsupport::TestDir dir;
};

TEST_F(ChangeLogWindowTest, ListsFiltersAndSavesTheChangesOfTwoStations)
{
    db.setStation({"Desk A", "host-a", "ann"});
    store::SettingsStore(db).write({{"location", "Main Street"}});
    {
        store::Database other;
        ASSERT_TRUE(other.open(dir.file("db.mdb")).ok());
        other.setStation({"Desk B", "host-b", "bob"});
        store::SettingsStore(other).write({{"timeslot", 20}});
    }

    windows.show(ui::win::Menu);
    auto *menu = windows.window(ui::win::Menu);
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu->findChild<QPushButton *>("cmdChangeLog"), Qt::LeftButton);
    auto *w = qobject_cast<app::ChangeLogWindow *>(windows.window(ui::win::ChangeLog));
    ASSERT_NE(w, nullptr);
    auto *list = w->findChild<QTreeWidget *>("lstChanges");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "Desk B");
    EXPECT_EQ(list->topLevelItem(0)->text(5), "timeslot: \"30\" -> \"20\"");
    EXPECT_EQ(list->topLevelItem(1)->text(4), "setup 1");
    if (const QString out = qEnvironmentVariable("QUILLON_SCREENSHOTS"); !out.isEmpty()) {
        w->resize(1000, 360);
        EXPECT_TRUE(w->grab().save(QDir(out).filePath("changelog.png")));
    }

    auto *user = w->findChild<QComboBox *>("cboUser");
    user->setCurrentText("ann");
    QTest::mouseClick(w->findChild<QPushButton *>("cmdShow"), Qt::LeftButton);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(2), "ann");
    w->findChild<QLineEdit *>("txtRecord")->setText("invoice");
    QTest::mouseClick(w->findChild<QPushButton *>("cmdShow"), Qt::LeftButton);
    EXPECT_EQ(list->topLevelItemCount(), 0);

    user->setCurrentIndex(0);
    w->findChild<QLineEdit *>("txtRecord")->setText("setup 1");
    QTest::mouseClick(w->findChild<QPushButton *>("cmdShow"), Qt::LeftButton);
    EXPECT_EQ(list->topLevelItemCount(), 2);
    prompter.answerChoice(dir.file("log.pdf"));
    QTest::mouseClick(w->findChild<QPushButton *>("cmdPdf"), Qt::LeftButton);
    EXPECT_EQ(prompter.last().title, "Save as PDF");
    EXPECT_TRUE(prompter.last().defaultText.endsWith("/Change Log.pdf")) << prompter.last().defaultText.toStdString();
    EXPECT_GT(QFileInfo(dir.file("log.pdf")).size(), 0);
}

} // namespace
