#include "backup/widgets/backupwindow.h"

#include "backup/core/backupcommands.h"
#include "ui/widgets/commandtable.h"

#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace backup {

namespace {
bool isEnter(const QKeyEvent *k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
} // namespace

BackupWindow::BackupWindow(ui::Services &services, BackupController::CopierFactory copier, QWidget *parent)
    : ui::PlacedWindow(parent), m_prompter(services.prompter), m_ctl(services, std::move(copier))
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(BackupController::Caption);
    buildForm();
    m_ctl.statusChanged = [this] { showStatus(); };
    m_ctl.busyChanged = [this](bool on) { setBusy(on); };
    m_ctl.load();
    m_txtBackup->setText(m_ctl.destination());
    m_txtRestore->setText(m_ctl.source());
    showStatus();
}

BackupWindow::~BackupWindow()
{
    setBusy(false);
}

QLabel *BackupWindow::makeLabel(const char *name, const QString &text)
{
    auto *l = ui::named(new QLabel(text, this), QString::fromLatin1(name));
    return l;
}

void BackupWindow::buildForm()
{
    auto *title = makeLabel("lblTitle", BackupController::Caption);
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.5);
    tf.setBold(true);
    title->setFont(tf);

    auto *backupText = makeLabel("lblBackupText", BackupController::BackupInstructions);
    auto *restoreText = makeLabel("lblRestoreText", BackupController::RestoreInstructions);
    for (QLabel *l : {backupText, restoreText})
        l->setWordWrap(true);

    const auto box = [this](const char *name) {
        auto *e = ui::named(new QLineEdit(this), QString::fromLatin1(name));
        e->installEventFilter(this);
        return e;
    };
    m_txtBackup = box("txtBackup");
    m_txtRestore = box("txtRestore");
    connect(m_txtBackup, &QLineEdit::textChanged, this, [this](const QString &t) { m_ctl.setDestination(t); });
    connect(m_txtRestore, &QLineEdit::textChanged, this, [this](const QString &t) { m_ctl.setSource(t); });

    addBackupCommands(m_commands, m_ctl);
    m_commands.setRun(QStringLiteral("cmdBackup"), [this] { runBackup(); });
    m_commands.setRun(QStringLiteral("cmdChooseBackup"), [this] { chooseFolder(m_txtBackup); });
    m_commands.setRun(QStringLiteral("cmdChooseRestore"), [this] { chooseFolder(m_txtRestore); });
    auto *table = new ui::CommandTable(m_commands, this);
    const auto button = [this, table](const QString &id) { return table->button(id, this); };
    m_cmdBackup = button(QStringLiteral("cmdBackup"));
    m_cmdRestore = button(QStringLiteral("CmdRestore"));
    m_cmdExit = button(QStringLiteral("CmdExit"));
    for (QPushButton *b : {m_cmdBackup, m_cmdRestore, m_cmdExit}) {
        b->installEventFilter(this);
        b->setMinimumWidth(110);
    }
    m_browseBackup = button(QStringLiteral("cmdChooseBackup"));
    m_browseRestore = button(QStringLiteral("cmdChooseRestore"));

    m_lblBacking = makeLabel("lblBacking", BackupController::BackingText);
    m_lblBackup = makeLabel("lblBackup", QString());
    m_lblBackupComplete = makeLabel("lblBackupComplete", BackupController::BackupCompleteText);
    m_lblRestoring = makeLabel("lblRestoring", BackupController::RestoringText);
    m_lblRestoreComplete = makeLabel("lblRestoreComplete", BackupController::RestoreCompleteText);
    m_lblBackup->setTextFormat(Qt::PlainText);

    const auto row = [](std::initializer_list<QWidget *> widgets, int stretchAt) {
        auto *h = new QHBoxLayout;
        int i = 0;
        for (QWidget *w : widgets)
            h->addWidget(w, i++ == stretchAt ? 1 : 0);
        return h;
    };
    auto *backingRow = row({m_lblBacking, m_lblBackup}, 1);
    backingRow->setSpacing(0);

    const auto section = [this](const char *name, const QString &caption) {
        auto *g = ui::named(new QGroupBox(caption, this), QString::fromLatin1(name));
        auto *v = new QVBoxLayout(g);
        v->setContentsMargins(16, 12, 16, 12);
        v->setSpacing(8);
        return std::pair{g, v};
    };
    auto [backupBox, backupForm] = section("fraBackup", QStringLiteral("Back-up"));
    backupForm->addWidget(backupText);
    backupForm->addLayout(row({m_txtBackup, m_browseBackup, m_cmdBackup}, 0));
    backupForm->addLayout(backingRow);
    backupForm->addWidget(m_lblBackupComplete);
    auto [restoreBox, restoreForm] = section("fraRestore", QStringLiteral("Restore"));
    restoreForm->addWidget(restoreText);
    restoreForm->addLayout(row({m_txtRestore, m_browseRestore, m_cmdRestore}, 0));
    restoreForm->addWidget(m_lblRestoring);
    restoreForm->addWidget(m_lblRestoreComplete);

    auto *form = new QVBoxLayout(this);
    form->setContentsMargins(32, 24, 32, 24);
    form->setSpacing(16);
    form->addWidget(title);
    form->addWidget(backupBox);
    form->addWidget(restoreBox);
    form->addStretch(1);
    form->addWidget(m_cmdExit, 0, Qt::AlignRight);

    // The labels keep their room while hidden, so nothing jumps when they show.
    for (QLabel *l : {m_lblBacking, m_lblBackup, m_lblBackupComplete, m_lblRestoring, m_lblRestoreComplete}) {
        QSizePolicy p = l->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        l->setSizePolicy(p);
    }

    setTabOrder(m_txtBackup, m_browseBackup);
    setTabOrder(m_browseBackup, m_cmdBackup);
    setTabOrder(m_cmdBackup, m_txtRestore);
    setTabOrder(m_txtRestore, m_browseRestore);
    setTabOrder(m_browseRestore, m_cmdRestore);
    setTabOrder(m_cmdRestore, m_cmdExit);
    resize(DesignWidth, 480);
}

void BackupWindow::showStatus()
{
    const Status &s = m_ctl.status();
    m_lblBacking->setVisible(s.backing);
    m_lblBackup->setVisible(s.backing);
    m_lblBackup->setText(s.backupTarget);
    m_lblBackupComplete->setVisible(s.backupComplete);
    m_lblBackupComplete->setText(s.backupCompleteText);
    m_lblRestoring->setVisible(s.restoring);
    m_lblRestoreComplete->setVisible(s.restoreComplete);
    m_lblRestoreComplete->setText(s.restoreCompleteText);
    // The copy runs on this thread: draw the labels before it starts.
    if (isVisible())
        repaint();
}

void BackupWindow::setBusy(bool on)
{
    if (on == m_busy)
        return;
    m_busy = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void BackupWindow::chooseFolder(QLineEdit *box)
{
    const QString title = box == m_txtBackup ? QStringLiteral("Backup destination")
                                             : QStringLiteral("Restore source");
    if (const auto chosen = m_prompter.chooseFolder(title, box->text()))
        box->setText(*chosen);
    box->setFocus(Qt::OtherFocusReason);
}

void BackupWindow::runBackup()
{
    if (m_ctl.backup() == BackupController::Outcome::Ended)
        m_ending = true;
}

bool BackupWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool up = key->key() == Qt::Key_Up;
    const bool down = key->key() == Qt::Key_Down;
    QWidget *to = nullptr;
    if (watched == m_txtBackup) {
        if (isEnter(key) || down)
            to = m_cmdBackup;
        else
            return false;
    } else if (watched == m_txtRestore) {
        if (isEnter(key))
            return true;
        to = up ? static_cast<QWidget *>(m_cmdBackup) : down ? m_cmdRestore : nullptr;
        if (!to)
            return false;
    } else if (auto *b = qobject_cast<QPushButton *>(watched)) {
        if (isEnter(key)) {
            b->click();
            return true;
        }
        if (b == m_cmdBackup)
            to = up ? m_txtBackup : down ? m_txtRestore : nullptr;
        else if (b == m_cmdRestore)
            to = up ? static_cast<QWidget *>(m_txtRestore) : down ? m_cmdExit : nullptr;
        else if (b == m_cmdExit)
            to = up ? static_cast<QWidget *>(m_cmdRestore) : nullptr;
        if (!to)
            return up || down;
    } else {
        return false;
    }
    to->setFocus(Qt::OtherFocusReason);
    return true;
}

void BackupWindow::closeEvent(QCloseEvent *event)
{
    if (!ui::WindowRegistry::closingByProgram(this) && !m_ending)
        m_ctl.exit();
    event->accept();
}

QRect BackupWindow::frame() const
{
    // Centred, at the top, the screen's height less 280 twips; the width stays.
    const QRect task = ui::taskFrame(this);
    const QMargins m = ui::frameMargins(this);
    const int w = std::min(width() + m.left() + m.right(), task.width());
    return QRect(task.left() + (task.width() - w) / 2, task.top(), w, task.height());
}

void BackupWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!focusWidget())
        m_txtBackup->setFocus(Qt::OtherFocusReason);
}

void BackupWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        placeAgain();
}

} // namespace backup
