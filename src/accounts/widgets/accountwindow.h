#pragma once

#include "accounts/core/accountcontroller.h"
#include "report/widgets/reportrunner.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/taskwindow.h"

#include <QHash>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace ui {
class FormBinder;
struct Services;
}

namespace accounts {

// frmAccount: one invoice or receipt of a patient, with the window's menus,
// toolbar and function keys. Thin: the AccountController holds the invoice
// and its rules.
class AccountWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit AccountWindow(ui::Services &services, QWidget *parent = nullptr);
    ~AccountWindow() override;

    bool load();
    void arrive();
    AccountController &controller() { return m_ctl; }
    report::ReportRunner &runner() { return m_runner; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildForm();
    void addCommands();
    void showRecord();
    void showMode();
    void showLock();
    void showChecks();
    void placeLegend();
    QLineEdit *focusedBox() const;
    void copy();
    void paste();
    void deleteText();

    ui::Services &m_services;
    report::ReportRunner m_runner;
    AccountController m_ctl;
    ui::CommandTable m_commands;
    ui::FormBinder *m_binder = nullptr;
    QHash<QString, QLabel *> m_header;
    QHash<QString, QCheckBox *> m_checks;
    QList<QWidget *> m_receiptOnly;
    QLabel *m_legend = nullptr;
    QCheckBox *m_lock = nullptr;
};

} // namespace accounts
