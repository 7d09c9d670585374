#pragma once

#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

#include <memory>

class QBoxLayout;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace ui {
class CommandTable;
class FormBinder;
class FormModel;
struct Services;
}

namespace accounts {

class RecordController;

// What the client file and invoice windows share: the command set bound to
// menus, toolbar and keys, the Edit commands on the focused box, the key
// legend with the Page Lock box in its gap after F3, the busy pointer and
// the function keys acting wherever the focus is.
class RecordWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit RecordWindow(ui::Services &services, QWidget *parent = nullptr);
    ~RecordWindow() override;

    ui::CommandSet &commands() { return m_commands; }
    // Binds the record source; false (after the message) when the window is
    // not to be shown.
    bool load();
    // The registry brought the window forward.
    void arrive();

protected:
    // Once the set is declared: the menus and toolbar, and the Edit commands.
    void bindCommands();
    // Once the form's boxes are built: the form binder over the controller's
    // form, the record and the Page Lock shown as the controller has them.
    void bindForm(RecordController &ctl);
    // The form's card on the window's body: begin makes it, and once it is
    // filled end centres it with the key legend and the Page Lock box under it.
    QFrame *beginCard(int maxWidth, int topMargin);
    void endCard(QFrame *card, const QString &lockName);
    // The function keys act wherever the focus is: every control's keys pass
    // through the window first. Called once the form is complete.
    void watchKeys();
    void setBusy(bool busy);
    // The bound controls `names` take the background `focused` while they
    // have the focus, `otherwise` the rest of the time.
    void paintFocus(const QStringList &names, const QString &focused, const QString &otherwise);
    // First thing in the window's destructor, while its controller is there:
    // closing the window as it is destroyed moves the focus, and neither the
    // binder nor the key watch may pass that on to a controller already gone.
    void release();

    ui::FormModel &formModel();
    // What the window shows of the record on show beyond its bound boxes
    // (which show it by then), and the Page Lock.
    virtual void showRecord() = 0;
    virtual void showLock() = 0;

    // A box's text changed by a command of the Edit menu.
    virtual void boxEdited(const QString &name) { (void)name; }
    // Keys and mouse presses the window handles beyond the function keys.
    virtual bool recordEvent(QObject *watched, QEvent *event)
    {
        (void)watched;
        (void)event;
        return false;
    }

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;
    void resizeEvent(QResizeEvent *event) override;

    ui::Services &m_services;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table = nullptr;
    ui::FormBinder *m_binder = nullptr;
    QWidget *m_body = nullptr;
    QBoxLayout *m_outer = nullptr;
    QLabel *m_legend = nullptr;
    QCheckBox *m_lock = nullptr;

private:
    // The bound boxes as the controller holds them, those another station
    // changed marked, and then the rest of the record.
    void showBoxes();
    void placeLegend();
    QLineEdit *focusedBox() const;
    void cut();
    void copy();
    void paste();
    void deleteText();

    RecordController *m_controller = nullptr;
    std::unique_ptr<ui::BusyPointer> m_busy;
};

} // namespace accounts
