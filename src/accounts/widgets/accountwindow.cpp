#include "accounts/widgets/accountwindow.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountscommands.h"
#include "accounts/core/accountforms.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace accounts {

namespace {

namespace b = invoice::box;
QString labelOf(const QString &box)
{
    for (const InvoiceBox &l : accountLabels())
        if (l.box == box)
            return l.label;
    return {};
}

bool isAmount(const QString &name) { return name.startsWith(QLatin1String("txtAmount")); }

} // namespace

AccountWindow::AccountWindow(ui::Services &services, QWidget *parent)
    : RecordWindow(services, parent), m_runner(services.db, this, &services.prompter), m_ctl(services, m_runner)
{
    setObjectName(ui::win::Account);
    setWindowTitle(AccountController::Caption);
    addAccountCommands(m_commands, m_ctl);
    bindCommands();
    buildForm();
    bindForm(m_ctl);
    // An amount box refuses a text that is no sum of money: the controller says so.
    m_binder->setLeaveHandler([this](const QString &name) { return m_ctl.leave(name); });

    connect(&m_ctl, &AccountController::textChanged, this, [this](const QString &box) {
        m_binder->showText(box);
        showChecks();
    });
    connect(&m_ctl, &AccountController::modeChanged, this, &AccountWindow::showMode);
    connect(&m_ctl, &AccountController::busyChanged, this, &AccountWindow::setBusy);
    connect(m_binder, &ui::FormBinder::edited, &m_ctl, &AccountController::edited);
    const auto amounts = [this](const QString &name) {
        if (isAmount(name))
            m_ctl.amountFocusChanged();
    };
    connect(m_binder, &ui::FormBinder::focusEntered, this, amounts);
    connect(m_binder, &ui::FormBinder::focusLeft, this, amounts);
    // The claim boxes take the frame's colour except while they are typed in.
    paintFocus({b::Claim, b::DOA, b::Firm}, ui::toQColor(ui::colours::PaleYellow).name(),
               QStringLiteral("palette(window)"));
    for (auto it = m_checks.begin(); it != m_checks.end(); ++it) {
        const QString name = it.key();
        connect(it.value(), &QCheckBox::toggled, this, [this, name](bool on) { m_ctl.setChecked(name, on); });
    }
    watchKeys();
    showMode();
}

AccountWindow::~AccountWindow()
{
    release();
}

void AccountWindow::buildForm()
{
    QFrame *card = beginCard(1180, 12);
    auto *v = new QVBoxLayout(card);
    v->setContentsMargins(24, 14, 24, 14);
    v->setSpacing(10);

    // Header: the invoice and the patient it is for.
    auto *head = new QGridLayout;
    head->setHorizontalSpacing(16);
    QFont big = font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    const auto headLabel = [&](const QString &name, int row, int col, int span = 1) {
        auto *l = ui::named(new QLabel(card), name);
        m_header.insert(name, l);
        head->addWidget(l, row, col, 1, span);
        return l;
    };
    auto *invCaption = new QLabel(QStringLiteral("Invoice No."), card);
    auto *fileCaption = new QLabel(QStringLiteral("File No."), card);
    head->addWidget(invCaption, 0, 0);
    headLabel(b::Invoice, 0, 1)->setFont(big);
    head->addWidget(fileCaption, 1, 0);
    headLabel(b::FileNo, 1, 1)->setFont(big);
    headLabel(b::Name, 0, 2)->setFont(big);
    headLabel(b::Address, 1, 2);
    headLabel(b::CityStateZip, 2, 2);
    QLabel *out = headLabel(b::Outstanding, 0, 3, 1);
    out->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    out->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->setColumnStretch(2, 1);
    head->setColumnStretch(3, 1);
    v->addLayout(head);

    const auto edit = [&](const QString &name) {
        auto *e = ui::named(new QLineEdit(card), name);
        return e;
    };
    const auto labelled = [&](const QString &name, QGridLayout *g, int row, int col) {
        QLineEdit *e = edit(name);
        auto *l = new QLabel(labelOf(name), card);
        l->setBuddy(e);
        g->addWidget(l, row, col, Qt::AlignRight);
        g->addWidget(e, row, col + 1);
        return std::pair{l, e};
    };

    auto *claims = new QGridLayout;
    claims->setHorizontalSpacing(10);
    QWidget *order[64];
    int n = 0;
    order[n++] = labelled(b::IssueDate, claims, 0, 0).second;
    order[n++] = labelled(b::Claim, claims, 0, 2).second;
    order[n++] = labelled(b::DOA, claims, 0, 4).second;
    order[n++] = labelled(b::Firm, claims, 0, 6).second;
    claims->setColumnStretch(7, 2);
    for (int c : {1, 3, 5})
        claims->setColumnStretch(c, 1);
    v->addLayout(claims);

    // The service lines.
    auto *lines = new QGridLayout;
    lines->setHorizontalSpacing(8);
    lines->setVerticalSpacing(4);
    const QStringList heads = {QStringLiteral("Date"), QStringLiteral("Item No."),
                               QStringLiteral("Service Description"), QStringLiteral("Fees ($)")};
    for (int c = 0; c < 4; ++c) {
        auto *h = new QLabel(heads[c], card);
        h->setStyleSheet(QStringLiteral("font-weight: bold;"));
        lines->addWidget(h, 0, c);
    }
    for (int i = 0; i < invoice::Lines; ++i) {
        QLineEdit *row[] = {edit(b::date(i)), edit(b::itemNo(i)), edit(b::description(i)), edit(b::amount(i))};
        for (int c = 0; c < 4; ++c) {
            lines->addWidget(row[c], i + 1, c);
            row[c]->setAccessibleName(QStringLiteral("%1, line %2").arg(heads[c]).arg(i + 1));
        }
        row[3]->setAlignment(Qt::AlignRight);
        // Tab follows the line: description, fee, then the next line.
        for (QLineEdit *e : {row[2], row[3], row[0], row[1]})
            order[n++] = e;
    }
    lines->setColumnStretch(0, 2);
    lines->setColumnStretch(1, 2);
    lines->setColumnStretch(2, 7);
    lines->setColumnStretch(3, 2);
    v->addLayout(lines);

    // Totals on the right; who is paid, who referred and the payment on the left.
    auto *foot = new QGridLayout;
    foot->setHorizontalSpacing(10);
    foot->setVerticalSpacing(4);
    for (int box = invoice::SubtotalBox; box < invoice::AmountBoxes; ++box) {
        auto [l, e] = labelled(b::amount(box), foot, box - invoice::SubtotalBox, 4);
        e->setAlignment(Qt::AlignRight);
        if (box == invoice::SubtotalBox || box == invoice::BalanceBox)
            e->setStyleSheet(QStringLiteral("font-weight: bold;"));
        order[n++] = e;
    }
    order[n++] = labelled(b::Practitioner, foot, 0, 0).second;
    order[n++] = labelled(b::Referrer, foot, 1, 0).second;
    auto [paidLabel, paidBox] = labelled(b::DatePaid, foot, 2, 0);
    order[n++] = paidBox;
    m_receiptOnly << paidLabel << paidBox;
    auto *paidBy = new QLabel(QStringLiteral("Paid by:"), card);
    foot->addWidget(paidBy, 3, 0, Qt::AlignRight);
    m_receiptOnly << paidBy;
    auto *checks = new QHBoxLayout;
    for (const auto &[name, text] : {std::pair{b::Cash, QStringLiteral("Cash")},
                                     {b::Cheque, QStringLiteral("Check")},
                                     {b::Card, QStringLiteral("Credit Card")}}) {
        auto *c = ui::named(new QCheckBox(text, card), name);
        m_checks.insert(name, c);
        m_receiptOnly << c;
        checks->addWidget(c);
        order[n++] = c;
    }
    checks->addStretch();
    foot->addLayout(checks, 3, 1);
    foot->setColumnStretch(1, 3);
    foot->setColumnStretch(2, 1);
    foot->setColumnStretch(5, 1);
    v->addLayout(foot);

    for (int i = 1; i < n; ++i)
        setTabOrder(order[i - 1], order[i]);

    endCard(card, b::PageLock);
}

void AccountWindow::showRecord()
{
    const AccountController::Header &h = m_ctl.header();
    m_header[b::Invoice]->setText(h.invoice);
    m_header[b::FileNo]->setText(h.fileNo);
    m_header[b::Name]->setText(h.name);
    m_header[b::Address]->setText(h.address);
    m_header[b::CityStateZip]->setText(h.cityStateZip);
    m_header[b::Outstanding]->setText(h.outstanding);
    showChecks();
    showMode();
}

void AccountWindow::showChecks()
{
    for (auto it = m_checks.begin(); it != m_checks.end(); ++it) {
        const QSignalBlocker quiet(it.value());
        it.value()->setChecked(m_ctl.checked(it.key()));
    }
}

void AccountWindow::showMode()
{
    for (QWidget *w : m_receiptOnly)
        w->setVisible(m_ctl.receiptMode());
}

void AccountWindow::showLock()
{
    m_binder->applyLock();
    for (QCheckBox *c : m_checks)
        c->setEnabled(!m_ctl.pageLock());
    const QSignalBlocker quiet(m_lock);
    m_lock->setChecked(m_ctl.pageLock());
}

bool AccountWindow::recordEvent(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        // Arrow keys and Enter on the payment check boxes.
        auto *check = qobject_cast<QCheckBox *>(watched);
        if (check && m_checks.contains(check->objectName())) {
            std::optional<QString> to;
            switch (k->key()) {
            case Qt::Key_Left: to = m_ctl.form().moveFrom(check->objectName(), ui::Move::Left); break;
            case Qt::Key_Right: to = m_ctl.form().moveFrom(check->objectName(), ui::Move::Right); break;
            case Qt::Key_Up: to = m_ctl.form().moveFrom(check->objectName(), ui::Move::Up); break;
            case Qt::Key_Down: to = m_ctl.form().moveFrom(check->objectName(), ui::Move::Down); break;
            case Qt::Key_Return:
            case Qt::Key_Enter: focusNextChild(); return true;
            default: break;
            }
            if (to) {
                m_binder->focus(*to);
                return true;
            }
        }
    }
    return false;
}

} // namespace accounts
