#pragma once

#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/widgets/printsetupwindow.h"

#include <memory>

class QLabel;
class QPushButton;
class QVBoxLayout;
class QGridLayout;

namespace invoiceprint {

// frmLetterHead1 ... frmLetterHead4: one window, laid out by its design.
// The letterhead boxes sit on a sheet as the design places them on paper;
// the margin boxes, the record buttons and the commands below it. Thin:
// the LetterheadController holds the records and the rules.
class LetterheadWindow : public PrintSetupWindow {
    Q_OBJECT
public:
    // `reporter` runs the sample invoice (the report engine's preview and
    // printer when none is given).
    LetterheadWindow(ui::Services &services, const Design &design, report::Reporter *reporter = nullptr,
                     QWidget *parent = nullptr);

    void arrive();
    LetterheadController &controller() { return *m_ctl; }

private:
    void buildForm();
    QWidget *buildSheet();
    QWidget *buildMargins();
    QWidget *buildButtons();
    void showRecord();
    void showHelp();

    const Design &m_design;
    std::unique_ptr<LetterheadController> m_ctl;
    ui::FormBinder *m_lhBinder = nullptr;
    ui::FormBinder *m_prBinder = nullptr;
    QLabel *m_help = nullptr;
    QLabel *m_hint = nullptr;
};

} // namespace invoiceprint
