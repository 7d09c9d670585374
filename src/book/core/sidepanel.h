#pragma once

#include "ui/core/services.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace book {

class BookHub;
class CellEntry;
class OtherStations;
class PageSession;

// The controls beside the page: the daily and fixed memos (stored only over
// what this station read), the book name, the office status, the page lock
// and the auto-refresh timer.
class SidePanel {
public:
    SidePanel(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry, OtherStations &stations);

    bool fixedMemoShown() const { return m_fixedMemoShown; }
    QString memoButtonCaption() const;
    // What the memo boxes show: the stored memo, or the user's text kept
    // when it could not be stored yet.
    QString dailyMemo() const;
    QString fixedMemo() const;
    // The daily memo another station stored while this one is typed over
    // what was read before; nullopt when there is none.
    std::optional<QString> dailyMemoStoredMeanwhile() const;
    void memoCommand();                          // cmdMemo, F9, Navigate > Memo
    void memoFocusIn(bool fixed);
    void memoFocusOut(bool fixed, const QString &text);
    // Tab stores the memo and moves the focus on; the focus leaving the box
    // then must not store it a second time.
    void memoTab(bool fixed, const QString &text);
    bool memoTabbing() const { return m_memoTabbing; }

    QString bookName() const;
    bool bookNameLocked() const { return m_bookLocked; }
    void bookNameFocusIn();
    void bookNameEntered(const QString &text);   // Enter or Tab in txtBook

    QStringList statusEntries() const;           // " <location> Open", " <location> Closed"
    int statusIndex() const;
    void statusChosen(int index);                // office status confirmed
    void setPageLock(bool locked);

    bool timerEnabled() const { return m_timerRunning; }
    int timerIntervalMs() const;
    void armTimer();
    void stopTimer();
    void timerTick();
    // F4: switches automatic refresh off, or on at an interval the user
    // gives; stored in the settings for every station of the book.
    void autoRefreshCommand();

private:
    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
    OtherStations &m_stations;   // listed when the office is closed
    bool m_fixedMemoShown = false;
    std::optional<QString> m_dailyMemoBase;    // the memo as the user began typing
    std::optional<QString> m_fixedMemoBase;
    std::optional<QString> m_dailyMemoRead;    // the stored memo when the user began typing
    std::optional<QString> m_fixedMemoRead;
    std::optional<QString> m_dailyMemoDraft;   // the user's text not stored yet
    std::optional<QString> m_fixedMemoDraft;
    bool m_bookLocked = true;
    bool m_memoTabbing = false;
    bool m_timerRunning = false;
};

} // namespace book
