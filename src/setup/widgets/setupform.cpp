// The form's controls and their layout; the behaviour is in setupwindow.cpp.
#include "setup/widgets/setupwindow.h"

#include "setup/core/setupcommands.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/controls.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace setup {

namespace {

const char *const Prompts[] = {
    "1.  How would you describe your service location?      (e.g. Clinic, Office, Center, Agency)",
    "2. Time for first appointment  (e.g. 07:30 AM, 08:00 AM ):",
    "3. Time for last appointment (e.g. 05:00 PM, 05:30 PM)",
    "4.  Time alloted for each appointment in minutes:  (Range: 10 to 240 )",
    "5.  Number of text lines to display in the timeslots:  ( Range 1 to 6 )",
    "6.  Number of service providers: ( Range: 1 to 20 )",
    "7.  Please type in names of service providers:-",
};

QFont arial(int points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"), points);
    f.setBold(bold);
    f.setItalic(false);
    return f;
}

QLabel *prompt(int i, QWidget *parent)
{
    auto *l = new QLabel(QString::fromLatin1(Prompts[i]), parent);
    l->setTextFormat(Qt::PlainText);
    l->setFont(arial(10));
    return l;
}

QLabel *colon(QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral(":"), parent);
    l->setFont(arial(11, true));
    return l;
}

} // namespace

QLineEdit *SetupWindow::makeField(Field f, int widthChars)
{
    auto *e = ui::named(new QLineEdit(this), fieldName(f));
    e->setFont(arial(10, true));
    const QFontMetrics fm(e->font());
    e->setFixedWidth(fm.horizontalAdvance(QLatin1Char('0')) * widthChars + 16);
    m_fields[fieldIndex(f)] = e;
    return e;
}

void SetupWindow::buildForm()
{
    setFont(arial(10));
    // A text box being typed in turns pale yellow, as everywhere in the program.
    const QString typing = ui::toQColor(ui::colours::PaleYellow).name();
    setStyleSheet(QStringLiteral("QLineEdit:focus { background: %1; }"
                                 "QFrame#setupCard { background: palette(base);"
                                 " border: 1px solid palette(mid); border-radius: 6px; }").arg(typing));

    auto *card = ui::named(new QFrame(this), QStringLiteral("setupCard"));
    // The names grid scales with the screen; so does the card that holds it.
    card->setMaximumWidth(int(screenWidthPixels() * 0.82));
    card->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto *form = new QGridLayout(card);
    form->setContentsMargins(32, 28, 32, 24);
    form->setHorizontalSpacing(24);
    form->setVerticalSpacing(14);

    auto timeRow = [this](Field hour, Field minutes, Field amPm) {
        auto *row = new QHBoxLayout;
        row->setSpacing(4);
        row->addWidget(makeField(hour, 2));
        row->addWidget(colon(this));
        row->addWidget(makeField(minutes, 2));
        row->addSpacing(8);
        row->addWidget(makeField(amPm, 3));
        m_fields[fieldIndex(minutes)]->setAccessibleName(QStringLiteral("Minutes"));
        m_fields[fieldIndex(amPm)]->setAccessibleName(QStringLiteral("AM or PM"));
        row->addStretch();
        return row;
    };

    auto *heading = new QLabel(windowTitle().trimmed(), card);
    heading->setFont(arial(14, true));
    form->addWidget(heading, 0, 0, 1, 3);
    auto *rule = new QFrame(card);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    form->addWidget(rule, 1, 0, 1, 3);

    form->addWidget(prompt(0, card), 2, 0);
    form->addWidget(makeField(Field::Text1, 22), 2, 1);
    form->addWidget(prompt(1, card), 3, 0);
    form->addLayout(timeRow(Field::txtHrO, Field::txtMinO, Field::txtAM), 3, 1);
    form->addWidget(prompt(2, card), 4, 0);
    form->addLayout(timeRow(Field::txtHrC, Field::txtMinC, Field::txtPM), 4, 1);
    form->addWidget(prompt(3, card), 5, 0);
    form->addWidget(makeField(Field::Text4, 4), 5, 1);
    form->addWidget(prompt(4, card), 6, 0);
    form->addWidget(makeField(Field::txtRHT, 4), 6, 1);
    form->addWidget(prompt(5, card), 7, 0);
    form->addWidget(makeField(Field::Text5, 4), 7, 1);
    form->setColumnStretch(2, 1);
    form->addItem(new QSpacerItem(0, 6), 8, 0);
    form->addWidget(prompt(6, card), 9, 0, 1, 3);

    m_grid = new ui::GridView(card);
    m_grid->setAccessibleName(QStringLiteral("Names of service providers"));
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_ctl.grid());
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_grid->installEventFilter(this);
    auto *gridRow = new QHBoxLayout;
    gridRow->addWidget(m_grid, 1);
    gridRow->addStretch(0);
    form->addLayout(gridRow, 10, 0, 1, 3);

    m_editor = ui::named(new QLineEdit(m_grid), QStringLiteral("txtEdit"));
    m_editor->setFont(arial(8, true));
    m_editor->setFrame(false);
    m_editor->setStyleSheet(QStringLiteral("background: %1;").arg(typing));
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString kept = m_ctl.editorChanged(text);
        if (kept != text)
            m_editor->setText(kept);
    });

    addSetupCommands(m_commands);
    m_commands.setRun(QStringLiteral("CmdOkay"), [this] { pressOkay(); });
    m_commands.setRun(QStringLiteral("CmdReset"), [this] { pressReset(); });
    auto *table = new ui::CommandTable(m_commands, this);
    m_okay = table->button(QStringLiteral("CmdOkay"), card);
    m_reset = table->button(QStringLiteral("CmdReset"), card);
    for (QPushButton *b : {m_okay, m_reset}) {
        b->setFont(arial(10, true));
        b->setMinimumSize(110, 32);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okay);
    buttons->addSpacing(12);
    buttons->addWidget(m_reset);
    form->addItem(new QSpacerItem(0, 10), 11, 0);
    form->addLayout(buttons, 12, 0, 1, 3);

    auto *centre = new QHBoxLayout;
    centre->addStretch();
    centre->addWidget(card, 12);
    centre->addStretch();
    auto *body = ui::named(new QWidget(this), QStringLiteral("body"));
    setCentralWidget(body);
    auto *outer = new QVBoxLayout(body);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(2);

    QWidget *order[] = {m_fields[0], m_fields[1], m_fields[2], m_fields[3], m_fields[4],
                        m_fields[5], m_fields[6], m_fields[7], m_fields[8], m_fields[9],
                        m_grid,      m_okay,      m_reset};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_grid, &ui::GridView::keyPressed, this, &SetupWindow::gridKey);
    connect(m_grid, &ui::GridView::keyDown, this, &SetupWindow::gridKeyDown);
    connect(m_grid, &ui::GridView::mouseDown, this, [this] { hideEditor(); });
    connect(m_grid, &ui::GridView::columnResized, this, [this] {
        if (m_editor->isVisible())
            placeEditor();
    });
    connect(m_grid, &ui::GridView::scrolled, this, [this] {
        if (m_editor->isVisible())
            placeEditor();
    });
    connect(&m_ctl.grid(), &ui::GridModel::changed, this, &SetupWindow::fitGrid);
    fitGrid();
}

// The names grid is as tall as its two rows (and the scroll bar when the
// columns do not fit) and no wider than its columns.
void SetupWindow::fitGrid()
{
    const ui::GridModel &g = m_ctl.grid();
    int width = 0, height = 0;
    for (int c = 0; c < g.cols(); ++c)
        width += m_grid->twipsToPixelsX(g.colWidth(c));
    for (int r = 0; r < g.rows(); ++r)
        height += m_grid->twipsToPixelsY(g.rowHeight(r));
    const int frame = 2 * m_grid->frameWidth();
    m_grid->setMinimumWidth(std::min(width + frame, 320));
    m_grid->setMaximumWidth(width + frame);
    const bool bar = m_grid->width() < width + frame;
    m_grid->setFixedHeight(height + frame
                           + (bar ? m_grid->horizontalScrollBar()->sizeHint().height() : 0));
}

} // namespace setup
