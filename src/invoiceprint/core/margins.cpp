#include "invoiceprint/core/margins.h"

#include <QRegularExpression>
#include <cmath>

namespace invoiceprint {

double inches(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([+-]?(\d+\.?\d*|\.\d+)))"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

int twips(double in)
{
    return int(std::lround(in * 1440.0));
}

QString normalised(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QString();
    return QString::number(inches(text), 'f', 2);
}

QString shown(const QString &stored)
{
    if (stored.trimmed().isEmpty())
        return stored;
    return QString::number(inches(stored), 'f', 2);
}

std::optional<QString> refusal(double top, double left, std::optional<double> bottom,
                               std::optional<double> right)
{
    const bool negative = top < 0 || left < 0 || bottom.value_or(0) < 0 || right.value_or(0) < 0;
    const bool tooTall = top + bottom.value_or(0) > PaperHeight - TextRoom;
    const bool tooWide = left + right.value_or(0) > PaperWidth - TextRoom;
    if (!negative && !tooTall && !tooWide)
        return std::nullopt;
    return QStringLiteral(
               "These margins would put the invoice off the paper. Each margin must be 0 inches or "
               "more, the top and bottom margins together at most %1 inches and the left and right "
               "margins together at most %2 inches.")
        .arg(PaperHeight - TextRoom, 0, 'f', 2)
        .arg(PaperWidth - TextRoom, 0, 'f', 2);
}

} // namespace invoiceprint
