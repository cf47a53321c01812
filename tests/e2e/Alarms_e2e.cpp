// Alarms in the real program on a fake clock that runs: a process stopped
// over two alarms' times shows both windows when it goes on.
#include "E2eKit.h"
#include "Seeds.h"

#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace ven;
using namespace ven::e2e;

namespace {

void putMessageAlarm(Context& ctx, int nbr, int32_t time, const char* text)
{
    putRecord(ctx, VenAlarm, [&](Record& r) {
        r.set(ALA::NBR, nbr);
        r.set(ALA::DATE, dayNumber(2026, 12, 10));
        r.set(ALA::TIME, time);
        r.set(ALA::WARNING, 0);
        r.set(ALA::MESSAGE, "M");
        r.set(ALA::DOW, "N");
        r.set(ALA::LOG, 1);
        r.set(ALA::ACTION, text);
    });
}

int alarmWindows(const E2eKit& kit)
{
    int n = 0;
    for (const QJsonValue& w : kit.windows())
        n += w.toObject().value("procedure").toString() == "AlarmWnd";
    return n;
}

} // namespace

TEST(AlarmsE2e, AStallOverTwoAlarmsShowsBothWhenTheProgramGoesOn)
{
    E2eKit kit;
    kit.prepareFolder();
    // A message alarm's window opens 62 seconds before its time: at
    // 12:09:03 and 12:09:08, 8 and 13 seconds after the start.
    kit.seed([] {
        Context ctx;
        putMessageAlarm(ctx, 1, timeValue(12, 10, 5), "Lunch");
        putMessageAlarm(ctx, 2, timeValue(12, 10, 10), "Call");
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
    // Each once: no third window follows.
    EXPECT_FALSE(kit.waitFor([&] { return alarmWindows(kit) > 2; }, QString(), 3000, false));
    EXPECT_TRUE(kit.running());
}
