#include "ui/widgets/qtprompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace ui {

namespace {
QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QWidget *owner()
{
    return QApplication::activeWindow();
}
} // namespace

static void Prompter_restoreCursor()
{
    // A message must never sit under a busy pointer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void QtPrompter::message(const QString &text, const QString &title, Icon icon)
{
    Prompter_restoreCursor();
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::Ok, owner());
    box.exec();
}

bool QtPrompter::ask(const QString &text, const QString &title, Icon icon, bool defaultNo)
{
    Prompter_restoreCursor();
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, owner());
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompter::input(const QString &prompt, const QString &title,
                                         const QString &defaultText)
{
    Prompter_restoreCursor();
    bool ok = false;
    const QString text =
        QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace ui
