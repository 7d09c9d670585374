#include "accounts/widgets/accountswindows.h"

#include "accounts/widgets/accountwindow.h"
#include "accounts/widgets/patientwindow.h"
#include "accounts/widgets/searchmenuwindow.h"
#include "accounts/widgets/searchwindow.h"
#include "accounts/widgets/summarywindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace accounts {

namespace {

// Each showing of the window by the program is its coming to the front:
// it takes the program-wide values handed to it.
template <class W>
void arriveOnShow(ui::WindowRegistry &registry, W *w, const QString &name)
{
    QObject::connect(&registry, &ui::WindowRegistry::windowShown, w, [w, name](const QString &shown) {
        if (shown == name)
            w->arrive();
    });
}

} // namespace

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::PatientDetails, [&registry](ui::Services &s) -> QWidget * {
        auto *w = new PatientWindow(s);
        if (!w->load()) {
            delete w;
            return nullptr;
        }
        arriveOnShow(registry, w, ui::win::PatientDetails);
        return w;
    });
    registry.add(ui::win::Account, [&registry](ui::Services &s) -> QWidget * {
        auto *w = new AccountWindow(s);
        if (!w->load()) {
            delete w;
            return nullptr;
        }
        arriveOnShow(registry, w, ui::win::Account);
        return w;
    });
    registry.add(ui::win::Summary, [&registry](ui::Services &s) -> QWidget * {
        auto *w = new SummaryWindow(s);
        arriveOnShow(registry, w, ui::win::Summary);
        return w;
    });
    registry.add(ui::win::SearchMenu, [&registry](ui::Services &s) -> QWidget * {
        auto *w = new SearchMenuWindow(s);
        arriveOnShow(registry, w, ui::win::SearchMenu);
        return w;
    });
    registry.add(ui::win::Search, [&registry](ui::Services &s) -> QWidget * {
        auto *w = new SearchWindow(s);
        arriveOnShow(registry, w, ui::win::Search);
        return w;
    });
}

} // namespace accounts
