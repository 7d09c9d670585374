#pragma once

#include "ui/core/commandset.h"
#include "ui/widgets/taskwindow.h"

#include <QSize>
#include <vector>

class QAbstractItemModel;
class QBoxLayout;
class QPushButton;
class QTableView;

namespace ui {
class CommandTable;
struct Services;
}

namespace accounts {

// A window over one controller of the accounts lists (the search menu, the
// file list, the summary): the controller and its commands, and the close
// box doing what the window's Exit does.
template <class Controller>
class ControllerWindow : public ui::TaskWindow {
public:
    Controller &controller() { return m_ctl; }

protected:
    ControllerWindow(ui::Services &services, QWidget *parent) : ui::TaskWindow(parent), m_ctl(services) {}

    bool closeByUser() override
    {
        m_ctl.exit();
        return true;
    }

    Controller m_ctl;
    ui::CommandSet m_commands;
};

// A read-only grid of whole rows, one selected at a time, its keys passing
// through `keys` first.
QTableView *listGrid(QWidget *parent, const QString &accessibleName, QAbstractItemModel *model, QObject *keys);

// The buttons of the commands that have a text, in their order along `row`,
// each at least `least` when that is given.
std::vector<QPushButton *> addButtons(QBoxLayout *row, ui::CommandTable &table, const ui::CommandSet &set,
                                      QWidget *parent, QSize least = {});

} // namespace accounts
