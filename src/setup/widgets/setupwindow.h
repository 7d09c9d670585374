#pragma once

#include "setup/core/setupcontroller.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class FormBinder;
class GridView;
struct Services;
}

namespace setup {

// frmSetup: the practice settings form. Thin: every key, focus change and
// click goes to the SetupController, and the window shows what it holds.
class SetupWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit SetupWindow(ui::Services &services, QWidget *parent = nullptr);
    ~SetupWindow() override;

    // Reads the settings into the form; false (after the message) when they
    // cannot be read, and the window is not to be shown.
    bool load();

    SetupController &controller() { return m_ctl; }
    QWidget *control(Field f) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool closeByUser() override;
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    QLineEdit *makeField(Field f, int widthChars);
    bool editorKey(QKeyEvent *key);
    void focusField(Field f);
    void showAll();
    void gridKey(QChar ch);
    void gridKeyDown(int key, int shift);
    void openEditor(QChar pass);
    void placeEditor();
    void fitGrid();
    void hideEditor();
    void pressOkay();
    void pressReset();
    int screenWidthPixels() const;

    SetupController m_ctl;
    ui::CommandSet m_commands;
    std::array<QLineEdit *, TextFieldCount> m_fields{};
    ui::GridView *m_grid = nullptr;
    QLineEdit *m_editor = nullptr;
    QPushButton *m_okay = nullptr;
    QPushButton *m_reset = nullptr;
    ui::FormBinder *m_binder = nullptr;   // the text fields and buttons
};

} // namespace setup
