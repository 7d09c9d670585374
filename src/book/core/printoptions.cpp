#include "book/core/printoptions.h"

#include <QtGlobal>

#include <algorithm>

namespace book {

void PrintOptions::open(int row, int col, int columnCount)
{
    m_row = row;
    m_col = col;
    m_columns = std::max(1, columnCount);
    m_visible = true;
    choose(Choice::Daily);
}

void PrintOptions::close()
{
    m_visible = false;
}

QString PrintOptions::columnCaption() const
{
    return QStringLiteral("Print Column No. ( 1 to %1 )").arg(m_columns);
}

void PrintOptions::choose(Choice c)
{
    m_choice = c;
    if (c != Choice::Column)
        m_entry.clear();
}

void PrintOptions::enterOnOption(Choice c)
{
    choose(m_choice == c ? Choice::None : c);
}

bool PrintOptions::entryKeyPress(QChar ch)
{
    return ch.isDigit() && ch.unicode() < 128 ? true : ch == QChar(8);
}

void PrintOptions::setEntry(const QString &text)
{
    if (!entryReadOnly())
        m_entry = text;
}

PrintOptions::Focus PrintOptions::entryKeyDown(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return m_entry.isEmpty() ? Focus::Stay : Focus::PrintButton;
    case Qt::Key_Tab:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return Focus::PrintButton;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return Focus::Column;
    default:
        return Focus::Stay;
    }
}

void PrintOptions::entryLeft()
{
    if (m_entry.isEmpty())
        return;
    bool ok = false;
    const long long n = m_entry.toLongLong(&ok);
    // Digits only reach the box; a number too long to read is past the end.
    if (!ok || n > m_columns)
        m_entry = QString::number(m_columns);
    else if (n < 1)
        m_entry = QStringLiteral("1");
}

PrintOptions::Action PrintOptions::print()
{
    switch (m_choice) {
    case Choice::Weekly: return {Action::Weekly, 0, Focus::Stay};
    case Choice::Daily: return {Action::Daily, 0, Focus::Stay};
    case Choice::Column:
    case Choice::None:
        break;
    }
    bool ok = false;
    const int n = m_entry.toInt(&ok);
    if (m_entry.isEmpty() || !ok) {
        choose(Choice::Column);
        return {Action::Nothing, 0, Focus::Entry};
    }
    return {Action::Column, std::clamp(n, 1, m_columns), Focus::Stay};
}

} // namespace book
