#include "setup/widgets/setupwindow.h"

#include "ui/core/services.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/gridview.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace setup {

namespace {

bool isEnter(const QKeyEvent *k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

// Focus lost to a message box or another program is no leaving of a field.
bool leavesField(const QFocusEvent *e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

} // namespace

SetupWindow::SetupWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_ctl(services)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(SetupController::Caption);
    buildForm();
    m_binder = new ui::FormBinder(this, m_ctl.formModel(), this);
    m_binder->bind();
    // Leaving Text5 rebuilds the names grid: the controller's rule.
    m_binder->setLeaveHandler([this](const QString &name) {
        const auto f = fieldByName(name);
        return f ? m_ctl.leave(*f) : LeaveResult{LeaveResult::Ok, m_ctl.formModel().text(name)};
    });
}

SetupWindow::~SetupWindow()
{
    // The binder goes first: closing the window as it is destroyed moves the
    // focus, and the binder must not pass that on to a controller already gone.
    delete m_binder;
}

bool SetupWindow::load()
{
    if (!m_ctl.load(widthFactor()))
        return false;
    showAll();
    return true;
}

int SetupWindow::screenWidthPixels() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

QWidget *SetupWindow::control(Field f) const
{
    if (isTextField(f))
        return m_fields[fieldIndex(f)];
    switch (f) {
    case Field::Grid1: return m_grid;
    case Field::CmdOkay: return m_okay;
    case Field::CmdReset: return m_reset;
    default: return nullptr;
    }
}

// ---- events -----------------------------------------------------------

bool SetupWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (watched == m_editor) {
        if (type == QEvent::KeyPress)
            return editorKey(static_cast<QKeyEvent *>(event));
        if (type == QEvent::FocusOut && leavesField(static_cast<QFocusEvent *>(event)))
            hideEditor();
        return false;
    }
    if (watched == m_grid) {
        if (type == QEvent::Resize)
            fitGrid();
        return false;
    }
    return ui::TaskWindow::eventFilter(watched, event);
}

bool SetupWindow::editorKey(QKeyEvent *key)
{
    if (isEnter(key)) {
        hideEditor();
        m_grid->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (key->key() == Qt::Key_Tab) {
        hideEditor();
        focusField(Field::CmdOkay);
        return true;
    }
    const QString typed = key->text();
    if (typed.size() == 1 && typed.at(0).isPrint() && !m_ctl.editorChar(typed.at(0)))
        return true;
    return false;
}

void SetupWindow::closeEvent(QCloseEvent *event)
{
    m_binder->setClosing(true);   // however it closes: no leave rules on the way out
    ui::TaskWindow::closeEvent(event);
}

bool SetupWindow::closeByUser()
{
    m_ctl.closedByUser();
    return true;
}

void SetupWindow::showEvent(QShowEvent *event)
{
    ui::TaskWindow::showEvent(event);
    if (!focusWidget())
        focusField(Field::Text1);
}

// ---- fields -------------------------------------------------------------

void SetupWindow::focusField(Field f)
{
    if (f == Field::Grid1)
        hideEditor();
    m_binder->focus(fieldName(f));
}

void SetupWindow::showAll()
{
    m_binder->showAll();
}

// ---- names grid ---------------------------------------------------------

void SetupWindow::gridKey(QChar ch)
{
    m_grid->consumeKey();
    const SetupController::EditorOpening o = m_ctl.gridKeyPress(ch);
    if (!o.open) {
        focusField(Field::CmdOkay);
        return;
    }
    openEditor(o.pass);
}

void SetupWindow::gridKeyDown(int key, int shift)
{
    if (key == Qt::Key_Tab && (shift & 1)) {
        m_grid->consumeKey();
        focusField(Field::Text5);
    }
}

void SetupWindow::openEditor(QChar pass)
{
    const QSignalBlocker quiet(m_editor);
    m_editor->setText(m_ctl.editorText());
    placeEditor();
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->end(false);
    if (pass.isNull())
        return;
    if (pass == QChar(8))
        m_editor->backspace();
    else
        m_editor->insert(QString(pass));
    m_editor->setText(m_ctl.editorChanged(m_editor->text()));
}

void SetupWindow::placeEditor()
{
    m_grid->ensureVisible(m_ctl.editRow(), m_ctl.editCol());
    m_editor->setGeometry(m_grid->cellRectInWidget(m_ctl.editRow(), m_ctl.editCol()));
}

void SetupWindow::hideEditor()
{
    m_ctl.closeEditor();
    if (m_editor && m_editor->isVisible())
        m_editor->hide();
}

// ---- buttons ------------------------------------------------------------

void SetupWindow::pressOkay()
{
    hideEditor();
    const SetupController::OkayResult r = m_ctl.okay();
    if (r.outcome == SetupController::OkayResult::Closed)
        return;   // unloaded by the program
    showAll();
    if (r.focus)
        focusField(*r.focus);
}

void SetupWindow::pressReset()
{
    hideEditor();
    const Field f = m_ctl.reset();
    showAll();
    focusField(f);
}

} // namespace setup
