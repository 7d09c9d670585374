#include "accounts/core/accountcontroller.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountforms.h"
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
      m_record(services.db, m_model)
{
}

AccountController::~AccountController()
{
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
    return true;
}

int AccountController::invoiceNo() const
{
    return m_record.hasCurrent() ? m_record.key().toInt() : 0;
}

void AccountController::error(const store::DbError &e, const QString &title)
{
    m_services.prompter.message(QString::number(e.number()) + QLatin1Char(' ') + e.description(), title);
}

void AccountController::conflict(const QStringList &boxes)
{
    QStringList mine;
    for (const QString &name : boxes)
        mine << name + QStringLiteral(": ") + m_model.text(name);
    m_services.prompter.message(
        QStringLiteral("Another station changed this invoice while you were editing it, so your changes "
                       "were not saved. The invoice is shown as it is stored now.\n\nYour entries:\n") +
            mine.join(QLatin1Char('\n')),
        SaveTitle, ui::Icon::Warning);
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
        const auto rows = m_services.db.select(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                .arg(store::Dialect::quote(f::BalanceDue), store::Dialect::quote(store::tables::Accounts),
                     store::Dialect::quote(f::FileNo)),
            {m_fileNo});
        for (const QSqlRecord &r : rows)
            if (!ui::Money::read(r.value(0).toString()).isZero()) {
                m_header.outstanding = OutstandingNotice;
                return;
            }
    } catch (const store::DbError &) {
        // The notice stays as it is.
    }
}

void AccountController::recompute()
{
    ui::Money subtotal;
    for (int i = 0; i < invoice::Lines; ++i)
        subtotal += ui::Money::read(m_model.text(b::amount(i)));
    const ui::Money balance = subtotal - ui::Money::read(m_model.text(b::amount(invoice::DiscountBox))) -
                              ui::Money::read(m_model.text(b::amount(invoice::PaidBox)));
    setBox(b::amount(invoice::SubtotalBox), subtotal.text());
    setBox(b::amount(invoice::BalanceBox), balance.text());
}

void AccountController::amountFocusChanged()
{
    recompute();
}

void AccountController::chooseMode()
{
    const QString paid = m_model.text(b::amount(invoice::PaidBox));
    const bool receipt = !paid.isEmpty() && !ui::Money::read(paid).isZero();
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

// Removes the invoice on show unless it is one of the protected samples.
// False when it was kept.
bool AccountController::discard(bool tell)
{
    const int n = invoiceNo();
    m_pending = false;
    m_unsaved = false;
    if (!m_record.hasCurrent())
        return true;
    if (n <= invoice::LastProtectedInvoice) {
        if (tell)
            m_services.prompter.message(
                QStringLiteral("Invoice %1 is one of the protected sample invoices 1 to 3 and was kept.").arg(n),
                DeleteTitle, ui::Icon::Information);
        return false;
    }
    store::WriteTransaction tx(m_services.db);
    m_services.db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                           .arg(store::Dialect::quote(store::tables::Accounts), store::Dialect::quote(f::Invoice)),
                       {n});
    tx.commit();
    m_record.refresh();
    return true;
}

bool AccountController::writeBoxes()
{
    ui::RecordForm::SaveResult r;
    try {
        r = m_record.save();
    } catch (const store::DbError &e) {
        error(e, SaveTitle);
        return false;
    }
    switch (r.outcome) {
    case ui::RecordForm::SaveResult::Conflict:
        conflict(r.controls);
        m_record.show();
        shown();
        return false;
    case ui::RecordForm::SaveResult::Gone:
        m_services.prompter.message(
            QStringLiteral("This invoice was deleted at another station; your changes were not saved."),
            SaveTitle, ui::Icon::Warning);
        return false;
    default:
        m_pending = false;
        m_unsaved = m_unsaved && r.outcome == ui::RecordForm::SaveResult::Unchanged;
        shown();
        return true;
    }
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
        if (!discard(true))
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
        const QVariant key = m_record.addNew({{f::FileNo, file}});
        m_record.refresh();
        m_record.moveTo(key);
        m_record.show();
        m_services.state.currentInvoiceNo = key.toInt();
    } catch (const store::DbError &e) {
        error(e, NewTitle);
        return;
    }
    m_record.setNew(false);
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
    recompute();
    if (m_model.text(b::amount(invoice::BalanceBox)).isEmpty())
        setBox(b::amount(invoice::BalanceBox), QStringLiteral("00.00"));
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
        if (!discard(true))
            return;
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
    const QString app = m_services.state.appDir;
    s.appDir = app;
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
    const QString paid = m_model.text(b::amount(invoice::PaidBox));
    const bool nothingPaid = paid.isEmpty() || ui::Money::read(paid).isZero();
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
