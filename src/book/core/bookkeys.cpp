#include "book/core/bookkeys.h"

#include "book/core/bookcontroller.h"
#include "book/core/booknavigation.h"
#include "book/core/bookprinting.h"
#include "book/core/cellentry.h"
#include "book/core/sidepanel.h"

#include <algorithm>

namespace book {

namespace {

// Up, PageUp and Home go towards the first entry; the arrows by one.
int steppedIndex(const KeyPress &k)
{
    int i = k.index;
    if (k.key == Qt::Key_Up || k.key == Qt::Key_PageUp || k.key == Qt::Key_Home)
        i = k.key == Qt::Key_Up ? i - 1 : 0;
    else
        i = k.key == Qt::Key_Down ? i + 1 : k.count - 1;
    return std::clamp(i, 0, std::max(k.count - 1, 0));
}

} // namespace

KeyAction keyAction(KeyPlace place, const KeyPress &k)
{
    return BookKeymap::of(place, k.key, k.shift, k.typed);
}

KeyOutcome runBookKey(BookController &book, KeyPlace place, KeyAction action, const KeyPress &k)
{
    CellEntry &entry = book.entry();
    BookNavigation &nav = book.navigation();
    SidePanel &panel = book.panel();
    switch (action) {
    case KeyAction::EditorEnter:
    case KeyAction::CancelEntry:
    case KeyAction::SaveEntry:
    case KeyAction::TypedInEditor:
        return {entry.runEditorKey(action, k.key, k.shift, k.typed)};
    case KeyAction::MoveDay:
        return {nav.calendarKeyDown(k.key)};
    case KeyAction::OpenDay:
        nav.calendarKeyPress(QChar(13));
        return {true};
    case KeyAction::StepStatus:
        return {true, steppedIndex(k)};
    case KeyAction::ConfirmStatus:
        panel.statusChosen(k.index);
        return {true};
    case KeyAction::BrowseDate:
        nav.selectorBrowsing(true);
        return {false};   // the list moves itself
    case KeyAction::ConfirmDate:
        nav.selectorEnter();
        if (place == KeyPlace::MonthBox)
            nav.monthChosen(k.index);
        else
            nav.yearChosen(k.index);
        return {true};
    case KeyAction::ApplyLock:
        panel.setPageLock(k.checked);
        return {true};
    case KeyAction::StoreMemo:
        panel.memoTab(place == KeyPlace::FixedMemo, k.text);
        return {true};
    case KeyAction::StoreBookName:
        if (!k.readOnly) {
            panel.bookNameEntered(k.text);
            return {true};
        }
        return {k.key != Qt::Key_Tab};   // a locked box passes Tab along the focus chain
    default:
        return {};
    }
}

KeyOutcome runPrintKey(BookPrinting &printing, KeyPlace place, KeyAction action, const KeyPress &k)
{
    using Choice = PrintOptions::Choice;
    PrintOptions &o = printing.options();
    switch (action) {
    case KeyAction::ClosePrint:
        printing.closePanel();
        return {true};
    case KeyAction::ChoosePrint:
        o.enterOnOption(place == KeyPlace::WeeklyChoice  ? Choice::Weekly
                        : place == KeyPlace::DailyChoice ? Choice::Daily
                                                         : Choice::Column);
        return {true, -1, int(PrintOptions::Focus::Stay)};
    case KeyAction::MoveFromPrintEntry:
        return {true, -1, int(o.entryKeyDown(k.key))};
    case KeyAction::TypedInPrintEntry:
        return {!o.entryKeyPress(k.typed)};
    default:
        return {};
    }
}

} // namespace book
