#pragma once

#include "ui/core/commandset.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolBar;
class QWidget;

namespace ui {

// Binds a window's command set to its widgets: builds the menus, toolbar
// and function keys from it, names them for a screen reader, and enables
// and disables them as the commands' availability changes. Every entry,
// button and key triggers through the set.
class CommandTable : public QObject {
    Q_OBJECT
public:
    using Command = ui::Command;

    static const QString &NotAvailable;

    // A table with a set of its own (a window whose commands have no core class).
    explicit CommandTable(QObject *parent = nullptr);
    // A table over the set of the window's core class.
    explicit CommandTable(CommandSet &set, QObject *parent = nullptr);
    ~CommandTable() override;

    CommandSet &set() { return *m_set; }
    const CommandSet &set() const { return *m_set; }

    // Declaring into the set, for a table that has its own.
    void addMenu(const QString &name, const QString &title, bool popup = false, bool toolTips = true)
    {
        m_set->addMenu(name, title, popup, toolTips);
    }
    void add(Command c) { m_set->add(std::move(c)); }

    void buildMenuBar(QMenuBar *bar);
    QMenu *buildMenu(const QString &name, QWidget *parent);
    void buildToolBar(QToolBar *bar, const std::function<QIcon(const QString &)> &icon);
    QString legend() const { return m_set->legend(); }

    // A button of the window that stands for a command: its text (when the
    // command has one) and the name a reader says come from the command, it
    // is enabled from availability, and a click triggers the command.
    void bindButton(QAbstractButton *button, const QString &id);
    // A push button for the command, named as its id and bound as above.
    QPushButton *button(const QString &id, QWidget *parent);

    // Whether a command has the key; if so it is run when available.
    bool functionKey(int key) { return m_set->functionKey(key); }
    // The set's keys act wherever the focus is in `window` (pressed without
    // a modifier); the key is used up, not passed to the focused control.
    void bindKeys(QWidget *window);
    // The label that shows the key legend, built from the set.
    QLabel *legendLabel(QWidget *parent, const QString &objectName = QStringLiteral("lblLegend"));
    // The property that marks a window's legend label.
    static constexpr const char *LegendProperty = "commandLegend";

    // Enables and disables every bound entry and button from availability.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *bind(QAction *a, std::size_t index);
    void fillMenu(QMenu *m, const CommandSet::Menu &spec);
    void enable(QObject *o, std::size_t index);

    std::unique_ptr<CommandSet> m_own;
    CommandSet *m_set;
    struct Bound {
        QPointer<QObject> control;   // an action or a button
        std::size_t index;
    };
    std::vector<Bound> m_bound;
};

} // namespace ui
