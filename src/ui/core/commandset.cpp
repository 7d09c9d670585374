#include "ui/core/commandset.h"

#include <QStringList>

#include <map>

namespace ui {

const QString CommandSet::NotAvailable = QStringLiteral("Not available yet");

void CommandSet::addMenu(const QString &name, const QString &title, bool popup, bool toolTips)
{
    m_menus.push_back({name, title, popup, toolTips});
}

void CommandSet::add(Command c)
{
    if (c.id.isEmpty())
        c.id = !c.entry.isEmpty() ? c.entry
             : !c.tool.isEmpty()  ? QStringLiteral("tb") + c.tool
                                  : keyText(c.functionKey);
    m_commands.push_back(std::move(c));
}

const Command *CommandSet::find(const QString &id) const
{
    for (const Command &c : m_commands)
        if (c.id == id)
            return &c;
    return nullptr;
}

const Command *CommandSet::forKey(int key) const
{
    if (key == 0)
        return nullptr;
    for (const Command &c : m_commands)
        if (c.functionKey == key)
            return &c;
    return nullptr;
}

std::vector<int> CommandSet::keys() const
{
    std::map<int, bool> byKey;
    for (const Command &c : m_commands)
        if (c.functionKey)
            byKey[c.functionKey] = true;
    std::vector<int> out;
    for (const auto &entry : byKey)
        out.push_back(entry.first);
    return out;
}

void CommandSet::setRun(const QString &id, std::function<void()> run)
{
    for (Command &c : m_commands)
        if (c.id == id)
            c.run = run;
}

bool CommandSet::isAvailable(const QString &id) const
{
    const Command *c = find(id);
    return c && isAvailable(*c);
}

bool CommandSet::trigger(std::size_t index)
{
    if (index >= m_commands.size())
        return false;
    // A copy: the command may close the window that owns this set.
    const Command c = m_commands[index];
    if (!isAvailable(c) || !c.run)
        return false;
    c.run();
    return true;
}

bool CommandSet::trigger(const QString &id)
{
    for (std::size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].id == id)
            return trigger(i);
    return false;
}

bool CommandSet::functionKey(int key)
{
    if (key == 0)
        return false;
    for (std::size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].functionKey == key) {
            trigger(i);
            return true;
        }
    return false;
}

QString CommandSet::legend() const
{
    std::map<int, QString> byKey;
    for (const Command &c : m_commands)
        if (c.functionKey && !c.legend.isEmpty())
            byKey.emplace(c.functionKey, c.legend);
    QStringList parts;
    for (const auto &[key, words] : byKey)
        parts << words;
    // A command reached by a shortcut alone, named on the legend, after the keys.
    for (const Command &c : m_commands)
        if (!c.functionKey && !c.shortcut.isEmpty() && !c.legend.isEmpty())
            parts << c.legend;
    return parts.join(m_legendGap);
}

QString CommandSet::withoutMnemonic(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;   // "&&" is a plain ampersand; "&x" is x
        out += text[i];
    }
    return out;
}

QString CommandSet::accessibleName(const Command &c)
{
    if (!c.accessibleName.isEmpty())
        return c.accessibleName;
    return withoutMnemonic(!c.text.isEmpty() ? c.text : !c.toolTip.isEmpty() ? c.toolTip : c.tool);
}

QString CommandSet::keyText(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Escape)
        return QStringLiteral("Esc");
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QStringLiteral("Enter");
    if (key > 0x20 && key < 0x7f)
        return QString(QChar(key));
    return key ? QStringLiteral("0x%1").arg(key, 0, 16) : QString();
}

} // namespace ui
