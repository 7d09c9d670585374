#include "book/pages/bookkeymap.h"

#include "ui/core/keys.h"

#include <Qt>

namespace book {

namespace {

using P = KeyPlace;
using A = KeyAction;

constexpr int Enter = Qt::Key_Return;

std::vector<KeyBinding> makeBindings()
{
    std::vector<KeyBinding> t = {
        {P::Grid, Qt::Key_Delete, A::DeleteMarked},
        {P::Grid, Qt::Key_Tab, A::LeaveGrid},
        {P::Grid, Enter, A::OpenEditor},
        {P::Grid, 0, A::OpenEditorTyped},

        // Tab stays in the template window: there is no calendar to go to.
        {P::TemplateGrid, Qt::Key_Delete, A::DeleteMarked},
        {P::TemplateGrid, Qt::Key_Tab, A::NextControl},
        {P::TemplateGrid, Enter, A::OpenEditor},
        {P::TemplateGrid, 0, A::OpenEditorTyped},

        {P::Editor, Enter, A::EditorEnter},
        {P::Editor, Qt::Key_Escape, A::CancelEntry},
        {P::Editor, Qt::Key_Tab, A::SaveEntry},
        {P::Editor, 0, A::TypedInEditor},

        {P::Calendar, Qt::Key_Tab, A::OpenDay},
        {P::Calendar, Enter, A::OpenDay},
        {P::Calendar, Qt::Key_Space, A::OpenDay},

        {P::StatusBox, Enter, A::ConfirmStatus},
        {P::MonthBox, Enter, A::ConfirmDate},
        {P::YearBox, Enter, A::ConfirmDate},
        {P::PageLock, Enter, A::ApplyLock},
        {P::DailyMemo, Qt::Key_Tab, A::StoreMemo},
        {P::FixedMemo, Qt::Key_Tab, A::StoreMemo},
        {P::BookName, Enter, A::StoreBookName},
        {P::BookName, Qt::Key_Tab, A::StoreBookName},

        {P::WeeklyChoice, Enter, A::ChoosePrint},
        {P::DailyChoice, Enter, A::ChoosePrint},
        {P::ColumnChoice, Enter, A::ChoosePrint},
        {P::PrintEntry, Enter, A::MoveFromPrintEntry},
        // Shift+Tab goes back along the focus chain as anywhere else.
        {P::PrintEntry, Qt::Key_Tab, A::MoveFromPrintEntry, ui::ShiftBit},
        {P::PrintEntry, 0, A::TypedInPrintEntry},

        {P::DeletedList, Enter, A::PutBack},
    };
    for (const int key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp})
        t.push_back({P::Calendar, key, A::MoveDay});
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End}) {
        // Alt+Down opens the status list; the arrows alone only move its selection.
        t.push_back({P::StatusBox, key, A::StepStatus, ui::AltBit});
        t.push_back({P::MonthBox, key, A::BrowseDate});
        t.push_back({P::YearBox, key, A::BrowseDate});
    }
    for (const int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up})
        t.push_back({P::PrintEntry, key, A::MoveFromPrintEntry});
    for (const P place : {P::WeeklyChoice, P::DailyChoice, P::ColumnChoice, P::PrintEntry})
        t.push_back({place, Qt::Key_Escape, A::ClosePrint});
    return t;
}

} // namespace

const std::vector<KeyBinding> &BookKeymap::bindings()
{
    static const std::vector<KeyBinding> table = makeBindings();
    return table;
}

KeyAction BookKeymap::action(KeyPlace place, int qtKey, int shift)
{
    if (qtKey == Qt::Key_Enter)
        qtKey = Enter;
    for (const KeyBinding &b : bindings())
        if (b.place == place && b.key == qtKey && qtKey != 0 && !(shift & b.without))
            return b.action;
    return KeyAction::None;
}

KeyAction BookKeymap::typed(KeyPlace place, QChar ch)
{
    switch (ch.unicode()) {
    case 9: return action(place, Qt::Key_Tab, 0);
    case 13: return action(place, Enter, 0);
    case 8: return action(place, Qt::Key_Backspace, 0);
    default: break;
    }
    if (ch.unicode() < 32)
        return KeyAction::None;
    for (const KeyBinding &b : bindings())
        if (b.place == place && b.key == 0)
            return b.action;
    return KeyAction::None;
}

KeyAction BookKeymap::of(KeyPlace place, int qtKey, int shift, QChar ch)
{
    // A control key the table does not name is the control's; only a
    // printable character falls back to the place's typing rule.
    const KeyAction a = action(place, qtKey, shift);
    return a != KeyAction::None || ch.unicode() < 32 ? a : typed(place, ch);
}

} // namespace book
