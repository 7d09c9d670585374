#include "support/doubles/recordingdesktop.h"
#include "book/pages/blockops.h"
#include "book/core/calendar.h"
#include "ui/core/dateinput.h"
#include "book/pages/pagestore.h"
#include "book/widgets/bookwindow.h"
#include "book/widgets/bookwindows.h"
#include "book/widgets/calendarview.h"
#include "store/core/database.h"
#include "store/core/presence.h"
#include "store/core/settings.h"
#include "support/station.h"
#include "ui/core/windows.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/windowregistry.h"

#include "report/widgets/sheetprinters.h"
#include "support/printqueue.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QTreeWidget>
#include <QFile>
#include <QKeySequence>
#include <QToolBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

// A Tuesday, so the page is an open day whatever the date of the run.
const QDate kToday(2030, 6, 4);

QStringList captured;
void captureMessages(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        captured << msg;
}

class BookWindowTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    void SetUp() override
    {
        state.places.setData(dir.path());
        const auto r = db.open(dir.file(QStringLiteral("db.mdb")));
        ASSERT_TRUE(r.ok()) << r.detail.toStdString();
        window = std::make_unique<book::BookWindow>(services);
        ASSERT_TRUE(window->load(kToday));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join('\n').toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    book::BookController &controller() { return window->controller(); }
    ui::GridView *grid() { return window->gridView(); }
    QPlainTextEdit *editor() { return window->cellEditor(); }
    template <class T> T *child(const char *name) { return window->findChild<T *>(QLatin1String(name)); }

    // The stored text of one cell of the page of a date.
    QString storedCell(const QDate &date, int row, int col)
    {
        const book::PageRecord p = book::PageStore(db).find(date);
        return p.data.split(QChar(13)).value(row - 2).split(QChar(9)).value(col - 1);
    }

    testsupport::TestDir dir;
    std::unique_ptr<book::BookWindow> window;
};

TEST_F(BookWindowTest, TypingIntoACellAndTabStoresIt)
{
    controller().session().grid().setCursor(4, 2);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("S"));
    EXPECT_TRUE(editor()->hasFocus());

    QTest::keyClicks(editor(), QStringLiteral("mith"));
    QTest::keyClick(editor(), Qt::Key_Tab);

    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(grid()->hasFocus());
    EXPECT_EQ(controller().session().grid().textMatrix(4, 2), QStringLiteral("Smith"));
    EXPECT_EQ(storedCell(kToday, 4, 2), QStringLiteral("Smith"));
    EXPECT_TRUE(prompter.transcript().empty());
}

TEST_F(BookWindowTest, ScrollingKeepsTheEntryInTheEditorForItsTab)
{
    window->resize(900, 400);   // the grid needs a scroll bar
    QApplication::processEvents();
    controller().session().grid().setCursor(4, 2);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    QTest::keyClicks(editor(), QStringLiteral("mith"));
    ASSERT_TRUE(editor()->hasFocus());

    QScrollBar *bar = grid()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    QApplication::processEvents();
    EXPECT_TRUE(editor()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(storedCell(kToday, 4, 2), QStringLiteral("Smith"));
}

TEST_F(BookWindowTest, EnterOpensTheEditorOverTheCellWithItsLines)
{
    controller().session().grid().setTextMatrix(6, 3, QStringLiteral("Jones\nNew patient"));
    controller().session().grid().setCursor(6, 3);
    QTest::keyClick(grid(), Qt::Key_Return);

    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->parentWidget(), grid()->viewport());
    EXPECT_EQ(editor()->geometry(), grid()->cellRect(6, 3));
    // The controller's CR LF shows as plain line breaks, and goes back as CR LF.
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("Jones\nNew patient"));
    QTest::keyClicks(editor(), QStringLiteral("!"));
    EXPECT_EQ(controller().entry().editor().text, QStringLiteral("Jones\r\nNew patient!"));

    // The editor follows its cell when the grid scrolls.
    grid()->setTopRow(5);
    EXPECT_EQ(editor()->geometry(), grid()->cellRect(6, 3));
}

TEST_F(BookWindowTest, RightClickOpensTheGridMenu)
{
    controller().session().grid().setCursor(5, 1);
    const QRect cell = grid()->cellRect(5, 1);
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cell.center());

    QMenu *menu = window->gridMenu();
    ASSERT_TRUE(menu->isVisible());
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"Copy", "Cut", "Paste", "Delete", "Color", "Blockout", "Export to text file",
                                  "Search History", "Cell History", "Deleted on this page", "-", "Exit"}));
    EXPECT_TRUE(menu->findChild<QAction *>(QStringLiteral("mnuGridExport"))->isEnabled());
    EXPECT_TRUE(menu->findChild<QAction *>(QStringLiteral("mnugridSearch"))->isEnabled());
    EXPECT_TRUE(menu->findChild<QAction *>(QStringLiteral("mnuGridDelete"))->isEnabled());
    // At the right edge of the cell.
    EXPECT_EQ(menu->pos().x(), grid()->viewport()->mapToGlobal(QPoint(cell.right() + 1, 0)).x());
    menu->close();
}

// The grid menu's list of deleted bookings: Enter puts the chosen one back.
TEST_F(BookWindowTest, DeletedListPutsTheBookingBackOnEnter)
{
    controller().session().grid().setCursor(4, 2);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    QTest::keyClicks(editor(), QStringLiteral("mith"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    controller().session().grid().setCursor(4, 2);
    controller().blocks().cut();
    ASSERT_EQ(storedCell(kToday, 4, 2), QString());

    bool listed = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *list = dialog->findChild<QTreeWidget *>(QStringLiteral("lstDeleted"));
        if (!list) {
            dialog->reject();
            return;
        }
        listed = list->topLevelItemCount() == 1 && list->topLevelItem(0)->text(3) == QStringLiteral("Smith");
        if (const QString out = qEnvironmentVariable("QUILLON_SCREENSHOTS"); !out.isEmpty()) {
            EXPECT_TRUE(dialog->grab().save(QDir(out).filePath("deleted.png")));
        }
        QTest::keyClick(list, Qt::Key_Return);
    });
    window->gridMenu();   // built with the window's commands
    window->findChild<QAction *>(QStringLiteral("mnuGridDeleted"))->trigger();
    EXPECT_TRUE(listed);
    EXPECT_EQ(storedCell(kToday, 4, 2), QStringLiteral("Smith"));
    EXPECT_EQ(controller().session().grid().textMatrix(4, 2), QStringLiteral("Smith"));
}

TEST_F(BookWindowTest, F9SwitchesTheMemoBoxesAndTabStoresTheFixedMemo)
{
    auto *daily = child<QPlainTextEdit>("TxtMemo");
    auto *fixed = child<QPlainTextEdit>("TxtFixedMemo");
    auto *button = child<QPushButton>("cmdMemo");
    grid()->setFocus();
    EXPECT_TRUE(daily->isVisible());
    EXPECT_FALSE(fixed->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("Fixed Memo"));

    QTest::keyClick(grid(), Qt::Key_F9);
    EXPECT_FALSE(daily->isVisible());
    EXPECT_TRUE(fixed->isVisible());
    EXPECT_TRUE(child<QLabel>("lblFixedMemo")->isVisible());
    EXPECT_TRUE(fixed->hasFocus());
    EXPECT_EQ(button->text(), QStringLiteral("Daily Memo"));

    QTest::keyClicks(fixed, QStringLiteral("Closed Friday"));
    QTest::keyClick(fixed, Qt::Key_Tab);
    EXPECT_TRUE(window->calendarView()->hasFocus());
    EXPECT_EQ(fixed->toPlainText(), QStringLiteral("Closed Friday"));
    EXPECT_EQ(store::SettingsStore(db).load().fixedMemo, QStringLiteral("Closed Friday"));

    QTest::keyClick(window->calendarView(), Qt::Key_F9);
    EXPECT_TRUE(daily->isVisible());
    EXPECT_FALSE(fixed->isVisible());
    EXPECT_TRUE(daily->hasFocus());
}

TEST_F(BookWindowTest, F10OpensThePrintPanelOnTheDailyChoiceAndEscapeClosesIt)
{
    controller().session().grid().setCursor(6, 2);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_F10);
    QWidget *panel = window->findChild<QWidget *>("Frame3");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isVisible());
    auto *daily = child<QRadioButton>("Option2");
    EXPECT_TRUE(daily->isChecked());
    EXPECT_TRUE(daily->hasFocus());
    EXPECT_EQ(child<QRadioButton>("Option3")->text(), "Print Column No. ( 1 to 3 )");
    EXPECT_TRUE(child<QLineEdit>("txtPrint")->isReadOnly());
    QTest::keyClick(child<QRadioButton>("Option1"), Qt::Key_Return);
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(daily->isChecked());
    if (qEnvironmentVariableIsSet("QUILLON_SHOTS"))
        window->grab().save(qEnvironmentVariable("QUILLON_SHOTS") + "/book-print-panel.png");
    QTest::keyClick(daily, Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(grid()->hasFocus());
    EXPECT_EQ(controller().session().grid().row(), 6);
}

// Once its choice is carried out the panel is gone, so the grid's keys are
// the grid's again; F10 always puts the keyboard on the panel, and a click in
// the grid puts the panel away.
TEST_F(BookWindowTest, ThePrintPanelNeverSitsOverTheGridWithTheKeyboard)
{
    auto *panel = window->findChild<QWidget *>("Frame3");
    auto *daily = child<QRadioButton>("Option2");
    controller().session().grid().setCursor(6, 2);
    QTest::keyClick(grid(), Qt::Key_F10);
    child<QPushButton>("cmdPrint")->click();
    EXPECT_TRUE(windows.log().contains("show frmDaily"));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(grid()->hasFocus());

    QTest::keyClick(grid(), Qt::Key_F10);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_F10);
    EXPECT_TRUE(daily->hasFocus());
    EXPECT_FALSE(editor()->isVisible());

    const QRect cell = grid()->cellRect(4, 1);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(controller().session().grid().row(), 4);
}

TEST_F(BookWindowTest, TheColumnChoicePrintsThatColumn)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty()) << "poppler-utils is not installed";
    book::PageStore pages(db);
    pages.writeCells(pages.find(kToday).id, {{{3, 2}, QStringLiteral("Smith\nNew patient")},
                                            {{5, 2}, QStringLiteral("Jones")}});
    controller().session().openPage(kToday);
    controller().session().grid().setCursor(5, 2);
    controller().blocks().chooseRowCount(1);
    controller().blocks().chooseColor(0xC0FFC0);
    controller().session().grid().setCursor(7, 2);
    controller().blocks().chooseRowCount(1);
    controller().blocks().chooseColor(0xC0FFC0);   // an empty green cell: the bar
    const QString pdf = dir.file("column.pdf");
    report::PdfSheetPrinter printer(pdf);
    controller().printing().setPrinter(&printer);
    QTest::keyClick(grid(), Qt::Key_F10);
    child<QRadioButton>("Option3")->click();
    QTest::keyClicks(child<QLineEdit>("txtPrint"), "2");
    child<QPushButton>("cmdPrint")->click();
    const QString text = testsupport::PrintQueue::text(pdf);
    EXPECT_TRUE(text.contains(QRegularExpression("Appointment Schedule: +" + QRegularExpression::escape(controller().session().dateCaption()) + ", +Tuesday")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Dr Brook"));
    EXPECT_TRUE(text.contains(QRegularExpression("08:00 AM +Smith"))) << text.toStdString();
    EXPECT_TRUE(text.contains("New patient"));
    EXPECT_TRUE(text.contains("||||||||||||||||"));
    EXPECT_TRUE(text.contains("Jones"));
    if (qEnvironmentVariableIsSet("QUILLON_SHOTS"))
        QFile::copy(pdf, qEnvironmentVariable("QUILLON_SHOTS") + "/column.pdf");
}

// Each function key reaches its command, from the grid as from anywhere in
// the window; the toolbar stands in its order with its tooltips.
TEST_F(BookWindowTest, EveryFunctionKeyAndToolbarKeyReachesItsCommand)
{
    struct KeyCase {
        int key;
        const char *prompt;    // the input box it asks, answered with Cancel
        const char *window;    // or the registry entry it leads to
        std::function<bool()> happened{};
    };
    const QString memoCaption = child<QPushButton>("cmdMemo")->text();
    const std::vector<KeyCase> cases{
        {Qt::Key_F1, nullptr, "show frmHelp"},
        {Qt::Key_F2, "Please enter the time interval for this recurrent booking", nullptr},
        {Qt::Key_F3, nullptr, nullptr, [&] { return controller().session().grid().textMatrix(4, 3) == "Booked elsewhere"; }},
        {Qt::Key_F4, "Please enter time interval for automatic screen refresh", nullptr},
        {Qt::Key_F5, "Please enter Name to search:", nullptr},
        {Qt::Key_F6, nullptr, nullptr, [&] { return controller().session().grid().col() == 2; }},
        {Qt::Key_F7, nullptr, nullptr, [&] { return controller().session().grid().row() == 4; }},
        {Qt::Key_F8, nullptr, "show frmWeekly"},
        {Qt::Key_F9, nullptr, nullptr, [&] { return child<QPushButton>("cmdMemo")->text() != memoCaption; }},
        {Qt::Key_F10, nullptr, nullptr, [&] { return window->findChild<QWidget *>("Frame3")->isVisible(); }},
        {Qt::Key_F11, nullptr, "unload frmAppt"},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        controller().printing().closePanel();
        if (c.key == Qt::Key_F3) {
            book::PageStore pages(db);
            pages.writeCells(pages.find(kToday).id, {{{4, 3}, QStringLiteral("Booked elsewhere")}});
        }
        controller().session().grid().setCursor(3, 1);
        windows.clearLog();
        if (c.prompt)
            prompter.answerCancel();
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key(c.key));
        if (c.prompt) {
            EXPECT_TRUE(prompter.last().text.startsWith(c.prompt)) << prompter.last().text.toStdString();
        }
        if (c.window) {
            EXPECT_TRUE(windows.log().contains(c.window)) << windows.log().join(", ").toStdString();
        }
        if (c.happened) {
            EXPECT_TRUE(c.happened());
        }
        EXPECT_TRUE(prompter.allAnswered());
    }

    QStringList tools, tips;
    for (QAction *a : window->toolBar()->actions())
        if (!a->isSeparator()) {
            tools << a->text();
            tips << a->toolTip();
            // Undo and Redo wait for something to take back.
            EXPECT_EQ(a->isEnabled(), a->text() != "Undo" && a->text() != "Redo") << a->text().toStdString();
        }
    EXPECT_EQ(tools, (QStringList{"Open", "Print", "Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Refresh", "Search", "Vert", "Hor",
                                  "Date", "Blockout", "Week", "Calendar", "One", "Two", "Three", "Four", "Cyan", "Red",
                                  "Amber", "Green", "Magenta", "Purple", "Blue", "Yellow", "Help", "Info"}));
    EXPECT_EQ(tips.mid(8, 8), (QStringList{"Refresh Page", "Search Client", "Find next available appointment by column",
                                           "Find next available appointment by row",
                                           "Find next available appointment by date", "Blockout characters",
                                           "Weekly Schedule View", "Toggle Full Screen View"}));
    EXPECT_EQ(tips.mid(28), (QStringList{"Help file", "Excel worksheet"}));
    EXPECT_EQ(child<QLabel>("lblFunctionKeys")->text(),
              "F1 Help   F2 Recurrent   F3 Refresh   F4 AutoRefresh   F5 Search   F6 Next Avail Row   "
              "F7 Next Avail Col    F8 Weekly View   F9 Memo ");
}

TEST_F(BookWindowTest, TheStatusBoxAndPageLockTakeTheirKeysFromTheKeymap)
{
    auto *status = child<QComboBox>("Combo0");
    status->setFocus();
    QTest::keyClick(status, Qt::Key_Down);
    EXPECT_EQ(status->currentIndex(), 1);
    EXPECT_EQ(controller().panel().statusIndex(), 0);   // Enter confirms; the arrow only moves
    QTest::keyClick(status, Qt::Key_Home);
    EXPECT_EQ(status->currentIndex(), 0);

    auto *lock = child<QCheckBox>("Check2");
    lock->setChecked(true);
    EXPECT_FALSE(controller().session().locked());
    QTest::keyClick(lock, Qt::Key_Return);
    EXPECT_TRUE(controller().session().locked());
}

TEST_F(BookWindowTest, CalendarClickOpensThatDate)
{
    const book::CalendarModel &cal = controller().navigation().calendar();
    const int cell = cal.selected() + 8 < book::CalendarModel::kCells ? cal.selected() + 8 : cal.selected() - 8;
    const QDate date = cal.dateAt(cell);
    ASSERT_NE(date, kToday);

    QTest::mouseClick(window->calendarView(), Qt::LeftButton, {}, window->calendarView()->cellRect(cell).center());

    EXPECT_EQ(controller().session().date(), date);
    EXPECT_EQ(child<QLabel>("lblCalDate")->text(), book::shortDate(date));
    EXPECT_EQ(child<QLabel>("lblCalDay")->text(), book::weekdayName(date));
    EXPECT_EQ(child<QComboBox>("Combo1")->currentIndex(), date.month() - 1);
    EXPECT_EQ(child<QComboBox>("Combo2")->currentText(), QString::number(date.year()));
    EXPECT_NE(book::PageStore(db).find(date).id, 0);
    EXPECT_TRUE(grid()->hasFocus());
}

// A few bookings, colours and a two-line cell, drawn without a warning;
// with QUILLON_SHOTS set the window is saved at two screen sizes there.
TEST_F(BookWindowTest, GrabsWithoutErrors)
{
    book::BookController &c = controller();
    store::SettingsStore(db).write({{QStringLiteral("RHeight"), 2}});
    book::PageStore pages(db);
    const book::PageRecord page = pages.find(kToday);
    pages.writeCells(page.id, {{{3, 1}, QStringLiteral("Smith")},
                               {{4, 1}, QStringLiteral("Jones")},
                               {{5, 2}, QStringLiteral("Miller\nNew patient")},
                               {{7, 3}, QStringLiteral("Nguyen")}});
    c.session().openPage(kToday);
    const auto paint = [&c](int row, int col, int rows, int bgr) {
        c.session().grid().setCursor(row, col);
        c.blocks().chooseRowCount(rows);
        c.blocks().chooseColor(bgr);
    };
    paint(3, 1, 2, 0x8080FF);
    paint(7, 3, 1, 0xC0FFC0);
    paint(10, 2, 3, 0xFFFFD0);
    const auto openEditor = [&] {
        c.session().grid().setCursor(5, 2);
        QTest::keyClick(grid(), Qt::Key_Return);
    };
    openEditor();
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("Miller\nNew patient"));

    captured.clear();
    const QtMessageHandler old = qInstallMessageHandler(captureMessages);
    const QPixmap shot = window->grab();
    const QString shots = qEnvironmentVariable("QUILLON_SHOTS");
    if (!shots.isEmpty()) {
        for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
            // As on such a screen: the time column scaled by its width, the
            // window the screen height less 280 twips.
            state.widthFactor = size.width() * 15 / 15360.0;
            c.session().openPage(kToday);
            window->resize(size.width(), size.height() - 19);
            QApplication::processEvents();
            openEditor();
            window->grab().save(shots + QStringLiteral("/book-%1.png").arg(size.width()));
        }
    }
    qInstallMessageHandler(old);

    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(captured.isEmpty()) << captured.join('\n').toStdString();
}

TEST(BookWindowsTest, RegisteredBookOpensAndFallsBackToTheMenu)
{
    testsupport::TestDir dir;
    store::Database db;
    ASSERT_TRUE(db.open(dir.file(QStringLiteral("db.mdb"))).ok());
    ui::ScriptedPrompter prompter;
    ui::AppState state;
    state.places.setData(dir.path());
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::WindowRegistry registry;
    ui::Services services{db, prompter, state, registry, clock, clipboard, desktop};
    registry.setServices(&services);
    int menuShown = 0;
    registry.add(ui::win::Menu, [&menuShown](ui::Services &) {
        ++menuShown;
        return new QWidget;
    });
    book::registerWindows(registry);

    registry.show(ui::win::Appt);
    auto *book = qobject_cast<book::BookWindow *>(registry.window(ui::win::Appt));
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->windowTitle(), QStringLiteral("Appointments Scheduler"));
    EXPECT_EQ(book->controller().session().date(), clock.today());

    // The user's close box leaves the book for the menu.
    book->close();
    QApplication::processEvents();
    EXPECT_FALSE(registry.isLoaded(ui::win::Appt));
    EXPECT_EQ(menuShown, 1);

    // Without a database no page can be opened: the book says so and the
    // menu comes back.
    db.close();
    prompter.expectMessage();
    registry.show(ui::win::Appt);
    QApplication::processEvents();
    EXPECT_FALSE(registry.isLoaded(ui::win::Appt));
    EXPECT_EQ(prompter.titles(), QStringList{QStringLiteral("Seek Record")});
    EXPECT_TRUE(registry.isLoaded(ui::win::Menu));
    EXPECT_TRUE(prompter.failures().isEmpty());
}

} // namespace

namespace {

TEST_F(BookWindowTest, F5ShowsTheAnswerPanelAndItsButtonsWorkFromTheKeyboard)
{
    controller().session().grid().setCursor(5, 2);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    QTest::keyClicks(editor(), QStringLiteral("mith"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    controller().session().grid().setCursor(3, 1);

    auto *panel = child<QWidget>("Frame2");
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    prompter.answerInput(QStringLiteral("smith"));
    QTest::keyClick(grid(), Qt::Key_F5);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(child<QLabel>("lblMessage")->text(), QStringLiteral("Search successful. Continue search?"));
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(controller().session().grid().row(), 5);
    EXPECT_TRUE(child<QPushButton>("cmdYes")->hasFocus());

    QTest::keyClick(child<QPushButton>("cmdYes"), Qt::Key_Return);
    EXPECT_EQ(child<QLabel>("lblMessage")->text(), QStringLiteral("Search complete. Do another search?"));
    child<QPushButton>("cmdNo")->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(grid()->hasFocus());
}

// A find in the page's last row, on a grid too short for the whole page,
// stays in sight above the answer panel that the find brings up.
TEST_F(BookWindowTest, TheNameSearchsFindStaysInSightAboveItsAnswerPanel)
{
    window->resize(900, 420);
    QApplication::processEvents();
    const int last = controller().session().grid().rows() - 1;
    book::PageStore pages(db);
    pages.writeCells(pages.find(kToday).id, {{{last, 2}, QStringLiteral("Smith")}});
    controller().session().grid().setCursor(3, 1);
    prompter.answerInput(QStringLiteral("smith"));
    QTest::keyClick(grid(), Qt::Key_F5);
    QApplication::processEvents();
    ASSERT_TRUE(child<QWidget>("Frame2")->isVisible());
    ASSERT_TRUE(grid()->verticalScrollBar()->isVisible());
    ASSERT_EQ(controller().session().grid().row(), last);
    EXPECT_TRUE(grid()->viewport()->rect().contains(grid()->cellRect(last, 2))) << grid()->cellRect(last, 2).bottom();
    EXPECT_EQ(editor()->geometry(), grid()->cellRect(last, 2));
}

// A page opened by date outside the years the selector starts with still has
// its year shown there, and choosing a year from the widened list works.
TEST_F(BookWindowTest, TheYearSelectorShowsEveryYearThatCanBeOpened)
{
    auto *years = child<QComboBox>("Combo2");
    for (const auto &[typed, year] : {std::pair{"1/1/1990", 1990}, std::pair{"6/3/2150", 2150}}) {
        prompter.answerInput(QString::fromLatin1(typed));
        QTest::keyClick(grid(), Qt::Key_O, Qt::ControlModifier);
        ASSERT_EQ(controller().session().date().year(), year);
        EXPECT_EQ(years->currentText(), QString::number(year));
    }
    const int i = years->findText(QStringLiteral("1990"));
    ASSERT_GE(i, 0);
    controller().navigation().yearChosen(i);
    EXPECT_EQ(controller().navigation().calendar().selectedDate(), QDate(1990, 6, 3));
    EXPECT_EQ(years->count(), 2150 - 1990 + 1);
}

// A cell emptied by Cut is passed over by next available: on screen it looks
// taken, not free.
TEST_F(BookWindowTest, ACellEmptiedByCutShowsGreyNotFree)
{
    controller().session().grid().setCursor(5, 2);
    QTest::keyClicks(grid(), QStringLiteral("Smith"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    controller().session().grid().setCursor(5, 2);
    controller().blocks().cut();
    controller().session().refreshGrid();
    controller().session().grid().setCursor(3, 1);
    QApplication::processEvents();
    const QImage shot = grid()->viewport()->grab().toImage();
    const auto shown = [&](int row, int col) {
        const QRect r = grid()->cellRect(row, col);
        return QColor(shot.pixel(r.right() - 3, r.bottom() - 3));
    };
    EXPECT_EQ(shown(5, 2), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(shown(6, 2), QColor(0xFF, 0xFF, 0xEE));
    EXPECT_EQ(shown(2, 2), QColor(0xFF, 0xFF, 0xEE));
}

TEST_F(BookWindowTest, CtrlZUndoesTheLastChangeAndTheEditorKeepsItsOwn)
{
    QAction *undo = window->toolBar()->findChild<QAction *>("tbUndo");
    QAction *redo = window->toolBar()->findChild<QAction *>("tbRedo");
    QAction *entry = window->menuBar()->findChild<QAction *>("mnuEditUndo");
    ASSERT_TRUE(undo && redo && entry);
    EXPECT_FALSE(undo->isEnabled());

    controller().session().grid().setCursor(3, 1);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    QTest::keyClicks(editor(), QStringLiteral("mith"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->toolTip(), "Undo Typing 08:00 AM Dr Avery");
    EXPECT_EQ(entry->text(), "&Undo Typing 08:00 AM Dr Avery");

    // In an open editor Ctrl+Z takes back typing, not the stored entry.
    controller().session().grid().setCursor(4, 1);
    QTest::keyClicks(grid(), QStringLiteral("J"));
    QTest::keyClicks(editor(), QStringLiteral("o"));
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedCell(kToday, 3, 1), QStringLiteral("Smith"));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("J"));
    EXPECT_TRUE(editor()->isVisible());
    QTest::keyClick(editor(), Qt::Key_Escape);
    ASSERT_FALSE(editor()->isVisible());

    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedCell(kToday, 3, 1), QString());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->toolTip(), "Redo Typing 08:00 AM Dr Avery");
    QTest::keyClick(grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(storedCell(kToday, 3, 1), QStringLiteral("Smith"));
    EXPECT_EQ(controller().session().grid().textMatrix(3, 1), QStringLiteral("Smith"));
}

} // namespace

// Another station books and records itself while this one types into a
// cell: the grid shows the booking framed, the count names the station, and
// the editor keeps its text, its text cursor and the focus.
TEST_F(BookWindowTest, AnotherStationsBookingShowsFramedWhileTheEditorKeepsItsText)
{
    controller().session().grid().setCursor(4, 2);
    QTest::keyClicks(grid(), QStringLiteral("S"));
    QTest::keyClicks(editor(), QStringLiteral("mith"));
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(2);
    editor()->setTextCursor(cursor);

    store::Database other;
    ASSERT_TRUE(other.open(dir.file(QStringLiteral("db.mdb"))).ok());
    other.setStation({"Surgery", "desk2", "ben"});
    store::Presence otherPresence(other, [this] { return clock.now(); });
    otherPresence.join();
    book::PageStore(other).writeCells(controller().session().page().id, {{{6, 1}, QStringLiteral("Jones")}});

    QTRY_COMPARE_WITH_TIMEOUT(controller().session().grid().textMatrix(6, 1), QStringLiteral("Jones"), 1500);
    auto *flash = grid()->viewport()->findChild<QWidget *>(QStringLiteral("changeFlash"));
    ASSERT_NE(flash, nullptr);
    EXPECT_TRUE(flash->isVisible());
    EXPECT_EQ(child<QLabel>("lblStations")->text(), QStringLiteral("1 other station open"));
    EXPECT_EQ(child<QLabel>("lblStations")->toolTip(), QStringLiteral("Surgery (desk2, ben)"));
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_TRUE(editor()->hasFocus());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("Smith"));
    EXPECT_EQ(editor()->textCursor().position(), 2);
    if (qEnvironmentVariableIsSet("QUILLON_GRAB"))
        window->grab().save(qEnvironmentVariable("QUILLON_GRAB"));
}
