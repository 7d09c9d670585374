#pragma once

namespace store {
class Database;
}

namespace ui {

class Prompter;
class Windows;
struct AppState;

// What every window controller is given: the station's database, the one
// prompter, the program-wide values and the window registry.
struct Services {
    store::Database &db;
    Prompter &prompter;
    AppState &state;
    Windows &windows;
};

} // namespace ui
