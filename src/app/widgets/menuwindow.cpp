#include "app/widgets/menuwindow.h"

#include "app/core/appcommands.h"
#include "app/widgets/datafolderwindow.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

namespace app {

MenuWindow::MenuWindow(ui::Services &services, QWidget *parent)
    : ui::PlacedWindow(parent), m_controller(services)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("Main Menu"));
    addMenuCommands(m_commands, m_controller);
    m_table = new ui::CommandTable(m_commands, this);

    m_frame = ui::named(new QGroupBox(QStringLiteral("Brevik Quillon V3.8"), this), QStringLiteral("Frame1"));
    QFont frameFont = m_frame->font();
    frameFont.setPointSizeF(frameFont.pointSizeF() * 1.15);
    frameFont.setBold(true);
    m_frame->setFont(frameFont);

    auto *options = new QVBoxLayout(m_frame);
    options->setContentsMargins(22, 16, 22, 14);
    options->setSpacing(9);
    addOption(1, QStringLiteral("1.    Appointments"));
    addOption(2, QStringLiteral("2.    Accounts"));
    addOption(3, QStringLiteral("3.    Setup Page"));
    addOption(4, QStringLiteral("4.    Modify Templates"));
    addOption(5, QStringLiteral("5.    Design Letterhead"));
    addOption(6, QStringLiteral("6.    Backup Files"));
    addOption(8, QStringLiteral("8.    Exit"));
    for (QRadioButton *b : std::as_const(m_options))
        options->addWidget(b);

    m_commands.setRun(QStringLiteral("Command2"), [this, &prompter = services.prompter] {
        if (const auto folder = DataFolderWindow::ask(prompter, this))
            m_controller.dataFolderChosen(*folder);
    });
    auto *change = m_table->button(QStringLiteral("Command2"), this);
    change->setFocusPolicy(Qt::TabFocus);
    m_readme = m_table->button(QStringLiteral("Command1"), this);
    auto *changeLog = m_table->button(QStringLiteral("cmdChangeLog"), this);

    auto *hint = m_table->legendLabel(this, QStringLiteral("lblHint"));
    QPalette hp = hint->palette();
    hp.setColor(QPalette::WindowText, QColor(0x5f, 0x6b, 0x75));
    hint->setPalette(hp);

    // A label, a box to read (not to type in, nor to stop at) and a button.
    const auto shownRow = [this](const QString &label, const QString &text, const QString &name,
                                 QLineEdit *&box, QWidget *button) {
        box = ui::named(new QLineEdit(text, this), name);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        auto *caption = new QLabel(label, this);
        caption->setBuddy(box);
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        row->addWidget(caption);
        row->addWidget(box, 1);
        row->addWidget(button);
        return std::pair{row, caption};
    };
    const auto [bottom, locationLabel] =
        shownRow(QStringLiteral("Location:"), m_controller.location(), QStringLiteral("Text1"), m_location, changeLog);
    // Where the practice's data is, and the way to choose another place.
    const auto [dataRow, dataLabel] =
        shownRow(QStringLiteral("Data:"), m_controller.dataText(), QStringLiteral("Text2"), m_data, change);
    m_data->setToolTip(m_data->text());
    m_data->setCursorPosition(0);
    // The two boxes start at the same place.
    dataLabel->setMinimumWidth(locationLabel->sizeHint().width());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(m_readme);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(18, 16, 18, 16);
    box->setSpacing(12);
    box->addWidget(m_frame);
    box->addLayout(bottom);
    box->addLayout(dataRow);
    box->addLayout(buttons);

    // Every text box of the menu is light grey: nothing here is typed in.
    const QColor grey(0xE0, 0xE0, 0xE0);
    for (QLineEdit *e : findChildren<QLineEdit *>()) {
        QPalette p = e->palette();
        p.setColor(QPalette::Base, grey);
        e->setPalette(p);
    }

    // Digit keys act wherever the focus is on the window: every control's
    // keys pass through the window first.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);

    setFixedWidth(380);
    setFixedHeight(sizeHint().height());
    m_options.value(1)->setChecked(true);
    m_options.value(1)->setFocus();
}

void MenuWindow::addOption(int n, const QString &caption)
{
    auto *b = ui::named(new QRadioButton(caption, m_frame), QStringLiteral("Option%1").arg(n));
    QFont f = b->font();
    f.setBold(false);
    f.setPointSizeF(font().pointSizeF() * 1.1);
    b->setFont(f);
    m_options.insert(n, b);
}

bool MenuWindow::digitKey(QKeyEvent *event)
{
    // The top-row digits, as key codes 49 to 56; the keypad's have codes of their own.
    const int key = event->key();
    if (key < Qt::Key_1 || key > Qt::Key_8 || (event->modifiers() & Qt::KeypadModifier))
        return false;
    if (event->isAutoRepeat())
        return true;
    return m_table->functionKey(key);
}

void MenuWindow::keyPressEvent(QKeyEvent *event)
{
    if (!digitKey(event))
        QWidget::keyPressEvent(event);
}

bool MenuWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && digitKey(static_cast<QKeyEvent *>(event)))
        return true;
    auto *b = qobject_cast<QRadioButton *>(watched);
    const int n = b ? m_options.key(b, 0) : 0;
    if (n == 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_controller.chooseOption(n);
        return true;
    }
    case QEvent::MouseButtonPress:
        b->setChecked(true);
        b->setFocus(Qt::MouseFocusReason);
        m_controller.chooseOption(n);
        return true;
    case QEvent::MouseButtonDblClick:
        // The press before it has acted already.
        return true;
    default: return false;
    }
}

void MenuWindow::closeEvent(QCloseEvent *event)
{
    // The close box stays shut while another window keeps a typed entry.
    if (!ui::WindowRegistry::closingByProgram(this) && !m_controller.closeRequested()) {
        event->ignore();
        return;
    }
    event->accept();
}

QRect MenuWindow::frame() const
{
    // Centred across the screen, its frame at the top edge.
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return frameGeometry();
    const QRect a = s->availableGeometry();
    const QMargins m = ui::frameMargins(this);
    const int frameWidth = width() + m.left() + m.right();
    const int frameHeight = height() + m.top() + m.bottom();
    return QRect(a.left() + (a.width() - frameWidth) / 2, a.top(), frameWidth, frameHeight);
}

} // namespace app
