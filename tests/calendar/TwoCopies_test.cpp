// Two copies of the program on one folder, adding diary entries through
// their forms at the same time: every save succeeds under a number of its
// own.
#include "WindowKit.h"

#include "calendar/DiaryFr.h"
#include "calendar/DiaryGlobals.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <cstdio>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

// One copy: `count` entries, each through the form, meetings and notes in
// turn. Ends with 0 when every save closed its form without a message.
[[noreturn]] void addEntries(WindowKit& kit, int copy, int count, int startFd)
{
    char go = 0;
    if (read(startFd, &go, 1) != 1)  // both begin together
        _exit(4);
    for (int i = 1; i <= count; ++i) {
        GCategory = i % 2 ? 3 : 2;
        DiaryBeginDate = dayNumber(2026, 12, 9) + i % 5;
        kit.call(makeDiaryFr(), InsertRecord);
        if (!kit.isOpen("DiaryFr"))
            _exit(2);
        kit.replaceText("DiaryFr", "Legend", QStringLiteral("copy %1 entry %2").arg(copy).arg(i));
        kit.tab("DiaryFr");
        kit.press("DiaryFr", "OK");
        if (kit.isOpen("DiaryFr") || !kit.boxes().empty()) {
            for (const MessageBoxRequest& b : kit.boxes())
                fprintf(stderr, "copy %d entry %d: %s: %s\n", copy, i, qPrintable(b.caption), qPrintable(b.text));
            _exit(3);
        }
    }
    _exit(0);
}

TEST(TwoCopies, InsertingAtOnceBothSaveEveryEntryUnderItsOwnNumber)
{
    WindowKit kit;
    InitDataFiles();
    Log_Activity = "N";
    constexpr int kEach = 200;
    Store::instance().closeIdle();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t copies[2];
    for (int c = 0; c < 2; ++c) {
        copies[c] = fork();
        ASSERT_GE(copies[c], 0);
        if (copies[c] == 0) {
            close(start[1]);
            addEntries(kit, c + 1, kEach, start[0]);
        }
    }
    close(start[0]);
    ASSERT_EQ(write(start[1], "gg", 2), 2);
    close(start[1]);
    for (pid_t pid : copies) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "a copy failed: " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }

    std::set<int64_t> numbers;
    std::set<QString> legends;
    size_t alarms = 0;
    for (const Record& r : WindowKit::records(VenDry)) {
        if (r.str(DRY::LEGEND).trimmed().isEmpty())
            continue;  // a placeholder of a copy that ended (none is expected)
        numbers.insert(r.num(DRY::NUMBER));
        legends.insert(r.str(DRY::LEGEND).trimmed());
    }
    for (const Record& a : WindowKit::records(VenAlarm))
        alarms += numbers.count(a.num(ALA::DRYNUM));
    EXPECT_EQ(legends.size(), size_t(2 * kEach)) << "entries lost";
    EXPECT_EQ(numbers.size(), size_t(2 * kEach)) << "numbers shared";
    EXPECT_EQ(alarms, size_t(kEach)) << "each meeting has its alarm";
    Log_Activity.clear();
}

} // namespace
} // namespace ven::test
