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
#include "ui/widgets/windowregistry.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace win = ui::win;

namespace {

// Every window of the program as it registers them, on a fresh database.
class AccessibleNamesTest : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
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

    // The controls of a window a keyboard user can reach whose accessible
    // name is empty: a screen reader announces them as "button", "edit".
    static QStringList unnamed(QWidget *window)
    {
        QStringList out;
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) || w->focusProxy())
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            if (iface && iface->text(QAccessible::Name).trimmed().isEmpty())
                out << QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
        }
        return out;
    }

    testsupport::TestDir dir;
};

} // namespace

TEST_F(AccessibleNamesTest, EveryControlOfEveryTaskWindowHasAName)
{
    // The windows a front desk works in, on a new practice's database.
    const QStringList names{win::Menu,    win::Appt,          win::SearchMenu, win::Search,  win::Summary,
                            win::Setup,   win::Configure,     win::Backup,     win::Account, win::PatientDetails,
                            win::DailySchedule, win::WeeklySchedule, win::LetterHead1, win::LetterHead2, win::LetterHead3,
                            win::LetterHead4, win::NoLetterHead};
    for (const QString &name : names) {
        if (name == win::Configure)
            prompter.expectMessage();   // its opening advice
        windows.show(name);
        QCoreApplication::processEvents();
        QWidget *w = windows.window(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        EXPECT_EQ(unnamed(w).join(", ").toStdString(), "") << name.toStdString();
        // The lists read as tables under their headings.
        if (QWidget *list = w->findChild<QWidget *>(QStringLiteral("dbgrid1"))) {
            QAccessibleTableInterface *t = QAccessible::queryAccessibleInterface(list)->tableInterface();
            ASSERT_TRUE(t) << name.toStdString();
            EXPECT_GT(t->columnCount(), 1);
            EXPECT_FALSE(t->columnDescription(0).isEmpty()) << name.toStdString();
        }
        windows.unload(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
