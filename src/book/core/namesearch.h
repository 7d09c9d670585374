#pragma once

#include "book/pages/pagestore.h"
#include "ui/core/services.h"

#include <QString>

namespace book {

class BookHub;
class BookNavigation;
class CellEntry;
class PageSession;

// The cells of a page holding `needle` without regard to case, column by
// column from the first consultant, each from the first time row to the
// page's last row (the free row above the times is not looked at).
CellList cellsContaining(const PageRecord &page, const QString &needle);
// The same with the page's layout already made.
CellList cellsContaining(const PageRecord &page, const QString &needle, const PageLayout &layout);

// F5, Search > Client: steps back through the pages from the latest one,
// opening each page and cell that holds the name, and asks on the answer
// panel whether to go on. Only pages whose stored text holds the name are
// read, and only the page of a find is shown.
class NameSearch {
public:
    enum class Answer { Continue = 1, NewSearch = 2 };

    NameSearch(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry, BookNavigation &nav);

    void start();                // the input box, then the first step
    void yes();                  // cmdYes
    void no();                   // cmdNo
    void hidePanel();            // Today, a click in the grid

    bool panelShown() const { return m_panelShown; }
    QString panelMessage() const { return m_message; }
    Answer answerMode() const { return m_mode; }
    const QString &searchText() const { return m_text; }

    static const QString Successful;
    static const QString Complete;
    static const QString Unsuccessful;

private:
    // The editor left (what it holds saved or the user kept there) and hidden.
    bool closeEditor();
    void step();
    void report(bool foundNow);

    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
    BookNavigation &m_nav;
    QString m_text;
    bool m_firstStep = true;
    bool m_foundBefore = false;
    Answer m_mode = Answer::NewSearch;
    bool m_panelShown = false;
    QString m_message;
};

} // namespace book
