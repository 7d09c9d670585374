#pragma once

#include "accounts/core/searchmenucontroller.h"
#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

class QLabel;
class QRadioButton;

namespace ui {
class FormBinder;
struct Services;
}

namespace accounts {

// frmSearchMenu: New Client or Existing Client, the criteria boxes and the
// buttons. Thin over the SearchMenuController.
class SearchMenuWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit SearchMenuWindow(ui::Services &services, QWidget *parent = nullptr);
    ~SearchMenuWindow() override;

    // The registry brought the window forward.
    void arrive();
    SearchMenuController &controller() { return m_ctl; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;

private:
    void buildForm();
    void showCriteria();

    SearchMenuController m_ctl;
    ui::CommandSet m_commands;
    ui::FormBinder *m_binder = nullptr;
    QRadioButton *m_new = nullptr;
    QRadioButton *m_existing = nullptr;
    QLabel *m_prompt = nullptr;
};

} // namespace accounts
