#pragma once

#include "invoiceprint/core/designs.h"
#include "invoiceprint/core/printsetupcontroller.h"
#include "ui/core/formmodel.h"
#include "ui/core/recordform.h"

#include <QObject>
#include <QString>
#include <functional>

namespace report {
class Reporter;
}
namespace ui {
class Prompter;
struct Services;
}

namespace invoiceprint {

// Names of the boxes every design window has.
namespace box {
inline const QString Clinic = QStringLiteral("txtClinic1");
inline const QString Address1 = QStringLiteral("txtAddress1");
inline const QString Address2 = QStringLiteral("txtAddress2");
inline const QString Telephone = QStringLiteral("txtTelephone");
inline const QString Fax = QStringLiteral("txtFax");
inline const QString Hours = QStringLiteral("txtHoursOpen");
inline const QString Top = QStringLiteral("TxtTop");
inline const QString Bottom = QStringLiteral("TxtBottom");
inline const QString Left = QStringLiteral("TxtLeft");
inline const QString Right = QStringLiteral("TxtRight");
} // namespace box

// The margin box rules: blank stays blank, a number is kept as typed
// digits, letters read as 0 once the box is left.
ui::FormModel::Control marginBox(const QString &name, const QString &field);
// The two report file fields of tbl_Print, written with the margins.
void addReportFileFields(ui::FormModel &model);
// Stores the first tbl_Print record as the boxes hold it, with the report
// files `unpaid` and `receipt` (a table emptied by hand gets its record
// again). When another station changed the record meanwhile nothing is
// written: `shown` runs once the model holds the stored values, and the user
// is told that `notSaved`, with the values typed. False unless stored.
bool storePrintRecord(ui::Prompter &prompter, ui::RecordForm &record, ui::FormModel &model, const QString &unpaid,
                      const QString &receipt, const QString &notSaved, const std::function<void()> &shown);

// One letterhead design window without its widgets: the design record of
// tbl_Letterhead in the name, address and practitioner boxes, the first
// tbl_Print record in the margin boxes, and the window's commands.
// Leaving a record (the record buttons, Design, Clear, Samples, Finish)
// stores what was typed into it, as long as another station has not
// changed the same boxes meanwhile; tbl_Print is written by Save only.
class LetterheadController : public PrintSetupController {
    Q_OBJECT
public:
    static inline const QString FinishQuestion =
        QStringLiteral("Do you wish to use this letterhead design for printing on your invoices?");
    static inline const QString FinishTitle = QStringLiteral("Save Letterhead Design");

    LetterheadController(ui::Services &services, const Design &design, report::Reporter &reporter,
                         QObject *parent = nullptr);

    const Design &design() const { return m_design; }
    ui::FormModel &letterhead() { return m_lh; }
    ui::FormModel &margins() { return m_pr; }
    // Every box's model by name (letterhead first, then margins).
    ui::FormModel *modelOf(const QString &box);
    QVariant shownKey() const { return m_lhRecord.key(); }
    bool helpShown() const { return m_help; }

    // The window came to the front: designs 2-4 show their record afresh.
    void arrive();

    void samples();
    void first();
    void previous();
    void next();
    void last();
    void designOwn();
    void clear();
    bool save();
    void preview();
    void print();
    // Finish and the close box; false keeps the window open.
    bool finish();
    bool leave() override { return finish(); }
    void escape() { emit focusRequested(box::Clinic); }
    void showHelp(bool on);

signals:
    void helpChanged();

private:
    // The letterhead and print records, the design's record shown.
    void bindRecords() override;
    enum class Step { First, Previous, Next, Last, Shown };
    // Stores the typed texts of the record on show; false when it could not.
    bool leaveRecord();
    bool move(Step step);
    void toShownRecord();
    void run(int destination);
    bool saveMargins();

    const Design &m_design;
    ui::FormModel m_lh;
    ui::FormModel m_pr;
    ui::RecordForm m_lhRecord;
    ui::RecordForm m_prRecord;
    bool m_help = true;
};

} // namespace invoiceprint
