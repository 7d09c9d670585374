#include "ui/widgets/accessiblenames.h"

#include "ui/widgets/accessibletable.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ui {

namespace {

bool isControl(const QWidget *w)
{
    return w && (w->focusPolicy() & Qt::TabFocus) && !qobject_cast<const QLabel *>(w);
}

// The first control in a layout item that has no name yet.
QWidget *unnamedControlIn(QLayoutItem *item)
{
    if (!item)
        return nullptr;
    if (QWidget *w = item->widget())
        return isControl(w) && !hasAccessibleName(w) ? w : nullptr;
    if (QLayout *l = item->layout())
        for (int i = 0; i < l->count(); ++i)
            if (QWidget *w = unnamedControlIn(l->itemAt(i)))
                return w;
    return nullptr;
}

// The item after the label in its layout: the next cell of its grid row, or
// the next item of its box (spacing skipped).
QLayoutItem *besideLabel(QLayout *layout, QLabel *label)
{
    const int index = layout->indexOf(label);
    if (index < 0)
        return nullptr;
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        int r = 0, c = 0, rs = 0, cs = 0;
        grid->getItemPosition(index, &r, &c, &rs, &cs);
        return grid->itemAtPosition(r, c + cs);
    }
    if (qobject_cast<QBoxLayout *>(layout))
        for (int i = index + 1; i < layout->count(); ++i)
            if (QLayoutItem *item = layout->itemAt(i); item && !item->spacerItem())
                return item;
    return nullptr;
}

} // namespace

void describeQuestion(QWidget *panel, const QString &question, std::initializer_list<QWidget *> answers)
{
    for (QWidget *b : answers)
        b->setAccessibleDescription(question);
    panel->setAccessibleDescription(question);
    // Once per showing of each question, however often the window syncs.
    const QString spoken = panel->isVisible() ? question : QString();
    if (panel->property("spokenQuestion").toString() == spoken)
        return;
    panel->setProperty("spokenQuestion", spoken);
    if (!spoken.isEmpty() && readerListening()) {
        QAccessibleEvent alert(panel, QAccessible::Alert);
        tellReader(alert);
    }
}

bool hasAccessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface && !iface->text(QAccessible::Name).trimmed().isEmpty();
}

void nameControls(QWidget *window)
{
    const QList<QLayout *> layouts = window->findChildren<QLayout *>();
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy() || label->text().trimmed().isEmpty())
            continue;
        for (QLayout *layout : layouts) {
            QWidget *control = unnamedControlIn(besideLabel(layout, label));
            if (!control)
                continue;
            // A buddy turns "&" into a mnemonic: a label that shows one keeps
            // its look and lends only its words.
            if (label->text().contains(QLatin1Char('&')) || label->textFormat() == Qt::RichText)
                control->setAccessibleName(label->text().simplified());
            else
                label->setBuddy(control);
            break;
        }
    }
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!isControl(w) || hasAccessibleName(w))
            continue;
        QString name;
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            name = edit->placeholderText();
        else if (auto *text = qobject_cast<QPlainTextEdit *>(w))
            name = text->placeholderText();
        else if (qobject_cast<QAbstractButton *>(w))
            name = w->toolTip();
        if (!name.trimmed().isEmpty())
            w->setAccessibleName(name.simplified());
    }
}

} // namespace ui
