#include "book/widgets/keybinder.h"

#include "book/widgets/boxtext.h"
#include "ui/widgets/qtkeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace book {

namespace {

KeyPress pressIn(const QObject *control, const QKeyEvent *e)
{
    const ui::KeyStroke s = ui::translateKey(e);
    KeyPress k{.key = s.key, .shift = s.shift, .typed = s.typed};
    if (const auto *box = qobject_cast<const QComboBox *>(control)) {
        k.index = box->currentIndex();
        k.count = box->count();
    } else if (const auto *line = qobject_cast<const QLineEdit *>(control)) {
        k.text = line->text();
        k.readOnly = line->isReadOnly();
    } else if (const auto *text = qobject_cast<const QPlainTextEdit *>(control)) {
        k.text = boxes::fromBox(text->toPlainText());
        k.readOnly = text->isReadOnly();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        k.checked = button->isChecked();
    } else if (const auto *list = qobject_cast<const QAbstractItemView *>(control)) {
        k.index = list->currentIndex().row();
    }
    return k;
}

} // namespace

KeyBinder::KeyBinder(Run run, QObject *parent) : QObject(parent), m_run(std::move(run)) {}

void KeyBinder::bind(QWidget *control, KeyPlace place)
{
    m_places.insert(control, place);
    control->installEventFilter(this);
}

bool KeyBinder::eventFilter(QObject *watched, QEvent *event)
{
    const auto place = m_places.constFind(watched);
    if (event->type() != QEvent::KeyPress || place == m_places.cend())
        return QObject::eventFilter(watched, event);
    const KeyPress k = pressIn(watched, static_cast<QKeyEvent *>(event));
    const KeyAction action = keyAction(*place, k);
    if (action == KeyAction::None)
        return false;
    const KeyOutcome out = m_run(*place, action, k);
    if (auto *box = qobject_cast<QComboBox *>(watched); box && out.index >= 0)
        box->setCurrentIndex(out.index);
    return out.used;
}

} // namespace book
