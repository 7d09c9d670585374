#pragma once

#include <QHash>
#include <QString>

class QWidget;

namespace ui {
class FormBinder;
class FormModel;
}

namespace accounts {

// Frames the boxes another station changed while the record was on show,
// each with a tip giving what it stored; every other box unframed.
void showChangedElsewhere(QWidget *window, const ui::FormBinder &binder, const ui::FormModel &model,
                          const QHash<QString, QString> &changed);

QString changedElsewhereTip(const QString &stored);

// Other stations' changes are shown only while no message box or menu is
// open: they wait until it is closed.
bool quietForChanges();

} // namespace accounts
