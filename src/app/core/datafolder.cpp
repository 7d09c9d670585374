#include "app/core/datafolder.h"

#include "store/core/filecheck.h"
#include "store/core/serverconfig.h"
#include "ui/core/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace app {

namespace {

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absolutePath()));
}

bool isEmptyFolder(const QString &folder)
{
    return QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

DataFolderController::DataFolderController(ui::Prompter &prompter, const QString &newFolder)
    : m_prompter(prompter), m_newFolder(QDir::cleanPath(newFolder))
{
}

QString DataFolderController::note() const
{
    switch (m_kind) {
    case Kind::NewFolder:
        return ui::Places::holdsPractice(m_newFolder)
                   ? QStringLiteral("%1 already holds a practice's data: it is opened.").arg(shown(m_newFolder))
                   : QStringLiteral("A new database is made in %1.").arg(shown(m_newFolder));
    case Kind::Shared:
        if (m_shared.trimmed().isEmpty())
            return QStringLiteral("Choose the folder the practice shares between its computers.");
        if (!QFileInfo(m_shared).isDir())
            return QStringLiteral("%1 cannot be found.").arg(shown(m_shared));
        if (ui::Places::holdsPractice(m_shared))
            return QStringLiteral("%1 holds a practice's data: it is opened.").arg(shown(m_shared));
        return isEmptyFolder(m_shared)
                   ? QStringLiteral("%1 is empty: a new database is made there.").arg(shown(m_shared))
                   : QStringLiteral("%1 holds other files but no database.").arg(shown(m_shared));
    case Kind::Server:
        return QStringLiteral("The server settings are kept in %1.")
            .arg(QDir::toNativeSeparators(store::ServerConfig::path(m_newFolder)));
    }
    return QString();
}

void DataFolderController::refuse(const QString &text)
{
    m_prompter.message(text, title(), ui::Icon::Warning);
}

std::optional<QString> DataFolderController::prepare(const QString &folder)
{
    if (!QDir().mkpath(folder)) {
        refuse(QStringLiteral("The folder\n%1\ncannot be made. Choose another place.").arg(shown(folder)));
        return std::nullopt;
    }
    // The database keeps a journal beside itself at every save.
    if (const auto why = store::FileCheck::cannotCreateIn(folder)) {
        refuse(QStringLiteral("No file can be made in the folder\n%1\n(%2).\n\nChoose a folder you are "
                              "allowed to create and delete files in.")
                   .arg(shown(folder), *why));
        return std::nullopt;
    }
    return QDir::cleanPath(QDir(folder).absolutePath());
}

std::optional<QString> DataFolderController::acceptShared()
{
    const QString folder = m_shared.trimmed();
    if (folder.isEmpty()) {
        refuse(QStringLiteral("Choose the folder the practice shares between its computers."));
        return std::nullopt;
    }
    if (!QFileInfo(folder).isDir()) {
        refuse(QStringLiteral("The folder\n%1\ncannot be found. If it is on a network drive, make sure "
                              "that the drive is connected.")
                   .arg(shown(folder)));
        return std::nullopt;
    }
    if (!ui::Places::holdsPractice(folder) && !isEmptyFolder(folder) &&
        !m_prompter.ask(QStringLiteral("The folder\n%1\nholds other files but no database of this "
                                       "program. Make a new database for the practice there?")
                            .arg(shown(folder)),
                        title(), ui::Icon::Question, true))
        return std::nullopt;
    return prepare(folder);
}

std::optional<QString> DataFolderController::acceptServer()
{
    const QString text = m_server.trimmed();
    const store::ServerConfig conf = store::ServerConfig::fromText(text);
    if (!conf.ok()) {
        refuse(QStringLiteral("These server settings cannot be used: %1.").arg(conf.error()));
        return std::nullopt;
    }
    const auto folder = prepare(m_newFolder);
    if (!folder)
        return std::nullopt;
    const QString path = store::ServerConfig::path(*folder);
    if (QFileInfo::exists(path) && readAll(path).trimmed() != text &&
        !m_prompter.ask(QStringLiteral("%1 names another server already:\n%2\n\nReplace it?")
                            .arg(QDir::toNativeSeparators(path), readAll(path).trimmed()),
                        title(), ui::Icon::Question, true))
        return std::nullopt;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text) || f.write(text.toUtf8() + '\n') < 0 || !f.commit()) {
        refuse(QStringLiteral("%1 cannot be written: %2.").arg(QDir::toNativeSeparators(path), f.errorString()));
        return std::nullopt;
    }
    return folder;
}

std::optional<QString> DataFolderController::accept()
{
    switch (m_kind) {
    case Kind::NewFolder: return prepare(m_newFolder);
    case Kind::Shared: return acceptShared();
    case Kind::Server: return acceptServer();
    }
    return std::nullopt;
}


QString DataFolderStart::goneText(const QString &folder)
{
    return QStringLiteral("The practice's data folder\n%1\nholds no database now. If it is on another "
                          "computer or a network drive, make sure that it is connected and start the "
                          "program again.\n\nChoose another data folder now?")
        .arg(shown(folder));
}

std::optional<QString> DataFolderStart::chooseAndRemember()
{
    const auto folder = m_choose();
    if (!folder)
        return std::nullopt;
    m_source = ui::Places::Source::Chosen;
    if (!ui::Places::remember(m_settings, *folder))
        m_prompter.message(QStringLiteral("This station's settings\n%1\ncannot be written: the program "
                                          "will ask for the data folder again at its next start.")
                               .arg(QDir::toNativeSeparators(m_settings)),
                           title(), ui::Icon::Warning);
    return folder;
}

std::optional<QString> DataFolderStart::settle(const ui::Places::Lookup &lookup)
{
    using S = ui::Places::Source;
    const ui::Places::Found found = ui::Places::find(lookup);
    m_source = found.source;
    if (!found.error.isEmpty()) {
        m_prompter.message(found.error + QStringLiteral("."), title(), ui::Icon::Critical);
        return std::nullopt;
    }
    switch (found.source) {
    case S::CommandLine:
    case S::Environment:
        // Named on purpose: made when missing, never remembered.
        if (!QDir().mkpath(found.folder)) {
            m_prompter.message(QStringLiteral("The data folder\n%1\ncannot be made.").arg(shown(found.folder)),
                               title(), ui::Icon::Critical);
            return std::nullopt;
        }
        return found.folder;
    case S::BesideProgram: return found.folder;
    case S::Chosen:
        // The station file alone is left for the start to explain.
        if (ui::Places::holdsPractice(found.folder) ||
            QFileInfo::exists(QDir(found.folder).filePath(QStringLiteral("dbn.mdb"))))
            return found.folder;
        if (!m_prompter.ask(goneText(found.folder), title(), ui::Icon::Warning, true))
            return std::nullopt;
        return chooseAndRemember();
    case S::Ask: return chooseAndRemember();
    }
    return std::nullopt;
}

} // namespace app
