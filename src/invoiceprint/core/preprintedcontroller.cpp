#include "invoiceprint/core/preprintedcontroller.h"

#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/core/margins.h"
#include "invoiceprint/core/sampleinvoice.h"
#include "store/core/dberror.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <array>

namespace invoiceprint {

namespace {

const QString SaveTitle = QStringLiteral("Save GridData");

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
    : QObject(parent), m_services(services), m_reporter(reporter), m_model(preprintedForm()),
      m_record(services.db, m_model)
{
}

bool PreprintedController::load()
{
    try {
        m_record.bind(store::tables::Print);
    } catch (const store::DbError &e) {
        m_services.prompter.message(e.numbered(), SaveTitle);
        return false;
    }
    emit recordShown();
    return true;
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
    const auto prepare = [this, destination]() -> std::optional<report::ReportSettings> {
        const double top = inches(m_model.text(box::Top));
        const double bottom = inches(m_model.text(box::Bottom));
        const double left = inches(m_model.text(box::Left));
        const double right = inches(m_model.text(box::Right));
        if (const auto why = refusal(top, left, bottom, right)) {
            m_services.prompter.message(*why, Caption, ui::Icon::Warning);
            return std::nullopt;
        }
        const auto invoice = sampleInvoice(m_services, store::tables::AccountsQuery, Caption, SaveTitle);
        if (!invoice)
            return std::nullopt;
        report::ReportSettings s = sampleSettings(m_services.state.places, ReceiptFile, 2, *invoice, destination);
        s.marginTop = twips(top);
        s.marginBottom = twips(bottom);
        s.marginLeft = twips(left);
        s.marginRight = twips(right);
        return s;
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
