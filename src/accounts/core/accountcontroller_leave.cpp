#include "accounts/core/accountcontroller.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountforms.h"
#include "accounts/core/savereport.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"

// Leaving an invoice: what was typed written through the invoice store, an
// invoice never filled in removed, and the words when either is refused.

namespace accounts {

namespace {

const QString SaveQuestion = QStringLiteral("Do you want to save new invoice?");

} // namespace

namespace f = invoice::field;

// After the record is shown as stored: every box typed, those another
// station had changed marked with what it stored.
void AccountController::conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested)
{
    std::vector<TypedEntry> entries;
    for (const store::FieldWrite &w : typed) {
        const ui::FormModel::Control *c = m_model.boundTo(w.field);
        const bool check = InvoiceBoxes::isCheck(c->name);
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

} // namespace accounts
