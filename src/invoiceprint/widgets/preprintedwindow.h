#pragma once

#include "invoiceprint/core/preprintedcontroller.h"
#include "invoiceprint/widgets/printsetupwindow.h"

#include <memory>

namespace invoiceprint {

// frmNoLetterHead: the four margins of preprinted paper and the window's
// five buttons. Thin: the PreprintedController stores and prints.
class PreprintedWindow : public PrintSetupWindow {
    Q_OBJECT
public:
    explicit PreprintedWindow(ui::Services &services, report::Reporter *reporter = nullptr,
                              QWidget *parent = nullptr);

    PreprintedController &controller() { return *m_ctl; }

private:
    void buildForm();

    std::unique_ptr<PreprintedController> m_ctl;
    ui::FormBinder *m_binder = nullptr;
};

} // namespace invoiceprint
