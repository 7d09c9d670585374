#include "accounts/core/manualsearch.h"

#include "accounts/core/searchmenucontroller.h"
#include "store/core/dberror.h"
#include "ui/core/appstate.h"
#include "ui/core/keys.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <algorithm>

namespace accounts {

ManualSearch::ManualSearch(ui::Services &services, QObject *parent)
    : QObject(parent), m_services(services), m_list(services.db),
      m_live(services.db, [](const QString &kind, const QString &) { return kind == QLatin1String("patient"); })
{
    connect(&m_live, &LiveWatch::due, this, &ManualSearch::othersChanged);
}

void ManualSearch::othersChanged()
{
    try {
        m_list.reread();
    } catch (const store::DbError &) {
        return;   // the rows stay as shown until the next change
    }
    // The row stays where it was; only a list grown shorter moves it up.
    if (m_row >= m_list.rowCount())
        setCurrentRow(m_row);
}

void ManualSearch::setCurrentRow(int row)
{
    const int last = m_list.rowCount() - 1;
    const int r = last < 0 ? -1 : std::clamp(row, 0, last);
    if (r == m_row)
        return;
    m_row = r;
    emit currentRowChanged(r);
}

void ManualSearch::activated()
{
    // Errors while positioning leave the grid where it can stand.
    int row = 0;
    try {
        m_list.reload();
        row = m_list.rowOfInitial(m_services.state.searchLastName.left(1));
    } catch (const store::DbError &) {
        row = 0;
    }
    m_live.start();   // from the first showing on, it follows other stations' changes
    m_row = -2;   // always announced
    setCurrentRow(row);
}

bool ManualSearch::key(const ui::KeyStroke &k)
{
    switch (k.key) {
    case Qt::Key_PageDown: setCurrentRow(m_row + PageStep); return true;
    case Qt::Key_PageUp: setCurrentRow(m_row - PageStep); return true;
    case Qt::Key_Home: setCurrentRow(0); return true;
    case Qt::Key_End: setCurrentRow(m_list.rowCount() - 1); return true;
    default: break;
    }
    if (k.typed.isNull() || k.typed == QChar(9) || k.typed == QChar(8))
        return false;
    openCurrent();   // the key itself goes nowhere
    return true;
}

void ManualSearch::openCurrent()
{
    const int file = m_list.fileNoAt(m_row);
    if (file <= 0)
        return;
    m_services.state.currentFileNo = file;
    m_services.state.newFilePending = false;
    m_services.windows.replace(ui::win::Search, ui::win::PatientDetails);
}

void ManualSearch::addNewClient()
{
    if (startNewFile(m_services))
        m_services.windows.unload(ui::win::Search);
}

void ManualSearch::exit()
{
    m_services.windows.replace(ui::win::Search, ui::win::SearchMenu);
}

} // namespace accounts
