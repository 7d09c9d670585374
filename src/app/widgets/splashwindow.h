#pragma once

#include "app/core/menucontroller.h"
#include "ui/core/services.h"

#include <QWidget>

namespace app {

// frmSplash: the product's picture and name. It waits, without a timer, for
// the user's first key or mouse press, which opens the main menu.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(ui::Services &services, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    SplashController m_controller;
};

} // namespace app
