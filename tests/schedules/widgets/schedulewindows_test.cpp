#include "ui/core/dateinput.h"
#include "book/widgets/bookwindow.h"
#include "book/widgets/bookwindows.h"
#include "schedules/widgets/dailywindow.h"
#include "schedules/widgets/previewwindow.h"
#include "schedules/widgets/scheduleprinter.h"
#include "schedules/widgets/schedulewindows.h"
#include "schedules/widgets/weeklywindow.h"
#include "store/core/settings.h"
#include "support/printqueue.h"
#include "support/station.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace schedules;
using testsupport::PdfWord;
using testsupport::PrintQueue;

namespace {

// A Tuesday; the Monday before it starts the week.
const QDate kToday(2026, 12, 8);
const QDate kMonday(2026, 12, 7);

// The file a preview was saved in, and what its chooser asked and offered.
struct Chosen {
    QString answer, asked, suggested;
};

class ScheduleWindows : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        windows.setServices(&services);
        book::registerWindows(windows);
        schedules::registerWindows(windows);
        clock.set(QDateTime(kToday, QTime(9, 0)));
    }
    void TearDown() override
    {
        SchedulePrinter::setDefaultPrinterLookup({});
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        windows.quit();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join('\n').toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    book::BookWindow *bookWindow()
    {
        windows.show(ui::win::Appt);
        return qobject_cast<book::BookWindow *>(windows.window(ui::win::Appt));
    }

    // Types an entry into a cell of the book's page.
    void book(int row, int col, const QString &text)
    {
        book::BookController &c = bookWindow()->controller();
        c.session().grid().setCursor(row, col);
        c.entry().gridKeyPress(QChar(13));
        c.entry().setEditorText(text);
        c.entry().editorKeyPress(QChar(9));
    }

    DailyWindow *openDaily()
    {
        // F10 opens the print options, whose first choice is the daily schedule.
        QTest::keyClick(bookWindow()->gridView(), Qt::Key_F10);
        bookWindow()->controller().printing().print();
        return qobject_cast<DailyWindow *>(windows.window(ui::win::DailySchedule));
    }

    // Saves the preview as a PDF and returns its words.
    QList<PdfWord> pdfOf(PreviewWindow *preview, const QString &name)
    {
        chooser.answer = dir.file(name);
        prompter.answerChoice(chooser.answer).expectMessage();
        preview->saveAsPdf();
        EXPECT_EQ(prompter.last().title, "Save as PDF");
        const ui::ScriptedPrompter::Prompt &asked = prompter.transcript().end()[-2];
        chooser.asked = asked.title;
        chooser.suggested = asked.defaultText;
        EXPECT_EQ(asked.details, "PDF files (*.pdf)");
        EXPECT_TRUE(QFile::exists(chooser.answer));
        const QString shots = qEnvironmentVariable("QUILLON_SHOTS");
        if (!shots.isEmpty())
            QFile::copy(chooser.answer, shots + QLatin1Char('/') + name);
        return PrintQueue::words(chooser.answer);
    }

    static double rightmost(const QList<PdfWord> &words)
    {
        double r = 0;
        for (const PdfWord &w : words)
            r = std::max(r, w.box.right());
        return r;
    }

    static const PdfWord *find(const QList<PdfWord> &words, const QString &text, int nth = 0)
    {
        for (const PdfWord &w : words)
            if (w.text == text && nth-- == 0)
                return &w;
        return nullptr;
    }

    void shot(QWidget *w, const QString &name)
    {
        const QString shots = qEnvironmentVariable("QUILLON_SHOTS");
        if (shots.isEmpty())
            return;
        w->resize(1366, 768 - 19);
        QApplication::processEvents();
        w->grab().save(shots + QLatin1Char('/') + name);
    }

    testsupport::TestDir dir;
    Chosen chooser;
};

} // namespace

TEST_F(ScheduleWindows, DailySummaryFromTheBookPrintsToAPdfWithNamesAndTimesInPlace)
{
    book(5, 2, "Smith");   // 09:00 AM, Dr Brook
    book(6, 3, "Mrs Alexandra Montgomery-Hamilton");   // 09:30 AM, Dr Chen
    DailyWindow *daily = openDaily();
    ASSERT_NE(daily, nullptr);
    EXPECT_EQ(daily->windowTitle(), "Daily Schedule Summary");
    EXPECT_EQ(state.pageDate, kToday);
    EXPECT_EQ(state.refreshHolds, 1);
    EXPECT_EQ(daily->controller().grid().textMatrix(5, 2), "Smith");
    shot(daily, "daily.png");

    QTest::keyClick(daily->gridView(), Qt::Key_F11);
    PreviewWindow *preview = daily->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "Print Preview - Daily Schedule");
    EXPECT_TRUE(preview->isModal());
    EXPECT_EQ(preview->sheets(), 1);
    EXPECT_EQ(preview->picture().width(), qRound(11907 * preview->logicalDpiX() / 1440.0));
    shot(preview, "print-daily-portrait.png");

    const QList<PdfWord> words = pdfOf(preview, "daily.pdf");
    EXPECT_EQ(chooser.asked, "Save as PDF");
    EXPECT_TRUE(chooser.suggested.endsWith("/Daily Schedule 2026-12-08.pdf")) << chooser.suggested.toStdString();
    const PdfWord *smith = find(words, "Smith"), *nine = find(words, "09:00"), *eight = find(words, "08:00");
    const PdfWord *brook = find(words, "Brook"), *title = find(words, "Daily");
    const PdfWord *avery = find(words, "Avery"), *chen = find(words, "Chen");
    ASSERT_TRUE(smith && nine && eight && brook && title && avery && chen);
    EXPECT_NEAR(smith->box.center().y(), nine->box.center().y(), 4);   // on the 09:00 row
    EXPECT_GT(nine->box.top(), eight->box.top());
    EXPECT_GT(smith->box.left(), avery->box.right());                 // in Dr Brook's column
    EXPECT_LT(smith->box.right(), chen->box.left() - 20);
    EXPECT_LT(title->box.top(), brook->box.top());
    EXPECT_LT(rightmost(words), 595.0);                       // portrait A4
    // The long name wraps inside its cell, whose row grows to hold it.
    const PdfWord *mrs = find(words, "Mrs"), *hamilton = find(words, "Hamilton"), *ten = find(words, "10:00");
    ASSERT_TRUE(mrs && hamilton && ten);
    EXPECT_GT(hamilton->box.top(), mrs->box.bottom() - 1);
    EXPECT_GE(hamilton->box.left(), chen->box.left() - 60);
    EXPECT_LT(hamilton->box.bottom(), ten->box.top());

    // Landscape, filled to the page, is remembered for the next preview.
    preview->findChild<QCheckBox *>("chkColWidth")->setChecked(true);
    preview->findChild<QPushButton *>("cmdOrientation")->click();
    EXPECT_EQ(preview->findChild<QPushButton *>("cmdOrientation")->text(), "&Landscape");
    EXPECT_EQ(preview->picture().width(), qRound(16840 * preview->logicalDpiX() / 1440.0));
    shot(preview, "print-daily-landscape.png");
    const QList<PdfWord> wide = pdfOf(preview, "daily-landscape.pdf");
    EXPECT_GT(rightmost(wide), 700.0);
    preview->close();
    store::SettingsStore settings(db);
    EXPECT_EQ(settings.field("PMode").toInt(), 2);
    EXPECT_TRUE(store::Database::toBool(settings.field("FillPage")));

    daily->findChild<QPushButton *>("cmdClosePrint")->click();
    EXPECT_EQ(state.refreshHolds, 0);
    EXPECT_FALSE(windows.isLoaded(ui::win::DailySchedule));
}

TEST_F(ScheduleWindows, ALongDayPreviewsAndPrintsOnTwoSheets)
{
    store::SettingsStore(db).write({{"open", "07:00 AM"}, {"Close", "09:00 PM"}, {"timeslot", 10}});
    DailyWindow *daily = openDaily();
    ASSERT_NE(daily, nullptr);
    daily->print();
    PreviewWindow *preview = daily->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->sheets(), 2);
    EXPECT_EQ(preview->picture().height(), 2 * qRound(16840 * preview->logicalDpiY() / 1440.0));
    const QString shots = qEnvironmentVariable("QUILLON_SHOTS");
    if (!shots.isEmpty())
        preview->picture().save(shots + "/preview-daily-two-sheets.png");

    const std::vector<int> shown = preview->job().sheetEnds();
    const QList<PdfWord> words = pdfOf(preview, "long.pdf");
    const PdfWord *second = find(words, "Avery", 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->page, 1);    // the header rows again on the second sheet
    EXPECT_NE(find(words, "09:00", 1), nullptr);   // 09:00 AM and 09:00 PM

    // The preview shows the sheets the paper gets: the first ends on the
    // same time on both.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(preview->job().sheetEnds(), shown);
    QString lastOnFirst;
    for (const PdfWord &w : words)
        if (w.page == 0 && w.text.size() == 5 && w.text[2] == QLatin1Char(':'))
            lastOnFirst = w.text;
    EXPECT_EQ(lastOnFirst, daily->controller().grid().textMatrix(shown[0] + 2, 0).left(5));
    preview->close();
}

TEST_F(ScheduleWindows, WeeklyViewFromF8PrintsLandscapeAndJumpsBackIntoTheBook)
{
    clock.set(QDateTime(kMonday, QTime(9, 0)));
    book(4, 2, "Jones");   // Monday 08:30 AM, Dr Brook
    book::BookWindow *bookWin = bookWindow();
    bookWin->controller().session().grid().setCursor(3, 2);
    QTest::keyClick(bookWin->gridView(), Qt::Key_F8);
    auto *weekly = qobject_cast<WeeklyWindow *>(windows.window(ui::win::WeeklySchedule));
    ASSERT_NE(weekly, nullptr);
    EXPECT_FALSE(bookWin->isVisible());
    EXPECT_EQ(weekly->windowTitle(), "Weekly Schedule");
    EXPECT_EQ(weekly->controller().grid().textMatrix(4, 1), "Jones");
    shot(weekly, "weekly.png");

    QTest::keyClick(weekly->gridView(), Qt::Key_F11);
    PreviewWindow *preview = weekly->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "Print Preview - Weekly Schedule");
    EXPECT_EQ(preview->findChild<QPushButton *>("cmdOrientation"), nullptr);
    shot(preview, "print-weekly.png");
    const QList<PdfWord> words = pdfOf(preview, "weekly.pdf");
    EXPECT_TRUE(chooser.suggested.endsWith("/Weekly Schedule Dr Brook 2026-12-07.pdf"))
        << chooser.suggested.toStdString();
    const PdfWord *jones = find(words, "Jones"), *monday = find(words, "Monday"), *sunday = find(words, "Sunday");
    ASSERT_TRUE(jones && monday && sunday);
    EXPECT_NEAR(jones->box.left(), monday->box.left(), 40);
    EXPECT_GT(sunday->box.left(), 595.0);   // landscape: the seventh day lies past a portrait width
    preview->close();

    // A double click on Thursday 10:00 AM goes into the book there.
    ui::GridView *g = weekly->gridView();
    weekly->controller().grid().setCursor(7, 4);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(7, 4).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(windows.isLoaded(ui::win::WeeklySchedule));
    EXPECT_TRUE(bookWin->isVisible());
    EXPECT_EQ(bookWin->controller().session().date(), kMonday.addDays(3));
    EXPECT_EQ(bookWin->controller().session().grid().row(), 7);
    EXPECT_EQ(bookWin->controller().session().grid().col(), 2);
    EXPECT_TRUE(bookWin->controller().entry().editor().visible);
    EXPECT_EQ(state.refreshHolds, 0);
}

TEST_F(ScheduleWindows, PrintSaysWhereTheSheetsWentOnTheChosenPrinter)
{
    QUILLON_REQUIRE_PRINT_QUEUE();
    book(5, 2, "Smith");
    DailyWindow *daily = openDaily();
    ASSERT_NE(daily, nullptr);
    daily->print();
    PreviewWindow *preview = daily->preview();
    ASSERT_NE(preview, nullptr);
    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    EXPECT_EQ(preview->printer(), queue);
    const PrintQueue::Printout out = PrintQueue::print([&] {
        prompter.expectMessage();
        preview->findChild<QPushButton *>("cmdPrint")->click();
        return prompter.last().text.startsWith("Sent to");
    });
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
    EXPECT_EQ(prompter.last().title, "Print");
    EXPECT_EQ(prompter.last().text, "Sent to " + queue + " (1 sheet).");
    const QString text = PrintQueue::text(out.pdf);
    for (const char *w : {"Daily Schedule", "Tuesday", "Dr Brook", "Smith", "08:00 AM"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(w))) << w;

    // A printer that refuses the job is named, with what to do about it.
    preview->choosePrinter(PrintQueue::closedQueue());
    ASSERT_EQ(preview->printer(), PrintQueue::closedQueue());
    prompter.expectMessage();
    preview->print();
    EXPECT_EQ(prompter.last().title, "Print");
    EXPECT_EQ(prompter.last().text, "The printer " + PrintQueue::closedQueue() +
                                        " did not take the schedule. Check that it is switched on, has paper and is "
                                        "not paused, or choose another printer, then print again.\n\nThe printer "
                                        "said: Destination \"" + PrintQueue::closedQueue() +
                                        "\" is not accepting jobs.");
    preview->close();
}

TEST_F(ScheduleWindows, PrintWithoutAPrinterSaysSoAndOffersThePdf)
{
    if (PrintQueue::withoutPrinters()) {
        DailyWindow *daily = openDaily();
        ASSERT_NE(daily, nullptr);
        daily->print();
        EXPECT_FALSE(daily->preview()->findChild<QComboBox *>("cboPrinter")->isEnabled());
        prompter.expectMessage();
        daily->preview()->findChild<QPushButton *>("cmdPrint")->click();
        EXPECT_EQ(prompter.last().title, "Print");
        EXPECT_EQ(prompter.last().text, SchedulePrinter::NoPrinter);
        daily->preview()->close();
        return;
    }
    const PrintQueue::Child child = PrintQueue::runWithoutPrinters();
    EXPECT_TRUE(child.passed) << child.output.toStdString();
}
