#include "invoiceprint/widgets/formparts.h"
#include "ui/widgets/controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace invoiceprint::parts {

QLineEdit *box(const QString &name, const QString &placeholder, QWidget *parent)
{
    auto *b = ui::named(new QLineEdit(parent), name);
    b->setPlaceholderText(placeholder);
    b->setAccessibleName(placeholder);   // the sheet's boxes have no labels
    return b;
}

QWidget *marginRow(const QString &prompt, const std::vector<std::pair<QString, QString>> &boxes)
{
    auto *w = new QWidget;
    auto *col = new QVBoxLayout(w);
    col->setContentsMargins(0, 0, 0, 0);
    auto *p = ui::named(new QLabel(prompt, w), QStringLiteral("lblPrompt"));
    col->addWidget(p);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (const auto &[name, label] : boxes) {
        auto *l = new QLabel(label, w);
        auto *b = box(name, QString(), w);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        l->setBuddy(b);
        grid->addWidget(l, row, 0);
        grid->addWidget(b, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("inch"), w), row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    col->addLayout(grid);
    return w;
}

} // namespace invoiceprint::parts
