#pragma once

#include <QString>
#include <utility>
#include <vector>

class QLineEdit;
class QWidget;

namespace invoiceprint::parts {

// A bound box of a letterhead or margins window, found by the binder by name.
QLineEdit *box(const QString &name, const QString &placeholder, QWidget *parent);
// The prompt over the margin boxes, each labelled and followed by "inch".
QWidget *marginRow(const QString &prompt, const std::vector<std::pair<QString, QString>> &boxes);

} // namespace invoiceprint::parts
