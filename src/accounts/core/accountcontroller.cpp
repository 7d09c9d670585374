#include "accounts/core/accountcontroller.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountforms.h"
#include "accounts/core/recordhistory.h"
#include "accounts/core/savereport.h"
#include "report/core/reporter.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/money.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <QSqlRecord>
#include <algorithm>

namespace accounts {

namespace {

namespace b = invoice::box;
namespace f = invoice::field;

const QString SaveQuestion = QStringLiteral("Do you want to save new invoice?");
const QString SaveTitle = QStringLiteral("Save Invoice?");
const QString DeleteQuestion = QStringLiteral("Are you sure you want to delete this invoice?");
const QString DeleteTitle = QStringLiteral("Delete Invoice");
const QString NewTitle = QStringLiteral("Save GridData");
const QString PrinterNotReady =
    QStringLiteral(" \\Printer not ready! Please check printer connections and feedpaper. Retry?");
const QString About = QStringLiteral(
    "  Please visit our Homepage on the Web for latest software upgrades and bug fixes.");

QString criteria(const QString &field, int n) { return field + QStringLiteral(" = ") + QString::number(n); }

bool isCheck(const QString &box) { return box == b::Cash || box == b::Cheque || box == b::Card; }

// Margins are stored in inches; the engine takes 16-bit whole twips.
int twips(const QVariant &inches)
{
    const long v = std::lround(inches.toDouble() * 1440.0);
    return int(std::clamp(v, -32768L, 32767L));
}

} // namespace

AccountController::AccountController(ui::Services &services, report::Reporter &reporter, QObject *parent)
    : QObject(parent), m_services(services), m_reporter(reporter), m_model(accountForm()),
      m_record(services.db, m_model), m_invoices(services.db),
      m_live(services.db, [this](const QString &kind, const QString &key) {
          // The invoice, and its patient's name and address in the header.
          return (kind == InvoiceStore::Kind && key == QString::number(invoiceNo())) ||
                 (kind == QLatin1String("patient") && key == QString::number(m_fileNo));
      })
{
    connect(&m_live, &LiveWatch::due, this, &AccountController::othersChanged);
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

int AccountController::invoiceNo() const
{
    return m_record.hasCurrent() ? m_record.key().toInt() : 0;
}

void AccountController::error(const store::DbError &e, const QString &title)
{
    if (e.number() == store::DbError::Restored) {
        m_services.prompter.message(e.numbered() + QStringLiteral("\n\nYour entries are still in the boxes, over the "
                                                                  "record as it was restored: save again to store them."),
                                    title, ui::Icon::Warning);
        return;
    }
    m_services.prompter.message(QString::number(e.number()) + QLatin1Char(' ') + e.description(), title);
}

// After the record is shown as stored: every box typed, those another
// station had changed marked with what it stored.
void AccountController::conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested)
{
    std::vector<TypedEntry> entries;
    for (const store::FieldWrite &w : typed) {
        const ui::FormModel::Control *c = m_model.boundTo(w.field);
        const bool check = isCheck(c->name);
        const auto yesNo = [](const QString &v) {
            return store::Database::toBool(v) ? QStringLiteral("Yes") : QStringLiteral("No");
        };
        const bool lost = contested.contains(w.field, Qt::CaseInsensitive);
        const QString now = m_model.text(c->name);
        entries.push_back({invoiceLabel(c->name), check ? yesNo(w.value) : w.value, lost, check ? yesNo(now) : now});
    }
    m_services.prompter.message(conflictMessage(QStringLiteral("invoice"), entries), SaveTitle, ui::Icon::Warning);
    // What was not saved stays typed, over what the other station stored.
    for (const store::FieldWrite &w : typed)
        if (contested.contains(w.field, Qt::CaseInsensitive))
            setBox(m_model.boundTo(w.field)->name, w.value);
    recompute();
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
    m_unsaved = storedBlank();
    shown();
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

// Another station stored this invoice (or its patient's file): the boxes
// not typed in show what it stored, those typed in keep their text and are
// marked, and the totals follow the lines on show.
void AccountController::othersChanged()
{
    QStringList marked;
    try {
        marked = m_record.rereadElsewhere();
    } catch (const store::DbError &) {
        return;   // shown as it was; the next change or save reads it again
    }
    if (m_unsaved)
        m_unsaved = storedBlank();   // filled in elsewhere: no longer discarded as blank
    fillHeader();
    recompute();
    chooseMode();
    for (const QString &box : marked)
        emit textChanged(box);
    emit boxesMarked();
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

// The sum an amount box holds: a stored text as every reader of stored
// amounts takes it (old records hold all sorts), a typed one only when it is
// a sum of money. Nothing for a typed text that is not.
std::optional<ui::Money> AccountController::amountIn(const QString &box) const
{
    const QString text = m_model.text(box);
    if (text == m_model.loaded(box) || text.trimmed().isEmpty() || !takesAmount(box))
        return ui::Money::read(text);
    return ui::Money::readTyped(text, QLocale(), takesCredit(box));
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
    ui::Money subtotal;
    for (int i = 0; i < invoice::Lines; ++i) {
        const auto fee = amountIn(b::amount(i));
        if (!fee)
            return;
        subtotal += *fee;
    }
    const auto discount = amountIn(b::amount(invoice::DiscountBox));
    const auto paid = amountIn(b::amount(invoice::PaidBox));
    if (!discount || !paid)
        return;
    const ui::Money balance = subtotal - *discount - *paid;
    const auto fits = [](ui::Money m) { return m.cents() <= ui::Money::MaxCents && m.cents() >= -ui::Money::MaxCents; };
    if (!fits(subtotal) || !fits(balance))
        return;
    setBox(b::amount(invoice::SubtotalBox), subtotal.text());
    setBox(b::amount(invoice::BalanceBox), balance.text());
}

void AccountController::amountFocusChanged()
{
    recompute();
}

void AccountController::chooseMode()
{
    // A payment typed that is no sum leaves the mode as the stored invoice has it.
    const QString box = b::amount(invoice::PaidBox);
    const auto typed = amountIn(box);
    const QString paid = typed ? m_model.text(box) : m_model.loaded(box);
    const bool receipt = !paid.isEmpty() && !(typed ? *typed : ui::Money::read(paid)).isZero();
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
    return store::Database::toBool(m_model.text(box));
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
    for (const auto &c : m_model.controls()) {
        if (c.field.isEmpty())
            continue;
        if (isCheck(c.name) ? checked(c.name) : !m_model.text(c.name).isEmpty()) {
            // The computed totals of an empty invoice are zero, not content.
            const bool computed = c.name == b::amount(invoice::SubtotalBox) || c.name == b::amount(invoice::BalanceBox);
            if (!(computed && ui::Money::read(m_model.text(c.name)).isZero()))
                return false;
        }
    }
    return true;
}

bool AccountController::storedBlank() const
{
    if (!m_record.hasCurrent())
        return false;
    for (const auto &c : m_model.controls()) {
        if (c.field.isEmpty())
            continue;
        const QVariant v = m_record.readValue(c.field);
        if (isCheck(c.name) ? store::Database::toBool(v) : !v.toString().trimmed().isEmpty())
            return false;
    }
    return true;
}

// ---- Leaving an invoice ----------------------------------------------------

// Removes the invoice on show unless it is one of the protected samples or
// another station changed it since this one read it (what that station
// stored is not deleted unseen); `tell` says so to the user.
InvoiceStore::Removal AccountController::discard(bool tell)
{
    const int n = invoiceNo();
    m_pending = false;
    m_unsaved = false;
    if (!m_record.hasCurrent())
        return InvoiceStore::Removal::Gone;
    const InvoiceStore::Removal r = m_invoices.remove(n, m_record.readValues()).outcome;
    switch (r) {
    case InvoiceStore::Removal::Protected:
        if (tell)
            m_services.prompter.message(
                QStringLiteral("Invoice %1 is one of the protected sample invoices 1 to 3 and was kept.").arg(n),
                DeleteTitle, ui::Icon::Information);
        break;
    case InvoiceStore::Removal::Changed:
        if (tell)
            m_services.prompter.message(
                QStringLiteral("Another station changed invoice %1 after you opened it, so it was not deleted.")
                    .arg(n),
                DeleteTitle, ui::Icon::Warning);
        break;
    case InvoiceStore::Removal::Removed:
    case InvoiceStore::Removal::Gone:
        m_record.refresh();
        break;
    }
    return r;
}

// Writes what was typed through the invoice store, which works the totals
// out from the stored lines; the boxes then show the invoice as stored.
bool AccountController::writeBoxes()
{
    if (!m_record.hasCurrent())
        return true;
    if (!amountsAccepted())
        return false;
    // The totals on show only say whether the stored ones need working out again.
    const std::vector<store::FieldWrite> changed = m_record.changes();
    std::vector<store::FieldWrite> typed;
    for (const store::FieldWrite &w : changed)
        if (w.field.compare(f::Subtotal, Qt::CaseInsensitive) != 0 &&
            w.field.compare(f::BalanceDue, Qt::CaseInsensitive) != 0)
            typed.push_back(w);
    if (changed.empty()) {
        m_pending = false;
        shown();
        return true;
    }
    InvoiceStore::Write r;
    try {
        m_record.checkGeneration();
        r = m_invoices.write(invoiceNo(), typed);
        if (r.outcome != InvoiceStore::Write::Gone)
            m_record.show();
    } catch (const store::DbError &e) {
        error(e, SaveTitle);
        if (e.number() == store::DbError::Restored && m_record.rereadKeepingTyped()) {
            shown();
        }
        return false;
    }
    if (r.outcome == InvoiceStore::Write::Gone) {
        m_services.prompter.message(
            QStringLiteral("This invoice was deleted at another station; your changes were not saved."),
            SaveTitle, ui::Icon::Warning);
        return false;
    }
    if (r.outcome == InvoiceStore::Write::Saved)
        m_unsaved = false;
    shown();
    if (!r.contested.isEmpty()) {
        conflict(typed, r.contested);
        return false;
    }
    m_pending = false;
    return true;
}

// Leaving the invoice on show for another, or the window: what was typed is
// written (a write refused by another station's edit keeps the window on
// it); an invoice never filled in is removed.
bool AccountController::leaveInvoice()
{
    if (!m_record.hasCurrent())
        return true;
    try {
        if ((m_pending || m_unsaved) && isBlank()) {
            discard(false);
            return true;
        }
    } catch (const store::DbError &e) {
        error(e, DeleteTitle);
        return false;
    }
    return writeBoxes();
}

// Before New, Exit and Summary: the question about a new invoice.
bool AccountController::leaveCheck()
{
    if (!m_pending)
        return leaveInvoice();
    if (m_services.prompter.ask(SaveQuestion, SaveTitle, ui::Icon::Question))
        return save();
    try {
        if (discard(true) == InvoiceStore::Removal::Protected)
            m_pending = true;   // a protected invoice stays, still new
    } catch (const store::DbError &e) {
        error(e, DeleteTitle);
        return false;
    }
    return true;
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
            m_unsaved = storedBlank();
            shown();
            return;
        }
        if (!findLastOf(file)) {
            m_services.state.currentFileNo = file;
            m_services.windows.show(ui::win::PatientDetails);
            m_services.windows.unload(ui::win::Account);
            return;
        }
        m_record.show();
    } catch (const store::DbError &e) {
        error(e, DeleteTitle);
        return;
    }
    m_unsaved = storedBlank();
    shown();
}

void AccountController::step(Step s)
{
    const int left = invoiceNo();
    if (!leaveInvoice())
        return;
    if (!m_record.hasCurrent() || invoiceNo() != left) {
        // The invoice left was a blank one, removed: the patient's last is next to it.
        try {
            if (!findLastOf(m_fileNo)) {
                m_services.state.currentFileNo = m_fileNo;
                m_services.windows.show(ui::win::PatientDetails);
                m_services.windows.unload(ui::win::Account);
                return;
            }
            m_record.show();
        } catch (const store::DbError &e) {
            error(e, Caption);
            return;
        }
        m_unsaved = storedBlank();
        shown();
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
    m_unsaved = storedBlank();
    shown();
}

void AccountController::first() { step(Step::First); }
void AccountController::previous() { step(Step::Previous); }
void AccountController::next() { step(Step::Next); }
void AccountController::last() { step(Step::Last); }

report::ReportSettings AccountController::reportSettings(int destination)
{
    report::ReportSettings s;
    const QString app = m_services.state.places.data();
    s.dataDir = app;
    s.programFiles = m_services.state.places.programFiles();
    const auto rows = m_services.db.select(
        QStringLiteral("SELECT * FROM %1 ORDER BY %2 LIMIT 1")
            .arg(store::Dialect::quote(store::tables::Print), store::Dialect::quote(QStringLiteral("ID"))));
    QSqlRecord print = rows.empty() ? QSqlRecord() : rows.front();
    const auto value = [&print](const char *name) {
        for (int i = 0; i < print.count(); ++i)
            if (print.fieldName(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return print.value(i);
        return QVariant();
    };
    s.marginTop = twips(value("MarginTop"));
    s.marginLeft = twips(value("MarginLeft"));
    s.marginBottom = twips(value("MarginBottom"));
    s.marginRight = twips(value("MarginRight"));
    // Nothing paid: the invoice layout ("Account"); a payment: the receipt's.
    const QString box = b::amount(invoice::PaidBox);
    const auto typed = amountIn(box);
    const QString paid = typed ? m_model.text(box) : m_model.loaded(box);
    const bool nothingPaid = paid.isEmpty() || (typed ? *typed : ui::Money::read(paid)).isZero();
    s.reportFile = app + value(nothingPaid ? "Account" : "invoice").toString();
    for (QString &d : s.dataFiles)
        d = app + QStringLiteral("\\db.mdb");
    s.selectionFormula = QStringLiteral("{tbl_Accounts.Invoice}=") + QString::number(invoiceNo());
    s.destination = destination;
    return s;
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

void AccountController::toMenu()
{
    m_services.windows.show(ui::win::SearchMenu);
    m_services.windows.unload(ui::win::Account);
}

bool AccountController::exit()
{
    if (!leaveCheck())
        return false;
    toMenu();
    return true;
}

void AccountController::open()
{
    if (leaveInvoice())
        toMenu();
}

void AccountController::summary()
{
    if (!leaveCheck())
        return;
    m_services.state.currentFileNo = m_fileNo;
    m_services.windows.show(ui::win::Summary);
    m_services.windows.unload(ui::win::Account);
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

void AccountController::viewFiles()
{
    m_services.windows.show(ui::win::Search);
}

void AccountController::togglePageLock()
{
    m_model.setLocked(!m_model.locked());
    emit lockChanged();
}

void AccountController::help()
{
    m_services.state.helpField = QStringLiteral("Help2");
    m_services.windows.show(ui::win::Help);
}

void AccountController::about()
{
    m_services.prompter.message(About, Caption);
}

} // namespace accounts
