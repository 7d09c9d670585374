#pragma once

#include "schedules/core/dailycontroller.h"
#include "schedules/core/schedulecommands.h"
#include "schedules/widgets/previewwindow.h"
#include "ui/core/services.h"
#include "ui/widgets/taskwindow.h"

#include <QPointer>

class QLabel;
class QLineEdit;

namespace ui {
class CommandTable;
class GridView;
}

namespace schedules {

// frmDaily, "Daily Schedule Summary": the book's page in a grid of its own
// whose column widths the user fits to paper, and the way to its preview.
class DailyWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit DailyWindow(ui::Services &services, QWidget *parent = nullptr);

    DailyController &controller() { return m_ctl; }
    ui::GridView *gridView() const { return m_grid; }
    PreviewWindow *preview() const { return m_preview; }

    void print();       // cmdPrint, the toolbar, F11

protected:
    bool closeByUser() override;
    void activated() override;
    void showEvent(QShowEvent *e) override;

private:
    ui::Services &m_s;
    DailyController m_ctl;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table;
    ui::GridView *m_grid;
    QLineEdit *m_book;
    QLabel *m_day, *m_date;
    QPointer<PreviewWindow> m_preview;
};

} // namespace schedules
