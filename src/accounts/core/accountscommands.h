#pragma once

#include "ui/core/commandset.h"

namespace accounts {

class AccountController;
class ManualSearch;
class PatientController;
class SearchMenuController;
class SummaryController;

// The accounts windows' commands: menus, toolbars, keys, legends and
// buttons. Commands that act on the focused box (the Edit menu's) are the
// window's to give.
void addPatientCommands(ui::CommandSet &set, PatientController &ctl);
void addAccountCommands(ui::CommandSet &set, AccountController &ctl);
void addSummaryCommands(ui::CommandSet &set, SummaryController &ctl);
void addSearchCommands(ui::CommandSet &set, ManualSearch &ctl);
void addSearchMenuCommands(ui::CommandSet &set, SearchMenuController &ctl);

} // namespace accounts
