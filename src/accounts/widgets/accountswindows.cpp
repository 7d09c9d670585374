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

// A window that binds a record source is not made when the source cannot
// be read (it has said so).
template <class W>
void addWindow(ui::WindowRegistry &registry, const QString &name)
{
    registry.add(name, [&registry, name](ui::Services &s) -> QWidget * {
        auto *w = new W(s);
        if constexpr (requires { w->load(); }) {
            if (!w->load()) {
                delete w;
                return nullptr;
            }
        }
        arriveOnShow(registry, w, name);
        return w;
    });
}

} // namespace

void registerWindows(ui::WindowRegistry &registry)
{
    addWindow<PatientWindow>(registry, ui::win::PatientDetails);
    addWindow<AccountWindow>(registry, ui::win::Account);
    addWindow<SummaryWindow>(registry, ui::win::Summary);
    addWindow<SearchMenuWindow>(registry, ui::win::SearchMenu);
    addWindow<SearchWindow>(registry, ui::win::Search);
}

} // namespace accounts
