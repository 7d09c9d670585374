#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QVector>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace ui {

// One window's commands, from which its menus, toolbar, function keys and
// key legend are built and through which they all act: a function key and
// the menu entry or button of the same command reach the same handler.
class CommandTable : public QObject {
    Q_OBJECT
public:
    // A command and the places it stands. Empty fields: not in that place.
    struct Command {
        QString menu{};              // objectName of its menu (declared by addMenu)
        QString entry{};             // objectName of the menu entry
        QString text{};              // the entry's text, with its mnemonic
        QKeySequence shortcut{};
        int functionKey = 0;       // Qt::Key_F1 …; shown beside the entry when there is no shortcut
        QString tool{};              // toolbar key: the button's text and, after "tb", its objectName
        QString toolTip{};
        QString legend{};            // its words in the function-key legend
        bool available = true;     // unavailable: disabled, "Not available yet", and does nothing
        bool menuGap = false;      // a separator before the entry
        bool toolGap = false;      // a separator before the button
        std::function<void()> run{}; // none: the entry only closes its menu
    };

    static const QString NotAvailable;

    explicit CommandTable(QObject *parent = nullptr) : QObject(parent) {}

    // Menus stand in the menu bar in the order declared; a popup menu (a
    // context menu) is built on its own by buildMenu.
    void addMenu(const QString &name, const QString &title, bool popup = false, bool toolTips = true);
    void add(Command c);

    void buildMenuBar(QMenuBar *bar);
    QMenu *buildMenu(const QString &name, QWidget *parent);
    void buildToolBar(QToolBar *bar, const std::function<QIcon(const QString &)> &icon);
    // The legend of the function keys, in key order, its parts three blanks apart.
    QString legend() const;

    // Whether a command has the key; if so it is run when available.
    bool functionKey(int key);

private:
    struct Menu {
        QString name, title;
        bool popup, toolTips;
    };
    QAction *bind(QAction *a, std::size_t index);
    void fillMenu(QMenu *m, const Menu &spec);
    void run(std::size_t index);

    std::vector<Menu> m_menus;
    std::vector<Command> m_commands;
};

} // namespace ui
