#include "accounts/widgets/formtoolbar.h"

#include "ui/widgets/commandtable.h"

#include <QHash>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace accounts {

void buildFormBars(QMainWindow *window, ui::CommandTable &commands)
{
    commands.buildMenuBar(window->menuBar());
    auto *bar = window->addToolBar(QStringLiteral("tbToolBar"));
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle *s = window->style();
    commands.buildToolBar(bar, [s](const QString &key) {
        static const QHash<QString, QStyle::StandardPixmap> icons = {
            {QStringLiteral("Open"), QStyle::SP_DialogOpenButton},
            {QStringLiteral("Save"), QStyle::SP_DialogSaveButton},
            {QStringLiteral("Print"), QStyle::SP_FileDialogDetailedView},
            {QStringLiteral("Copy"), QStyle::SP_FileDialogDetailedView},
            {QStringLiteral("Paste"), QStyle::SP_FileDialogContentsView},
            {QStringLiteral("Delete"), QStyle::SP_DialogDiscardButton},
            {QStringLiteral("Back"), QStyle::SP_ArrowBack},
            {QStringLiteral("Forwards"), QStyle::SP_ArrowForward},
            {QStringLiteral("Files"), QStyle::SP_FileDialogListView},
            {QStringLiteral("Camera"), QStyle::SP_FileDialogListView},
            {QStringLiteral("Help"), QStyle::SP_DialogHelpButton}};
        return s->standardIcon(icons.value(key, QStyle::SP_FileIcon));
    });
}

} // namespace accounts
