#include "book/core/pageblockhost.h"

#include "book/core/bookhub.h"
#include "book/core/cellentry.h"
#include "book/core/pagesession.h"
#include "book/core/writefailure.h"
#include "store/core/database.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"

namespace book {

using store::DbError;

PageBlockHost::PageBlockHost(BookHub &hub, PageSession &session, CellEntry &entry, ui::Services &services)
    : m_hub(hub), m_session(session), m_entry(entry), m_s(services)
{
}

ui::GridModel &PageBlockHost::blockGrid()
{
    return m_session.grid();
}

store::Database *PageBlockHost::commandLog()
{
    return &m_s.db;
}

CellList PageBlockHost::storeCells(const CellChanges &changes)
{
    return m_session.storeCells(changes);
}

CellList PageBlockHost::storeColors(const ColorChanges &changes)
{
    return m_session.storeColors(changes);
}

CellList PageBlockHost::storeBlock(const CellChanges &cells, const ColorChanges &colors)
{
    return m_session.storeBlock(cells, colors);
}

QString PageBlockHost::failureText(const DbError &error, const QString &outcome) const
{
    return writeFailure(error, m_s.db, outcome);
}

void PageBlockHost::commandStored(const QString &command, int row, int col)
{
    m_session.keepStep(command, row, col, {m_session.takeStoredEdit()});
}

void PageBlockHost::refreshPage()
{
    m_session.refreshGrid();
}

void PageBlockHost::colorSaveFailed(const DbError &error)
{
    m_session.colorSaveFailed(error);
}

bool PageBlockHost::editorOpen() const
{
    return m_entry.visible();
}

bool PageBlockHost::dayClosed() const
{
    return m_session.closed();
}

void PageBlockHost::focusGrid()
{
    m_hub.requestFocus(Focus::Grid);
}

QString PageBlockHost::blockoutText()
{
    store::Settings &settings = m_session.settings();
    try {
        settings.blockout = m_session.settingsStore().field(QStringLiteral("Blockout")).toString();
    } catch (const DbError &) {
    }
    return settings.blockout;
}

void PageBlockHost::changeBlockoutString()
{
    if (!m_session.adminStation()) {
        m_s.prompter.message(QStringLiteral("Sorry, Blockout string can only be changed at admin/server station!"),
                             QStringLiteral("Blockout"));
        return;
    }
    const auto answer = m_s.prompter.input(QStringLiteral("Enter Blockout String"),
                                           QStringLiteral("Blockout"), blockoutText());
    if (!answer || answer->isEmpty())
        return;
    try {
        m_session.settingsStore().write({{QStringLiteral("Blockout"), *answer}});
        m_session.settings().blockout = *answer;
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Blockout"), ui::Icon::Critical);
    }
}

} // namespace book
