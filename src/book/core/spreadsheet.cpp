#include "book/core/spreadsheet.h"

#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"

#include <QDir>
#include <QFileInfo>

namespace book {

namespace {

// The codes of a failed document start, as the messages know them.
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int NoAssociation = 31;

QString startError(int code)
{
    switch (code) {
    case FileNotFound: return QStringLiteral("File not found");
    case PathNotFound: return QStringLiteral("Path not found");
    case NoAssociation: return QStringLiteral("No association for file extension");
    default: return QStringLiteral("Unknown error");
    }
}

} // namespace

void openSpreadsheet(ui::Services &services)
{
    const QDir dir(services.state.places.data());
    const QString path = dir.filePath(QStringLiteral("Info.xls"));
    int code = 0;
    if (!dir.exists())
        code = PathNotFound;
    else if (!QFileInfo(path).isFile())
        code = FileNotFound;
    else if (!services.desktop.openDocument(path))
        code = NoAssociation;
    if (code)
        services.prompter.message(startError(code), QStringLiteral("Info"), ui::Icon::None);
}

} // namespace book
