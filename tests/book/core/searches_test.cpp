// The book's searches: the name search and its answer panel, the
// appointments history, and the next free cell by row, column or date.
#include "bookfixture.h"

#include "book/core/appointmentshistory.h"
#include "book/pages/blockops.h"
#include "ui/core/dateinput.h"
#include "book/core/namesearch.h"
#include "book/pages/pagestore.h"
#include "ui/core/appstate.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <map>

using namespace booktest;
using book::NameSearch;

namespace {

class Searches : public BookTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
    }
    void book(const QDate &d, const book::CellChanges &cells)
    {
        book::PageStore pages(st.db);
        pages.writeCells(pages.seek(d, store::SettingsStore(st.db).load()).id, cells);
    }
public:
    struct Shown {
        QDate date;
        int row, col;
        bool operator==(const Shown &) const = default;
    };

protected:
    Shown shown() const { return {st.book->session().date(), st.book->session().grid().row(), st.book->session().grid().col()}; }
    QString name(int col) const { return st.book->session().grid().textMatrix(1, col); }
    // A page text with every cell booked.
    static QString fullPage() { return QString(book::page::blank(22, 3)).replace(QChar(9), "X\t").replace(QChar(13), "X\r") + "X"; }
};

void PrintTo(const Searches::Shown &s, std::ostream *os)
{
    *os << s.date.toString(Qt::ISODate).toStdString() << " (" << s.row << "," << s.col << ")";
}

const QDate Dec3(2026, 12, 3), Dec10(2026, 12, 10), Dec11(2026, 12, 11), Dec20(2026, 12, 20);

TEST_P(Searches, NameSearchStepsBackFromTheLatestPageAndAsksOnThePanel)
{
    book(Dec20, {{{2, 1}, "Müller"}});                 // the free row above the times only
    book(Dec10, {{{7, 2}, "MÜLLER, Anna"}});
    book(Dec3, {{{4, 3}, "müller"}, {{9, 1}, "Müller again"}});
    st.prompter.answerInput("müller");
    st.book->search().start();
    EXPECT_EQ(st.prompter.last().text, "Please enter Name to search:");
    EXPECT_EQ(st.prompter.last().title, "Search");
    EXPECT_EQ(shown(), (Shown{Dec10, 7, 2}));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_TRUE(st.book->search().panelShown());
    EXPECT_EQ(st.book->search().panelMessage(), NameSearch::Successful);

    st.book->search().yes();
    EXPECT_EQ(shown(), (Shown{Dec3, 9, 1}));            // column by column: column 1 first
    st.book->search().yes();
    EXPECT_EQ(st.book->search().panelMessage(), NameSearch::Complete);
    EXPECT_EQ(st.book->session().date(), Dec3);

    st.prompter.answerInput("Nobody");                 // Yes now starts a new search
    st.book->search().yes();
    EXPECT_EQ(st.book->search().panelMessage(), NameSearch::Unsuccessful);
    EXPECT_EQ(st.book->search().answerMode(), NameSearch::Answer::NewSearch);

    st.book->search().no();
    EXPECT_FALSE(st.book->search().panelShown());
    EXPECT_FALSE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->session().grid().row(), 3);
    EXPECT_EQ(st.book->session().grid().col(), 1);
}

TEST_P(Searches, HistoryListsEveryCellBetweenTheDatesInTheTextWindow)
{
    book(Dec10, {{{3, 1}, "Smith"}, {{22, 2}, "smith jr"}, {{2, 3}, "Smith"}});
    book(Dec11, {{{4, 3}, "Smithers"}});
    st.clipboard.setText("copied block");
    const auto history = [this](const QDate &from, const QDate &to) {
        st.prompter.answerInput("smith").answerInput(book::shortDate(from)).answerInput(book::shortDate(to));
        st.book->history().run();
        // Delivered as a report file opened in the desktop's editor.
        QFile f(st.desktop.opened.value(st.desktop.opened.size() - 1));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const QString header = "Appointments History:  smith\r\n\r\n";
    const QString thu = "  " + book::shortDate(Dec10) + "  Thursday  ";
    EXPECT_EQ(history(Dec3, Dec20), header + thu + "08:00 AM   " + name(1) + "\r\n" + thu + "   " + name(2) + "\r\n" +
                                        "  " + book::shortDate(Dec11) + "  Friday  08:30 AM   " + name(3) + "\r\n");
    EXPECT_EQ(st.prompter.transcript()[1].text, "You can conduct a search between two dates. Please enter start date "
                                                "in same format as Date on Diary - ");
    EXPECT_TRUE(QFileInfo(st.desktop.opened.value(0)).fileName().startsWith("Appointments History"));
    EXPECT_EQ(st.clipboard.text(), "copied block");
    EXPECT_EQ(st.book->session().date(), Today);

    EXPECT_EQ(history(Dec11, Dec11), header + "  " + book::shortDate(Dec11) + "  Friday  08:30 AM   " + name(3) + "\r\n");
    EXPECT_EQ(history(QDate(2027, 3, 1), QDate(2027, 3, 9)), header);

    st.prompter.clear();
    st.prompter.answerInput("smith").answerInput("no date").expectMessage();
    st.book->history().run();
    EXPECT_EQ(st.prompter.last().text, "Incorrect format! Please try again - mm/dd/yy ");
    EXPECT_EQ(st.prompter.last().title, "Wrong format");
    st.prompter.answerInput("smith").answerInput(book::shortDate(Dec11)).answerInput(book::shortDate(Dec10)).expectMessage();
    st.book->history().run();
    EXPECT_EQ(st.prompter.last().text, "Sorry, start date entered is later than last date! Please try again..");
    EXPECT_EQ(st.prompter.last().title, "Dates wrong");
}

TEST_P(Searches, NextAvailableByRowFromTheLastCellPassesAClosedDay)
{
    st.setSetting("chk4", true);                       // Wednesdays closed
    st.book->session().grid().setCursor(21, 3);                  // the last time row, last column
    st.book->nextAvailable().byRow();
    EXPECT_EQ(shown(), (Shown{Today.addDays(2), 3, 1}));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_EQ(st.pageCount(), 2);                      // only where it landed
}

TEST_P(Searches, NextAvailableByColumnPassesOverACutCell)
{
    st.type(4, 2, "Cut me");
    st.book->session().grid().setCursor(4, 2);
    st.book->blocks().cut();                           // empty, colour 0: not free
    st.book->session().grid().setCursor(3, 2);
    st.book->nextAvailable().byColumn();
    EXPECT_EQ(shown(), (Shown{Today, 5, 2}));
}

TEST_P(Searches, FullyBookedDaysSaySoWithTheirOwnMessages)
{
    st.setSetting("Wed", fullPage());
    st.prompter.answerInput(book::shortDate(Today.addDays(1))).expectMessage();
    st.book->nextAvailable().onDate();
    EXPECT_EQ(st.prompter.transcript()[0].text, "Please enter date to search: Use date format  mm/dd/yy  or  mm-dd-yy");
    EXPECT_EQ(st.prompter.transcript()[0].defaultText, book::shortDate(Today));
    EXPECT_EQ(st.prompter.last().text, "No empty timeslot availabe on this page! Please try another date...");
    EXPECT_EQ(st.prompter.last().title, "Next Available");
    EXPECT_EQ(st.book->session().date(), Today.addDays(1));

    for (const char *day : {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"})
        st.setSetting(day, fullPage());
    st.book->goToday();
    st.book->navigation().toggleFullWidth();
    const int pages = st.pageCount();
    st.book->session().grid().setCursor(21, 3);
    st.prompter.expectMessage();
    st.book->nextAvailable().byRow();
    EXPECT_EQ(st.prompter.last().text, "No empty timeslot availabe last 90 days!");
    EXPECT_EQ(st.book->session().date(), Today.addDays(90));
    EXPECT_EQ(st.pageCount(), pages + 1);
    EXPECT_TRUE(st.book->navigation().panelShown());

    st.prompter.expectMessage();
    st.book->session().grid().setCursor(21, 1);
    st.book->nextAvailable().byColumn();
    EXPECT_EQ(st.prompter.last().text, "No empty timeslot availabe next 90 days!");

    st.prompter.answerInput("13/45/99").expectMessage();
    st.book->nextAvailable().onDate();
    EXPECT_EQ(st.prompter.last().text, "Date entered is in wrong format. Please try again!");
    EXPECT_EQ(st.prompter.last().title, "Wrong Date format");
}

// The searches read candidate pages in SQL and scan them in memory; the
// book's own way is to open every page in the grid and look at each cell.
// On a book of random pages both must find the same cells.
TEST_P(Searches, FindExactlyWhatOpeningEveryPageFinds)
{
    const QStringList names{"Anna Müller", "MÜLLER", "Zoë Brown", "zoë", "Smith", "smith_b", "50% off", "O'Brien",
                            "Ångström", "line one\nSMITH two", "Kowalski", "Bob \"Bo\" Lee", "ΣΊΣΥΦΟΣ", "smithXb"};
    QRandomGenerator rnd(20261208);
    book::PageStore pages(st.db);
    const store::Settings s = store::SettingsStore(st.db).load();
    std::vector<QDate> dates;
    for (int i = 0; i < 80; ++i) {
        const QDate d = QDate(2026, 1, 1).addDays(rnd.bounded(730));
        if (pages.exists(d))
            continue;
        dates.push_back(d);
        book::CellChanges cells;
        for (int n = rnd.bounded(8); n > 0; --n)
            cells[{2 + rnd.bounded(22), 1 + rnd.bounded(3)}] = names[rnd.bounded(names.size())];
        pages.writeCells(pages.seek(d, s).id, cells);
    }
    if (!pages.exists(Today))
        dates.push_back(Today);
    std::sort(dates.begin(), dates.end());

    // The page-by-page scan: each page opened in the grid once, its cells
    // column by column as the grid shows them.
    struct Cell {
        int row, col;
        QString text, time, consultant;
    };
    std::map<QDate, std::vector<Cell>> opened;
    for (const QDate &d : dates) {
        st.book->session().openPage(d);
        const ui::GridModel &g = st.book->session().grid();
        for (int c = 1; c < g.cols(); ++c)
            for (int r = 3; r < g.rows(); ++r)
                opened[d].push_back({r, c, g.textMatrix(r, c), g.textMatrix(r, 0), g.textMatrix(1, c)});
    }
    // The index answers needles of three characters or more, the scan the others.
    ASSERT_TRUE(st.db.searchIndex().searchable) << st.db.searchIndex().why.toStdString();
    for (const QString needle : {"müller", "ZOË", "smith", "50%", "o'b", "ström", "mÜLLer", "h_b", "% o", "\"bo\"",
                                 "σίσυφος", "zo", "MI"}) {
        SCOPED_TRACE(needle.toStdString());
        std::vector<Shown> expected;   // latest page first
        QString lines;                 // by date
        for (const auto &[d, cells] : opened) {
            bool first = true;
            for (const Cell &c : cells)
                if (c.text.contains(needle, Qt::CaseInsensitive)) {
                    if (first)
                        expected.insert(expected.begin(), Shown{d, c.row, c.col});
                    first = false;
                    lines += "  " + book::shortDate(d) + "  " + book::weekdayName(d) + "  " + c.time + "   " +
                             c.consultant + "\r\n";
                }
        }
        std::vector<Shown> found;
        st.prompter.answerInput(needle);
        st.book->search().start();
        while (st.book->search().panelMessage() == NameSearch::Successful) {
            found.push_back(shown());
            st.book->search().yes();
        }
        EXPECT_EQ(found, expected);
        EXPECT_EQ(st.book->search().panelMessage(), expected.empty() ? NameSearch::Unsuccessful : NameSearch::Complete);
        st.book->search().no();
        const QString history = "Appointments History:  " + needle + "\r\n\r\n" + lines;
        EXPECT_EQ(book::AppointmentsHistory::report(needle, pages.pagesContaining(dates.front(), dates.back(), needle)),
                  history);
        // Read as it goes, through the index and through the scan alike.
        EXPECT_EQ(book::AppointmentsHistory::report(needle, pages, dates.front(), dates.back()), history);
        const store::SearchIndex::State indexed = st.db.searchIndex();
        st.db.setSearchIndex({true, false, "scanning"});
        EXPECT_EQ(book::AppointmentsHistory::report(needle, pages, dates.front(), dates.back()), history);
        st.db.setSearchIndex(indexed);
    }
}

QUILLON_BOTH_ENGINES(Searches);

} // namespace
