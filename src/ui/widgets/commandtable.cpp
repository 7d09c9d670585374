#include "ui/widgets/commandtable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <map>

namespace ui {

const QString CommandTable::NotAvailable = QStringLiteral("Not available yet");

void CommandTable::addMenu(const QString &name, const QString &title, bool popup, bool toolTips)
{
    m_menus.push_back({name, title, popup, toolTips});
}

void CommandTable::add(Command c)
{
    m_commands.push_back(std::move(c));
}

QAction *CommandTable::bind(QAction *a, std::size_t index)
{
    if (!m_commands[index].available) {
        a->setEnabled(false);
        a->setToolTip(NotAvailable);
        a->setStatusTip(NotAvailable);
    }
    connect(a, &QAction::triggered, this, [this, index] { run(index); });
    return a;
}

void CommandTable::run(std::size_t index)
{
    const Command &c = m_commands[index];
    if (c.available && c.run)
        c.run();
}

void CommandTable::fillMenu(QMenu *m, const Menu &spec)
{
    m->setObjectName(spec.name);
    for (std::size_t i = 0; i < m_commands.size(); ++i) {
        const Command &c = m_commands[i];
        if (c.menu != spec.name)
            continue;
        if (c.menuGap)
            m->addSeparator();
        // A function key is the window's own, not registered a second time
        // as the entry's shortcut: it is only shown beside the text.
        const bool keyLabel = c.shortcut.isEmpty() && c.functionKey;
        QAction *a = m->addAction(keyLabel ? c.text + QLatin1Char('\t') + QKeySequence(c.functionKey).toString()
                                           : c.text);
        a->setObjectName(c.entry);
        if (!c.shortcut.isEmpty())
            a->setShortcut(c.shortcut);
        bind(a, i);
    }
    if (spec.toolTips)
        m->setToolTipsVisible(true);
}

void CommandTable::buildMenuBar(QMenuBar *bar)
{
    for (const Menu &spec : m_menus)
        if (!spec.popup)
            fillMenu(bar->addMenu(spec.title), spec);
}

QMenu *CommandTable::buildMenu(const QString &name, QWidget *parent)
{
    const auto spec = std::find_if(m_menus.begin(), m_menus.end(), [&](const Menu &m) { return m.name == name; });
    if (spec == m_menus.end())
        return nullptr;
    auto *m = new QMenu(spec->title, parent);
    fillMenu(m, *spec);
    return m;
}

void CommandTable::buildToolBar(QToolBar *bar, const std::function<QIcon(const QString &)> &icon)
{
    for (std::size_t i = 0; i < m_commands.size(); ++i) {
        const Command &c = m_commands[i];
        if (c.tool.isEmpty())
            continue;
        if (c.toolGap)
            bar->addSeparator();
        QAction *a = bar->addAction(icon ? icon(c.tool) : QIcon(), c.tool);
        a->setObjectName(QStringLiteral("tb") + c.tool);
        a->setData(c.tool);
        a->setToolTip(c.toolTip);
        bind(a, i);
    }
}

QString CommandTable::legend() const
{
    std::map<int, QString> byKey;
    for (const Command &c : m_commands)
        if (c.functionKey && !c.legend.isEmpty())
            byKey.emplace(c.functionKey, c.legend);
    QStringList parts;
    for (const auto &[key, words] : byKey)
        parts << words;
    return parts.join(QStringLiteral("   "));
}

bool CommandTable::functionKey(int key)
{
    for (std::size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].functionKey == key) {
            run(i);
            return true;
        }
    return false;
}

} // namespace ui
