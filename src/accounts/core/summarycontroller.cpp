#include "accounts/core/summarycontroller.h"

#include "store/core/dberror.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

namespace accounts {

using Narrowing = SummaryList::Narrowing;
using Order = SummaryList::Order;

namespace {
QString invoiceCount(int n)
{
    return n == 1 ? QStringLiteral("1 invoice") : QStringLiteral("%1 invoices").arg(n);
}
} // namespace

SummaryController::SummaryController(ui::Services &services, QObject *parent)
    : QObject(parent), m_services(services), m_list(services.db, services.clock.today()),
      m_live(services.db, [](const QString &kind, const QString &) {
          // Any invoice may join or leave the list; any patient's name may show in it.
          return kind == QLatin1String("invoice") || kind == QLatin1String("patient");
      })
{
    connect(&m_live, &LiveWatch::due, this, &SummaryController::othersChanged);
}

void SummaryController::othersChanged()
{
    try {
        m_list.reread();
    } catch (const store::DbError &) {
        return;   // the list stays as shown until the next change or listing
    }
    // The row stays where it was; only a list grown shorter moves it up.
    const int row = m_row;
    m_row = -1;
    setRow(row);
    emit reread();
}

void SummaryController::setRow(int row)
{
    const int clamped = std::clamp(row, 0, std::max(0, m_list.rowCount() - 1));
    if (clamped == m_row)
        return;
    m_row = clamped;
    emit rowChanged();
}

bool SummaryController::narrow(const Narrowing &n, Order order, bool focusGrid)
{
    emit busyChanged(true);
    try {
        m_list.list(n, order);
    } catch (const store::DbError &e) {
        emit busyChanged(false);
        m_services.prompter.message(QStringLiteral("Error:") + QString::number(e.number()) + QLatin1Char(' ') +
                                        e.description(),
                                    QString());
        return false;
    }
    m_row = 0;
    m_live.start();   // from the first list on, it follows other stations' changes
    emit busyChanged(false);
    emit listed(focusGrid);
    emit rowChanged();
    return true;
}

void SummaryController::arrive()
{
    m_fileNo = m_services.state.currentFileNo;
    if (m_fileNo != 0)
        narrow(Narrowing::patient(m_fileNo), Order::Invoice, false);
    else
        allAccounts();
}

void SummaryController::patientSummary()
{
    const int file = m_list.valueAt(m_row, QStringLiteral("FileNo")).toInt();
    if (file <= 0)
        return;
    m_services.state.currentFileNo = file;
    if (!narrow(Narrowing::patient(file), Order::Invoice, true))
        narrow(Narrowing::patient(m_fileNo), Order::Invoice, true);
}

// The list on show narrowed further, in its order, to the name the user
// types (in capitals); nothing typed leaves it as it is.
void SummaryController::narrowToName(QString Narrowing::*name, const QString &prompt, const QString &title)
{
    const auto answer = m_services.prompter.input(prompt, title);
    if (!answer || answer->isEmpty())
        return;
    Narrowing n = m_list.narrowing();
    n.*name = answer->toUpper();
    narrow(n, m_list.order(), true);
}

void SummaryController::narrowTo(bool Narrowing::*only)
{
    Narrowing n = m_list.narrowing();
    n.*only = true;
    narrow(n, m_list.order(), true);
}

void SummaryController::referrerAccounts()
{
    narrowToName(&Narrowing::referrer, QStringLiteral("Please type name of referrer exactly as entered on invoices:"),
                 QStringLiteral("View Individual Referrer's Accounts"));
}

void SummaryController::practitionerAccounts()
{
    narrowToName(&Narrowing::practitioner,
                 QStringLiteral("Please type name of practitioner exactly as entered on invoices:"),
                 QStringLiteral("View Individual Practitioner's Accounts"));
}

void SummaryController::cashAccounts() { narrowTo(&Narrowing::cash); }
void SummaryController::unpaidAccounts() { narrowTo(&Narrowing::unpaid); }

void SummaryController::allAccounts()
{
    if (narrow({}, Order::IssueDate, true))
        setRow(m_list.rowCount() - 1);
}

void SummaryController::sortAccounts()
{
    if (narrow({}, Order::Name, true))
        setRow(m_list.rowCount() - 1);
}

void SummaryController::openRow()
{
    const int invoice = m_list.invoiceAt(m_row);
    if (invoice <= 0)
        return;
    m_services.state.currentInvoiceNo = invoice;
    m_services.state.openInvoiceByNumber = true;
    m_services.windows.replace(ui::win::Summary, ui::win::Account);
}

void SummaryController::exit()
{
    m_services.windows.replace(ui::win::Summary, ui::win::SearchMenu);
}

void SummaryController::showHelp(bool on)
{
    m_help = on;
    emit helpChanged();
}

QString SummaryController::countingLine() const
{
    return QStringLiteral("%1    Counting the totals...").arg(invoiceCount(m_list.rowCount()));
}

QString SummaryController::totalsLine() const
{
    const SummaryList::Totals &t = m_list.totals();
    return QStringLiteral("%1    Billed: %2    Paid: %3    Outstanding: %4")
        .arg(invoiceCount(m_list.rowCount()), t.billed.text(), t.paid.text(), t.outstanding.text());
}

QString SummaryController::agedLine() const
{
    const SummaryList::Totals &t = m_list.totals();
    QString line = QStringLiteral("Outstanding by issue date:    Current: %1    31-60 days: %2    61-90 days: %3    "
                                  "Over 90 days: %4")
                       .arg(t.current.text(), t.days31to60.text(), t.days61to90.text(), t.over90.text());
    if (t.undatedInvoices.empty())
        return line;
    // The balances of invoices whose issue date reads as no date, so the
    // lines add up to Outstanding; the invoices named to be put right.
    constexpr size_t Named = 5;
    QStringList numbers;
    for (size_t i = 0; i < std::min(Named, t.undatedInvoices.size()); ++i)
        numbers << QString::number(t.undatedInvoices[i]);
    QString which = (t.undatedInvoices.size() == 1 ? QStringLiteral("invoice ") : QStringLiteral("invoices ")) +
                    numbers.join(QStringLiteral(", "));
    if (t.undatedInvoices.size() > Named)
        which += QStringLiteral(" and %1 more").arg(t.undatedInvoices.size() - Named);
    return line + QStringLiteral("    Undated: %1 (%2)").arg(t.undated.text(), which);
}

QString SummaryController::listedLine() const
{
    const Narrowing &n = m_list.narrowing();
    QStringList parts;
    if (n.fileNo != 0) {
        // The patient's name as the grid shows it, when the list has a row.
        const QString name =
            m_list.rowCount() > 0 ? m_list.data(m_list.index(0, SummaryList::patientColumn())).toString() : QString();
        parts << (name.isEmpty() ? QStringLiteral("file %1").arg(n.fileNo)
                                 : QStringLiteral("file %1 (%2)").arg(n.fileNo).arg(name));
    }
    if (!n.referrer.isEmpty())
        parts << QStringLiteral("referrer %1").arg(n.referrer);
    if (!n.practitioner.isEmpty())
        parts << QStringLiteral("practitioner %1").arg(n.practitioner);
    if (n.cash)
        parts << QStringLiteral("paid in cash");
    if (n.unpaid)
        parts << QStringLiteral("unpaid");
    const Order o = m_list.order();
    const QString order = o == Order::IssueDate ? QStringLiteral("issue date")
                          : o == Order::Name    ? QStringLiteral("patient name")
                                                : QStringLiteral("invoice number");
    return (parts.isEmpty() ? QStringLiteral("All invoices")
                            : QStringLiteral("Narrowed to ") + parts.join(QStringLiteral(" + "))) +
           QStringLiteral(", by ") + order;
}

} // namespace accounts
