// A process killed while it saves meetings: each entry, its daily-note line
// and its alarm are stored together or not at all.
#include "WindowKit.h"

#include "calendar/DiaryFr.h"
#include "calendar/DiaryGlobals.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <csignal>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

const int32_t kDay = dayNumber(2026, 12, 9);

// Saves meetings through the form, as a person would, until it is killed;
// tells the parent after each save.
[[noreturn]] void saveForever(WindowKit& kit, int fd)
{
    for (uint32_t saved = 1;; ++saved) {
        GCategory = 3;
        DiaryBeginDate = kDay + int32_t(saved % 4);
        kit.call(makeDiaryFr(), InsertRecord);
        kit.replaceText("DiaryFr", "BeginTime", QStringLiteral("%1.%2").arg(8 + saved % 9).arg(saved % 60, 2, 10, QChar('0')));
        kit.tab("DiaryFr");
        kit.replaceText("DiaryFr", "Legend", QStringLiteral("Meeting %1").arg(saved));
        kit.tab("DiaryFr");
        kit.press("DiaryFr", "OK");
        if (kit.isOpen("DiaryFr") || !kit.boxes().empty())
            _exit(2);
        if (write(fd, &saved, sizeof saved) != sizeof saved)
            _exit(3);
    }
}

// What the three files hold: the meetings' legends by number, the alarms'
// entry numbers, the legends of the note lines.
struct Stored {
    std::map<int64_t, QString> entries;
    std::multiset<int64_t> alarms;
    std::multiset<QString> lines;
};

Stored stored()
{
    Stored s;
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    EXPECT_TRUE(dry.open());
    EXPECT_TRUE(dry.checkIntegrity());
    for (dry.set(); dry.next().ok();)
        if (!dry.currentIsPlaceholder())  // a form's reserved number is no entry
            s.entries[dry.rec().num(DRY::NUMBER)] = dry.rec().str(DRY::LEGEND).trimmed();
    KeyedFile& ala = ctx.file(VenAlarm);
    EXPECT_TRUE(ala.open());
    EXPECT_TRUE(ala.checkIntegrity());
    for (ala.set(); ala.next().ok();)
        if (!ala.currentIsPlaceholder())
            s.alarms.insert(ala.rec().num(ALA::DRYNUM));
    KeyedFile& note = ctx.file(VenNote);
    EXPECT_TRUE(note.open());
    EXPECT_TRUE(note.checkIntegrity());
    for (note.set(); note.next().ok();)
        for (const QString& line : note.rec().str(ANT::NOTE).split("\r\n", Qt::SkipEmptyParts))
            if (line.trimmed().size() > 6)
                s.lines.insert(line.trimmed().mid(6));  // "hh.mm Meeting n"
    return s;
}

TEST(MeetingKill, AKilledSaveKeepsTheEntryItsNoteLineAndItsAlarmTogether)
{
    WindowKit kit;
    InitDataFiles();
    Log_Activity = "N";
    std::mt19937 rng(20261209);
    constexpr int kKills = 24;
    size_t kept = 0;
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE(testing::Message() << "kill " << round);
        Store::instance().closeIdle();
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            saveForever(kit, fds[1]);
        }
        close(fds[1]);
        // Killed at a random moment once it has saved twice, however slow
        // the machine.
        uint32_t told = 0;
        for (int saved = 0; saved < 2; ++saved)
            ASSERT_EQ(read(fds[0], &told, sizeof told), ssize_t(sizeof told)) << "the saver failed";
        usleep(rng() % 30000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself: " << WEXITSTATUS(status);
        close(fds[0]);

        // Every entry has its one alarm and its one note line; nothing else
        // is there.
        const Stored s = stored();
        std::multiset<int64_t> numbers;
        std::multiset<QString> legends;
        for (const auto& [number, legend] : s.entries) {
            numbers.insert(number);
            legends.insert(legend);
        }
        EXPECT_EQ(s.alarms, numbers);
        EXPECT_EQ(s.lines, legends);
        EXPECT_GE(s.entries.size(), kept + 2) << "a save that returned was lost";
        kept = s.entries.size();
        Store::instance().removeStalePlaceholders();
    }
    Log_Activity.clear();
}

} // namespace
} // namespace ven::test
