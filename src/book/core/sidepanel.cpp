// Memos, book name, office status, page lock and the auto-refresh timer.
#include "book/core/sidepanel.h"

#include "book/core/bookhub.h"
#include "book/core/otherstations.h"
#include "book/core/cellentry.h"
#include "book/core/pagesession.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

#include <QDir>
#include <QScopedValueRollback>
#include <algorithm>

namespace book {

using store::DbError;

SidePanel::SidePanel(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry,
                     OtherStations &stations)
    : m_hub(hub), m_session(session), m_s(services), m_entry(entry), m_stations(stations)
{
}

QString SidePanel::dailyMemo() const
{
    return m_dailyMemoDraft.value_or(m_session.page().memo);
}

QString SidePanel::fixedMemo() const
{
    return m_fixedMemoDraft.value_or(m_session.settings().fixedMemo);
}

std::optional<QString> SidePanel::dailyMemoStoredMeanwhile() const
{
    if (!m_dailyMemoRead || *m_dailyMemoRead == m_session.page().memo)
        return std::nullopt;
    return m_session.page().memo;
}

QString SidePanel::bookName() const
{
    return m_session.settings().bookNo;
}

QStringList SidePanel::statusEntries() const
{
    const QString &location = m_session.settings().location;
    return {QLatin1Char(' ') + location + QStringLiteral(" Open"),
            QLatin1Char(' ') + location + QStringLiteral(" Closed")};
}

int SidePanel::statusIndex() const
{
    return m_session.closed() ? 1 : 0;
}

int SidePanel::timerIntervalMs() const
{
    return m_session.settings().refresh * 1000;
}

QString SidePanel::memoButtonCaption() const
{
    return m_fixedMemoShown ? QStringLiteral("Daily Memo") : QStringLiteral("Fixed Memo");
}

void SidePanel::memoCommand()
{
    m_fixedMemoShown = !m_fixedMemoShown;
    emit m_hub.panelChanged();
    m_hub.requestFocus(m_fixedMemoShown ? Focus::FixedMemo : Focus::DailyMemo);
}

void SidePanel::memoFocusIn(bool fixed)
{
    stopTimer();
    // What the user starts from: a later store is made only over this text.
    (fixed ? m_fixedMemoBase : m_dailyMemoBase) = fixed ? fixedMemo() : dailyMemo();
    // The stored memo this station read: another station's memo shown
    // meanwhile is not taken as read, so storing asks before replacing it.
    (fixed ? m_fixedMemoRead : m_dailyMemoRead) =
        fixed ? m_session.settings().fixedMemo : m_session.page().memo;
}

void SidePanel::memoFocusOut(bool fixed, const QString &text)
{
    std::optional<QString> &base = fixed ? m_fixedMemoBase : m_dailyMemoBase;
    std::optional<QString> &draft = fixed ? m_fixedMemoDraft : m_dailyMemoDraft;
    std::optional<QString> &readAtFocus = fixed ? m_fixedMemoRead : m_dailyMemoRead;
    const QString read =
        readAtFocus.value_or(fixed ? m_session.settings().fixedMemo : m_session.page().memo);
    readAtFocus.reset();
    const QString from = base.value_or(draft.value_or(read));
    base.reset();
    const QString title = fixed ? QStringLiteral("Save txtFixedMemo") : QStringLiteral("Save txtMemo");
    if ((!fixed && m_session.page().id == 0) || (text == from && !draft)) {
        armTimer();
        emit m_hub.memosChanged();   // the box shows a memo stored meanwhile
        return;
    }
    // Written only over what this station read. When another station stored
    // a memo meanwhile, the user's text is kept and the user decides.
    QString expected = read;
    for (int round = 0; round < SaveAttempts; ++round) {
        std::optional<QString> stored;
        try {
            const PageSession::BusyScope busy(m_session);
            if (fixed) {
                const auto v = m_session.settingsStore().writeIfUnchanged(QStringLiteral("FixedMemo"), expected, text);
                if (v)
                    stored = v->toString();
            } else {
                stored = m_session.pages().writeMemo(m_session.page().id, text, &expected);
            }
        } catch (const DbError &e) {
            m_s.prompter.message(fixed ? e.numbered() : QStringLiteral("Error Number ") + e.numbered(), title,
                                 ui::Icon::Critical);
            // Nothing was stored: the text stays in the box to be left again.
            draft = text;
            emit m_hub.memosChanged();
            m_hub.requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
            return;
        }
        if (!stored) {
            (fixed ? m_session.settings().fixedMemo : m_session.page().memo) = text;
            draft.reset();
            armTimer();
            emit m_hub.memosChanged();
            return;
        }
        (fixed ? m_session.settings().fixedMemo : m_session.page().memo) = *stored;
        if (*stored == text) {
            draft.reset();
            armTimer();
            emit m_hub.memosChanged();
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
            emit m_hub.memosChanged();
            m_s.prompter.message(QStringLiteral("The memo box now holds the stored text followed by yours. "
                                                "Edit it as you wish: it is stored when you leave the box."),
                                 title, ui::Icon::Information);
            m_hub.requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
            return;
        }
        expected = *stored;
    }
    // Other stations kept changing it: the user's text stays in the box.
    draft = text;
    emit m_hub.memosChanged();
    m_s.prompter.message(QStringLiteral("The memo was not stored: other stations keep changing it. Your text is "
                                        "still in the box; leave the box again to store it."),
                         title, ui::Icon::Warning);
    m_hub.requestFocus(fixed ? Focus::FixedMemo : Focus::DailyMemo);
}

void SidePanel::memoTab(bool fixed, const QString &text)
{
    QString t = text;
    t.remove(QChar(9));
    const QScopedValueRollback tabbing(m_memoTabbing, true);
    memoFocusOut(fixed, t);
    m_hub.requestFocus(fixed ? Focus::Calendar : Focus::Grid);
}

void SidePanel::bookNameFocusIn()
{
    if (m_session.adminStation()) {
        m_bookLocked = false;
        emit m_hub.bookNameChanged();
    }
}

void SidePanel::bookNameEntered(const QString &text)
{
    if (!m_session.adminStation()) {
        m_s.prompter.message(QStringLiteral("Sorry, book name can only be changed at the Admin station!"),
                             QStringLiteral("Change Book Name"));
        return;
    }
    // The station file must be there and hold its table before the name is
    // stored; it is opened only for this moment.
    bool stored = false;
    {
        store::Database station;
        const QString path = QDir(m_s.state.places.data()).filePath(QStringLiteral("dbn.mdb"));
        const auto r = station.open(path, store::Database::Kind::Station, false);
        if (r.ok()) {
            try {
                m_session.settingsStore().write({{QStringLiteral("BookNo"), text}});
                m_session.settings().bookNo = text;
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
    m_entry.hideEditor();
    m_bookLocked = true;
    emit m_hub.bookNameChanged();
    m_hub.requestFocus(Focus::Grid);
}

void SidePanel::statusChosen(int index)
{
    if (m_session.loading() || index < 0 || index > 1)
        return;
    if (!m_session.adminStation()) {
        m_s.prompter.message(QStringLiteral("Sorry, office status can only be changed at Admin station."),
                             QStringLiteral("Change Office Status"));
        emit m_hub.statusChanged();
        return;
    }
    const bool closed = index == 1;
    if (!m_entry.leaveEditor()) {
        emit m_hub.statusChanged();   // the status box shows the page's status again
        return;
    }
    if (closed == m_session.closed() && m_session.page().clinic == closed) {
        m_hub.requestFocus(Focus::Grid);
        return;
    }
    // The stations still open are named, so the user knows whom to ask.
    m_stations.recount();
    QString logout = QStringLiteral("Please logout all other stations before changing office status!");
    if (!m_stations.others().empty())
        logout += QStringLiteral("\n\nStations still open:\n") + store::Presence::listing(m_stations.others());
    m_s.prompter.message(logout, QStringLiteral("Change Office Status"));
    // Stored first, so that a failure leaves the window as it was.
    try {
        m_session.pages().writeClinic(m_session.page().id, closed);
        m_session.page().clinic = closed;
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Combo(0)"), ui::Icon::Critical);
        emit m_hub.statusChanged();
        return;
    }
    m_session.setClosed(closed);
    m_entry.hideEditor();
    ui::GridModel &grid = m_session.grid();
    const int row = grid.row(), col = grid.col();
    if (closed) {
        grid.beginUpdate();
        m_session.showPageColors();
        grid.endUpdate();
        emit m_hub.statusChanged();
    } else {
        m_session.fillGrid();
    }
    grid.setCursor(row, col);
    m_hub.requestFocus(Focus::Grid);
}

void SidePanel::setPageLock(bool locked)
{
    if (!m_session.adminStation() && !locked) {
        m_s.prompter.message(QStringLiteral("Sorry, page lock can only be toggled off at Admin station!"),
                             QStringLiteral("Toggle Pagelock"));
        emit m_hub.lockChanged();
        return;
    }
    m_session.setLocked(locked);
    m_entry.setReadOnly(locked);
    emit m_hub.editorChanged();
    emit m_hub.lockChanged();
    m_hub.requestFocus(m_entry.visible() ? Focus::Editor : Focus::Grid);
}

void SidePanel::armTimer()
{
    const bool run = m_session.settings().timer1 && m_session.settings().refresh > 0;
    if (run == m_timerRunning && !run)
        return;
    m_timerRunning = run;
    emit m_hub.timerChanged();
}

void SidePanel::stopTimer()
{
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    emit m_hub.timerChanged();
}

void SidePanel::timerTick()
{
    // The timer is stopped while a cell or a memo is being typed.
    // Nor does it run while a schedule window holds it paused.
    if (!m_timerRunning || m_entry.visible() || m_s.state.refreshHolds > 0)
        return;
    m_session.refreshGrid();
}

void SidePanel::autoRefreshCommand()
{
    store::Settings &settings = m_session.settings();
    const QString offTitle = QStringLiteral("AutoRefresh"), onTitle = QStringLiteral("Auto Screen Refresh");
    int seconds = settings.refresh;
    if (!settings.timer1) {
        const auto answer = m_s.prompter.input(
            QStringLiteral("Please enter time interval for automatic screen refresh in seconds (5-60)"), onTitle,
            QString::number(settings.refresh >= 5 && settings.refresh <= 60 ? settings.refresh : 20));
        if (!answer || answer->trimmed().isEmpty())
            return;
        bool ok = false;
        seconds = answer->trimmed().toInt(&ok);
        if (!ok) {
            m_s.prompter.message(QStringLiteral("Please enter a whole number of seconds from 5 to 60."), onTitle,
                                 ui::Icon::Warning);
            return;
        }
        seconds = std::clamp(seconds, 5, 60);
    }
    const bool on = !settings.timer1;
    try {
        // Switched only from the state this station shows, and the interval
        // written only over the one it read: another station may have
        // changed either meanwhile.
        QVariantMap expected{{QStringLiteral("Timer1"), settings.timer1}};
        QVariantMap values{{QStringLiteral("Timer1"), on}};
        if (on) {
            expected.insert(QStringLiteral("Refresh"), settings.refresh);
            values.insert(QStringLiteral("Refresh"), seconds);
        }
        const auto stored = m_session.settingsStore().writeIfUnchanged(expected, values);
        if (stored) {
            const bool wasOn = settings.timer1;
            settings.timer1 = store::Database::toBool(stored->value(QStringLiteral("Timer1")));
            settings.refresh = m_session.settingsStore().field(QStringLiteral("Refresh")).toInt();
            QString text;
            if (settings.timer1 != wasOn)
                text = settings.timer1 ? QStringLiteral("Another station has switched automatic screen refresh on "
                                                        "meanwhile, at every %1 seconds.").arg(settings.refresh)
                                       : QStringLiteral("Another station has switched automatic screen refresh off "
                                                        "meanwhile.");
            else
                text = QStringLiteral("Another station has changed the automatic screen refresh interval to %1 "
                                      "seconds meanwhile, so your %2 seconds were not stored and automatic screen "
                                      "refresh stays off. Press F4 again to switch it on.")
                           .arg(settings.refresh)
                           .arg(seconds);
            m_s.prompter.message(text, on ? onTitle : offTitle, ui::Icon::Information);
            settings.timer1 ? armTimer() : stopTimer();
            return;
        }
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), on ? onTitle : offTitle, ui::Icon::Critical);
        return;
    }
    settings.timer1 = on;
    if (!on) {
        stopTimer();
        m_s.prompter.message(QStringLiteral("Autorefresh has been disabled."), offTitle, ui::Icon::Information);
        return;
    }
    settings.refresh = seconds;
    m_timerRunning = false;   // re-armed at the new interval
    armTimer();
    m_s.prompter.message(QStringLiteral("Auto screen refresh now occurs at every ") + QString::number(seconds)
                             + QStringLiteral(" seconds.  Please toggle off Auto Screen Refresh before reading Help "
                                              "file or running other applications to avoid interruptions."),
                         onTitle, ui::Icon::Information);
}

} // namespace book
