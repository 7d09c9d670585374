#include "fuzz/entries.h"

#include "ui/core/dateinput.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "report/core/amount.h"
#include "report/core/layout.h"
#include "report/core/merge.h"
#include "report/core/reportsettings.h"
#include "setup/core/setupfields.h"
#include "store/core/criteria.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "book/pages/pagetext.h"
#include "ui/core/gridmodel.h"
#include "ui/core/money.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

namespace {

namespace page = book::page;

// A property that does not hold is a finding like a crash: abort, so that
// libFuzzer keeps the input and the replay test fails on it.
void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

// The input as the program meets it: UTF-8 text.
QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// Leading bytes choose the shape a parser runs on (grid size, locale...);
// the rest is the text.
struct Input {
    const uint8_t *data;
    size_t size;
    uint8_t take()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    QString rest() const { return textOf(data, size); }
};

} // namespace

void pageText(const uint8_t *data, size_t size)
{
    const QString text = textOf(data, size);
    const page::Cells cells = page::decode(text);
    check(page::encode(cells) == text, "encode(decode(text)) == text");
    for (int r = 0; r < static_cast<int>(cells.size()) + 3; ++r) {
        const bool stored = r >= 2 && r - 2 < static_cast<int>(cells.size());
        const int cols = stored ? static_cast<int>(cells[static_cast<size_t>(r - 2)].size()) : 0;
        for (int c = -1; c < cols + 2; ++c) {
            const QString cell = page::cellAt(cells, r, c);
            if (!stored || c < 1 || c > cols)
                check(cell.isEmpty(), "cellAt beyond the stored rectangle is empty");
        }
    }
    // Cells as the editor stores them: cleaned, so no separator is left.
    page::Cells clean = cells;
    for (QStringList &row : clean)
        for (QString &cell : row) {
            cell = page::cleanCell(cell);
            check(page::cleanCell(cell) == cell, "cleanCell is idempotent");
            for (QChar ch : cell)
                check(ch == page::LineBreak || (ch.unicode() >= 32 && ch.unicode() != 127),
                      "cleanCell leaves no control character but LF");
        }
    const QString stored = page::encode(clean);
    // A lone empty cell and no cells at all both store as "".
    if (!stored.isEmpty())
        check(page::decode(stored) == clean, "decode(encode(cells)) == cells");
}

void times(const uint8_t *data, size_t size)
{
    Input in{data, size};
    int minutes = 0;
    for (int i = 0; i < 4; ++i)
        minutes = static_cast<int>(static_cast<unsigned>(minutes) << 8 | in.take());
    const int slot = static_cast<int8_t>(in.take()) * 4;
    const QString formatted = page::formatTime(minutes);
    static const QRegularExpression form(QStringLiteral("^(0[1-9]|1[0-2]):[0-5][0-9] (AM|PM)$"));
    check(form.match(formatted).hasMatch(), "formatTime gives hh:mm AM");
    check(page::parseTime(formatted) == ((minutes % 1440) + 1440) % 1440, "parseTime(formatTime(m)) == m");

    const QStringList parts = in.rest().split(QLatin1Char('\n'));
    std::optional<int> parsed[2];
    for (int i = 0; i < 2; ++i) {
        parsed[i] = page::parseTime(parts.value(i));
        if (parsed[i]) {
            check(*parsed[i] >= 0 && *parsed[i] < 1440, "a parsed time lies within the day");
            check(page::parseTime(page::formatTime(*parsed[i])) == parsed[i], "a parsed time formats back");
        }
    }
    const book::PageLayout layout = book::layoutOf(1, QString(), parts.value(0), parts.value(1), slot, 1);
    check(!layout.times.empty() && layout.times.front() == layout.open, "time rows start at the opening time");
    check(layout.times.size() <= 1442, "time rows stay within a day");
    for (size_t i = 1; i < layout.times.size(); ++i)
        check(layout.times[i] > layout.times[i - 1], "time rows increase");
}

void clipText(const uint8_t *data, size_t size)
{
    Input in{data, size};
    const int rows = 1 + in.take() % 12;
    const int cols = 1 + in.take() % 12;
    const int r1 = in.take(), c1 = in.take(), r2 = in.take(), c2 = in.take();
    const QString text = in.rest();

    ui::GridModel grid;
    grid.setRows(rows);
    grid.setCols(cols);
    const QString mark = QStringLiteral("\x01");
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.setTextMatrix(r, c, mark);
    grid.select(r1 % (rows + 1), c1 % (cols + 1), r2 % (rows + 1), c2 % (cols + 1));
    grid.setClip(text);

    const QStringList lines = text.split(QChar(13));
    page::Cells expected;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const bool inside = r >= grid.selTop() && r <= grid.selBottom() && c >= grid.selLeft() &&
                                c <= grid.selRight();
            if (!inside) {
                check(grid.textMatrix(r, c) == mark, "setClip leaves cells outside the selection");
                continue;
            }
            const QStringList parts = lines.value(r - grid.selTop()).split(QChar(9));
            check(grid.textMatrix(r, c) == parts.value(c - grid.selLeft()), "setClip pastes from the top-left cell");
        }
    for (int r = grid.selTop(); r <= grid.selBottom(); ++r) {
        QStringList row;
        for (int c = grid.selLeft(); c <= grid.selRight(); ++c)
            row << grid.textMatrix(r, c);
        expected.push_back(row);
    }
    check(grid.clip() == page::encode(expected), "clip gives the selection's cells");
    // A text of exactly the selection's shape comes back as it went in.
    bool fits = lines.size() == grid.selBottom() - grid.selTop() + 1;
    for (const QString &line : lines)
        fits = fits && line.count(QChar(9)) == grid.selRight() - grid.selLeft();
    if (fits)
        check(grid.clip() == text, "clip(setClip(text)) == text for a selection of its shape");
}

void colors(const uint8_t *data, size_t size)
{
    Input in{data, size};
    const int rows = 3 + in.take() % 24;
    const int cols = 1 + in.take() % 8;
    const bool closed = in.take() & 1;
    const QString text = in.rest();

    const std::vector<int> values = book::decodeColors(text);
    const QString stored = book::encodeColors(values);
    // A list of one 0 stores as "0", nothing stored; a page has at least
    // four colour cells, so no page has such a list.
    if (!(values.size() == 1 && values[0] == 0))
        check(book::decodeColors(stored) == values, "decodeColors(encodeColors(v)) == v");

    ui::GridModel grid;
    grid.setRows(rows);
    grid.setCols(cols);
    book::applyColors(grid, text, closed);
    const std::vector<int> shown = book::gridColors(grid);
    for (size_t k = 0; k < shown.size(); ++k) {
        const int want = values.empty() ? (closed ? book::DesktopColor : book::DefaultCellColor)
                                        : (k < values.size() ? values[k] : 0);
        check(shown[k] == want, "applyColors gives each cell its stored colour");
    }
}

void columns(const uint8_t *data, size_t size)
{
    Input in{data, size};
    const int count = 1 + in.take() % 21;
    const int gridRows = in.take() % 4;
    const double factor = (1 + in.take() % 40) / 10.0;
    const QStringList parts = in.rest().split(QLatin1Char('\n'));
    const QString namesText = parts.value(0);
    const QString cwidth = parts.value(1);

    const QStringList names = page::splitList(namesText);
    check(page::splitList(page::joinList(names)) == names, "splitList(joinList(names)) == names");

    ui::GridModel grid;
    grid.setRows(gridRows);
    book::setupColumns(grid, count, names, cwidth, factor);
    check(grid.cols() == count, "setupColumns gives the column count");
    for (int c = 1; c < count; ++c) {
        check(grid.colWidth(c) > 0, "every column keeps a width");
        if (grid.rows() > 1)
            check(grid.textMatrix(1, c) == names.value(c - 1), "row 1 holds the names");
    }
}

void setupFields(const uint8_t *data, size_t size)
{
    Input in{data, size};
    const auto f = setup::fieldAt(in.take() % setup::TextFieldCount);
    const QString text = in.rest();
    const QString cleaned = setup::cleanText(f, text);
    check(setup::cleanText(f, cleaned) == cleaned, "cleanText is idempotent");
    for (QChar ch : text)
        (void)setup::typedChar(f, ch);
    (void)setup::leaveRule(f, text);
    (void)setup::leaveRule(f, cleaned);
    check(setup::digitsValue(text) >= 0, "digitsValue is never negative");
    (void)setup::nextField(f);
    (void)setup::fieldByName(text);
}

void dates(const uint8_t *data, size_t size)
{
    // Short date formats of every kind: month first, day first, year first,
    // month names, two- and four-digit years, other separators.
    static const char *const locales[] = {"C",     "en_US", "en_GB", "de_DE", "fr_FR",
                                          "nl_NL", "ja_JP", "hu_HU", "sv_SE", "en_ZA"};
    Input in{data, size};
    const uint8_t choice = in.take();
    const int two = in.take() % 100;
    const int year = 1900 + in.take() * 2;
    QLocale::setDefault(QLocale(QString::fromLatin1(locales[choice % std::size(locales)])));

    const int expanded = book::expandTwoDigitYear(two, year);
    check(expanded % 100 == two && expanded <= book::lastBookYear(year) &&
              expanded > book::lastBookYear(year) - 100,
          "a two-digit year lands in the book's hundred years");

    const std::optional<QDate> date = book::parseDateInput(in.rest());
    if (date) {
        check(date->isValid(), "a read date is valid");
        (void)book::shortDate(*date);
        (void)book::weekdayName(*date);
    }
}

void amounts(const uint8_t *data, size_t size)
{
    static const QRegularExpression form(QStringLiteral("^-?[0-9]{2,}\\.[0-9]{2}$"));
    constexpr double Largest = double(ui::Money::MaxCents) / 100.0;
    const auto roundTrip = [](double x) {
        const QString s = report::formatAmount(x);
        check(form.match(s).hasMatch(), "formatAmount gives ####00.00");
        const double y = report::amountValue(s);
        check(report::formatAmount(y) == s, "formatAmount(amountValue(formatAmount(x))) == formatAmount(x)");
        if (!std::isfinite(x))
            return;
        if (std::fabs(x) <= Largest)
            check(std::fabs(y - x) <= 0.005 + std::fabs(x) * 1e-15, "amountValue(formatAmount(x)) is x to the cent");
        else
            check(std::fabs(y) == Largest, "an amount beyond the limit is formatted as the limit");
    };
    const QString text = textOf(data, size);
    const double v = report::amountValue(text);
    check(std::isfinite(v), "amountValue is finite");
    roundTrip(v);
    if (size >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data, sizeof x);
        roundTrip(x);
    }
    // A typed sum is kept as a text that every reader of stored amounts reads as that sum.
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France)};
    const QLocale &locale = locales[size > 0 ? data[0] % 4 : 0];
    if (const auto typed = ui::Money::readTyped(text, locale, size > 0 && (data[0] & 4))) {
        check(std::llabs(typed->cents()) <= ui::Money::MaxCents, "a typed sum is within the limit");
        check(ui::Money::read(ui::Money::typedText(text, *typed)) == *typed, "the kept text reads as the typed sum");
    }
}

void criteria(const uint8_t *data, size_t size)
{
    static const auto sqlite = store::Dialect::forEngine(store::Dialect::Engine::Sqlite);
    static const auto server = store::Dialect::forEngine(store::Dialect::Engine::Postgres);
    Input in{data, size};
    const uint8_t how = in.take();
    const store::TableDef *table = store::findTable(how & 1 ? store::tables::Accounts : store::tables::Appt);
    check(table, "the table is known");
    const store::Dialect &dialect = how & 2 ? *server : *sqlite;
    try {
        const store::Condition c =
            store::parseCriteria(in.rest(), table->fieldNames(), dialect, how & 4 ? table : nullptr);
        check(c.sql.count(QLatin1Char('?')) == c.binds.size(), "every value is bound");
    } catch (const store::DbError &) {
    }
}

void selection(const uint8_t *data, size_t size)
{
    try {
        const int invoice = report::parseSelectionFormula(textOf(data, size));
        check(report::parseSelectionFormula(QStringLiteral("{tbl_Accounts.Invoice}=%1").arg(invoice)) == invoice,
              "the formula the program writes reads back");
    } catch (const report::ReportError &) {
    }
}

void layouts(const uint8_t *data, size_t size)
{
    try {
        const report::Layout layout = report::parseLayout(textOf(data, size));
        check(!layout.sections.empty(), "a layout has a section");
        for (const QString &f : layout.fields)
            check(report::knownFields().contains(f), "a layout uses known fields only");
        // The merge walks the same tree; an empty invoice fills it.
        const report::FieldValues values({}, {}, layout.title);
        (void)report::mergeLayout(layout, values);
    } catch (const report::LayoutError &) {
    }
}

} // namespace fuzz
