#include "invoiceprint/widgets/preprintedwindow.h"

#include "invoiceprint/core/invoiceprintcommands.h"

#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/widgets/formparts.h"
#include "report/widgets/reportrunner.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/formbinder.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace invoiceprint {

PreprintedWindow::PreprintedWindow(ui::Services &services, report::Reporter *reporter, QWidget *parent)
    : ui::TaskWindow(parent), m_services(services)
{
    setObjectName(ui::win::NoLetterHead);
    setWindowTitle(PreprintedController::Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    if (!reporter) {
        m_runner = std::make_unique<report::ReportRunner>(services.db, this, &services.prompter);
        reporter = m_runner.get();
    }
    m_ctl = std::make_unique<PreprintedController>(services, *reporter);
    addPreprintedCommands(m_commands, *m_ctl, services.windows);
    m_table = new ui::CommandTable(m_commands, this);
    buildForm();
    m_binder = new ui::FormBinder(this, m_ctl->form(), this);
    m_binder->bind();
    for (QPushButton *b : findChildren<QPushButton *>())
        m_binder->enterMovesOn(b);
    connect(m_ctl.get(), &PreprintedController::recordShown, m_binder, &ui::FormBinder::showAll);
    connect(m_ctl.get(), &PreprintedController::focusRequested, m_binder, &ui::FormBinder::focus);
    connect(m_ctl.get(), &PreprintedController::busyChanged, this, &PreprintedWindow::setBusy);
}

PreprintedWindow::~PreprintedWindow()
{
    // The binder goes first: closing the window as it is destroyed moves the
    // focus, and the binder must not pass that on to a controller already gone.
    delete m_binder;
}

bool PreprintedWindow::load()
{
    if (!m_ctl->load())
        return false;
    m_binder->focus(box::Top);
    return true;
}

bool PreprintedWindow::closeByUser()
{
    m_binder->setClosing(true);
    const bool close = m_ctl->exit();
    m_binder->setClosing(false);
    return close;
}

void PreprintedWindow::buildForm()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(24, 18, 24, 18);
    outer->setSpacing(14);
    outer->addWidget(parts::marginRow(
        QStringLiteral("Please adjust the following printer-setup margin values to fit in with your "
                       "preprinted paper:-"),
        {{box::Top, QStringLiteral("Top Margin:")},
         {box::Bottom, QStringLiteral("Bottom Margin:")},
         {box::Left, QStringLiteral("Left Margin:")},
         {box::Right, QStringLiteral("Right Margin:")}}));
    auto *row = new QHBoxLayout;
    for (const ui::Command &c : m_commands.commands())
        row->addWidget(m_table->button(c.id, central));
    row->addStretch();
    outer->addLayout(row);
    outer->addStretch();
    setCentralWidget(central);
}

void PreprintedWindow::setBusy(bool on)
{
    if (on)
        m_busy = std::make_unique<ui::BusyPointer>();
    else
        m_busy.reset();
}

} // namespace invoiceprint
