#pragma once

#include "app/core/menucontroller.h"
#include "ui/core/commandset.h"
#include "ui/core/services.h"
#include "ui/widgets/placedwindow.h"

#include <QMap>
#include <QWidget>

class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class CommandTable;
}

namespace app {

// frmMenu: the main menu. Options act on Space, Enter or any mouse press;
// the digit keys 1 to 8 act wherever the focus is on the window.
class MenuWindow : public ui::PlacedWindow {
    Q_OBJECT
public:
    explicit MenuWindow(ui::Services &services, QWidget *parent = nullptr);

    QRadioButton *option(int n) const { return m_options.value(n); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addOption(int n, const QString &caption);
    bool digitKey(QKeyEvent *event);
    QRect frame() const override;

    MenuController m_controller;
    ui::CommandSet m_commands;
    ui::CommandTable *m_table;
    QGroupBox *m_frame;
    QMap<int, QRadioButton *> m_options;
    QLineEdit *m_location;
    QLineEdit *m_data;
    QPushButton *m_readme;
};

} // namespace app
