// Memos, book name, office status, page lock and the auto-refresh timer.
#include "book/core/bookcontroller.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

#include <QDir>

namespace book {

using store::DbError;

QString BookController::memoButtonCaption() const
{
    return m_fixedMemoShown ? QStringLiteral("Daily Memo") : QStringLiteral("Fixed Memo");
}

void BookController::memoCommand()
{
    m_fixedMemoShown = !m_fixedMemoShown;
    emit pageShown();
    requestFocus(m_fixedMemoShown ? Focus::FixedMemo : Focus::DailyMemo);
}

void BookController::memoFocusIn(bool fixed)
{
    Q_UNUSED(fixed);
    stopTimer();
}

void BookController::memoFocusOut(bool fixed, const QString &text)
{
    if (fixed) {
        armTimer();
        if (text == m_settings.fixedMemo)
            return;
        try {
            m_settingsStore.write({{QStringLiteral("FixedMemo"), text}});
            m_settings.fixedMemo = text;
        } catch (const DbError &e) {
            m_s.prompter.message(e.numbered(), QStringLiteral("Save txtFixedMemo"), ui::Icon::Critical);
        }
        return;
    }
    if (m_page.id != 0 && text != m_page.memo) {
        try {
            m_pages.writeMemo(m_page.id, text);
            m_page.memo = text;
        } catch (const DbError &e) {
            m_s.prompter.message(QStringLiteral("Error Number ") + e.numbered(),
                                 QStringLiteral("Save txtMemo"), ui::Icon::Critical);
        }
    }
    armTimer();
}

void BookController::memoTab(bool fixed, const QString &text)
{
    QString t = text;
    t.remove(QChar(9));
    memoFocusOut(fixed, t);
    requestFocus(fixed ? Focus::Calendar : Focus::Grid);
}

void BookController::bookNameFocusIn()
{
    if (m_admin) {
        m_bookLocked = false;
        emit pageShown();
    }
}

void BookController::bookNameEntered(const QString &text)
{
    if (!m_admin) {
        m_s.prompter.message(QStringLiteral("Sorry, book name can only be changed at the Admin station!"),
                             QStringLiteral("Change Book Name"));
        return;
    }
    // The station file must be there and hold its table before the name is
    // stored; it is opened only for this moment.
    bool stored = false;
    {
        store::Database station;
        const QString path = QDir(m_s.state.appDir).filePath(QStringLiteral("dbn.mdb"));
        const auto r = station.open(path, store::Database::Kind::Station, false);
        if (r.ok()) {
            try {
                m_settingsStore.write({{QStringLiteral("BookNo"), text}});
                m_settings.bookNo = text;
                stored = true;
            } catch (const DbError &) {
            }
        }
    }
    if (!stored) {
        m_s.prompter.message(QStringLiteral("Another user is updating same data. Please wait a while and try again"),
                             QStringLiteral("Change Scheduler ID"));
        return;
    }
    hideEditor();
    m_bookLocked = true;
    emit pageShown();
    requestFocus(Focus::Grid);
}

void BookController::statusChosen(int index)
{
    if (m_loading || index < 0 || index > 1)
        return;
    if (!m_admin) {
        m_s.prompter.message(QStringLiteral("Sorry, office status can only be changed at Admin station."),
                             QStringLiteral("Change Office Status"));
        emit pageShown();
        return;
    }
    const bool closed = index == 1;
    if (closed == m_closed && m_page.clinic == closed) {
        requestFocus(Focus::Grid);
        return;
    }
    m_s.prompter.message(QStringLiteral("Please logout all other stations before changing office status!"),
                         QStringLiteral("Change Office Status"));
    // Stored first, so that a failure leaves the window as it was.
    try {
        m_pages.writeClinic(m_page.id, closed);
        m_page.clinic = closed;
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Combo(0)"), ui::Icon::Critical);
        emit pageShown();
        return;
    }
    m_closed = closed;
    hideEditor();
    const int row = m_grid.row(), col = m_grid.col();
    if (closed) {
        m_grid.beginUpdate();
        showPageColors();
        m_grid.endUpdate();
        emit pageShown();
    } else {
        fillGrid();
    }
    m_grid.setCursor(row, col);
    requestFocus(Focus::Grid);
}

void BookController::setPageLock(bool locked)
{
    if (!m_admin && !locked) {
        m_s.prompter.message(QStringLiteral("Sorry, page lock can only be toggled off at Admin station!"),
                             QStringLiteral("Toggle Pagelock"));
        emit pageShown();
        return;
    }
    m_locked = locked;
    m_editor.readOnly = locked;
    emit editorChanged();
    emit pageShown();
    requestFocus(m_editor.visible ? Focus::Editor : Focus::Grid);
}

void BookController::armTimer()
{
    const bool run = m_settings.timer1 && m_settings.refresh > 0;
    if (run == m_timerRunning && !run)
        return;
    m_timerRunning = run;
    emit timerChanged();
}

void BookController::stopTimer()
{
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    emit timerChanged();
}

void BookController::timerTick()
{
    // The timer is stopped while a cell or a memo is being typed.
    if (!m_timerRunning || m_editor.visible)
        return;
    refreshGrid();
}

} // namespace book
