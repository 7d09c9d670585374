#pragma once

#include "book/pages/pagetext.h"
#include "store/core/edit.h"

#include <QDate>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>
#include <utility>

namespace store {
class Database;
struct Settings;
}

namespace book {

struct PageLayout;

// One day page as stored in tbl_Appt, with the key of its tbl_Color record.
struct PageRecord {
    int id = 0;
    int colorId = 0;
    QDate date;
    QString data;
    QString location;
    QString open;
    QString close;
    int timeslot = 0;
    int listno = 0;
    QString names;
    QString memo;
    bool clinic = false;       // closed day
    QString blankPage;
    QString colors;            // CColor of the colour record ("0": none stored)
    bool created = false;      // made by this call
};

// A page with its text decoded.
struct DecodedPage {
    PageRecord record;
    page::Cells cells;
};

// A cell holding the text looked for.
struct TextHit {
    QDate date;
    int row = 0;      // grid position
    int col = 0;
    QString text;     // the whole cell
    bool operator==(const TextHit &) const = default;
};

// Cells of the data rectangle by grid position (row >= FreeRow, column >= FirstCol).
using CellChanges = std::map<std::pair<int, int>, QString>;
using ColorChanges = std::map<std::pair<int, int>, int>;
// Grid positions (row, column), in row-then-column order.
using CellList = std::vector<std::pair<int, int>>;

// Day pages and their colour records: every statement on tbl_Appt and
// tbl_Color is here. Every write reads the stored page and changes only the
// cells it was given, inside one write transaction, so a station never
// erases what another station stored meanwhile.
class PageStore {
public:
    explicit PageStore(store::Database &db) : m_db(db) {}

    // Finds the page of a date; nullopt-like (id 0) when there is none.
    PageRecord find(const QDate &date) const;
    // Finds the page of a date, creating it (and its colour record) from the
    // settings and the weekday's template when missing. A page another
    // station is making at the same moment is waited for and returned as that
    // station made it. Throws DbError.
    PageRecord seek(const QDate &date, const store::Settings &settings);
    PageRecord read(int id) const;
    // Whether any page of a date exists, searching from the last page down.
    bool exists(const QDate &date) const;

    // Cells and colours of one page, written together in one write
    // transaction: all or nothing. A page removed by another station throws
    // DbError::NoCurrentRecord.
    struct BlockChange {
        int id = 0;                               // the page (0: no text is written)
        int colorId = 0;                          // its colour record (0: no colour is written)
        int columns = 0;                          // the grid the colours are laid out for
        int rows = 0;
        CellChanges cells;
        const CellChanges *expectedCells = nullptr;   // each listed cell must still hold this
        ColorChanges colors;                      // grid row >= FirstTimeRow, column >= FirstCol
        const QString *expectedColors = nullptr;  // a colour list as last read: changed cells must still match
        QString command = {};                     // logged when no command scope names one
    };
    struct BlockWrite {
        CellList changed;             // guarded cells whose text or colour no longer matched: nothing written
        QString storedText;           // the page text after the write (or as found)
        QString storedColors;         // the colour list after the write (or as found)
        store::Edit edit;             // "page" by date: "row,col" texts and "row,col colour" colours
    };
    BlockWrite writeBlock(const BlockChange &change);
    // The blocks of several pages in one write transaction, all or nothing:
    // the first page with a guarded cell changed stops it and nothing is
    // written. One write per page, up to and including the refused one.
    std::vector<BlockWrite> writeBlocks(const std::vector<BlockChange> &changes);

    struct CellWrite {
        bool conflict = false;        // a guarded cell no longer held the expected text
        CellList changed;             // the guarded cells that no longer did
        QString storedText;           // the page text after the write (or as found)
        store::Edit edit;
    };
    // Writes cells into the stored page. With `expected`, each listed cell must
    // still hold the given text, else nothing is written and conflict is set.
    CellWrite writeCells(int id, const CellChanges &changes, const CellChanges *expected = nullptr);

    struct ColorWrite {
        CellList changed;             // guarded cells whose colour no longer matched
        QString storedText;           // the colour list after the write (or as found)
        store::Edit edit;
    };
    // Writes colours (grid row >= FirstTimeRow, column >= FirstCol) into the page's colour list,
    // laid out for a grid of `columns` columns and `rows` rows. With
    // `expected` (a colour list as last read), each changed cell must still
    // hold the colour it had there, else nothing is written.
    ColorWrite writeColors(int colorId, int columns, int rows, const ColorChanges &changes,
                           const QString *expected = nullptr);

    // Writes the daily memo. With `expected`, only over that text: otherwise
    // nothing is written and the stored memo is returned.
    std::optional<QString> writeMemo(int id, const QString &memo, const QString *expected = nullptr);
    void writeClinic(int id, bool closed);

    // Pages dated from..to (both included), by date, in one read.
    std::vector<DecodedPage> pagesBetween(const QDate &from, const QDate &to) const;
    // The cells of the pages dated from..to that contain `needle`, without
    // regard to case, by date, row and column. An empty needle finds nothing.
    std::vector<TextHit> findText(const QDate &from, const QDate &to, const QString &needle) const;
    // The pages dated from..to (an invalid date: no bound) whose stored text
    // may hold `needle` without regard to case: every page that does, and
    // perhaps a few that do not, so the caller checks the cells. Text and
    // layout only (no memo, template or colours); by date, or the latest
    // first; at most `limit` pages (0: all). An empty needle finds every page.
    std::vector<PageRecord> pagesContaining(const QDate &from, const QDate &to, const QString &needle,
                                            bool latestFirst = false, int limit = 0) const;
    // The same pages (by date, all of them), handed to `each` as they are
    // read: a long book's pages are never all held at once. `each` must not
    // use the database.
    void forEachPageContaining(const QDate &from, const QDate &to, const QString &needle,
                               const std::function<void(const PageRecord &)> &each) const;

    // One cell (grid position) of the pages of several dates, each page
    // existing already: `text` into the cell and, on a time row or a free row
    // below, `color` into its colour list. All or nothing, in one write
    // transaction: each page is read there and `mayWrite` is asked about the
    // cell's stored text; the first refusal, or a page without that cell,
    // writes nothing at all.
    using CellCheck = std::function<bool(const QDate &date, const QString &stored)>;
    struct SeriesWrite {
        bool written = false;
        QDate refused;           // the page whose cell was refused
        QString refusedText;     // what that cell holds
        QDate outside;           // the page that has no such cell
        std::vector<store::Edit> edits;   // one per page written
    };
    SeriesWrite writeCellSeries(const std::vector<QDate> &dates, int row, int col, const QString &text, int color,
                                const CellCheck &mayWrite);

    // ---- what saving the practice settings does to the stored pages
    // Deletes every day page that holds nothing yet: no memo, and a page text
    // still equal to the template it was made from (a missing value counts as
    // empty text), so it is made again with the new settings when next opened.
    // Its colour record goes with it; a page with painted cells is kept.
    // Pages run from the last record to the first, each in its own short write
    // transaction that checks the page again; a page that cannot be deleted
    // (another station holds the file) is skipped. Returns the pages deleted.
    // Throws store::DbError when the pages cannot be listed at all.
    int removeEmptyPages();
    // Gives every page dated `from` or later the number of columns and the
    // names (a "%"-terminated list). Times and slot length stay as the page
    // has them. Same record order, transactions and skipping as above;
    // returns the pages changed.
    int recolumnPages(const QDate &from, int listno, const QString &names);

private:
    // The pages that the search index says may hold the needle; nullopt
    // when the scan answers (no index here, a short needle, or the name on
    // so many pages that one pass over all of them is quicker).
    std::optional<std::vector<QDate>> indexedDates(const QDate &from, const QDate &to, const QString &needle) const;

    store::Database &m_db;
};

// Time and consultant of a cell as the page lays it out, "08:00 AM\tDr Avery":
// what the change log keeps beside a cell's position.
QString cellLabel(const PageLayout &layout, int row, int col);

// Colour list of a page: column by column, the first time row to the last row.
std::vector<int> decodeColors(const QString &text);
// The colours a page shows, `count` values in the order above: "0" (nothing
// stored) is the grid's default colour everywhere, a shorter list is 0 past
// its end, as the page grid paints them.
std::vector<int> shownColors(const QString &text, size_t count);
QString encodeColors(const std::vector<int> &values);
// Whether a tbl_Color list holds a colour other than the grid's default.
bool hasPaintedCells(const QString &ccolor);

} // namespace book
