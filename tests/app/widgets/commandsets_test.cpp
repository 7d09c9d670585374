#include "accounts/widgets/accountswindows.h"
#include "app/widgets/registration.h"
#include "backup/widgets/backupwindows.h"
#include "book/widgets/bookwindows.h"
#include "invoiceprint/widgets/invoiceprintwindows.h"
#include "schedules/widgets/schedulewindows.h"
#include "setup/widgets/setupwindows.h"
#include "setup/widgets/templatewindows.h"
#include "support/station.h"
#include "ui/core/windows.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <gtest/gtest.h>

namespace win = ui::win;

namespace {

class CommandSetsTest : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        windows.setServices(&services);
        app::registerWindows(windows);
        book::registerWindows(windows);
        schedules::registerWindows(windows);
        setup::registerWindows(windows);
        setup::registerTemplateWindow(windows);
        backup::registerWindows(windows);
        accounts::registerWindows(windows);
        invoiceprint::registerWindows(windows);
        app::registerUnavailableWindows(windows);
    }

    // Whether the window used the key up: a key no control wants travels up
    // to the window unaccepted.
    static bool answers(QWidget *window, int key)
    {
        QWidget *at = QApplication::focusWidget();
        if (!at || !window->isAncestorOf(at))
            at = window;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(at, &press);
        return press.isAccepted();
    }

    testsupport::TestDir dir;
};

} // namespace

// Every task window declares its keys in one command set: each key it
// answers is there (and reaches the set), none is handled beside it, and its
// legend is the set's.
TEST_F(CommandSetsTest, EveryTaskWindowAnswersItsSetsKeysAndShowsItsLegend)
{
    const QStringList names{win::Menu,         win::Appt,           win::SearchMenu,  win::Search,
                            win::Summary,      win::Setup,          win::Configure,   win::Backup,
                            win::Account,      win::PatientDetails, win::DailySchedule, win::WeeklySchedule,
                            win::LetterHead1,  win::LetterHead2,    win::LetterHead3, win::LetterHead4,
                            win::NoLetterHead, win::ChangeLog};
    QList<int> keys{Qt::Key_Escape};
    for (int k = Qt::Key_F1; k <= Qt::Key_F12; ++k)
        keys << k;
    for (const QString &name : names) {
        const std::string at = name.toStdString();
        if (name == win::Configure)
            prompter.expectMessage();   // its opening advice
        windows.show(name);
        QCoreApplication::processEvents();
        QWidget *w = windows.window(name);
        ASSERT_NE(w, nullptr) << at;
        auto *table = w->findChild<ui::CommandTable *>();
        ASSERT_NE(table, nullptr) << at;
        ui::CommandSet &set = table->set();

        QString shown;
        for (QLabel *l : w->findChildren<QLabel *>())
            if (l->property(ui::CommandTable::LegendProperty).toBool())
                shown = l->text();
        EXPECT_EQ(shown, set.legend()) << at;

        // Every command now only counts, so that pressing its key is harmless.
        int ran = 0;
        for (const ui::Command &c : set.commands())
            set.setRun(c.id, [&ran] { ++ran; });
        for (int key : keys) {
            const bool inSet = set.forKey(key) != nullptr;
            const int before = ran;
            EXPECT_EQ(answers(w, key), inSet) << at << " " << ui::CommandSet::keyText(key).toStdString();
            const bool runs = inSet && set.isAvailable(*set.forKey(key));
            EXPECT_EQ(ran, before + (runs ? 1 : 0)) << at << " " << ui::CommandSet::keyText(key).toStdString();
        }
        windows.unload(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
