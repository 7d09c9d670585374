#include "ui/widgets/qtprompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
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

// Width a box needs for its whole title to show in the title bar, beside the
// window icon and the close, minimise and maximise boxes. Narrower, the title
// is cut, and a window manager that widens the box leaves a strip undrawn.
int titleBarWidth(const QString &title)
{
    QFont f = QApplication::font();
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(title) + 160;
}

void restoreCursor()
{
    // A message must never sit under a busy pointer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
} // namespace

std::unique_ptr<QMessageBox> QtPrompter::messageBox(const QString &text, const QString &title,
                                                    Icon icon, QMessageBox::StandardButtons buttons,
                                                    QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(qtIcon(icon), title, text, buttons, parent);
    // Screen readers say an alert's name and description as it opens.
    box->setAccessibleName(title);
    box->setAccessibleDescription(text);
    // The box sizes itself to its layout; a spacer row as wide as the title
    // widens it.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleBarWidth(title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

std::unique_ptr<QInputDialog> QtPrompter::inputBox(const QString &prompt, const QString &title,
                                                   const QString &defaultText, QWidget *parent)
{
    auto box = std::make_unique<QInputDialog>(parent);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setInputMode(QInputDialog::TextInput);
    box->setTextValue(defaultText);
    // The prompt names the box typed into (not as the label's buddy: a "&" in
    // a prompt is text, not a mnemonic).
    if (auto *edit = box->findChild<QLineEdit *>())
        edit->setAccessibleName(prompt);
    // The dialog fits its layout exactly; the label sets its width: the
    // prompt's, up to the width of a message box, and then the prompt wraps
    // (on one line a long prompt runs off a small screen). Never narrower
    // than the title.
    if (auto *label = box->findChild<QLabel *>()) {
        const QMargins m = box->contentsMargins();
        const int titleRoom = titleBarWidth(title) - 2 * box->style()->pixelMetric(QStyle::PM_LayoutLeftMargin)
                              - m.left() - m.right();
        const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
        const int wrapAt = std::min(screenWidth / 2, 500);
        const int promptWidth = label->fontMetrics().horizontalAdvance(prompt);
        label->setWordWrap(true);
        label->setFixedWidth(std::max(titleRoom, std::min(promptWidth, wrapAt)));
    }
    return box;
}

void QtPrompter::message(const QString &text, const QString &title, Icon icon)
{
    restoreCursor();
    messageBox(text, title, icon, QMessageBox::Ok, owner())->exec();
}

bool QtPrompter::ask(const QString &text, const QString &title, Icon icon, bool defaultNo)
{
    restoreCursor();
    const auto box = messageBox(text, title, icon, QMessageBox::Yes | QMessageBox::No, owner());
    box->setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

bool QtPrompter::askWithDetails(const QString &text, const QString &title, const QString &details, Icon icon,
                                bool defaultNo)
{
    restoreCursor();
    const auto box = messageBox(text, title, icon, QMessageBox::Yes | QMessageBox::No, owner());
    box->setDetailedText(details);
    box->setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompter::input(const QString &prompt, const QString &title,
                                         const QString &defaultText)
{
    restoreCursor();
    const auto box = inputBox(prompt, title, defaultText, owner());
    if (box->exec() != QDialog::Accepted)
        return std::nullopt;
    return box->textValue();
}

std::optional<QString> QtPrompter::chooseFolder(const QString &title, const QString &start)
{
    restoreCursor();
    // Start at the folder given, or the nearest one above it that exists.
    QString from = start;
    while (!from.isEmpty() && !QFileInfo(from).isDir() && QFileInfo(from).absolutePath() != from)
        from = QFileInfo(from).absolutePath();
    if (from.isEmpty() || !QFileInfo(from).isDir())
        from = QDir::homePath();
    const QString folder = QFileDialog::getExistingDirectory(owner(), title, from);
    return folder.isEmpty() ? std::nullopt : std::optional<QString>(folder);
}

std::optional<QString> QtPrompter::chooseSaveFile(const QString &title, const QString &suggested,
                                                  const QString &filter)
{
    restoreCursor();
    const QString file = QFileDialog::getSaveFileName(owner(), title, suggested, filter);
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

} // namespace ui
