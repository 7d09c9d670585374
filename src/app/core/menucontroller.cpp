#include "app/core/menucontroller.h"

#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "store/core/sharelock.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace win = ui::win;

MenuController::MenuController(ui::Services &services) : m_s(services) {}

QString MenuController::letterheadText()
{
    return QStringLiteral(
        "Would you like to design your own letterhead for printing on the invoice/receipt "
        "statements? You do not need to if you are using preprinted letterhead paper.");
}

QString MenuController::backupText()
{
    return QStringLiteral(
        "Would you like to back-up your files now? Regular files back-up will minimize loss of "
        "data in case your hard disk crashes.");
}

void MenuController::chooseOption(int option)
{
    switch (option) {
    case 1: m_s.windows.show(win::Appt); break;
    case 2: m_s.windows.show(win::SearchMenu); break;
    case 3:
        m_s.windows.replace(win::Menu, win::Setup);
        break;
    case 4:
        m_s.windows.replace(win::Menu, win::Configure);
        break;
    case 5: letterheadQuestion(); break;
    case 6:
        m_s.windows.replace(win::Menu, win::Backup);
        break;
    case 8: exitPath(); break;
    default: break;
    }
}

bool MenuController::digitKey(int keyCode)
{
    switch (keyCode) {
    case '1': m_s.windows.show(win::Appt); return true;
    case '2': m_s.windows.show(win::SearchMenu); return true;
    case '3': m_s.windows.show(win::Setup); return true;
    case '4': m_s.windows.show(win::Configure); return true;
    case '5': chooseOption(5); return true;
    case '6': m_s.windows.show(win::Backup); return true;
    case '8': chooseOption(8); return true;
    default: return false;
    }
}

void MenuController::showChangeLog()
{
    m_s.windows.show(ui::win::ChangeLog);
}

void MenuController::showReadme()
{
    m_s.windows.show(win::Readme);
}

bool MenuController::closeRequested()
{
    return exitPath();
}

void MenuController::unloadIfLoaded(const QString &name)
{
    if (m_s.windows.isLoaded(name))
        m_s.windows.unload(name);
}

void MenuController::letterheadQuestion()
{
    if (!m_s.windows.settle({win::Appt, win::Setup}))
        return;
    const bool own = m_s.prompter.ask(letterheadText(), QStringLiteral("Letterhead Design"),
                                      ui::Icon::Question);
    m_s.windows.show(own ? win::LetterHead1 : win::NoLetterHead);
    unloadIfLoaded(win::Appt);
    unloadIfLoaded(win::Setup);
    m_s.windows.unload(win::Menu);
}

bool MenuController::exitPath()
{
    // Nothing typed is lost on the way out.
    if (!m_s.windows.settle({win::Appt, win::PatientDetails, win::Account}))
        return false;
    const bool backup = m_s.prompter.ask(backupText(), QStringLiteral("Back-up Files"),
                                         ui::Icon::Question);
    if (backup) {
        // The backup window ends the program when it closes.
        m_s.state.exitFlag = true;
        m_s.windows.show(win::Backup);
    }
    unloadIfLoaded(win::Appt);
    unloadIfLoaded(win::PatientDetails);
    unloadIfLoaded(win::Account);
    m_s.windows.unload(win::Menu);
    if (!backup)
        m_s.windows.quit();
    return true;
}

QString MenuController::location() const
{
    try {
        store::RecordSource setup(m_s.db);
        setup.bind(store::tables::Setup);
        QString text = setup.eof() ? QString() : setup.text(QStringLiteral("location"));
        // Said where everyone sees it: such a folder may not pass the
        // stations' locks to each other.
        if (!m_s.db.onServer()) {
            const QString kind = store::ShareLock::remoteKind(QFileInfo(m_s.db.path()).absolutePath());
            if (!kind.isEmpty())
                text += (text.isEmpty() ? QString() : QStringLiteral("  ")) + QStringLiteral("(data on %1)").arg(kind);
        }
        return text;
    } catch (const store::DbError &) {
        // The menu shows nothing rather than stopping over a caption.
        return QString();
    }
}

QString MenuController::dataText() const
{
    const QString folder = QDir::toNativeSeparators(m_s.state.places.data());
    if (m_s.db.onServer())
        return QStringLiteral("%1 (settings in %2)").arg(m_s.db.where(), folder);
    return folder;
}

QString MenuController::dataChangedText(const QString &folder, bool overridden)
{
    QString text = QStringLiteral("From its next start, Quillon on this computer keeps the practice's "
                                  "data in\n%1")
                       .arg(QDir::toNativeSeparators(folder));
    if (overridden)
        text += QStringLiteral("\n\nThis start's folder was named by --data, by QUILLON_DATA or by "
                               "the data beside the program; while it is, it comes first.");
    return text;
}

void MenuController::dataFolderChosen(const QString &folder)
{
    using S = ui::Places::Source;
    const ui::Places &places = m_s.state.places;
    if (QDir::cleanPath(folder) == QDir::cleanPath(places.data()))
        return;
    if (!ui::Places::remember(places.settingsFile(), folder)) {
        m_s.prompter.message(QStringLiteral("This station's settings\n%1\ncannot be written: the data "
                                            "folder stays as it is.")
                                 .arg(QDir::toNativeSeparators(places.settingsFile())),
                             QStringLiteral("Practice Data"), ui::Icon::Warning);
        return;
    }
    const bool overridden = places.source() != S::Chosen && places.source() != S::Ask;
    m_s.prompter.message(dataChangedText(folder, overridden), QStringLiteral("Practice Data"),
                         ui::Icon::Information);
}

void SplashController::userPressed()
{
    if (m_done)
        return;
    m_done = true;
    m_windows.replace(ui::win::Splash, ui::win::Menu);
}

} // namespace app
