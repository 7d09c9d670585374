#include "invoiceprint/widgets/letterheadwindow.h"

#include "invoiceprint/core/invoiceprintcommands.h"
#include "ui/widgets/commandtable.h"

#include "invoiceprint/widgets/formparts.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/controls.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace invoiceprint {

namespace {

QString number(const QString &field)
{
    QString n = field;
    n.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    return n;
}

} // namespace

LetterheadWindow::LetterheadWindow(ui::Services &services, const Design &design, report::Reporter *reporter,
                                   QWidget *parent)
    : PrintSetupWindow(services, design.window, design.caption, reporter, parent), m_design(design)
{
    m_ctl = std::make_unique<LetterheadController>(services, design, this->reporter());
    setController(*m_ctl);
    addLetterheadCommands(m_commands, *m_ctl, design, services.windows);
    m_table = new ui::CommandTable(m_commands, this);
    buildForm();

    m_lhBinder = bindForm(m_ctl->letterhead());
    m_prBinder = bindForm(m_ctl->margins());
    const auto focus = [this](const QString &name) {
        if (m_ctl->letterhead().has(name))
            m_lhBinder->focus(name);
        else
            m_prBinder->focus(name);
    };
    connect(m_ctl.get(), &LetterheadController::recordShown, this, &LetterheadWindow::showRecord);
    connect(m_ctl.get(), &LetterheadController::focusRequested, this, focus);
    connect(m_ctl.get(), &LetterheadController::helpChanged, this, &LetterheadWindow::showHelp);

    for (QPushButton *b : findChildren<QPushButton *>())
        m_lhBinder->enterMovesOn(b);
    m_table->bindKeys(this);
    showHelp();
}

void LetterheadWindow::arrive()
{
    m_ctl->arrive();
}

void LetterheadWindow::buildForm()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(16, 10, 16, 10);
    outer->setSpacing(8);

    m_help = ui::named(new QLabel(m_design.help, central), QStringLiteral("lblHelp"));
    m_help->setWordWrap(true);
    m_hint = m_table->legendLabel(central, QStringLiteral("lblF1"));
    outer->addWidget(m_help);
    outer->addWidget(m_hint);
    outer->addWidget(buildSheet());
    outer->addWidget(buildMargins());
    outer->addWidget(buildButtons());
    outer->addStretch(1);
    setCentralWidget(central);
}

QWidget *LetterheadWindow::buildSheet()
{
    auto *sheet = new QFrame;
    sheet->setObjectName(QStringLiteral("sheet"));
    sheet->setFrameShape(QFrame::Box);
    sheet->setStyleSheet(QStringLiteral("#sheet { background: white; }"));
    auto *grid = new QGridLayout(sheet);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(24);

    auto *clinic = parts::box(box::Clinic, QStringLiteral("Practice name"), sheet);
    QFont big = clinic->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    clinic->setFont(big);

    const auto contacts = [&](bool sideBySide) {
        auto *col = new QVBoxLayout;
        col->setSpacing(3);
        col->addWidget(parts::box(box::Address1, QStringLiteral("Address line 1"), sheet));
        col->addWidget(parts::box(box::Address2, QStringLiteral("Address line 2"), sheet));
        auto *tf = sideBySide ? static_cast<QBoxLayout *>(new QHBoxLayout) : new QVBoxLayout;
        tf->setSpacing(sideBySide ? 12 : 3);
        tf->addWidget(parts::box(box::Telephone, QStringLiteral("Telephone"), sheet));
        tf->addWidget(parts::box(box::Fax, QStringLiteral("Fax"), sheet));
        col->addLayout(tf);
        col->addWidget(parts::box(box::Hours, QStringLiteral("Opening hours"), sheet));
        col->addStretch();
        return col;
    };
    const auto nameBox = [&](const PractitionerPair &p) {
        return parts::box(p.nameBox, QStringLiteral("Practitioner %1").arg(number(p.nameField)), sheet);
    };
    const auto titleBox = [&](const PractitionerPair &p) {
        auto *t = parts::box(p.titleBox, QStringLiteral("Title %1").arg(number(p.titleField)), sheet);
        QFont f = t->font();
        f.setItalic(true);
        t->setFont(f);
        return t;
    };
    // Each name above its title.
    const auto stacked = [&](const std::vector<PractitionerPair> &pairs, Qt::Alignment align = Qt::AlignLeft) {
        auto *col = new QVBoxLayout;
        col->setSpacing(2);
        for (const PractitionerPair &p : pairs) {
            for (QLineEdit *b : {nameBox(p), titleBox(p)}) {
                b->setAlignment(align);
                col->addWidget(b);
            }
            col->addSpacing(6);
        }
        col->addStretch();
        return col;
    };

    switch (m_design.arrangement) {
    case Arrangement::CentreColumn:
        clinic->setAlignment(Qt::AlignCenter);
        grid->addWidget(clinic, 0, 0, 1, 3);
        grid->addLayout(stacked(m_design.left), 1, 0);
        grid->addLayout(contacts(false), 1, 1);
        grid->addLayout(stacked(m_design.right, Qt::AlignRight), 1, 2);
        break;
    case Arrangement::LeftColumn:
        grid->addWidget(clinic, 0, 0);
        grid->addLayout(contacts(false), 1, 0);
        grid->addLayout(stacked(m_design.left), 0, 1, 2, 1);
        grid->addLayout(stacked(m_design.right), 0, 2, 2, 1);
        break;
    case Arrangement::Rows: {
        clinic->setAlignment(Qt::AlignCenter);
        grid->addWidget(clinic, 0, 0, 1, 2);
        grid->addLayout(contacts(true), 1, 0, 1, 2);
        int row = 2;
        for (const PractitionerPair &p : m_design.left) {
            auto *n = nameBox(p);
            n->setAlignment(Qt::AlignRight);
            grid->addWidget(n, row, 0);
            grid->addWidget(titleBox(p), row, 1);
            ++row;
        }
        grid->setRowStretch(row, 1);
        break;
    }
    case Arrangement::RightColumn:
        grid->addWidget(clinic, 0, 0, 1, 2);
        grid->addLayout(stacked(m_design.left), 1, 0);
        grid->addLayout(contacts(false), 1, 1);
        break;
    }
    // The contact lines sit as the design's layout file prints them.
    const Qt::Alignment contactsAlign = m_design.arrangement == Arrangement::LeftColumn    ? Qt::AlignLeft
                                        : m_design.arrangement == Arrangement::RightColumn ? Qt::AlignRight
                                                                                           : Qt::AlignCenter;
    for (const QString &b : {box::Address1, box::Address2, box::Telephone, box::Fax, box::Hours})
        sheet->findChild<QLineEdit *>(b)->setAlignment(contactsAlign);
    for (int c = 0; c < grid->columnCount(); ++c)
        grid->setColumnStretch(c, 1);
    if (m_design.arrangement == Arrangement::CentreColumn)
        grid->setColumnStretch(1, 2);
    return sheet;
}

QWidget *LetterheadWindow::buildMargins()
{
    return parts::marginRow(
        QStringLiteral("Please adjust the following printer-setup margin values to give best fit:"),
        {{box::Top, QStringLiteral("Top Margin:")}, {box::Left, QStringLiteral("Left Margin:")}});
}

QWidget *LetterheadWindow::buildButtons()
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *data1 = ui::named(new QLabel(QStringLiteral("View Designs"), bar), QStringLiteral("Data1"));
    for (const ui::Command &c : m_commands.commands()) {
        if (c.text.isEmpty())
            continue;
        row->addWidget(m_table->button(c.id, bar));
        // The designs' name stands between the steps back and forward.
        if (c.id == QLatin1String("CmdPrevious"))
            row->addWidget(data1);
        else if (c.id == QLatin1String("CmdLast"))
            row->addSpacing(24);
    }
    row->addStretch();
    return bar;
}

void LetterheadWindow::showRecord()
{
    m_lhBinder->showAll();
    m_prBinder->showAll();
}

void LetterheadWindow::showHelp()
{
    const bool on = m_ctl->helpShown();
    m_help->setVisible(on);
    // Design 1 offers F1 while the help is away; the others keep the hint.
    m_hint->setVisible(m_design.number != 1 || !on);
}

} // namespace invoiceprint
