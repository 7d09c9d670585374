#pragma once

#include "accounts/core/summarycontroller.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

class QLabel;
class QModelIndex;
class QTableView;

namespace ui {
struct Services;
}

namespace ui {
class CommandTable;
}

namespace accounts {

// frmSummary: the invoices in a grid with the narrowing buttons, the
// current row's practitioner and referrer, and the list's totals.
class SummaryWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit SummaryWindow(ui::Services &services, QWidget *parent = nullptr);

    void arrive();
    SummaryController &controller() { return m_ctl; }
    QTableView *grid() const { return m_grid; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;

private:
    void showRow();
    void listed(bool focusGrid);
    void showTotals();
    void gridRowChanged(const QModelIndex &now);

    SummaryController m_ctl;
    ui::CommandSet m_commands;
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
