// Data files shared by processes: a process killed while it writes loses
// nothing that was written, and two processes adding at once keep their
// auto-numbers apart.
#include "DataFolder.h"

#include <gtest/gtest.h>

#include <csignal>
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
    for (int i = 0; count == 0 || i < count; ++i) {
        if (!dry.primeRecord().ok())
            _exit(3);
        dry.rec().set(DRY::LEGEND, QString("entry %1 of %2").arg(i).arg(getpid()));
        if (!dry.insert().ok())
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
        usleep(20000 + rng() % 100000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << WEXITSTATUS(status);
        uint32_t n;
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
