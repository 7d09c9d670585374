#pragma once

#include "accounts/core/livewatch.h"
#include "accounts/core/summarylist.h"

#include <QObject>
#include <QString>

namespace ui {
struct Services;
}

namespace accounts {

// The account summaries window (frmSummary) without its widgets: the list
// of invoices, its narrowing commands and the row the grid stands on.
class SummaryController : public QObject {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Account Summary");
    static inline const QString HelpText = QStringLiteral(
        "To bring up an account for query, select the account using Arrow Keys or the Mouse and then press "
        "Space Bar. To turn off this Help Message, press F2.");

    explicit SummaryController(ui::Services &services, QObject *parent = nullptr);

    SummaryList &list() { return m_list; }
    LiveWatch &live() { return m_live; }
    int row() const { return m_row; }
    void setRow(int row);
    QString practitioner() const { return m_list.valueAt(m_row, QStringLiteral("PayTo")); }
    QString referrer() const { return m_list.valueAt(m_row, QStringLiteral("Referrer")); }
    bool helpShown() const { return m_help; }
    // What the list holds: what it is narrowed to, and its order.
    QString listedLine() const;
    // "Billed … Paid … Outstanding …" and the aged balances of the list.
    // Shown under the grid while the totals are counted.
    QString countingLine() const;
    QString totalsLine() const;
    QString agedLine() const;

    // The window came to the front: its patient's invoices, or all by issue date.
    void arrive();
    void patientSummary();      // Account Summary: the row's patient, nothing else
    // Each narrows the list shown further (a second referrer or practitioner
    // takes the place of the first).
    void referrerAccounts();
    void practitionerAccounts();
    void cashAccounts();
    void unpaidAccounts();
    // The whole list again.
    void allAccounts();         // View All Accounts, by issue date
    void sortAccounts();        // by patient name
    void openRow();             // Space, any character, double click
    void exit();
    void showHelp(bool on);

signals:
    void listed(bool focusGrid);    // a new list; the row to stand on is row()
    void reread();                  // the same list read again: its totals too
    void rowChanged();
    void helpChanged();
    void busyChanged(bool busy);

private:
    bool narrow(const SummaryList::Narrowing &n, SummaryList::Order order, bool focusGrid);
    void othersChanged();
    void narrowToName(QString SummaryList::Narrowing::*name, const QString &prompt, const QString &title);
    void narrowTo(bool SummaryList::Narrowing::*only);

    ui::Services &m_services;
    SummaryList m_list;
    LiveWatch m_live;
    int m_fileNo = 0;
    int m_row = 0;
    bool m_help = false;
};

} // namespace accounts
