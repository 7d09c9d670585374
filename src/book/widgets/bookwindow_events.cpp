// Keys and focus of the book window's controls, handed to the controller
// before the controls act on them.
#include "book/widgets/bookwindow.h"

#include "book/widgets/boxtext.h"
#include "book/widgets/calendarview.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/qtkeys.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace book {

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isTab(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

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

bool BookWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (watched == m_edit)
            return editorKey(k);
        if (watched == m_status || watched == m_month || watched == m_year)
            return comboKey(static_cast<QComboBox *>(watched), k);
        if (watched == m_lock && isEnter(k->key())) {
            m_controller.panel().setPageLock(m_lock->isChecked());
            return true;
        }
    }
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

bool BookWindow::editorKey(QKeyEvent *k)
{
    const ui::KeyStroke s = ui::translateKey(k);
    if (m_controller.entry().editorKeyDown(s.key, s.shift))
        return true;
    if (!s.typed.isNull() && m_controller.entry().editorKeyPress(s.typed))
        return true;
    // Tab never reaches the text, whatever the controller made of it.
    return s.key == Qt::Key_Tab;
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
        if (userFocusChange(e) && !m_memoTabbing) {
            setBoxColor(box, boxes::Inactive);
            m_controller.panel().memoFocusOut(fixed, boxText(box));
        }
        break;
    case QEvent::KeyPress:
        if (isTab(static_cast<QKeyEvent *>(e)->key())) {
            // Tab stores the memo and moves the focus on; that focus change
            // must not store it a second time.
            setBoxColor(box, boxes::Inactive);
            m_memoTabbing = true;
            m_controller.panel().memoTab(fixed, boxText(box));
            m_memoTabbing = false;
            return true;
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
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (isEnter(key) || isTab(key)) {
            if (!m_book->isReadOnly())
                m_controller.panel().bookNameEntered(m_book->text());
            else if (isTab(key))
                return false;   // a locked box passes Tab along the focus chain
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

bool BookWindow::comboKey(QComboBox *box, QKeyEvent *k)
{
    const int key = k->key();
    const bool moveKey = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp
        || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
    if (box == m_status) {
        if (moveKey && !(k->modifiers() & Qt::AltModifier)) {
            // Arrow keys only move the office status; Enter confirms it.
            int i = box->currentIndex();
            if (key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_Home)
                i = key == Qt::Key_Up ? i - 1 : 0;
            else
                i = key == Qt::Key_Down ? i + 1 : box->count() - 1;
            box->setCurrentIndex(std::clamp(i, 0, box->count() - 1));
            return true;
        }
        if (isEnter(key)) {
            m_controller.panel().statusChosen(box->currentIndex());
            return true;
        }
        return false;
    }
    if (moveKey) {
        m_controller.navigation().selectorBrowsing(true);
        return false;
    }
    if (isEnter(key)) {
        m_controller.navigation().selectorEnter();
        if (box == m_month)
            m_controller.navigation().monthChosen(box->currentIndex());
        else
            m_controller.navigation().yearChosen(box->currentIndex());
        return true;
    }
    return false;
}

} // namespace book
