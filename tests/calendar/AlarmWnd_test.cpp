// The message-alarm window on the fake clock: its countdown, the replays of
// the sound at shortening intervals, closing at the appointment, the log
// line, Cancel, stray keys, and several alarms shown at once.
#include "AlarmKit.h"

#include "calendar/AlarmWnd.h"

#include <QLineEdit>

namespace ven::test {
namespace {

using AlarmWndTest = AlarmTest;

std::vector<QString> timesOf(const std::vector<ShellCall>& calls)
{
    std::vector<QString> v;
    for (const ShellCall& c : calls)
        v.push_back(c.at);
    return v;
}

TEST_F(AlarmWndTest, CountsDownReplaysAtShorteningIntervalsAndClosesAtTheAppointment)
{
    // 10:00 with an advance of 10 minutes fires at 09:49:00 and counts 10 minutes 62 seconds.
    NextAlarmBlock b = block(7, "M", at(10, 0), minutes(10), "bell.wav", "Dentist");
    b.Log = 1;
    ASSERT_EQ(formatTime(b.FireTime, u"T04"), "09:49:00");
    ASSERT_TRUE(showAlarmWindow(b));
    kit.settle();
    ASSERT_TRUE(kit.isOpen("AlarmWnd"));
    EXPECT_NE(Running.get("AlarmWnd"), 0);
    EXPECT_EQ(kit.text("AlarmWnd", "NextAlarmText"), "10.00 Dentist");
    EXPECT_EQ(kit.text("AlarmWnd", "DateLine"), DateLine);
    EXPECT_EQ(kit.text("AlarmWnd", "Countdown"), " 0 11 02");
    EXPECT_FALSE(kit.control("AlarmWnd", "OK").isVisible());  // no button before the first tick
    EXPECT_FALSE(kit.control("AlarmWnd", "Cancel").isVisible());
    ASSERT_EQ(shell.calls.size(), 1u);  // played once as it opens
    EXPECT_EQ(shell.calls[0].operation, "Play");
    EXPECT_EQ(shell.calls[0].file, "\"bell.wav\"");
    EXPECT_EQ(shell.calls[0].show, 0);

    kit.wait(1000);
    EXPECT_EQ(kit.text("AlarmWnd", "CurrentTime"), "09.49.01");
    EXPECT_EQ(kit.text("AlarmWnd", "Countdown"), " 0 11 01");
    EXPECT_TRUE(kit.control("AlarmWnd", "OK").isEnabled());
    EXPECT_TRUE(kit.control("AlarmWnd", "Cancel").isEnabled());

    const int ticks = runUntilClosed("AlarmWnd");
    EXPECT_EQ(ticks + 1, 664);  // remaining 66201 reaches 0 after 663 ticks; the next one closes
    EXPECT_EQ(now(), "10:00:04");
    // Whole minutes while more than 5 minutes are to go, half minutes down
    // to 1 minute (exactly 5 already), then every 15 seconds.
    const std::vector<QString> expected = {
        "09:49:00", "09:50:00", "09:51:00", "09:52:00", "09:53:00", "09:54:00", "09:55:00", "09:55:30",
        "09:56:00", "09:56:30", "09:57:00", "09:57:30", "09:58:00", "09:58:30", "09:59:00", "09:59:15",
        "09:59:30", "09:59:45", "10:00:00"};
    EXPECT_EQ(timesOf(shell.calls), expected);
    for (const ShellCall& c : shell.calls)
        EXPECT_EQ(c.operation + c.file + QString::number(c.show), "Play\"bell.wav\"0");

    EXPECT_EQ(ClosedAlarmNbr, 7);
    EXPECT_EQ(AlarmsChanged, 1);
    EXPECT_EQ(Running.get("AlarmWnd"), 0);
    EXPECT_EQ(logText(), DateLine + "\r\n\r\n10:00:04 10.00 Dentist\r\n");
}

TEST_F(AlarmWndTest, ProgressFollowsTheCountdown)
{
    setClock(9, 59);
    ASSERT_TRUE(showAlarmWindow(block(3, "M", at(10, 0), minutes(0), "bell.wav", "Call")));  // 62 seconds
    kit.settle();
    for (int i = 0; i < 31; ++i)
        kit.wait(1000);
    EXPECT_EQ(kit.text("AlarmWnd", "Progress"), "48");  // (6201 - 3201) x 100 / 6201 before the 31st step
    EXPECT_EQ(kit.text("AlarmWnd", "Countdown"), " 0 00 31");
}

TEST_F(AlarmWndTest, ASoundThatIsNotAWaveOpensAndTheWindowMakesWay)
{
    ASSERT_TRUE(showAlarmWindow(block(7, "M", at(10, 0), minutes(10), " song.mp3 ", "Dentist")));
    kit.settle();
    while (kit.isOpen("AlarmWnd") && now() < "09:50:00")
        kit.wait(1000);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].operation + shell.calls[0].file + QString::number(shell.calls[0].show), "Open\"song.mp3\"0");
    EXPECT_EQ(shell.calls[1].operation + shell.calls[1].at + QString::number(shell.calls[1].show), "Open09:50:001");
    EXPECT_TRUE(kit.isOpen("AlarmWnd"));
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("AlarmWnd"));
    EXPECT_EQ(shell.calls.size(), 2u);
}

// A missing sound file: the window shows and counts down as ever, the
// failure is logged once, not at every replay.
TEST_F(AlarmWndTest, ASoundThatCannotPlayStillShowsAndIsLoggedOnce)
{
    setShellHandler({});  // the real shell
    NextAlarmBlock b = block(7, "M", at(10, 0), minutes(10), kit.folder("gone.wav"), "Dentist");
    b.Log = 1;
    ASSERT_TRUE(showAlarmWindow(b));
    kit.settle();
    ASSERT_TRUE(kit.isOpen("AlarmWnd"));
    runUntilClosed("AlarmWnd");
    EXPECT_EQ(now(), "10:00:04");
    EXPECT_EQ(logText(), DateLine + "\r\n\r\n09:49:00 Sound file not found: " + kit.folder("gone.wav")
                             + " (alarm 10.00 Dentist)\r\n10:00:04 10.00 Dentist\r\n");
}

TEST_F(AlarmWndTest, WithoutASoundNothingReplaysAndItCountsDownToItsTime)
{
    ASSERT_TRUE(showAlarmWindow(block(7, "M", at(10, 0), minutes(10), "  ", "Dentist")));
    kit.settle();
    kit.wait(1000);
    EXPECT_EQ(kit.text("AlarmWnd", "Countdown"), " 0 11 01");
    runUntilClosed("AlarmWnd");
    EXPECT_EQ(now(), "10:00:04") << "the window stays until the appointment";
    EXPECT_TRUE(shell.calls.empty()) << "nothing is played or opened";
}

// An entry saved after its begin has a negative advance: its window opens
// a minute ahead and shows for its whole countdown.
TEST_F(AlarmWndTest, ANegativeAdvanceShowsTheWindowForItsWholeCountdown)
{
    setClock(10, 0);
    NextAlarmBlock b = block(7, "M", at(9, 50), minutes(-12), "bell.wav", "Late meeting");
    b.Warning = 6200;  // as the scan gives it: at least the message lead
    ASSERT_EQ(formatTime(b.FireTime, u"T04"), "10:01:00");
    setClock(10, 1);
    ASSERT_TRUE(showAlarmWindow(b));
    kit.settle();
    kit.wait(1000);
    EXPECT_TRUE(kit.isOpen("AlarmWnd"));
    const int ticks = runUntilClosed("AlarmWnd");
    EXPECT_GE(ticks, 60);
}

TEST_F(AlarmWndTest, CancelWritesNoLogLineAndSaysSo)
{
    NextAlarm = block(9, "M", at(10, 0), minutes(10), "bell.wav", "Dentist");
    NextAlarm.Log = 1;
    ASSERT_TRUE(showAlarmWindow(NextAlarm));
    kit.settle();
    kit.wait(1000);
    kit.press("AlarmWnd", "Cancel");
    EXPECT_FALSE(kit.isOpen("AlarmWnd"));
    EXPECT_EQ(NextAlarmLine, "Alarm Cancelled!");
    EXPECT_EQ(ClosedAlarmNbr, 9);
    EXPECT_EQ(AlarmsChanged, 1);
    EXPECT_FALSE(QFile::exists(logFile()));
}

TEST_F(AlarmWndTest, OkClosesAndLogsOnlyWhenTheAlarmAsks)
{
    struct Case {
        uint8_t log;
        const char* mode;
        bool written;
    } const cases[] = {{1, "C", true}, {0, "C", false}, {1, "N", false}};
    int nbr = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "log " << int(c.log) << " mode " << c.mode);
        QFile::remove(logFile());
        Log_Activity = c.mode;
        NextAlarmBlock b = block(++nbr, "M", at(10, 0), minutes(10), "bell.wav", "Dentist");
        b.Log = c.log;
        ASSERT_TRUE(showAlarmWindow(b));
        kit.settle();
        kit.wait(1000);
        kit.press("AlarmWnd", "OK");
        EXPECT_FALSE(kit.isOpen("AlarmWnd"));
        EXPECT_EQ(ClosedAlarmNbr, nbr);
        EXPECT_EQ(logText().contains("09:49:01 10.00 Dentist"), c.written);
    }
}

TEST_F(AlarmWndTest, KeysTypedElsewhereNeitherCloseItNorLoseTheirWindow)
{
    QLineEdit letter;  // the program the user is typing in
    letter.show();
    ASSERT_TRUE(showAlarmWindow(block(7, "M", at(10, 0), minutes(10), "bell.wav", "Dentist")));
    kit.settle();
    kit.wait(1000);
    // The alarm took the focus as it opened; Enter, even on OK, closes nothing.
    kit.key("AlarmWnd", Qt::Key_Return);
    kit.key("AlarmWnd", Qt::Key_Return, "OK");
    kit.key("AlarmWnd", Qt::Key_Enter, "OK");
    EXPECT_TRUE(kit.isOpen("AlarmWnd"));
    // Back in the letter, the hops at seconds 0 and 30 leave the focus there.
    letter.activateWindow();
    letter.setFocus();
    kit.settle();
    ASSERT_EQ(QApplication::activeWindow(), &letter);
    for (int i = 0; i < 65; ++i)
        kit.wait(1000);
    EXPECT_EQ(QApplication::activeWindow(), &letter);
    EXPECT_TRUE(kit.isOpen("AlarmWnd"));
    kit.press("AlarmWnd", "OK");
}

TEST_F(AlarmWndTest, AnAlarmDueWhileAnotherCountsDownGetsItsOwnWindow)
{
    const NextAlarmBlock first = block(1, "M", at(10, 0), minutes(10), "bell.wav", "Dentist");
    const NextAlarmBlock second = block(2, "M", at(9, 55), minutes(1), "gong.wav", "Call Ann");
    ASSERT_EQ(formatTime(second.FireTime, u"T04"), "09:53:00");
    ASSERT_TRUE(showAlarmWindow(first));
    kit.settle();
    EXPECT_FALSE(showAlarmWindow(first));  // the frame fires during five seconds: one window
    while (now() < "09:53:00")
        kit.wait(1000);
    ASSERT_TRUE(showAlarmWindow(second));
    kit.settle();
    EXPECT_EQ(kit.openCount("AlarmWnd"), 2);
    EXPECT_EQ(kit.text("AlarmWnd", "NextAlarmText"), "09.55 Call Ann");  // the last one opened

    // The second closes at its own appointment; the first counts on.
    while (kit.openCount("AlarmWnd") == 2)
        kit.wait(1000);
    EXPECT_EQ(now(), "09:55:04");
    EXPECT_EQ(ClosedAlarmNbr, 2);
    EXPECT_NE(Running.get("AlarmWnd"), 0);
    EXPECT_EQ(kit.text("AlarmWnd", "NextAlarmText"), "10.00 Dentist");
    // A closed occurrence does not come again (the scan's window of a passed important alarm).
    EXPECT_FALSE(showAlarmWindow(second));
    runUntilClosed("AlarmWnd");
    EXPECT_EQ(ClosedAlarmNbr, 1);
    EXPECT_EQ(AlarmsChanged, 2);
    EXPECT_EQ(Running.get("AlarmWnd"), 0);
}

TEST_F(AlarmWndTest, StartedByNameItShowsTheNextAlarmAsItIsThen)
{
    defineProcedure("AlarmWnd", makeAlarmWnd);
    NextAlarm = block(4, "M", at(10, 0), minutes(10), "bell.wav", "Dentist");
    startProcedure("AlarmWnd");
    NextAlarm.Text = "changed before it opened";
    kit.settle();
    EXPECT_EQ(kit.text("AlarmWnd", "NextAlarmText"), "changed before it opened");
    NextAlarm = block(5, "M", at(11, 0), minutes(10), "bell.wav", "Later");  // a rescan
    kit.wait(1000);
    EXPECT_EQ(kit.text("AlarmWnd", "NextAlarmText"), "changed before it opened");
    kit.press("AlarmWnd", "OK");
    EXPECT_EQ(ClosedAlarmNbr, 4);
}

} // namespace
} // namespace ven::test
