#include "book/pages/celleditor.h"

#include "book/pages/pagetext.h"
#include "ui/core/gridmodel.h"
#include "ui/core/prompter.h"

namespace book {

namespace {

QString storedForm(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

CellEditor::CellEditor(ui::GridModel &grid, ui::Prompter &prompter, std::function<void()> changed, int firstRow)
    : m_grid(grid), m_prompter(prompter), m_changed(std::move(changed)), m_row(firstRow)
{
}

CellEditor::State CellEditor::state() const
{
    return State{m_visible, m_row, m_col, toEditorText(m_text), toEditorText(m_opening), m_readOnly, m_multiLine};
}

QString CellEditor::entry() const
{
    return page::cleanCell(m_text);
}

bool CellEditor::edited() const
{
    return withoutCr(m_text) != withoutCr(m_opening);
}

bool CellEditor::keyDown(int qtKey, int shift, int linesPerSlot, const Actions &actions) const
{
    const EditorKey k = editorKeyDown(qtKey, shift, linesPerSlot);
    if (k == EditorKey::Save)
        actions.save();
    if (k == EditorKey::Cancel && m_visible)
        actions.cancel();
    return k != EditorKey::Pass;
}

bool CellEditor::keyPress(QChar ch, const Actions &actions) const
{
    const EditorKey k = editorKeyPress(ch);
    if (k == EditorKey::Save)
        actions.save();
    return k != EditorKey::Pass;
}

bool CellEditor::open(QChar typed, bool readOnly, bool multiLine)
{
    const int r = m_grid.row(), c = m_grid.col();
    if (!pos::inData(r, c) || r >= m_grid.rows() || c >= m_grid.cols())
        return false;
    m_row = r;
    m_col = c;
    m_opening = storedForm(m_grid.textMatrix(r, c));
    m_text = m_opening;
    m_readOnly = readOnly;
    m_multiLine = multiLine;
    m_visible = true;
    if (!typed.isNull() && !readOnly && editorKeyPress(typed) == EditorKey::Pass)
        m_text += typed;
    m_changed();
    return true;
}

void CellEditor::hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_changed();
}

void CellEditor::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

void CellEditor::setShownText(const QString &text)
{
    if (m_readOnly || !m_visible)
        return;
    m_text = storedForm(text);
}

void CellEditor::setText(const QString &storedText)
{
    m_text = storedForm(storedText);
    m_visible = true;
    m_changed();
}

void CellEditor::setOpening(const QString &storedText)
{
    m_opening = storedForm(storedText);
}

void CellEditor::moveTo(int row, int col)
{
    m_row = row;
    m_col = col;
    m_changed();
}

void CellEditor::placeCursor()
{
    m_grid.setCursor(m_row, m_col);
}

void CellEditor::follow()
{
    if (!m_visible)
        return;
    placeCursor();
    m_changed();
}

bool CellEditor::checkUnsaved()
{
    if (!m_visible)
        return true;
    if (!edited()) {
        hide();
        return true;
    }
    m_prompter.message(QStringLiteral("Save last appointment entry!?"), QStringLiteral("Save appointment entry"));
    return false;
}

} // namespace book
