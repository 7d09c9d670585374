#pragma once

#include "accounts/core/invoiceboxes.h"
#include "accounts/core/invoicestore.h"
#include "accounts/core/recordcontroller.h"
#include "report/core/reportsettings.h"
#include "ui/core/money.h"

#include <optional>

namespace report {
class Reporter;
}


namespace accounts {

// The invoice window (frmAccount) without its widgets: one invoice of one
// patient in the bound boxes, its amounts kept in step, and the window's
// commands. The window steps through this patient's invoices only.
class AccountController : public RecordController {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Invoice  +/-  Receipt");
    static inline const QString OutstandingNotice = QStringLiteral("Account Outstanding!");
    static inline const QString SaveTitle = QStringLiteral("Save Invoice?");
    static inline const QString DeleteTitle = QStringLiteral("Delete Invoice");

    AccountController(ui::Services &services, report::Reporter &reporter, QObject *parent = nullptr);
    ~AccountController() override;

    // Form_Load: binds the record source. False after the message when the
    // invoices cannot be read.
    bool load() override;
    // The window came to the front: the invoice CurrentInvoiceNo names when
    // OpenInvoiceByNumber is set, else the last of CurrentFileNo's invoices
    // (a new one when the patient has none).
    void arrive() override;

    int invoiceNo() const { return shownKey(); }
    int fileNo() const { return m_fileNo; }
    bool isPending() const { return m_pending; }
    bool receiptMode() const { return m_receipt; }

    struct Header {
        QString invoice, fileNo, name, address, cityStateZip, outstanding;
    };
    const Header &header() const { return m_header; }

    // The boxes' events.
    void amountFocusChanged();              // an amount box gained or lost the focus
    void edited(const QString &box);        // the user changed a box's text
    // The user leaves a box: an amount box holding anything but a sum of
    // money is refused (the message names it) and keeps the focus.
    ui::LeaveResult leave(const QString &box);
    bool checked(const QString &box) const;
    void setChecked(const QString &box, bool on);

    // Commands.
    void newInvoice();
    bool save();
    void remove();
    void first();
    void previous();
    void next();
    void last();
    void print() { output(report::ReportSettings::ToPrinter); }
    void preview() { output(report::ReportSettings::ToWindow); }
    void summary();                         // View > Summary Accounts
    void showSummaries();                   // F2
    void history();                         // View > History (Ctrl+H): the invoice's recorded changes
    void about();

    // What a print or preview of the invoice on show sets on the engine.
    report::ReportSettings reportSettings(int destination);

signals:
    void modeChanged();
    void busyChanged(bool busy);

protected:
    bool leaveRecord() override { return leaveInvoice(); }
    bool settleRecord() override { return leaveCheck(); }
    bool othersStored() override;

private:
    enum class Step { First, Previous, Next, Last };
    void step(Step s);
    bool leaveInvoice();
    bool leaveCheck();
    bool writeBoxes();
    InvoiceStore::Removal discard(bool tell);
    bool amountsAccepted();
    void refuseAmount(const QString &box);
    bool isBlank() const;
    bool storedBlank() const;
    bool findLastOf(int fileNo);
    bool showLastOf(int fileNo);
    void showLastOrTell(int fileNo, const QString &title);
    void shownAsStored();
    void shown();
    void fillHeader();
    void checkOutstanding();
    void recompute();
    void chooseMode();
    void setBox(const QString &box, const QString &text);
    void output(int destination);
    void conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested);

    report::Reporter &m_reporter;
    InvoiceBoxes m_boxes;
    InvoiceStore m_invoices;
    Header m_header;
    int m_fileNo = 0;
    bool m_pending = false;     // NewInvoicePending
    bool m_unsaved = false;     // on show, stored blank: never saved by anyone
    bool m_receipt = false;
};

} // namespace accounts
