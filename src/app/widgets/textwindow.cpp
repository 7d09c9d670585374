#include "app/widgets/textwindow.h"

#include "ui/core/windows.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace app {

namespace {

QPlainTextEdit *makeTextBox(QWidget *parent)
{
    auto *t = ui::named(new QPlainTextEdit(parent), QStringLiteral("Text1"));
    t->setReadOnly(true);
    t->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont f = t->font();
    f.setPointSizeF(f.pointSizeF() * 1.05);
    t->setFont(f);
    return t;
}

// Stored texts end their lines with CR LF.
QString shownText(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void centre(QWidget *w)
{
    if (const QScreen *s = w->screen() ? w->screen() : QGuiApplication::primaryScreen()) {
        const QRect a = s->availableGeometry();
        w->move(a.left() + (a.width() - w->width()) / 2, a.top() + (a.height() - w->height()) / 3);
    }
}

} // namespace

HelpWindow::HelpWindow(ui::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_s(services), m_texts(services)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help File"));
    m_text = makeTextBox(this);
    QPalette p = m_text->palette();
    p.setColor(QPalette::Base, ui::toQColor(ui::colours::PaleYellow));
    m_text->setPalette(p);
    m_exit = ui::named(new QPushButton(QStringLiteral("Exit"), this), QStringLiteral("cmdExit"));
    m_exit->setDefault(true);
    connect(m_exit, &QPushButton::clicked, this, [this] { m_s.windows.unload(ui::win::Help); });
    ui::listColumn(this, m_text, {m_exit}, 10);
    resize(640, 520);
    centre(this);
}

void HelpWindow::reload()
{
    m_text->setPlainText(shownText(m_texts.helpText()));
    m_exit->setFocus();
}

QString HelpWindow::text() const
{
    return m_text->toPlainText();
}

void HelpWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_exit->setFocus();
}

void HelpWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_exit->setFocus();
}

ReadmeWindow::ReadmeWindow(ui::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_s(services)
{
    setObjectName(QStringLiteral("frmReadme"));
    setWindowTitle(QStringLiteral("Readme"));
    m_text = makeTextBox(this);
    m_back = ui::named(new QPushButton(QStringLiteral("&Main Menu"), this), QStringLiteral("Command1"));
    m_back->setDefault(true);
    connect(m_back, &QPushButton::clicked, this, [this] {
        m_s.windows.replace(ui::win::Readme, ui::win::Menu);
    });
    ui::listColumn(this, m_text, {m_back}, 10);
    m_text->setPlainText(shownText(TextWindows(services).readmeText()));
    resize(640, 520);
    centre(this);
    m_back->setFocus();
}

QString ReadmeWindow::text() const
{
    return m_text->toPlainText();
}

void ReadmeWindow::closeEvent(QCloseEvent *event)
{
    if (!ui::WindowRegistry::closingByProgram(this))
        m_s.windows.show(ui::win::Menu);
    event->accept();
}

} // namespace app
