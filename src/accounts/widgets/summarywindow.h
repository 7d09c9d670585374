#pragma once

#include "accounts/core/summarycontroller.h"
#include "accounts/widgets/listwindow.h"

class QLabel;
class QModelIndex;

namespace ui {
class CommandTable;
}

namespace accounts {

// frmSummary: the invoices in a grid with the narrowing buttons, the
// current row's practitioner and referrer, and the list's totals.
class SummaryWindow : public ControllerWindow<SummaryController> {
    Q_OBJECT
public:
    explicit SummaryWindow(ui::Services &services, QWidget *parent = nullptr);

    void arrive();
    QTableView *grid() const { return m_grid; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow();
    void listed(bool focusGrid);
    void showTotals();
    void gridRowChanged(const QModelIndex &now);

    ui::CommandTable *m_table = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_practitioner = nullptr;
    QLabel *m_referrer = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_listed = nullptr;
    QLabel *m_totals = nullptr;
    QLabel *m_aged = nullptr;
};

} // namespace accounts
