#include "invoiceprint/core/printsetupcontroller.h"

#include "store/core/dberror.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"

namespace invoiceprint {

PrintSetupController::PrintSetupController(ui::Services &services, report::Reporter &reporter,
                                           const QString &firstBox, QObject *parent)
    : QObject(parent), m_services(services), m_reporter(reporter), m_firstBox(firstBox)
{
}

bool PrintSetupController::load()
{
    try {
        bindRecords();
    } catch (const store::DbError &e) {
        m_services.prompter.message(e.numbered(), SaveTitle);
        return false;
    }
    emit recordShown();
    emit focusRequested(m_firstBox);
    return true;
}

} // namespace invoiceprint
