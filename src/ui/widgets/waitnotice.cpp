#include "ui/widgets/waitnotice.h"

#include "ui/core/colours.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace ui {

namespace {

// The window the user is in; when the program is not in front, the last of
// its windows on screen.
QWidget *hostWindow()
{
    if (QWidget *w = QApplication::activeWindow())
        return w;
    QWidget *host = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && !(w->windowFlags() & Qt::FramelessWindowHint) && w->windowType() != Qt::Popup &&
            w->windowType() != Qt::ToolTip)
            host = w;
    return host;
}

bool isInput(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

WaitNotice::WaitNotice(StationWait &wait, QObject *parent) : QObject(parent), m_wait(wait)
{
    connect(&m_wait, &StationWait::waitingChanged, this, [this](bool on) { on ? begin() : end(); });
    connect(&m_wait, &StationWait::stopRequested, this, [this] {
        if (m_loop)
            m_loop->quit();
    });
    m_wait.setPump([this](int ms) { pump(ms); });
}

WaitNotice::~WaitNotice()
{
    end();
    m_wait.setPump([](int) {});
}

void WaitNotice::begin()
{
    if (m_shown)
        return;
    m_shown = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    qApp->installEventFilter(this);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            m_blocked << w;
    m_host = hostWindow();
    if (!m_host)
        return;
    auto *line = ui::named(new QFrame(m_host), QStringLiteral("waitNotice"));
    line->setAutoFillBackground(true);
    line->setFrameShape(QFrame::StyledPanel);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, toQColor(colours::PaleYellow));
    line->setPalette(p);
    auto *label = ui::named(new QLabel(StationWait::text(), line), QStringLiteral("lblWaiting"));
    auto *stop = ui::named(new QPushButton(QStringLiteral("Stop waiting (Esc)"), line),
                           QStringLiteral("cmdStopWaiting"));
    stop->setFocusPolicy(Qt::NoFocus);   // the focus stays where the entry is
    connect(stop, &QPushButton::clicked, &m_wait, &StationWait::stop);
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(10, 3, 6, 3);
    row->addWidget(label, 1);
    row->addWidget(stop);
    m_line = line;
    placeLine();
    line->show();
    line->raise();
}

void WaitNotice::end()
{
    if (!m_shown)
        return;
    m_shown = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    delete m_line.data();
    m_host = nullptr;
    m_blocked.clear();
}

void WaitNotice::placeLine()
{
    if (!m_line || !m_host)
        return;
    const int h = m_line->sizeHint().height();
    m_line->setGeometry(0, m_host->height() - h, m_host->width(), h);
}

void WaitNotice::pump(int ms)
{
    QEventLoop loop;
    m_loop = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    m_loop = nullptr;
}

bool WaitNotice::inLine(const QObject *o) const
{
    const QWidget *w = qobject_cast<const QWidget *>(o);
    return m_line && w && (w == m_line || m_line->isAncestorOf(w));
}

bool WaitNotice::blocked(QObject *o) const
{
    const QWidget *w = qobject_cast<QWidget *>(o);
    if (!w || inLine(w))
        return false;
    for (const QPointer<QWidget> &b : m_blocked)
        if (b == w->window())
            return true;
    return false;
}

bool WaitNotice::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t == QEvent::Resize && watched == m_host)
        placeLine();
    if (!blocked(watched))
        return false;
    if (t == QEvent::ShortcutOverride || t == QEvent::KeyPress) {
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_wait.stop();
        // Taken as a key, so that no shortcut of the window acts on it; and
        // then dropped.
        event->accept();
        return true;
    }
    if (isInput(t))
        return true;
    // The user's close box waits too: the window is still writing.
    if (t == QEvent::Close && event->spontaneous()) {
        event->ignore();
        return true;
    }
    return false;
}

} // namespace ui
