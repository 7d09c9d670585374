#include "accounts/core/accountcontroller.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountforms.h"
#include "accounts/core/invoicereport.h"
#include "accounts/core/recordhistory.h"
#include "accounts/core/savereport.h"
#include "report/core/reporter.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"


namespace accounts {

namespace {

namespace b = invoice::box;
namespace f = invoice::field;

const QString DeleteQuestion = QStringLiteral("Are you sure you want to delete this invoice?");
const QString NewTitle = QStringLiteral("Save GridData");
const QString PrinterNotReady =
    QStringLiteral(" \\Printer not ready! Please check printer connections and feedpaper. Retry?");
const QString About = QStringLiteral(
    "  Please visit our Homepage on the Web for latest software upgrades and bug fixes.");

QString criteria(const QString &field, int n) { return field + QStringLiteral(" = ") + QString::number(n); }

} // namespace

AccountController::AccountController(ui::Services &services, report::Reporter &reporter, QObject *parent)
    : RecordController(services, accountForm(), ui::win::Account,
                       [this](const QString &kind, const QString &key) {
                           // The invoice, and its patient's name and address in the header.
                           return (kind == InvoiceStore::Kind && key == QString::number(invoiceNo())) ||
                                  (kind == QLatin1String("patient") && key == QString::number(m_fileNo));
                       },
                       parent),
      m_reporter(reporter), m_boxes(m_model), m_invoices(services.db)
{
    // Paths that unload this window from elsewhere (the menu's Exit) leave
    // the invoice as its own Exit does.
    m_services.windows.setSettler(ui::win::Account, [this] { return leaveInvoice(); });
}

AccountController::~AccountController()
{
    m_services.windows.clearSettler(ui::win::Account);
    // However the window goes, an invoice never filled in goes with it.
    if ((m_pending || m_unsaved) && isBlank()) {
        try {
            discard(false);
        } catch (const store::DbError &) {
            // Nobody is left to tell; the blank invoice stays.
        }
    }
}

bool AccountController::load()
{
    try {
        m_record.bind(store::tables::AccountsQuery);
    } catch (const store::DbError &e) {
        error(e, Caption);
        return false;
    }
    m_live.start();
    return true;
}

void AccountController::setBox(const QString &box, const QString &text)
{
    if (m_model.text(box) == text)
        return;
    m_model.assign(box, text);
    emit textChanged(box);
}

bool AccountController::findLastOf(int fileNo)
{
    return m_record.source().findLast(criteria(f::FileNo, fileNo));
}

// The patient's last invoice on show; with none left, the patient's file
// instead, and this window goes. Throws store::DbError.
bool AccountController::showLastOf(int fileNo)
{
    if (!findLastOf(fileNo)) {
        m_services.state.currentFileNo = fileNo;
        m_services.windows.replace(ui::win::Account, ui::win::PatientDetails);
        return false;
    }
    m_record.show();
    return true;
}

void AccountController::arrive()
{
    ui::AppState &st = m_services.state;
    const bool byNumber = st.openInvoiceByNumber;
    st.openInvoiceByNumber = false;
    const int wanted = byNumber ? st.currentInvoiceNo : 0;
    const int file = st.currentFileNo;
    if (m_record.hasCurrent() && !(byNumber ? wanted == invoiceNo() : file == m_fileNo)) {
        if (!leaveInvoice())
            return;
    }
    try {
        m_record.refresh();
        const bool found = byNumber ? m_record.source().findLast(criteria(f::Invoice, wanted))
                                    : findLastOf(file);
        if (!found && !byNumber) {
            m_fileNo = file;
            newInvoice();
            return;
        }
        m_record.show();
    } catch (const store::DbError &e) {
        error(e, Caption);
        return;
    }
    m_pending = false;
    // The patient window stores a patient's first invoice blank before it
    // opens this one: it counts as unsaved until something is written.
    shownAsStored();
    focusRequested(b::description(0));
}

void AccountController::shown()
{
    const int file = m_record.readValue(f::FileNo).toInt();
    if (file != m_fileNo)
        m_header.outstanding.clear();   // the notice belongs to the patient it was found for
    if (m_record.hasCurrent())
        m_fileNo = file;
    fillHeader();
    recompute();
    chooseMode();
    checkOutstanding();
    if (m_record.hasCurrent())
        m_services.state.currentInvoiceNo = invoiceNo();
    emit recordShown();
}

// Another station stored this invoice (or its patient's file): the header
// shows its patient as stored, and the totals follow the lines on show.
bool AccountController::othersStored()
{
    if (m_unsaved)
        m_unsaved = storedBlank();   // filled in elsewhere: no longer discarded as blank
    fillHeader();
    recompute();
    chooseMode();
    return true;
}

// An invoice read anew: one stored blank counts as never saved.
void AccountController::shownAsStored()
{
    m_unsaved = storedBlank();
    shown();
}

void AccountController::fillHeader()
{
    const auto v = [this](const char *name) { return m_record.readValue(QLatin1String(name)).toString(); };
    m_header.invoice = m_record.hasCurrent() ? QString::number(invoiceNo()) : QString();
    m_header.fileNo = m_fileNo > 0 ? QString::number(m_fileNo) : QString();
    m_header.name = v("PFirstName") + QLatin1Char(' ') + v("PMI") + QLatin1Char(' ') + v("PLastName");
    m_header.address = v("PAddress");
    m_header.cityStateZip = v("PCity") + QLatin1Char(' ') + v("PState") + QLatin1Char(' ') + v("PZip");
}

void AccountController::checkOutstanding()
{
    if (m_fileNo <= 0)
        return;
    try {
        if (m_invoices.anyOutstanding(m_fileNo))
            m_header.outstanding = OutstandingNotice;
    } catch (const store::DbError &) {
        // The notice stays as it is.
    }
}

void AccountController::refuseAmount(const QString &box)
{
    m_services.prompter.message(QStringLiteral("%1 \"%2\" is not a sum of money. %3")
                                    .arg(invoiceLabel(box), m_model.text(box), amountRuleText(box)),
                                Caption, ui::Icon::Warning);
}

// Before anything is written: every amount box typed into holds a sum of
// money (kept in the form every reader takes), else the first that does
// not is named and takes the focus.
bool AccountController::amountsAccepted()
{
    for (int i = 0; i < invoice::AmountBoxes; ++i) {
        const QString box = b::amount(i);
        if (!takesAmount(box) || m_model.text(box) == m_model.loaded(box))
            continue;
        const ui::LeaveResult r = m_model.leaveRule(box, m_model.text(box));
        if (!r.ok()) {
            refuseAmount(box);
            focusRequested(box);
            return false;
        }
        setBox(box, r.text);
    }
    return true;
}

ui::LeaveResult AccountController::leave(const QString &box)
{
    const QString text = m_model.text(box);
    if (!takesAmount(box))
        return m_model.leave(box);
    if (text == m_model.loaded(box))
        return {ui::LeaveResult::Ok, text};   // as stored: an old record's text is not the user's typing
    const ui::LeaveResult r = m_model.leaveRule(box, text);
    if (!r.ok()) {
        refuseAmount(box);
        return r;
    }
    setBox(box, r.text);
    return r;
}

void AccountController::recompute()
{
    // Nothing is worked out from a box that does not hold a sum.
    if (const auto t = m_boxes.totals()) {
        setBox(b::amount(invoice::SubtotalBox), t->subtotal.text());
        setBox(b::amount(invoice::BalanceBox), t->balance.text());
    }
}

void AccountController::amountFocusChanged()
{
    recompute();
}

void AccountController::chooseMode()
{
    const bool receipt = m_boxes.receipt();
    if (receipt != m_receipt) {
        m_receipt = receipt;
        emit modeChanged();
    }
}

void AccountController::edited(const QString &box)
{
    if (box == b::amount(invoice::PaidBox))
        chooseMode();
}

bool AccountController::checked(const QString &box) const
{
    return m_boxes.checked(box);
}

void AccountController::setChecked(const QString &box, bool on)
{
    if (checked(box) == on)
        return;
    // The stored spelling again when the box goes back to what was read.
    const QString loaded = m_model.loaded(box);
    m_model.setText(box, store::Database::toBool(loaded) == on && !loaded.isEmpty()
                             ? loaded : (on ? QStringLiteral("1") : QStringLiteral("0")));
    emit textChanged(box);
}

bool AccountController::isBlank() const
{
    return m_boxes.blank();
}

bool AccountController::storedBlank() const
{
    return m_record.hasCurrent() &&
           m_boxes.storedBlank([this](const QString &field) { return m_record.readValue(field); });
}

// ---- Commands --------------------------------------------------------------

void AccountController::newInvoice()
{
    if (m_record.hasCurrent() && !leaveCheck())
        return;
    const int file = m_fileNo;
    try {
        const QVariant key = m_invoices.add(file).key;
        m_record.refresh();
        m_record.moveTo(key);
        m_record.show();
        m_services.state.currentInvoiceNo = key.toInt();
    } catch (const store::DbError &e) {
        error(e, NewTitle);
        return;
    }
    m_pending = true;
    m_unsaved = true;
    shown();
    focusRequested(b::description(0));
}

bool AccountController::save()
{
    if (m_model.text(b::Referrer).isEmpty()) {
        focusRequested(b::Referrer);
        return false;
    }
    // The balance and subtotal are stored as the invoice store works them out.
    if (!writeBoxes())
        return false;
    m_unsaved = false;
    return true;
}

void AccountController::remove()
{
    if (!m_record.hasCurrent())
        return;
    if (!m_services.prompter.ask(DeleteQuestion, DeleteTitle, ui::Icon::Question))
        return;
    const int file = m_fileNo;
    try {
        const InvoiceStore::Removal r = discard(true);
        if (r == InvoiceStore::Removal::Protected)
            return;
        if (r == InvoiceStore::Removal::Changed) {
            m_record.show();   // as the other station stored it
            shownAsStored();
            return;
        }
    } catch (const store::DbError &e) {
        error(e, DeleteTitle);
        return;
    }
    showLastOrTell(file, DeleteTitle);
}

// showLastOf(), a failure to read said under `title`.
void AccountController::showLastOrTell(int fileNo, const QString &title)
{
    try {
        if (!showLastOf(fileNo))
            return;
    } catch (const store::DbError &e) {
        error(e, title);
        return;
    }
    shownAsStored();
}

void AccountController::step(Step s)
{
    const int left = invoiceNo();
    if (!leaveInvoice())
        return;
    if (!m_record.hasCurrent() || invoiceNo() != left) {
        // The invoice left was a blank one, removed: the patient's last is next to it.
        showLastOrTell(m_fileNo, Caption);
        return;
    }
    store::RecordSource &rs = m_record.source();
    const QVariant here = m_record.key();
    const QString c = criteria(f::FileNo, m_fileNo);
    try {
        bool found = false;
        switch (s) {
        case Step::First: found = rs.findFirst(c); break;
        case Step::Previous: found = rs.findPrevious(c); break;
        case Step::Next: found = rs.findNext(c); break;
        case Step::Last: found = rs.findLast(c); break;
        }
        if (!found && here.isValid())
            m_record.moveTo(here);
        m_record.show();
    } catch (const store::DbError &) {
        if (here.isValid())
            m_record.moveTo(here);
        return;
    }
    shownAsStored();
}

void AccountController::first() { step(Step::First); }
void AccountController::previous() { step(Step::Previous); }
void AccountController::next() { step(Step::Next); }
void AccountController::last() { step(Step::Last); }

report::ReportSettings AccountController::reportSettings(int destination)
{
    return invoiceReportSettings(m_services.db, m_services.state.places, invoiceNo(), m_boxes.receipt(), destination);
}

void AccountController::output(int destination)
{
    if (!m_record.hasCurrent())
        return;
    // Printed as stored: what was typed is saved first (without a referrer
    // nothing is saved and the stored invoice prints).
    if (!m_model.text(b::Referrer).isEmpty() && !save())
        return;
    for (;;) {
        emit busyChanged(true);
        report::RunResult r;
        try {
            r = m_reporter.run(reportSettings(destination));
        } catch (const store::DbError &e) {
            r = report::RunResult::failure(e.description());
        }
        emit busyChanged(false);
        if (r.ok)
            return;
        if (!m_services.prompter.ask(r.description + PrinterNotReady, QString(), ui::Icon::Question))
            return;
        destination = report::ReportSettings::ToPrinter;
    }
}

void AccountController::summary()
{
    if (!leaveCheck())
        return;
    m_services.state.currentFileNo = m_fileNo;
    m_services.windows.replace(ui::win::Account, ui::win::Summary);
}

void AccountController::showSummaries()
{
    m_services.state.currentFileNo = m_fileNo;
    m_services.windows.show(ui::win::Summary);
}

void AccountController::history()
{
    showHistory(m_services, InvoiceStore::Kind, invoiceNo(), QStringLiteral("History of invoice %1").arg(invoiceNo()));
}

void AccountController::about()
{
    m_services.prompter.message(About, Caption);
}

} // namespace accounts
