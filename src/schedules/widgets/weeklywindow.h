#pragma once

#include "schedules/core/weeklycontroller.h"
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

// frmWeekly, "Weekly Schedule": one consultant's week side by side; a double
// click or a key on a cell goes into the book at that cell.
class WeeklyWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit WeeklyWindow(ui::Services &services, QWidget *parent = nullptr);

    WeeklyController &controller() { return m_ctl; }
    ui::GridView *gridView() const { return m_grid; }
    PreviewWindow *preview() const { return m_preview; }

    void print();       // cmdPrint, the toolbar, F11

protected:
    bool closeByUser() override;
    void activated() override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void jump();

    ui::Services &m_s;
    WeeklyController m_ctl;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table;
    ui::GridView *m_grid;
    QLineEdit *m_book;
    QLabel *m_consultant, *m_date;
    QPointer<PreviewWindow> m_preview;
    bool m_left = false;
};

} // namespace schedules
