#include "accounts/widgets/recordwindow.h"

#include "accounts/core/recordcontroller.h"
#include "accounts/widgets/elsewheremarks.h"
#include "accounts/widgets/formtoolbar.h"
#include "ui/core/desktop.h"
#include "ui/core/formmodel.h"
#include "ui/core/services.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace accounts {

namespace {

int twipsX(const QWidget *w, int twips) { return twips * w->logicalDpiX() / 1440; }

} // namespace

RecordWindow::RecordWindow(ui::Services &services, QWidget *parent) : ui::TaskWindow(parent), m_services(services)
{
}

RecordWindow::~RecordWindow()
{
    release();
}

void RecordWindow::release()
{
    delete m_binder;
    m_binder = nullptr;
    const auto children = findChildren<QObject *>();
    for (QObject *c : children)
        c->removeEventFilter(this);
}

void RecordWindow::bindCommands()
{
    m_commands.setRun(QStringLiteral("mnuEditCut"), [this] { cut(); });
    m_commands.setRun(QStringLiteral("mnuEditCopy"), [this] { copy(); });
    m_commands.setRun(QStringLiteral("mnuEditPaste"), [this] { paste(); });
    m_commands.setRun(QStringLiteral("mnuEditDelete"), [this] { deleteText(); });
    m_table = new ui::CommandTable(m_commands, this);
    buildFormBars(this, *m_table);
}

void RecordWindow::bindForm(RecordController &ctl)
{
    m_controller = &ctl;
    m_binder = new ui::FormBinder(this, formModel(), this);
    m_binder->bind();
    connect(&ctl, &RecordController::recordShown, this, &RecordWindow::showBoxes);
    connect(&ctl, &RecordController::boxesMarked, this, &RecordWindow::showBoxes);
    connect(&ctl, &RecordController::focusRequested, m_binder, &ui::FormBinder::focus);
    connect(&ctl, &RecordController::lockChanged, this, &RecordWindow::showLock);
    ctl.live().setQuietCheck(quietForChanges);
    connect(m_lock, &QCheckBox::toggled, this, [this](bool on) {
        if (on != m_controller->pageLock())
            m_controller->togglePageLock();
    });
}

void RecordWindow::showBoxes()
{
    m_binder->showAll();
    showChangedElsewhere(this, *m_binder, m_controller->form(), m_controller->changedElsewhere());
    showRecord();
}

bool RecordWindow::load()
{
    return m_controller->load();
}

void RecordWindow::paintFocus(const QStringList &names, const QString &focused, const QString &otherwise)
{
    const auto paint = [this, names](const QString &name, const QString &background) {
        if (names.contains(name))
            m_binder->widget(name)->setStyleSheet(QStringLiteral("background: %1;").arg(background));
    };
    for (const QString &name : names)
        paint(name, otherwise);
    connect(m_binder, &ui::FormBinder::focusEntered, this, [paint, focused](const QString &name) { paint(name, focused); });
    connect(m_binder, &ui::FormBinder::focusLeft, this, [paint, otherwise](const QString &name) { paint(name, otherwise); });
}

void RecordWindow::arrive()
{
    m_controller->arrive();
}

ui::FormModel &RecordWindow::formModel()
{
    return m_controller->form();
}

bool RecordWindow::closeByUser()
{
    return m_controller->exit();
}

QFrame *RecordWindow::beginCard(int maxWidth, int topMargin)
{
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; }"
                                 "QFrame#card { background: palette(base); border: 1px solid palette(mid);"
                                 " border-radius: 6px; }")
                      .arg(ui::toQColor(ui::colours::PaleYellow).name()));
    m_body = ui::named(new QWidget(this), QStringLiteral("body"));
    setCentralWidget(m_body);
    m_outer = new QVBoxLayout(m_body);
    m_outer->setContentsMargins(24, topMargin, 24, 8);
    auto *card = ui::named(new QFrame(m_body), QStringLiteral("card"));
    card->setMaximumWidth(maxWidth);
    return card;
}

void RecordWindow::endCard(QFrame *card, const QString &lockName)
{
    auto *centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(card, 12);
    centre->addStretch(1);
    m_outer->addStretch(1);
    m_outer->addLayout(centre);
    m_outer->addStretch(2);

    m_legend = m_table->legendLabel(m_body);
    m_legend->setAlignment(Qt::AlignCenter);
    m_legend->setAutoFillBackground(true);
    m_legend->setMinimumHeight(28);
    auto *legendRow = new QHBoxLayout;
    legendRow->addStretch();
    legendRow->addWidget(m_legend);
    legendRow->addStretch();
    m_outer->addLayout(legendRow);

    m_lock = ui::named(new QCheckBox(QStringLiteral("Page Lock"), m_legend), lockName);
    m_lock->setAutoFillBackground(true);
    m_lock->setFocusPolicy(Qt::NoFocus);
    placeLegend();
}

void RecordWindow::placeLegend()
{
    if (!m_legend)
        return;
    // The legend is 12000 twips wide (wider when its text needs it, never
    // wider than the window); the Page Lock box sits in its gap after F3.
    const QFontMetrics fm = m_legend->fontMetrics();
    const QString text = m_legend->text();
    const int textWidth = fm.horizontalAdvance(text);
    const int width = std::min(std::max(twipsX(this, 12000), textWidth + 16), std::max(400, this->width() - 16));
    m_legend->setFixedWidth(width);
    const int left = std::max(0, (width - textWidth) / 2);
    const int gapFrom = left + fm.horizontalAdvance(text.left(text.indexOf(QLatin1String("F3")) + 2));
    const int gapTo = left + fm.horizontalAdvance(text.left(text.indexOf(QLatin1String("F4"))));
    const int box = std::min(m_lock->sizeHint().width(), gapTo - gapFrom);
    m_lock->setGeometry(gapFrom + (gapTo - gapFrom - box) / 2, 2, box, m_legend->height() - 4);
}

void RecordWindow::resizeEvent(QResizeEvent *event)
{
    ui::TaskWindow::resizeEvent(event);
    placeLegend();
}

void RecordWindow::watchKeys()
{
    const auto children = findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
}

bool RecordWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (k->modifiers() == Qt::NoModifier && m_commands.functionKey(k->key()))
            return true;
    }
    if (recordEvent(watched, event))
        return true;
    return ui::TaskWindow::eventFilter(watched, event);
}

void RecordWindow::setBusy(bool busy)
{
    if (busy)
        m_busy = std::make_unique<ui::BusyPointer>();
    else
        m_busy.reset();
}

// ---- Edit commands: on the focused box only ------------------------------

QLineEdit *RecordWindow::focusedBox() const
{
    auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    return e && isAncestorOf(e) ? e : nullptr;
}

void RecordWindow::cut()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly())
        return;
    copy();
    deleteText();
}

void RecordWindow::copy()
{
    if (QLineEdit *e = focusedBox()) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(e->selectedText());
    }
}

void RecordWindow::paste()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly())
        return;
    // What is pasted passes the box's rules as typing does.
    e->insert(formModel().clean(e->objectName(), m_services.clipboard.text()));
    const QString kept = formModel().setText(e->objectName(), e->text());
    if (kept != e->text())
        e->setText(kept);
    boxEdited(e->objectName());
}

void RecordWindow::deleteText()
{
    QLineEdit *e = focusedBox();
    if (!e || e->isReadOnly() || !e->hasSelectedText())
        return;
    e->del();
    formModel().setText(e->objectName(), e->text());
    boxEdited(e->objectName());
}

} // namespace accounts
