#include "bookfixture.h"

#include "book/core/columnprint.h"
#include "support/doubles/recordingsurface.h"
#include "ui/core/sheetprinter.h"

using namespace booktest;
using testsupport::RecordingSurface;

namespace {

constexpr double Mm = 1440.0 / 25.4;

void column(ui::GridModel &g, int timeRows)
{
    g.setRows(book::pos::gridRows(timeRows));
    g.setCols(3);
    g.setTextMatrix(0, 2, "2");
    g.setTextMatrix(1, 2, "Dr Brook");
    for (int r = 0; r < timeRows; ++r)
        g.setTextMatrix(3 + r, 0, QStringLiteral("%1:00").arg(8 + r));
    for (int r = 2; r < g.rows(); ++r)
        g.setCellColor(r, 2, ui::colours::PaleYellow);
}

QStringList placedAt(const RecordingSurface &out, double xMm)
{
    QStringList texts;
    for (const auto &p : out.placed)
        if (std::abs(p.x - xMm * Mm) < 1)
            texts << p.text;
    return texts;
}

TEST(ColumnPrint, PrintsHeadingTimesAndTextsInTheirPrintColours)
{
    ui::GridModel g;
    column(g, 4);
    g.setTextMatrix(3, 2, "Smith\nnew patient");
    g.setCellColor(3, 2, 0x8080FF);        // red
    g.setCellColor(4, 2, 0);               // left by Cut: grey, as the daily schedule prints it
    g.setTextMatrix(4, 2, "Jones");
    g.setCellColor(5, 2, 0xC0FFC0);        // green, empty: the bar
    g.setTextMatrix(6, 2, "Nguyen");
    g.setCellColor(7, 2, 0);               // the free row below, emptied by Cut: a grey bar
    RecordingSurface out(11000, 16000);
    EXPECT_EQ(book::ColumnPrint(g, 2, "08/12/2026", "Tuesday").draw(out), 1);

    EXPECT_EQ(placedAt(out, 24), (QStringList{"Appointment Schedule:   08/12/2026,   Tuesday", "Time", "8:00", "9:00",
                                              "10:00", "11:00"}));
    EXPECT_EQ(placedAt(out, 44), (QStringList{"2", "Dr Brook", "", "Smith", "new patient", "Jones",
                                              "||||||||||||||||", "Nguyen", "||||||||||||||||"}));
    const auto colourOf = [&out](const QString &t) {
        for (const auto &p : out.placed)
            if (p.text == t)
                return p.colour;
        return ui::Bgr(0xFFFFFFFF);
    };
    EXPECT_EQ(colourOf("new patient"), 0x0000FFu);
    EXPECT_EQ(colourOf("Jones"), book::ColumnPrint::NoColourPrinted);
    EXPECT_EQ(colourOf("||||||||||||||||"), 0x00C000u);
    EXPECT_EQ(colourOf("Nguyen"), 0u);
    EXPECT_EQ(out.placed.back().text, "||||||||||||||||");
    EXPECT_EQ(out.placed.back().colour, book::ColumnPrint::NoColourPrinted);
}

TEST(ColumnPrint, LongTextsWrapAndALongColumnGoesOnUnderTheHeading)
{
    ui::GridModel g;
    column(g, 80);
    g.setTextMatrix(3, 2, QString("word ").repeated(30).trimmed());
    RecordingSurface out(11000, 16000);
    EXPECT_EQ(book::ColumnPrint(g, 2, "08/12/2026", "Tuesday").draw(out), 2);
    QStringList wrapped;
    for (const auto &p : out.placed)
        if (p.text.startsWith("word"))
            wrapped << p.text;
    ASSERT_GT(wrapped.size(), 1);
    EXPECT_EQ(wrapped.join(' '), QString("word ").repeated(30).trimmed());
    for (const auto &p : out.placed)
        EXPECT_LE(p.x + RecordingSurface::CharWidth * p.text.size(), 11000 - 12 * Mm + 1) << p.text.toStdString();
    int headings = 0;
    for (const auto &p : out.placed)
        headings += p.text.startsWith("Appointment Schedule:") ? 1 : 0;
    EXPECT_EQ(headings, 2);
    EXPECT_EQ(out.placed.back().page, 2);
    for (const auto &p : out.placed)
        EXPECT_LE(p.y + RecordingSurface::LineHeight, 16000 + 1);
}

// A printer that fails the first job, then prints on a recording surface.
struct FlakyPrinter : ui::SheetPrinter {
    int calls = 0;
    QString print(const QString &, bool, const std::function<void(ui::OutputSurface &)> &draw) override
    {
        if (++calls == 1)
            return "Printer offline";
        RecordingSurface out(11000, 16000);
        draw(out);
        printed = out.titles;
        return QString();
    }
    QStringList printed;
};

class ColumnPrinting : public BookTest {};

TEST_P(ColumnPrinting, AFailedPrintAsksToTryAgain)
{
    FlakyPrinter printer;
    st.book->printing().setPrinter(&printer);
    st.type(3, 1, "Smith");
    st.book->printing().openPanel();
    st.book->printing().options().choose(book::PrintOptions::Choice::Column);
    st.book->printing().options().setEntry("1");
    st.prompter.answerYes();
    st.book->printing().print();
    EXPECT_EQ(st.prompter.last().text, "Printer offline. Retry?");
    EXPECT_EQ(st.prompter.last().title, "");
    EXPECT_EQ(printer.calls, 2);
    EXPECT_TRUE(printer.printed.contains("Smith"));
    EXPECT_TRUE(st.prompter.failures().isEmpty());
}

QUILLON_BOTH_ENGINES(ColumnPrinting);

} // namespace
