// The alarm list and form and the sound-effects register through their
// windows: the form's checks, a new alarm's values, OK's defaults and the
// sound setting, the kinds' layout, the list's columns, a reserved number
// the frame's scan leaves alone, and a hand-made alarm that fires.
#include "AlarmKit.h"

#include "calendar/AlarmsBr.h"
#include "calendar/SoundsBrw.h"
#include "calendar/SoundsFrm.h"
#include "calendar/UpdateVenAlarm.h"
#include "core/AlarmScan.h"
#include "platform/FileDialogs.h"
#include "platform/Ini.h"

#include <QDir>

namespace ven::test {
namespace {

class AlarmsTest : public AlarmTest {
protected:
    void SetUp() override
    {
        AlarmTest::SetUp();
        Sound_Path.clear();
        Sound_File.clear();
        CopyRequested = 0;
    }
    void TearDown() override
    {
        setFileDialogs({});
        AlarmTest::TearDown();
    }

    void addAlarm(int nbr, int32_t date, int32_t time, const std::function<void(Record&)>& more = {})
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(ALA::NBR, nbr);
        f.rec().set(ALA::DATE, date);
        f.rec().set(ALA::TIME, time);
        f.rec().set(ALA::WARNING, minutes(1));
        f.rec().set(ALA::MESSAGE, "M");
        f.rec().set(ALA::DOW, "N");
        f.rec().set(ALA::ACTION, QStringLiteral("Alarm %1").arg(nbr));
        if (more)
            more(f.rec());
        ASSERT_TRUE(f.add());
    }
    void addSound(const QString& name, const QString& folder)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenWav);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(WAV::FILENAME, name);
        f.rec().set(WAV::FILEPATH, folder);
        ASSERT_TRUE(f.add());
    }
    std::optional<Record> alarm(int nbr)
    {
        for (const Record& r : WindowKit::records(VenAlarm))
            if (r.num(ALA::NBR) == nbr)
                return r;
        return std::nullopt;
    }
    void openList()
    {
        kit.start([] { return makeAlarmsBr({}); });
        ASSERT_TRUE(kit.isOpen("AlarmsBr"));
    }
};

const QString kForm = QStringLiteral("UpdateVenAlarm");

TEST(AlarmChecks, DateTimeAndAdvanceAsStored)
{
    const int32_t today = 80000;
    struct Case {
        int32_t now, date, time, warning;  // as entered
        int32_t date_, time_, warning_;    // as stored
        const char* kind = "A";
    };
    const auto t = [](int h, int m, int s = 0) { return timeValue(h, m, s); };
    const Case cases[] = {
        // 14:01 entered at 14:00:10 today: three minutes from now, rounded to 14:03.
        {t(14, 0, 10), today, t(14, 1), 6001, today, t(14, 3), 6001},
        // 15:00 with an advance of an hour at 14:30: the advance shrinks to 29 minutes.
        {t(14, 30), today, t(15, 0), 360001, today, t(15, 0), 29 * 6000 + 1},
        // A future day keeps an early time; the advance is only cut to minutes.
        {t(14, 30), today + 1, t(8, 0, 40), 90001, today + 1, t(8, 1), 90001},
        // A passed date becomes today; beyond 2099 becomes its last day.
        {t(9, 0), today - 3, t(12, 0), 6001, today, t(12, 0), 6001},
        {t(9, 0), 120000, t(12, 0), 6001, 109211, t(12, 0), 6001},
        // 23:59:30 and later are the end of the day; tiny values are raised.
        {t(9, 0), today + 1, 8639000, 1, today + 1, 8640001, 1},
        {t(9, 0), today + 2, 1, 99999999, today + 2, 1, 8634001},
        // A message alarm's window opens 62 seconds before its advance: the
        // advance shrinks further, so that it is not stored passed.
        {t(14, 29, 58), today, t(15, 0), 360001, today, t(15, 0), 28 * 6000 + 1, "M"},
        {t(14, 29), today, t(14, 32), 12001, today, t(14, 32), 6001, "M"},
        // An advance that reaches back over midnight into today is held too.
        {t(23, 0), today + 1, t(0, 30), 720001, today + 1, t(0, 30), 89 * 6000 + 1},
    };
    for (const Case& c : cases) {
        const int32_t date = CheckAlarmDate(c.date, today);
        const int32_t time = CheckAlarmTime(date, c.time, today, c.now);
        const int32_t warning = CheckWarningTime(date, time, c.warning, c.kind, today, c.now);
        EXPECT_EQ(date, c.date_) << c.date;
        EXPECT_EQ(time, c.time_) << formatTime(c.time, u"T04").toStdString();
        EXPECT_EQ(warning, c.warning_) << c.warning;
        const AlarmFiring firing = FiringTime(date, time, warning, c.kind);
        EXPECT_FALSE(AlarmPassed(firing, today, c.now)) << "stored passed";
    }
}

TEST_F(AlarmsTest, NewAlarmFromTheListGetsItsDefaultsAndOkStoresIt)
{
    const QString sounds = kit.folder("Sounds");
    QDir().mkpath(sounds);
    addSound("Ding.wav", sounds + "/");
    addSound("Tune.mp3", sounds + "/");
    Sound_Path = sounds;
    Sound_File = "Ding.wav";
    openList();
    kit.press("AlarmsBr", "Insert");
    ASSERT_TRUE(kit.isOpen(kForm));
    EXPECT_EQ(kit.window(kForm).window().title(), "Adding an Alarm");
    EXPECT_EQ(kit.text(kForm, "Time"), "10.50");  // 09:49 + an hour, on the five minutes
    EXPECT_EQ(kit.text(kForm, "Weekday"), "Wednesday");
    EXPECT_EQ(kit.text(kForm, "SoundLabel"), "Sound Effect:");
    EXPECT_TRUE(kit.control(kForm, "Sound").isShown());
    EXPECT_FALSE(kit.control(kForm, "Command").isShown());
    EXPECT_EQ(kit.text(kForm, "Sound"), "Ding.wav");

    // Shift+Up from the typed time: 5 minutes on, on the five minutes.
    kit.replaceText(kForm, "Time", "09.58");
    kit.key(kForm, (Qt::SHIFT | Qt::Key_Up).toCombined());
    EXPECT_EQ(kit.text(kForm, "Time"), "10.05");
    kit.type(kForm, "Action", "Dentist");
    kit.tab(kForm);
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_TRUE(kit.boxes().empty());

    const std::vector<Record> all = WindowKit::records(VenAlarm);
    ASSERT_EQ(all.size(), 1u);
    const Record& a = all[0];
    EXPECT_EQ(a.num(ALA::NBR), 1);
    EXPECT_EQ(a.num(ALA::DATE), today());
    EXPECT_EQ(a.num(ALA::TIME), at(10, 5) + 0);
    EXPECT_EQ(a.num(ALA::WARNING), 6001);
    EXPECT_EQ(a.str(ALA::MESSAGE), "M");
    EXPECT_EQ(a.str(ALA::DOW), "N");
    EXPECT_EQ(a.str(ALA::ACTION), "Dentist");
    EXPECT_EQ(a.str(ALA::SOUND), joinPath(sounds, "Ding.wav"));
    EXPECT_EQ(a.num(ALA::LOG), 1);
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_Path", "?"), sounds);
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_File", "?"), "Ding.wav");
    EXPECT_GE(AlarmsChanged, 1);

    // The list shows it; an .mp3 chosen on a change writes no setting.
    EXPECT_EQ(kit.cell("AlarmsBr", 0, 0), "We");
    EXPECT_EQ(kit.cell("AlarmsBr", 0, 1), "09.12");
    EXPECT_EQ(kit.cell("AlarmsBr", 0, 9), "Ding.wav");
    writeIni(kit.ini(), "Paths", "Sound_File", "Kept.wav");
    kit.highlight("AlarmsBr", 0);
    kit.press("AlarmsBr", "Change");
    ASSERT_TRUE(kit.isOpen(kForm));
    kit.choose(kForm, "Sound", "Tune.mp3");
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(alarm(1)->str(ALA::SOUND), joinPath(sounds, "Tune.mp3"));
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_File", "?"), "Kept.wav");
}

TEST_F(AlarmsTest, EmptyMessagesGetTheirDefaultsAndTheKindsTheirLayout)
{
    openList();
    kit.press("AlarmsBr", "Insert");
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(alarm(1)->str(ALA::ACTION), QString::fromUtf8(kDefaultAlarmMessage));
    EXPECT_EQ(QString::fromUtf8(kDefaultAlarmMessage).size(), 120);

    kit.press("AlarmsBr", "Insert");
    kit.choose(kForm, "Kind", "A");
    EXPECT_EQ(kit.text(kForm, "SoundLabel"), "Execute:");
    EXPECT_EQ(kit.text(kForm, "ActionLabel"), "Parameters:");
    EXPECT_TRUE(kit.control(kForm, "Command").isShown());
    EXPECT_TRUE(kit.control(kForm, "CommandFind").isShown());
    EXPECT_FALSE(kit.control(kForm, "Sound").isShown());
    const QString chosen = kit.folder("notes.txt");
    setFileDialogs({.file = [&](QWidget*, const QString& title, const QString&, const QString&) {
        return title == "Select File" ? chosen : QString();
    }});
    kit.press(kForm, "CommandFind");  // cancelled: the command stays
    EXPECT_EQ(kit.text(kForm, "Command"), "VIEW");
    kit.press(kForm, "ActionFind");
    EXPECT_EQ(kit.text(kForm, "Action"), chosen);
    kit.replaceText(kForm, "Action", "");
    kit.key(kForm, Qt::Key_Delete);
    kit.tab(kForm);
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    const std::optional<Record> a = alarm(2);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->str(ALA::MESSAGE), "A");
    EXPECT_EQ(a->str(ALA::SOUND), "VIEW");
    EXPECT_EQ(a->str(ALA::ACTION), " ") << "the typed parameters were cleared";
}

TEST_F(AlarmsTest, ListColumnsCopyAndNextAlarm)
{
    addAlarm(4, today() + 1, at(8, 0), [](Record& r) {
        r.set(ALA::DOW, "X");
        r.set(ALA::IMPORTANT, 9);
        r.set(ALA::SOUND, "/sounds/Bell.wav");
        r.set(ALA::DRYNUM, 12);
    });
    addAlarm(7, today() + 2, at(9, 0), [](Record& r) {
        r.set(ALA::DOW, "8");
        r.set(ALA::IMPORTANT, 1);
        r.set(ALA::LOG, 1);
        r.set(ALA::MESSAGE, "A");
        r.set(ALA::SOUND, "VIEW");
    });
    openList();
    ASSERT_EQ(kit.rows("AlarmsBr"), 2);
    const QStringList first = {kit.cell("AlarmsBr", 0, 5), kit.cell("AlarmsBr", 0, 7), kit.cell("AlarmsBr", 0, 8),
                               kit.cell("AlarmsBr", 0, 9), kit.cell("AlarmsBr", 0, 11).trimmed()};
    EXPECT_EQ(first, (QStringList{"No", "D", "N", "Bell.wav", "12"}));
    const QStringList second = {kit.cell("AlarmsBr", 1, 5), kit.cell("AlarmsBr", 1, 7), kit.cell("AlarmsBr", 1, 8),
                                kit.cell("AlarmsBr", 1, 9)};
    EXPECT_EQ(second, (QStringList{"M-F", "I", "Y", "VIEW"}));

    AlarmsChanged = 0;
    kit.press("AlarmsBr", "NextAlarm");
    EXPECT_EQ(AlarmsChanged, 1);

    // Copy keeps every field of the copied alarm under a new number.
    kit.highlight("AlarmsBr", 1);
    kit.press("AlarmsBr", "Copy");
    ASSERT_TRUE(kit.isOpen(kForm));
    EXPECT_EQ(kit.text(kForm, "Command"), "VIEW");
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(CopyRequested, 0);
    const std::optional<Record> copy = alarm(8);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->num(ALA::DATE), today() + 2);
    EXPECT_EQ(copy->str(ALA::DOW), "8");
    EXPECT_EQ(copy->str(ALA::MESSAGE), "A");
    EXPECT_EQ(copy->num(ALA::IMPORTANT), 1);
}

// The number an open form reserved is no alarm: the frame's scan leaves it,
// and OK stores the alarm.
TEST_F(AlarmsTest, TheScanLeavesTheFormsReservedNumberAlone)
{
    openList();
    kit.press("AlarmsBr", "Insert");
    ASSERT_TRUE(kit.isOpen(kForm));
    Context frame;
    ScanAlarms(frame, today(), at(9, 49));
    ASSERT_EQ(WindowKit::records(VenAlarm).size(), 1u) << "the placeholder is still there";
    kit.type(kForm, "Action", "Call back");
    kit.tab(kForm);
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_TRUE(kit.boxes().empty()) << kit.boxes().front().text.toStdString();
    ASSERT_TRUE(alarm(1));
    EXPECT_EQ(alarm(1)->str(ALA::ACTION), "Call back");
}

// A change of an alarm whose sound is not registered keeps its sound; a
// folder and name too long for the record are refused, not cut.
TEST_F(AlarmsTest, AnUnregisteredSoundIsKeptAndAnOverlongOneRefused)
{
    addAlarm(3, today() + 1, at(8, 0), [](Record& r) { r.set(ALA::SOUND, "/elsewhere/Own.wav"); });
    const QString longFolder = "/" + QString(100, 'f') + "/";
    addSound(QString(40, 'n') + ".wav", longFolder);
    openList();
    kit.highlight("AlarmsBr", 0);
    kit.press("AlarmsBr", "Change");
    EXPECT_EQ(kit.text(kForm, "Sound"), "Own.wav");
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(alarm(3)->str(ALA::SOUND), "/elsewhere/Own.wav");

    kit.press("AlarmsBr", "Change");
    kit.choose(kForm, "Sound", QString(40, 'n') + ".wav");
    kit.press(kForm, "OK");
    EXPECT_TRUE(kit.isOpen(kForm));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("128"));
    kit.press(kForm, "Cancel");
    EXPECT_EQ(alarm(3)->str(ALA::SOUND), "/elsewhere/Own.wav");
}

TEST_F(AlarmsTest, AHandMadeAlarmFiresThroughItsWindow)
{
    openList();
    kit.press("AlarmsBr", "Insert");
    kit.replaceText(kForm, "Time", "10.30");
    kit.tab(kForm);
    kit.replaceText(kForm, "Warning", "0.05");
    kit.tab(kForm);
    kit.type(kForm, "Action", "Stand up");
    kit.tab(kForm);
    kit.press(kForm, "OK");
    ASSERT_FALSE(kit.isOpen(kForm));
    kit.press("AlarmsBr", "Close");
    Context frame;
    setClock(10, 23);
    ScanAlarms(frame);
    ASSERT_TRUE(NextAlarm.Pending);
    EXPECT_EQ(NextAlarm.Nbr, 1);
    EXPECT_EQ(NextAlarm.Action, "Stand up");
    showAlarmWindow(NextAlarm);
    kit.settle();
    ASSERT_TRUE(kit.isOpen("AlarmWnd"));
    EXPECT_TRUE(kit.text("AlarmWnd", "NextAlarmText").contains("Stand up")) << kit.text("AlarmWnd", "NextAlarmText").toStdString();
}

// Test says what failed, here a sound file that is not there.
TEST_F(AlarmsTest, TestingASoundThatCannotPlaySaysWhy)
{
    setShellHandler({});  // the real shell
    kit.start([] { return makeSoundsBrw({}); });
    kit.press("SoundsBrw", "Insert");
    ASSERT_TRUE(kit.isOpen("SoundsFrm"));
    kit.type("SoundsFrm", "Name", "Gone.wav");
    kit.type("SoundsFrm", "Path", kit.folder("Sounds") + "/");
    kit.press("SoundsFrm", "Test");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Sound file not found: " + kit.folder("Sounds") + "/Gone.wav");
    EXPECT_EQ(kit.boxes()[0].caption, "Test");
}

TEST_F(AlarmsTest, SoundsAreLookedUpStoredAndBecomeTheDefault)
{
    kit.start([] { return makeSoundsBrw({}); });
    ASSERT_TRUE(kit.isOpen("SoundsBrw"));
    kit.press("SoundsBrw", "Insert");
    ASSERT_TRUE(kit.isOpen("SoundsFrm"));
    EXPECT_EQ(kit.window("SoundsFrm").window().title(), "Adding a Sound Effect");
    // A typed name without a path stores nothing: the cursor goes to the lookup.
    kit.type("SoundsFrm", "Name", "Ding.wav");
    kit.press("SoundsFrm", "OK");
    EXPECT_TRUE(kit.isOpen("SoundsFrm"));
    EXPECT_EQ(kit.window("SoundsFrm").window().focusedControl(), "Lookup");
    EXPECT_TRUE(WindowKit::records(VenWav).empty());

    const QString file = kit.folder("Sounds/Ding.wav");
    setFileDialogs({.file = [&](QWidget*, const QString& title, const QString&, const QString& filter) {
        EXPECT_EQ(title, "Lookup Sound File");
        EXPECT_EQ(filter, "Wave Files (*.wav)");
        return file;
    }});
    kit.press("SoundsFrm", "Lookup");
    EXPECT_EQ(kit.text("SoundsFrm", "Name"), "Ding.wav");
    EXPECT_EQ(kit.text("SoundsFrm", "Path"), kit.folder("Sounds") + "/");
    kit.press("SoundsFrm", "Test");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].operation, "Play");
    EXPECT_EQ(shell.calls[0].file, "Ding.wav");
    EXPECT_EQ(shell.calls[0].directory, kit.folder("Sounds") + "/");
    kit.press("SoundsFrm", "OK");
    ASSERT_FALSE(kit.isOpen("SoundsFrm"));
    EXPECT_EQ(Sound_Path, kit.folder("Sounds"));
    EXPECT_EQ(Sound_File, "Ding.wav");

    // The same name again is refused by the key: the default stays as it was.
    Sound_File = "Before.wav";
    kit.press("SoundsBrw", "Insert");
    kit.press("SoundsFrm", "Lookup");
    kit.clearBoxes();
    kit.press("SoundsFrm", "OK");
    EXPECT_TRUE(kit.isOpen("SoundsFrm"));
    EXPECT_FALSE(kit.boxes().empty());
    EXPECT_EQ(Sound_File, "Before.wav");
    kit.press("SoundsFrm", "Cancel");
    EXPECT_EQ(WindowKit::records(VenWav).size(), 1u);

    // Delete removes it at once, with no window.
    kit.highlight("SoundsBrw", 0);
    kit.press("SoundsBrw", "Delete");
    EXPECT_FALSE(kit.isOpen("SoundsFrm"));
    EXPECT_TRUE(WindowKit::records(VenWav).empty());
}

TEST(SoundFolder, RootsStayWhole)
{
    EXPECT_EQ(SoundFolderSetting("C:\\Sounds\\"), "C:\\Sounds");
    EXPECT_EQ(SoundFolderSetting("C:\\"), "C:\\");
    EXPECT_EQ(SoundFolderSetting("/"), "/");
    EXPECT_EQ(SoundFolderSetting("/usr/share/sounds/"), "/usr/share/sounds");
}

} // namespace
} // namespace ven::test
