#pragma once

#include "accounts/core/patientcontroller.h"
#include "accounts/widgets/recordwindow.h"

class QLabel;
class QRadioButton;

namespace accounts {

// frmPatientDetails: one client file in labelled boxes, with the window's
// menus, toolbar and function keys. Thin: the PatientController holds the
// file and the rules.
class PatientWindow : public RecordWindow {
    Q_OBJECT
public:
    explicit PatientWindow(ui::Services &services, QWidget *parent = nullptr);
    ~PatientWindow() override;

    bool load();
    // The registry brought the window forward.
    void arrive();
    PatientController &controller() { return m_ctl; }

protected:
    ui::FormModel &formModel() override { return m_ctl.form(); }
    bool recordEvent(QObject *watched, QEvent *event) override;
    bool closeByUser() override;

private:
    void buildForm();
    void showRecord();
    void showLock();

    PatientController m_ctl;
    QLabel *m_fileNo = nullptr;
    QRadioButton *m_invoice = nullptr;
};

} // namespace accounts
