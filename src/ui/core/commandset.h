#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace ui {

// One command of a window and the places it stands. Empty fields: not in
// that place. Declared with designated initialisers, in this order.
struct Command {
    QString id{};                // how code and tests name it; empty: the entry, else "tb" + tool, else the key
    QString menu{};              // objectName of its menu (declared by addMenu)
    QString entry{};             // objectName of the menu entry
    QString text{};              // the entry's text, with its mnemonic
    QString shortcut{};          // portable key text ("Ctrl+Z"), registered on the entry
    int functionKey = 0;         // the window's own key (Qt::Key_F1 …, or a plain key such as a digit);
                                 // shown beside the entry when there is no shortcut
    QString tool{};              // toolbar key: the button's text and, after "tb", its objectName
    QString toolTip{};
    QString legend{};            // its words in the key legend
    QString accessibleName{};    // empty: the text (else the tooltip) without its mnemonic
    bool built = true;           // not built: disabled, "Not available yet", and does nothing
    bool menuGap = false;        // a separator before the entry
    bool toolGap = false;        // a separator before the button
    std::function<bool()> available{};   // whether it may run now; none: whenever built
    std::function<void()> run{};         // none: the entry only closes its menu
};

// A window's commands without their widgets: what the menus, toolbar,
// function keys and key legend are built from (ui::CommandTable binds them
// to widgets), and the one place a command is triggered, so a key, an entry
// and a button of the same command reach the same handler and are refused
// alike when the command cannot run.
class CommandSet : public QObject {
    Q_OBJECT
public:
    struct Menu {
        QString name, title;
        bool popup = false;      // a context menu, built on its own
        bool toolTips = true;
    };

    static const QString NotAvailable;

    explicit CommandSet(QObject *parent = nullptr) : QObject(parent) {}

    // Menus stand in the menu bar in the order declared.
    void addMenu(const QString &name, const QString &title, bool popup = false, bool toolTips = true);
    void add(Command c);
    // The window gives what a command does where only its widgets can do it.
    void setRun(const QString &id, std::function<void()> run);
    // What stands between two parts of the legend; three blanks unless set.
    void setLegendGap(const QString &gap) { m_legendGap = gap; }

    const std::vector<Menu> &menus() const { return m_menus; }
    const std::vector<Command> &commands() const { return m_commands; }
    const Command *find(const QString &id) const;
    const Command *forKey(int key) const;
    // The window's own keys, in key order.
    std::vector<int> keys() const;

    bool isAvailable(const Command &c) const { return c.built && (!c.available || c.available()); }
    bool isAvailable(const QString &id) const;

    // Runs the command when it is available; whether it ran.
    bool trigger(const QString &id);
    bool trigger(std::size_t index);
    // Whether a command has the key (the key is the window's, used up, even
    // when the command cannot run now); it is run when available.
    bool functionKey(int key);

    // The legend words of the keys, in key order, then those of commands
    // that have a shortcut and no key.
    QString legend() const;

    static QString withoutMnemonic(const QString &text);
    static QString accessibleName(const Command &c);
    // "F5", "Ctrl+Z": the key as a menu shows it beside the entry.
    static QString keyText(int key);

    // Something a command's availability reads has changed.
    void refresh() { emit availabilityChanged(); }

signals:
    void availabilityChanged();

private:
    std::vector<Menu> m_menus;
    std::vector<Command> m_commands;
    QString m_legendGap = QStringLiteral("   ");
};

} // namespace ui
