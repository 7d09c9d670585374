#include "book/widgets/toolbaricons.h"

#include "book/pages/blockops.h"
#include "ui/widgets/qtcolour.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace book {

namespace {

constexpr int kSize = 32;   // drawn large, scaled down crisply by the toolbar

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kPaper(0xfb, 0xfb, 0xf6);
const QColor kAccent(0x2f, 0x6f, 0xb5);

void sheet(QPainter &p, QRectF r)
{
    p.setPen(QPen(kInk, 2));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void lines(QPainter &p, QRectF r, int n)
{
    p.setPen(QPen(kInk, 1.5));
    for (int i = 0; i < n; ++i) {
        const double y = r.top() + 5 + i * 4.5;
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
    }
}

void arrow(QPainter &p, QPointF from, QPointF to)
{
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u(d.x() / len, d.y() / len), n(-u.y(), u.x());
    QPolygonF head;
    head << to + u * 3 << to - u * 6 + n * 6 << to - u * 6 - n * 6;
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    p.drawPolygon(head);
}

void calendarGrid(QPainter &p, QRectF r)
{
    sheet(p, r);
    p.fillRect(QRectF(r.left() + 1, r.top() + 1, r.width() - 1, 6), kAccent);
    p.setPen(QPen(kInk, 1));
    for (int i = 1; i < 4; ++i) {
        const double x = r.left() + r.width() * i / 4;
        p.drawLine(QPointF(x, r.top() + 7), QPointF(x, r.bottom()));
    }
    for (int i = 1; i < 3; ++i) {
        const double y = r.top() + 7 + (r.height() - 7) * i / 3;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void drawGlyph(QPainter &p, const QString &key)
{
    if (key == QLatin1String("Open")) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xf2, 0xc7, 0x5c));
        QPolygonF folder;
        folder << QPointF(3, 8) << QPointF(12, 8) << QPointF(15, 11) << QPointF(28, 11) << QPointF(28, 26)
               << QPointF(3, 26);
        p.drawPolygon(folder);
    } else if (key == QLatin1String("Print")) {
        sheet(p, QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0xc8, 0xcd, 0xd3));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
        sheet(p, QRectF(9, 19, 14, 10));
    } else if (key == QLatin1String("Cut")) {
        p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 4), QPointF(21, 20));
        p.drawLine(QPointF(23, 4), QPointF(11, 20));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4, 19, 8, 8));
        p.drawEllipse(QRectF(20, 19, 8, 8));
    } else if (key == QLatin1String("Copy")) {
        sheet(p, QRectF(4, 3, 15, 19));
        sheet(p, QRectF(12, 10, 15, 19));
        lines(p, QRectF(12, 10, 15, 19), 3);
    } else if (key == QLatin1String("Paste")) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xc9, 0x9a, 0x5b));
        p.drawRoundedRect(QRectF(5, 5, 20, 24), 2, 2);
        p.setBrush(QColor(0xc8, 0xcd, 0xd3));
        p.drawRect(QRectF(11, 3, 8, 5));
        sheet(p, QRectF(13, 12, 15, 17));
        lines(p, QRectF(13, 12, 15, 17), 3);
    } else if (key == QLatin1String("Delete")) {
        p.setPen(QPen(QColor(0xc0, 0x2b, 0x2b), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
    } else if (key == QLatin1String("Undo") || key == QLatin1String("Redo")) {
        // A hooked arrow turning back (Undo) or forward (Redo).
        const bool back = key == QLatin1String("Undo");
        p.save();
        if (!back) {
            p.translate(kSize, 0);
            p.scale(-1, 1);
        }
        p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath hook;
        hook.moveTo(10, 12);
        hook.lineTo(19, 12);
        hook.cubicTo(30, 12, 30, 27, 19, 27);
        hook.lineTo(12, 27);
        p.drawPath(hook);
        QPolygonF head;
        head << QPointF(3, 12) << QPointF(12, 5) << QPointF(12, 19);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPolygon(head);
        p.restore();
    } else if (key == QLatin1String("Refresh")) {
        p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 40 * 16, 280 * 16);
        QPolygonF head;
        head << QPointF(27, 4) << QPointF(27, 14) << QPointF(18, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPolygon(head);
    } else if (key == QLatin1String("Search")) {
        p.setPen(QPen(kInk, 3));
        p.setBrush(QColor(0xdd, 0xee, 0xfb));
        p.drawEllipse(QRectF(4, 4, 16, 16));
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(27, 27));
    } else if (key == QLatin1String("Vert")) {
        sheet(p, QRectF(4, 3, 12, 26));
        arrow(p, QPointF(24, 5), QPointF(24, 25));
    } else if (key == QLatin1String("Hor")) {
        sheet(p, QRectF(3, 4, 26, 12));
        arrow(p, QPointF(5, 24), QPointF(25, 24));
    } else if (key == QLatin1String("Date")) {
        calendarGrid(p, QRectF(3, 4, 22, 22));
        arrow(p, QPointF(17, 27), QPointF(28, 27));
    } else if (key == QLatin1String("Blockout")) {
        sheet(p, QRectF(4, 6, 24, 20));
        p.setPen(QPen(kInk, 2.5, Qt::DashLine));
        p.drawLine(QPointF(7, 16), QPointF(25, 16));
    } else if (key == QLatin1String("Week")) {
        sheet(p, QRectF(2, 6, 28, 20));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 7; ++i)
            p.fillRect(QRectF(4.5 + i * 3.6, 10, 2.4, 13), i == 0 || i == 6 ? kInk : kAccent);
    } else if (key == QLatin1String("Calendar")) {
        calendarGrid(p, QRectF(4, 4, 24, 24));
    } else if (key == QLatin1String("Help")) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
    } else if (key == QLatin1String("Info")) {
        sheet(p, QRectF(4, 3, 24, 26));
        p.setPen(QPen(QColor(0x1f, 0x7a, 0x3e), 1.5));
        for (int i = 1; i < 3; ++i)
            p.drawLine(QPointF(4 + 8 * i, 3), QPointF(4 + 8 * i, 29));
        for (int i = 1; i < 4; ++i)
            p.drawLine(QPointF(4, 3 + 6.5 * i), QPointF(28, 3 + 6.5 * i));
    }
}

} // namespace

QIcon toolbarIcon(const QString &key)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    for (const RowCountButton &b : RowCountButtons)
        if (key == QLatin1String(b.key)) {
            p.setPen(QPen(kInk, 2));
            p.setBrush(kPaper);
            p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
            QFont f(QStringLiteral("Sans Serif"));
            f.setPixelSize(21);
            f.setBold(true);
            p.setFont(f);
            p.setPen(kInk);
            p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QString::number(b.rows));
            return QIcon(pm);
        }
    for (const ToolbarColor &c : ToolbarColors)
        if (key == QLatin1String(c.key)) {
            p.setPen(QPen(kInk, 2));
            p.setBrush(ui::toQColor(c.value));
            p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
            return QIcon(pm);
        }
    drawGlyph(p, key);
    return QIcon(pm);
}

} // namespace book
