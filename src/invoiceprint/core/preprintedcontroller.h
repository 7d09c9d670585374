#pragma once

#include "invoiceprint/core/printsetupcontroller.h"
#include "ui/core/formmodel.h"
#include "ui/core/recordform.h"

#include <QString>

namespace invoiceprint {

// The preprinted-paper window (frmNoLetterHead) without its widgets: the
// four margins of the first tbl_Print record, stored with the plain report
// files, and a sample invoice printed with them.
class PreprintedController : public PrintSetupController {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Preprinted LetterHead Paper");
    static inline const QString ExitQuestion =
        QStringLiteral("Would you like to save these settings for printing your invoices?");
    static inline const QString ExitTitle = QStringLiteral("Save Printer-Setup");
    static inline const QString ReceiptFile = QStringLiteral("\\invoicenl.rpt");
    static inline const QString UnpaidFile = QStringLiteral("\\accountnl.rpt");

    PreprintedController(ui::Services &services, report::Reporter &reporter, QObject *parent = nullptr);

    ui::FormModel &form() { return m_model; }

    bool save();
    bool reset();
    void preview();
    void print();
    // Exit and the close box; false keeps the window open.
    bool exit();
    bool leave() override { return exit(); }

private:
    void bindRecords() override;
    void run(int destination);

    ui::FormModel m_model;
    ui::RecordForm m_record;
};

} // namespace invoiceprint
