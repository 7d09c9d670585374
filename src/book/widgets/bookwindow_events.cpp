// The book window's controls: their keys bound to the book's keymap, their
// focus changes handed to the controller before the controls act on them.
#include "book/widgets/bookwindow.h"

#include "book/widgets/boxtext.h"
#include "book/widgets/calendarview.h"
#include "book/widgets/keybinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace book {

namespace {

// A focus change the user made inside the window, not a message box or
// another window coming and going.
bool userFocusChange(const QEvent *e)
{
    const auto reason = static_cast<const QFocusEvent *>(e)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QString boxText(const QPlainTextEdit *box)
{
    return boxes::fromBox(box->toPlainText());
}

} // namespace

void BookWindow::activated()
{
    if (!m_closing)
        m_controller.activate();
}

bool BookWindow::closeByUser()
{
    // The close box leaves the book as F11 does; an unsaved entry keeps it
    // open while the user is asked to store it first.
    return m_closing || m_controller.closeBook();
}

void BookWindow::bindControlKeys()
{
    m_keyBinder = new KeyBinder(
        [this](KeyPlace place, KeyAction action, const KeyPress &k) {
            return runBookKey(m_controller, place, action, k);
        },
        this);
    const std::pair<QWidget *, KeyPlace> places[] = {
        {m_edit, KeyPlace::Editor},         {m_calendar, KeyPlace::Calendar},   {m_status, KeyPlace::StatusBox},
        {m_month, KeyPlace::MonthBox},      {m_year, KeyPlace::YearBox},        {m_lock, KeyPlace::PageLock},
        {m_dailyMemo, KeyPlace::DailyMemo}, {m_fixedMemo, KeyPlace::FixedMemo}, {m_book, KeyPlace::BookName},
    };
    for (const auto &[control, place] : places)
        m_keyBinder->bind(control, place);
}

bool BookWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Wheel && (watched == m_status || watched == m_month || watched == m_year))
        return true;   // a turn of the wheel is no choice
    if (watched == m_dailyMemo)
        return memoEvent(m_dailyMemo, false, e);
    if (watched == m_fixedMemo)
        return memoEvent(m_fixedMemo, true, e);
    if (watched == m_book)
        return bookNameEvent(e);
    return QMainWindow::eventFilter(watched, e);
}

bool BookWindow::memoEvent(QPlainTextEdit *box, bool fixed, QEvent *e)
{
    switch (e->type()) {
    case QEvent::FocusIn:
        if (userFocusChange(e)) {
            setBoxColor(box, boxes::Typing);
            m_controller.panel().memoFocusIn(fixed);
        }
        break;
    case QEvent::FocusOut:
        if (userFocusChange(e)) {
            setBoxColor(box, boxes::Inactive);
            // Tab has stored the memo already as it moved the focus on.
            if (!m_controller.panel().memoTabbing())
                m_controller.panel().memoFocusOut(fixed, boxText(box));
        }
        break;
    default:
        break;
    }
    return false;
}

bool BookWindow::bookNameEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::FocusIn:
        if (userFocusChange(e))
            m_controller.panel().bookNameFocusIn();
        syncPage();
        break;
    case QEvent::FocusOut:
        if (userFocusChange(e))
            setBoxColor(m_book, palette().color(QPalette::Window).rgb());
        break;
    default:
        break;
    }
    return false;
}

} // namespace book
