#pragma once

#include "schedules/core/schedulecommands.h"
#include "schedules/widgets/previewwindow.h"
#include "ui/core/services.h"
#include "ui/widgets/taskwindow.h"

#include <QPointer>

class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace ui {
class CommandTable;
class GridModel;
class GridView;
}

namespace schedules {

// What the daily and weekly schedule windows have in common: the book's
// name, captions and a grid above Print and Close, the toolbar's Print, and
// one preview at a time.
class ScheduleWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    ui::GridView *gridView() const { return m_grid; }
    PreviewWindow *preview() const { return m_preview; }

    void print();       // cmdPrint, the toolbar, F11

protected:
    // `legend` is the key legend beside Print, empty for none.
    ScheduleWindow(ui::Services &services, const QString &name, const QString &title, const QString &legend,
                   QWidget *parent);

    // Lays out `top` (the book's box and the captions) over the grid showing
    // `model`, and binds the keys; F11 prints wherever the focus is.
    void build(QHBoxLayout *top, ui::GridModel &model);

    void showEvent(QShowEvent *e) override;
    void activated() override;

    // The controller's part of coming to the front, and of Print: stores
    // what printing stores and opens the preview on what the window shows.
    virtual void activateSchedule() = 0;
    virtual PreviewWindow *openPreview() = 0;

    ui::Services &m_s;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table;
    QWidget *m_central;
    QLineEdit *m_book;
    ui::GridView *m_grid;

private:
    QPointer<PreviewWindow> m_preview;
};

} // namespace schedules
