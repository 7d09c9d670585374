#pragma once

#include "book/core/printoptions.h"
#include "ui/core/services.h"

namespace ui {
class SheetPrinter;
}

namespace book {

class BookHub;
class BookNavigation;
class CellEntry;
class PageSession;

// Printing from the book: the print options panel and what its Print
// button starts (the weekly view, the daily schedule).
class BookPrinting {
public:
    BookPrinting(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry, BookNavigation &nav);

    PrintOptions &options() { return m_options; }
    const PrintOptions &options() const { return m_options; }

    void openPanel();                  // F10, Page > Print, toolbar Print
    void closePanel();                 // cmdClosePrint: the cell in hand comes back
    void hidePanel();                  // a click in the grid: the clicked cell is taken
    // cmdPrint, with the panel's present choice; where the panel's focus goes.
    // A choice carried out closes the panel.
    PrintOptions::Focus print();
    // Where the column print goes: the window's printer.
    void setPrinter(ui::SheetPrinter *printer) { m_printer = printer; }
    // One column of the page on display; a failure asks whether to try
    // again. False when nothing was printed.
    bool printColumn(int col);

private:
    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
    BookNavigation &m_nav;
    PrintOptions m_options;
    ui::SheetPrinter *m_printer = nullptr;
};

} // namespace book
