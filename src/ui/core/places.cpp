#include "ui/core/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace ui {

namespace {

const QString DataKey = QStringLiteral("data/folder");

QString absolute(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace

QString Places::dataFile(const QString &name) const
{
    return QDir(m_data).filePath(name);
}

QString Places::programFiles() const
{
    return m_program.isEmpty() ? installedFiles() : m_program;
}

QString Places::layout(const QString &name) const
{
    const QString own = dataFile(name);
    if (QFileInfo::exists(own))
        return own;
    const QString installed = QDir(programFiles()).filePath(name);
    // Named in the data folder when neither exists, so the report's error
    // names the folder the practice would put its copy in.
    return QFileInfo::exists(installed) ? installed : own;
}

QString Places::executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString Places::installedFiles()
{
    const QString exe = executableFolder();
    const QString shared = QDir::cleanPath(exe + QStringLiteral("/../share/quillon"));
    if (QDir(exe).dirName() == QLatin1String("bin") && QFileInfo(shared).isDir())
        return shared;
    return exe;
}

QString Places::userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Quillon"));
}

QString Places::stationSettingsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Quillon/station.ini"));
}

Places::Found Places::find(const Lookup &lookup)
{
    Found f;
    for (int i = 0; i < lookup.arguments.size(); ++i) {
        const QString a = lookup.arguments.at(i);
        QString folder;
        if (a == QLatin1String("--data")) {
            if (i + 1 >= lookup.arguments.size() || lookup.arguments.at(i + 1).isEmpty()) {
                f.error = QStringLiteral("--data must be followed by the practice's data folder");
                return f;
            }
            folder = lookup.arguments.at(i + 1);
        } else if (a.startsWith(QLatin1String("--data="))) {
            folder = a.mid(7);
            if (folder.isEmpty()) {
                f.error = QStringLiteral("--data must be followed by the practice's data folder");
                return f;
            }
        } else {
            continue;
        }
        f.folder = absolute(folder);
        f.source = Source::CommandLine;
        return f;
    }
    if (!lookup.environment.trimmed().isEmpty()) {
        f.folder = absolute(lookup.environment.trimmed());
        f.source = Source::Environment;
        return f;
    }
    if (!lookup.executableFolder.isEmpty() && holdsPractice(lookup.executableFolder)) {
        f.folder = absolute(lookup.executableFolder);
        f.source = Source::BesideProgram;
        return f;
    }
    if (!lookup.chosen.isEmpty()) {
        f.folder = absolute(lookup.chosen);
        f.source = Source::Chosen;
        return f;
    }
    return f;
}

Places::Lookup Places::lookupOfThisStart(const QStringList &arguments)
{
    return Lookup{arguments.mid(1), qEnvironmentVariable("QUILLON_DATA"), executableFolder(),
                  chosen(stationSettingsFile())};
}

bool Places::holdsPractice(const QString &folder)
{
    const QDir d(folder);
    return QFileInfo::exists(d.filePath(QStringLiteral("db.mdb"))) ||
           QFileInfo::exists(d.filePath(QStringLiteral("server.conf")));
}

QString Places::chosen(const QString &settingsFile)
{
    if (!QFileInfo::exists(settingsFile))
        return QString();
    return QSettings(settingsFile, QSettings::IniFormat).value(DataKey).toString();
}

bool Places::remember(const QString &settingsFile, const QString &folder)
{
    if (!QDir().mkpath(QFileInfo(settingsFile).absolutePath()))
        return false;
    QSettings s(settingsFile, QSettings::IniFormat);
    s.setValue(DataKey, absolute(folder));
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace ui
