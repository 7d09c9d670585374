#include "backup/widgets/folderchooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace backup {

QString DialogFolderChooser::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    // Start at the folder typed, or the nearest one above it that exists.
    QString from = start;
    while (!from.isEmpty() && !QFileInfo(from).isDir() && QFileInfo(from).absolutePath() != from)
        from = QFileInfo(from).absolutePath();
    if (from.isEmpty() || !QFileInfo(from).isDir())
        from = QDir::homePath();
    return QFileDialog::getExistingDirectory(parent, title, from);
}

} // namespace backup
