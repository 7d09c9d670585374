#include "book/widgets/bookwindows.h"

#include "book/widgets/bookwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace book {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Appt, ui::loadingWindow<BookWindow>());
}

} // namespace book
