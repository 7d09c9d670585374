#include "accounts/widgets/elsewheremarks.h"

#include "ui/core/formmodel.h"
#include "ui/widgets/formbinder.h"

#include <QApplication>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace accounts {

namespace {
const char *const Marked = "changedElsewhere";
const char *const OwnTip = "tipBeforeChangedElsewhere";
// A property rule on the window, so that the boxes' own style sheets (which
// the windows set as the focus moves) keep their frame.
const QString Rule = QStringLiteral("\n*[changedElsewhere=\"true\"] { border: 2px solid #d97706; }");
} // namespace

QString changedElsewhereTip(const QString &stored)
{
    return QStringLiteral("Changed at another station: %1").arg(stored.isEmpty() ? QStringLiteral("(empty)") : stored);
}

bool quietForChanges()
{
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
}

void showChangedElsewhere(QWidget *window, const ui::FormBinder &binder, const ui::FormModel &model,
                          const QHash<QString, QString> &changed)
{
    if (!changed.isEmpty() && !window->styleSheet().contains(Rule))
        window->setStyleSheet(window->styleSheet() + Rule);
    for (const ui::FormModel::Control &c : model.controls()) {
        QWidget *w = binder.widget(c.name);
        if (!w)
            continue;
        const bool on = changed.contains(c.name);
        const bool was = w->property(Marked).toBool();
        if (!on && !was)
            continue;
        if (on && !was)
            w->setProperty(OwnTip, w->toolTip());
        w->setToolTip(on ? changedElsewhereTip(changed.value(c.name)) : w->property(OwnTip).toString());
        if (on != was) {
            w->setProperty(Marked, on);
            w->style()->unpolish(w);
            w->style()->polish(w);
        }
    }
}

} // namespace accounts
