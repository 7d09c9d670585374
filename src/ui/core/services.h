#pragma once

namespace store {
class Database;
}

namespace ui {

class Clipboard;
class Clock;
class Desktop;
class Prompter;
class Windows;
struct AppState;

// What every window controller is given: the station's database, the one
// prompter, the program-wide values, the window registry, the clock, the
// clipboard and the desktop's programs.
struct Services {
    store::Database &db;
    Prompter &prompter;
    AppState &state;
    Windows &windows;
    const Clock &clock;
    Clipboard &clipboard;
    Desktop &desktop;
};

} // namespace ui
