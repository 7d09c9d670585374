#pragma once

#include "invoiceprint/core/preprintedcontroller.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

#include <memory>

namespace report {
class ReportRunner;
class Reporter;
}
namespace ui {
class BusyPointer;
class CommandTable;
class FormBinder;
struct Services;
} // namespace ui

namespace invoiceprint {

// frmNoLetterHead: the four margins of preprinted paper and the window's
// five buttons. Thin: the PreprintedController stores and prints.
class PreprintedWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit PreprintedWindow(ui::Services &services, report::Reporter *reporter = nullptr,
                              QWidget *parent = nullptr);
    ~PreprintedWindow() override;

    bool load();
    PreprintedController &controller() { return *m_ctl; }

protected:
    bool closeByUser() override;

private:
    void buildForm();
    void setBusy(bool on);

    ui::Services &m_services;
    std::unique_ptr<report::ReportRunner> m_runner;
    std::unique_ptr<PreprintedController> m_ctl;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table = nullptr;
    ui::FormBinder *m_binder = nullptr;
    std::unique_ptr<ui::BusyPointer> m_busy;
};

} // namespace invoiceprint
