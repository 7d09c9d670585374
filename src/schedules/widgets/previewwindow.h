#pragma once

#include "schedules/core/scheduleprint.h"
#include "schedules/widgets/scheduleprinter.h"
#include "ui/core/services.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace schedules {

// frmPrintDaily / frmPrintWeekly: a schedule as it comes out of the
// printer, on A4 sheets in a scrolled view, with its print and PDF commands.
// Modal over the schedule window; deleted when closed.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    PreviewWindow(SchedulePrint::Kind kind, ui::GridModel &grid, ui::Services &services,
                  const QString &consultant, double widthFactor, QWidget *parent);

    SchedulePrint &job() { return m_job; }
    // The picture on display, at screen resolution.
    QImage picture() const;
    int sheets() const { return m_sheets; }

    void refresh();
    // Prints on the chosen printer and says where the sheets went.
    void print();
    QString printer() const;
    void choosePrinter(const QString &name);
    void saveAsPdf();
    void toggleOrientation();

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    ui::Services &m_s;
    SchedulePrint m_job;
    QScrollArea *m_scroll;
    QLabel *m_target;
    QPushButton *m_orientation = nullptr;
    QCheckBox *m_fill;
    QComboBox *m_printer;
    QLabel *m_day, *m_date, *m_tech;
    int m_sheets = 0;
    bool m_shown = false;
    bool m_stored = false;
    void storeOnce();
    void tell(const SchedulePrinter::Outcome &outcome);
};

} // namespace schedules
