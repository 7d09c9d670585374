// Memos, book name, office status, page lock and the auto-refresh timer.
#include "book/core/bookcontroller.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

#include <QDir>

namespace book {

using store::DbError;

namespace {
constexpr int SaveRounds = 3;
} // namespace

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
    stopTimer();
    // What the user starts from: a later store is made only over this text.
    (fixed ? m_fixedMemoBase : m_dailyMemoBase) = fixed ? fixedMemo() : dailyMemo();
}

void BookController::memoFocusOut(bool fixed, const QString &text)
{
    std::optional<QString> &base = fixed ? m_fixedMemoBase : m_dailyMemoBase;
    std::optional<QString> &draft = fixed ? m_fixedMemoDraft : m_dailyMemoDraft;
    const QString read = fixed ? m_settings.fixedMemo : m_page.memo;
    const QString from = base.value_or(draft.value_or(read));
    base.reset();
    const QString title = fixed ? QStringLiteral("Save txtFixedMemo") : QStringLiteral("Save txtMemo");
    if ((!fixed && m_page.id == 0) || (text == from && !draft)) {
        armTimer();
        return;
    }
    // Written only over what this station read. When another station stored
    // a memo meanwhile, the user's text is kept and the user decides.
    QString expected = read;
    for (int round = 0; round < SaveRounds; ++round) {
        std::optional<QString> stored;
        try {
            const BusyScope busy(*this);
            if (fixed) {
                const auto v = m_settingsStore.writeIfUnchanged(QStringLiteral("FixedMemo"), expected, text);
                if (v)
                    stored = v->toString();
            } else {
                stored = m_pages.writeMemo(m_page.id, text, &expected);
            }
        } catch (const DbError &e) {
            m_s.prompter.message(fixed ? e.numbered() : QStringLiteral("Error Number ") + e.numbered(), title,
                                 ui::Icon::Critical);
            // Nothing was stored: the text stays in the box to be left again.
            draft = text;
            emit pageShown();
            requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
            return;
        }
        if (!stored) {
            (fixed ? m_settings.fixedMemo : m_page.memo) = text;
            draft.reset();
            armTimer();
            emit pageShown();
            return;
        }
        (fixed ? m_settings.fixedMemo : m_page.memo) = *stored;
        if (*stored == text) {
            draft.reset();
            armTimer();
            emit pageShown();
            return;
        }
        const bool overwrite = m_s.prompter.ask(
            QStringLiteral("Another station has changed this memo while you were typing it.\n\n"
                           "It now reads:\n%1\n\nYour text:\n%2\n\nDo you wish to store your text in its place?")
                .arg(*stored, text),
            title, ui::Icon::Question, true);
        if (!overwrite) {
            // Both texts stay in the box, the stored one first, for the user
            // to merge by hand or to take out what is not wanted.
            draft = *stored + QLatin1Char('\n') + text;
            emit pageShown();
            m_s.prompter.message(QStringLiteral("The memo box now holds the stored text followed by yours. "
                                                "Edit it as you wish: it is stored when you leave the box."),
                                 title, ui::Icon::Information);
            requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
            return;
        }
        expected = *stored;
    }
    // Other stations kept changing it: the user's text stays in the box.
    draft = text;
    emit pageShown();
    m_s.prompter.message(QStringLiteral("The memo was not stored: other stations keep changing it. Your text is "
                                        "still in the box; leave the box again to store it."),
                         title, ui::Icon::Warning);
    requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
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
    if (!leaveEditor()) {
        emit pageShown();   // the status box shows the page's status again
        return;
    }
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
    m_cell.setReadOnly(locked);
    emit editorChanged();
    emit pageShown();
    requestFocus(m_cell.visible() ? Focus::Editor : Focus::Grid);
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
    if (!m_timerRunning || m_cell.visible())
        return;
    refreshGrid();
}

} // namespace book
