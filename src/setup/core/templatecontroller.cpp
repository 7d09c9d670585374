#include "setup/core/templatecontroller.h"

#include "book/pages/blockops.h"
#include "ui/core/dateinput.h"
#include "book/pages/pagegrid.h"
#include "store/core/dberror.h"
#include "book/pages/pagetext.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <QLocale>

namespace setup {

using store::DbError;
using namespace book::pos;
namespace page = book::page;

namespace {

QString shortDayName(const QDate &date)
{
    return QLocale().toString(date, QStringLiteral("ddd"));
}

} // namespace

TemplateController::TemplateController(ui::Services &services, QObject *parent)
    : QObject(parent),
      // The editor keeps only a reference to the grid, built just below.
      EditorGrid(book::KeyPlace::TemplateGrid, m_grid, services.prompter, [this] { emit editorChanged(); }, FreeRow),
      m_s(services),
      m_store(services.db),
      m_templates(services.db),
      m_blocks(std::make_unique<book::BlockOps>(book::BlockOps::Kind::Template, *this, services.prompter,
                                                services.clipboard))
{
    m_grid.setFixedRows(FreeRow);
    m_grid.setFixedCols(FirstCol);
    ui::CellFont f;
    f.bold = true;
    m_grid.setFont(f);
    m_grid.setBackColor(book::DefaultCellColor);
    m_grid.setBackColorSel(book::DefaultCellColor);
}

TemplateController::~TemplateController() = default;

// ---------------------------------------------------------------- loading

bool TemplateController::load(double widthFactor)
{
    m_s.state.widthFactor = widthFactor;
    m_loading = true;
    try {
        m_settings = m_store.load();
    } catch (const DbError &e) {
        m_s.prompter.message(QStringLiteral("The templates could not be read: ") + e.numbered(), Caption,
                             ui::Icon::Critical);
        m_loading = false;
        return false;
    }
    const book::PageLayout layout = book::layoutOf(m_settings.listno, m_settings.names, m_settings.open,
                                                   m_settings.close, m_settings.timeslot, m_settings.rHeight);
    m_grid.beginUpdate();
    m_grid.setRows(std::max(layout.rows(), 3));
    book::setupColumns(m_grid, layout.columns, layout.names, m_settings.cwidth, widthFactor);
    book::setupRows(m_grid, layout);
    m_grid.setCursor(FreeRow, FirstCol);
    m_grid.endUpdate();
    m_loading = false;
    m_date = FirstDay;
    emit stateChanged();
    return true;
}

void TemplateController::activate()
{
    if (m_activated)
        return;
    m_activated = true;
    m_s.prompter.message(QStringLiteral("Please block out the time slots where the Consultants are unavailable "
                                        "for appointments. Remember to press TAB key after each entry!"),
                         QStringLiteral("Configure Page templates"));
    // The settings were read at load; Monday is shown as they hold it.
    showDay(FirstDay);
}

QString TemplateController::dayCaption() const
{
    return book::weekdayName(m_date);
}

QString TemplateController::finishCaption() const
{
    return m_date.dayOfWeek() == Qt::Sunday ? QStringLiteral("Finish") : shortDayName(m_date.addDays(1));
}

QStringList TemplateController::statusEntries() const
{
    return {QStringLiteral(" ") + m_settings.location + QStringLiteral(" Open"),
            QStringLiteral(" ") + m_settings.location + QStringLiteral(" Closed")};
}

// Takes a weekday's stored template and flag as they are now (another
// station may have stored them meanwhile) and shows them.
void TemplateController::showWeekday(const QDate &date)
{
    try {
        m_settings = m_store.load();
    } catch (const DbError &) {
        // The texts this window stored or last read are still at hand.
    }
    showDay(date);
}

// A weekday's template and flag as the settings read last hold them.
void TemplateController::showDay(const QDate &date)
{
    m_date = date;
    m_working = m_settings.templateFor(date.dayOfWeek());
    m_closed = m_settings.closedOn(date.dayOfWeek());
    fillGrid();
    m_grid.setCursor(FreeRow, FirstCol);
    emit stateChanged();
    emit focusRequested(TemplateFocus::Grid);
}

// The working text into the data rectangle, in the weekday's colours.
void TemplateController::fillGrid()
{
    m_grid.beginUpdate();
    book::pasteText(m_grid, m_working);
    showStatus();
    m_grid.endUpdate();
    hideEditor();
    m_shownText = book::rectText(m_grid);
    m_shownClosed = m_closed;
}

void TemplateController::showStatus()
{
    const int back = m_closed ? book::DesktopColor : book::DefaultCellColor;
    m_grid.setBackColor(back);
    m_grid.setBackColorSel(back);
}

void TemplateController::statusChosen(int index)
{
    if (m_loading || index < 0 || index > 1)
        return;
    const QString shown = m_shownText;
    const bool shownClosed = m_shownClosed;
    m_closed = index == 1;
    // The grid is shown again from the working text: a cell typed but not
    // yet saved into it is dropped.
    fillGrid();
    m_shownText = shown;
    m_shownClosed = shownClosed;
    emit stateChanged();
    emit focusRequested(TemplateFocus::Grid);
}

// ---------------------------------------------------------------- steps

// Stores only the cells of the weekday this station changed, each over what
// it showed, and the flag when it was changed; another station's edits of
// other cells of the same weekday stay.
bool TemplateController::storeWeekday()
{
    const int dow = m_date.dayOfWeek();
    const page::Cells shown = page::decode(m_shownText);
    TemplateStore::Change change;
    change.dayOfWeek = dow;
    change.closedRead = m_shownClosed;
    change.closed = m_closed;
    change.rows = m_grid.rows() - FreeRow;
    change.cols = m_grid.cols() - FirstCol;
    for (int r = FreeRow; r < m_grid.rows(); ++r)
        for (int c = FirstCol; c < m_grid.cols(); ++c) {
            const QString was = page::cellAt(shown, r, c);
            if (m_grid.textMatrix(r, c) != was) {
                change.cells[{r, c}] = m_grid.textMatrix(r, c);
                change.read[{r, c}] = was;
            }
        }
    TemplateStore::Write w;
    try {
        w = m_templates.write(change);
    } catch (const DbError &e) {
        m_s.prompter.message(QStringLiteral("The template could not be stored: ") + QString::number(e.number())
                                 + QLatin1Char(' ') + e.description(),
                             Caption, ui::Icon::Critical);
        emit focusRequested(TemplateFocus::Grid);
        return false;
    }
    if (!w.written()) {
        contested(w);
        return false;
    }
    m_settings.templates[static_cast<size_t>(dow % 7)] = w.storedText;
    m_settings.closed[static_cast<size_t>(dow % 7)] = w.storedClosed;
    m_working = w.storedText;
    m_closed = w.storedClosed;
    // Usually the grid shows just what was stored (no other station wrote
    // this weekday meanwhile): then it is not filled again.
    const QString inGrid = book::rectText(m_grid);
    if (inGrid == w.storedText) {
        showStatus();
        hideEditor();
        m_shownText = inGrid;
        m_shownClosed = m_closed;
    } else {
        fillGrid();
    }
    return true;
}

// Nothing of the step was stored. The user is told which cells another
// station changed; the grid keeps what this station typed and takes the other
// station's changes where this station changed nothing, so that finishing the
// step again stores this station's entries over what the user has now seen.
void TemplateController::contested(const TemplateStore::Write &w)
{
    const page::Cells shown = page::decode(m_shownText);
    const page::Cells stored = page::decode(w.storedText);
    QStringList where;
    for (const auto &[r, c] : w.contested) {
        if (where.size() == 8) {
            where << QStringLiteral("…");
            break;
        }
        const QString time = m_grid.textMatrix(r, TimeCol).trimmed();
        const QString name = m_grid.textMatrix(NameRow, c).trimmed();
        const QString now = page::cellAt(stored, r, c);
        where << QStringLiteral("%1 %2: %3")
                     .arg(time.isEmpty() ? QStringLiteral("(free row)") : time,
                          name.isEmpty() ? QStringLiteral("column %1").arg(c) : name,
                          now.isEmpty() ? QStringLiteral("(empty)") : QStringLiteral("\"%1\"").arg(now));
    }
    if (w.closedContested)
        where << QStringLiteral("the day is now marked %1").arg(w.storedClosed ? QStringLiteral("closed")
                                                                                : QStringLiteral("open"));
    m_grid.beginUpdate();
    for (int r = FreeRow; r < m_grid.rows(); ++r)
        for (int c = FirstCol; c < m_grid.cols(); ++c)
            if (m_grid.textMatrix(r, c) == page::cellAt(shown, r, c))
                m_grid.setTextMatrix(r, c, page::cellAt(stored, r, c));
    if (m_closed == m_shownClosed)
        m_closed = w.storedClosed;
    showStatus();
    m_grid.endUpdate();
    // From now on the stored template is what this station has seen.
    page::Cells seen;
    for (int r = FreeRow; r < m_grid.rows(); ++r) {
        QStringList row;
        for (int c = FirstCol; c < m_grid.cols(); ++c)
            row << page::cellAt(stored, r, c);
        seen.push_back(row);
    }
    m_shownText = page::encode(seen);
    m_shownClosed = w.storedClosed;
    m_working = book::rectText(m_grid);
    emit stateChanged();
    m_s.prompter.message(QStringLiteral("Another station has changed the %1 template since it was shown here:\n\n%2\n\n"
                                        "Nothing was stored. Your entries are still in the grid, with the other "
                                        "station's changes in the cells you left alone; press F7 or %3 again to "
                                        "store your entries in their place.")
                             .arg(dayCaption(), where.join(QLatin1Char('\n')), finishCaption()),
                         Caption, ui::Icon::Warning);
    emit focusRequested(TemplateFocus::Grid);
}

bool TemplateController::finishStep()
{
    if (!m_activated)   // no weekday is in hand yet
        return false;
    // An entry still in the editor is what the user meant the weekday to
    // hold: it goes into the cell before the weekday is stored.
    commitEditor();
    if (!storeWeekday())
        return false;
    if (m_date.dayOfWeek() != Qt::Sunday) {
        showWeekday(m_date.addDays(1));
        return true;
    }
    m_date = FirstDay;
    emit stateChanged();
    if (!m_s.prompter.ask(QStringLiteral("Do you wish to review your templates?"),
                          QStringLiteral("Templates Review?"))) {
        leave(ui::win::Appt);
        return true;
    }
    showWeekday(FirstDay);
    return true;
}

bool TemplateController::hasUnstoredChanges() const
{
    if (m_cell.visible() && m_cell.edited())
        return true;
    return m_closed != m_shownClosed || book::rectText(m_grid) != m_shownText;
}

bool TemplateController::closeByUser()
{
    if (m_activated && hasUnstoredChanges()) {
        const bool store = m_s.prompter.ask(
            QStringLiteral("Do you wish to store the changes to the %1 template?").arg(dayCaption()), Caption);
        if (store) {
            commitEditor();
            if (!storeWeekday())
                return false;   // told; the window stays with the edits
        }
    }
    hideEditor();
    leave(ui::win::Menu);
    return true;
}

void TemplateController::leave(const QString &next)
{
    m_s.windows.replace(ui::win::Configure, next);
}

// ---------------------------------------------------------------- cell entry

void TemplateController::gridKeyPress(QChar ch)
{
    switch (gridAction(ch)) {
    case book::KeyAction::NextControl: emit focusRequested(TemplateFocus::Next); break;
    case book::KeyAction::OpenEditor: openEditor(QChar()); break;
    case book::KeyAction::OpenEditorTyped: openEditor(ch); break;
    default: break;
    }
}

void TemplateController::gridDoubleClick()
{
    openEditor(QChar());
}

void TemplateController::openEditor(QChar typed)
{
    if (m_cell.open(typed, false, m_settings.rHeight >= 2))
        emit focusRequested(TemplateFocus::Editor);
}

void TemplateController::hideEditor()
{
    m_cell.hide();
}

book::CellEditor::Actions TemplateController::editorActions()
{
    return {[this] { saveFromEditor(); },
            [this] {
                hideEditor();
                emit focusRequested(TemplateFocus::Grid);
            }};
}

// The editor's entry into its cell, and the whole rectangle into the
// working text. Nothing reaches the database before the step is finished.
void TemplateController::commitEditor()
{
    if (!m_cell.visible())
        return;
    m_grid.setTextMatrix(m_cell.row(), m_cell.col(), m_cell.entry());
    m_cell.placeCursor();
    m_working = book::rectText(m_grid);
    hideEditor();
}

void TemplateController::saveFromEditor()
{
    if (!m_cell.visible())
        return;
    commitEditor();
    emit focusRequested(TemplateFocus::Grid);
}

bool TemplateController::checkUnsavedEntry()
{
    if (m_cell.checkUnsaved())
        return true;
    emit focusRequested(TemplateFocus::Editor);
    return false;
}

void TemplateController::gridMouseDown(int button, int shift, int row, int col)
{
    if (plainClickLeavesEditor(button, shift))
        clickCell(m_grid, row, col);
}

void TemplateController::gridMouseUp(int button, int shift, int row, int col)
{
    if (!inCells(m_grid, row, col))
        return;
    if (!markingClick(m_grid, button, shift, row, col) && button == 2)
        emit contextMenuRequested(m_grid.row(), m_grid.col());
}

// ---------------------------------------------------------------- blocks

book::CellList TemplateController::storeCells(const book::CellChanges &)
{
    // The grid holds the command's result already; the template is kept as
    // after an edit, and stored with the weekday's step. Only this station
    // edits its working text, so nothing can conflict.
    m_working = book::rectText(m_grid);
    return {};
}

} // namespace setup
