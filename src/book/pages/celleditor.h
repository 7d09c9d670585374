#pragma once

#include "book/pages/editorkeys.h"
#include "book/pages/pagepos.h"

#include <QChar>
#include <QString>
#include <functional>

namespace ui {
class GridModel;
class Prompter;
}

namespace book {

// The editor laid over one cell of a page or template grid: opening it (Enter,
// double click, a typed character), its text, the keys that save or cancel,
// the check for an unsaved entry and the scroll follow. Its text is kept in
// the stored form (a line break as LF); the window's box shows CR LF, and
// the conversion happens only in state() and setShownText().
class CellEditor {
public:
    // What the window shows: line breaks CR LF.
    struct State {
        bool visible = false;
        int row = pos::FirstTimeRow;
        int col = pos::FirstCol;
        QString text;          // as in the editor box
        QString opening;       // the cell's text when the editor opened
        bool readOnly = false; // page lock
        bool multiLine = false;
    };

    // `changed` runs whenever the state the window shows has changed.
    CellEditor(ui::GridModel &grid, ui::Prompter &prompter, std::function<void()> changed, int firstRow);

    State state() const;
    bool visible() const { return m_visible; }
    int row() const { return m_row; }
    int col() const { return m_col; }
    bool readOnly() const { return m_readOnly; }
    // The entry as it would be stored.
    QString entry() const;
    // Whether the text differs from what the cell held when opened.
    bool edited() const;
    // What the cell held when opened (stored form); an entry kept over what
    // another station stored meanwhile is measured against that instead.
    QString opening() const { return m_opening; }
    void setOpening(const QString &storedText);

    // Opens over the grid's current cell; false when that is outside the
    // data rectangle. The typed character goes after the cell's text, as if
    // typed at its end; braces are refused, and read-only takes no typing.
    bool open(QChar typed, bool readOnly, bool multiLine);
    void hide();
    void setReadOnly(bool readOnly);
    // Every change of the editor box (CR LF form); ignored when hidden or
    // read-only.
    void setShownText(const QString &text);
    // The stored form back into the editor (an entry kept after a failed
    // save, or the cell's current text); shows the editor.
    void setText(const QString &storedText);
    // The same entry over another cell: the page under it was laid out anew.
    void moveTo(int row, int col);
    // The grid's cursor back on the edited cell, after a scroll.
    void follow();
    void placeCursor();

    // What the owner does on the editor's save and cancel keys.
    struct Actions {
        std::function<void()> save;
        std::function<void()> cancel;   // runs only while the editor is open
    };
    // A key on the open editor: true when the key was used here (a key press:
    // when it is dropped).
    bool keyDown(int qtKey, int shift, int linesPerSlot, const Actions &actions) const;
    bool keyPress(QChar ch, const Actions &actions) const;

    // CheckUnsavedEntry: true when the editor may be left (an unchanged entry
    // is closed); otherwise the user is told to save it first.
    bool checkUnsaved();

private:
    ui::GridModel &m_grid;
    ui::Prompter &m_prompter;
    std::function<void()> m_changed;
    bool m_visible = false;
    int m_row;
    int m_col = pos::FirstCol;
    QString m_text;       // stored form
    QString m_opening;    // stored form
    bool m_readOnly = false;
    bool m_multiLine = false;
};

} // namespace book
