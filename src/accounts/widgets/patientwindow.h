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

    PatientController &controller() { return m_ctl; }

protected:
    bool recordEvent(QObject *watched, QEvent *event) override;
    void showRecord() override;
    void showLock() override;

private:
    void buildForm();

    PatientController m_ctl;
    QLabel *m_fileNo = nullptr;
    QRadioButton *m_invoice = nullptr;
};

} // namespace accounts
