#include "book/core/bookcontroller.h"

#include "book/core/blockops.h"
#include "book/core/dateinput.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "ui/core/appstate.h"
#include "ui/core/clock.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

using store::DbError;

namespace {
constexpr int SeekRetries = 3;
} // namespace

BookController::BookController(ui::Services &services, QObject *parent)
    : QObject(parent),
      m_s(services),
      m_pages(services.db),
      m_settingsStore(services.db),
      m_cell(m_grid, services.prompter, [this] { emit editorChanged(); }, pos::FirstTimeRow),
      m_blocks(std::make_unique<BlockOps>(BlockOps::Kind::Page, *this, services.prompter, services.clipboard))
{
    m_grid.setFixedRows(2);
    m_grid.setFixedCols(1);
    ui::CellFont f;
    f.bold = true;
    m_grid.setFont(f);
    m_grid.setBackColor(DefaultCellColor);
    m_grid.setBackColorSel(DefaultCellColor);
}

BookController::~BookController() = default;

// ---------------------------------------------------------------- loading

void BookController::readSettings()
{
    m_settings = m_settingsStore.load();
}

bool BookController::load()
{
    return load(m_s.clock.today());
}

bool BookController::load(const QDate &today)
{
    m_today = today;
    m_admin = true;
    m_loading = true;
    try {
        readSettings();
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Seek Record"), ui::Icon::Critical);
        m_loading = false;
        return false;
    }
    m_calendar.populate(today);
    m_calendar.markShown();
    m_page.date = today;
    if (!seekRecord(today)) {
        m_loading = false;
        return false;
    }
    populateGrid(today);
    m_loading = false;
    emit calendarChanged();
    emit pageShown();
    return true;
}

void BookController::activate()
{
    armTimer();
}

bool BookController::seekRecord(const QDate &date)
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

void BookController::setupGrid()
{
    m_layout = layoutOf(m_page, m_settings.rHeight);
    m_grid.beginUpdate();
    m_grid.setRows(std::max(m_layout.rows(), 3));
    setupColumns(m_grid, m_layout.columns, m_layout.names, m_settings.cwidth, m_s.state.widthFactor);
    setupRows(m_grid, m_layout);
    m_grid.endUpdate();
    m_template = m_settings.templateFor(m_page.date.dayOfWeek());
    m_closed = m_page.clinic;
}

void BookController::populateGrid(const QDate &date)
{
    m_page.date = date;
    m_locked = date < m_today;
    m_cell.setReadOnly(m_locked);
    setupGrid();
    fillGrid();
    m_grid.setCursor(3, 1);
    requestFocus(Focus::Grid);
}

void BookController::openPage(const QDate &date)
{
    const bool wasLoading = m_loading;
    m_loading = true;
    hideEditor();
    if (seekRecord(date)) {
        populateGrid(date);
    }
    m_loading = wasLoading;
    emit pageShown();
}

void BookController::showPageColors()
{
    if (m_closed) {
        m_grid.setBackColor(DesktopColor);
        m_grid.setBackColorSel(DesktopColor);
        // A closed day keeps its own colours out of sight.
        for (int c = 1; c < m_grid.cols(); ++c)
            for (int r = 3; r < m_grid.rows(); ++r)
                m_grid.setCellColor(r, c, DesktopColor);
    } else {
        m_grid.setBackColor(DefaultCellColor);
        m_grid.setBackColorSel(DefaultCellColor);
        applyColors(m_grid, m_page.colors, false);
    }
}

void BookController::fillGrid()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    m_grid.beginUpdate();
    pasteText(m_grid, m_page.data);
    hideEditor();
    showPageColors();
    m_grid.endUpdate();
    m_loading = wasLoading;
    emit pageShown();
}

void BookController::refreshGrid(bool hideEditorToo)
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
        hideEditor();
        requestFocus(Focus::Grid);
    }
    emit pageShown();
}

bool BookController::closeBook()
{
    if (!leaveEditor())
        return false;
    stopTimer();
    m_s.windows.show(ui::win::Menu);
    emit closeRequested();
    m_s.windows.unload(ui::win::Appt);
    return true;
}

void BookController::refreshCommand()
{
    if (leaveEditor())
        refreshGrid();
}

void BookController::endProgram()
{
    stopTimer();
    emit closeRequested();
    m_s.windows.quit();
}

QString BookController::dateCaption() const
{
    return shortDate(m_page.date);
}

QString BookController::dayCaption() const
{
    return weekdayName(m_page.date);
}

QStringList BookController::statusEntries() const
{
    return {QLatin1Char(' ') + m_settings.location + QStringLiteral(" Open"),
            QLatin1Char(' ') + m_settings.location + QStringLiteral(" Closed")};
}

// ---------------------------------------------------------------- block host

CellList BookController::storeCells(const CellChanges &changes)
{
    // Each touched cell must still hold what this station showed, that is
    // the page as it last read it.
    const book::page::Cells shown = book::page::decode(m_page.data);
    CellChanges expected;
    for (const auto &entry : changes)
        expected[entry.first] = book::page::cellAt(shown, entry.first.first, entry.first.second);
    const BusyScope busy(*this);
    const PageStore::CellWrite w = m_pages.writeCells(m_page.id, changes, &expected);
    if (w.conflict)
        return w.changed;
    // The stored page may hold other stations' entries: show them too.
    m_page.data = w.storedText;
    const int row = m_grid.row(), col = m_grid.col();
    pasteText(m_grid, m_page.data);
    m_grid.setCursor(row, col);
    return {};
}

CellList BookController::storeColors(const ColorChanges &changes)
{
    const BusyScope busy(*this);
    const PageStore::ColorWrite w =
        m_pages.writeColors(m_page.colorId, m_grid.cols(), m_grid.rows(), changes, &m_page.colors);
    if (!w.changed.empty())
        return w.changed;
    m_page.colors = w.storedText;
    return {};
}

void BookController::colorSaveFailed(const DbError &error)
{
    Q_UNUSED(error);
    m_s.prompter.message(
        QStringLiteral("Another user is currently updating the same record. Please wait a while and try again..."),
        QStringLiteral("Save Cell Color"), ui::Icon::Warning);
    // The write was all or nothing: the stored colours are as they were, and
    // the page shows them again.
    refreshGrid();
}

QString BookController::blockoutText()
{
    try {
        m_settings.blockout = m_settingsStore.field(QStringLiteral("Blockout")).toString();
    } catch (const DbError &) {
    }
    return m_settings.blockout;
}

void BookController::changeBlockoutString()
{
    if (!m_admin) {
        m_s.prompter.message(QStringLiteral("Sorry, Blockout string can only be changed at admin/server station!"),
                             QStringLiteral("Blockout"));
        return;
    }
    const auto answer = m_s.prompter.input(QStringLiteral("Enter Blockout String"),
                                           QStringLiteral("Blockout"), blockoutText());
    if (!answer || answer->isEmpty())
        return;
    try {
        m_settingsStore.write({{QStringLiteral("Blockout"), *answer}});
        m_settings.blockout = *answer;
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Blockout"), ui::Icon::Critical);
    }
}

// ---------------------------------------------------------------- commands

bool BookController::functionKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F1: showHelp(); return true;
    case Qt::Key_F3: refreshCommand(); return true;
    case Qt::Key_F4: return true;   // named on the legend, no action of its own
    case Qt::Key_F8: weeklyView(); return true;
    case Qt::Key_F9: memoCommand(); return true;
    case Qt::Key_F11: closeBook(); return true;
    default: return false;
    }
}

void BookController::showHelp()
{
    m_s.windows.show(ui::win::Help);
}

void BookController::about()
{
    m_s.prompter.message(QStringLiteral("Quillon Appointments Scheduler, version 3.6.5.\n\nPlease visit "
                                        "our website for the latest software updates and fixes."),
                         QStringLiteral("About us"), ui::Icon::Information);
}

} // namespace book
