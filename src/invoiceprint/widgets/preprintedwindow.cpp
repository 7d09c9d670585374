#include "invoiceprint/widgets/preprintedwindow.h"

#include "invoiceprint/core/invoiceprintcommands.h"

#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/widgets/formparts.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/formbinder.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace invoiceprint {

PreprintedWindow::PreprintedWindow(ui::Services &services, report::Reporter *reporter, QWidget *parent)
    : PrintSetupWindow(services, ui::win::NoLetterHead, PreprintedController::Caption, reporter, parent)
{
    m_ctl = std::make_unique<PreprintedController>(services, this->reporter());
    setController(*m_ctl);
    addPreprintedCommands(m_commands, *m_ctl, services.windows);
    m_table = new ui::CommandTable(m_commands, this);
    buildForm();
    m_binder = bindForm(m_ctl->form());
    for (QPushButton *b : findChildren<QPushButton *>())
        m_binder->enterMovesOn(b);
    connect(m_ctl.get(), &PreprintedController::recordShown, m_binder, &ui::FormBinder::showAll);
    connect(m_ctl.get(), &PreprintedController::focusRequested, m_binder, &ui::FormBinder::focus);
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

} // namespace invoiceprint
