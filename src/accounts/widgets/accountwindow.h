#pragma once

#include "accounts/core/accountcontroller.h"
#include "accounts/widgets/recordwindow.h"
#include "report/widgets/reportrunner.h"

#include <QHash>

class QCheckBox;
class QLabel;

namespace accounts {

// frmAccount: one invoice or receipt of a patient, with the window's menus,
// toolbar and function keys. Thin: the AccountController holds the invoice
// and its rules.
class AccountWindow : public RecordWindow {
    Q_OBJECT
public:
    explicit AccountWindow(ui::Services &services, QWidget *parent = nullptr);
    ~AccountWindow() override;

    AccountController &controller() { return m_ctl; }
    report::ReportRunner &runner() { return m_runner; }

protected:
    void boxEdited(const QString &name) override { m_ctl.edited(name); }
    bool recordEvent(QObject *watched, QEvent *event) override;
    void showRecord() override;
    void showLock() override;

private:
    void buildForm();
    void showMode();
    void showChecks();

    report::ReportRunner m_runner;
    AccountController m_ctl;
    QHash<QString, QLabel *> m_header;
    QHash<QString, QCheckBox *> m_checks;
    QList<QWidget *> m_receiptOnly;
};

} // namespace accounts
