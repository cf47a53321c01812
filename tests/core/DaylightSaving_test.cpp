// The daylight-saving check on a temporary Ven_DLS table, which never sets
// the computer's clock (the C library's clock setters are stand-ins here
// that count their calls), and the status-bar zone texts.
#include "../data/DataFolder.h"
#include "ClockSetters.h"

#include "core/ActivityLog.h"
#include "core/DaylightSaving.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/TellOnce.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <vector>

using namespace ven;
using ven::test::DataFolder;

namespace {

constexpr int32_t kHour = 360001;
const QDate kToday(2027, 3, 28);

class DaylightSaving : public ::testing::Test {
protected:
    DataFolder folder;
    FakeClock fake{QDateTime(kToday, QTime(3, 0))};
    Context ctx;
    const int clockSetBefore = test::clockSettingCalls();
    DlsNextChange next;
    std::vector<MessageBoxRequest> boxes;

    void SetUp() override
    {
        // The table's own switch, as in a zone without daylight-saving
        // time, whatever the machine running the tests uses.
        setDaylightSavingZone(QTimeZone::utc());
        forgetToldCauses();
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return 1;
        });
        setClock(&fake);
        Daily_Notes = folder.path();
        Log_Activity = "C";
        ActivityLogFileName();
        DlsMissing = 0;
        DlsChanged = 1;
    }
    void TearDown() override
    {
        ctx.closeAll();
        EXPECT_EQ(test::clockSettingCalls(), clockSetBefore) << "the computer's clock was set";
        setClock(nullptr);
        setMessageBoxHandler({});
        setDaylightSavingZone({});
        Log_Activity.clear();
        DlsChanged = 0;
        DlsMissing = 0;
    }

    void addChange(const QDate& date, int h, int m, int32_t change, const char* sign)
    {
        KeyedFile& f = ctx.file(Ven_DLS);
        ASSERT_TRUE(f.open().ok());
        f.rec().clear();
        f.rec().set(DLS::DATE, dayNumber(date));
        f.rec().set(DLS::TIME, timeValue(h, m, 0));
        f.rec().set(DLS::CHANGE, change);
        f.rec().set(DLS::PLUSMINUS, sign);
        ASSERT_TRUE(f.add().ok());
        f.close();
    }
    std::vector<int32_t> tableDates()
    {
        std::vector<int32_t> dates;
        KeyedFile& f = ctx.file(Ven_DLS);
        EXPECT_TRUE(f.open().ok());
        for (f.set(DLS::DATE_KEY); f.next().ok();)
            dates.push_back(int32_t(f.rec().num(DLS::DATE)));
        f.close();
        return dates;
    }
    QString log()
    {
        QFile file(folder.path(ActivityLogName));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    DlsCheckResult check(const QDateTime& at)
    {
        fake.set(at);
        return CheckDaylightSaving(ctx, at, next);
    }
    int32_t today() const { return dayNumber(kToday); }
};

} // namespace

TEST_F(DaylightSaving, DueChangeIsLoggedAndRemovedAndTheClockStays)
{
    addChange(kToday, 3, 0, kHour, "+");
    addChange(QDate(2027, 10, 31), 3, 0, kHour, "-");

    // The first check (start-up, before the change's time) only learns it.
    check(QDateTime(kToday, QTime(2, 59, 59)));
    EXPECT_FALSE(log().contains("DLS"));
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "DLS: 03.00");
    EXPECT_EQ(DlsChanged, 0);
    EXPECT_FALSE(DaylightSavingDue(next, today(), timeValue(2, 59, 59)));

    const QDateTime tick(kToday, QTime(3, 0, 0, 500));
    ASSERT_TRUE(DaylightSavingDue(next, today(), timeValue(tick)));
    const DlsCheckResult r = check(tick);
    EXPECT_TRUE(r.applied);
    EXPECT_EQ(fake.now().time(), QTime(3, 0, 0, 500)) << "the clock stays";
    EXPECT_EQ(tableDates(), std::vector<int32_t>{dayNumber(QDate(2027, 10, 31))});
    EXPECT_EQ(DlsMissing, 0);
    EXPECT_EQ(next.name, "STD");
    EXPECT_EQ(next.direction, -1);
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "STD: 31-10-2027 03.00");
    EXPECT_EQ(log().count(" DLS +1:00:00 not set: the system's time zone makes the change\r\n"), 1)
        << qPrintable(log());

    // With the last change carried out the table is empty.
    const QDateTime autumn(QDate(2027, 10, 31), QTime(3, 0, 1));
    check(autumn);
    EXPECT_EQ(fake.now(), autumn);
    EXPECT_TRUE(tableDates().empty());
    EXPECT_EQ(DlsMissing, 1);
    EXPECT_EQ(next.date, dayNumber(QDate(2027, 10, 31)) + 180);
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "DLS/STD Time Missing!");
    EXPECT_TRUE(log().contains(" STD -1:00:00 not set: the system's time zone makes the change\r\n"));
}

TEST_F(DaylightSaving, MissedChangesCarriedOutUnlessTheyWouldGoBackBeforeMidnight)
{
    struct Case {
        const char* sign;
        QTime at;
        bool applied;
    };
    const Case cases[] = {
        {"+", QTime(10, 15), true},
        {"-", QTime(10, 15), true},
        {"-", QTime(0, 30), false},   // would go back over midnight
        {"-", QTime(1, 0, 0, 10), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sign << " at " << qPrintable(c.at.toString()));
        addChange(kToday.addDays(-1), 3, 0, kHour, c.sign);
        const DlsCheckResult r = check(QDateTime(kToday, c.at));
        EXPECT_EQ(r.applied, c.applied);
        EXPECT_EQ(fake.now(), QDateTime(kToday, c.at)) << "the clock stays";
        if (c.applied) {
            EXPECT_TRUE(tableDates().empty());
            // The applied change's name and time, dated 180 days ahead.
            EXPECT_EQ(next.date, today() + 180);
            EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing),
                      QString(c.sign[0] == '+' ? "DLS" : "STD") + ": 24-09-2027 03.00");
        } else {
            EXPECT_EQ(tableDates(), std::vector<int32_t>{today() - 1});
            EXPECT_EQ(DlsMissing, 0);
            // Not due again on this day's ticks: only a table change re-runs it.
            DlsChanged = 0;
            EXPECT_FALSE(DaylightSavingDue(next, today(), timeValue(1, 30, 0)));
            KeyedFile& f = ctx.file(Ven_DLS);
            ASSERT_TRUE(f.open().ok());
            for (f.set(DLS::DATE_KEY); f.next().ok();)
                f.remove();
            f.close();
        }
    }
}

// Of the changes missed while the program was off, only the latest is
// applied, and only while it still holds: one a later missed change has
// followed, or one more than 180 days old, is taken out unapplied and logged.
TEST_F(DaylightSaving, OnlyTheLatestMissedChangeThatStillHoldsIsApplied)
{
    struct Change {
        QDate date;
        const char* sign;
    };
    struct Case {
        const char* what;
        std::vector<Change> stored;
        QDate start;
        bool applied;          // the latest change taken as made
        int notApplied;        // log lines of changes taken out unapplied
    };
    const Case cases[] = {
        {"a year of changes missed in January",
         {{QDate(2024, 6, 30), "+"}, {QDate(2025, 3, 30), "+"}, {QDate(2025, 3, 31), "+"}}, QDate(2026, 1, 10), false, 3},
        {"spring and autumn missed: only autumn",
         {{QDate(2027, 3, 28), "+"}, {QDate(2027, 10, 31), "-"}}, QDate(2027, 11, 2), true, 1},
        {"one change missed 181 days ago", {{QDate(2027, 3, 28), "+"}}, QDate(2027, 3, 28).addDays(181), false, 1},
        {"one change missed 180 days ago", {{QDate(2027, 3, 28), "+"}}, QDate(2027, 3, 28).addDays(180), true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(folder.path(ActivityLogName));
        for (const Change& x : c.stored)
            addChange(x.date, 3, 0, kHour, x.sign);
        const DlsCheckResult r = check(QDateTime(c.start, QTime(10, 15)));
        EXPECT_EQ(r.applied, c.applied);
        EXPECT_EQ(int(log().count("makes the change")), c.applied ? 1 : 0) << qPrintable(log());
        EXPECT_TRUE(tableDates().empty());
        EXPECT_EQ(int(log().count("not applied")), c.notApplied) << qPrintable(log());
        if (c.notApplied)
            EXPECT_TRUE(log().contains(" DLS +1:00:00 of " + QDate(c.stored[0].date).toString("dd-MM-yyyy") + " not applied"))
                << qPrintable(log());
    }
}

TEST_F(DaylightSaving, EmptyTableWarnsUntilAChangeIsAdded)
{
    const DlsCheckResult r = check(QDateTime(kToday, QTime(12, 0)));
    EXPECT_FALSE(r.applied);
    EXPECT_EQ(DlsMissing, 1);
    EXPECT_EQ(next.date, today() + 180);
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "DLS/STD Time Missing!");
    EXPECT_FALSE(DaylightSavingDue(next, today(), timeValue(12, 0, 1)));

    addChange(QDate(2027, 10, 31), 3, 0, kHour, "-");
    DlsChanged = 1;  // as the form does after saving
    ASSERT_TRUE(DaylightSavingDue(next, today(), timeValue(12, 0, 1)));
    check(QDateTime(kToday, QTime(12, 0, 1)));
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "STD: 31-10-2027 03.00");
}

TEST_F(DaylightSaving, ADamagedTableIsToldOnceAndZoneOneSaysSo)
{
    const QString file = Store::instance().pathOf(Ven_DLS);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    {
        QFile junk(file);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
    }
    const DlsCheckResult r = check(QDateTime(kToday, QTime(12, 0)));
    EXPECT_FALSE(r.applied);
    EXPECT_FALSE(next.unreadable.isEmpty());
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "DLS/STD Table cannot be read!");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("The daylight-saving table " + QDir::toNativeSeparators(file) + " cannot be read:"))
        << boxes[0].text.toStdString();
    EXPECT_EQ(next.date, today() + 180) << "not checked again on every tick";
    DlsChanged = 1;
    check(QDateTime(kToday, QTime(12, 0, 1)));
    EXPECT_EQ(boxes.size(), 1u) << "told once";
}

// Where the time zone switches itself, the stored changes never move the
// clock (that would move it twice); the status bar shows the zone's switches.
TEST_F(DaylightSaving, AZoneThatSwitchesItselfKeepsTheClockAndShowsItsOwnSwitch)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    setDaylightSavingZone(berlin);
    addChange(kToday.addDays(-2), 3, 0, kHour, "+");  // a stale change, missed
    addChange(kToday, 3, 0, kHour, "+");
    addChange(QDate(2027, 10, 31), 3, 0, kHour, "-");
    const auto at = [&](int h, int m) { return QDateTime(kToday, QTime(h, m), berlin); };

    // Before the spring switch (02.00 to 03.00): the missed change is
    // dropped as made by the zone, the zone's switch is shown.
    check(at(1, 0));
    EXPECT_EQ(tableDates(), (std::vector<int32_t>{today(), dayNumber(QDate(2027, 10, 31))}));
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "DLS: 02.00");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Daylight Saving Time");
    EXPECT_TRUE(boxes[0].text.contains("The time zone Europe/Berlin switches")) << qPrintable(boxes[0].text);
    EXPECT_FALSE(DaylightSavingDue(next, today(), timeValue(1, 59, 59)));

    // The zone has switched: due at once, the clock stays, the stored change
    // is logged with the reason and removed; the user was told already.
    fake.set(at(3, 0));
    ASSERT_TRUE(DaylightSavingDue(next, today(), timeValue(3, 0, 0)));
    const DlsCheckResult r = check(at(3, 0));
    EXPECT_TRUE(r.zoneSwitches);
    EXPECT_FALSE(r.applied);
    EXPECT_EQ(boxes.size(), 1u) << "told once per run";
    EXPECT_EQ(tableDates(), std::vector<int32_t>{dayNumber(QDate(2027, 10, 31))});
    EXPECT_EQ(log().count("DLS +1:00:00 not set: the time zone Europe/Berlin switches itself\r\n"), 2)
        << qPrintable(log());
    EXPECT_EQ(DaylightSavingText(next, today(), DlsMissing), "STD: 31-10-2027 03.00");
    EXPECT_EQ(DlsMissing, 0);

    // In autumn 02.30 comes twice: due only at the second, after the switch.
    const QDateTime summer(QDate(2027, 10, 31), QTime(0, 30), QTimeZone::utc());  // 02.30 CEST
    fake.set(summer);
    EXPECT_FALSE(DaylightSavingDue(next, today(), timeValue(2, 30, 0)));
    fake.set(summer.addSecs(3600));  // 02.30 CET
    ASSERT_TRUE(DaylightSavingDue(next, today(), timeValue(2, 30, 0)));
    check(summer.addSecs(3600).toTimeZone(berlin));
    EXPECT_TRUE(tableDates().empty());
    EXPECT_TRUE(log().contains("STD -1:00:00 not set: the time zone Europe/Berlin switches itself"));
    EXPECT_EQ(DaylightSavingText(next, dayNumber(QDate(2027, 10, 31)), DlsMissing), "DLS: 26-03-2028 02.00");
    EXPECT_EQ(DlsMissing, 0) << "the zone's switches stand in for an empty table";
}

TEST(DaylightSavingZone, OnlyAZoneWithSwitchesAheadSwitchesItself)
{
    const QDateTime now(QDate(2027, 3, 28), QTime(12, 0), QTimeZone::utc());
    EXPECT_TRUE(ZoneSwitchesItself(QTimeZone("Europe/Berlin"), now));
    EXPECT_TRUE(ZoneSwitchesItself(QTimeZone("America/New_York"), now));
    EXPECT_FALSE(ZoneSwitchesItself(QTimeZone::utc(), now));
    EXPECT_FALSE(ZoneSwitchesItself(QTimeZone("Asia/Tokyo"), now)) << "daylight-saving time given up in 1951";
}

TEST(StatusZones, AlarmStatusAndLockLetters)
{
    EXPECT_EQ(AlarmStatusText(3, true, "10:00 Dentist"), "ooo");
    EXPECT_EQ(AlarmStatusText(40, false, ""), QString(32, 'o'));
    EXPECT_EQ(AlarmStatusText(0, true, "10:00 Dentist"), "10:00 Dentist");
    EXPECT_EQ(AlarmStatusText(0, false, "stale"), "No Alarms!");
    const QString unreadable = "No Alarms: VenAlarm cannot be read (malformed)";
    EXPECT_EQ(AlarmStatusText(0, false, unreadable, unreadable), unreadable) << "not taken for no alarms";
    EXPECT_EQ(AlarmStatusText(2, false, unreadable, unreadable), "oo");

    const KeyLockLetters on = LockLetters(true, true, true);
    const KeyLockLetters mixed = LockLetters(false, true, false);
    EXPECT_EQ(on.num + on.caps + on.scroll, "NCS");
    EXPECT_EQ(mixed.num + mixed.caps + mixed.scroll, "-C-");
}
