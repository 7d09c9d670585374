#include "ui/widgets/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

QString QtClipboard::text() const
{
    const QClipboard *c = QGuiApplication::clipboard();
    return c ? c->text() : QString();
}

void QtClipboard::setText(const QString &text)
{
    if (QClipboard *c = QGuiApplication::clipboard())
        c->setText(text);
}

void QtClipboard::clear()
{
    if (QClipboard *c = QGuiApplication::clipboard())
        c->clear();
}

} // namespace ui
