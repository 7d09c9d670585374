#include "invoiceprint/widgets/printsetupwindow.h"

#include "invoiceprint/core/printsetupcontroller.h"

#include "report/widgets/reportrunner.h"
#include "ui/core/services.h"
#include "ui/widgets/formbinder.h"

namespace invoiceprint {

PrintSetupWindow::PrintSetupWindow(ui::Services &services, const QString &name, const QString &caption,
                                   report::Reporter *reporter, QWidget *parent)
    : ui::TaskWindow(parent), m_reporter(reporter)
{
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    if (!m_reporter) {
        m_runner = std::make_unique<report::ReportRunner>(services.db, this, &services.prompter);
        m_reporter = m_runner.get();
    }
}

PrintSetupWindow::~PrintSetupWindow()
{
    // The binders go before the widgets: closing the window as it is destroyed
    // moves the focus, and no binder may pass that on to a controller gone.
    for (ui::FormBinder *b : m_binders)
        delete b;
}

ui::FormBinder *PrintSetupWindow::bindForm(ui::FormModel &model)
{
    auto *binder = new ui::FormBinder(this, model, this);
    binder->bind();
    m_binders.push_back(binder);
    return binder;
}

void PrintSetupWindow::setController(PrintSetupController &ctl)
{
    m_controller = &ctl;
    connect(&ctl, &PrintSetupController::busyChanged, this, &PrintSetupWindow::setBusy);
}

bool PrintSetupWindow::load()
{
    return m_controller->load();
}

bool PrintSetupWindow::closeByUser()
{
    for (ui::FormBinder *b : m_binders)
        b->setClosing(true);
    const bool close = m_controller->leave();
    for (ui::FormBinder *b : m_binders)
        b->setClosing(false);
    return close;
}

void PrintSetupWindow::setBusy(bool on)
{
    if (on)
        m_busy = std::make_unique<ui::BusyPointer>();
    else
        m_busy.reset();
}

} // namespace invoiceprint
