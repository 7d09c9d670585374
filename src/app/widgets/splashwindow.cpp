#include "app/widgets/splashwindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace app {

namespace {

const QColor Ink(0x16, 0x3a, 0x52);
const QColor Muted(0x5f, 0x6b, 0x75);

// One line of the splash's words: its face and size, its colour and place.
struct Words {
    QString family = QStringLiteral("DejaVu Sans");
    int pixels = 12;
    bool bold = false, italic = false;
    int spacing = 0;   // per cent of the face's own; 0 leaves it
};

void drawWords(QPainter &p, const Words &w, const QColor &ink, const QRectF &where, const QString &text,
               Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    QFont f(w.family);
    f.setPixelSize(w.pixels);
    f.setBold(w.bold);
    f.setItalic(w.italic);
    if (w.spacing)
        f.setLetterSpacing(QFont::PercentageSpacing, w.spacing);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(where, align, text);
}
const QColor Accent(0xc8, 0xa2, 0x4a);

// A quill, drawn upright around the origin, about 150 units tall.
void drawQuill(QPainter &p)
{
    QPainterPath vane;
    vane.moveTo(0, 70);
    vane.cubicTo(-34, 30, -34, -40, 4, -82);
    vane.cubicTo(30, -44, 28, 24, 0, 70);
    p.setPen(Qt::NoPen);
    QLinearGradient g(-30, -80, 30, 70);
    g.setColorAt(0.0, QColor(255, 255, 255, 245));
    g.setColorAt(1.0, QColor(214, 230, 238, 235));
    p.setBrush(g);
    p.drawPath(vane);

    // Barbs: a few notches cut into the vane's edges.
    p.setPen(QPen(QColor(0x1d, 0x5f, 0x7d, 150), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = -46 + i * 24;
        p.drawLine(QPointF(-26 + i * 2.5, y + 6), QPointF(-14 + i * 2, y + 2));
        p.drawLine(QPointF(24 - i * 3, y - 4), QPointF(13 - i * 2, y + 1));
    }

    // The shaft, running on into the nib.
    p.setPen(QPen(Accent, 2.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath shaft;
    shaft.moveTo(3, -76);
    shaft.quadTo(-2, 0, 0, 82);
    p.setBrush(Qt::NoBrush);
    p.drawPath(shaft);
    QPainterPath nib;
    nib.moveTo(-4, 78);
    nib.lineTo(4, 78);
    nib.lineTo(0, 96);
    nib.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawPath(nib);
}

} // namespace

SplashWindow::SplashWindow(ui::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_controller(services.windows)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Quillon"));
    setFixedSize(600, 340);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect a = s->availableGeometry();
        move(a.left() + (a.width() - width()) / 2, a.top() + (a.height() - height()) / 2);
    }
    setFocus();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all = rect();

    p.fillRect(all, QColor(0xfb, 0xfa, 0xf6));

    // The picture: a panel on the left with the quill in a ring.
    const QRectF panel(0, 0, 220, all.height());
    QLinearGradient bg(panel.topLeft(), panel.bottomRight());
    bg.setColorAt(0.0, QColor(0x0f, 0x3b, 0x57));
    bg.setColorAt(1.0, QColor(0x1f, 0x6e, 0x88));
    p.fillRect(panel, bg);
    const QPointF centre = panel.center() - QPointF(0, 8);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(centre, 78, 78);
    p.setPen(QPen(QColor(0xc8, 0xa2, 0x4a, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 86, 86);
    p.save();
    p.translate(centre);
    p.rotate(28);
    p.scale(0.78, 0.78);
    drawQuill(p);
    p.restore();

    // The words.
    const double x = panel.right() + 36;
    const double w = all.width() - x - 32;
    drawWords(p, {.family = QStringLiteral("DejaVu Serif"), .pixels = 54, .spacing = 103}, Ink, QRectF(x, 70, w, 70), QStringLiteral("Quillon"),
              Qt::AlignLeft | Qt::AlignBottom);
    p.fillRect(QRectF(x + 2, 152, 64, 3), Accent);
    drawWords(p, {.pixels = 17, .italic = true}, Muted, QRectF(x + 2, 166, w, 26),
              QStringLiteral("for professional practices"));
    drawWords(p, {.pixels = 14, .bold = true}, Ink, QRectF(x + 2, 204, w, 22), QStringLiteral("Version 3.8"));
    drawWords(p, {.pixels = 12}, Muted, QRectF(x + 2, 226, w, 20), QStringLiteral("Platform: Win 9x/NT/2x/XP"));

    p.setPen(QPen(QColor(0xdd, 0xd8, 0xcc), 1));
    p.drawLine(QPointF(x, all.height() - 52), QPointF(all.width() - 32, all.height() - 52));
    drawWords(p, {.pixels = 11}, QColor(0x8a, 0x93, 0x9a), QRectF(x, all.height() - 46, w, 24),
              QStringLiteral("Press any key or click to continue"));

    // A hairline frame: the window has no title bar of its own.
    p.setPen(QPen(QColor(0x0f, 0x3b, 0x57), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
}

void SplashWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    m_controller.userPressed();
}

void SplashWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_controller.userPressed();
}

} // namespace app
