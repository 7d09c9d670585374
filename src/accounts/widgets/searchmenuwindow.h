#pragma once

#include "accounts/core/searchmenucontroller.h"
#include "accounts/widgets/listwindow.h"

class QLabel;
class QRadioButton;

namespace ui {
class FormBinder;
}

namespace accounts {

// frmSearchMenu: New Client or Existing Client, the criteria boxes and the
// buttons. Thin over the SearchMenuController.
class SearchMenuWindow : public ControllerWindow<SearchMenuController> {
    Q_OBJECT
public:
    explicit SearchMenuWindow(ui::Services &services, QWidget *parent = nullptr);
    ~SearchMenuWindow() override;

    // The registry brought the window forward.
    void arrive();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void showCriteria();

    ui::FormBinder *m_binder = nullptr;
    QRadioButton *m_new = nullptr;
    QRadioButton *m_existing = nullptr;
    QLabel *m_prompt = nullptr;
};

} // namespace accounts
