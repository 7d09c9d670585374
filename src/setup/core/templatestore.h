#pragma once

#include "book/pages/pagestore.h"
#include "store/core/edit.h"

#include <QString>

namespace store {
class Database;
}

namespace setup {

// The weekday templates of the settings record: the one write path of a
// weekday's template text and closed-day flag. A template is written like a
// page, cell by cell: only the cells a station changed, each only over the
// text that station read there, so that two stations preparing the same
// weekday keep each other's cells.
class TemplateStore {
public:
    explicit TemplateStore(store::Database &db) : m_db(db) {}

    struct Change {
        int dayOfWeek = 1;           // as QDate::dayOfWeek()
        book::CellChanges cells;     // the cells this station changed (grid positions)
        book::CellChanges read;      // what each of them held when this station read the template
        bool closedRead = false;     // the closed-day flag as this station read it
        bool closed = false;         // and as it has it now
        // The template grid's data rectangle in cells: the stored text is laid
        // out to cover it, so that a page made from it keeps its shape.
        int rows = 0;
        int cols = 0;
    };
    struct Write {
        book::CellList contested;       // cells another station changed since this station read them
        bool closedContested = false;   // the closed-day flag likewise
        QString storedText;             // the template after the write, or as found
        bool storedClosed = false;
        store::Edit edit;               // kind "template", key the weekday's field; "row,col" per cell
        bool written() const { return contested.empty() && !closedContested; }
    };
    // All or nothing, in one short write transaction: when any cell or the
    // flag is contested nothing is written. The record's Clinic gets the
    // weekday's flag as it is stored afterwards. Throws store::DbError.
    Write write(const Change &change);

private:
    store::Database &m_db;
};

} // namespace setup
