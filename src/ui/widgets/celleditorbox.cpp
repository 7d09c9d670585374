#include "ui/widgets/celleditorbox.h"

#include "ui/widgets/gridview.h"
#include "ui/widgets/qtcolour.h"

#include <QEvent>

namespace ui {

CellEditorBox::CellEditorBox(GridView *grid) : QPlainTextEdit(grid->viewport()), m_grid(grid)
{
    setObjectName(QStringLiteral("txtEdit"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    f.setBold(true);
    f.setItalic(false);
    setFont(f);
    // Pale yellow as every box being typed in, framed so it stands out from
    // the cells of the same colour.
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(colours::PaleYellow));
    setPalette(p);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(1);
    setTabChangesFocus(false);
    hide();

    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            emit edited(fromBox(toPlainText()));
    });
    connect(grid, &GridView::scrolled, this, &CellEditorBox::place);
    connect(grid, &GridView::columnResized, this, [this](int) { place(); });
    connect(grid->model(), &GridModel::changed, this, &CellEditorBox::place);
    grid->viewport()->installEventFilter(this);
}

void CellEditorBox::open(int row, int col, const QString &text, bool readOnly, bool multiLine)
{
    m_row = row;
    m_col = col;
    const QString shown = toBox(text);
    m_filling = true;
    if (toPlainText() != shown) {
        setPlainText(shown);
        moveCursor(QTextCursor::End);
    }
    setReadOnly(readOnly);
    setLineWrapMode(multiLine ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_filling = false;
    place();
    show();
    raise();
}

void CellEditorBox::close()
{
    if (hasFocus() && m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    hide();
}

void CellEditorBox::place()
{
    if (!m_grid || m_row < 0)
        return;
    // The text grows with the grid's cells on a desktop set to larger text.
    const double points = 8 * m_grid->textScale();
    if (font().pointSizeF() != points) {
        QFont f = font();
        f.setPointSizeF(points);
        setFont(f);
    }
    const QRect r = m_grid->cellRect(m_row, m_col);
    if (!r.isNull())
        setGeometry(r);
}

bool CellEditorBox::eventFilter(QObject *watched, QEvent *event)
{
    if (m_grid && watched == m_grid->viewport() && event->type() == QEvent::Resize)
        place();
    return QPlainTextEdit::eventFilter(watched, event);
}

QString CellEditorBox::toBox(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString CellEditorBox::fromBox(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace ui
