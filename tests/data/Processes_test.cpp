// Data files shared by processes: a process killed while it writes loses
// nothing that was written, and two processes adding at once keep their
// auto-numbers apart.
#include "DataFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace ven;
using ven::test::DataFolder;

namespace {

// In a child process: adds diary entries until `count` (or forever), writing
// each number to `fd` once its add has returned.
[[noreturn]] void addEntries(int fd, int count)
{
    Store::instance().closeIdle();
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    if (Status st = dry.open(); !st) {
        fprintf(stderr, "open: %s\n", qPrintable(st.text));
        _exit(2);
    }
    // A lock the other writer holds past the engine's wait is tried again,
    // as a person answers Yes to the retry question.
    auto retried = [](const std::function<Status()>& op) {
        Status st = op();
        for (int tries = 0; st.code == Err::Locked && tries < 20; ++tries)
            st = op();
        return st.ok();
    };
    for (int i = 0; count == 0 || i < count; ++i) {
        if (!retried([&] { return dry.primeRecord(); }))
            _exit(3);
        dry.rec().set(DRY::LEGEND, QString("entry %1 of %2").arg(i).arg(getpid()));
        if (!retried([&] { return dry.insert(); }))
            _exit(4);
        uint32_t n = uint32_t(dry.rec().num(DRY::NUMBER));
        if (fd >= 0 && write(fd, &n, sizeof n) != sizeof n)
            _exit(5);
    }
    _exit(0);
}

TEST(Processes, AKilledWriterLeavesASoundFileWithEveryReturnedRecord)
{
    DataFolder folder;
    std::set<uint32_t> returned;
    std::mt19937 rng(20261210);
    for (int round = 0; round < 5; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            addEntries(fds[1], 0);
        }
        close(fds[1]);
        // Killed at a random moment once two records have returned, however
        // slow the machine.
        uint32_t n;
        for (int got = 0; got < 2 && read(fds[0], &n, sizeof n) == sizeof n; ++got)
            returned.insert(n);
        usleep(rng() % 100000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << WEXITSTATUS(status);
        while (read(fds[0], &n, sizeof n) == sizeof n)
            returned.insert(n);
        close(fds[0]);

        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        ASSERT_TRUE(dry.open().ok());
        ASSERT_TRUE(dry.checkIntegrity().ok()) << dry.checkIntegrity().errorText.toStdString();
        for (uint32_t number : returned) {
            dry.rec().set(DRY::NUMBER, int64_t(number));
            ASSERT_TRUE(dry.get(DRY::NUMBER_KEY).ok()) << "record " << number << " lost";
            EXPECT_TRUE(dry.rec().str(DRY::LEGEND).startsWith("entry "));
        }
        dry.close();
        Store::instance().closeIdle();
    }
    EXPECT_GT(returned.size(), 5u);
}

// What a mixed writer tells its parent once each step has returned.
struct Done {
    uint8_t kind;  // 'I' inserted, 'U' updated, 'd' deleting, 'D' deleted, 'B' batch
    uint32_t number;
    uint32_t value;
};

// In a child process: works on diary entries, their documents and an account
// with its postings as the windows do, and reports each finished step. Each
// round: a form inserts an entry (and leaves a placeholder reserved while it
// is "adding"), an entry is rewritten, an entry with its documents is
// deleted by the relation rules, and a posting is stored in a WriteBatch
// with its account.
[[noreturn]] void mixedWriter(int fd, uint32_t seed, uint32_t base)
{
    Store::instance().closeIdle();
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    KeyedFile& doc = ctx.file(VenDoc);
    KeyedFile& acc = ctx.file(VenAcc);
    KeyedFile& mon = ctx.file(VenMoney);
    if (!dry.open() || !doc.open() || !acc.open() || !mon.open())
        _exit(2);
    auto tell = [&](uint8_t kind, int64_t number, int64_t value) {
        Done d{kind, uint32_t(number), uint32_t(value)};
        if (write(fd, &d, sizeof d) != sizeof d)
            _exit(5);
    };
    std::mt19937 rng(seed);
    for (uint32_t i = 1;; ++i) {
        if (!dry.primeRecord())
            _exit(3);
        dry.rec().set(DRY::LEGEND, QString("entry %1").arg(i));
        dry.rec().set(DRY::WARNING, int64_t(base + i));
        if (!dry.insert())
            _exit(4);
        const int64_t number = dry.rec().num(DRY::NUMBER);
        tell('I', number, base + i);
        for (int d = 0; d < 2; ++d) {
            if (!doc.primeRecord())
                _exit(6);
            doc.rec().set(DOC::CATID, "D");
            doc.rec().set(DOC::CATNUM, number);
            if (!doc.insert())
                _exit(7);
        }
        // Rewrite an earlier entry.
        dry.rec().clear();
        dry.rec().set(DRY::NUMBER, int64_t(1 + rng() % number));
        if (dry.get(DRY::NUMBER_KEY)) {
            dry.rec().set(DRY::WARNING, int64_t(base + i));
            if (!dry.update())
                _exit(8);
            tell('U', dry.rec().num(DRY::NUMBER), base + i);
        }
        // Now and then an entry goes with its documents.
        if (rng() % 3 == 0) {
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, number - 1);
            if (dry.get(DRY::NUMBER_KEY)) {
                tell('d', number - 1, 0);  // may be gone once this is read
                if (!dry.deleteWithChildren())
                    _exit(9);
                tell('D', number - 1, 0);
            }
        }
        // A posting and its account's balance, together.
        {
            WriteBatch batch({&mon, &acc});
            acc.rec().clear();
            acc.rec().set(ACC::TYPE, "B");
            acc.rec().set(ACC::NUMBER, 1);
            if (!acc.get(ACC::ACCOUNT_KEY))
                _exit(10);
            acc.rec().set(ACC::AMOUNT, acc.rec().real(ACC::AMOUNT) + 1.0);
            if (!acc.update())
                _exit(11);
            mon.rec().clear();
            mon.rec().set(MON::TYPE, "B");
            mon.rec().set(MON::NUMBER, 1);
            mon.rec().set(MON::DATE, int64_t(getpid()));
            mon.rec().set(MON::TIME, int64_t(i));
            mon.rec().set(MON::AMOUNT, 1.0);
            if (!mon.add() || !batch.commit())
                _exit(12);
            tell('B', i, 0);
        }
        // A form left "adding" until the next round.
        if (!dry.primeRecord())
            _exit(13);
    }
}

TEST(Processes, KilledMixedWritersLoseNothingStoredAndLeaveNoPlaceholder)
{
    DataFolder folder;
    {
        Context ctx;
        KeyedFile& acc = ctx.file(VenAcc);
        ASSERT_TRUE(acc.open());
        acc.rec().clear();
        acc.rec().set(ACC::TYPE, "B");
        acc.rec().set(ACC::NUMBER, 1);
        ASSERT_TRUE(acc.add());
    }
    Store::instance().closeIdle();
    std::map<uint32_t, uint32_t> warning;  // entry number -> its last returned value
    std::set<uint32_t> deleted, deleting;
    int batches = 0, swept = 0;
    std::mt19937 rng(20261211);
    constexpr int kKills = 24;
    for (int round = 0; round < kKills; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            mixedWriter(fds[1], rng(), uint32_t(round + 1) * 10000);
        }
        close(fds[1]);
        // Killed at a random moment once it has posted at least once, so
        // that however slow the machine, every kind of write has been made.
        std::vector<Done> told;
        bool started = false;
        for (Done d; !started && read(fds[0], &d, sizeof d) == sizeof d;) {
            told.push_back(d);
            started = d.kind == 'B';
        }
        usleep(rng() % 60000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "the writer ended by itself: " << WEXITSTATUS(status);
        Done next;
        while (read(fds[0], &next, sizeof next) == sizeof next)
            told.push_back(next);
        for (const Done& d : told) {
            if (d.kind == 'I' || d.kind == 'U')
                warning[d.number] = d.value;
            else if (d.kind == 'D')
                deleted.insert(d.number);
            else if (d.kind == 'd')
                deleting.insert(d.number);
            else if (d.kind == 'B')
                ++batches;
        }
        close(fds[0]);

        // The next start: placeholders of the killed copy go.
        int removed = 0;
        ASSERT_TRUE(Store::instance().removeStalePlaceholders(&removed).ok());
        swept += removed;
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        KeyedFile& doc = ctx.file(VenDoc);
        KeyedFile& acc = ctx.file(VenAcc);
        KeyedFile& mon = ctx.file(VenMoney);
        ASSERT_TRUE(dry.open() && doc.open() && acc.open() && mon.open());
        for (KeyedFile* f : {&dry, &doc, &acc, &mon})
            ASSERT_TRUE(f->checkIntegrity().ok()) << f->def().label;
        // Every entry returned is there with its last returned value (or a
        // later one that the killed writer stored before it could tell).
        for (auto [number, value] : warning) {
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, int64_t(number));
            const Status st = dry.get(DRY::NUMBER_KEY);
            if (deleted.count(number)) {
                EXPECT_EQ(st.code, Err::NotFound) << "entry " << number << " came back";
                continue;
            }
            // Killed while deleting it: gone with its documents, or kept.
            if (st.code == Err::NotFound && deleting.count(number)) {
                deleted.insert(number);
                continue;
            }
            ASSERT_TRUE(st.ok()) << "entry " << number << " lost";
            EXPECT_GE(dry.rec().num(DRY::WARNING), int64_t(value)) << "the last write of " << number << " lost";
        }
        // No blank placeholder survives, and no document outlives its entry.
        dry.set(DRY::NUMBER_KEY);
        std::set<int64_t> present;
        while (dry.next().ok()) {
            EXPECT_TRUE(dry.rec().str(DRY::LEGEND).startsWith("entry ")) << "a placeholder survived";
            present.insert(dry.rec().num(DRY::NUMBER));
        }
        EXPECT_EQ(dry.records(), int64_t(present.size()));
        doc.set();
        while (doc.next().ok())
            EXPECT_TRUE(present.count(doc.rec().num(DOC::CATNUM))) << "an orphan document";
        // The account's balance is the sum of its postings: both or neither.
        acc.rec().clear();
        acc.rec().set(ACC::TYPE, "B");
        acc.rec().set(ACC::NUMBER, 1);
        ASSERT_TRUE(acc.get(ACC::ACCOUNT_KEY));
        EXPECT_EQ(acc.rec().real(ACC::AMOUNT), double(mon.records())) << "a posting without its balance";
        for (KeyedFile* f : {&dry, &doc, &acc, &mon})
            f->close();
        Store::instance().closeIdle();
    }
    // Every kind of step was made, and killed copies left placeholders.
    EXPECT_GE(warning.size(), size_t(kKills));
    EXPECT_FALSE(deleted.empty());
    EXPECT_GT(batches, kKills / 4);
    EXPECT_GT(swept, 0);
}

TEST(Processes, TwoWritersAtOnceKeepTheirNumbersApart)
{
    DataFolder folder;
    constexpr int kEach = 60;
    pid_t pids[2];
    for (pid_t& pid : pids) {
        pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            addEntries(-1, kEach);
    }
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    ASSERT_TRUE(dry.open().ok());
    EXPECT_EQ(dry.records(), 2 * kEach);
    std::set<int64_t> numbers;
    dry.set(DRY::NUMBER_KEY);
    while (dry.next().ok())
        numbers.insert(dry.rec().num(DRY::NUMBER));
    EXPECT_EQ(numbers.size(), size_t(2 * kEach));
    EXPECT_EQ(*numbers.rbegin(), 2 * kEach);
}

} // namespace
