#include "accounts/widgets/searchmenuwindow.h"

#include "accounts/core/accountscommands.h"
#include "ui/widgets/commandtable.h"

#include "accounts/core/patientforms.h"
#include "ui/widgets/formbinder.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/qtkeys.h"
#include "ui/widgets/controls.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace accounts {

SearchMenuWindow::SearchMenuWindow(ui::Services &services, QWidget *parent)
    : ControllerWindow(services, parent)
{
    setObjectName(QStringLiteral("frmSearchMenu"));
    setWindowTitle(SearchMenuController::Caption);
    buildForm();
    m_binder = new ui::FormBinder(this, m_ctl.form(), this);
    m_binder->bind();
    connect(m_binder, &ui::FormBinder::edited, this,
            [this](const QString &name) { m_ctl.setText(name, m_ctl.form().text(name)); });
    connect(m_binder, &ui::FormBinder::focusEntered, this, [this](const QString &name) {
        if (name == search::NewClient)
            m_ctl.newClientFocused();
        else if (name == search::ExistingClient)
            m_ctl.existingClientFocused();
    });
    connect(&m_ctl, &SearchMenuController::criteriaChanged, this, &SearchMenuWindow::showCriteria);
    connect(&m_ctl, &SearchMenuController::focusRequested, m_binder, &ui::FormBinder::focus);
    for (QWidget *w : {static_cast<QWidget *>(m_new), static_cast<QWidget *>(m_existing)})
        w->installEventFilter(this);
    showCriteria();
}

SearchMenuWindow::~SearchMenuWindow()
{
    // The binder goes first: closing the window as it is destroyed moves the
    // focus, and the binder must not pass that on to a controller already gone.
    delete m_binder;
    m_new->removeEventFilter(this);
    m_existing->removeEventFilter(this);
}

void SearchMenuWindow::buildForm()
{
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; }"
                                 "QFrame#card { background: palette(base); border: 1px solid palette(mid);"
                                 " border-radius: 6px; }")
                      .arg(ui::toQColor(ui::colours::PaleYellow).name()));
    auto *body = new QWidget(this);
    setCentralWidget(body);
    auto *outer = new QVBoxLayout(body);
    auto *card = ui::named(new QFrame(body), QStringLiteral("card"));
    card->setMaximumWidth(760);
    auto *v = new QVBoxLayout(card);
    v->setContentsMargins(32, 24, 32, 24);
    v->setSpacing(12);

    auto *heading = new QLabel(SearchMenuController::Caption, card);
    QFont hf = heading->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.4);
    heading->setFont(hf);
    v->addWidget(heading);

    auto *options = new QHBoxLayout;
    m_new = ui::named(new QRadioButton(QStringLiteral("&New Client"), card), search::NewClient);
    m_existing = ui::named(new QRadioButton(QStringLiteral("&Existing Client"), card), search::ExistingClient);
    options->addWidget(m_new);
    options->addSpacing(24);
    options->addWidget(m_existing);
    options->addStretch();
    v->addLayout(options);

    m_prompt = ui::named(new QLabel(SearchMenuController::Prompt, card), QStringLiteral("Label1"));
    m_prompt->setWordWrap(true);
    v->addWidget(m_prompt);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    // File number; first name, M.I., last name; date of birth; address; SSN.
    const QHash<QString, std::pair<int, int>> places = {
        {search::FileNo, {0, 0}}, {search::FirstName, {1, 0}}, {search::MI, {1, 2}},
        {search::LastName, {1, 4}}, {search::DOB, {2, 0}},    {search::Address, {3, 0}},
        {search::SSN, {4, 0}}};
    QWidget *previous = m_existing;
    for (const Labelled &l : searchLabels()) {
        auto *edit = ui::named(new QLineEdit(card), l.box);
        auto *label = new QLabel(l.label, card);
        label->setBuddy(edit);
        const auto [row, col] = places.value(l.box);
        grid->addWidget(label, row, col, Qt::AlignRight);
        const bool wide = l.box == search::Address;
        grid->addWidget(edit, row, col + 1, 1, wide ? 5 : 1);
        if (l.box == search::MI)
            edit->setMaximumWidth(60);
        setTabOrder(previous, edit);
        previous = edit;
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(5, 3);
    v->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    addSearchMenuCommands(m_commands, m_ctl);
    auto *table = new ui::CommandTable(m_commands, this);
    for (QPushButton *b : addButtons(buttons, *table, m_commands, card, {100, 30})) {
        setTabOrder(previous, b);
        previous = b;
    }
    v->addSpacing(8);
    v->addLayout(buttons);

    auto *centre = new QHBoxLayout;
    centre->addStretch();
    centre->addWidget(card, 10);
    centre->addStretch();
    outer->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(2);
    setTabOrder(m_new, m_existing);
}

void SearchMenuWindow::showCriteria()
{
    for (const Labelled &l : searchLabels()) {
        if (QLineEdit *e = m_binder->box(l.box))
            e->setEnabled(m_ctl.criteriaEnabled());
    }
    m_binder->showAll();
    m_prompt->setVisible(m_ctl.promptShown());
}

void SearchMenuWindow::arrive()
{
    m_ctl.activated();
}

bool SearchMenuWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool byMouse = event->type() == QEvent::MouseButtonPress;
    bool pressed = byMouse;
    if (event->type() == QEvent::KeyPress) {
        const ui::KeyStroke k = ui::translateKey(static_cast<QKeyEvent *>(event));
        // Tab and Enter move on; any other key on an option presses it.
        pressed = !k.typed.isNull() && k.typed != QChar(9) && k.typed != QChar(13);
    }
    if (pressed && watched == m_new) {
        m_ctl.newClient();
        return true;
    }
    if (pressed && watched == m_existing) {
        m_existing->setChecked(true);
        m_ctl.existingClientPressed(byMouse);
        return true;
    }
    return ui::TaskWindow::eventFilter(watched, event);
}

} // namespace accounts
