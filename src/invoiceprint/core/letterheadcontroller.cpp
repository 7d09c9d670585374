#include "invoiceprint/core/letterheadcontroller.h"

#include "invoiceprint/core/margins.h"
#include "invoiceprint/core/sampleinvoice.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

namespace invoiceprint {

namespace {

const QString AccountField = QStringLiteral("Account");
const QString InvoiceField = QStringLiteral("invoice");

ui::FormModel letterheadForm(const Design &d)
{
    ui::FormModel m;
    m.add({box::Clinic, QStringLiteral("Clinic1")});
    m.add({box::Address1, QStringLiteral("Address1")});
    m.add({box::Address2, QStringLiteral("Address2")});
    m.add({box::Telephone, QStringLiteral("Telephone")});
    m.add({box::Fax, QStringLiteral("Fax")});
    m.add({box::Hours, QStringLiteral("HoursOpen")});
    for (const PractitionerPair &p : d.pairs()) {
        m.add({p.nameBox, p.nameField});
        m.add({p.titleBox, p.titleField});
    }
    return m;
}

ui::FormModel printForm()
{
    ui::FormModel m;
    m.add(marginBox(box::Top, QStringLiteral("MarginTop")));
    m.add(marginBox(box::Left, QStringLiteral("MarginLeft")));
    addReportFileFields(m);
    return m;
}

// What the user typed into boxes that were not stored, to be told with
// the message that says why.
QString entries(const ui::FormModel &m, const QStringList &boxes)
{
    QStringList lines;
    for (const QString &b : boxes)
        lines << m.text(b);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ui::FormModel::Control marginBox(const QString &name, const QString &field)
{
    ui::FormModel::Control c{name, field};
    c.leave = [](const QString &text) { return ui::LeaveResult{ui::LeaveResult::Ok, normalised(text)}; };
    c.accepts = [](QChar ch) { return ch.isPrint(); };
    c.maxLength = 10;
    return c;
}

void addReportFileFields(ui::FormModel &model)
{
    // No widget shows them: they are written with the margins' update.
    ui::FormModel::Control account{AccountField, AccountField};
    account.text = false;
    ui::FormModel::Control invoice{InvoiceField, InvoiceField};
    invoice.text = false;
    model.add(account);
    model.add(invoice);
}

namespace {

// The report file names into their fields (changed only where they differ).
void setReportFiles(ui::FormModel &model, const QString &unpaid, const QString &receipt)
{
    model.assign(AccountField, unpaid);
    model.assign(InvoiceField, receipt);
}

// A table without its record gets one, and keeps what the boxes hold.
void ensureRecord(ui::RecordForm &record, ui::FormModel &model)
{
    if (record.hasCurrent())
        return;
    QHash<QString, QString> typed;
    for (const QString &b : model.textControls())
        typed.insert(b, model.text(b));
    record.addNew();
    for (auto it = typed.begin(); it != typed.end(); ++it)
        model.assign(it.key(), it.value());
}

} // namespace

bool storePrintRecord(ui::Prompter &prompter, ui::RecordForm &record, ui::FormModel &model, const QString &unpaid,
                      const QString &receipt, const QString &notSaved, const std::function<void()> &shown)
{
    try {
        ensureRecord(record, model);
        setReportFiles(model, unpaid, receipt);
        const ui::RecordForm::SaveResult r = record.save();
        if (r.outcome == ui::RecordForm::SaveResult::Conflict) {
            const QString typed = entries(model, r.controls);
            record.show();
            shown();
            prompter.message(QStringLiteral("Another station changed the printer-setup values while you were "
                                            "editing them, so %1. They are shown as they are stored now.\n\n"
                                            "Your values:\n")
                                     .arg(notSaved) +
                                 typed,
                             LetterheadController::SaveTitle, ui::Icon::Warning);
            return false;
        }
    } catch (const store::DbError &e) {
        prompter.message(e.numbered(), LetterheadController::SaveTitle);
        return false;
    }
    return true;
}

LetterheadController::LetterheadController(ui::Services &services, const Design &design,
                                           report::Reporter &reporter, QObject *parent)
    : PrintSetupController(services, reporter, box::Clinic, parent), m_design(design),
      m_lh(letterheadForm(design)), m_pr(printForm()), m_lhRecord(services.db, m_lh),
      m_prRecord(services.db, m_pr)
{
    // Until the first record is read.
    m_pr.assign(box::Top, QStringLiteral("1.00"));
    m_pr.assign(box::Left, QStringLiteral("0.12"));
}

ui::FormModel *LetterheadController::modelOf(const QString &name)
{
    if (m_lh.has(name))
        return &m_lh;
    if (m_pr.has(name))
        return &m_pr;
    return nullptr;
}

void LetterheadController::bindRecords()
{
    m_prRecord.bind(store::tables::Print);
    m_lhRecord.bind(store::tables::Letterhead);
    toShownRecord();
}

void LetterheadController::toShownRecord()
{
    m_lhRecord.first();
    for (int i = 1; i < m_design.shownRecord; ++i)
        m_lhRecord.next();
    m_lhRecord.show();
}

void LetterheadController::arrive()
{
    if (!m_design.rereadOnArrive)
        return;
    if (move(Step::Shown))
        emit focusRequested(box::Clinic);
}

bool LetterheadController::leaveRecord()
{
    ui::RecordForm::SaveResult r;
    try {
        r = m_lhRecord.save();
    } catch (const store::DbError &e) {
        m_services.prompter.message(e.numbered(), SaveTitle);
        return false;
    }
    if (r.outcome == ui::RecordForm::SaveResult::Conflict) {
        const QString typed = entries(m_lh, r.controls);
        m_services.prompter.message(
            QStringLiteral("Another station changed this letterhead while you were editing it, so your "
                           "changes were not saved. It is shown as it is stored now.\n\nYour entries:\n") +
                typed,
            SaveTitle, ui::Icon::Warning);
        try {
            m_lhRecord.show();
        } catch (const store::DbError &) {
        }
        emit recordShown();
        return false;
    }
    return true;
}

bool LetterheadController::move(Step step)
{
    if (!leaveRecord())
        return false;
    try {
        m_lhRecord.refresh();
        switch (step) {
        case Step::First: m_lhRecord.first(); break;
        case Step::Previous: m_lhRecord.previous(); break;
        case Step::Next: m_lhRecord.next(); break;
        case Step::Last: m_lhRecord.last(); break;
        case Step::Shown: toShownRecord(); emit recordShown(); return true;
        }
        m_lhRecord.show();
    } catch (const store::DbError &e) {
        m_services.prompter.message(e.numbered(), SaveTitle);
        return false;
    }
    emit recordShown();
    return true;
}

void LetterheadController::first() { move(Step::First); }
void LetterheadController::previous() { move(Step::Previous); }
void LetterheadController::next() { move(Step::Next); }
void LetterheadController::last() { move(Step::Last); }

void LetterheadController::samples()
{
    if (!leaveRecord())
        return;
    m_services.windows.replace(m_design.window, invoiceprint::design(m_design.next).window);
}

void LetterheadController::designOwn()
{
    if (!move(Step::Last))
        return;
    m_services.state.currentInvoiceNo = 1;
    emit focusRequested(box::Clinic);
}

void LetterheadController::clear()
{
    if (m_design.clearGoesToOwn && !move(Step::Last))
        return;
    // Emptied, not reloaded: the boxes count as changed, so Save stores them empty.
    for (const QString &b : m_lh.textControls())
        m_lh.assign(b, QString());
    m_pr.assign(box::Top, QString());
    m_pr.assign(box::Left, QString());
    emit recordShown();
    emit focusRequested(box::Clinic);
}

bool LetterheadController::save()
{
    if (!move(Step::Last))
        return false;
    return saveMargins();
}

bool LetterheadController::saveMargins()
{
    for (const QString &b : {box::Top, box::Left})
        m_pr.setText(b, normalised(m_pr.text(b)));
    if (const auto why = refusal(inches(m_pr.text(box::Top)), inches(m_pr.text(box::Left)))) {
        emit recordShown();
        m_services.prompter.message(*why, SaveTitle, ui::Icon::Warning);
        emit focusRequested(box::Top);
        return false;
    }
    if (!storePrintRecord(m_services.prompter, m_prRecord, m_pr, m_design.unpaidFile, m_design.receiptFile,
                          QStringLiteral("this design was not saved"), [this] { emit recordShown(); }))
        return false;
    emit recordShown();
    return true;
}

void LetterheadController::preview() { run(report::ReportSettings::ToWindow); }
void LetterheadController::print() { run(report::ReportSettings::ToPrinter); }

void LetterheadController::run(int destination)
{
    const auto prepare = [this, destination] {
        auto s = marginSample(m_services, {m_design.caption, store::tables::Accounts, m_design.receiptFile, 3},
                              {inches(m_pr.text(box::Top)), inches(m_pr.text(box::Left))}, destination);
        // The sample names the design on show; the invoice keeps its own.
        if (s && m_lhRecord.hasCurrent())
            s->letterhead = m_lhRecord.key().toInt();
        return s;
    };
    const bool busy = destination == report::ReportSettings::ToPrinter || m_design.previewBusy;
    runWithRetry(m_services, m_reporter, prepare, [this, busy](bool on) {
        if (busy)
            emit busyChanged(on);
    });
}

bool LetterheadController::finish()
{
    if (m_services.prompter.ask(FinishQuestion, FinishTitle, ui::Icon::Question)) {
        if (!save())
            return false;
    } else if (!leaveRecord()) {
        return false;
    }
    m_services.windows.show(ui::win::Menu);
    return true;
}

void LetterheadController::showHelp(bool on)
{
    if (m_help == on)
        return;
    m_help = on;
    emit helpChanged();
}

} // namespace invoiceprint
