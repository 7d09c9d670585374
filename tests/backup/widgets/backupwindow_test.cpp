#include "backup/widgets/backupwindow.h"
#include "store/core/database.h"
#include "store/core/dbcopy.h"
#include "store/core/settings.h"
#include "support/testdir.h"
#include "ui/core/appstate.h"
#include "support/doubles/scriptedprompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingwindows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

using backup::BackupController;
using backup::BackupWindow;

namespace {

// Sees the window as it is while the database is being copied.
class WatchedCopy : public store::DatabaseCopy {
public:
    WatchedCopy(store::Database &db, std::function<void()> watch)
        : m_real(forDatabase(db)), m_watch(std::move(watch))
    {
    }
    void writeSnapshot(const QString &path) override
    {
        m_watch();
        m_real->writeSnapshot(path);
    }
    QString problemWith(const QString &path) override { return m_real->problemWith(path); }
    void replaceWith(const QString &path) override { m_real->replaceWith(path); }

private:
    std::unique_ptr<store::DatabaseCopy> m_real;
    std::function<void()> m_watch;
};

class BackupWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.places.setData(app.path());
        ASSERT_TRUE(db.open(app.file("db.mdb")).ok());
        store::SettingsStore(db).write({{"Spare", media.file("Last Week")}});
        services = std::make_unique<ui::Services>(ui::Services{db, prompter, state, windows, clock, clipboard, desktop});
        window = std::make_unique<BackupWindow>(*services, [this](store::Database &d) {
            return std::make_unique<WatchedCopy>(d, [this] { duringCopy(); });
        });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    template <class T = QWidget>
    T *find(const char *name)
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    std::string focused()
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : std::string("(none)");
    }

    void duringCopy()
    {
        const QCursor *c = QApplication::overrideCursor();
        busyWhileCopying = c && c->shape() == Qt::WaitCursor;
        labelWhileCopying = find<QLabel>("lblBacking")->isVisible()
                                ? find<QLabel>("lblBacking")->text() + find<QLabel>("lblBackup")->text()
                                : QString();
    }

    testsupport::TestDir app;
    testsupport::TestDir media;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::AppState state;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<BackupWindow> window;
    bool busyWhileCopying = false;
    QString labelWhileCopying;
};

TEST_F(BackupWindowTest, ShowsTheLastDestinationInBothBoxesAndKeepsTheCaseTyped)
{
    EXPECT_EQ(window->windowTitle(), "Back-up /Restore Files");
    EXPECT_EQ(find<QLineEdit>("txtBackup")->text(), media.file("Last Week"));
    EXPECT_EQ(find<QLineEdit>("txtRestore")->text(), media.file("Last Week"));
    EXPECT_EQ(find<QPushButton>("cmdBackup")->text(), "&BackUp");
    EXPECT_EQ(find<QPushButton>("CmdRestore")->text(), "&Restore");
    EXPECT_EQ(find<QPushButton>("CmdExit")->text(), "&Exit");
    for (const char *label : {"lblBacking", "lblBackup", "lblBackupComplete", "lblRestoring", "lblRestoreComplete"})
        EXPECT_FALSE(find<QLabel>(label)->isVisible()) << label;

    find<QLineEdit>("txtBackup")->clear();
    QTest::keyClicks(find("txtBackup"), "/media/Clinic/March");
    EXPECT_EQ(find<QLineEdit>("txtBackup")->text(), "/media/Clinic/March");
    EXPECT_EQ(window->controller().destination(), "/media/Clinic/March");
}

TEST_F(BackupWindowTest, ArrowsAndEnterFollowTheWindowsPaths)
{
    const struct {
        const char *from;
        Qt::Key key;
        const char *to;
    } moves[] = {
        {"txtBackup", Qt::Key_Return, "cmdBackup"},  {"txtBackup", Qt::Key_Down, "cmdBackup"},
        {"cmdBackup", Qt::Key_Up, "txtBackup"},      {"cmdBackup", Qt::Key_Down, "txtRestore"},
        {"txtRestore", Qt::Key_Up, "cmdBackup"},     {"txtRestore", Qt::Key_Down, "CmdRestore"},
        {"CmdRestore", Qt::Key_Up, "txtRestore"},    {"CmdRestore", Qt::Key_Down, "CmdExit"},
        {"CmdExit", Qt::Key_Up, "CmdRestore"},       {"CmdExit", Qt::Key_Down, "CmdExit"},
        {"txtRestore", Qt::Key_Return, "txtRestore"},
    };
    for (const auto &m : moves) {
        find(m.from)->setFocus();
        QTest::keyClick(find(m.from), m.key);
        EXPECT_EQ(focused(), m.to) << m.from << " key " << m.key;
    }
}

TEST_F(BackupWindowTest, EnterOnBackUpCopiesUnderTheBusyPointerAndReportsSuccess)
{
    const QString folder = media.file("Backups/Today");
    find<QLineEdit>("txtBackup")->setText(folder + "/");
    find("cmdBackup")->setFocus();
    QTest::keyClick(find("cmdBackup"), Qt::Key_Return);

    EXPECT_TRUE(busyWhileCopying);
    EXPECT_EQ(labelWhileCopying, "Backing up files to " + folder + "/");
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_FALSE(find<QLabel>("lblBacking")->isVisible());
    EXPECT_TRUE(find<QLabel>("lblBackupComplete")->isVisible());
    EXPECT_EQ(find<QLabel>("lblBackupComplete")->text(), "Files back-up successful. (no Info.xls to copy)");
    EXPECT_TRUE(QFileInfo(folder + "/db.mdb").isFile());
    EXPECT_EQ(store::SettingsStore(db).field("Spare").toString(), folder);
}

TEST_F(BackupWindowTest, FolderButtonsPutTheChosenFolderInTheirBox)
{
    prompter.answerChoice(QStringLiteral("/srv/Share/Backups"));
    find<QPushButton>("cmdChooseRestore")->click();
    EXPECT_EQ(prompter.last().title, "Restore source");
    EXPECT_EQ(prompter.last().defaultText, media.file("Last Week"));
    EXPECT_EQ(find<QLineEdit>("txtRestore")->text(), "/srv/Share/Backups");
    EXPECT_EQ(window->controller().source(), "/srv/Share/Backups");

    prompter.answerChoice(std::nullopt);   // cancelled
    find<QPushButton>("cmdChooseBackup")->click();
    EXPECT_EQ(prompter.last().title, "Backup destination");
    EXPECT_EQ(find<QLineEdit>("txtBackup")->text(), media.file("Last Week"));
}

TEST_F(BackupWindowTest, ExitReturnsToTheMenuAndTheCloseBoxEndsTheProgramOnTheWayOut)
{
    find<QPushButton>("CmdExit")->click();
    EXPECT_EQ(windows.log(), QStringList({"show frmMenu", "unload frmBackup"}));

    windows.clearLog();
    state.exitFlag = true;
    window->close();
    EXPECT_EQ(windows.log(), QStringList({"quit"}));
}

} // namespace

namespace {

// Opened again (a new window, as after Exit and the menu's Backup), the
// frame is at the top edge, centred, the screen's height less 280 twips.
TEST_F(BackupWindowTest, AReopenedWindowsFrameSitsAtTheTopEdgeInsideTheScreen)
{
    window.reset();
    window = std::make_unique<BackupWindow>(*services);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect avail = window->screen()->availableGeometry();
    QTRY_COMPARE(window->frameGeometry().top(), avail.top());
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(avail.contains(frame));
    EXPECT_LE(std::abs((frame.left() - avail.left()) - (avail.right() - frame.right())), 1);
    EXPECT_EQ(frame.height(), ui::taskFrame(window.get()).height());
}

} // namespace
