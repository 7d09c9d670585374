#include "ui/core/textdelivery.h"

#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ui {

namespace {

// A name not taken yet: "<name> <date> <time>.txt", then " (2)", " (3)" …
QString freePath(const QDir &dir, const QString &stem)
{
    QString path = dir.filePath(stem + QStringLiteral(".txt"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).txt").arg(stem).arg(n));
    return path;
}

} // namespace

QString deliverText(Services &services, const QString &name, const QString &text)
{
    TextReport report{name, text, QString(), QString()};
    const QDir dir(QDir(services.state.places.data()).filePath(QStringLiteral("Reports")));
    QString error;
    if (!dir.mkpath(QStringLiteral("."))) {
        error = QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(dir.path()));
    } else {
        const QString path = freePath(dir, name + services.clock.now().toString(QStringLiteral(" yyyy-MM-dd HH.mm.ss")));
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
            report.path = path;
        else
            error = QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    }
    if (!report.path.isEmpty() && services.desktop.openDocument(report.path))
        return report.path;
    report.note = report.path.isEmpty()
                      ? error
                      : QStringLiteral("Saved as %1; no text editor could be started for it.")
                            .arg(QDir::toNativeSeparators(report.path));
    services.state.report = report;
    services.windows.show(win::TextReport);
    return report.path;
}

} // namespace ui
