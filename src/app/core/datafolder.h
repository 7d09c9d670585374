#pragma once

#include "ui/core/places.h"

#include <QString>
#include <functional>
#include <optional>

namespace ui {
class Prompter;
}

namespace app {

// The window that asks, at a station's first start, where the practice keeps
// its data: a new folder of this user's own, a folder the practice shares
// (one holding its database is opened, an empty one is made ready), or a
// database server (server.conf is written into this user's folder).
class DataFolderController {
public:
    enum class Kind { NewFolder, Shared, Server };

    // `newFolder`: this user's own data folder (Places::userDataFolder()).
    DataFolderController(ui::Prompter &prompter, const QString &newFolder);

    static QString title() { return QStringLiteral("Practice Data"); }
    static QString question() { return QStringLiteral("Where does this practice keep its data?"); }

    Kind kind() const { return m_kind; }
    void setKind(Kind kind) { m_kind = kind; }
    QString newFolder() const { return m_newFolder; }
    QString sharedFolder() const { return m_shared; }
    void setSharedFolder(const QString &folder) { m_shared = folder; }
    QString serverSettings() const { return m_server; }
    void setServerSettings(const QString &text) { m_server = text; }

    // One line under the choices saying what OK will do with them.
    QString note() const;

    // Makes the chosen folder ready and returns it; nullopt (the user told
    // why, or having said No) leaves the window open.
    std::optional<QString> accept();

private:
    std::optional<QString> prepare(const QString &folder);
    std::optional<QString> acceptShared();
    std::optional<QString> acceptServer();
    void refuse(const QString &text);

    ui::Prompter &m_prompter;
    QString m_newFolder;
    Kind m_kind = Kind::NewFolder;
    QString m_shared;
    QString m_server;
};

// The practice's data folder of this start (Places::find's order). A
// folder this station chose before that holds no database now (a network
// drive not connected) is not silently made anew: the user chooses again
// or the program closes. A new choice is remembered in `settingsFile`.
class DataFolderStart {
public:
    // `choose` shows the window above; nullopt when the user cancelled it.
    using Chooser = std::function<std::optional<QString>()>;
    DataFolderStart(ui::Prompter &prompter, Chooser choose, QString settingsFile)
        : m_prompter(prompter), m_choose(std::move(choose)), m_settings(std::move(settingsFile))
    {
    }

    static QString title() { return QStringLiteral("Practice Data"); }
    static QString goneText(const QString &folder);

    // nullopt: the program closes (the user has been told, or cancelled).
    std::optional<QString> settle(const ui::Places::Lookup &lookup);
    ui::Places::Source source() const { return m_source; }

private:
    std::optional<QString> chooseAndRemember();

    ui::Prompter &m_prompter;
    Chooser m_choose;
    QString m_settings;
    ui::Places::Source m_source = ui::Places::Source::Ask;
};

} // namespace app
