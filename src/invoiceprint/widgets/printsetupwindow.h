#pragma once

#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

#include <memory>
#include <vector>

namespace report {
class ReportRunner;
class Reporter;
}
namespace ui {
class BusyPointer;
class CommandTable;
class FormBinder;
class FormModel;
struct Services;
} // namespace ui

namespace invoiceprint {

class PrintSetupController;

// What the letterhead and the preprinted-paper windows share: a window that
// goes when closed, the report engine unless the caller gives another, the
// form binders, the busy pointer while a sample invoice runs.
class PrintSetupWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    // Reads the records; false (after the message) when the window is not to
    // be shown.
    bool load();

protected:
    PrintSetupWindow(ui::Services &services, const QString &name, const QString &caption,
                     report::Reporter *reporter, QWidget *parent);
    ~PrintSetupWindow() override;

    report::Reporter &reporter() { return *m_reporter; }
    // A binder of `model` to this window's boxes, once they all exist.
    ui::FormBinder *bindForm(ui::FormModel &model);
    // Once the controller is made: what loads the window, what it does as
    // the user closes it, and the busy pointer while a sample runs.
    void setController(PrintSetupController &ctl);

    ui::CommandSet m_commands;
    ui::CommandTable *m_table = nullptr;

private:
    // The controller's leaving, with the binders told the window is closing.
    bool closeByUser() final;
    void setBusy(bool on);

    PrintSetupController *m_controller = nullptr;
    std::unique_ptr<report::ReportRunner> m_runner;
    report::Reporter *m_reporter;
    std::vector<ui::FormBinder *> m_binders;
    std::unique_ptr<ui::BusyPointer> m_busy;
};

} // namespace invoiceprint
