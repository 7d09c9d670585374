#include "invoiceprint/core/invoiceprintcommands.h"

#include "invoiceprint/core/designs.h"
#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/core/preprintedcontroller.h"

namespace invoiceprint {

void addLetterheadCommands(ui::CommandSet &set, LetterheadController &ctl, const Design &design, ui::Windows &windows)
{
    const auto button = [&](const char *id, const QString &text, std::function<void()> run,
                            const QString &name = QString()) {
        set.add({.id = QLatin1String(id), .text = text, .accessibleName = name, .run = std::move(run)});
    };
    LetterheadController *c = &ctl;
    button("CmdFirst", QStringLiteral("&/<"), [c] { c->first(); }, QStringLiteral("First design"));
    button("CmdPrevious", QStringLiteral("&<"), [c] { c->previous(); }, QStringLiteral("Previous design"));
    button("CmdNext", QStringLiteral("&>"), [c] { c->next(); }, QStringLiteral("Next design"));
    button("CmdLast", QStringLiteral(">&\\"), [c] { c->last(); }, QStringLiteral("Last design"));
    button("CmdSamples", QStringLiteral("S&amples"), [c] { c->samples(); });
    button("CmdDesign", QStringLiteral("&Design"), [c] { c->designOwn(); });
    button("cmdClear", QStringLiteral("&Clear"), [c] { c->clear(); });
    button("CmdSave", QStringLiteral("&Save"), [c] { c->save(); });
    button("CmdPreview", QStringLiteral("P&review"), [c] { c->preview(); });
    button("CmdPrint", QStringLiteral("&Print"), [c] { c->print(); });
    const QString window = design.window;
    button("CmdExit", QStringLiteral("&Finish"), [c, &windows, window] {
        if (c->finish())
            windows.unload(window);
    });
    set.add({.id = QStringLiteral("helpOn"), .functionKey = Qt::Key_F1, .legend = QStringLiteral("Press F1 for Help"),
             .run = [c] { c->showHelp(true); }});
    set.add({.id = QStringLiteral("helpOff"), .functionKey = Qt::Key_F2, .run = [c] { c->showHelp(false); }});
    set.add({.id = QStringLiteral("escape"), .functionKey = Qt::Key_Escape, .run = [c] { c->escape(); }});
}

void addPreprintedCommands(ui::CommandSet &set, PreprintedController &ctl, ui::Windows &windows)
{
    PreprintedController *c = &ctl;
    set.add({.id = QStringLiteral("CmdSave"), .text = QStringLiteral("&Save"), .run = [c] { c->save(); }});
    set.add({.id = QStringLiteral("CmdReset"), .text = QStringLiteral("&Reset"), .run = [c] { c->reset(); }});
    set.add({.id = QStringLiteral("CmdPreview"), .text = QStringLiteral("Pre&view"), .run = [c] { c->preview(); }});
    set.add({.id = QStringLiteral("CmdPrint"), .text = QStringLiteral("&Print"), .run = [c] { c->print(); }});
    set.add({.id = QStringLiteral("CmdExit"), .text = QStringLiteral("E&xit"), .run = [c, &windows] {
                 if (c->exit())
                     windows.unload(ui::win::NoLetterHead);
             }});
}

} // namespace invoiceprint
