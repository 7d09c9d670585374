#include "store/core/searchtexts.h"

#include <QSet>

namespace store {

namespace {

// Calls `run` with each run of letters and digits of the text and its
// length in characters (a pair of surrogates is one).
template <typename Run>
void forEachRun(const QString &text, Run &&run)
{
    qsizetype start = -1, chars = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        bool inRun = false;
        qsizetype width = 1;
        if (i < text.size()) {
            const QChar ch = text[i];
            if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                inRun = QChar::isLetterOrNumber(QChar::surrogateToUcs4(ch, text[i + 1]));
                width = 2;
            } else {
                inRun = ch.isLetterOrNumber();
            }
        }
        if (inRun) {
            if (start < 0)
                start = i, chars = 0;
            ++chars;
        } else if (start >= 0) {
            run(QStringView(text).mid(start, i - start), chars);
            start = -1;
        }
        i += width - 1;
    }
}

} // namespace

namespace searchtext {

void appendFolded(QString &out, QStringView text)
{
    out.reserve(out.size() + text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(ch, text[i + 1]));
            out += QStringView(QChar::fromUcs4(folded));
            ++i;
        } else if (ch.unicode() < 0x80) {
            out += ch.unicode() >= 'A' && ch.unicode() <= 'Z' ? QChar(ch.unicode() + 32) : ch;
        } else {
            out += QChar::fromUcs4(QChar::toCaseFolded(static_cast<char32_t>(ch.unicode())));
        }
    }
}

std::map<qint64, QString> entriesOf(const QString &data)
{
    std::map<qint64, QString> out;
    const QStringView text(data);
    qsizetype start = 0;
    int c = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar ch = i < text.size() ? text[i] : QChar(13);
        if (ch != QChar(9) && ch != QChar(13))
            continue;
        if (i > start) {
            QString &entry = out[columnSlot(c)];
            if (!entry.isEmpty())
                entry += QChar(10);
            appendFolded(entry, text.mid(start, i - start));
        }
        c = ch == QChar(9) ? c + 1 : 0;
        start = i + 1;
    }
    return out;
}

QString pageText(const QString &data)
{
    QStringList lines;
    for (const auto &[slot, text] : entriesOf(data))
        lines << text;
    return lines.join(QChar(10));
}

} // namespace searchtext

QString wordsOf(const QString &folded)
{
    QSet<QStringView> seen;
    QString out;
    forEachRun(folded, [&](QStringView word, qsizetype) {
        if (seen.contains(word))
            return;
        seen.insert(word);
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        out += word;
    });
    return out;
}

QStringList longRunsOf(const QString &folded, int least)
{
    QStringList out;
    forEachRun(folded, [&](QStringView word, qsizetype chars) {
        if (chars >= least && !out.contains(word))
            out << word.toString();
    });
    return out;
}

} // namespace store
