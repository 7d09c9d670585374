#pragma once

#include "ui/core/services.h"

#include <QString>

namespace app {

// What the main menu does: its options, its digit keys, the letterhead
// question and the exit path. The window only forwards the user's events.
class MenuController {
public:
    explicit MenuController(ui::Services &services);

    // Options 1 to 6 and 8 as chosen on their buttons (Space, Enter or a
    // mouse press); other numbers do nothing.
    void chooseOption(int option);
    // Key-down anywhere on the menu; key codes 49..56 are the digits 1..8.
    // Keys 1, 2, 3, 4 and 6 open their window but leave the menu open; 5 and 8
    // act as their options. Returns true when the key did something.
    bool digitKey(int keyCode);
    // The readme button.
    void showReadme();
    // The change log button.
    void showChangeLog();
    // The user (or the system) closed the menu window: the exit path.
    bool closeRequested();

    void letterheadQuestion();
    bool exitPath();

    // The practice's location from the settings, shown on the menu.
    QString location() const;
    // Where the practice's data is: the data folder, or the server.
    QString dataText() const;
    // The user chose another data folder (the data folder window): used
    // from the next start, as the open windows hold this one's data.
    void dataFolderChosen(const QString &folder);
    static QString dataChangedText(const QString &folder, bool overridden);

    static QString letterheadText();
    static QString backupText();

private:
    void unloadIfLoaded(const QString &name);

    ui::Services &m_s;
};

// The splash window's one rule: the first key or mouse press opens the menu
// and unloads the splash.
class SplashController {
public:
    explicit SplashController(ui::Windows &windows) : m_windows(windows) {}
    void userPressed();

private:
    ui::Windows &m_windows;
    bool m_done = false;
};

} // namespace app
