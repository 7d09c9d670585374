#pragma once

#include "book/pages/pagestore.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <optional>
#include <utility>

namespace store {
struct Settings;
}

namespace book {

class BookHub;
class BookNavigation;
class CellEntry;
class PageSession;

// The next free time cell: by row (F6, toolbar Hor), by column (F7, Vert),
// up to 90 days ahead, or on a date (toolbar Date). The days ahead are
// looked at as stored, or as their weekday template makes them when they
// have no page yet; only the page where the search lands is shown (and made
// when it is new).
class NextAvailable {
public:
    NextAvailable(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry, BookNavigation &nav);

    void byRow();
    void byColumn();
    void onDate();

    static constexpr int Days = 90;

    // A cell a booking may go into: nothing in it and the default colour
    // set on it (a cell emptied by Cut, colour 0, is not free).
    static bool isFree(const QString &text, int colour);

    // How a day looks to the search: its cells and the colours shown.
    struct Day {
        page::Cells cells;
        std::vector<int> colours;   // column by column from the first time row
        int columns = 0;            // grid columns, the time column included
        int rows = 0;               // grid rows
        int lastTimeRow = 0;
        bool closed = false;
        bool freeAt(int row, int col) const;
    };
    static Day dayOf(const PageRecord &page, page::Cells cells);
    static Day templateDay(const QDate &date, const store::Settings &settings);
    // The first free cell of a day from the first time row: row by row, or
    // down one column.
    static std::optional<std::pair<int, int>> firstFree(const Day &day, std::optional<int> column);

private:
    enum class Mode { Row, Column };
    void forward(Mode mode);
    void land(int row, int col);
    void nothingFree(const QString &text);

    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
    BookNavigation &m_nav;
};

} // namespace book
