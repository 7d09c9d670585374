#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// Where the program finds things. Three kinds, kept apart so that an
// installed program never writes beside itself:
// - the program's own files (report layouts, icons): read-only, installed
//   under share/quillon next to the executable's bin folder, or in the
//   executable's own folder for a build or a portable copy;
// - the practice's data folder: db.mdb, dbn.mdb, Info.xls, server.conf,
//   restore-safety/, the text reports;
// - this station's own settings: the data folder it chose.
// No other code asks where the executable is.
class Places {
public:
    Places() = default;
    explicit Places(const QString &data, const QString &programFiles = QString())
        : m_data(data), m_program(programFiles)
    {
    }

    // Where the data folder of this start came from (see find()).
    enum class Source { CommandLine, Environment, BesideProgram, Chosen, Ask };

    QString data() const { return m_data; }
    Source source() const { return m_source; }
    void setData(const QString &folder, Source source = Source::Chosen)
    {
        m_data = folder;
        m_source = source;
    }
    QString dataFile(const QString &name) const;

    // This station's own settings; stationSettingsFile() unless given.
    QString settingsFile() const { return m_settings.isEmpty() ? stationSettingsFile() : m_settings; }
    void setSettingsFile(const QString &file) { m_settings = file; }

    // The program's own files; the installed ones unless given.
    QString programFiles() const;
    // A report layout: the practice's own copy in the data folder when it
    // has one, otherwise the one installed with the program.
    QString layout(const QString &name) const;

    static QString executableFolder();
    // share/quillon beside the executable's bin folder when installed,
    // otherwise the executable's folder.
    static QString installedFiles();
    // A new practice's folder under the user's data folder (~/.local/share/Quillon).
    static QString userDataFolder();
    // This station's own settings file (~/.config/Quillon/station.ini).
    static QString stationSettingsFile();

    // The data folder of this start, in this order: --data DIR (or
    // --data=DIR), QUILLON_DATA, the executable's folder when it holds a
    // practice (portable use), the folder this station chose before;
    // otherwise the user is asked.
    struct Lookup {
        QStringList arguments;      // without the program's name
        QString environment;        // QUILLON_DATA
        QString executableFolder;
        QString chosen;             // from this station's settings
    };
    struct Found {
        QString folder;
        Source source = Source::Ask;
        QString error;              // the command line could not be read
    };
    static Found find(const Lookup &lookup);
    static Lookup lookupOfThisStart(const QStringList &arguments);

    // A practice keeps its data here: db.mdb or server.conf.
    static bool holdsPractice(const QString &folder);
    // The data folder this station chose before (empty when none), and
    // storing a new choice; false when the settings could not be written.
    static QString chosen(const QString &settingsFile);
    static bool remember(const QString &settingsFile, const QString &folder);

private:
    QString m_data;
    QString m_program;
    QString m_settings;
    Source m_source = Source::Chosen;
};

} // namespace ui
