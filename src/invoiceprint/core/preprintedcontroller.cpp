#include "invoiceprint/core/preprintedcontroller.h"

#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/core/margins.h"
#include "invoiceprint/core/sampleinvoice.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <array>

namespace invoiceprint {

namespace {

struct Margin {
    const QString &box;
    const char *field;
    const char *reset;
};
const std::array<Margin, 4> &marginTable()
{
    static const std::array<Margin, 4> t{{{box::Top, "MarginTop", "2.00"},
                                          {box::Bottom, "MarginBottom", "0.55"},
                                          {box::Left, "MarginLeft", "0.12"},
                                          {box::Right, "MarginRight", "0.12"}}};
    return t;
}

ui::FormModel preprintedForm()
{
    ui::FormModel m;
    for (const Margin &x : marginTable())
        m.add(marginBox(x.box, QString::fromLatin1(x.field)));
    addReportFileFields(m);
    return m;
}

} // namespace

PreprintedController::PreprintedController(ui::Services &services, report::Reporter &reporter,
                                           QObject *parent)
    : PrintSetupController(services, reporter, box::Top, parent), m_model(preprintedForm()),
      m_record(services.db, m_model)
{
}

void PreprintedController::bindRecords()
{
    m_record.bind(store::tables::Print);
}

bool PreprintedController::save()
{
    for (const Margin &x : marginTable())
        m_model.setText(x.box, normalised(m_model.text(x.box)));
    const auto why = refusal(inches(m_model.text(box::Top)), inches(m_model.text(box::Left)),
                             inches(m_model.text(box::Bottom)), inches(m_model.text(box::Right)));
    if (why) {
        emit recordShown();
        m_services.prompter.message(*why, SaveTitle, ui::Icon::Warning);
        emit focusRequested(box::Top);
        return false;
    }
    if (!storePrintRecord(m_services.prompter, m_record, m_model, UnpaidFile, ReceiptFile,
                          QStringLiteral("your values were not saved"), [this] { emit recordShown(); }))
        return false;
    emit recordShown();
    return true;
}

bool PreprintedController::reset()
{
    for (const Margin &x : marginTable())
        m_model.setText(x.box, QString::fromLatin1(x.reset));
    emit recordShown();
    return save();
}

void PreprintedController::preview() { run(report::ReportSettings::ToWindow); }
void PreprintedController::print() { run(report::ReportSettings::ToPrinter); }

void PreprintedController::run(int destination)
{
    const auto prepare = [this, destination] {
        return marginSample(m_services, {Caption, store::tables::AccountsQuery, ReceiptFile, 2},
                            {inches(m_model.text(box::Top)), inches(m_model.text(box::Left)),
                             inches(m_model.text(box::Bottom)), inches(m_model.text(box::Right))},
                            destination);
    };
    runWithRetry(m_services, m_reporter, prepare, [this](bool on) { emit busyChanged(on); });
}

bool PreprintedController::exit()
{
    if (m_services.prompter.ask(ExitQuestion, ExitTitle, ui::Icon::Question) && !save())
        return false;
    m_services.windows.show(ui::win::Menu);
    return true;
}

} // namespace invoiceprint
