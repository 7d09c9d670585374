#include "ui/widgets/systemdesktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

bool SystemDesktop::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace ui
