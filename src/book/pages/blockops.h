#pragma once

#include "book/pages/blockhost.h"
#include "ui/core/colours.h"

#include <array>
#include <optional>
#include <vector>

namespace ui {
class Prompter;
class Clipboard;
}

namespace book {

// The toolbar's colour buttons (0xBBGGRR values); Yellow puts a cell back to
// the grid's default colour.
struct ToolbarColor {
    const char *key;
    const char *tooltip;
    int value;
};
inline constexpr std::array<ToolbarColor, 8> ToolbarColors{{
    {"Yellow", "Reset Color to default", ui::colours::PaleYellow},
    {"Cyan", "Cyan", ui::colours::Cyan},
    {"Red", "Red", ui::colours::Red},
    {"Amber", "Amber", ui::colours::Amber},
    {"Green", "Green", ui::colours::Green},
    {"Magenta", "Magenta", ui::colours::Magenta},
    {"Blue", "Light Blue", ui::colours::LightBlue},
    {"Purple", "Light Purple", ui::colours::LightPurple},
}};

// The toolbar's row-count buttons: how many time rows a colour press paints.
struct RowCountButton {
    const char *key;
    const char *tooltip;
    int rows;
};
inline constexpr std::array<RowCountButton, 4> RowCountButtons{{
    {"One", "Color One Row", 1},
    {"Two", "Color Two Rows", 2},
    {"Three", "Color Three Rows", 3},
    {"Four", "Color Four Rows", 4},
}};

// The block commands of a page grid (the book's page or the template
// window's grid): the range mark made with the mouse, Copy, Cut, Paste,
// Delete, Blockout, the context menu's Color and the toolbar's painting.
// The state lives as long as the window, so a block copied on one page can
// be pasted on another. Every command hands the host only the cells and
// colours it touched, so bookings another station stored elsewhere on the
// page survive.
class BlockOps {
public:
    enum class Kind { Page, Template };

    BlockOps(Kind kind, BlockHost &host, ui::Prompter &prompter, ui::Clipboard &clipboard);

    // Mouse. plainClick: a left click without Shift or Alt (the caller moves
    // the cursor). shiftClick: marks the range from the current cell to the
    // clicked one. altClick: marks the clicked cell alone as the paste target.
    void plainClick(int row, int col);
    void shiftClick(int row, int col);
    void altClick(int row, int col);

    // Whether a cell lies in the block the next command acts on: the marked
    // range, or else the current cell.
    bool covers(int row, int col) const;

    // Context menu (and the Edit menu and toolbar entries leading to them).
    void copy();
    void cut();
    void paste();
    void remove();        // Delete
    void blockout();
    void colorCommand();  // Color: the last toolbar colour on the block

    // Toolbar: each press stores its choice, then paints when both a row
    // count and a colour are chosen.
    void chooseRowCount(int rows);
    void chooseColor(int bgr);

    // State, for the windows and tests.
    Kind kind() const { return m_kind; }
    bool marked() const { return m_marked; }
    int startRow() const { return m_startRow; }
    int startCol() const { return m_startCol; }
    int rowSpan() const { return m_rowSpan; }
    int colSpan() const { return m_colSpan; }
    bool singleCell() const { return m_singleCell; }
    bool somethingToPaste() const { return m_somethingToPaste; }
    int singleColor() const { return m_singleColor; }
    const std::vector<int> &colorList() const { return m_colorList; }
    int chosenColor() const { return m_chosenColor; }
    bool colorChosen() const { return m_colorChosen; }
    int chosenRowCount() const { return m_chosenRows; }
    bool rowCountChosen() const { return m_rowsChosen; }

private:
    struct Rect {
        int top = 0, left = 0, bottom = 0, right = 0;
        int rows() const { return bottom - top + 1; }
        int cols() const { return right - left + 1; }
        bool empty() const { return top > bottom || left > right; }
    };
    Rect markedBlock() const;
    bool inData(const Rect &r) const;
    Rect clipToData(const Rect &r) const;
    bool takeBlock(Rect &block, bool &range);
    void copyBlock(const Rect &block, bool range);
    void clearCells(const Rect &block, std::optional<int> color, const QString &title);
    bool pasteCells(const Rect &target, const QString &text, CellChanges &cells, ColorChanges &colors);
    void paintRows();
    bool saveBlock(const CellChanges &cells, const ColorChanges &colors, const QString &title, int row, int col);
    bool saveColors(const ColorChanges &colors, const QString &title);
    void refused(const CellList &changed, const QString &title, int row, int col);
    void finish(int row, int col);

    Kind m_kind;
    BlockHost &m_host;
    ui::Prompter &m_prompter;
    ui::Clipboard &m_clipboard;

    bool m_marked = false;
    bool m_altMark = false;      // the mark is an Alt+click's single cell
    int m_startRow = 0;
    int m_startCol = 0;
    int m_rowSpan = 0;
    int m_colSpan = 0;
    bool m_singleCell = false;
    bool m_somethingToPaste = false;
    int m_singleColor = 0;
    std::vector<int> m_colorList;
    int m_copiedRows = 0;        // shape of the block the colour list came from
    int m_copiedCols = 0;
    int m_chosenColor = 0;
    bool m_colorChosen = false;
    int m_chosenRows = 1;
    bool m_rowsChosen = false;
};

} // namespace book
