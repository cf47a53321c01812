// The alarm rules (firing time, passed and next, repeat codes) and the alarm
// scan on a temporary alarm file: moving and deleting, the next-alarm block,
// its texts and the windows of passed important alarms.
#include "../data/DataFolder.h"

#include "core/AlarmScan.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/TellOnce.h"

#include <QFile>

#include <gtest/gtest.h>

#include <array>

using namespace ven;
using ven::test::DataFolder;

namespace {

const int32_t kToday = dayNumber(2026, 12, 8);  // a Tuesday
constexpr int kDelete = -1;

int32_t at(int h, int m, int s = 0)
{
    return timeValue(h, m, s);
}
// An advance of m minutes, as a time value.
int32_t minutes(int m)
{
    return m * 6000 + 1;
}

TEST(AlarmRules, RepeatCodesFromEveryWeekday)
{
    const int32_t sunday = kToday - 2;
    struct Case {
        char code;
        std::array<int, 7> days;  // days added from Sunday .. Saturday
    };
    const Case cases[] = {
        {'0', {1, 1, 1, 1, 1, 1, 1}},
        {'1', {7, 6, 5, 4, 3, 2, 1}},
        {'2', {1, 7, 6, 5, 4, 3, 2}},
        {'3', {2, 1, 7, 6, 5, 4, 3}},
        {'4', {3, 2, 1, 7, 6, 5, 4}},
        {'5', {4, 3, 2, 1, 7, 6, 5}},
        {'6', {5, 4, 3, 2, 1, 7, 6}},
        {'7', {6, 5, 4, 3, 2, 1, 7}},
        {'8', {1, 1, 1, 1, 1, 3, 2}},
        {'9', {6, 5, 4, 3, 2, 1, 1}},
        {'N', {kDelete, kDelete, kDelete, kDelete, kDelete, kDelete, kDelete}},
        {' ', {kDelete, kDelete, kDelete, kDelete, kDelete, kDelete, kDelete}},
        {'x', {kDelete, kDelete, kDelete, kDelete, kDelete, kDelete, kDelete}},
    };
    for (const Case& c : cases) {
        for (int wd = 0; wd < 7; ++wd) {
            SCOPED_TRACE(testing::Message() << "code " << c.code << " weekday " << wd);
            const std::optional<int32_t> got = RepeatDate(QChar(c.code), sunday + wd);
            if (c.days[wd] == kDelete)
                EXPECT_FALSE(got);
            else
                EXPECT_EQ(got, sunday + wd + c.days[wd]);
        }
    }
}

TEST(AlarmRules, FiringTime)
{
    struct Case {
        int32_t time, warning;
        const char* kind;
        int32_t date, fires;  // firing date and time
    };
    const Case cases[] = {
        {at(10, 0), minutes(15), "M", kToday, at(9, 44)},
        {at(10, 0), minutes(15), "A", kToday, at(9, 45)},
        {at(0, 10), minutes(30), "A", kToday - 1, at(23, 40)},  // over midnight
        {at(0, 10), minutes(30), "M", kToday - 1, at(23, 39)},
        {at(10, 0, 30), 1, "A", kToday, at(10, 1)},              // halves away from zero
        {at(0, 0, 30), minutes(1), "A", kToday - 1, at(23, 59)},
        {at(0, 0), 8637001, "M", kToday - 2, at(23, 59)},        // the largest advance reaches two days back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.time << " less " << c.warning);
        EXPECT_EQ(FiringTime(kToday, c.time, c.warning, c.kind), (AlarmFiring{c.date, c.fires}));
    }
}

TEST(AlarmRules, PassedAndNext)
{
    struct Case {
        AlarmFiring firing;
        int32_t now;
        bool passed, next;
    };
    const Case cases[] = {
        {{kToday - 1, at(23, 59)}, at(0, 1), true, false},
        {{kToday, at(9, 0)}, at(9, 0) + 1, true, false},
        {{kToday, at(9, 0)}, at(9, 0), false, false},  // equal to the hundredth: neither
        {{kToday, at(9, 0)}, at(9, 0) - 1, false, true},
        {{kToday + 1, at(0, 0)}, at(23, 59), false, true},
        {{kToday + 1, at(23, 59)}, at(0, 0), false, true},
        {{kToday + 2, at(0, 0)}, at(23, 59), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.firing.date - kToday << " " << c.firing.time << " at " << c.now);
        EXPECT_EQ(AlarmPassed(c.firing, kToday, c.now), c.passed);
        EXPECT_EQ(IsNextAlarm(c.firing, kToday, c.now), c.next);
    }
}

struct AlarmSpec {
    int32_t nbr;
    int32_t date;
    int32_t time;
    int32_t warning = 1;
    const char* kind = "M";
    const char* dow = "N";
    int important = 0;
    const char* action = "";
    const char* sound = "";
    int32_t dry = 0;
};

struct Scan : ::testing::Test {
    DataFolder folder;
    Context writer;  // the alarm forms' instances
    Context frame;
    std::vector<NextAlarmBlock> started;

    void SetUp() override
    {
        StartAlarmWindow = [this](const NextAlarmBlock& b) { started.push_back(b); };
        AlarmsChanged = 9;
        ClosedAlarmNbr = 5;
    }
    void TearDown() override
    {
        StartAlarmWindow = nullptr;
        NextAlarm = {};
    }

    KeyedFile& alarms()
    {
        KeyedFile& f = writer.file(VenAlarm);
        if (!f.isOpen()) {
            EXPECT_TRUE(f.open().ok());
        }
        return f;
    }
    void add(const AlarmSpec& a)
    {
        KeyedFile& f = alarms();
        Record& r = f.rec();
        r.clear();
        r.set(ALA::NBR, a.nbr);
        r.set(ALA::DATE, a.date);
        r.set(ALA::TIME, a.time);
        r.set(ALA::WARNING, a.warning);
        r.set(ALA::MESSAGE, a.kind);
        r.set(ALA::DOW, a.dow);
        r.set(ALA::IMPORTANT, a.important);
        r.set(ALA::ACTION, a.action);
        r.set(ALA::SOUND, a.sound);
        r.set(ALA::DRYNUM, a.dry);
        ASSERT_TRUE(f.add().ok());
    }
    void addDiary(int32_t number, const QString& memo)
    {
        KeyedFile& f = writer.file(VenDry);
        ASSERT_TRUE(f.open().ok());
        f.rec().clear();
        f.rec().set(DRY::NUMBER, number);
        f.rec().set(DRY::MEMORANDUM, memo);
        ASSERT_TRUE(f.add().ok());
        f.close();
    }
    void clear()
    {
        KeyedFile& f = alarms();
        f.set();
        while (f.next().ok())
            f.remove();
    }
    // ALA:DATE of the stored alarm; kDelete when it is gone.
    int32_t storedDate(int32_t nbr)
    {
        KeyedFile& f = alarms();
        f.rec().set(ALA::NBR, nbr);
        return f.get(ALA::NBR_KEY).ok() ? int32_t(f.rec().num(ALA::DATE)) : kDelete;
    }
    void scan(int32_t now) { ScanAlarms(frame, kToday, now); }
    int64_t bufferNbr() { return frame.file(VenAlarm).rec().num(ALA::NBR); }
};

TEST_F(Scan, PassedAlarmsWithoutRepeatAreDeletedAndNothingIsLeft)
{
    add({.nbr = 1, .date = kToday, .time = at(7, 0)});
    add({.nbr = 2, .date = kToday - 30, .time = at(12, 0), .kind = "A"});
    scan(at(8, 0));
    EXPECT_EQ(storedDate(1), kDelete);
    EXPECT_EQ(storedDate(2), kDelete);
    EXPECT_EQ(NextAlarm.Pending, 0);
    EXPECT_EQ(NextAlarm.Nbr, 0);
    EXPECT_EQ(NextAlarmText, kNoAlarms);
    EXPECT_EQ(NextAlarmLine, kNoAlarms);
    EXPECT_EQ(AlarmsChanged, 0);
    EXPECT_EQ(ClosedAlarmNbr, 0);
    // The reading ended at the end of the file: the frame's buffer is all zero.
    EXPECT_EQ(frame.file(VenAlarm).rec(), Record(&VenAlarm));
    EXPECT_FALSE(frame.file(VenAlarm).isOpen());
}

TEST_F(Scan, RepeatingAlarmsMoveToTheirFirstOccurrenceNotPassed)
{
    struct Case {
        const char* what;
        int32_t date;
        const char* dow;
        int32_t now;
        int32_t newDate;
        bool pending;
    };
    const Case cases[] = {
        {"daily passed yesterday, today still ahead", kToday - 1, "0", at(7, 0), kToday, true},
        {"daily passed yesterday, today passed too", kToday - 1, "0", at(9, 0), kToday + 1, true},
        {"daily since 1801", kFirstDay, "0", at(9, 0), kToday + 1, true},
        {"Tuesdays since 1801, on a Tuesday passed", kFirstDay, "3", at(9, 0), kToday + 7, false},
        {"Monday to Friday, last Friday", kToday - 4, "8", at(7, 0), kToday, true},
        {"weekends, last Sunday", kToday - 2, "9", at(7, 0), kToday + 4, false},
        {"no date, daily", 0, "0", at(9, 0), kToday + 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clear();
        add({.nbr = 1, .date = c.date, .time = at(8, 0), .dow = c.dow});
        scan(c.now);
        EXPECT_EQ(storedDate(1), c.newDate);
        EXPECT_EQ(NextAlarm.Pending, c.pending);
        if (c.pending) {
            EXPECT_EQ(NextAlarm.Date, c.newDate);
        }
    }
}

TEST_F(Scan, AlarmsOutsideTheCalendarAreDeletedUnlessTheyRepeatIntoIt)
{
    add({.nbr = 1, .date = 0, .time = at(8, 0)});
    add({.nbr = 2, .date = -5, .time = at(8, 0), .dow = "8"});
    add({.nbr = 3, .date = kLastDay + 5, .time = at(8, 0)});
    add({.nbr = 4, .date = kLastDay + 5, .time = at(8, 0), .dow = "0"});
    add({.nbr = 5, .date = kLastDay, .time = at(8, 0), .dow = "0"});
    add({.nbr = 9, .date = kToday, .time = at(10, 0), .action = "Next"});
    scan(at(9, 0));
    EXPECT_EQ(storedDate(1), kDelete);
    EXPECT_EQ(storedDate(2), kToday + 1);  // Wednesday
    EXPECT_EQ(storedDate(3), kDelete);
    EXPECT_EQ(storedDate(4), kDelete);
    EXPECT_EQ(storedDate(5), kLastDay);    // in the future: kept
    EXPECT_EQ(NextAlarm.Nbr, 9);
}

TEST_F(Scan, FiringTimeReachesOverMidnight)
{
    struct Case {
        const char* kind;
        int32_t fires;
    };
    for (const Case& c : {Case{"A", at(23, 40)}, Case{"M", at(23, 39)}}) {
        SCOPED_TRACE(c.kind);
        clear();
        add({.nbr = 1, .date = kToday + 1, .time = at(0, 10), .warning = minutes(30), .kind = c.kind});
        scan(at(23, 0));
        EXPECT_EQ(NextAlarm.Pending, 1);
        EXPECT_EQ(NextAlarm.Date, kToday);
        EXPECT_EQ(NextAlarm.FireTime, c.fires);
        EXPECT_EQ(NextAlarm.Time, at(0, 10));
        EXPECT_EQ(NextAlarm.Warning, minutes(30) + 6200);
    }
}

TEST_F(Scan, OtherMessageAlarmsOfTheMinuteAreLinesOfTheMemo)
{
    const int32_t tomorrow = kToday + 1;
    add({.nbr = 1, .date = tomorrow, .time = at(14, 30), .warning = minutes(5), .action = "First"});
    add({.nbr = 2, .date = tomorrow, .time = at(14, 30), .warning = minutes(5), .kind = "A", .action = "--all",
         .sound = "backup.sh"});
    add({.nbr = 3, .date = tomorrow, .time = at(14, 30), .warning = minutes(5), .action = "Third  "});
    add({.nbr = 4, .date = tomorrow, .time = at(15, 0), .action = "Later"});
    scan(at(8, 0));
    EXPECT_EQ(NextAlarm.Nbr, 1);
    EXPECT_EQ(NextAlarm.Kind, "M");
    EXPECT_EQ(NextAlarm.Memo, "14.30 Third");
    EXPECT_EQ(NextAlarmText, "2026-12-09 14.30 First\r\n14.30 Third");
    EXPECT_EQ(NextAlarmLine, "2026-12-09 14.30 First; 14.30 Third");
    // The frame's buffer holds the record read after the minute's alarms.
    EXPECT_EQ(bufferNbr(), 4);
}

TEST_F(Scan, AnAlarmTwoDaysAwayLeavesTheBlockEmpty)
{
    add({.nbr = 1, .date = kToday + 2, .time = at(0, 30), .action = "Far"});
    scan(at(23, 59));
    EXPECT_EQ(NextAlarm.Pending, 0);
    EXPECT_EQ(NextAlarmText, kNoAlarms);
    EXPECT_EQ(NextAlarmLine, kNoAlarms);
    EXPECT_EQ(storedDate(1), kToday + 2);
    EXPECT_EQ(bufferNbr(), 1);
    EXPECT_EQ(AlarmsChanged, 0);
    EXPECT_EQ(ClosedAlarmNbr, 0);
}

// An entry saved after its begin has an advance below 0: its alarm lies a
// minute ahead, after its time, and its window counts down the message lead.
TEST_F(Scan, ANegativeAdvanceFiresAfterTheAlarmsTime)
{
    add({.nbr = 1, .date = kToday, .time = at(9, 50), .warning = -12 * 6000 + 1, .action = "Late"});
    add({.nbr = 2, .date = kToday, .time = at(23, 55), .warning = -12 * 6000 + 1, .kind = "A"});
    scan(at(10, 0));
    EXPECT_EQ(storedDate(1), kToday) << "not passed";
    ASSERT_EQ(NextAlarm.Pending, 1);
    EXPECT_EQ(NextAlarm.Nbr, 1);
    EXPECT_EQ(NextAlarm.FireTime, at(10, 1));
    EXPECT_EQ(NextAlarm.Warning, 6200);
    const AlarmFiring late = FiringTime(kToday, at(23, 55), -12 * 6000 + 1, "A");
    EXPECT_EQ(late.date, kToday + 1) << "past midnight it fires the next day";
    EXPECT_EQ(late.time, at(0, 7));
}

// A damaged alarm file is told once, by name, and schedules nothing; the
// program goes on (no fatal message) and the file is left as it was.
TEST_F(Scan, ADamagedAlarmFileIsToldNotTakenForNoAlarms)
{
    const QString path = Store::instance().pathOf(VenAlarm);
    enum Damage { RandomBytes, OnePage };
    for (Damage damage : {RandomBytes, OnePage}) {
        SCOPED_TRACE(damage == RandomBytes ? "random bytes" : "one damaged page");
        forgetToldCauses();
        if (damage == OnePage) {
            // Many alarms, the first passed and due for moving on; a page in
            // the middle of the file then overwritten.
            WriteBatch batch(alarms());
            for (int n = 1; n <= 400; ++n)
                add({.nbr = n, .date = kToday + n / 40 - 1, .time = at(10, n % 40), .dow = "0",
                     .action = "An alarm text long enough to fill the file's pages with some hundred records quickly"});
            ASSERT_TRUE(batch.commit().ok());
            writer.closeAll();
            Store::instance().closeIdle();
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_GT(f.size(), 8 * 4096);
            f.seek((f.size() / 4096 / 2) * 4096);
            f.write(QByteArray(4096, '\x5a'));
        } else {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, '\x5a'));
        }
        QFile before(path);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();

        std::vector<MessageBoxRequest> boxes;
        bool fatal = false;
        setMessageBoxHandler([&](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return 1;
        });
        errors().setAfterFatal([&] { fatal = true; });
        scan(at(8, 0));
        scan(at(8, 1));  // a rescan tells nothing twice
        setMessageBoxHandler({});
        errors().setAfterFatal({});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Alarms Stopped");
        EXPECT_TRUE(boxes[0].text.startsWith("No Alarms: VenAlarm cannot be read (")) << boxes[0].text.toStdString();
        EXPECT_TRUE(boxes[0].text.contains("goes on without alarms"));
        EXPECT_FALSE(fatal);
        EXPECT_EQ(NextAlarm.Pending, 0);
        EXPECT_TRUE(NextAlarmLine.startsWith("No Alarms: VenAlarm cannot be read")) << NextAlarmLine.toStdString();
        EXPECT_EQ(AlarmFileError, NextAlarmLine);
        EXPECT_TRUE(started.empty());
        Store::instance().closeIdle();
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_TRUE(after.readAll() == bytes) << "the damaged file was written";
        QFile::remove(path);
    }
    forgetToldCauses();
    scan(at(8, 0));
    EXPECT_EQ(NextAlarmLine, "No Alarms!");
    EXPECT_TRUE(AlarmFileError.isEmpty());
}

TEST_F(Scan, DisabledAlarmsAreScheduledButStartNoWindow)
{
    add({.nbr = 1, .date = kToday, .time = at(7, 0), .important = 9});
    add({.nbr = 2, .date = kToday, .time = at(10, 0), .important = 9, .action = "Quiet"});
    scan(at(8, 0));
    EXPECT_EQ(storedDate(1), kDelete);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(NextAlarm.Pending, 1);
    EXPECT_EQ(NextAlarm.Nbr, 2);
    EXPECT_EQ(NextAlarm.Important, 9);
}

// A passed important alarm's window gets a copy of that alarm's own block,
// not the NextAlarm block, which by then describes the next alarm.
TEST_F(Scan, PassedImportantAlarmsStartTheirWindowWithTheirOwnBlock)
{
    add({.nbr = 1, .date = kToday, .time = at(7, 0), .important = 1, .action = "Pill", .sound = "bell.wav"});
    add({.nbr = 2, .date = kToday, .time = at(7, 15), .kind = "X", .important = 1});
    add({.nbr = 3, .date = kToday, .time = at(7, 30), .kind = "A", .dow = "0", .important = 1, .action = "--all",
         .sound = "backup.sh"});
    add({.nbr = 4, .date = kToday, .time = at(10, 0), .action = "Meeting"});
    bool scanDone = false;
    StartAlarmWindow = [&](const NextAlarmBlock& b) {
        scanDone = AlarmsChanged == 0 && NextAlarm.Nbr == 4 && !frame.file(VenAlarm).isOpen();
        started.push_back(b);
    };
    scan(at(8, 0));
    ASSERT_EQ(started.size(), 2u);  // none for the kind "X"
    EXPECT_TRUE(scanDone);
    EXPECT_EQ(started[0].Nbr, 1);
    EXPECT_EQ(started[0].Pending, 1);
    EXPECT_EQ(started[0].Kind, "M");
    EXPECT_EQ(started[0].Action, "Pill");
    EXPECT_EQ(started[0].Sound, "bell.wav");
    EXPECT_EQ(started[0].Time, at(7, 0));
    EXPECT_EQ(started[0].Text, "07.00 Pill");
    EXPECT_EQ(started[0].Line, "07.00 Pill");
    EXPECT_EQ(started[1].Nbr, 3);
    EXPECT_EQ(started[1].Kind, "A");
    EXPECT_EQ(started[1].Text, "07.30 Execute:\r\nbackup.sh\r\n--all");
    EXPECT_EQ(NextAlarm.Nbr, 4);
    EXPECT_EQ(NextAlarmText, "10.00 Meeting");
    EXPECT_EQ(storedDate(1), kDelete);
    EXPECT_EQ(storedDate(2), kDelete);
    EXPECT_EQ(storedDate(3), kToday + 1);
}

TEST_F(Scan, Texts)
{
    addDiary(5, "Bring the card");
    struct Case {
        int32_t date;
        const char* kind;
        const char* action;
        const char* sound;
        int32_t dry;
        const char* text;
        const char* line;
    };
    const Case cases[] = {
        {kToday + 1, "M", "Dentist", "", 5, "2026-12-09 14.30 Dentist\r\nBring the card",
         "2026-12-09 14.30 Dentist; Bring the card"},
        {kToday, "M", "Dentist", "", 5, "14.30 Dentist\r\nBring the card", "14.30 Dentist; Bring the card"},
        {kToday, "M", "Dentist", "", 77, "14.30 Dentist", "14.30 Dentist"},  // no such diary entry
        {kToday + 1, "A", "notes.txt", "View", 0, "14.30 View notes.txt", "14.30 View notes.txt"},
        {kToday + 1, "A", "--all", "backup.sh", 0, "14.30 Execute:\r\nbackup.sh\r\n--all",
         "14.30 Execute:; backup.sh; --all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        clear();
        add({.nbr = 1, .date = c.date, .time = at(14, 30), .kind = c.kind, .action = c.action, .sound = c.sound,
             .dry = c.dry});
        scan(at(8, 0));
        EXPECT_EQ(NextAlarmText, c.text);
        EXPECT_EQ(NextAlarmLine, c.line);
    }
}

TEST_F(Scan, LongMemosAreCutToTheirSizes)
{
    addDiary(5, QString(2000, 'x'));
    add({.nbr = 1, .date = kToday, .time = at(14, 30), .action = "Long", .dry = 5});
    add({.nbr = 2, .date = kToday, .time = at(14, 30), .action = "Other"});
    scan(at(8, 0));
    EXPECT_EQ(NextAlarm.Memo, QString(895, 'x'));
    EXPECT_EQ(NextAlarmLine.size(), 255);
    EXPECT_TRUE(NextAlarmLine.startsWith("14.30 Long; xxx"));
}

// The next alarm is the one that fires first, though another alarm comes
// first in key order; an alarm later in key order that has passed is not
// left unseen.
TEST_F(Scan, TheNextAlarmIsTheOneThatFiresFirst)
{
    add({.nbr = 1, .date = kToday, .time = at(10, 0), .action = "Late"});
    add({.nbr = 2, .date = kToday, .time = at(10, 30), .warning = minutes(60), .kind = "A", .important = 1,
         .sound = "call.sh"});
    scan(at(9, 0));
    EXPECT_EQ(NextAlarm.Nbr, 2);
    EXPECT_EQ(NextAlarm.FireTime, at(9, 30));

    // Nothing fired it (the program was not running): the next scan finds it passed.
    scan(at(9, 45));
    EXPECT_EQ(storedDate(2), kDelete);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].Nbr, 2);
    EXPECT_EQ(NextAlarm.Nbr, 1);
}

TEST_F(Scan, AnAlarmMovedFarAheadHidesNoAlarmBetween)
{
    add({.nbr = 1, .date = kToday, .time = at(7, 0), .dow = "3"});
    add({.nbr = 2, .date = kToday, .time = at(12, 0), .action = "Noon"});
    add({.nbr = 3, .date = kToday + 3, .time = at(12, 0), .dow = "0"});
    scan(at(8, 0));
    EXPECT_EQ(storedDate(1), kToday + 7);
    EXPECT_EQ(NextAlarm.Nbr, 2);
}

TEST_F(Scan, FilesOpenBeforeTheScanStayOpen)
{
    addDiary(5, "Memo");
    add({.nbr = 1, .date = kToday, .time = at(14, 30), .action = "Meet", .dry = 5});
    ASSERT_TRUE(frame.file(VenAlarm).open().ok());
    scan(at(8, 0));
    EXPECT_TRUE(frame.file(VenAlarm).isOpen());
    EXPECT_FALSE(frame.file(VenDry).isOpen());
    EXPECT_EQ(NextAlarm.Memo, "Memo");
}

TEST_F(Scan, WithoutAMomentTheScanReadsTheClock)
{
    FakeClock fake(QDateTime(QDate(2026, 12, 8), QTime(8, 0)));
    setClock(&fake);
    add({.nbr = 1, .date = kToday, .time = at(7, 59), .dow = "0"});
    add({.nbr = 2, .date = kToday, .time = at(8, 2)});
    ScanAlarms(frame);
    setClock(nullptr);
    EXPECT_EQ(storedDate(1), kToday + 1);
    EXPECT_EQ(NextAlarm.Nbr, 2);
}

} // namespace
