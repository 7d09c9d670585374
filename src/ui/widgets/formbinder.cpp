#include "ui/widgets/formbinder.h"

#include "ui/widgets/qtkeys.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

// Focus lost to a message box or another program is no leaving of a box.
bool leavesBox(const QFocusEvent *e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

std::optional<Move> arrow(int key)
{
    switch (key) {
    case Qt::Key_Up: return Move::Up;
    case Qt::Key_Down: return Move::Down;
    case Qt::Key_Left: return Move::Left;
    case Qt::Key_Right: return Move::Right;
    default: return std::nullopt;
    }
}

} // namespace

FormBinder::FormBinder(QWidget *form, FormModel &model, QObject *parent)
    : QObject(parent ? parent : form), m_form(form), m_model(model)
{
}

void FormBinder::bind()
{
    for (const FormModel::Control &c : m_model.controls()) {
        QWidget *w = m_form->findChild<QWidget *>(c.name);
        if (!w)
            continue;
        m_widgets.insert(c.name, w);
        m_names.insert(w, c.name);
        w->installEventFilter(this);
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (!edit)
            continue;
        if (c.maxLength > 0)
            edit->setMaxLength(c.maxLength);
        const QString name = c.name;
        connect(edit, &QLineEdit::textEdited, this, [this, name, edit](const QString &text) {
            const QString kept = m_model.setText(name, text);
            if (kept != text) {
                const int pos = edit->cursorPosition() - int(text.size() - kept.size());
                edit->setText(kept);
                edit->setCursorPosition(std::clamp(pos, 0, int(kept.size())));
            }
            emit edited(name);
        });
    }
}

QLineEdit *FormBinder::box(const QString &name) const
{
    return qobject_cast<QLineEdit *>(m_widgets.value(name).data());
}

void FormBinder::showText(const QString &name)
{
    if (QLineEdit *e = box(name)) {
        const QString text = m_model.text(name);
        if (e->text() != text)
            e->setText(text);
    }
}

void FormBinder::showAll()
{
    for (const FormModel::Control &c : m_model.controls())
        showText(c.name);
}

void FormBinder::applyLock()
{
    for (const FormModel::Control &c : m_model.controls())
        if (QLineEdit *e = box(c.name))
            e->setReadOnly(m_model.locked());
}

void FormBinder::focus(const QString &name)
{
    QWidget *w = m_widgets.value(name);
    if (!w)   // a control the model only names as a place to go
        w = m_form->findChild<QWidget *>(name);
    if (w) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            edit->selectAll();
    }
}

// Enter as Tab: the next control of the tab chain that takes the focus.
void FormBinder::tabFrom(QWidget *w)
{
    for (QWidget *n = w->nextInFocusChain(); n && n != w; n = n->nextInFocusChain())
        if ((n->focusPolicy() & Qt::TabFocus) && n->isEnabled() && n->isVisibleTo(m_form)
            && m_form->isAncestorOf(n)) {
            n->setFocus(Qt::TabFocusReason);
            if (auto *edit = qobject_cast<QLineEdit *>(n))
                edit->selectAll();
            return;
        }
}

void FormBinder::moveFocus(const QString &to)
{
    focus(to);
}

void FormBinder::enterMovesOn(QWidget *w)
{
    m_movesOn.insert(w, w);
    w->installEventFilter(this);
}

bool FormBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (const auto on = m_movesOn.constFind(watched); on != m_movesOn.constEnd() && *on) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        tabFrom(*on);
        return true;
    }
    const auto it = m_names.constFind(watched);
    if (it == m_names.constEnd())
        return false;
    const QString name = it.value();
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(name, static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn:
        emit focusEntered(name);
        return false;
    case QEvent::FocusOut:
        if (!m_restoring && !m_closing && leavesBox(static_cast<QFocusEvent *>(event)))
            left(name);
        emit focusLeft(name);
        return false;
    default:
        return false;
    }
}

bool FormBinder::keyPress(const QString &name, QWidget *w, QKeyEvent *key)
{
    const KeyStroke k = translateKey(key);
    if (k.key == Qt::Key_Return || k.key == Qt::Key_Enter) {
        const FormModel::EnterTarget t = m_model.enterFrom(name);
        switch (t.kind) {
        case FormModel::EnterTarget::Stay: break;
        case FormModel::EnterTarget::To: moveFocus(t.to); break;
        case FormModel::EnterTarget::TabOrder: tabFrom(w); break;
        case FormModel::EnterTarget::Press:
            if (m_press)
                m_press(name);
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                b->click();
            break;
        }
        return true;
    }
    if (k.shift == 0) {
        if (const auto dir = arrow(k.key)) {
            if (const auto to = m_model.moveFrom(name, *dir)) {
                moveFocus(*to);
                return true;
            }
            // Up and Down between boxes only go where the form says.
            return qobject_cast<QLineEdit *>(w) && (*dir == Move::Up || *dir == Move::Down);
        }
    }
    auto *edit = qobject_cast<QLineEdit *>(w);
    if (!edit || k.typed.isNull() || k.typed == QChar(8) || k.typed == QChar(9))
        return false;   // editing keys and shortcuts: the box's own
    if (edit->isReadOnly())
        return true;
    const auto ch = m_model.typed(name, k.typed);
    if (!ch)
        return true;
    if (*ch != k.typed) {
        edit->insert(QString(*ch));
        const QString kept = m_model.setText(name, edit->text());
        if (kept != edit->text())
            edit->setText(kept);
        emit edited(name);
        return true;
    }
    return false;
}

void FormBinder::left(const QString &name)
{
    if (!box(name))
        return;
    const LeaveResult r = m_leave ? m_leave(name) : m_model.leave(name);
    showText(name);
    if (r.ok())
        return;
    // Back to the box once the focus change under way has finished, unless
    // something has put a good value in meanwhile.
    QTimer::singleShot(0, this, [this, name] {
        if (m_closing || m_model.leaveRule(name, m_model.text(name)).ok())
            return;
        m_restoring = true;
        focus(name);
        m_restoring = false;
    });
}

} // namespace ui
