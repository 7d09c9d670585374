#pragma once

#include "ui/widgets/celleditorbox.h"
#include "setup/core/templatecontroller.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"


class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class CommandTable;
class GridView;
struct Services;
}

namespace setup {

// frmConfigure, "Configure Page Templates": the weekday templates. Thin:
// every key, click and choice goes to the TemplateController, and the
// window shows what it holds.
class TemplateWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit TemplateWindow(ui::Services &services, QWidget *parent = nullptr);
    ~TemplateWindow() override;

    // Form_Load. False when the settings could not be read (the user has
    // been told).
    bool load();

    TemplateController &controller() { return m_ctl; }
    ui::GridView *gridView() const { return m_grid; }
    QPlainTextEdit *cellEditor() const { return m_edit; }
    QMenu *gridMenu() const { return m_gridMenu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    void connectGrid();
    void syncState();
    void syncEditor();
    void applyFocus(TemplateFocus f);
    bool editorKey(QKeyEvent *k);
    void showGridMenu(int row, int col);

    TemplateController m_ctl;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table = nullptr;

    ui::GridView *m_grid = nullptr;         // Grid1
    ui::CellEditorBox *m_edit = nullptr;    // txtEdit
    QComboBox *m_status = nullptr;          // Combo0
    QLabel *m_day = nullptr;                // lblCalDay
    QPushButton *m_finish = nullptr;        // CmdFinish
    QLineEdit *m_blockout = nullptr;        // txtBlockout
    QLabel *m_tips = nullptr;               // lblTips
    QMenu *m_gridMenu = nullptr;            // mnuGrid
    bool m_syncing = false;
    bool m_shownOnce = false;
};

} // namespace setup
