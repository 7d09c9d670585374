#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <map>

// What the search index keeps of a page's text, and under which keys.
namespace store {

namespace searchtext {

// On a server the index's table keeps each page's words (see wordsOf) in a
// field beside the page's text, which tells a find exactly: the index is
// made in a fraction of the time, and a booking that adds no new word to its
// page changes nothing in it. A row without words was written by a station
// of an earlier version still running (it keeps the text alone): searches
// take it as it is. A table made before, whose owner has not changed it,
// has no words and its text is indexed.
inline const QString WordsField = QStringLiteral("Words");

// The mark a station that cannot keep the index leaves in the database
// (a field of sys_State) with its page writes: every station's searches scan
// until a station that can keep it builds it again.
inline const QString StaleField = QStringLiteral("FindStale");

// An entry's key: the page's day in the high bits, then its slot: one
// page's entries lie in one range. On the file the slot is the column of
// the page text (a consultant's column), counted down from the top of the
// range, so that no column's key is one an earlier version gave a cell (a
// station of that version still running writes its cells' entries beside
// them: a page too many at worst). Columns past the last slot share one.
inline constexpr qint64 SlotBits = 20;
inline constexpr int ColSlots = 128;
inline constexpr qint64 Overflow = (qint64(1) << SlotBits) - 1;

inline qint64 dayKey(const QDate &date)
{
    return date.toJulianDay() << SlotBits;
}

inline QDate dayOf(qint64 key)
{
    return QDate::fromJulianDay(key >> SlotBits);
}

// Appends the text with each character case-folded on its own.
void appendFolded(QString &out, QStringView text);

// A page text's entries by key slot: each column's folded non-empty cells,
// a line each, top to bottom. On the file a column is a consultant's day: a
// booking changes one entry, and a page is a score of entries rather than
// hundreds of cells (the index is made in a sixth of the time, at a quarter
// of the size). A find across two lines of a column is only a page too
// many, which callers check.
std::map<qint64, QString> entriesOf(const QString &data);

// The slot of a column's entry.
inline qint64 columnSlot(int column)
{
    return Overflow - 1 - std::min(column, ColSlots - 1);
}

// On a server a page is one row: its entries, one after the other, a line
// each. A row per column is not compressed (it is under the engine's
// threshold for that) and took a third more than the texts; a page's row is
// stored compressed.
QString pageText(const QString &data);

} // namespace searchtext

// The words a server's search index keeps of a page: each run of letters and
// digits of its folded text once, in the order first met, a space between.
// A needle's runs of three characters or more each stand inside one of the
// words of every page that holds the needle, so the words answer which pages
// may hold it, from a fraction of the text (a name booked in many slots of a
// day, or on every line, is there once).
QString wordsOf(const QString &folded);

// The runs of letters and digits of a folded needle that are `least`
// characters or longer, each once.
QStringList longRunsOf(const QString &folded, int least);

} // namespace store
