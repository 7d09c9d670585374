#include "store/core/timetext.h"

#include <QRegularExpression>
#include <vector>

namespace store {

QString formatTime(int minutesOfDay)
{
    // Every minute's text is made once: each page opened asks for a column
    // of them.
    static const std::vector<QString> texts = [] {
        std::vector<QString> out;
        out.reserve(1440);
        for (int m = 0; m < 1440; ++m) {
            const int h = m / 60;
            const int h12 = h % 12 == 0 ? 12 : h % 12;
            out.push_back(QStringLiteral("%1:%2 %3")
                              .arg(h12, 2, 10, QLatin1Char('0'))
                              .arg(m % 60, 2, 10, QLatin1Char('0'))
                              .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM")));
        }
        return out;
    }();
    return texts[static_cast<size_t>(((minutesOfDay % 1440) + 1440) % 1440)];
}

QString formatTime(const QTime &time)
{
    return formatTime(time.hour() * 60 + time.minute());
}

std::optional<int> parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})\\s*(?:[:.]\\s*(\\d{1,2}))?\\s*([AaPp])?\\.?\\s*[Mm]?\\.?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int h = m.captured(1).toInt();
    const int min = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const QString ap = m.captured(3).toUpper();
    if (min > 59)
        return std::nullopt;
    if (!ap.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (ap == QLatin1String("P") ? 12 : 0);
    } else if (h > 23) {
        return std::nullopt;
    }
    return h * 60 + min;
}

} // namespace store
