#include "accounts/widgets/patientwindow.h"

#include "accounts/core/accountscommands.h"
#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "ui/core/services.h"
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
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace accounts {

namespace {

namespace b = patient::box;

// Where each box stands: row, column and columns spanned, in a grid of
// four columns (the arrow table's lines).
struct Place {
    QString box;
    int row, col, span;
};
const Place Places[] = {
    {b::Title, 0, 0, 1},    {b::FirstName, 0, 1, 1}, {b::MI, 0, 2, 1},     {b::LastName, 0, 3, 1},
    {b::DOB, 1, 1, 1},      {b::Sex, 1, 2, 1},       {b::MaidenName, 1, 3, 1},
    {b::Address, 2, 0, 1},  {b::City, 2, 1, 1},      {b::State, 2, 2, 1},  {b::Zip, 2, 3, 1},
    {b::HomeNo, 3, 1, 1},   {b::WorkNo, 3, 3, 1},    {b::SSN, 4, 1, 1},    {b::HFN, 4, 3, 1},
    {b::Occup, 5, 1, 1},    {b::Contact, 5, 3, 1},
};

} // namespace

PatientWindow::PatientWindow(ui::Services &services, QWidget *parent)
    : RecordWindow(services, parent), m_ctl(services)
{
    setObjectName(QStringLiteral("frmPatientDetails"));
    setWindowTitle(PatientController::Caption);
    addPatientCommands(m_commands, m_ctl);
    bindCommands();
    buildForm();
    bindForm(m_ctl);
    m_binder->setPressHandler([this](const QString &) { m_ctl.invoice(); });
    connect(&m_ctl, &PatientController::textChanged, m_binder, &ui::FormBinder::showText);
    paintFocus({b::Invoice}, ui::toQColor(ui::colours::Yellow).name(), ui::toQColor(ui::colours::LightGrey).name());

    watchKeys();
}

PatientWindow::~PatientWindow()
{
    release();
}

void PatientWindow::buildForm()
{
    QFrame *card = beginCard(1100, 16);
    auto *grid = new QGridLayout(card);
    grid->setContentsMargins(28, 20, 28, 20);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(10);

    auto *fileLabel = new QLabel(QStringLiteral("File No.:"), card);
    QFont big = fileLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    fileLabel->setFont(big);
    m_fileNo = ui::named(new QLabel(card), b::FileNo);
    m_fileNo->setFont(big);
    auto *head = new QHBoxLayout;
    head->setSpacing(10);
    head->addWidget(fileLabel);
    head->addWidget(m_fileNo);
    head->addStretch();
    grid->addLayout(head, 0, 0, 1, 4);

    QHash<QString, QString> labels;
    for (const Labelled &l : patientLabels())
        labels.insert(l.box, l.label);
    QWidget *order[std::size(Places) + 1];
    for (size_t i = 0; i < std::size(Places); ++i) {
        const Place &p = Places[i];
        auto *edit = ui::named(new QLineEdit(card), p.box);
        auto *label = new QLabel(labels.value(p.box), card);
        label->setBuddy(edit);
        auto *cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(label);
        cell->addWidget(edit);
        grid->addLayout(cell, p.row + 1, p.col, 1, p.span);
        order[i] = edit;
    }
    // The form's own order (the boxes' order in the record), for Tab and Enter.
    QHash<QString, QWidget *> byName;
    for (size_t i = 0; i < std::size(Places); ++i)
        byName.insert(Places[i].box, order[i]);
    QWidget *previous = nullptr;
    for (const Labelled &l : patientLabels()) {
        QWidget *w = byName.value(l.box);
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);

    m_invoice = ui::named(new QRadioButton(QStringLiteral("&Invoice"), card), b::Invoice);
    m_invoice->setAutoExclusive(false);
    m_invoice->setMinimumWidth(120);
    setTabOrder(previous, m_invoice);
    grid->addWidget(m_invoice, 7, 3, Qt::AlignRight);

    endCard(card, b::PageLock);
}

void PatientWindow::showRecord()
{
    m_fileNo->setText(m_ctl.fileNo() > 0 ? QString::number(m_ctl.fileNo()) : QString());
}

void PatientWindow::showLock()
{
    m_binder->applyLock();
    {
        const QSignalBlocker quiet(m_lock);
        m_lock->setChecked(m_ctl.pageLock());
    }
    QPalette p = m_lock->palette();
    p.setColor(QPalette::Window, m_ctl.pageLock() ? ui::toQColor(ui::colours::FormLocked)
                                                  : m_legend->palette().color(QPalette::Window));
    m_lock->setPalette(p);
}

bool PatientWindow::recordEvent(QObject *watched, QEvent *event)
{
    if (watched != m_invoice)
        return false;
    const bool space = event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    if (space || event->type() == QEvent::MouseButtonPress) {
        m_ctl.invoice();
        return true;
    }
    return false;
}

} // namespace accounts
