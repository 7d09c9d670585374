#include "book/widgets/printpanel.h"

#include "book/core/bookprinting.h"
#include "book/widgets/keybinder.h"
#include "ui/widgets/controls.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace book {

namespace {

using Choice = PrintOptions::Choice;
using PanelFocus = PrintOptions::Focus;

} // namespace

PrintPanel::PrintPanel(BookPrinting &printing, QWidget *parent)
    : QFrame(parent), m_printing(printing)
{
    setObjectName(QStringLiteral("Frame3"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    auto *title = new QLabel(QStringLiteral("Print"), this);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    m_weekly = ui::named(new QRadioButton(QStringLiteral("Print/View Weekly Schedule"), this),
                         QStringLiteral("Option1"));
    m_daily = ui::named(new QRadioButton(QStringLiteral("Print Daily Schedule"), this), QStringLiteral("Option2"));
    m_column = ui::named(new QRadioButton(QStringLiteral("Print Column No. ( Range 1 to 16 )"), this),
                         QStringLiteral("Option3"));
    m_entry = ui::named(new QLineEdit(this), QStringLiteral("txtPrint"));
    m_entry->setMaximumWidth(80);
    m_print = ui::named(new QPushButton(QStringLiteral("Print"), this), QStringLiteral("cmdPrint"));
    m_close = ui::named(new QPushButton(QStringLiteral("Close"), this), QStringLiteral("cmdClosePrint"));
    // The options are switched on and off by the controller alone.
    for (QRadioButton *o : {m_weekly, m_daily, m_column})
        o->setAutoExclusive(false);
    m_entry->installEventFilter(this);   // leaving it
    auto *keys = new KeyBinder(
        [this](KeyPlace place, KeyAction action, const KeyPress &k) {
            const KeyOutcome out = runPrintKey(m_printing, place, action, k);
            if (out.focus >= 0)
                applyFocus(out.focus);
            return out;
        },
        this);
    keys->bind(m_weekly, KeyPlace::WeeklyChoice);
    keys->bind(m_daily, KeyPlace::DailyChoice);
    keys->bind(m_column, KeyPlace::ColumnChoice);
    keys->bind(m_entry, KeyPlace::PrintEntry);
    for (QPushButton *b : {m_print, m_close})
        b->setAutoDefault(false);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(16, 12, 16, 12);
    v->setSpacing(8);
    v->addWidget(title);
    v->addWidget(m_weekly);
    v->addWidget(m_daily);
    v->addWidget(m_column);
    auto *entryRow = new QHBoxLayout;
    entryRow->addSpacing(24);
    entryRow->addWidget(m_entry);
    entryRow->addStretch(1);
    v->addLayout(entryRow);
    auto *buttons = ui::buttonRow({m_print, m_close});
    v->addLayout(buttons);

    PrintOptions &o = m_printing.options();
    const auto chosen = [this, &o](Choice c) {
        if (!m_syncing) {
            o.choose(c);
            sync();
        }
    };
    connect(m_weekly, &QRadioButton::clicked, this, [chosen] { chosen(Choice::Weekly); });
    connect(m_daily, &QRadioButton::clicked, this, [chosen] { chosen(Choice::Daily); });
    connect(m_column, &QRadioButton::clicked, this, [chosen] { chosen(Choice::Column); });
    connect(m_entry, &QLineEdit::textEdited, this, [&o](const QString &t) { o.setEntry(t); });
    connect(m_print, &QPushButton::clicked, this, [this] { applyFocus(int(m_printing.print())); });
    connect(m_close, &QPushButton::clicked, this, [this] { m_printing.closePanel(); });
    hide();
}

void PrintPanel::sync()
{
    const PrintOptions &o = m_printing.options();
    m_syncing = true;
    m_weekly->setChecked(o.choice() == Choice::Weekly);
    m_daily->setChecked(o.choice() == Choice::Daily);
    m_column->setChecked(o.choice() == Choice::Column);
    m_column->setText(o.columnCaption());
    m_entry->setText(o.entry());
    m_entry->setReadOnly(o.entryReadOnly());
    m_syncing = false;
    if (o.visible() != isVisible()) {
        setVisible(o.visible());
        if (o.visible()) {
            place();
            raise();
        }
    }
}

void PrintPanel::focusDailyChoice()
{
    m_daily->setFocus(Qt::OtherFocusReason);
}

void PrintPanel::place()
{
    adjustSize();
    if (QWidget *p = parentWidget())
        move((p->width() - width()) / 2, (p->height() - height()) / 3);
}

void PrintPanel::applyFocus(int focus)
{
    switch (PanelFocus(focus)) {
    case PanelFocus::Weekly: m_weekly->setFocus(); break;
    case PanelFocus::Daily: m_daily->setFocus(); break;
    case PanelFocus::Column: m_column->setFocus(); break;
    case PanelFocus::Entry: m_entry->setFocus(); break;
    case PanelFocus::PrintButton: m_print->setFocus(); break;
    case PanelFocus::Stay: break;
    }
    sync();
}

bool PrintPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_entry && event->type() == QEvent::FocusOut) {
        m_printing.options().entryLeft();
        sync();
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace book
