#include "accounts/widgets/patientwindow.h"

#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "ui/core/clipboard.h"
#include "ui/core/services.h"
#include "accounts/widgets/elsewheremarks.h"
#include "accounts/widgets/formtoolbar.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/qtcolour.h"

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
using Command = ui::CommandTable::Command;

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

int twipsX(const QWidget *w, int twips) { return twips * w->logicalDpiX() / 1440; }

} // namespace

PatientWindow::PatientWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_services(services), m_ctl(services)
{
    setObjectName(QStringLiteral("frmPatientDetails"));
    setWindowTitle(PatientController::Caption);
    buildForm();
    addCommands();
    m_binder = new ui::FormBinder(this, m_ctl.form(), this);
    m_binder->bind();
    m_binder->setPressHandler([this](const QString &) { m_ctl.invoice(); });

    connect(&m_ctl, &PatientController::recordShown, this, &PatientWindow::showRecord);
    connect(&m_ctl, &PatientController::textChanged, m_binder, &ui::FormBinder::showText);
    connect(&m_ctl, &PatientController::focusRequested, m_binder, &ui::FormBinder::focus);
    connect(&m_ctl, &PatientController::lockChanged, this, &PatientWindow::showLock);
    connect(&m_ctl, &PatientController::boxesMarked, this, &PatientWindow::showRecord);
    m_ctl.live().setQuietCheck(quietForChanges);
    connect(m_lock, &QCheckBox::toggled, this, [this](bool on) {
        if (on != m_ctl.pageLock())
            m_ctl.togglePageLock();
    });
    connect(m_binder, &ui::FormBinder::focusEntered, this, [this](const QString &name) {
        if (name == b::Invoice)
            m_invoice->setStyleSheet(QStringLiteral("background: %1;").arg(ui::toQColor(ui::colours::Yellow).name()));
    });
    connect(m_binder, &ui::FormBinder::focusLeft, this, [this](const QString &name) {
        if (name == b::Invoice)
            m_invoice->setStyleSheet(QStringLiteral("background: %1;").arg(ui::toQColor(ui::colours::LightGrey).name()));
    });

    // Function keys act wherever the focus is.
    const auto children = findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
}

PatientWindow::~PatientWindow()
{
    // The binder goes first: closing the window as it is destroyed moves the
    // focus, and the binder must not pass that on to a controller already gone.
    delete m_binder;
    const auto children = findChildren<QObject *>();
    for (QObject *c : children)
        c->removeEventFilter(this);
}

bool PatientWindow::load()
{
    if (!m_ctl.load())
        return false;
    showRecord();
    return true;
}

void PatientWindow::arrive()
{
    m_ctl.arrive();
}

void PatientWindow::buildForm()
{
    const QString pale = ui::toQColor(ui::colours::PaleYellow).name();
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; }"
                                 "QFrame#card { background: palette(base); border: 1px solid palette(mid);"
                                 " border-radius: 6px; }")
                      .arg(pale));
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("body"));
    setCentralWidget(body);
    auto *outer = new QVBoxLayout(body);
    outer->setContentsMargins(24, 16, 24, 8);

    auto *card = new QFrame(body);
    card->setObjectName(QStringLiteral("card"));
    card->setMaximumWidth(1100);
    auto *grid = new QGridLayout(card);
    grid->setContentsMargins(28, 20, 28, 20);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(10);

    auto *fileLabel = new QLabel(QStringLiteral("File No.:"), card);
    QFont big = fileLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    fileLabel->setFont(big);
    m_fileNo = new QLabel(card);
    m_fileNo->setObjectName(b::FileNo);
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
        auto *edit = new QLineEdit(card);
        edit->setObjectName(p.box);
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

    m_invoice = new QRadioButton(QStringLiteral("&Invoice"), card);
    m_invoice->setObjectName(b::Invoice);
    m_invoice->setAutoExclusive(false);
    m_invoice->setStyleSheet(QStringLiteral("background: %1;").arg(ui::toQColor(ui::colours::LightGrey).name()));
    m_invoice->setMinimumWidth(120);
    setTabOrder(previous, m_invoice);
    grid->addWidget(m_invoice, 7, 3, Qt::AlignRight);

    auto *centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(card, 12);
    centre->addStretch(1);
    outer->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(2);

    m_legend = new QLabel(PatientController::Legend, body);
    m_legend->setObjectName(QStringLiteral("lblLegend"));
    m_legend->setAlignment(Qt::AlignCenter);
    m_legend->setAutoFillBackground(true);
    m_legend->setMinimumHeight(28);
    auto *legendRow = new QHBoxLayout;
    legendRow->addStretch();
    legendRow->addWidget(m_legend);
    legendRow->addStretch();
    outer->addLayout(legendRow);

    m_lock = new QCheckBox(QStringLiteral("Page Lock"), m_legend);
    m_lock->setObjectName(b::PageLock);
    m_lock->setAutoFillBackground(true);
    m_lock->setFocusPolicy(Qt::NoFocus);
    placeLegend();
}

void PatientWindow::placeLegend()
{
    // The legend is 12000 twips wide (wider when its text needs it); the Page
    // Lock box sits in the gap after F3, about 3420 twips from its left edge.
    const QFontMetrics fm = m_legend->fontMetrics();
    const QString text = m_legend->text();
    const int textWidth = fm.horizontalAdvance(text);
    const int width = std::max(twipsX(this, 12000), textWidth + 16);
    m_legend->setFixedWidth(width);
    const int left = (width - textWidth) / 2;
    const int gapFrom = left + fm.horizontalAdvance(text.left(text.indexOf(QLatin1String("F3")) + 2));
    const int gapTo = left + fm.horizontalAdvance(text.left(text.indexOf(QLatin1String("F4"))));
    const int box = std::min(m_lock->sizeHint().width(), gapTo - gapFrom);
    m_lock->setGeometry(gapFrom + (gapTo - gapFrom - box) / 2, 2, box, m_legend->height() - 4);
}

void PatientWindow::resizeEvent(QResizeEvent *event)
{
    ui::TaskWindow::resizeEvent(event);
    placeLegend();
}

void PatientWindow::addCommands()
{
    ui::CommandTable &t = m_commands;
    const QString file = QStringLiteral("mnuFile"), edit = QStringLiteral("mnuEdit"),
                  view = QStringLiteral("mnuView"), inv = QStringLiteral("mnuInvoice"),
                  help = QStringLiteral("mnuHelp");
    t.addMenu(file, QStringLiteral("&File"));
    t.addMenu(edit, QStringLiteral("&Edit"));
    t.addMenu(view, QStringLiteral("&View"));
    t.addMenu(inv, QStringLiteral("&Invoice"));
    t.addMenu(help, QStringLiteral("&Help"));

    t.add({.menu = file, .entry = QStringLiteral("mnuFileNew"), .text = QStringLiteral("&New"),
           .functionKey = Qt::Key_F5, .run = [this] { m_ctl.newFile(); }});
    t.add({.menu = file, .entry = QStringLiteral("mnuFileOpen"), .text = QStringLiteral("&Open"),
           .tool = QStringLiteral("Open"), .toolTip = QStringLiteral("Open"), .run = [this] { m_ctl.open(); }});
    t.add({.menu = file, .entry = QStringLiteral("mnuFileSave"), .text = QStringLiteral("&Save"),
           .functionKey = Qt::Key_F4, .tool = QStringLiteral("Save"), .toolTip = QStringLiteral("Save"),
           .run = [this] { m_ctl.save(); }});
    t.add({.menu = file, .entry = QStringLiteral("mnuFileDelete"), .text = QStringLiteral("&Delete"),
           .functionKey = Qt::Key_F7, .menuGap = true, .run = [this] { m_ctl.remove(); }});
    t.add({.menu = file, .entry = QStringLiteral("mnuFileExit"), .text = QStringLiteral("E&xit"),
           .functionKey = Qt::Key_F12, .menuGap = true, .run = [this] { m_ctl.exit(); }});

    t.add({.menu = edit, .entry = QStringLiteral("mnuEditCut"), .text = QStringLiteral("Cu&t"),
           .run = [this] { cut(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditCopy"), .text = QStringLiteral("&Copy"),
           .tool = QStringLiteral("Copy"), .toolTip = QStringLiteral("Copy"), .toolGap = true,
           .run = [this] { copy(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditPaste"), .text = QStringLiteral("&Paste"),
           .tool = QStringLiteral("Paste"), .toolTip = QStringLiteral("Paste"), .run = [this] { paste(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditDelete"), .text = QStringLiteral("&Delete"),
           .tool = QStringLiteral("Delete"), .toolTip = QStringLiteral("Delete"), .menuGap = true,
           .run = [this] { deleteText(); }});

    t.add({.menu = view, .entry = QStringLiteral("mnuViewPrevious"), .text = QStringLiteral("&Previous"),
           .run = [this] { m_ctl.previous(); }});
    t.add({.menu = view, .entry = QStringLiteral("mnuViewNext"), .text = QStringLiteral("&Next"),
           .run = [this] { m_ctl.next(); }});
    t.add({.menu = view, .entry = QStringLiteral("mnuViewFiles"), .text = QStringLiteral("&Files"),
           .functionKey = Qt::Key_F6, .tool = QStringLiteral("Camera"), .toolTip = QStringLiteral("View Files"),
           .toolGap = true, .run = [this] { m_ctl.viewFiles(); }});
    t.add({.menu = view, .entry = QStringLiteral("mnuViewHistory"), .text = QStringLiteral("&History"),
           .functionKey = Qt::Key_F11, .run = [this] { m_ctl.history(); }});
    t.add({.menu = view, .entry = QStringLiteral("mnuViewAccounts"), .text = QStringLiteral("&Accounts"),
           .run = [this] { m_ctl.accounts(); }});
    t.add({.menu = inv, .entry = QStringLiteral("mnuInvoiceCreate"), .text = QStringLiteral("&Create"),
           .functionKey = Qt::Key_F9, .tool = QStringLiteral("Accounts"), .toolTip = QStringLiteral("Invoice"),
           .run = [this] { m_ctl.invoice(); }});
    t.add({.menu = help, .entry = QStringLiteral("mnuHelpAbout"), .text = QStringLiteral("&About"),
           .run = [this] { m_ctl.about(); }});
    t.add({.menu = help, .entry = QStringLiteral("mnuHelpContents"), .text = QStringLiteral("&Contents"),
           .functionKey = Qt::Key_F1, .tool = QStringLiteral("Help"), .toolTip = QStringLiteral("Help"),
           .toolGap = true, .run = [this] { m_ctl.help(); }});
    // F2 is named "Summary" on the legend but opens the files, as F6 does.
    t.add({.functionKey = Qt::Key_F2, .run = [this] { m_ctl.viewFiles(); }});
    t.add({.functionKey = Qt::Key_F3, .run = [this] { m_ctl.togglePageLock(); }});
    t.add({.functionKey = Qt::Key_F8, .run = [this] { m_ctl.cancel(); }});

    buildFormBars(this, t);
}

void PatientWindow::showRecord()
{
    m_binder->showAll();
    showChangedElsewhere(this, *m_binder, m_ctl.form(), m_ctl.changedElsewhere());
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

bool PatientWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->modifiers() == Qt::NoModifier && m_commands.functionKey(k->key()))
            return true;
        if (watched == m_invoice && k->key() == Qt::Key_Space) {
            m_ctl.invoice();
            return true;
        }
    }
    if (watched == m_invoice && event->type() == QEvent::MouseButtonPress) {
        m_ctl.invoice();
        return true;
    }
    return ui::TaskWindow::eventFilter(watched, event);
}

bool PatientWindow::closeByUser()
{
    return m_ctl.exit();
}

// ---- Edit commands: on the focused box only ------------------------------

QLineEdit *PatientWindow::focusedBox() const
{
    auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    return e && isAncestorOf(e) ? e : nullptr;
}

void PatientWindow::cut()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly())
        return;
    m_services.clipboard.clear();
    m_services.clipboard.setText(e->selectedText());
    deleteText();
}

void PatientWindow::copy()
{
    if (QLineEdit *e = focusedBox()) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(e->selectedText());
    }
}

void PatientWindow::paste()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly())
        return;
    // What is pasted passes the box's rules as typing does.
    e->insert(m_ctl.form().clean(e->objectName(), m_services.clipboard.text()));
    const QString kept = m_ctl.form().setText(e->objectName(), e->text());
    if (kept != e->text())
        e->setText(kept);
}

void PatientWindow::deleteText()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly() || !e->hasSelectedText())
        return;
    e->del();
    m_ctl.form().setText(e->objectName(), e->text());
}

} // namespace accounts
