#include "accounts/widgets/summarywindow.h"

#include "accounts/core/accountscommands.h"
#include "accounts/widgets/elsewheremarks.h"
#include "ui/core/windows.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace accounts {

SummaryWindow::SummaryWindow(ui::Services &services, QWidget *parent)
    : ControllerWindow(services, parent)
{
    setObjectName(ui::win::Summary);
    setWindowTitle(SummaryController::Caption);
    addSummaryCommands(m_commands, m_ctl);
    m_table = new ui::CommandTable(m_commands, this);
    auto *body = new QWidget(this);
    setCentralWidget(body);
    auto *v = new QVBoxLayout(body);
    v->setContentsMargins(12, 8, 12, 8);

    auto *top = new QHBoxLayout;
    const auto pair = [&](const QString &caption, const QString &name) {
        auto *c = new QLabel(caption, body);
        c->setStyleSheet(QStringLiteral("font-weight: bold;"));
        auto *l = ui::named(new QLabel(body), name);
        l->setMinimumWidth(180);
        top->addWidget(c);
        top->addWidget(l);
        return l;
    };
    m_practitioner = pair(QStringLiteral("PRACTITIONER:"), QStringLiteral("lblPractitioner"));
    top->addSpacing(24);
    m_referrer = pair(QStringLiteral("REFERRER:"), QStringLiteral("lblReferrer"));
    top->addStretch();
    auto *help = m_table->legendLabel(body, QStringLiteral("lblHelp"));
    top->addWidget(help);
    v->addLayout(top);

    m_message = ui::named(new QLabel(SummaryController::HelpText, body), QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("background: #ffffee; border: 1px solid palette(mid); padding: 4px;"));
    m_message->hide();
    v->addWidget(m_message);

    m_listed = ui::named(new QLabel(body), QStringLiteral("lblListed"));
    v->addWidget(m_listed);

    m_grid = listGrid(body, SummaryController::Caption, &m_ctl.list(), this);
    // The row the grid stands on, however it got there (keys, mouse, paging),
    // is the one every command acts on.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &SummaryWindow::gridRowChanged);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setDefaultSectionSize(96);
    // What the front desk reads comes first, readable without scrolling;
    // every other column of the invoices follows.
    QHeaderView *header = m_grid->horizontalHeader();
    const QList<int> &front = SummaryList::readingColumns();
    const int widths[] = {64, 88, 220, 150, 170, 92, 96, 96};
    for (int i = 0; i < front.size(); ++i) {
        header->moveSection(header->visualIndex(front[i]), i);
        header->resizeSection(front[i], widths[i]);
    }
    v->addWidget(m_grid, 1);

    m_totals = ui::named(new QLabel(body), QStringLiteral("lblTotals"));
    m_totals->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_aged = ui::named(new QLabel(body), QStringLiteral("lblAged"));
    v->addWidget(m_totals);
    v->addWidget(m_aged);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *p : addButtons(buttons, *m_table, m_commands, body))
        p->installEventFilter(this);
    v->addLayout(buttons);
    // F1 and F2 act wherever the focus is.
    m_table->bindKeys(this);

    connect(&m_ctl, &SummaryController::listed, this, &SummaryWindow::listed);
    connect(&m_ctl, &SummaryController::rowChanged, this, &SummaryWindow::showRow);
    connect(&m_ctl, &SummaryController::reread, this, &SummaryWindow::showTotals);
    m_ctl.live().setQuietCheck(quietForChanges);
    connect(&m_ctl, &SummaryController::helpChanged, this, [this] { m_message->setVisible(m_ctl.helpShown()); });
    connect(&m_ctl, &SummaryController::busyChanged, this, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        m_ctl.setRow(i.row());
        m_ctl.openRow();
    });
}

void SummaryWindow::arrive()
{
    m_ctl.arrive();
}

void SummaryWindow::listed(bool focusGrid)
{
    showTotals();
    m_listed->setText(m_ctl.listedLine());
    if (focusGrid)
        m_grid->setFocus();
}

void SummaryWindow::showTotals()
{
    // The grid shows first; the totals, which read the whole list, follow.
    m_totals->setText(m_ctl.countingLine());
    m_aged->clear();
    QTimer::singleShot(0, this, [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_totals->setText(m_ctl.totalsLine());
        m_aged->setText(m_ctl.agedLine());
        QApplication::restoreOverrideCursor();
    });
}

void SummaryWindow::gridRowChanged(const QModelIndex &now)
{
    if (now.isValid())
        m_ctl.setRow(now.row());
}

void SummaryWindow::showRow()
{
    const int row = m_ctl.row();
    if (m_ctl.list().rowCount() > 0 && m_grid->currentIndex().row() != row) {
        // The column the grid stands in stays; first, the first one shown.
        const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column()
                                                            : m_grid->horizontalHeader()->logicalIndex(0);
        const QModelIndex at = m_ctl.list().index(row, column);
        m_grid->setCurrentIndex(at);
        m_grid->scrollTo(at);
    }
    m_practitioner->setText(m_ctl.practitioner());
    m_referrer->setText(m_ctl.referrer());
}

bool SummaryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (watched == m_grid) {
            switch (k->key()) {
            case Qt::Key_PageDown: m_ctl.setRow(m_ctl.row() + 10); return true;
            case Qt::Key_PageUp: m_ctl.setRow(m_ctl.row() - 10); return true;
            case Qt::Key_Home: m_ctl.setRow(0); return true;
            case Qt::Key_End: m_ctl.setRow(m_ctl.list().rowCount() - 1); return true;
            default: break;
            }
            // Any character opens the row's invoice; the key itself goes nowhere.
            if (!k->text().isEmpty() && k->text().at(0).isPrint() && !(k->modifiers() & Qt::ControlModifier)) {
                m_ctl.openRow();
                return true;
            }
        }
    }
    return ui::TaskWindow::eventFilter(watched, event);
}

} // namespace accounts
