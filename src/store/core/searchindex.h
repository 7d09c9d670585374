#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace store {

class Database;

// The text of every cell of every day page, by page date and cell, so that a
// name is found without reading the pages: an entry per consultant column of
// a page (its cells' texts, a line each); on the file an FTS5 table of
// trigrams holding no text of its own, on a server a table of the texts
// with a pg_trgm index. Kept in step by the
// page store's writes, in their transactions. It only says which pages may hold a name (whatever its case):
// every page that does, and perhaps a few that do not; callers check the
// cells they read.
class SearchIndex {
public:
    static const QString Table;
    // Needles shorter than this (in characters) are looked for by the scan.
    static constexpr int MinNeedle = 3;

    // What this connection can do with the index, found when it opens.
    struct State {
        bool kept = false;        // the index exists: page writes keep it in step
        bool searchable = false;  // and can answer searches
        QString why;              // when it cannot: for the start-up log
        // The index exists but this station cannot keep it: its page writes
        // mark it stale, and every station's searches scan until a station
        // that can keep it builds it again (at its start).
        bool marksStale = false;
        // On a server: the table keeps each page's words beside its text,
        // and the trigram index covers the words (the form made since
        // version 12 by the table's owner).
        bool keptWords = false;
    };
    static State probe(Database &db);

    // Makes the index (empty), in the running write transaction, where the
    // engine can hold it; otherwise returns why not. On a server without
    // pg_trgm the cells are still kept, and searched by the scan.
    static QString create(Database &db);
    // Fills the index from the stored pages (it is emptied first), in the
    // running write transaction, and the mark of a stale index cleared.
    // `progress` (or else the database's indexProgress()) hears pages done
    // of all, from 0.
    static void rebuild(Database &db, const std::function<void(int done, int total)> &progress = {});
    // On a server: the table made to keep each page's words beside its
    // text, the trigram index moved to them (both filled by the rebuild that
    // follows). The table's owner only.
    static void keepWords(Database &db);
    // On a server: the trigram index made to take each change into its tree
    // at once, and what it held pending merged. The index's owner only.
    static void settle(Database &db);

    // A page's stored text changes from `before` to `after` (either empty
    // for a page made or deleted): the cells that changed are written, in
    // the running write transaction. Nothing when the index is not kept.
    static void pageChanged(Database &db, const QDate &date, const QString &before, const QString &after);

    // One search's reads of the index. Whether the index may be trusted
    // (searchable here, not marked stale) is asked once, as it starts; on a
    // server its statements find their rows through an index's bitmap alone
    // while it lasts, the session's settings restored as it ends. Each
    // takes one round trip: a search's few reads pay for them once.
    class Reader {
    public:
        explicit Reader(Database &db);
        ~Reader();

        // The dates (ascending) between from and to (an invalid date: no
        // bound) of pages whose cells may hold `needle`; nullopt when the
        // index cannot tell (not searchable here, marked stale, or a needle
        // too short). With `maxPages`, the reading stops at one date more
        // than that.
        std::optional<std::vector<QDate>> pagesWith(const QDate &from, const QDate &to, const QString &needle,
                                                    size_t maxPages = 0);
        // The dates (ascending) of pages within the spans (each from..to,
        // both valid, none overlapping) whose cells may hold `needle`, in one
        // statement; nullopt as for pagesWith. Meant for short spans: a
        // sample of a range.
        std::optional<std::vector<QDate>> pagesWithin(const std::vector<std::pair<QDate, QDate>> &spans,
                                                      const QString &needle);

    private:
        bool answers(const QString &folded) const;

        // A server session's planner settings as they were, set back once by
        // the reader that holds them (which no copy can share).
        struct Planner {
            bool seqscan = true, indexscan = true;
        };

        Database &m_db;
        bool m_trusted = false;
        std::unique_ptr<Planner> m_was;
    };

    // Reader's two reads, each on its own.
    static std::optional<std::vector<QDate>> pagesWith(Database &db, const QDate &from, const QDate &to,
                                                       const QString &needle, size_t maxPages = 0);
    static std::optional<size_t> pagesWithin(Database &db, const QDate &from, const QDate &to,
                                             const QString &needle);

    // Text as the index holds it: each character case-folded on its own, as
    // a case-blind comparison of the program matches them.
    static QString fold(const QString &text);

private:
    // Whether a station that cannot keep the index marked it stale.
    static bool markedStale(Database &db);
};

} // namespace store
