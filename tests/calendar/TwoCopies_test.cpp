// Two copies of the program on one folder, adding diary entries and ideas
// through their forms at the same time: every save succeeds under a number
// of its own.
#include "WindowKit.h"

#include "calendar/DiaryFr.h"
#include "calendar/DiaryGlobals.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "registers/IdeaFr.h"

#include <cstdio>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

// A form that numbers its records itself: how it is opened for a new
// record and the field its text goes in.
struct NumberingForm {
    const char* procedure;
    std::function<std::unique_ptr<WindowController>(int i)> make;
    const char* field;
};

// One copy: `count` records, each through the form. Ends with 0 when every
// save closed its form without a message.
[[noreturn]] void addRecords(WindowKit& kit, const NumberingForm& form, int copy, int count, int startFd)
{
    char go = 0;
    if (read(startFd, &go, 1) != 1)  // both begin together
        _exit(4);
    for (int i = 1; i <= count; ++i) {
        kit.call(form.make(i), InsertRecord);
        if (!kit.isOpen(form.procedure))
            _exit(2);
        kit.replaceText(form.procedure, form.field, QStringLiteral("copy %1 record %2").arg(copy).arg(i));
        kit.tab(form.procedure);
        kit.press(form.procedure, "OK");
        if (kit.isOpen(form.procedure) || !kit.boxes().empty()) {
            for (const MessageBoxRequest& b : kit.boxes())
                fprintf(stderr, "copy %d record %d: %s: %s\n", copy, i, qPrintable(b.caption), qPrintable(b.text));
            _exit(3);
        }
    }
    _exit(0);
}

// Both copies insert `each` records at once; a copy that fails fails the test.
void twoCopiesInsert(WindowKit& kit, const NumberingForm& form, int each)
{
    Store::instance().closeIdle();
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t copies[2];
    for (int c = 0; c < 2; ++c) {
        copies[c] = fork();
        ASSERT_GE(copies[c], 0);
        if (copies[c] == 0) {
            close(start[1]);
            addRecords(kit, form, c + 1, each, start[0]);
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
}

constexpr int kEach = 200;

TEST(TwoCopies, InsertingAtOnceBothSaveEveryEntryUnderItsOwnNumber)
{
    WindowKit kit;
    InitDataFiles();
    Log_Activity = "N";
    // Meetings and notes in turn.
    twoCopiesInsert(kit, {"DiaryFr", [](int i) {
        GCategory = i % 2 ? 3 : 2;
        DiaryBeginDate = dayNumber(2026, 12, 9) + i % 5;
        return makeDiaryFr();
    }, "Legend"}, kEach);

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

TEST(TwoCopies, InsertingIdeasAtOnceBothSaveEveryIdeaUnderItsOwnNumber)
{
    WindowKit kit;
    InitDataFiles();
    Log_Activity = "N";
    twoCopiesInsert(kit, {"IdeaFr", [](int) { return makeIdeaFr(); }, "Name"}, kEach);
    std::set<int64_t> numbers;
    std::set<QString> names;
    for (const Record& r : WindowKit::records(VenIdea)) {
        numbers.insert(r.num(IDE::NUMBER));
        names.insert(r.str(IDE::NAME).trimmed());
    }
    EXPECT_EQ(names.size(), size_t(2 * kEach)) << "ideas lost";
    EXPECT_EQ(numbers.size(), size_t(2 * kEach)) << "numbers shared";
    Log_Activity.clear();
}

} // namespace
} // namespace ven::test
