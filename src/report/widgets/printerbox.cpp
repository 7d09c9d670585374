#include "report/widgets/printerbox.h"
#include "ui/widgets/controls.h"

#include <QComboBox>

#include <algorithm>

namespace report {

QComboBox *printerBox(QWidget *parent, const QStringList &printers, const QString &preferred)
{
    auto *box = ui::named(new QComboBox(parent), QStringLiteral("cboPrinter"));
    box->setAccessibleName(QStringLiteral("Printer"));
    box->addItems(printers);
    box->setCurrentIndex(std::max<int>(box->findText(preferred), 0));
    box->setEnabled(box->count() > 0);
    return box;
}

} // namespace report
