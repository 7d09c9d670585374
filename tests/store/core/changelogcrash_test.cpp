#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "store/core/changelog.h"
#include "store/core/settings.h"
#include "storefixture.h"

#include <map>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using store::ChangeLog;

namespace {

class ChangeLogCrashTest : public storetest::StoreTest {
protected:
    // A station that saves without end: each save sets one cell of each of
    // the two pages in one transaction (two entries of one batch), and says
    // on `done` that it committed. It only ever ends by a kill.
    [[noreturn]] void saveUntilKilled(int round, int done, const std::vector<int> &pages)
    {
        store::Database mine;
        if (!store.open(mine, false).ok())
            _exit(1);
        book::PageStore writer(mine);
        std::mt19937 random(static_cast<unsigned>(round));
        for (int n = 0;; ++n) {
            std::vector<book::PageStore::BlockChange> blocks;
            for (int id : pages) {
                const std::pair<int, int> cell{3 + static_cast<int>(random() % 8), 1 + static_cast<int>(random() % 3)};
                book::PageStore::BlockChange &b = blocks.emplace_back();
                b.id = id;
                b.cells = {{cell, QStringLiteral("R%1 S%2").arg(round).arg(n)}};
            }
            writer.writeBlocks(blocks);
            if (write(done, "x", 1) != 1)
                _exit(1);
        }
    }

    // Replays a page's log from its empty cells: each change must start
    // from what the entry before it left, and the last one must be what the
    // page holds. A change without its entry, or an entry without its
    // change, breaks the chain.
    size_t checkPage(const QDate &date)
    {
        const auto entries = ChangeLog::forRecord(db, "page", ChangeLog::keyText(date));
        std::map<QString, QString> cells;
        for (auto e = entries.rbegin(); e != entries.rend(); ++e)
            for (const store::FieldChange &c : e->changes) {
                EXPECT_EQ(cells[c.field], ChangeLog::shown(c.before)) << "entry " << e->id << " cell " << c.field.toStdString();
                cells[c.field] = ChangeLog::shown(c.after);
            }
        const book::page::Cells stored = book::page::decode(book::PageStore(db).find(date).data);
        for (const auto &[field, text] : cells) {
            const QStringList at = field.split(',');
            EXPECT_EQ(book::page::cellAt(stored, at[0].toInt(), at[1].toInt()), text) << field.toStdString();
        }
        return entries.size();
    }
};

// Saves killed at random moments, twenty times: every change the pages hold
// has its entry, and every entry its change, on both engines.
TEST_P(ChangeLogCrashTest, AKilledSaveLeavesNoChangeWithoutItsEntry)
{
    const store::Settings settings = store::SettingsStore(db).load();
    const std::vector<QDate> dates{QDate(2026, 12, 7), QDate(2026, 12, 8)};
    std::vector<int> pages;
    for (const QDate &d : dates)
        pages.push_back(book::PageStore(db).seek(d, settings).id);
    std::mt19937 random(7);
    int saves = 0;
    for (int round = 0; round < 20; ++round) {
        int done[2];
        ASSERT_EQ(pipe(done), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(done[0]);
            saveUntilKilled(round, done[1], pages);
        }
        close(done[1]);
        // Killed once it has saved, at some moment of a later save.
        pollfd first{done[0], POLLIN, 0};
        ASSERT_EQ(poll(&first, 1, 20000), 1) << "round " << round << ": no save";
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        char buffer[4096];
        for (ssize_t got; (got = read(done[0], buffer, sizeof buffer)) > 0;)
            saves += static_cast<int>(got);
        close(done[0]);
        EXPECT_TRUE(WIFSIGNALED(status)) << "round " << round << " ended by itself";
    }
    const size_t first = checkPage(dates[0]);
    EXPECT_EQ(checkPage(dates[1]), first);   // the two entries of a save, both or none
    EXPECT_GE(first, static_cast<size_t>(saves));
}

QUILLON_BOTH_ENGINES(ChangeLogCrashTest);

} // namespace
