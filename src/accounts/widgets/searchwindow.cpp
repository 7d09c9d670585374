#include "accounts/widgets/searchwindow.h"

#include "accounts/core/accountscommands.h"
#include "ui/widgets/commandtable.h"

#include "accounts/widgets/elsewheremarks.h"
#include "ui/widgets/qtkeys.h"
#include "ui/widgets/controls.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace accounts {

SearchWindow::SearchWindow(ui::Services &services, QWidget *parent)
    : ControllerWindow(services, parent)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(ManualSearch::Caption);
    auto *body = new QWidget(this);
    setCentralWidget(body);
    auto *v = new QVBoxLayout(body);
    v->setContentsMargins(12, 10, 12, 10);

    auto *source = ui::named(new QLabel(ManualSearch::SourceCaption, body), QStringLiteral("Data1"));
    QFont f = source->font();
    f.setBold(true);
    source->setFont(f);
    v->addWidget(source);

    m_grid = listGrid(body, ManualSearch::SourceCaption, &m_ctl.list(), this);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setHighlightSections(false);
    // Widths by the headings and a typical entry, never by reading every row.
    const int widths[] = {7, 16, 14, 4, 11, 5, 14, 26, 14, 7, 12, 13, 13, 14, 13, 15, 16};
    const int ch = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_grid->setColumnWidth(c, widths[c] * ch * 3 / 4 + 12);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    v->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    addSearchCommands(m_commands, m_ctl);
    auto *table = new ui::CommandTable(m_commands, this);
    addButtons(buttons, *table, m_commands, body, {130, 30});
    v->addLayout(buttons);

    connect(&m_ctl, &ManualSearch::currentRowChanged, this, &SearchWindow::showRow);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &now) { m_ctl.setCurrentRow(now.row()); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { m_ctl.openCurrent(); });
    m_ctl.live().setQuietCheck(quietForChanges);
}

SearchWindow::~SearchWindow()
{
    m_grid->removeEventFilter(this);
}

void SearchWindow::arrive()
{
    m_ctl.activated();
    m_grid->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::showRow(int row)
{
    if (row < 0)
        return;
    const QModelIndex at = m_ctl.list().index(row, std::max(m_grid->currentIndex().column(), 0));
    if (m_grid->currentIndex().row() != row)
        m_grid->setCurrentIndex(at);
    m_grid->scrollTo(at, QAbstractItemView::PositionAtCenter);
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const ui::KeyStroke k = ui::translateKey(static_cast<QKeyEvent *>(event));
        if (k.key != Qt::Key_Tab && m_ctl.key(k))
            return true;
    }
    return ui::TaskWindow::eventFilter(watched, event);
}

} // namespace accounts
