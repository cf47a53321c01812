// Alarms in the real program on a fake clock that runs: a process stopped
// over several alarms' times shows each alarm in a window of its own when it
// goes on, and runs each command alarm's own command.
#include "E2eKit.h"
#include "Seeds.h"

#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <set>

using namespace ven;
using namespace ven::e2e;

namespace {

// One alarm of today: a message alarm ("M", with or without a sound) or a
// command alarm ("A", whose command is `sound` with the parameters `text`).
struct Seed {
    int nbr;
    int32_t time;
    const char* kind;
    const char* text;
    int important = 0;
    const char* sound = "";
};

void putAlarm(Context& ctx, const Seed& s)
{
    putRecord(ctx, VenAlarm, [&](Record& r) {
        r.set(ALA::NBR, s.nbr);
        r.set(ALA::DATE, dayNumber(2026, 12, 10));
        r.set(ALA::TIME, s.time);
        r.set(ALA::WARNING, 0);
        r.set(ALA::MESSAGE, s.kind);
        r.set(ALA::DOW, "N");
        r.set(ALA::LOG, 1);
        r.set(ALA::IMPORTANT, s.important);
        r.set(ALA::ACTION, s.text);
        r.set(ALA::SOUND, s.sound);
    });
}

int alarmWindows(const E2eKit& kit)
{
    int n = 0;
    for (const QJsonValue& w : kit.windows())
        n += w.toObject().value("procedure").toString() == "AlarmWnd";
    return n;
}

// The text each message-alarm window shows, by the window's X id; each
// window is read on its own, not the first of the alarm windows found.
void readAlarmTexts(const E2eKit& kit, std::map<QString, QString>& seen)
{
    for (const QJsonValue& w : kit.windows()) {
        const QJsonObject o = w.toObject();
        if (o.value("procedure").toString() != "AlarmWnd")
            continue;
        const QString xid = o.value("xid").toString();
        if (const Found text = kit.control("xid:" + xid, "NextAlarmText"))
            seen[xid] = text.text();
    }
}

std::multiset<QString> textsOf(const std::map<QString, QString>& seen)
{
    std::multiset<QString> texts;
    for (const auto& [xid, text] : seen)
        texts.insert(text);
    return texts;
}

} // namespace

TEST(AlarmsE2e, AStallOverTwoAlarmsShowsBothWhenTheProgramGoesOn)
{
    E2eKit kit;
    kit.prepareFolder();
    // A message alarm's window opens 62 seconds before its time, taken to
    // the minute: both at 12:09:00, 5 seconds after the start.
    kit.seed([] {
        Context ctx;
        putAlarm(ctx, {1, timeValue(12, 10, 5), "M", "Lunch"});
        putAlarm(ctx, {2, timeValue(12, 10, 10), "M", "Call"});
    });
    kit.start(QStringLiteral("2026-12-10 12:08:55"));
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    ASSERT_EQ(alarmWindows(kit), 0);
    // The machine is suspended over both firing times: the stall itself is
    // what is tested, so it lasts a fixed time.
    const qint64 pid = kit.pid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(pid_t(pid), SIGSTOP), 0);
    QThread::sleep(16);
    ASSERT_EQ(::kill(pid_t(pid), SIGCONT), 0);
    EXPECT_TRUE(kit.waitFor([&] { return alarmWindows(kit) == 2; }, "both alarm windows", 15000));
    std::map<QString, QString> seen;
    readAlarmTexts(kit, seen);
    EXPECT_EQ(textsOf(seen), (std::multiset<QString>{"12.10 Lunch", "12.10 Call"}));
    // Each once: no third window follows.
    EXPECT_FALSE(kit.waitFor([&] { return alarmWindows(kit) > 2; }, QString(), 3000, false));
    EXPECT_TRUE(kit.running());
}

// The clock runs twenty times as fast, so that a stall of 30 seconds spans
// ten minutes of alarms; every window owed opens at once when the program
// goes on, each showing its own alarm, and each command alarm runs its own
// command (the log names it).
TEST(AlarmsE2e, EveryAlarmOwedAfterAStallShowsItsOwnAlarm)
{
    struct Case {
        const char* name;
        std::vector<Seed> alarms;
    };
    const char* beep = "beep.wav";  // no sound device plays it: logged, the window stays
    const std::vector<Case> cases = {
        {"two", {{1, timeValue(12, 14, 0), "M", "Stall alarm 1"}, {2, timeValue(12, 15, 0), "M", "Stall alarm 2", 1}}},
        {"three",
         {{1, timeValue(12, 14, 0), "M", "Stall alarm 1"},
          {2, timeValue(12, 15, 0), "M", "Stall alarm 2", 0, beep},
          {3, timeValue(12, 16, 30), "M", "Stall alarm 3", 1}}},
        {"ten",
         {{1, timeValue(12, 14, 0), "M", "Stall alarm 1"},
          {2, timeValue(12, 14, 30), "A", "stall-command-2", 0, "true"},
          {3, timeValue(12, 15, 0), "M", "Stall alarm 3", 1},
          {4, timeValue(12, 15, 30), "M", "Stall alarm 4", 0, beep},
          {5, timeValue(12, 16, 0), "A", "stall-command-5", 1, "true"},
          {6, timeValue(12, 16, 30), "M", "Stall alarm 6"},
          {7, timeValue(12, 17, 0), "M", "Stall alarm 7", 1, beep},
          {8, timeValue(12, 17, 30), "A", "stall-command-8", 0, "true"},
          {9, timeValue(12, 18, 0), "M", "Stall alarm 9"},
          {10, timeValue(12, 18, 30), "M", "Stall alarm 10", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E2eKit kit;
        kit.prepareFolder();
        kit.seed([&] {
            Context ctx;
            for (const Seed& s : c.alarms)
                putAlarm(ctx, s);
        });
        std::multiset<QString> texts;
        QStringList commands;
        for (const Seed& s : c.alarms) {
            const QString time = QString::asprintf("%02d.%02d", s.time / 360000, s.time / 6000 % 60);
            if (QString(s.kind) == "A")
                commands << QString(s.sound) + ' ' + s.text;
            else
                texts.insert(time + ' ' + s.text);
        }
        // The first alarm window is due at 12:13: two real seconds leave
        // the frame time to come up before the stall.
        kit.start(QStringLiteral("2026-12-10 12:10:00 x20"));
        ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
        ASSERT_EQ(alarmWindows(kit), 0) << "the stall must begin before the first alarm";
        const qint64 pid = kit.pid();
        ASSERT_GT(pid, 0);
        ASSERT_EQ(::kill(pid_t(pid), SIGSTOP), 0);
        QThread::sleep(30);
        ASSERT_EQ(::kill(pid_t(pid), SIGCONT), 0);
        // A window counts down 62 seconds of the fast clock (3 real
        // seconds): each is read while it is open.
        std::map<QString, QString> seen;
        kit.waitFor([&] {
            readAlarmTexts(kit, seen);
            return seen.size() >= texts.size();
        }, "a window for every message alarm", 15000);
        EXPECT_EQ(textsOf(seen), texts);
        for (const QString& command : commands)
            EXPECT_TRUE(kit.waitFor([&] { return kit.log().count(command) == 1; }, "the log line of " + command, 10000))
                << kit.log().toStdString();
        EXPECT_TRUE(kit.running());
    }
}
