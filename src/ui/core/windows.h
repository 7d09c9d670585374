#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace ui {

// Names of the program's windows; subsystems open each other's windows by
// name through Windows, never by including each other.
namespace win {
inline const QString Splash = QStringLiteral("frmSplash");
inline const QString Menu = QStringLiteral("frmMenu");
inline const QString Appt = QStringLiteral("frmAppt");
inline const QString SearchMenu = QStringLiteral("frmSearchMenu");
inline const QString Search = QStringLiteral("frmSearch");
inline const QString Summary = QStringLiteral("frmSummary");
inline const QString Setup = QStringLiteral("frmSetup");
inline const QString Configure = QStringLiteral("frmConfigure");
inline const QString LetterHead1 = QStringLiteral("frmLetterHead1");
inline const QString LetterHead2 = QStringLiteral("frmLetterHead2");
inline const QString LetterHead3 = QStringLiteral("frmLetterHead3");
inline const QString LetterHead4 = QStringLiteral("frmLetterHead4");
inline const QString NoLetterHead = QStringLiteral("frmNoLetterHead");
inline const QString Backup = QStringLiteral("frmBackup");
inline const QString PatientDetails = QStringLiteral("frmPatientDetails");
inline const QString Account = QStringLiteral("frmAccount");
inline const QString Help = QStringLiteral("frmHelp");
inline const QString Readme = QStringLiteral("frmReadme");
inline const QString DailySchedule = QStringLiteral("frmDaily");
inline const QString WeeklySchedule = QStringLiteral("frmWeekly");
inline const QString TextReport = QStringLiteral("frmText");
inline const QString ChangeLog = QStringLiteral("frmChangeLog");

// Every name above; the program gives a stand-in window to any of them that no
// subsystem registers.
inline QStringList all()
{
    return {Splash, Menu, Appt, SearchMenu, Search, Summary, Setup, Configure, LetterHead1, LetterHead2, LetterHead3,
            LetterHead4, NoLetterHead, Backup, PatientDetails, Account, Help, Readme, DailySchedule, WeeklySchedule, TextReport,
            ChangeLog};
}
} // namespace win

// The window registry as the windows' controllers see it. Windows are single
// instance and modeless: created on first show, destroyed on unload.
class Windows {
public:
    virtual ~Windows() = default;
    virtual void show(const QString &name) = 0;     // create if needed, bring forward
    virtual void hide(const QString &name) = 0;
    virtual void unload(const QString &name) = 0;   // destroy if loaded
    virtual bool isLoaded(const QString &name) const = 0;
    virtual void quit() = 0;                        // end the program
    // Going from one window to the next: the next shown, then this one unloaded.
    void replace(const QString &current, const QString &next)
    {
        show(next);
        unload(current);
    }

    // A window that may hold an entry the user has not stored yet (a typed
    // cell, typed boxes) gives the registry what its own close does with it:
    // store it, or ask the user, and say whether the window may go (false:
    // the user chose to stay, or the entry could not be stored).
    using Settler = std::function<bool()>;
    void setSettler(const QString &name, Settler settler) { m_settlers.insert(name, std::move(settler)); }
    void clearSettler(const QString &name) { m_settlers.remove(name); }
    // Before a path unloads windows other than the one the user is in: each
    // loaded window of `names` settles its entry, in order. False as soon as
    // one says stay: that window comes to the front, nothing is unloaded.
    bool settle(const QStringList &names)
    {
        for (const QString &name : names) {
            const Settler settler = m_settlers.value(name);   // a copy: settling may unload the window
            if (settler && isLoaded(name) && !settler()) {
                show(name);   // where the entry waits
                return false;
            }
        }
        return true;
    }

private:
    QHash<QString, Settler> m_settlers;
};

} // namespace ui
