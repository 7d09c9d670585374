#pragma once

#include "accounts/core/patientcontroller.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/taskwindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace ui {
class FormBinder;
struct Services;
}

namespace accounts {

// frmPatientDetails: one client file in labelled boxes, with the window's
// menus, toolbar and function keys. Thin: the PatientController holds the
// file and the rules.
class PatientWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit PatientWindow(ui::Services &services, QWidget *parent = nullptr);
    ~PatientWindow() override;

    bool load();
    // The registry brought the window forward.
    void arrive();
    PatientController &controller() { return m_ctl; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildForm();
    void addCommands();
    void showRecord();
    void showLock();
    void placeLegend();
    QLineEdit *focusedBox() const;
    void cut();
    void copy();
    void paste();
    void deleteText();

    ui::Services &m_services;
    PatientController m_ctl;
    ui::CommandTable m_commands;
    ui::FormBinder *m_binder = nullptr;
    QLabel *m_fileNo = nullptr;
    QLabel *m_legend = nullptr;
    QCheckBox *m_lock = nullptr;
    QRadioButton *m_invoice = nullptr;
};

} // namespace accounts
