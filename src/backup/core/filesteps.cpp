#include "backup/core/filesteps.h"

#include "store/core/tempfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace backup {

QString withoutTrailingSeparator(const QString &folder)
{
    if (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        return folder.chopped(1);
    return folder;
}

QString partialName(const QString &path)
{
    return store::partialName(path);
}

void renameOver(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), ec);
    if (ec) {
        QFile::remove(from);
        throw StepFailure(QStringLiteral("The file %1 cannot be replaced (%2)")
                              .arg(to, QString::fromStdString(ec.message())));
    }
}

void replaceFile(const QString &from, const QString &to)
{
    const QString temp = partialName(to);
    QFile::remove(temp);
    QFile in(from);
    if (!in.copy(temp)) {
        QFile::remove(temp);
        throw StepFailure(QStringLiteral("The file %1 cannot be copied to %2 (%3)")
                              .arg(from, QFileInfo(to).absolutePath(), in.errorString()));
    }
    // On the disk before it takes the old file's place.
    QFile out(temp);
    if (!out.open(QIODevice::ReadWrite) || ::fsync(out.handle()) != 0) {
        const QString why = out.errorString();
        out.close();
        QFile::remove(temp);
        throw StepFailure(QStringLiteral("The file %1 cannot be written (%2)").arg(temp, why));
    }
    out.close();
    renameOver(temp, to);
}

} // namespace backup
