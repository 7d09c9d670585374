#include "ui/core/outputsurface.h"

namespace ui {

namespace {

// Places where a line may end: after a run of blanks, or after a hyphen
// inside a word ("Montgomery-Hamilton").
QStringList pieces(const QString &line)
{
    QStringList out;
    QString piece;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        piece += c;
        const bool next = i + 1 < line.size();
        const bool afterBlanks = c == QLatin1Char(' ') && next && line[i + 1] != QLatin1Char(' ');
        const bool afterHyphen = c == QLatin1Char('-') && next && piece.size() > 1 && line[i + 1].isLetterOrNumber();
        if (afterBlanks || afterHyphen) {
            out << piece;
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        out << piece;
    return out;
}

} // namespace

QStringList OutputSurface::wrap(const QString &text, double width) const
{
    const QStringList given = text.split(QLatin1Char('\n'));
    if (width <= 0)
        return given;
    const auto fits = [&](const QString &s) { return textWidth(s) <= width; };
    QStringList lines;
    for (const QString &paragraph : given) {
        if (fits(paragraph)) {
            lines << paragraph;
            continue;
        }
        QString line;
        for (QString piece : pieces(paragraph)) {
            if (fits(line + piece.trimmed())) {
                line += piece;
                continue;
            }
            if (!line.trimmed().isEmpty()) {
                lines << line.trimmed();
                line.clear();
            }
            // A word wider than the line is cut where the width ends, at
            // least one character to a line.
            while (!fits(piece.trimmed()) && piece.trimmed().size() > 1) {
                piece = piece.trimmed();
                qsizetype n = 1;
                while (n < piece.size() && fits(piece.left(n + 1)))
                    ++n;
                lines << piece.left(n);
                piece = piece.mid(n);
            }
            line = piece;
        }
        lines << line.trimmed();
    }
    return lines;
}

double OutputSurface::wrappedHeight(const QString &text, double width) const
{
    return textHeight(QString()) * static_cast<double>(wrap(text, width).size());
}

} // namespace ui
