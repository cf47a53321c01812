// A meeting's whole road, as a user walks it: the diary from the frame's
// menu, a meeting inserted for today with an alarm and a sound, and the
// alarm window at its moment with its countdown, its replays and its close.
#include "WindowKit.h"

#include "app/Procedures.h"
#include "calendar/AlarmWindows.h"
#include "calendar/DiaryGlobals.h"
#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "core/Main.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Shell.h"

#include <QAction>
#include <QFile>

namespace ven::test {
namespace {

TEST(DiaryRoad, AMeetingFromTheMenuToItsAlarm)
{
    WindowKit kit(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0)));
    InitDataFiles();
    DefineProcedures();
    const int32_t today = dayNumber(2026, 12, 9);

    // What the shell is asked to play, and when.
    std::vector<std::pair<QString, QString>> played;  // time, file
    setShellHandler([&] {
        if (ShellOperation == u"Play")
            played.emplace_back(formatTime(kit.clock().time(), u"T04"), ShellFile);
        return kShellDone;
    });
    // An owner and a sound to choose.
    for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
        writeIni(kit.folder("VenOwner.ini"), "Owner", k, "x");
    {
        Context ctx;
        ctx.file(VenUsr).open();
        KeyedFile& wav = ctx.file(VenWav);
        wav.open();
        wav.rec().set(WAV::FILENAME, "Bell.wav");
        wav.rec().set(WAV::FILEPATH, kit.folder("Sounds") + "/");
        ASSERT_TRUE(wav.insert().ok());
    }

    kit.call(std::make_unique<Main>(), NoRequest);
    ASSERT_TRUE(kit.isOpen("Main"));
    auto& frame = static_cast<Main&>(kit.window("Main"));
    frame.action(-31)->trigger();  // Vendrolix > Diary
    kit.settle();
    ASSERT_TRUE(kit.isOpen("DiarySel"));
    kit.choose("DiarySel", "Category", "3");  // Meetings
    kit.press("DiarySel", "OK");
    ASSERT_TRUE(kit.isOpen("DiaryBr"));
    kit.press("DiaryBr", "Insert");
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    // A meeting today in 12 minutes, alarmed 10 minutes before, with a bell.
    kit.replaceText("DiaryFr", "BeginTime", "10.12");
    kit.tab("DiaryFr");
    kit.replaceText("DiaryFr", "EndTime", "11.00");
    kit.tab("DiaryFr");
    kit.replaceText("DiaryFr", "Legend", "Budget");
    kit.tab("DiaryFr");
    kit.replaceText("DiaryFr", "Advance", "0.10");
    kit.tab("DiaryFr");
    kit.choose("DiaryFr", "Sound", "Bell.wav");
    kit.press("DiaryFr", "OK");
    ASSERT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(kit.rows("DiaryBr"), 1);

    const std::vector<Record> entries = WindowKit::records(VenDry);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].num(DRY::CATEGORY), 3);
    EXPECT_EQ(entries[0].num(DRY::BDATE), today);
    EXPECT_EQ(entries[0].num(DRY::BTIME), timeValue(10, 12, 0));
    EXPECT_EQ(entries[0].str(DRY::LEGEND), "Budget");
    EXPECT_EQ(entries[0].num(DRY::ALARM), 1);
    const std::vector<Record> alarms = WindowKit::records(VenAlarm);
    ASSERT_EQ(alarms.size(), 1u);
    const Record& alarm = alarms[0];
    EXPECT_EQ(alarm.num(ALA::DRYNUM), entries[0].num(DRY::NUMBER));
    EXPECT_EQ(alarm.str(ALA::MESSAGE), "M");
    EXPECT_EQ(alarm.str(ALA::DOW), "N");
    EXPECT_EQ(alarm.num(ALA::WARNING), 60001);
    EXPECT_EQ(alarm.str(ALA::SOUND), kit.folder("Sounds") + "/Bell.wav");
    const std::vector<Record> notes = WindowKit::records(VenNote);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].num(ANT::DATE), today);
    EXPECT_EQ(notes[0].str(ANT::NOTE), "10.12 Budget\r\n");
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_File", "?"), "Bell.wav");

    // The frame rescans some seconds after the change; the alarm fires at
    // 10:12 less 10 minutes less 62 seconds, to the minute: 10:01:00, its
    // window opening on the first tick five seconds before.
    kit.wait(10000);
    EXPECT_EQ(NextAlarm.Nbr, alarm.num(ALA::NBR));
    EXPECT_EQ(NextAlarm.FireTime, timeValue(10, 1, 0));
    played.clear();
    while (!kit.isOpen("AlarmWnd") && kit.clock().time() < timeValue(10, 2, 0))
        kit.wait(1000);
    ASSERT_TRUE(kit.isOpen("AlarmWnd"));
    EXPECT_EQ(formatTime(kit.clock().time(), u"T04"), "10:00:55");
    EXPECT_TRUE(kit.text("AlarmWnd", "NextAlarmText").contains("10.12 Budget"));
    const QString countdown = kit.text("AlarmWnd", "Countdown");
    kit.wait(1000);
    EXPECT_NE(kit.text("AlarmWnd", "Countdown"), countdown) << "the countdown runs";

    // Until the appointment: the bell at the window's opening, then every
    // minute, every half minute in the last five, every quarter in the last.
    while (kit.isOpen("AlarmWnd") && kit.clock().time() < timeValue(10, 13, 0))
        kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("AlarmWnd"));
    const QString closedAt = formatTime(kit.clock().time(), u"T04");
    EXPECT_TRUE(closedAt == "10:11:59" || closedAt == "10:12:00") << closedAt.toStdString();
    std::vector<QString> moments;
    for (const auto& [time, file] : played) {
        EXPECT_EQ(file, '"' + kit.folder("Sounds") + "/Bell.wav\"");
        moments.push_back(time);
    }
    const std::vector<QString> expected = {"10:00:55", "10:01:00", "10:02:00", "10:03:00", "10:04:00", "10:05:00",
                                           "10:06:00", "10:07:00", "10:07:30", "10:08:00", "10:08:30", "10:09:00",
                                           "10:09:30", "10:10:00", "10:10:30", "10:11:00", "10:11:15", "10:11:30",
                                           "10:11:45"};
    EXPECT_EQ(moments, expected);

    // The close is logged, and the next scan deletes the passed one-time alarm.
    QFile log(kit.folder("Vendrolix.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(closedAt + " 10.12 Budget"));
    kit.wait(12000);
    EXPECT_TRUE(WindowKit::records(VenAlarm).empty());
    EXPECT_EQ(NextAlarm.Pending, 0);

    setShellHandler({});
    clearProcedures();
    StartAlarmWindow = {};
    forgetShownAlarms();
}

} // namespace
} // namespace ven::test
