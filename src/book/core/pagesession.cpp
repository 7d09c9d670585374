#include "book/core/pagesession.h"

#include "book/core/bookhub.h"
#include "book/core/cellentry.h"
#include "ui/core/dateinput.h"
#include "book/core/writefailure.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

#include <set>

namespace book {

using store::DbError;

namespace {
constexpr int SeekRetries = 3;
} // namespace

PageSession::BusyScope::BusyScope(PageSession &s) : m_s(s)
{
    ++m_s.m_busy;
    emit m_s.m_hub.busyChanged(true);
}

PageSession::BusyScope::~BusyScope()
{
    --m_s.m_busy;
    emit m_s.m_hub.busyChanged(false);
}

PageSession::PageSession(BookHub &hub, ui::Services &services, CellEntry &entry)
    : m_hub(hub), m_s(services), m_entry(entry), m_pages(services.db), m_settingsStore(services.db)
{
    m_grid.setFixedRows(pos::FreeRow);   // the number and name rows
    m_grid.setFixedCols(pos::FirstCol);  // the time column
    ui::CellFont f;
    f.bold = true;
    m_grid.setFont(f);
    m_grid.setBackColor(DefaultCellColor);
    m_grid.setBackColorSel(DefaultCellColor);
}

void PageSession::readSettings()
{
    m_settings = m_settingsStore.load();
}

bool PageSession::beginLoad(const QDate &today)
{
    m_admin = true;
    m_today = today;
    m_loading = true;
    try {
        readSettings();
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Seek Record"), ui::Icon::Critical);
        m_loading = false;
        return false;
    }
    return true;
}

bool PageSession::finishLoad(const QDate &today)
{
    m_page.date = today;
    if (!seekRecord(today)) {
        m_loading = false;
        return false;
    }
    populateGrid(today);
    m_loading = false;
    return true;
}

bool PageSession::seekRecord(const QDate &date)
{
    // Two stations creating the same page at the same moment: the second one
    // finds the first one's page on the next try. A failure that persists is
    // reported once more and gives up instead of asking for ever.
    for (int attempt = 1; attempt <= SeekRetries; ++attempt) {
        try {
            // A stored page carries its own layout: the settings are read
            // again only when the page is to be made from them.
            PageRecord found = m_pages.find(date);
            if (found.id == 0 || found.colorId == 0) {
                readSettings();
                found = m_pages.seek(date, m_settings);
            }
            m_page = found;
            return true;
        } catch (const DbError &e) {
            // Waiting does not help a full disk or a folder that takes no
            // files: that is said at once, as such.
            const store::DbTrouble trouble = store::troubleOf(e);
            if (trouble == store::DbTrouble::DiskFull || trouble == store::DbTrouble::Unwritable) {
                m_s.prompter.message(
                    writeFailure(e, m_s.db, QStringLiteral("The page of %1 could not be made.").arg(shortDate(date))),
                    QStringLiteral("Seek Record"), ui::Icon::Critical);
                return false;
            }
            if (attempt < SeekRetries) {
                m_s.prompter.message(
                    QString::number(e.number()) +
                        QStringLiteral("  Another user is currently creating this page. Please wait a while to open it..."),
                    QStringLiteral("Seek Record"), ui::Icon::Information);
            } else {
                m_s.prompter.message(
                    QStringLiteral("The page of %1 could not be opened: %2\n\nPlease check that the "
                                   "database folder can be reached, then open the page again.")
                        .arg(shortDate(date), e.numbered()),
                    QStringLiteral("Seek Record"), ui::Icon::Critical);
            }
        }
    }
    return false;
}

void PageSession::setupGrid()
{
    m_layout = layoutOf(m_page, m_settings.rHeight);
    m_grid.beginUpdate();
    m_grid.setRows(std::max(m_layout.rows(), pos::FirstTimeRow));
    setupColumns(m_grid, m_layout.columns, m_layout.names, m_settings.cwidth, m_s.state.widthFactor);
    setupRows(m_grid, m_layout);
    m_grid.endUpdate();
    m_template = m_settings.templateFor(m_page.date.dayOfWeek());
    m_closed = m_page.clinic;
}

void PageSession::populateGrid(const QDate &date)
{
    m_page.date = date;
    m_locked = date < m_today;
    m_entry.setReadOnly(m_locked);
    setupGrid();
    fillGrid();
    m_grid.setCursor(pos::FirstTimeRow, pos::FirstCol);
    m_hub.requestFocus(Focus::Grid);
}

void PageSession::openPage(const QDate &date)
{
    const bool wasLoading = m_loading;
    m_loading = true;
    m_entry.hideEditor();
    if (seekRecord(date)) {
        populateGrid(date);
    }
    m_loading = wasLoading;
    m_hub.pageChanged();
}

void PageSession::showPageColors()
{
    if (m_closed) {
        m_grid.setBackColor(DesktopColor);
        m_grid.setBackColorSel(DesktopColor);
        // A closed day keeps its own colours out of sight.
        for (int c = pos::FirstCol; c < m_grid.cols(); ++c)
            for (int r = pos::FirstTimeRow; r < m_grid.rows(); ++r)
                m_grid.setCellColor(r, c, DesktopColor);
    } else {
        m_grid.setBackColor(DefaultCellColor);
        m_grid.setBackColorSel(DefaultCellColor);
        applyColors(m_grid, m_page.colors, false);
    }
}

void PageSession::fillGrid()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    m_grid.beginUpdate();
    pasteText(m_grid, m_page.data);
    m_entry.hideEditor();
    showPageColors();
    m_grid.endUpdate();
    m_loading = wasLoading;
    emit m_hub.statusChanged();
}

void PageSession::refreshGrid(bool hideEditorToo)
{
    if (m_page.id == 0)
        return;
    try {
        const PageRecord fresh = m_pages.read(m_page.id);
        m_page.data = fresh.data;
        m_page.memo = fresh.memo;
        m_page.colors = fresh.colors;
        m_page.clinic = fresh.clinic;
    } catch (const DbError &) {
        // The page stays as displayed; the next write reports the trouble.
        return;
    }
    m_grid.beginUpdate();
    pasteText(m_grid, m_page.data);
    if (!m_closed)
        applyColors(m_grid, m_page.colors, false);
    m_grid.endUpdate();
    if (hideEditorToo) {
        m_entry.hideEditor();
        m_hub.requestFocus(Focus::Grid);
    }
    emit m_hub.memosChanged();
}

CellList PageSession::showOthersChanges()
{
    if (m_page.id == 0 || m_loading)
        return {};
    PageRecord fresh;
    try {
        fresh = m_pages.read(m_page.id);
    } catch (const DbError &) {
        // Shown as it was: the next look, or the next write, finds out more.
        return {};
    }
    const bool textChanged = fresh.data != m_page.data;
    const bool coloursChanged = fresh.colors != m_page.colors;
    const bool memoChanged = fresh.memo != m_page.memo;
    const bool statusChanged = fresh.clinic != m_page.clinic;
    if (!textChanged && !coloursChanged && !memoChanged && !statusChanged)
        return {};

    std::set<std::pair<int, int>> cells;
    if (textChanged) {
        const page::Cells before = page::decode(m_page.data), now = page::decode(fresh.data);
        for (int r = pos::FreeRow; r < m_grid.rows(); ++r)
            for (int c = pos::FirstCol; c < m_grid.cols(); ++c)
                if (page::cellAt(before, r, c) != page::cellAt(now, r, c))
                    cells.insert({r, c});
    }
    if (coloursChanged && !m_closed && !statusChanged) {
        // In the order the colour list lays them out: column by column.
        const int perColumn = std::max(pos::colorRow(m_grid.rows()), 0);
        const size_t total = static_cast<size_t>(std::max(pos::textCol(m_grid.cols()), 0) * perColumn);
        const std::vector<int> before = shownColors(m_page.colors, total), now = shownColors(fresh.colors, total);
        size_t k = 0;
        for (int c = pos::FirstCol; c < m_grid.cols(); ++c)
            for (int r = pos::FirstTimeRow; r < m_grid.rows(); ++r, ++k)
                if (k < total && before[k] != now[k])
                    cells.insert({r, c});
    }
    m_page.data = fresh.data;
    m_page.colors = fresh.colors;
    m_page.memo = fresh.memo;
    m_page.clinic = fresh.clinic;

    m_grid.beginUpdate();
    if (textChanged)
        pasteText(m_grid, m_page.data);   // keeps the cursor and the marked range
    if (statusChanged) {
        m_closed = m_page.clinic;
        showPageColors();
    } else if (coloursChanged && !m_closed) {
        applyColors(m_grid, m_page.colors, false);
    }
    m_grid.endUpdate();
    if (statusChanged)
        emit m_hub.statusChanged();
    if (memoChanged)
        emit m_hub.memosChanged();   // a memo box being typed in keeps its text
    return {cells.begin(), cells.end()};
}

void PageSession::showStoredText(const QString &text)
{
    m_page.data = text;
    pasteText(m_grid, m_page.data);
}

QString PageSession::dateCaption() const
{
    return shortDate(m_page.date);
}

QString PageSession::dayCaption() const
{
    return weekdayName(m_page.date);
}

CellList PageSession::storeBlock(const CellChanges &cells, const ColorChanges &colors)
{
    m_storedEdit = {};
    if (cells.empty() && colors.empty())
        return {};
    const BusyScope busy(*this);
    try {
        return writeShown(cells, colors);
    } catch (const DbError &e) {
        if (e.number() != DbError::NoCurrentRecord)
            throw;
        // The cells mean the same on the page made again only when its
        // times and consultants are those shown.
        const PageLayout before = remakePage();
        if (!sameShape(before, m_layout))
            throw;
        const CellList changed = writeShown(cells, colors);
        // The page made again was shown with its own colours.
        if (changed.empty() && !colors.empty() && !m_closed)
            applyColors(m_grid, m_page.colors, false);
        return changed;
    }
}

CellList PageSession::writeShown(const CellChanges &cells, const ColorChanges &colors)
{
    // Each touched cell must still hold what this station showed, that is
    // the page as it last read it.
    const page::Cells shown = page::decode(m_page.data);
    CellChanges expected;
    for (const auto &entry : cells)
        expected[entry.first] = page::cellAt(shown, entry.first.first, entry.first.second);
    PageStore::BlockChange change;
    change.id = cells.empty() ? 0 : m_page.id;
    change.colorId = colors.empty() ? 0 : m_page.colorId;
    change.columns = m_grid.cols();
    change.rows = m_grid.rows();
    change.cells = cells;
    change.expectedCells = &expected;
    change.colors = colors;
    change.expectedColors = &m_page.colors;
    const PageStore::BlockWrite w = m_pages.writeBlock(change);
    if (!w.changed.empty())
        return w.changed;
    m_storedEdit = w.edit;
    if (change.id != 0) {
        // The stored page may hold other stations' entries: show them too.
        const int row = m_grid.row(), col = m_grid.col();
        showStoredText(w.storedText);
        m_grid.setCursor(row, col);
    }
    if (change.colorId != 0)
        m_page.colors = w.storedColors;
    return {};
}

PageLayout PageSession::remakePage()
{
    const PageLayout before = m_layout;
    const int row = m_grid.row(), col = m_grid.col();
    readSettings();
    m_page = m_pages.seek(m_page.date, m_settings);
    const bool wasLoading = m_loading;
    m_loading = true;
    setupGrid();
    fillGrid();
    m_loading = wasLoading;
    const auto at = samePlace(before, m_layout, row, col);
    m_grid.setCursor(at ? at->first : pos::FirstTimeRow, at ? at->second : pos::FirstCol);
    m_hub.pageChanged();
    return before;
}

void PageSession::colorSaveFailed(const DbError &error)
{
    m_s.prompter.message(
        store::troubleOf(error) == store::DbTrouble::Busy
            ? QStringLiteral("Another user is currently updating the same record. Please wait a while and try again...")
            : writeFailure(error, m_s.db, QStringLiteral("Nothing was changed.")),
        QStringLiteral("Save Cell Color"), ui::Icon::Warning);
    // The write was all or nothing: the stored colours are as they were, and
    // the page shows them again.
    refreshGrid();
}

} // namespace book
