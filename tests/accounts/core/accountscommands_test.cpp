#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountscommands.h"
#include "accounts/core/patientcontroller.h"
#include "support/doubles/recordingreporter.h"
#include "support/station.h"

#include <gtest/gtest.h>

namespace {

// The record windows' legends as the front desk reads them under the form,
// History among them; each key named there is one the window answers.
TEST(AccountsCommands, RecordWindowsLegendsNameTheirKeysWithHistory)
{
    testsupport::TestDir dir;
    testsupport::Station<> s;
    ASSERT_TRUE(s.open(dir).ok());
    report::RecordingReporter reporter;
    accounts::PatientController files(s.services);
    accounts::AccountController invoices(s.services, reporter);
    ui::CommandSet patient, account;
    accounts::addPatientCommands(patient, files);
    accounts::addAccountCommands(account, invoices);

    EXPECT_EQ(patient.legend(),
              "F1  Help     F2  Summary     F3                                 F4  Save     F5  New     "
              "F6  Files     F7  Delete     F8  Cancel     F9  Invoice     F11  History     F12  Exit");
    EXPECT_EQ(account.legend(),
              "F1  Help    F2  Summary    F3                            F4  Back    F5  Forwards    F6  Files    "
              "F7 Delete    F8  New    F9  Save    F10  Preview    F11  Print    F12  Exit    Ctrl+H  History");
    for (const ui::CommandSet *set : {&patient, &account}) {
        for (const ui::Command &c : set->commands()) {
            if (!c.legend.isEmpty()) {
                EXPECT_TRUE(c.functionKey || !c.shortcut.isEmpty()) << c.id.toStdString();
            }
        }
    }
    EXPECT_EQ(patient.forKey(Qt::Key_F11)->entry, "mnuViewHistory");
    EXPECT_EQ(account.find("mnuViewHistory")->shortcut, "Ctrl+H");
}

} // namespace
