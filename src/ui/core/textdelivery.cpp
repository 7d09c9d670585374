#include "ui/core/textdelivery.h"

#include "ui/core/appstate.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

namespace ui {

void deliverText(Services &services, const QString &title, const QString &text)
{
    TextHandOver &out = services.state.textOut;
    out.title = title;
    out.text = text;
    ++out.serial;
    services.windows.show(win::TextEditor);
}

} // namespace ui
