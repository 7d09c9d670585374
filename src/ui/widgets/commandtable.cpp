#include "ui/widgets/commandtable.h"
#include "ui/widgets/controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include <algorithm>

namespace ui {

const QString &CommandTable::NotAvailable = CommandSet::NotAvailable;

CommandTable::CommandTable(QObject *parent)
    : QObject(parent), m_own(std::make_unique<CommandSet>()), m_set(m_own.get())
{
    connect(m_set, &CommandSet::availabilityChanged, this, &CommandTable::refresh);
}

CommandTable::CommandTable(CommandSet &set, QObject *parent) : QObject(parent), m_set(&set)
{
    connect(m_set, &CommandSet::availabilityChanged, this, &CommandTable::refresh);
}

CommandTable::~CommandTable() = default;

void CommandTable::enable(QObject *o, std::size_t index)
{
    const bool on = m_set->isAvailable(m_set->commands()[index]);
    if (auto *a = qobject_cast<QAction *>(o))
        a->setEnabled(on);
    else if (auto *w = qobject_cast<QWidget *>(o))
        w->setEnabled(on);
}

QAction *CommandTable::bind(QAction *a, std::size_t index)
{
    const Command &c = m_set->commands()[index];
    if (!c.built) {
        a->setToolTip(CommandSet::NotAvailable);
        a->setStatusTip(CommandSet::NotAvailable);
    }
    enable(a, index);
    m_bound.push_back({a, index});
    connect(a, &QAction::triggered, this, [this, index] { m_set->trigger(index); });
    return a;
}

void CommandTable::refresh()
{
    std::erase_if(m_bound, [](const Bound &b) { return b.control.isNull(); });
    for (const Bound &b : m_bound)
        enable(b.control, b.index);
}

void CommandTable::bindButton(QAbstractButton *button, const QString &id)
{
    const std::vector<Command> &commands = m_set->commands();
    const auto at = std::find_if(commands.begin(), commands.end(), [&](const Command &c) { return c.id == id; });
    if (at == commands.end())
        return;
    const auto index = static_cast<std::size_t>(at - commands.begin());
    if (!at->text.isEmpty())
        button->setText(at->text);
    button->setAccessibleName(CommandSet::accessibleName(*at));
    if (!at->toolTip.isEmpty())
        button->setToolTip(at->toolTip);
    if (!at->built)
        button->setToolTip(CommandSet::NotAvailable);
    enable(button, index);
    m_bound.push_back({button, index});
    connect(button, &QAbstractButton::clicked, this, [this, index] { m_set->trigger(index); });
}

QPushButton *CommandTable::button(const QString &id, QWidget *parent)
{
    auto *b = ui::named(new QPushButton(parent), id);
    bindButton(b, id);
    return b;
}

void CommandTable::bindKeys(QWidget *window)
{
    window->installEventFilter(this);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
}

bool CommandTable::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (k->modifiers() == Qt::NoModifier && m_set->functionKey(k->key()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

QLabel *CommandTable::legendLabel(QWidget *parent, const QString &objectName)
{
    auto *label = ui::named(new QLabel(m_set->legend(), parent), objectName);
    label->setProperty(LegendProperty, true);
    return label;
}

void CommandTable::fillMenu(QMenu *m, const CommandSet::Menu &spec)
{
    m->setObjectName(spec.name);
    const std::vector<Command> &commands = m_set->commands();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command &c = commands[i];
        if (c.menu != spec.name)
            continue;
        if (c.menuGap)
            m->addSeparator();
        // A function key is the window's own, not registered a second time
        // as the entry's shortcut: it is only shown beside the text.
        const bool keyLabel = c.shortcut.isEmpty() && c.functionKey;
        QAction *a = m->addAction(keyLabel ? c.text + QLatin1Char('\t') + CommandSet::keyText(c.functionKey) : c.text);
        a->setObjectName(c.entry);
        if (!c.shortcut.isEmpty())
            a->setShortcut(QKeySequence(c.shortcut, QKeySequence::PortableText));
        bind(a, i);
    }
    if (spec.toolTips)
        m->setToolTipsVisible(true);
}

void CommandTable::buildMenuBar(QMenuBar *bar)
{
    for (const CommandSet::Menu &spec : m_set->menus())
        if (!spec.popup)
            fillMenu(bar->addMenu(spec.title), spec);
}

QMenu *CommandTable::buildMenu(const QString &name, QWidget *parent)
{
    const std::vector<CommandSet::Menu> &menus = m_set->menus();
    const auto spec = std::find_if(menus.begin(), menus.end(), [&](const CommandSet::Menu &m) { return m.name == name; });
    if (spec == menus.end())
        return nullptr;
    auto *m = new QMenu(spec->title, parent);
    fillMenu(m, *spec);
    return m;
}

void CommandTable::buildToolBar(QToolBar *bar, const std::function<QIcon(const QString &)> &icon)
{
    const std::vector<Command> &commands = m_set->commands();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command &c = commands[i];
        if (c.tool.isEmpty())
            continue;
        if (c.toolGap)
            bar->addSeparator();
        QAction *a = bar->addAction(icon ? icon(c.tool) : QIcon(), c.tool);
        a->setObjectName(QStringLiteral("tb") + c.tool);
        a->setData(c.tool);
        a->setToolTip(c.toolTip);
        bind(a, i);
        if (QWidget *button = bar->widgetForAction(a))
            button->setAccessibleName(CommandSet::accessibleName(c));
    }
}

} // namespace ui
