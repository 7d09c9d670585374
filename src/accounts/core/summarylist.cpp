#include "accounts/core/summarylist.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/summarylistsql.h"
#include "ui/core/dateinput.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <QSet>
#include <map>

namespace accounts {

using namespace summarysql;

QDate issueDate(const QString &text)
{
    // Lists repeat the same few dates many times over.
    static QHash<QString, QDate> seen;
    const auto it = seen.constFind(text);
    if (it != seen.cend())
        return *it;
    const QDate d = text.trimmed().isEmpty() ? QDate() : book::parseDateInput(text).value_or(QDate());
    if (seen.size() > 100000)
        seen.clear();
    seen.insert(text, d);
    return d;
}

SummaryList::SummaryList(store::Database &db, QDate today, QObject *parent)
    : ui::PagedRows(parent), m_db(db), m_today(today)
{
}

const QStringList &SummaryList::fields()
{
    return store::accountsQuery().columns;
}

const QStringList &SummaryList::headings()
{
    static const QStringList h = [] {
        const QHash<QString, QString> renamed = {
            {"PFirstName", "FirstName"}, {"PMI", "MI"},      {"PLastName", "LastName"}, {"DateOfBirth", "DOB"},
            {"PAddress", "Address"},     {"PCity", "City"},  {"PState", "State"},       {"PZip", "Zip/PC"},
            {"DateOfAccident", "DOA"}, {"PayTo", "Practitioner"}};
        QStringList out;
        for (const QString &name : fields())
            out << renamed.value(name, name);
        return out;
    }();
    return h;
}

namespace {

// Code-point order, as the database compares texts by their codes (SQLite's
// BINARY, the server's "C"): UTF-16 units above the surrogates move below them.
int compareCodes(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        const auto fix = [](char16_t u) { return u >= 0xE000 ? u - 0x800 : u >= 0xD800 ? u + 0x2000 : int(u); };
        return fix(x) < fix(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// A patient's name as the list sorts it: last, first name and initial, a
// missing part (no patient file, or a field never filled) first.
struct Name {
    QString parts[3];
    bool missing[3] = {true, true, true};
    int compare(const Name &o) const
    {
        for (int i = 0; i < 3; ++i) {
            if (missing[i] != o.missing[i])
                return missing[i] ? -1 : 1;
            if (const int c = missing[i] ? 0 : compareCodes(parts[i], o.parts[i]))
                return c;
        }
        return 0;
    }
};

// Invoice numbers of runs kept read at most, and the rows a read aims at.
constexpr int KeptInvoices = 50000;

// A name the listings find whatever its case. SQLite's upper() folds only
// A to Z, so the name goes in both its capital and its small spelling: a
// stored name whose other letters are all capitals or all small is found.
QString foldedName(const QString &column, QVariantList &binds, const QString &name)
{
    binds << name.toUpper() << name.toLower();
    return QStringLiteral("upper(%1) IN (upper(?), upper(?))").arg(column);
}

} // namespace

void SummaryList::list(const Narrowing &n, Order order)
{
    listing(n, order, false);
}

void SummaryList::reread()
{
    listing(m_narrowing, m_order, true);
}

void SummaryList::listing(const Narrowing &n, Order order, bool inPlace)
{
    QStringList conds;
    QVariantList binds;
    // By the listing's own indexes when all or the unpaid are listed; a
    // narrowing by a column of another index (or of none) reads the rows it
    // selects instead.
    bool narrowed = false;
    if (n.fileNo != 0) {
        conds << col(f::FileNo) + " = ?";
        binds << n.fileNo;
        narrowed = true;
    }
    if (!n.referrer.isEmpty()) {
        conds << foldedName(col(f::Referrer), binds, n.referrer);
        narrowed = true;
    }
    if (!n.practitioner.isEmpty()) {
        conds << foldedName(col(f::PayTo), binds, n.practitioner);
        narrowed = true;
    }
    if (n.cash) {
        conds << col(f::Cash) + " = ?";
        binds << m_db.dialect().bindValue(true, store::FieldType::YesNo);
        narrowed = true;
    }
    // The list of every invoice, or of those owing, is counted, dated and
    // totalled by the derived figures; a narrower one by the rows it selects.
    std::optional<std::vector<AccountSums::Row>> sums;
    if (!narrowed)
        sums = AccountSums::read(m_db);
    if (n.unpaid) {
        // The spellings of a settled balance are few: those stored are
        // found once and left out; every other balance, and none, is unpaid.
        QVariantList settled;
        if (sums) {
            QSet<QString> seen;
            for (const AccountSums::Row &row : *sums)
                if (!row.settledAs.isNull() && !seen.contains(row.settledAs.toString())) {
                    seen.insert(row.settledAs.toString());
                    settled << row.settledAs;
                }
        } else {
            m_db.forEachRow(QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL")
                                .arg(col(f::BalanceDue), col(store::tables::Accounts)),
                            {}, [&](const QSqlQuery &r) {
                                const QString balance = r.value(0).toString();
                                if (ui::isSettledBalance(balance))
                                    settled << balance;
                            });
        }
        if (!settled.isEmpty()) {
            conds << QStringLiteral("(%1 IS NULL OR %1 NOT IN (%2))").arg(col(f::BalanceDue), marks(settled.size()));
            binds << settled;
        }
        if (sums)
            sums->erase(std::remove_if(sums->begin(), sums->end(),
                                       [](const AccountSums::Row &row) { return !row.settledAs.isNull(); }),
                        sums->end());
    }
    const Key key = order == Order::IssueDate ? Key::IssueDate
                    : order == Order::Name    ? (sums ? Key::Name : Key::FileNo)
                                              : Key::None;
    const QString where = conds.join(QStringLiteral(" AND "));
    const QString from = col(store::tables::Accounts) + (where.isEmpty() ? QString() : " WHERE " + where);

    std::vector<Run> runs;
    if (key == Key::None || key == Key::Name) {
        Run all;
        if (sums) {
            for (const AccountSums::Row &row : *sums)
                all.count += int(row.invoices);
        } else {
            all.count = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + from, binds).toInt();
        }
        runs.push_back(all);
    } else if (key == Key::IssueDate) {
        // One run per date the texts read as, in date order; those that read
        // as none (or are missing) last.
        std::map<QDate, Run> dated;
        Run undated;
        const auto counted = [&](const QVariant &text, int count) {
            if (text.isNull()) {
                undated.withNull = true;
                undated.count += count;
                return;
            }
            const QDate d = issueDate(text.toString());
            Run &run = d.isValid() ? dated[d] : undated;
            run.keys << text.toString();
            run.count += count;
        };
        if (sums) {
            std::map<std::optional<QString>, int> byText;
            for (const AccountSums::Row &row : *sums)
                byText[row.issueDate.isNull() ? std::nullopt : std::optional(row.issueDate.toString())] +=
                    int(row.invoices);
            for (const auto &[text, count] : byText)
                counted(text ? QVariant(*text) : QVariant(), count);
        } else {
            const QString group = col(f::IssueDate) + (narrowed ? QStringLiteral(" || ''") : QString());
            m_db.forEachRow(QStringLiteral("SELECT %1, COUNT(*) FROM %2 GROUP BY 1").arg(group, from), binds,
                            [&](const QSqlQuery &r) {
                                counted(r.isNull(0) ? QVariant() : QVariant(r.value(0).toString()),
                                        r.value(1).toInt());
                            });
        }
        for (auto &[date, run] : dated)
            runs.push_back(std::move(run));
        if (undated.count > 0)
            runs.push_back(std::move(undated));
    } else {
        // One run per patient name, in name order; patients of the same name
        // share it.
        const QString group = col(f::FileNo) + (narrowed ? QStringLiteral(" + 0") : QString());
        struct File {
            QVariant fileNo;
            int count;
            Name name;
        };
        std::vector<File> files;
        m_db.forEachRow(QStringLiteral("SELECT %1, COUNT(*) FROM %2 GROUP BY 1").arg(group, from), binds,
                        [&](const QSqlQuery &r) {
                            files.push_back({r.isNull(0) ? QVariant() : QVariant(r.value(0).toInt()),
                                             r.value(1).toInt(), Name()});
                        });
        QHash<int, Name> names;
        const auto readNames = [&](const QString &sql, const QVariantList &keys) {
            m_db.forEachRow(sql, keys, [&](const QSqlQuery &r) {
                Name nm;
                for (int i = 0; i < 3; ++i) {
                    nm.missing[i] = r.isNull(i + 1);
                    nm.parts[i] = nm.missing[i] ? QString() : r.value(i + 1).toString();
                }
                names.insert(r.value(0).toInt(), nm);
            });
        };
        const QString nameSql = QStringLiteral("SELECT %1, %2, %3, %4 FROM %5")
                                    .arg(col(QStringLiteral("FileNo")), col(QStringLiteral("PLastName")),
                                         col(QStringLiteral("PFirstName")), col(QStringLiteral("PMI")),
                                         col(store::tables::PatientDetails));
        if (files.size() > 1000) {
            readNames(nameSql, {});
        } else {
            QVariantList keys;
            for (const File &file : files)
                if (!file.fileNo.isNull())
                    keys << file.fileNo;
            for (qsizetype i = 0; i < keys.size(); i += KeysPerQuery) {
                const QVariantList part = keys.mid(i, KeysPerQuery);
                readNames(nameSql + QStringLiteral(" WHERE %1 IN (%2)").arg(col(QStringLiteral("FileNo")),
                                                                            marks(part.size())),
                          part);
            }
        }
        for (File &file : files)
            if (!file.fileNo.isNull())
                file.name = names.value(file.fileNo.toInt());
        std::sort(files.begin(), files.end(), [](const File &a, const File &b) { return a.name.compare(b.name) < 0; });
        for (size_t i = 0; i < files.size(); ++i) {
            if (i == 0 || files[i].name.compare(files[i - 1].name) != 0)
                runs.emplace_back();
            Run &run = runs.back();
            if (files[i].fileNo.isNull())
                run.withNull = true;
            else
                run.keys << files[i].fileNo;
            run.count += files[i].count;
        }
    }
    int rows = 0;
    for (Run &run : runs) {
        run.first = rows;
        rows += run.count;
    }

    if (!inPlace)
        beginResetModel();
    m_order = order;
    m_narrowing = n;
    m_key = key;
    m_where = where;
    m_binds = binds;
    m_narrowed = narrowed;
    m_runs = std::move(runs);
    m_sums = std::move(sums);
    m_nameless.reset();
    m_runInvoices.clear();
    m_cachedInvoices = 0;
    m_totals.reset();
    if (inPlace) {
        rereadRows(rows);
        return;
    }
    setRows(rows);
    endResetModel();
}

QString SummaryList::keyColumn() const
{
    return col(m_key == Key::IssueDate ? f::IssueDate : f::FileNo);
}

int SummaryList::runOf(int row) const
{
    const auto it = std::upper_bound(m_runs.begin(), m_runs.end(), row,
                                     [](int r, const Run &run) { return r < run.first; });
    return int(it - m_runs.begin()) - 1;
}

const std::vector<int> &SummaryList::runInvoices(int run) const
{
    static const std::vector<int> none;
    if (const auto it = m_runInvoices.constFind(run); it != m_runInvoices.cend())
        return *it;
    const QString narrowing = m_where.isEmpty() ? QString() : QStringLiteral(" AND ") + m_where;
    QHash<int, std::vector<int>> byRun;
    try {
        {
            // This run and the next few, about a page of rows, in one reading.
            QHash<QString, int> runOfKey;
            int nullRun = -1;
            QVariantList keys;
            int rows = 0;
            for (int i = run; i < int(m_runs.size()) && (i == run || (rows < PageRows && keys.size() < KeysPerQuery));
                 ++i) {
                if (m_runInvoices.contains(i))
                    break;
                const Run &r = m_runs[size_t(i)];
                for (const QVariant &k : r.keys)
                    runOfKey.insert(k.toString(), i);
                keys << r.keys;
                if (r.withNull)
                    nullRun = i;
                rows += r.count;
                byRun[i];
            }
            const QString keyCol = keyColumn();
            // The keys, then the invoices without one, each by the index (the
            // two together in one condition would read the whole table).
            const auto read = [&](const QString &which, const QVariantList &binds) {
                m_db.forEachRow(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4%5")
                                    .arg(keyCol, col(f::Invoice), col(store::tables::Accounts), which, narrowing),
                                binds + m_binds, [&](const QSqlQuery &r) {
                                    const int in = r.isNull(0) ? nullRun : runOfKey.value(r.value(0).toString(), -1);
                                    if (in >= 0)
                                        byRun[in].push_back(r.value(1).toInt());
                                });
            };
            for (qsizetype at = 0; at < keys.size(); at += KeysPerQuery) {
                const QVariantList part = keys.mid(at, KeysPerQuery);
                read(QStringLiteral("%1 IN (%2)").arg(keyCol, marks(part.size())), part);
            }
            if (nullRun >= 0)
                read(keyCol + QStringLiteral(" IS NULL"), {});
        }
    } catch (const store::DbError &) {
        return none;   // shown empty; read again when next shown
    }
    for (auto &invoices : byRun)
        std::sort(invoices.begin(), invoices.end());
    keep(byRun);
    return m_runInvoices[run];
}

void SummaryList::keep(QHash<int, std::vector<int>> &read) const
{
    if (m_cachedInvoices > KeptInvoices) {
        m_runInvoices.clear();
        m_cachedInvoices = 0;
    }
    for (auto it = read.begin(); it != read.end(); ++it) {
        m_cachedInvoices += int(it->size());
        m_runInvoices.insert(it.key(), std::move(*it));
    }
}

// A page's invoice numbers as kept, else read by `read` (the page's first
// row, its row count, the numbers out) and kept; empty past the end, or when
// the read fails (read again when next shown).
const std::vector<int> &SummaryList::keptPage(int page, const PageRead &read) const
{
    static const std::vector<int> none;
    if (const auto it = m_runInvoices.constFind(page); it != m_runInvoices.cend())
        return *it;
    const int first = page * PageRows;
    const int count = std::min(PageRows, rows() - first);
    if (count <= 0)
        return none;
    QHash<int, std::vector<int>> pages;
    try {
        read(first, count, pages[page]);
    } catch (const store::DbError &) {
        return none;
    }
    keep(pages);
    return m_runInvoices[page];
}

// In invoice order a page's numbers come by the invoice number's index: on
// from the page before or back from the page after when it was read, else
// from the nearer end of the list, so no read goes through the whole list.
const std::vector<int> &SummaryList::pageInvoices(int page) const
{
    return keptPage(page, [this, page](int first, int count, std::vector<int> &out) {
        const auto select = [&](const QString &cond, QVariantList binds, bool backwards, int offset) {
            QStringList conds;
            if (!m_where.isEmpty())
                conds << m_where;
            if (!cond.isEmpty())
                conds << cond;
            binds = m_binds + binds;   // the narrowing comes first in the statement
            m_db.forEachRow(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %1%4 LIMIT ? OFFSET ?")
                                .arg(col(f::Invoice), col(store::tables::Accounts),
                                     conds.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conds.join(" AND "),
                                     backwards ? QStringLiteral(" DESC") : QString()),
                            binds + QVariantList{count, offset},
                            [&](const QSqlQuery &r) { out.push_back(r.value(0).toInt()); });
            if (backwards)
                std::reverse(out.begin(), out.end());
        };
        const auto before = m_runInvoices.constFind(page - 1);
        const auto after = m_runInvoices.constFind(page + 1);
        if (before != m_runInvoices.cend() && int(before->size()) == PageRows)
            select(col(f::Invoice) + QStringLiteral(" > ?"), {before->back()}, false, 0);
        else if (after != m_runInvoices.cend() && !after->empty() && count == PageRows)
            select(col(f::Invoice) + QStringLiteral(" < ?"), {after->front()}, true, 0);
        else if (first <= rows() - first - count)
            select({}, {}, false, first);
        else
            select({}, {}, true, rows() - first - count);
    });
}

int SummaryList::invoiceAt(int row) const
{
    if (row < 0 || row >= rows())
        return 0;
    if (m_key == Key::None || m_key == Key::Name) {
        const std::vector<int> &invoices =
            m_key == Key::None ? pageInvoices(row / PageRows) : namePageInvoices(row / PageRows);
        const size_t at = size_t(row % PageRows);
        return at < invoices.size() ? invoices[at] : 0;
    }
    const int run = runOf(row);
    if (run < 0)
        return 0;
    const std::vector<int> &invoices = runInvoices(run);
    const size_t at = size_t(row - m_runs[size_t(run)].first);
    // Another station may have changed the run since it was counted.
    return at < invoices.size() ? invoices[at] : 0;
}

std::vector<QStringList> SummaryList::readPage(int first, int count) const
{
    QVariantList binds;
    std::vector<int> invoices;
    for (int i = first; i < first + count; ++i) {
        invoices.push_back(invoiceAt(i));
        if (invoices.back() > 0)
            binds << invoices.back();
    }
    QHash<int, QStringList> byInvoice;
    if (!binds.isEmpty()) {
        QStringList cols;
        for (const QString &name : fields())
            cols << col(name);
        const auto records = m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                                             .arg(cols.join(", "), col(store::tables::AccountsQuery), col(f::Invoice),
                                                  marks(binds.size())),
                                         binds);
        const int key = int(fields().indexOf(f::Invoice));
        const auto at = [](const QString &field) { return int(fields().indexOf(field)); };
        static const int lastName = at(QStringLiteral("PLastName")), firstName = at(QStringLiteral("PFirstName")),
                         mi = at(QStringLiteral("PMI")), subtotal = at(f::Subtotal), discount = at(f::Discount);
        for (const QSqlRecord &r : records) {
            QStringList values;
            for (int i = 0; i < r.count(); ++i)
                values << text(r, i);
            // "LAST, FIRST M", as the front desk reads a name off a list.
            const QString given = QStringList{values[firstName].trimmed(), values[mi].trimmed()}.join(' ').trimmed();
            values << (given.isEmpty() ? values[lastName].trimmed()
                                       : values[lastName].trimmed() + QStringLiteral(", ") + given);
            values << (ui::Money::read(values[subtotal]) - ui::Money::read(values[discount])).text();
            byInvoice.insert(r.value(key).toInt(), values);
        }
    }
    std::vector<QStringList> rows;
    for (const int invoice : invoices)
        rows.push_back(byInvoice.value(invoice));
    return rows;
}

QString SummaryList::valueAt(int row, const QString &field) const
{
    const QStringList *r = rowAt(row);
    const int i = int(fields().indexOf(field));
    return r && i >= 0 && i < r->size() ? r->at(i) : QString();
}

const QList<int> &SummaryList::readingColumns()
{
    static const QList<int> c = [] {
        const auto at = [](const QString &field) { return int(fields().indexOf(field)); };
        return QList<int>{at(f::Invoice), at(f::IssueDate), patientColumn(), at(f::Referrer), at(f::PayTo),
                          billedColumn(), at(f::AmountPaid), at(f::BalanceDue)};
    }();
    return c;
}

bool SummaryList::isAmountColumn(int column)
{
    static const QList<int> amounts = [] {
        QList<int> out;
        for (const QString &name : fields())
            if (name.startsWith(QStringLiteral("Amount")) || name == f::Subtotal || name == f::Discount ||
                name == f::BalanceDue)
                out << int(fields().indexOf(name));
        return out << billedColumn();
    }();
    return amounts.contains(column);
}

QVariant SummaryList::data(const QModelIndex &index, int role) const
{
    if (role == Qt::TextAlignmentRole && index.isValid())
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (isAmountColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    return ui::PagedRows::data(index, role);
}

QVariant SummaryList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == patientColumn())
        return QStringLiteral("Patient");
    if (section == billedColumn())
        return QStringLiteral("Billed");
    return section >= 0 && section < headings().size() ? QVariant(headings()[section]) : QVariant();
}

} // namespace accounts
