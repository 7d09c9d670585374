// The book window's command map: menu bar, toolbar, function keys and the
// page grid's context menu, each leading to the controller's operation.
#include "book/widgets/bookwindow.h"

#include "book/core/appointmentshistory.h"
#include "book/pages/blockops.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
#include "book/widgets/toolbaricons.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/controls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <utility>

namespace book {

using Command = ui::CommandTable::Command;

void BookWindow::addCommands()
{
    m_commands.setParent(this);
    ui::CommandSet &set = m_commands.set();
    set.setRun(QStringLiteral("mnuPageOpen"), [this] { openByDate(); });
    set.setRun(QStringLiteral("mnuNaviBook"), [this] { m_book->setFocus(Qt::ShortcutFocusReason); });
    set.setRun(QStringLiteral("mnuNaviStatus"), [this] { dropDown(m_status); });
    set.setRun(QStringLiteral("mnuNaviMonth"), [this] { dropDown(m_month); });
    set.setRun(QStringLiteral("mnuNaviYear"), [this] { dropDown(m_year); });
}

void BookWindow::buildCommands()
{
    m_toolBar = ui::named(new QToolBar(QStringLiteral("Toolbar"), this), QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_commands.buildToolBar(m_toolBar, toolbarIcon);
    m_openAction = m_toolBar->findChild<QAction *>(QStringLiteral("tbOpen"));
    // Toolbar buttons never take the focus from the grid or the editor.
    for (QAction *a : m_toolBar->actions())
        if (QWidget *w = m_toolBar->widgetForAction(a))
            w->setFocusPolicy(Qt::NoFocus);

    m_commands.buildMenuBar(menuBar());
    m_gridMenu = m_commands.buildMenu(QStringLiteral("mnuGrid"), this);
    syncUndo();
}

void BookWindow::syncUndo()
{
    // Each entry says what it would take back; nothing to take back, or an
    // open cell editor, leaves it disabled.
    const bool editing = m_controller.entry().editor().visible;
    const auto show = [&](const QString &name, const QString &text, const QString &entry, const QString &plain) {
        const bool on = !text.isEmpty() && !editing;
        if (auto *a = m_toolBar->findChild<QAction *>(QStringLiteral("tb") + name)) {
            a->setEnabled(on);
            a->setToolTip(text.isEmpty() ? plain : text);
        }
        if (auto *a = menuBar()->findChild<QAction *>(entry)) {
            a->setEnabled(on);
            a->setText(QLatin1Char('&') + QString(text.isEmpty() ? plain : text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        }
    };
    show(QStringLiteral("Undo"), m_controller.session().undoText(), QStringLiteral("mnuEditUndo"), QStringLiteral("Undo"));
    show(QStringLiteral("Redo"), m_controller.session().redoText(), QStringLiteral("mnuEditRedo"), QStringLiteral("Redo"));
}

void BookWindow::showGridMenu(int row, int col)
{
    // At the right edge of the cell, level with its top.
    const QRect r = m_grid->cellRect(row, col);
    const QPoint at = r.isNull() ? QPoint(0, 0) : QPoint(r.right() + 1, r.top());
    m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
}

void BookWindow::openByDate()
{
    m_controller.navigation().openPageByDate();
    // The toolbar button is shown released once the input box is gone.
    if (auto *b = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_openAction)))
        b->setDown(false);
}

void BookWindow::dropDown(QComboBox *box)
{
    if (box == m_month || box == m_year)
        m_controller.navigation().selectorBrowsing(false);
    box->setFocus(Qt::ShortcutFocusReason);
    box->showPopup();
}

} // namespace book
