#pragma once

#include "accounts/core/manualsearch.h"
#include "accounts/widgets/listwindow.h"

namespace accounts {

// frmSearch: every patient file in a read-only grid, positioned by the
// search menu's last-name initial; a key on a row opens its file.
class SearchWindow : public ControllerWindow<ManualSearch> {
    Q_OBJECT
public:
    explicit SearchWindow(ui::Services &services, QWidget *parent = nullptr);
    ~SearchWindow() override;

    void arrive();
    QTableView *grid() const { return m_grid; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow(int row);

    QTableView *m_grid = nullptr;
};

} // namespace accounts
