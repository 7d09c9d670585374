#include "app/core/menucontroller.h"

#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

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
        m_s.windows.show(win::Setup);
        m_s.windows.unload(win::Menu);
        break;
    case 4:
        m_s.windows.show(win::Configure);
        m_s.windows.unload(win::Menu);
        break;
    case 5: letterheadQuestion(); break;
    case 6:
        m_s.windows.show(win::Backup);
        m_s.windows.unload(win::Menu);
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
        return setup.eof() ? QString() : setup.text(QStringLiteral("location"));
    } catch (const store::DbError &) {
        // The menu shows nothing rather than stopping over a caption.
        return QString();
    }
}

void SplashController::userPressed()
{
    if (m_done)
        return;
    m_done = true;
    m_windows.show(ui::win::Menu);
    m_windows.unload(ui::win::Splash);
}

} // namespace app
