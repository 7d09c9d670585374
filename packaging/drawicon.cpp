// Draws the program's icon (the shapes of com.brevik.quillon.svg) as PNG
// files of the given sizes: drawicon OUTDIR SIZE...  -> OUTDIR/SIZExSIZE.png
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <cstdio>

namespace {

void draw(QPainter &p)
{
    p.setPen(Qt::NoPen);
    const auto rounded = [&p](QRectF r, qreal radius, const char *colour) {
        p.setBrush(QColor(QLatin1String(colour)));
        p.drawRoundedRect(r, radius, radius);
    };
    rounded({16, 16, 224, 224}, 40, "#2f6f9f");
    rounded({56, 60, 144, 144}, 12, "#ffffff");
    rounded({56, 60, 144, 36}, 12, "#e5533d");
    rounded({56, 80, 144, 16}, 0, "#e5533d");
    p.setBrush(QColor(QLatin1String("#1d4e73")));
    p.drawEllipse(QPointF(92, 60), 10, 10);
    p.drawEllipse(QPointF(164, 60), 10, 10);
    rounded({76, 116, 104, 12}, 4, "#2f6f9f");
    rounded({76, 144, 104, 12}, 4, "#2f6f9f");
    rounded({76, 172, 64, 12}, 4, "#2f6f9f");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: drawicon OUTDIR SIZE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 256.0, size / 256.0);
        draw(p);
        p.end();
        const QString file = out.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!image.save(file)) {
            std::fprintf(stderr, "%s cannot be written\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
