#include "accounts/core/accountscommands.h"

#include "accounts/core/accountcontroller.h"
#include "accounts/core/manualsearch.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/patientcontroller.h"
#include "accounts/core/searchmenucontroller.h"
#include "accounts/core/summarycontroller.h"

namespace accounts {

namespace {

const QString File = QStringLiteral("mnuFile"), Edit = QStringLiteral("mnuEdit"), View = QStringLiteral("mnuView"),
              Help = QStringLiteral("mnuHelp");

// The Edit menu of a record window; what each does is the window's.
void addEditMenu(ui::CommandSet &set, const QString &deleteTip)
{
    set.add({.menu = Edit, .entry = QStringLiteral("mnuEditCut"), .text = QStringLiteral("Cu&t")});
    set.add({.menu = Edit, .entry = QStringLiteral("mnuEditCopy"), .text = QStringLiteral("&Copy"),
             .tool = QStringLiteral("Copy"), .toolTip = QStringLiteral("Copy"), .toolGap = true});
    set.add({.menu = Edit, .entry = QStringLiteral("mnuEditPaste"), .text = QStringLiteral("&Paste"),
             .tool = QStringLiteral("Paste"), .toolTip = QStringLiteral("Paste")});
    // The "Delete" button removes the selected text, as Edit > Delete does.
    set.add({.menu = Edit, .entry = QStringLiteral("mnuEditDelete"), .text = QStringLiteral("&Delete"),
             .tool = QStringLiteral("Delete"), .toolTip = deleteTip, .menuGap = true});
}

// The menu bar of a record window, in this order.
void addMenus(ui::CommandSet &set, std::initializer_list<std::pair<QString, QString>> menus)
{
    for (const auto &[name, title] : menus)
        set.addMenu(name, title);
}

// File > New, Open, Save and Delete of a record window: the keys differ.
template <class Ctl>
void addFileCommands(ui::CommandSet &set, Ctl &ctl, void (Ctl::*newRecord)(), int newKey, int saveKey,
                     const QString &deleteLegend)
{
    const QString newLegend = ui::CommandSet::keyText(newKey) + QStringLiteral("  New");
    set.add({.menu = File, .entry = QStringLiteral("mnuFileNew"), .text = QStringLiteral("&New"),
             .functionKey = newKey, .legend = newLegend, .run = [&ctl, newRecord] { (ctl.*newRecord)(); }});
    set.add({.menu = File, .entry = QStringLiteral("mnuFileOpen"), .text = QStringLiteral("&Open"),
             .tool = QStringLiteral("Open"), .toolTip = QStringLiteral("Open"), .run = [&ctl] { ctl.open(); }});
    set.add({.menu = File, .entry = QStringLiteral("mnuFileSave"), .text = QStringLiteral("&Save"),
             .functionKey = saveKey, .tool = QStringLiteral("Save"), .toolTip = QStringLiteral("Save"),
             .legend = ui::CommandSet::keyText(saveKey) + QStringLiteral("  Save"), .run = [&ctl] { ctl.save(); }});
    set.add({.menu = File, .entry = QStringLiteral("mnuFileDelete"), .text = QStringLiteral("&Delete"),
             .functionKey = Qt::Key_F7, .legend = deleteLegend, .menuGap = true, .run = [&ctl] { ctl.remove(); }});
}

template <class Ctl>
void addExit(ui::CommandSet &set, Ctl &ctl)
{
    set.add({.menu = File, .entry = QStringLiteral("mnuFileExit"), .text = QStringLiteral("E&xit"),
             .functionKey = Qt::Key_F12, .legend = QStringLiteral("F12  Exit"), .menuGap = true,
             .run = [&ctl] { ctl.exit(); }});
}

template <class Ctl>
void addHelpMenu(ui::CommandSet &set, Ctl &ctl)
{
    set.add({.menu = Help, .entry = QStringLiteral("mnuHelpAbout"), .text = QStringLiteral("&About"),
             .run = [&ctl] { ctl.about(); }});
    set.add({.menu = Help, .entry = QStringLiteral("mnuHelpContents"), .text = QStringLiteral("&Contents"),
             .functionKey = Qt::Key_F1, .tool = QStringLiteral("Help"), .toolTip = QStringLiteral("Help"),
             .legend = QStringLiteral("F1  Help"), .toolGap = true, .run = [&ctl] { ctl.help(); }});
}

// F3 toggles the Page Lock box, which sits in the legend's gap after it.
template <class Ctl>
void addPageLock(ui::CommandSet &set, Ctl &ctl, int gap)
{
    set.add({.id = QStringLiteral("pageLock"), .functionKey = Qt::Key_F3,
             .legend = QStringLiteral("F3").leftJustified(gap), .run = [&ctl] { ctl.togglePageLock(); }});
}

} // namespace

void addPatientCommands(ui::CommandSet &set, PatientController &ctl)
{
    const QString inv = QStringLiteral("mnuInvoice");
    addMenus(set, {{File, QStringLiteral("&File")},
                   {Edit, QStringLiteral("&Edit")},
                   {View, QStringLiteral("&View")},
                   {inv, QStringLiteral("&Invoice")},
                   {Help, QStringLiteral("&Help")}});
    // The legend's gap after F3 is where the Page Lock box sits.
    set.setLegendGap(QStringLiteral("     "));

    addFileCommands(set, ctl, &PatientController::newFile, Qt::Key_F5, Qt::Key_F4, QStringLiteral("F7  Delete"));
    addExit(set, ctl);

    addEditMenu(set, QStringLiteral("Delete"));

    set.add({.menu = View, .entry = QStringLiteral("mnuViewPrevious"), .text = QStringLiteral("&Previous"),
             .run = [&ctl] { ctl.previous(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewNext"), .text = QStringLiteral("&Next"),
             .run = [&ctl] { ctl.next(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewFiles"), .text = QStringLiteral("&Files"),
             .functionKey = Qt::Key_F6, .tool = QStringLiteral("Camera"), .toolTip = QStringLiteral("View Files"),
             .legend = QStringLiteral("F6  Files"), .toolGap = true, .run = [&ctl] { ctl.viewFiles(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewHistory"), .text = QStringLiteral("&History"),
             .functionKey = Qt::Key_F11, .legend = QStringLiteral("F11  History"), .run = [&ctl] { ctl.history(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewAccounts"), .text = QStringLiteral("&Accounts"),
             .run = [&ctl] { ctl.accounts(); }});
    set.add({.menu = inv, .entry = QStringLiteral("mnuInvoiceCreate"), .text = QStringLiteral("&Create"),
             .functionKey = Qt::Key_F9, .tool = QStringLiteral("Accounts"), .toolTip = QStringLiteral("Invoice"),
             .legend = QStringLiteral("F9  Invoice"), .run = [&ctl] { ctl.invoice(); }});
    addHelpMenu(set, ctl);
    // F2 is named "Summary" on the legend but opens the files, as F6 does.
    set.add({.functionKey = Qt::Key_F2, .legend = QStringLiteral("F2  Summary"), .run = [&ctl] { ctl.viewFiles(); }});
    addPageLock(set, ctl, 30);
    set.add({.functionKey = Qt::Key_F8, .legend = QStringLiteral("F8  Cancel"), .run = [&ctl] { ctl.cancel(); }});
}

void addAccountCommands(ui::CommandSet &set, AccountController &ctl)
{
    addMenus(set, {{File, QStringLiteral("&File")},
                   {Edit, QStringLiteral("&Edit")},
                   {View, QStringLiteral("&View")},
                   {Help, QStringLiteral("&Help")}});
    set.setLegendGap(QStringLiteral("    "));

    addFileCommands(set, ctl, &AccountController::newInvoice, Qt::Key_F8, Qt::Key_F9, QStringLiteral("F7 Delete"));
    set.add({.menu = File, .entry = QStringLiteral("mnuFilePreview"), .text = QStringLiteral("Pre&view"),
             .functionKey = Qt::Key_F10, .legend = QStringLiteral("F10  Preview"), .menuGap = true,
             .run = [&ctl] { ctl.preview(); }});
    set.add({.menu = File, .entry = QStringLiteral("mnuFilePrint"), .text = QStringLiteral("&Print"),
             .functionKey = Qt::Key_F11, .tool = QStringLiteral("Print"), .toolTip = QStringLiteral("Print"),
             .legend = QStringLiteral("F11  Print"), .run = [&ctl] { ctl.print(); }});
    addExit(set, ctl);

    addEditMenu(set, QStringLiteral("Delete File"));

    set.add({.menu = View, .entry = QStringLiteral("mnuViewPrevious"), .text = QStringLiteral("&Previous invoice"),
             .functionKey = Qt::Key_F4, .tool = QStringLiteral("Back"), .toolTip = QStringLiteral("Previous invoice"),
             .legend = QStringLiteral("F4  Back"), .toolGap = true, .run = [&ctl] { ctl.previous(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewNext"), .text = QStringLiteral("&Next invoice"),
             .functionKey = Qt::Key_F5, .tool = QStringLiteral("Forwards"), .toolTip = QStringLiteral("Next invoice"),
             .legend = QStringLiteral("F5  Forwards"), .run = [&ctl] { ctl.next(); }});
    set.add({.menu = View, .entry = QStringLiteral("mnuViewSummary"), .text = QStringLiteral("&Summary Accounts"),
             .tool = QStringLiteral("Files"), .toolTip = QStringLiteral("Accounts Summary"),
             .run = [&ctl] { ctl.summary(); }});
    // Every function key has a command here: History goes by Ctrl+H.
    set.add({.menu = View, .entry = QStringLiteral("mnuViewHistory"), .text = QStringLiteral("&History"),
             .shortcut = QStringLiteral("Ctrl+H"), .legend = QStringLiteral("Ctrl+H  History"),
             .run = [&ctl] { ctl.history(); }});
    set.add({.functionKey = Qt::Key_F6, .tool = QStringLiteral("Camera"), .toolTip = QStringLiteral("View Files"),
             .legend = QStringLiteral("F6  Files"), .run = [&ctl] { ctl.viewFiles(); }});
    addHelpMenu(set, ctl);
    set.add({.functionKey = Qt::Key_F2, .legend = QStringLiteral("F2  Summary"), .run = [&ctl] { ctl.showSummaries(); }});
    addPageLock(set, ctl, 26);
}

void addSummaryCommands(ui::CommandSet &set, SummaryController &ctl)
{
    set.add({.id = QStringLiteral("helpOn"), .functionKey = Qt::Key_F1, .legend = QStringLiteral("Press F1 for Help"),
             .run = [&ctl] { ctl.showHelp(true); }});
    set.add({.id = QStringLiteral("helpOff"), .functionKey = Qt::Key_F2, .run = [&ctl] { ctl.showHelp(false); }});
    struct Button {
        const char *id, *text, *tip;
        void (SummaryController::*run)();
    };
    const Button list[] = {
        {"cmdSummary", "&Account Summary", "View individual patient's accounts", &SummaryController::patientSummary},
        {"cmdReferrer", "&Referrer", "View individual practitioner's accounts", &SummaryController::referrerAccounts},
        {"cmdPract", "&Practitioner", "View individual practitioner's accounts",
         &SummaryController::practitionerAccounts},
        {"cmdCash", "&Cash Accounts", "View accounts paid with cash", &SummaryController::cashAccounts},
        {"CmdOutstanding", "&Unpaid Accounts", "", &SummaryController::unpaidAccounts},
        {"CmdAllAccounts", "&View All Accounts", "View all accounts sorted by Issue Date",
         &SummaryController::allAccounts},
        {"cmdsort", "&Sort Accounts", "View all accounts sorted by Patients' Names", &SummaryController::sortAccounts},
        {"CmdExit", "E&xit", "", &SummaryController::exit},
    };
    for (const Button &b : list) {
        const auto run = b.run;
        set.add({.id = QLatin1String(b.id), .text = QString::fromUtf8(b.text), .toolTip = QString::fromUtf8(b.tip),
                 .run = [&ctl, run] { (ctl.*run)(); }});
    }
}

void addSearchCommands(ui::CommandSet &set, ManualSearch &ctl)
{
    set.add({.id = QStringLiteral("cmdNew"), .text = QStringLiteral("&Add New Client"), .run = [&ctl] { ctl.addNewClient(); }});
    set.add({.id = QStringLiteral("cmdExit"), .text = QStringLiteral("E&xit"), .run = [&ctl] { ctl.exit(); }});
}

void addSearchMenuCommands(ui::CommandSet &set, SearchMenuController &ctl)
{
    namespace s = search;
    set.add({.id = s::Search, .text = QStringLiteral("&Search"), .run = [&ctl] { ctl.search(); }});
    set.add({.id = s::Files, .text = QStringLiteral("&View Files"), .run = [&ctl] { ctl.viewFiles(); }});
    set.add({.id = s::Accounts, .text = QStringLiteral("&Accounts"), .run = [&ctl] { ctl.accounts(); }});
    set.add({.id = s::Cancel, .text = QStringLiteral("&Cancel"), .run = [&ctl] { ctl.cancel(); }});
    set.add({.id = s::Exit, .text = QStringLiteral("E&xit"), .run = [&ctl] { ctl.exit(); }});
}

} // namespace accounts
