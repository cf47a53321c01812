// The diary form through its widgets: a new entry's values per category,
// the time, advance, tape and date keys, saving with the alarm, the
// daily-note line and the sound settings, change and delete, a refused
// store, Send Fax, the clipboard, the lookups and the Documents tab.
#include "WindowKit.h"

#include "calendar/DailyNoteLine.h"
#include "calendar/DiaryFr.h"
#include "calendar/DiaryGlobals.h"
#include "core/AlarmScan.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/RecordForm.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace ven::test {
namespace {

// The kit's moment: Wednesday 9 December 2026, 10:00.
const int32_t kToday = dayNumber(2026, 12, 9);
int32_t dec(int day) { return dayNumber(2026, 12, day); }
int32_t at(int h, int m) { return timeValue(h, m, 0); }
int32_t minutes(int m) { return m * 6000 + 1; }

struct Entry {
    uint8_t category;
    int32_t bdate, btime, edate = 0, etime = 0;
    QString legend = {};
    int32_t warning = 0;
    uint8_t alarm = 0;
    QString memo = {};
    int32_t caller = 0;
    QString channel = {};
};

// Adds an entry under `number`.
void addEntry(int64_t number, const Entry& e)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    ASSERT_TRUE(f.open());
    Record& r = f.rec();
    r.clear();
    r.set(DRY::NUMBER, number);
    r.set(DRY::CATID, "D");
    r.set(DRY::CATEGORY, int(e.category));
    r.set(DRY::BDATE, e.bdate);
    r.set(DRY::BTIME, e.btime);
    r.set(DRY::EDATE, e.edate);
    r.set(DRY::ETIME, e.etime);
    r.set(DRY::LEGEND, e.legend);
    r.set(DRY::WARNING, e.warning);
    r.set(DRY::ALARM, int(e.alarm));
    r.set(DRY::MEMORANDUM, e.memo);
    r.set(DRY::CALLER, e.caller);
    r.set(DRY::C, e.channel);
    ASSERT_TRUE(f.add());
}

void addAlarm(int32_t nbr, int32_t drynum, const QString& sound = {})
{
    Context ctx;
    KeyedFile& f = ctx.file(VenAlarm);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(ALA::NBR, nbr);
    f.rec().set(ALA::DATE, kToday + 30);
    f.rec().set(ALA::TIME, at(8, 0));
    f.rec().set(ALA::DRYNUM, drynum);
    f.rec().set(ALA::MESSAGE, "M");
    f.rec().set(ALA::DOW, "N");
    f.rec().set(ALA::SOUND, sound);
    ASSERT_TRUE(f.add());
}

template <class Fill> void addRecord(const FileDef& def, Fill fill)
{
    Context ctx;
    KeyedFile& f = ctx.file(def);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    fill(f.rec());
    ASSERT_TRUE(f.add());
}

std::vector<Record> allRecords(const FileDef& def)
{
    return WindowKit::records(def);
}

std::optional<Record> alarmOf(int64_t drynum)
{
    for (const Record& a : allRecords(VenAlarm))
        if (a.num(ALA::DRYNUM) == drynum)
            return a;
    return std::nullopt;
}

QString noteOf(int32_t day)
{
    for (const Record& n : allRecords(VenNote))
        if (n.num(ANT::DATE) == day)
            return n.str(ANT::NOTE);
    return {};
}

// A procedure that stands in for a window this form calls: it notes its
// parameter and the document-owner globals, may fill its thread's buffer
// of a file, and ends at once with its response.
class StandIn : public WindowController {
public:
    StandIn(QStringList& runs, const QString& name, const QString& parameter, uint8_t response,
            std::function<void(StandIn&)> act = {})
        : WindowController(name, kDef, ProcedureTraits{}), runs_(runs), parameter_(parameter), response_(response),
          act_(std::move(act))
    {
    }

protected:
    bool setUp() override
    {
        runs_ << QStringLiteral("%1(%2) request %3").arg(procedure(), parameter_).arg(REQUEST);
        if (act_)
            act_(*this);
        RESPONSE = response_;
        return false;
    }

private:
    static inline const WindowDef kDef{.title = "StandIn", .controls = {}};
    QStringList& runs_;
    QString parameter_;
    uint8_t response_;
    std::function<void(StandIn&)> act_;
};

void resetDiaryGlobals()
{
    GCategory = 0;
    DiaryBeginDate = DiaryBeginTime = DiaryEndDate = DiaryEndTime = 0;
    LastBeginDate = LastBeginTime = LastEndDate = LastEndTime = 0;
    DiaryCopyRequested = 0;
    Sound_Path.clear();
    Sound_File.clear();
    GCatId.clear();
    GCatNum = 0;
    GDocPath.clear();
    GDocDescription.clear();
    AlarmsChanged = 0;
}

class DiaryFrTest : public testing::Test {
protected:
    DiaryFrTest()
    {
        InitDataFiles();
        resetDiaryGlobals();
    }
    ~DiaryFrTest() override
    {
        clearProcedures();
        resetDiaryGlobals();
    }

    // Runs the form on the frame's thread; for a change or delete the entry
    // with `number` is loaded into that thread's buffer first.
    void open(uint8_t request, int64_t number = 0)
    {
        if (number) {
            KeyedFile& f = threadContext(kFrameThread).file(VenDry);
            ASSERT_TRUE(f.open());
            f.rec().clear();
            f.rec().set(DRY::NUMBER, number);
            ASSERT_TRUE(f.get(DRY::NUMBER_KEY));
        }
        response = 0;
        kit.call(makeDiaryFr(), request, &response);
        ASSERT_TRUE(kit.isOpen("DiaryFr"));
    }
    // A copy of a listed entry, as the browse's Copy prepares it.
    void openCopy(const Entry& e)
    {
        KeyedFile& f = threadContext(kFrameThread).file(VenDry);
        ASSERT_TRUE(f.open());
        ASSERT_TRUE(f.primeRecord());
        Record& r = f.rec();
        r.set(DRY::CATEGORY, int(e.category));
        r.set(DRY::BDATE, e.bdate);
        r.set(DRY::BTIME, e.btime);
        r.set(DRY::EDATE, e.edate);
        r.set(DRY::ETIME, e.etime);
        r.set(DRY::WARNING, e.warning);
        r.set(DRY::ALARM, int(e.alarm));
        markInsertPrepared(f, true);
        DiaryCopyRequested = 1;
        kit.call(makeDiaryFr(), InsertRecord, &response);
        ASSERT_TRUE(kit.isOpen("DiaryFr"));
    }
    Record& buffer() { return dynamic_cast<RecordForm&>(kit.window("DiaryFr")).primary().rec(); }
    QString text(const QString& control) { return kit.text("DiaryFr", control); }
    bool shown(const QString& control) { return kit.control("DiaryFr", control).isVisible(); }
    // Replaces a field's text and leaves it with Tab, as a person would.
    void type(const QString& control, const QString& t)
    {
        kit.replaceText("DiaryFr", control, t);
        kit.tab("DiaryFr");
    }
    void press(const QString& control) { kit.press("DiaryFr", control); }
    void key(const QString& control, int combined) { kit.key("DiaryFr", combined, control); }
    void stand(const QString& name, uint8_t response, std::function<void(StandIn&)> act = {})
    {
        defineProcedure(name, [this, name, response, act](const QString& p) {
            return std::make_unique<StandIn>(runs, name, p, response, act);
        });
    }

    WindowKit kit;
    uint8_t response = 0;
    QStringList runs;
};

// ------------------------------------------------------- a new entry ---

TEST_F(DiaryFrTest, NewEntryStartsByItsCategory)
{
    struct Case {
        uint8_t gcategory;
        const char* title;
        int32_t bdate, btime, edate, etime;
        int32_t warning;
        bool alarm;
        std::vector<const char*> shown, hidden;
        const char* focus;
    };
    const int32_t now = at(10, 0);
    const Case cases[] = {
        {0, "Adding a Telephone Message/Fax", kToday, now, 0, 0, 1, false,
         {"MemoTab", "CallerBlock", "ClientBlock", "SendFax"}, {"EndDate", "Ch", "Alarm", "Advance", "GenMemo", "Sound"}, "BeginDate"},
        {1, "Adding a Project Event", dec(7), at(8, 0), dec(7), at(8, 0), 0, false,
         {"EndDate", "EndTime", "GenMemo"}, {"MemoTab", "CallerBlock", "SendFax", "Ch", "Alarm", "Advance", "Sound"}, "BeginDate"},
        {2, "Adding a Miscellaneous Note", kToday, now, 0, 0, 0, false, {"GenMemo"}, {"EndDate", "MemoTab", "Alarm", "Sound"}, "BeginDate"},
        // The last meeting was on the 5th; the selection's window begins on
        // the 7th, and the end follows the begin there.
        {3, "Adding a Meeting", dec(7), at(10, 0), dec(7), at(11, 0), minutes(60), true,
         {"EndDate", "Alarm", "Advance", "GenMemo", "Sound"}, {"MemoTab", "CallerBlock", "SendFax", "Ch", "Tp"}, "BeginDate"},
        {4, "Adding an Extra Event", dec(7), at(10, 0), dec(7), at(11, 0), minutes(1), true,
         {"EndDate", "Ch", "Tp", "Alarm", "Advance", "GenMemo", "Sound"}, {"MemoTab", "CallerBlock", "SendFax"}, "GenMemo"},
        {5, "Adding a Telephone Message/Fax", kToday, now, 0, 0, 1, false, {"SendFax"}, {"EndDate"}, "BeginDate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "GCategory " << int(c.gcategory));
        resetDiaryGlobals();
        GCategory = c.gcategory;
        DiaryBeginDate = dec(7);
        DiaryBeginTime = at(8, 0);
        DiaryEndDate = dec(31);
        LastBeginDate = LastEndDate = dec(5);
        LastBeginTime = at(10, 0);
        LastEndTime = at(11, 0);
        open(InsertRecord);
        const Record& r = buffer();
        EXPECT_EQ(kit.window("DiaryFr").window().title(), c.title);
        EXPECT_EQ(r.num(DRY::BDATE), c.bdate);
        EXPECT_EQ(r.num(DRY::BTIME), c.btime);
        EXPECT_EQ(r.num(DRY::EDATE), c.edate);
        EXPECT_EQ(r.num(DRY::ETIME), c.etime);
        EXPECT_EQ(r.num(DRY::WARNING), c.warning);
        EXPECT_EQ(r.num(DRY::ALARM), c.alarm ? 1 : 0);
        EXPECT_EQ(r.str(DRY::CATID), "D");
        EXPECT_EQ(text("BeginDate"), formatDate(c.bdate, u"D06-B"));
        EXPECT_EQ(text("BeginWeekday"), WeekdayName(c.bdate).left(3));
        for (const char* s : c.shown)
            EXPECT_TRUE(shown(s)) << s;
        for (const char* h : c.hidden)
            EXPECT_FALSE(shown(h)) << h;
        EXPECT_EQ(kit.window("DiaryFr").window().focusedControl(), c.focus);
        press("Cancel");
        EXPECT_EQ(response, RequestCancelled);
    }
}

TEST_F(DiaryFrTest, CopyKeepsTheCopiedTimesOnlyWhereTheCategoryDoes)
{
    LastBeginDate = LastEndDate = dec(1);
    LastBeginTime = at(7, 0);
    LastEndTime = at(7, 30);
    GCategory = 3;
    openCopy({3, dec(5), at(14, 0), dec(5), at(15, 0), {}, minutes(15), 0});
    EXPECT_EQ(buffer().num(DRY::BDATE), dec(5));
    EXPECT_EQ(buffer().num(DRY::BTIME), at(14, 0));
    EXPECT_EQ(buffer().num(DRY::ETIME), at(15, 0));
    EXPECT_EQ(buffer().num(DRY::WARNING), minutes(15));
    EXPECT_EQ(buffer().num(DRY::ALARM), 0);
    press("Cancel");
    EXPECT_EQ(DiaryCopyRequested, 0);  // cleared as the window closes

    GCategory = 2;
    openCopy({2, dec(5), at(14, 0)});
    EXPECT_EQ(buffer().num(DRY::BDATE), kToday);
    EXPECT_EQ(buffer().num(DRY::BTIME), at(10, 0));
}

TEST_F(DiaryFrTest, ACopyAcrossMidnightKeepsItsEndAndANewMeetingAfterItEndsAnHourOn)
{
    const int32_t newYear = dec(31) + 1;
    size_t copies = 0;
    for (const uint8_t category : {1, 3, 4}) {
        SCOPED_TRACE(category);
        GCategory = category;
        openCopy({category, dec(31), at(23, 30), newYear, at(0, 30), "Late show", minutes(15), 1});
        EXPECT_EQ(text("EndDate"), "01-01-2027");
        EXPECT_EQ(text("EndTime"), "00.30");
        press("OK");
        ASSERT_FALSE(kit.isOpen("DiaryFr"));
        const std::vector<Record> stored = allRecords(VenDry);
        ASSERT_EQ(stored.size(), ++copies);
        EXPECT_EQ(stored.back().num(DRY::CATEGORY), category);
        EXPECT_EQ(stored.back().num(DRY::BDATE), dec(31));
        EXPECT_EQ(stored.back().num(DRY::BTIME), at(23, 30));
        EXPECT_EQ(stored.back().num(DRY::EDATE), newYear);
        EXPECT_EQ(stored.back().num(DRY::ETIME), at(0, 30));
    }
    // A new meeting starts from the last one's times: not an empty one.
    GCategory = 3;
    DiaryBeginDate = dec(1);
    DiaryEndDate = newYear + 30;  // the selection's window
    open(InsertRecord);
    EXPECT_EQ(buffer().num(DRY::BDATE), dec(31));
    EXPECT_EQ(buffer().num(DRY::BTIME), at(23, 30));
    EXPECT_EQ(buffer().num(DRY::EDATE), newYear);
    EXPECT_EQ(buffer().num(DRY::ETIME), at(0, 30));
}

TEST_F(DiaryFrTest, SwitchingTheCategoryChangesOnlyWhatTheFormShows)
{
    open(InsertRecord);
    kit.choose("DiaryFr", "Category", "3");
    EXPECT_EQ(kit.window("DiaryFr").window().title(), "Adding a Meeting");
    EXPECT_EQ(buffer().num(DRY::CATEGORY), 3);
    EXPECT_TRUE(shown("Advance"));
    EXPECT_FALSE(shown("SendFax"));
    EXPECT_EQ(buffer().num(DRY::WARNING), 1);  // the meeting's values are not applied
    EXPECT_EQ(buffer().num(DRY::ALARM), 0);
    // An end appears with the category: the begin's day, an hour later.
    EXPECT_EQ(buffer().num(DRY::EDATE), kToday);
    EXPECT_EQ(buffer().num(DRY::ETIME), at(11, 0));
}

// ------------------------------------------------------------ the keys ---

TEST_F(DiaryFrTest, TimeAdvanceTapeAndDateKeys)
{
    GCategory = 4;
    DiaryBeginDate = kToday + 1;  // tomorrow: the advance is not lowered
    open(InsertRecord);
    const int up = Qt::Key_Up, down = Qt::Key_Down;
    const int shiftUp = (Qt::SHIFT | Qt::Key_Up).toCombined(), shiftDown = (Qt::SHIFT | Qt::Key_Down).toCombined();
    const int altUp = (Qt::ALT | Qt::Key_Up).toCombined(), ctrlUp = (Qt::CTRL | Qt::Key_Up).toCombined();
    const int ctrlDown = (Qt::CTRL | Qt::Key_Down).toCombined();
    struct Case {
        const char* control;
        const char* typed;
        int key;
        uint16_t field;
        QVariant expected;
    };
    const Case cases[] = {
        {"BeginTime", "10.03", shiftUp, DRY::BTIME, at(10, 10)},  // 10:08 to the nearest five minutes
        {"BeginTime", "00.02", shiftDown, DRY::BTIME, 100},
        {"BeginTime", "10.03", altUp, DRY::BTIME, at(10, 15)},
        {"BeginTime", "10.03", ctrlDown, DRY::BTIME, at(9, 5)},
        {"BeginTime", "23.58", ctrlUp, DRY::BTIME, 8634000},
        {"BeginTime", "10.03", up, DRY::BTIME, at(10, 4)},  // the spin's arrows: a minute
        {"BeginTime", "10.03", down, DRY::BTIME, at(10, 2)},
        {"Advance", "1.00", ctrlUp, DRY::WARNING, minutes(120)},
        {"Advance", "0.03", shiftDown, DRY::WARNING, 1},
        {"Advance", "0.10", up, DRY::WARNING, minutes(11)},
        {"Tp", "999", up, DRY::T, ""},
        {"Tp", "", down, DRY::T, "999"},
        {"BeginDate", "31-01-2026", altUp, DRY::BDATE, dayNumber(2026, 3, 3)},
        {"BeginDate", "31-01-2028", altUp, DRY::BDATE, dayNumber(2028, 3, 2)},
        {"BeginDate", "29-02-2028", ctrlUp, DRY::BDATE, dayNumber(2029, 3, 1)},
        {"BeginDate", "09-12-2026", shiftDown, DRY::BDATE, dec(2)},
        {"BeginDate", "01-01-1900", down, DRY::BDATE, dayNumber(1900, 1, 1)},  // held within 1900 .. 2099
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.control << " " << c.typed << " key " << c.key);
        type(c.control, c.typed);
        key(c.control, c.key);
        if (c.expected.typeId() == QMetaType::QString)
            EXPECT_EQ(buffer().str(c.field), c.expected.toString());
        else
            EXPECT_EQ(buffer().num(c.field), c.expected.toLongLong());
    }
    EXPECT_EQ(text("BeginWeekday"), "Mon");  // 1 January 1900
}

// A date or time typed but not yet confirmed is where a stepping key starts.
TEST_F(DiaryFrTest, SteppingKeysStartFromTheTypedValue)
{
    GCategory = 3;
    DiaryBeginDate = kToday + 1;
    open(InsertRecord);
    kit.replaceText("DiaryFr", "BeginDate", "31-01-2025");
    key("BeginDate", (Qt::ALT | Qt::Key_Up).toCombined());
    EXPECT_EQ(buffer().num(DRY::BDATE), dayNumber(2025, 3, 3));
    EXPECT_EQ(text("BeginDate"), "03-03-2025");
    kit.replaceText("DiaryFr", "BeginTime", "14.02");
    key("BeginTime", (Qt::SHIFT | Qt::Key_Up).toCombined());
    EXPECT_EQ(buffer().num(DRY::BTIME), at(14, 5));
}

TEST_F(DiaryFrTest, AdvanceOnTodaysMeetingLeavesAMinuteBeforeTheAlarm)
{
    struct Case {
        const char* begin;
        int32_t expected;
    };
    const Case cases[] = {
        {"10.10", minutes(8)},  // exactly 10 minutes from now: an hour becomes 8 whole minutes
        {"10.12", minutes(10)},
        {"09.50", minutes(-12)},  // passed: below 0, so that the alarm lies a minute ahead (10:02)
    };
    GCategory = 3;
    DiaryBeginDate = kToday;
    open(InsertRecord);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin);
        type("BeginTime", c.begin);
        type("Advance", "1.00");
        EXPECT_EQ(buffer().num(DRY::WARNING), c.expected);
    }
}

TEST_F(DiaryFrTest, EnteringTheBeginTimeMovesTheEndAnHourOn)
{
    addEntry(1, {1, kToday, at(23, 30), kToday, at(23, 30), "Late"});
    open(ChangeRecord, 1);
    kit.control("DiaryFr", "BeginTime").select();
    kit.settle();
    EXPECT_EQ(buffer().num(DRY::EDATE), kToday + 1);
    EXPECT_EQ(buffer().num(DRY::ETIME), at(0, 30));
}

// ---------------------------------------------------------------- saving ---

// An alarm that cannot be written is told, and the form stays open on the
// stored entry; OK then tries the alarm again.
TEST_F(DiaryFrTest, AnAlarmThatCannotBeWrittenIsToldAndTheFormStaysOpen)
{
    GCategory = 3;
    DiaryBeginDate = kToday;
    open(InsertRecord);
    type("BeginTime", "10.30");
    type("Legend", "Budget");
    const QString path = Store::instance().pathOf(VenAlarm);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write(QByteArray(8192, '\x5a'));  // the alarm file is damaged under the open form
    }
    press("OK");
    ASSERT_TRUE(kit.isOpen("DiaryFr")) << "the entry is kept open";
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_TRUE(kit.boxes().back().text.contains("VenAlarm")) << kit.boxes().back().text.toStdString();
    EXPECT_EQ(allRecords(VenDry).size(), 1u) << "the entry itself is stored";
    press("Cancel");
    EXPECT_FALSE(kit.isOpen("DiaryFr"));
}

TEST_F(DiaryFrTest, SavingAMeetingWritesItsAlarmItsNoteLineAndTheSound)
{
    const QString sounds = kit.folder("Sounds") + "/";
    QDir().mkpath(sounds);
    addRecord(VenWav, [&](Record& r) {
        r.set(WAV::FILENAME, "Bell.wav");
        r.set(WAV::FILEPATH, sounds);
    });
    addRecord(VenWav, [&](Record& r) { r.set(WAV::FILENAME, "Gong.wav"); });
    for (int nbr : {1, 2, 4})
        addAlarm(nbr, 0);  // alarms of their own; the new one fills the gap
    GCategory = 3;
    DiaryBeginDate = kToday;
    open(InsertRecord);
    type("BeginTime", "10.12");
    type("EndTime", "11.00");
    type("Legend", "Budget");
    type("Advance", "0.10");
    kit.choose("DiaryFr", "Sound", "Bell.wav");
    QWidget* memo = kit.control("DiaryFr", "GenMemo").widget();
    memo->setFocus();
    QTest::keyClicks(memo, "Agenda");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "Figures");
    press("OK");
    ASSERT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_TRUE(kit.boxes().empty());

    const std::vector<Record> entries = allRecords(VenDry);
    ASSERT_EQ(entries.size(), 1u);
    const Record& e = entries[0];
    EXPECT_EQ(e.num(DRY::NUMBER), 2);  // the record reserved for the insert is counted
    EXPECT_EQ(e.num(DRY::CATEGORY), 3);
    EXPECT_EQ(e.num(DRY::BDATE), kToday);
    EXPECT_EQ(e.num(DRY::BTIME), at(10, 12));
    EXPECT_EQ(e.num(DRY::EDATE), kToday);
    EXPECT_EQ(e.num(DRY::ETIME), at(11, 0));
    EXPECT_EQ(e.str(DRY::LEGEND), "Budget");
    EXPECT_EQ(e.num(DRY::WARNING), minutes(10));
    EXPECT_EQ(e.num(DRY::ALARM), 1);
    EXPECT_EQ(e.str(DRY::MEMORANDUM), "Agenda\r\nFigures");  // the General box, with the system's line ends

    const std::optional<Record> a = alarmOf(2);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->num(ALA::NBR), 3);
    EXPECT_EQ(a->num(ALA::DATE), kToday);
    EXPECT_EQ(a->num(ALA::TIME), at(10, 12));
    EXPECT_EQ(a->num(ALA::WARNING), minutes(10));
    EXPECT_EQ(a->str(ALA::MESSAGE), "M");
    EXPECT_EQ(a->str(ALA::DOW), "N");
    EXPECT_EQ(a->str(ALA::ACTION), "Budget");
    EXPECT_EQ(a->str(ALA::SOUND), sounds + "Bell.wav");
    EXPECT_EQ(a->num(ALA::LOG), 1);
    EXPECT_EQ(a->num(ALA::IMPORTANT), 0);

    EXPECT_EQ(noteOf(kToday), "10.12 Budget\r\n");
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_Path", "?"), kit.folder("Sounds"));
    EXPECT_EQ(readIni(kit.ini(), "Paths", "Sound_File", "?"), "Bell.wav");
    EXPECT_EQ(Sound_Path, kit.folder("Sounds"));
    EXPECT_EQ(LastBeginTime, at(10, 12));
    EXPECT_EQ(LastEndDate, kToday);
    EXPECT_EQ(AlarmsChanged, 1);
    EXPECT_EQ(GCatNum, 2u);
}

TEST_F(DiaryFrTest, AnExtraEventsAlarmNamesItsChannelAndEnd)
{
    addEntry(1, {4, dec(20), at(20, 15), dec(20), at(21, 45), "News", minutes(1), 0, {}, 0, "7"});
    Sound_Path = "/snd";
    Sound_File = "Tone.wav";
    open(ChangeRecord, 1);
    press("OK");
    const std::optional<Record> a = alarmOf(1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->str(ALA::ACTION), "- 21.45 Ch7: News");
    EXPECT_EQ(a->num(ALA::IMPORTANT), 9);  // the alarm box is clear: kept, never fired
    EXPECT_EQ(a->str(ALA::SOUND), "/snd/Tone.wav");  // a new alarm without a chosen sound
    EXPECT_EQ(noteOf(dec(20)), "");  // only meetings write note lines
}

TEST_F(DiaryFrTest, ChangingOrDeletingAMeetingKeepsItsAlarmInStep)
{
    struct Case {
        uint8_t request;
        const char* category;  // chosen before OK; nullptr keeps it
        bool alarmKept;
        const char* note;      // the day's note afterwards
    };
    const Case cases[] = {
        {ChangeRecord, nullptr, true, "09.30 Budget (Changed!)\r\n"},
        {ChangeRecord, "2", false, "09.30 Budget (Changed!)\r\n"},  // a note has no alarm, and no line
        {DeleteRecord, nullptr, false, "09.30 Budget (Changed!)\r\n\r\n09.30 Budget (Cancelled!)\r\n"},
    };
    int64_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "request " << int(c.request) << " category " << (c.category ? c.category : "-"));
        ++number;
        addEntry(number, {3, dec(15), at(9, 30), dec(15), at(10, 30), "Budget", minutes(60), 1});
        addAlarm(int32_t(number), int32_t(number), "/snd/Bell.wav");
        Sound_Path = "/other";  // chosen since in another form
        Sound_File = "Gong.wav";
        open(c.request, number);
        if (c.category)
            kit.choose("DiaryFr", "Category", c.category);
        press("OK");
        ASSERT_FALSE(kit.isOpen("DiaryFr"));
        const std::optional<Record> a = alarmOf(number);
        EXPECT_EQ(bool(a), c.alarmKept);
        if (a) {
            EXPECT_EQ(a->num(ALA::NBR), number);
            EXPECT_EQ(a->str(ALA::SOUND), "/snd/Bell.wav");  // no sound chosen: its own stays
            EXPECT_EQ(a->num(ALA::IMPORTANT), 0);
        }
        EXPECT_EQ(noteOf(dec(15)), c.note);
    }
    EXPECT_EQ(allRecords(VenDry).size(), 2u);
}

TEST_F(DiaryFrTest, ARefusedStoreWritesNoLineAndNoAlarmAndTheNextOkWritesThemOnce)
{
    addEntry(1, {3, dec(15), at(9, 30), dec(15), at(10, 30), "Budget", minutes(60), 1});
    open(ChangeRecord, 1);
    {
        // Another station changes the entry meanwhile.
        Context other;
        KeyedFile& f = other.file(VenDry);
        ASSERT_TRUE(f.open());
        f.rec().set(DRY::NUMBER, 1);
        ASSERT_TRUE(f.get(DRY::NUMBER_KEY));
        f.rec().set(DRY::LEGEND, "Budget review");
        ASSERT_TRUE(f.put());
    }
    press("OK");
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Record Was Not Updated");
    EXPECT_EQ(noteOf(dec(15)), "");
    EXPECT_FALSE(alarmOf(1));

    press("OK");
    ASSERT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(noteOf(dec(15)), "09.30 Budget review (Changed!)\r\n");
    EXPECT_EQ(allRecords(VenAlarm).size(), 1u);
}

TEST_F(DiaryFrTest, DailyNoteLinesFollowOneAnotherAndStopAtTheNotesSize)
{
    KeyedFile& notes = threadContext(kFrameThread).file(VenNote);
    ASSERT_TRUE(notes.open());
    ASSERT_TRUE(AppendDailyNoteLine(notes, dec(1), at(9, 30), "Budget"));
    ASSERT_TRUE(AppendDailyNoteLine(notes, dec(1), at(9, 30), "Budget (Changed!)"));
    EXPECT_EQ(noteOf(dec(1)), "09.30 Budget\r\n\r\n09.30 Budget (Changed!)\r\n");
    const QString full(1024, u'n');
    addRecord(VenNote, [&](Record& r) {
        r.set(ANT::DATE, dec(2));
        r.set(ANT::NOTE, full);
    });
    ASSERT_TRUE(AppendDailyNoteLine(notes, dec(2), at(9, 30), "Lost"));
    EXPECT_EQ(noteOf(dec(2)), full);
    notes.close();
}

// ---------------------------------------------------- Send Fax, clipboard ---

TEST_F(DiaryFrTest, SendFaxNeedsCallerLegendAndMemoAndStoresTheEntryOnce)
{
    stand("FaximileRp", RequestCompleted);
    addRecord(VenNam, [](Record& r) {
        r.set(NAM::RECNO, 7);
        r.set(NAM::LASTNAME, "Korhonen");
    });
    open(InsertRecord);
    press("SendFax");
    EXPECT_EQ(kit.window("DiaryFr").window().focusedControl(), "CallerRecNo");
    type("CallerRecNo", "7");
    EXPECT_EQ(text("CallerLast"), "Korhonen");
    press("SendFax");
    EXPECT_EQ(kit.window("DiaryFr").window().focusedControl(), "Legend");
    type("Legend", "Offer");
    press("SendFax");
    EXPECT_EQ(kit.window("DiaryFr").window().focusedControl(), "Memo");
    EXPECT_TRUE(runs.isEmpty());

    kit.control("DiaryFr", "Memo").setText("Prices for 2027");
    press("SendFax");
    ASSERT_EQ(runs.size(), 1);
    const int64_t number = buffer().num(DRY::NUMBER);
    EXPECT_EQ(runs[0], QStringLiteral("FaximileRp(%1) request 0").arg(number));
    ASSERT_EQ(allRecords(VenDry).size(), 1u);
    EXPECT_EQ(allRecords(VenDry)[0].str(DRY::MEMORANDUM), "Prices for 2027");
    EXPECT_TRUE(kit.isOpen("DiaryFr"));

    kit.choose("DiaryFr", "Sheet", "1");
    type("Legend", "Offer sent");
    press("OK");
    EXPECT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_TRUE(kit.boxes().empty());
    ASSERT_EQ(allRecords(VenDry).size(), 1u);
    EXPECT_EQ(allRecords(VenDry)[0].str(DRY::LEGEND), "Offer sent");
    EXPECT_EQ(allRecords(VenDry)[0].num(DRY::NUMBER), number);
}

TEST_F(DiaryFrTest, ClipboardTextPerCategory)
{
    const QString tilde = QString(60, u'~') + "\r\n";
    struct Case {
        Entry entry;
        QString expected;
    };
    const Case cases[] = {
        {{1, dec(14), at(10, 0), dec(15), at(12, 0), "Roadmap", 0, 0, "Scope"},
         "Project from  : Mon 14-12-2026 10.00 to Tue 15-12-2026 12.00\r\n                Roadmap\r\n"
         "Document      : \r\nMemorandum    : \r\nScope\r\n" + tilde},
        {{2, dec(14), at(8, 5), 0, 0, "Idea"}, "Note: Mon 14-12-2026 08.05\r\n      Idea\r\nDoc : \r\nMemo: \r\n\r\n" + tilde},
        {{4, dec(14), at(20, 15), dec(14), at(21, 45), "News", 0, 0, "Tape 3", 0, "7"},
         "Ch7: 20.15-21.45 News\r\nTape 3\r\n" + tilde},
        {{0, dec(14), at(9, 0), 0, 0, "Call back", 0, 0, "Soon", 7},
         "Phone Message : Mon 14-12-2026 at 09.00\r\nCall back\r\nCaller        : Aino Korhonen\r\n"
         "                Acme\r\n                555, , \r\n                \r\n                \r\n"
         "                \r\n                 \r\nCustomer      :  \r\n                \r\n"
         "                , , \r\n                \r\n                \r\n                \r\n"
         "                 \r\nDocument      : \r\nMemorandum    : \r\nSoon\r\n" + tilde},
    };
    addRecord(VenNam, [](Record& r) {
        r.set(NAM::RECNO, 7);
        r.set(NAM::FIRSTNAME, "Aino");
        r.set(NAM::LASTNAME, "Korhonen");
        r.set(NAM::ORG, "Acme");
        r.set(NAM::TEL1, "555");
    });
    int64_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "category " << int(c.entry.category));
        addEntry(++number, c.entry);
        open(ChangeRecord, number);
        QGuiApplication::clipboard()->clear();
        press("Clipbrd");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.expected) << QGuiApplication::clipboard()->text().toStdString();
        press("Cancel");
    }
}

// ------------------------------------------------------------ lookups ---

TEST_F(DiaryFrTest, APickedProjectBecomesLegendAndMemorandum)
{
    struct Case {
        int part, total;
        const char* legend;
    };
    const Case cases[] = {{2, 5, "Garden (2/5)"}, {2, 0, "Garden #2"}, {0, 5, "Garden (?/5)"}, {0, 0, "Garden"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        stand("ProjectBr", RequestCompleted, [&c](StandIn& w) {
            Record& p = w.file(VenPro).rec();
            p.clear();
            p.set(PRO::CATEGORY, 1);
            p.set(PRO::NUMBER, 12);
            p.set(PRO::NAME, "Garden");
            p.set(PRO::TRANS, "Yard");
            p.set(PRO::PART, c.part);
            p.set(PRO::TOTAL, c.total);
            p.set(PRO::MEMO, "Seeds");
        });
        GCategory = 1;
        open(InsertRecord);
        press("ProjectLookup");
        EXPECT_EQ(buffer().str(DRY::LEGEND), c.legend);
        EXPECT_EQ(buffer().num(DRY::PROJECT), 12);
        const QString mark = QString::fromUtf8(c.legend).mid(6);
        EXPECT_EQ(buffer().str(DRY::MEMORANDUM), "Yard" + mark + "\r\nSeeds");
        EXPECT_EQ(text("GenMemo"), "Yard" + mark + "\nSeeds");
        press("Cancel");
    }
    // Without the project list the legend stays as it was.
    clearProcedures();
    open(InsertRecord);
    type("Legend", "Mine");
    press("ProjectLookup");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure ProjectBr has not been defined.");
    EXPECT_EQ(buffer().str(DRY::LEGEND), "Mine");
}

TEST_F(DiaryFrTest, TypedContactsAreLookedUpAndAnUnknownOneAsksTheNamesList)
{
    addRecord(VenNam, [](Record& r) {
        r.set(NAM::RECNO, 7);
        r.set(NAM::FIRSTNAME, "Aino");
        r.set(NAM::LASTNAME, "Korhonen");
        r.set(NAM::ORG, "Acme");
        r.set(NAM::CITY, "Turku");
    });
    open(InsertRecord);
    type("ClientOrg", "acme");
    EXPECT_EQ(buffer().num(DRY::CLIENT), 7);
    EXPECT_EQ(text("ClientLast"), "Korhonen");
    EXPECT_EQ(text("ClientCity"), "Turku");
    EXPECT_EQ(text("ClientOrg"), "acme");  // the typed entry stays as typed

    // No names list: the lookup is cancelled; the number stays as typed.
    type("CallerRecNo", "8");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure NameBr has not been defined.");
    EXPECT_EQ(buffer().num(DRY::CALLER), 8);
    EXPECT_EQ(text("CallerLast"), "");

    stand("NameBr", RequestCompleted, [](StandIn& w) {
        Record& n = w.file(VenNam).rec();
        n.clear();
        n.set(NAM::RECNO, 7);
        n.set(NAM::LASTNAME, "Korhonen");
        n.set(NAM::ORG, "Acme");
    });
    type("CallerLast", "Nobody");
    EXPECT_EQ(runs.size(), 1) << runs.join(";").toStdString();
    EXPECT_EQ(buffer().num(DRY::CALLER), 7);
    EXPECT_EQ(text("CallerLast"), "Korhonen");
    EXPECT_EQ(text("CallerOrg"), "Acme");
}

// ---------------------------------------------------------- documents ---

TEST_F(DiaryFrTest, DocumentsTabListsTheEntrysDocumentsAndRunsTheDocumentForm)
{
    addEntry(3, {2, dec(14), at(8, 0), 0, 0, "Plan"});
    for (const auto& [catnum, name, path] : {std::tuple{3, "plan.txt", "/docs/"}, std::tuple{4, "other.txt", "/docs/"},
                                            std::tuple{3, "nopath.txt", ""}})
        addRecord(VenDoc, [&](Record& r) {
            static int docnum = 0;
            r.set(DOC::DOCNUM, ++docnum);
            r.set(DOC::CATID, "D");
            r.set(DOC::CATNUM, catnum);
            r.set(DOC::DOCNAME, name);
            r.set(DOC::DOCPATH, path);
        });
    stand("UpdateVenDoc", RequestCompleted);
    open(ChangeRecord, 3);
    kit.choose("DiaryFr", "Sheet", "3");
    ASSERT_EQ(kit.rows("DiaryFr", "DocList"), 2);
    EXPECT_EQ(kit.cell("DiaryFr", 0, 0, "DocList"), "plan.txt");
    EXPECT_EQ(kit.cell("DiaryFr", 1, 0, "DocList"), "nopath.txt");
    EXPECT_TRUE(shown("DocOpen"));
    kit.highlight("DiaryFr", 1, "DocList");
    EXPECT_FALSE(shown("DocOpen"));

    press("DocInsert");
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0], "UpdateVenDoc() request 1");
    EXPECT_EQ(GCatId, "D");
    EXPECT_EQ(GCatNum, 3u);
    EXPECT_EQ(GDocDescription, "Plan");
    EXPECT_EQ(GDocPath, "");
}

} // namespace
} // namespace ven::test
