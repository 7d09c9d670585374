#pragma once

#include <QChar>
#include <vector>

namespace book {

// Where a key is pressed in the book's windows and the template window.
enum class KeyPlace {
    Grid,          // the page grid (its arrows and paging keys are the grid view's own)
    Editor,        // the cell editor over the page grid or the template grid
    TemplateGrid,  // the weekday template grid
    Calendar,
    StatusBox,     // the office status list
    MonthBox,
    YearBox,
    PageLock,
    DailyMemo,
    FixedMemo,
    BookName,
    WeeklyChoice,  // the print panel's three choices and its column number
    DailyChoice,
    ColumnChoice,
    PrintEntry,
    DeletedList,   // the list of bookings deleted from the page
};

// What a key does there. None: the key is not the book's, the control
// handles it as it always does.
enum class KeyAction {
    None,
    DeleteMarked,      // empties the marked cells, as Edit > Delete does
    LeaveGrid,         // the focus goes to the calendar (the panel shown first)
    NextControl,       // the focus goes on to the window's next control
    OpenEditor,        // the editor opens on the cell's text
    OpenEditorTyped,   // … with the character typed
    EditorEnter,       // saves with one line per slot, else a new line (Shift: the other way)
    CancelEntry,       // the cell keeps its stored text
    SaveEntry,         // Tab saves and never reaches the text
    TypedInEditor,     // the braces are refused
    MoveDay,           // the selected day moves
    OpenDay,           // the selected day's page opens
    StepStatus,        // the selection moves, nothing is stored yet
    ConfirmStatus,
    BrowseDate,        // the list moves without opening a month
    ConfirmDate,
    ApplyLock,         // the page lock as the box shows it
    StoreMemo,         // the memo is stored and the focus moves on
    StoreBookName,     // a locked box passes Tab along the focus chain
    ClosePrint,
    ChoosePrint,       // Enter on a choice switches it on, or off again
    MoveFromPrintEntry,
    TypedInPrintEntry, // digits and Backspace only
    PutBack,           // the chosen booking goes back into its cell
};

// One line of the book's keymap. Key 0 stands for any printable character
// typed there; Enter stands for both Enter keys.
struct KeyBinding {
    KeyPlace place;
    int key;
    KeyAction action;
    int without = 0;   // shift bits (ui::ShiftBits) that keep the line from applying
};

// The book's keys beside its command set's function keys and shortcuts:
// which key does what in which control. The windows ask this table and run
// what it answers; nothing else reads their keys.
class BookKeymap {
public:
    static const std::vector<KeyBinding> &bindings();
    // What the key does in the place; None when the table does not name it.
    static KeyAction action(KeyPlace place, int qtKey, int shift);
    // A character the grid or editor was handed (Tab 9, Enter 13, Backspace 8, else printable).
    static KeyAction typed(KeyPlace place, QChar ch);
    // A key with the character it types: by the key itself, else (a
    // printable character only) by the place's typing rule.
    static KeyAction of(KeyPlace place, int qtKey, int shift, QChar ch);
};

} // namespace book
