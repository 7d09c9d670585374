#pragma once

#include "accounts/core/manualsearch.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

class QTableView;

namespace ui {
struct Services;
}

namespace accounts {

// frmSearch: every patient file in a read-only grid, positioned by the
// search menu's last-name initial; a key on a row opens its file.
class SearchWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit SearchWindow(ui::Services &services, QWidget *parent = nullptr);
    ~SearchWindow() override;

    void arrive();
    ManualSearch &controller() { return m_ctl; }
    QTableView *grid() const { return m_grid; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;

private:
    void showRow(int row);

    ManualSearch m_ctl;
    ui::CommandSet m_commands;
    QTableView *m_grid = nullptr;
};

} // namespace accounts
