// The diary form: its window, the five categories and what each shows, a
// new entry's values, the date, time and advance keys, the field rules, the
// project and name lookups, and what OK, Send Fax, Clip&brd and the
// Documents tab do.
#include "calendar/DiaryFr.h"

#include "calendar/DailyNoteLine.h"
#include "platform/DateField.h"
#include "calendar/DiaryGlobals.h"
#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/OpenDocument.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Numbering.h"
#include "platform/Picture.h"
#include "platform/RecordForm.h"
#include "platform/SettingsFile.h"
#include "platform/Shell.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <deque>

namespace ven {
namespace {

enum Category : uint8_t { PhoneFax = 0, Project = 1, Notes = 2, Meeting = 3, Extra = 4 };

constexpr int32_t kMinute = 6000;
constexpr int32_t kFiveMinutes = 30000;
constexpr int32_t kHour = 360000;
constexpr int32_t kLateBegin = 8280000;   // 23:00: from here an hour later is the next day
constexpr int32_t kFirstDiaryDay = 36163;  // 1 January 1900
constexpr int32_t kLastDiaryDay = 109211;  // 31 December 2099
constexpr int32_t kLowTime = 100;
constexpr int32_t kHighTime = 8637001;
constexpr int32_t kTopTimeStep = 8634000;  // where an upward time key stops

const QString kCrLf = QStringLiteral("\r\n");

// Shift, Alt and Ctrl with Up or Down on the time and advance spins: the
// time keys, an upward step of a begin or end stopped at 23:55.
const StepKeys kBeginEndKeys{.shift = 30000, .alt = 60000, .ctrl = 360000, .snap = kFiveMinutes, .cap = kTopTimeStep};
const StepKeys kAdvanceKeys{.shift = 30000, .alt = 60000, .ctrl = 360000, .snap = kFiveMinutes, .cap = kHighTime};


// ------------------------------------------------------------- window ---

const char* const kTimeTip =
    "Up/Down: 1 minute\nShift+Up/Down: 5 minutes\nAlt+Up/Down: 10 minutes\nCtrl+Up/Down: 1 hour";
const char* const kSoundTip =
    "Select Sound Effect.\r\n\r\nGo to Registers -> Sound Effests\r\nto add or change Sound Effects.";

// The caller's and the customer's blocks: the same controls side by side,
// named by their prefix ("CallerOrg", "ClientOrg").
struct BlockDef {
    const char* prefix;
    const char* title;
    int x;
    const char* use;  // the entry's name link
    uint16_t field;
};
const BlockDef kBlocks[] = {
    {"Caller", "Caller", 4, "DRY:CALLER", DRY::CALLER},
    {"Client", "Customer", 162, "DRY:CLIENT", DRY::CLIENT},
};

// The contact lines of a block, copied trimmed from the names register.
struct Contact {
    QString org, first, last, tel1, tel2, fax, email, url, street, zip, city;
};
struct ContactLine {
    QString Contact::*line;
    uint16_t nam;
    int size;
    const char* control;  // the control's name after the block's prefix
    int x, y, w;          // display lines: place within the block (entries: w 0)
};
const ContactLine kContactLines[] = {
    {&Contact::org, NAM::ORG, 40, "Org", 0, 0, 0},
    {&Contact::first, NAM::FIRSTNAME, 20, "First", 0, 0, 0},
    {&Contact::last, NAM::LASTNAME, 20, "Last", 0, 0, 0},
    {&Contact::tel1, NAM::TEL1, 25, "Tel1", 4, 54, 74},
    {&Contact::tel2, NAM::TEL2, 25, "Tel2", 80, 54, 74},
    {&Contact::fax, NAM::FAX, 25, "Fax", 4, 62, 74},
    {&Contact::zip, NAM::ZIPCODE, 10, "Zip", 80, 62, 24},
    {&Contact::city, NAM::CITY, 20, "City", 106, 62, 48},
    {&Contact::street, NAM::STREET, 40, "Street", 4, 70, 150},
    {&Contact::email, NAM::EMAIL, 80, "Email", 4, 78, 74},
    {&Contact::url, NAM::URL, 80, "Url", 80, 78, 74},
};

// The typed entries of a block, each with its lookup button, and the key
// of the names register that the typed value is looked up by.
struct ContactEntry {
    const char* control;
    const char* prompt;
    const char* picture;
    int nam;   // the field typed into; NAM::RECNO for the number
    int key;
    QString Contact::*line;  // nullptr for the number
};
const ContactEntry kContactEntries[] = {
    {"RecNo", "RecNo:", "n06b", NAM::RECNO, NAM::RECNOKEY, nullptr},
    {"Org", "Organization:", "s40", NAM::ORG, NAM::ORG_KEY, &Contact::org},
    {"First", "FirstName:", "s20", NAM::FIRSTNAME, NAM::ETU_KEY, &Contact::first},
    {"Last", "LastName:", "s20", NAM::LASTNAME, NAM::SUKU_KEY, &Contact::last},
};

// Names made for the generated block controls, kept for the program's life.
const char* keep(const QString& name)
{
    static std::deque<QByteArray> names;
    names.push_back(name.toUtf8());
    return names.back().constData();
}

void addBlock(std::vector<ControlDef>& c, const BlockDef& b)
{
    const QString p = QString::fromUtf8(b.prefix);
    const char* block = keep(p + "Block");
    c.push_back({.name = block, .kind = Kind::Group, .text = b.title, .x = b.x, .y = 72, .w = 156, .h = 88, .parent = "General"});
    int y = 80;
    for (const ContactEntry& e : kContactEntries) {
        const QString n = p + e.control;
        c.push_back({.name = keep(n + "Prompt"), .kind = Kind::Prompt, .text = e.prompt, .x = b.x + 4, .y = y + 2, .w = 44, .h = 10, .parent = block});
        c.push_back({.name = keep(n), .kind = Kind::Entry, .x = b.x + 48, .y = y, .w = 90, .h = 11, .parent = block,
                     .picture = e.picture, .use = e.line ? "" : b.use});
        c.push_back({.name = keep(n + "Lookup"), .kind = Kind::Button, .text = "...", .x = b.x + 140, .y = y, .w = 12, .h = 11, .parent = block});
        y += 11;
    }
    for (const ContactLine& l : kContactLines)
        if (l.w)
            c.push_back({.name = keep(p + l.control), .kind = Kind::String, .x = b.x + l.x, .y = 72 + l.y, .w = l.w, .h = 8,
                         .parent = block, .picture = keep(QStringLiteral("s%1").arg(l.size))});
}

const WindowDef& diaryFrDef()
{
    static const WindowDef def = [] {
        WindowDef d{.title = "Diary", .w = 325, .h = 202, .icon = "Memo.ico", .controls = {}};
        std::vector<ControlDef> c = {
            {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 2, .w = 321, .h = 178},
            {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
            {.name = "MemoTab", .kind = Kind::Tab, .text = "Memorandum", .parent = "Sheet"},
            {.name = "DocsTab", .kind = Kind::Tab, .text = "Documents", .parent = "Sheet"},

            {.name = "Category", .kind = Kind::Option, .text = "Category", .x = 6, .y = 16, .w = 312, .h = 22, .parent = "General"},
            {.name = "CatPhone", .kind = Kind::Radio, .text = " Phone/&Fax", .x = 12, .y = 25, .w = 58, .h = 10, .parent = "Category", .use = "0"},
            {.name = "CatProject", .kind = Kind::Radio, .text = " &Project", .x = 74, .y = 25, .w = 58, .h = 10, .parent = "Category", .use = "1"},
            {.name = "CatNotes", .kind = Kind::Radio, .text = " &Notes", .x = 136, .y = 25, .w = 58, .h = 10, .parent = "Category", .use = "2"},
            {.name = "CatMeet", .kind = Kind::Radio, .text = " &Meet", .x = 198, .y = 25, .w = 58, .h = 10, .parent = "Category", .use = "3"},
            {.name = "CatExtra", .kind = Kind::Radio, .text = " &Extra", .x = 260, .y = 25, .w = 54, .h = 10, .parent = "Category", .use = "4"},

            {.name = "BeginPrompt", .kind = Kind::Prompt, .text = "Begin:", .x = 6, .y = 42, .w = 22, .h = 10, .parent = "General"},
            {.name = "BeginDate", .kind = Kind::Spin, .x = 28, .y = 40, .w = 54, .h = 12, .parent = "General", .picture = "D06-B",
             .tip = "Right Click for Calendar", .use = "DRY:BDATE", .low = 1, .high = kLastDiaryDay},
            {.name = "BeginWeekday", .kind = Kind::String, .x = 84, .y = 42, .w = 16, .h = 10, .parent = "General", .picture = "s3"},
            {.name = "BeginTime", .kind = Kind::Spin, .x = 102, .y = 40, .w = 34, .h = 12, .parent = "General", .picture = "T01.B",
             .tip = kTimeTip, .use = "DRY:BTIME", .low = kLowTime, .step = kMinute, .keys = &kBeginEndKeys},
            {.name = "EndPrompt", .kind = Kind::Prompt, .text = "End:", .x = 142, .y = 42, .w = 18, .h = 10, .parent = "General"},
            {.name = "EndDate", .kind = Kind::Spin, .x = 160, .y = 40, .w = 54, .h = 12, .parent = "General", .picture = "D06-B",
             .tip = "Right Click for Calendar", .use = "DRY:EDATE", .low = 1, .high = kLastDiaryDay},
            {.name = "EndWeekday", .kind = Kind::String, .x = 216, .y = 42, .w = 16, .h = 10, .parent = "General", .picture = "s3"},
            {.name = "EndTime", .kind = Kind::Spin, .x = 234, .y = 40, .w = 34, .h = 12, .parent = "General", .picture = "T01.B",
             .tip = kTimeTip, .use = "DRY:ETIME", .low = kLowTime, .step = kMinute, .keys = &kBeginEndKeys},
            {.name = "ChPrompt", .kind = Kind::Prompt, .text = "Ch:", .x = 272, .y = 42, .w = 12, .h = 10, .parent = "General"},
            {.name = "Ch", .kind = Kind::Spin, .x = 286, .y = 40, .w = 32, .h = 12, .parent = "General", .picture = "n2B",
             .tip = "Chanel", .use = "DRY:C", .low = 1, .high = 99},
            {.name = "LegendPrompt", .kind = Kind::Prompt, .text = "Legend:", .x = 6, .y = 58, .w = 28, .h = 10, .parent = "General"},
            {.name = "Legend", .kind = Kind::Entry, .x = 36, .y = 56, .w = 218, .h = 12, .parent = "General", .picture = "s255", .use = "DRY:LEGEND"},
            {.name = "ProjectLookup", .kind = Kind::Button, .text = "...", .x = 256, .y = 56, .w = 12, .h = 12, .parent = "General",
             .tip = "Lookup Project Name"},
            {.name = "TpPrompt", .kind = Kind::Prompt, .text = "Tp:", .x = 272, .y = 58, .w = 12, .h = 10, .parent = "General"},
            {.name = "Tp", .kind = Kind::Spin, .x = 286, .y = 56, .w = 32, .h = 12, .parent = "General", .picture = "N-04B",
             .tip = "Tape Number", .use = "DRY:T"},
        };
        for (const BlockDef& b : kBlocks)
            addBlock(c, b);
        const std::vector<ControlDef> rest = {
            // Over the two blocks; shown while they are hidden.
            {.name = "GenMemo", .kind = Kind::Text, .x = 6, .y = 74, .w = 312, .h = 84, .parent = "General"},
            {.name = "Alarm", .kind = Kind::Check, .text = "Alarm", .x = 6, .y = 163, .w = 34, .h = 11, .parent = "General", .use = "DRY:ALARM"},
            {.name = "Advance", .kind = Kind::Spin, .x = 42, .y = 162, .w = 34, .h = 12, .parent = "General", .picture = "T1.B",
             .tip = "Alarm Advance", .use = "DRY:WARNING", .low = kLowTime, .step = kMinute, .keys = &kAdvanceKeys},
            {.name = "Sound", .kind = Kind::Combo, .x = 82, .y = 162, .w = 140, .h = 12, .parent = "General", .tip = kSoundTip},
            {.name = "NoteImage", .kind = Kind::Image, .x = 300, .y = 161, .w = 14, .h = 14, .parent = "General", .icon = "Note.ico"},

            {.name = "Memo", .kind = Kind::Text, .x = 6, .y = 18, .w = 312, .h = 156, .parent = "MemoTab", .use = "DRY:MEMORANDUM"},

            {.name = "DocList", .kind = Kind::List, .x = 6, .y = 18, .w = 312, .h = 136, .parent = "DocsTab"},
            {.name = "DocOpen", .kind = Kind::Button, .text = "Open", .x = 6, .y = 158, .w = 46, .h = 14, .parent = "DocsTab"},
            {.name = "DocInsert", .kind = Kind::Button, .text = "&Insert", .x = 170, .y = 158, .w = 46, .h = 14, .parent = "DocsTab"},
            {.name = "DocChange", .kind = Kind::Button, .text = "&Change", .x = 220, .y = 158, .w = 46, .h = 14, .parent = "DocsTab"},
            {.name = "DocDelete", .kind = Kind::Button, .text = "&Delete", .x = 270, .y = 158, .w = 46, .h = 14, .parent = "DocsTab"},

            {.name = "SendFax", .kind = Kind::Button, .text = "Send Fax", .x = 4, .y = 184, .w = 50, .h = 14, .tip = "\n Send Fax \n"},
            {.name = "Clipbrd", .kind = Kind::Button, .text = "Clip&brd", .x = 58, .y = 184, .w = 44, .h = 14, .tip = "Copy to Clipboard"},
            {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 170, .y = 184, .w = 46, .h = 14, .flags = Default},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 220, .y = 184, .w = 46, .h = 14, .closes = RequestCancelled},
            {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 270, .y = 184, .w = 46, .h = 14, .flags = HelpButton},
        };
        c.insert(c.end(), rest.begin(), rest.end());
        d.controls = std::move(c);
        return d;
    }();
    return def;
}

// ---------------------------------------------------------- categories ---

// What a category shows; everything else of the list below is hidden.
enum Shows : unsigned {
    MemoTab = 1u << 0,
    Contacts = 1u << 1,
    FaxButton = 1u << 2,
    EndFields = 1u << 3,
    ChTp = 1u << 4,
    AlarmBox = 1u << 5,
    AdvanceSpin = 1u << 6,
    GeneralMemo = 1u << 7,
    SoundList = 1u << 8,
};
struct ShownControls {
    Shows group;
    std::vector<const char*> controls;
};
const ShownControls kShownControls[] = {
    {MemoTab, {"MemoTab"}},
    {Contacts, {"CallerBlock", "ClientBlock"}},
    {FaxButton, {"SendFax"}},
    {EndFields, {"EndPrompt", "EndDate", "EndWeekday", "EndTime"}},
    {ChTp, {"ChPrompt", "Ch", "TpPrompt", "Tp"}},
    {AlarmBox, {"Alarm"}},
    {AdvanceSpin, {"Advance"}},
    {GeneralMemo, {"GenMemo"}},
    {SoundList, {"Sound"}},
};

struct CategoryDef {
    const char* phrase;  // the window title's end
    unsigned shows;
};
const CategoryDef kCategories[] = {
    {"a Telephone Message/Fax", MemoTab | Contacts | FaxButton},
    {"a Project Event", EndFields | GeneralMemo},
    {"a Miscellaneous Note", GeneralMemo},
    {"a Meeting", EndFields | AlarmBox | AdvanceSpin | GeneralMemo | SoundList},
    {"an Extra Event", EndFields | ChTp | AlarmBox | AdvanceSpin | GeneralMemo | SoundList},
};
const CategoryDef kUndefinedCategory = {"an Undefined Event", kCategories[PhoneFax].shows};

const CategoryDef& categoryDef(uint8_t c)
{
    return c < std::size(kCategories) ? kCategories[c] : kUndefinedCategory;
}

bool hasEnd(uint8_t c) { return c == Project || c == Meeting || c == Extra; }
bool hasAlarm(uint8_t c) { return c == Meeting || c == Extra; }

// A new entry's values by category.
enum class Starts : uint8_t { Now, DiaryWindow, LastUsed };
struct NewEntry {
    Starts starts;
    int32_t warning;
    uint8_t alarm;
    bool keptAfterCopy;  // a copied entry keeps its own values
};
const NewEntry kNewEntries[] = {
    {Starts::Now, 1, 0, false},
    {Starts::DiaryWindow, 0, 0, true},
    {Starts::Now, 0, 0, false},
    {Starts::LastUsed, 360001, 1, true},
    {Starts::LastUsed, 6001, 1, true},
};

struct RequestTitle {
    uint8_t request;
    const char* atStart;
    const char* verb;
};
const RequestTitle kRequestTitles[] = {
    {InsertRecord, "Adding to Diary", "Adding "},
    {ChangeRecord, "Changing the Diary", "Changing "},
    {DeleteRecord, "Deleting from Diary", "Deleting "},
};
const RequestTitle* requestTitle(uint8_t request)
{
    for (const RequestTitle& t : kRequestTitles)
        if (t.request == request)
            return &t;
    return nullptr;
}

// ------------------------------------------------------------ the keys ---

// The advance rule: held within 100 .. 8637001; on the day of the begin,
// lowered a minute at a time while the alarm would show less than a minute
// from now, below 0 when the begin has passed (the alarm then lies a minute
// ahead, after the begin); then whole minutes (downwards), plus one.
int32_t advanceRule(int64_t warning, int32_t beginDate, int32_t beginTime, int32_t today, int32_t now)
{
    int64_t w = std::clamp<int64_t>(warning, kLowTime, kHighTime);
    if (beginDate == today)
        while (beginTime - w < int64_t(now) + kMinute)
            w -= kMinute;
    const int64_t minutes = w >= 0 ? w / kMinute : -((-w + kMinute - 1) / kMinute);
    return int32_t(minutes * kMinute + 1);
}

QString weekday3(int32_t date)
{
    return isValidDay(date) ? WeekdayName(date).left(3) : QString();
}

QString trimmedRight(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// ------------------------------------------------------- clipboard text ---

// One text per category, a line per "|"; each line ends with CR LF.
const char* const kClipboardLayouts[] = {
    "Phone Message : {bwd} {bdate} at {btime}|{legend}|{caller}|{client}|Document      : {doc}|Memorandum    : |{memo}|{tilde}",
    "Project from  : {bwd} {bdate} {btime} to {ewd} {edate} {etime}|                {legend}|Document      : {doc}"
    "|Memorandum    : |{memo}|{tilde}",
    "Note: {bwd} {bdate} {btime}|      {legend}|Doc : {doc}|Memo: |{memo}|{tilde}",
    "Memo: {bwd} {bdate} {btime} to {ewd} {edate} {etime}|      {legend}|Doc : {doc}|Memo: |{memo}|{tilde}",
    "Ch{ch}: {btime}-{etime} {legend}|{memo}|{tilde}",
};

QString contactText(const QString& heading, const Contact& c)
{
    const QString indent(16, u' ');
    const QStringList lines = {
        heading + c.first + u' ' + c.last,
        indent + c.org,
        indent + c.tel1 + QStringLiteral(", ") + c.tel2 + QStringLiteral(", ") + c.fax,
        indent + c.email,
        indent + c.url,
        indent + c.street,
        indent + c.zip + u' ' + c.city,
    };
    return lines.join(kCrLf);
}

// ----------------------------------------------------------------- form ---

class DiaryFr : public RecordForm {
public:
    DiaryFr() : RecordForm(QStringLiteral("DiaryFr"), diaryFrDef(), VenDry)
    {
        helpTopic = QStringLiteral("DiaryFrm");
    }

protected:
    bool setUp() override;
    void primeFields(bool copy) override;
    void tearDown() override;
    void windowEvent(Event e) override;
    void fieldEvent(const QString& control, FieldEvent e) override;
    void accepted(const QString& control) override;
    void newSelection(const QString& control) override;

private:
    Record& entry() { return primary().rec(); }
    QString title() const;
    void showCategory();
    void refresh();
    void applyRules(bool categoryEvent);
    void takePick();
    void holdDates();
    void gainedFocus(const QString& control);
    void endAfterBegin();
    bool acceptField(const QString& control);
    void setAdvance(int64_t warning);
    void bindOwnControls();
    void fillSounds();
    void chooseSound();
    void setUpDocuments();

    void ok();
    void stored(uint8_t request);
    bool writeAlarm();
    bool closeRequested() override;
    void removeAlarms();
    void sendFax();
    void toClipboard();
    QString clipboardText(int64_t category);

    void pickProject();
    int blockOf(const QString& control, const ContactEntry** entry, bool* button) const;
    void lookUpName(int block, const ContactEntry& e);
    void chooseName(int block, const ContactEntry& e, bool fromButton);
    void takeName(int block, const Record& name, QString Contact::*except);

    void showOpenButton();
    void openDocument();
    void runDocumentForm(uint8_t request);

    uint8_t category_ = PhoneFax;
    QString memoCopy_;                       // the General memorandum box
    QString lookedUp_[2][std::size(kContactEntries)];  // the value each contact entry was last looked up by
    QString beginWeekday_, endWeekday_;
    Contact contacts_[2];
    struct Pick {
        QString name, trans, memo;
        int64_t part = 0, total = 0;
        bool made = false;
    } pick_;
    QString soundFile_, soundFolder_;        // the chosen sound
    std::vector<std::pair<QString, QString>> sounds_;  // the list's file names and folders
    BrowseList* documents_ = nullptr;
    bool alarmNotWritten_ = false;           // the entry is stored, its alarm not: the form stays open
};

// ----------------------------------------------------------- set-up ---

bool DiaryFr::setUp()
{
    if (!openFilesOrCancel({&VenAlarm, &VenDoc, &VenNote, &VenPro, &VenWav, &VenNam}))
        return false;
    if (const RequestTitle* t = requestTitle(REQUEST))
        window().setTitle(QString::fromUtf8(t->atStart));
    if (!RecordForm::setUp())
        return false;
    Record& r = entry();
    if (REQUEST != InsertRecord) {
        category_ = uint8_t(r.num(DRY::CATEGORY));
        if (hasEnd(category_)) {
            LastBeginDate = int32_t(r.num(DRY::BDATE));
            LastBeginTime = int32_t(r.num(DRY::BTIME));
            LastEndDate = int32_t(r.num(DRY::EDATE));
            LastEndTime = int32_t(r.num(DRY::ETIME));
        }
    }
    // The entry's number: a new one counts the record reserved for it.
    KeyedFile& f = primary();
    if (REQUEST == InsertRecord) {
        r.set(DRY::NUMBER, countPlusOne(f, DRY::NUMBER, DRY::NUMBER_KEY));
        // Documents filed before the entry is stored follow its number.
        setOwnNumber(DRY::NUMBER, DRY::NUMBER_KEY, [this](int64_t from, int64_t to) {
            KeyedFile& d = file(VenDoc);
            for (;;) {
                d.rec().clear();
                d.rec().set(DOC::CATID, "D");
                d.rec().set(DOC::CATNUM, from);
                const Status got = d.get(DOC::CAT_KEY);
                if (got.code == Err::NotFound)
                    break;
                d.rec().set(DOC::CATNUM, to);
                if (!got || !d.put())
                    return false;
            }
            GCatNum = uint32_t(to);
            return true;
        });
    }
    else if (r.num(DRY::NUMBER) < 1)
        r.set(DRY::NUMBER, freeNumber(VenDry, DRY::NUMBER, DRY::NUMBER_KEY, 1));
    r.set(DRY::CATID, "D");
    r.set(DRY::CATEGORY, int64_t(category_));
    GCatId = QStringLiteral("D");
    GCatNum = uint32_t(r.num(DRY::NUMBER));

    memoCopy_ = r.str(DRY::MEMORANDUM);
    for (int b = 0; b < 2; ++b) {
        KeyedFile& n = file(VenNam);
        n.rec().clear();
        n.rec().set(NAM::RECNO, r.num(kBlocks[b].field));
        if (r.num(kBlocks[b].field) != 0 && n.get(NAM::RECNOKEY))
            takeName(b, n.rec(), nullptr);
    }
    bindOwnControls();
    DateField::attach(*this, QStringLiteral("BeginDate"), QStringLiteral("Select Begin Date"));
    DateField::attach(*this, QStringLiteral("EndDate"), QStringLiteral("Select End Date"));
    fillSounds();
    if (REQUEST == InsertRecord && hasAlarm(category_)) {
        soundFile_ = Sound_File.trimmed();
        soundFolder_ = Sound_Path.trimmed().isEmpty() ? QString() : joinPath(Sound_Path.trimmed(), {});
        if (auto* combo = control("Sound").as<QComboBox>())
            combo->setCurrentIndex(combo->findText(soundFile_));
    }
    setUpDocuments();
    control("Advance").show(r.num(DRY::ALARM) != 0);
    showCategory();
    FIRSTFIELD = category_ == Extra ? QStringLiteral("GenMemo") : QStringLiteral("BeginDate");
    return true;
}

void DiaryFr::primeFields(bool /*copy*/)
{
    category_ = GCategory < 5 ? GCategory : uint8_t(PhoneFax);
    if (DiaryBeginDate > LastBeginDate)
        LastBeginDate = DiaryBeginDate;
    if (DiaryEndDate < LastEndDate)
        LastEndDate = DiaryEndDate;
    const NewEntry& n = kNewEntries[category_ < std::size(kNewEntries) ? category_ : size_t(PhoneFax)];
    if (DiaryCopyRequested && n.keptAfterCopy)
        return;
    Record& r = entry();
    int32_t bdate = 0, btime = 0, edate = 0, etime = 0;
    switch (n.starts) {
    case Starts::Now: {
        const QDateTime now = clock().now();
        bdate = dayNumber(now);
        btime = timeValue(now);
        break;
    }
    case Starts::DiaryWindow:
        bdate = edate = DiaryBeginDate;
        btime = etime = DiaryBeginTime;
        break;
    case Starts::LastUsed:
        bdate = LastBeginDate, btime = LastBeginTime, edate = LastEndDate, etime = LastEndTime;
        break;
    }
    r.set(DRY::BDATE, int64_t(bdate));
    r.set(DRY::BTIME, int64_t(btime));
    r.set(DRY::EDATE, int64_t(edate));
    r.set(DRY::ETIME, int64_t(etime));
    r.set(DRY::WARNING, int64_t(n.warning));
    r.set(DRY::ALARM, int64_t(n.alarm));
}

// The controls bound to the form's own state rather than straight to the
// entry: the category, the General box, the weekdays, the contact lines,
// and channel and tape (texts in the record, numbers on the window, blank
// for none).
void DiaryFr::bindOwnControls()
{
    Window& w = window();
    w.bind(QStringLiteral("Category"), bindTo(category_));
    w.bind(QStringLiteral("GenMemo"), bindTo(memoCopy_));
    w.bind(QStringLiteral("BeginWeekday"), bindTo(beginWeekday_));
    w.bind(QStringLiteral("EndWeekday"), bindTo(endWeekday_));
    for (int b = 0; b < 2; ++b)
        for (const ContactLine& l : kContactLines)
            w.bind(QString::fromUtf8(kBlocks[b].prefix) + l.control, bindTo(contacts_[b].*l.line));
    for (const auto& [name, field] : {std::pair{"Ch", DRY::C}, std::pair{"Tp", DRY::T}}) {
        const uint16_t fi = field;
        w.bind(QString::fromUtf8(name), Binding{[this, fi] { return QVariant::fromValue<qlonglong>(entry().str(fi).trimmed().toLongLong()); },
                                                [this, fi](const QVariant& v) {
                                                    const qlonglong n = v.toLongLong();
                                                    entry().set(fi, n ? QString::number(n) : QString());
                                                }});
    }
}

void DiaryFr::fillSounds()
{
    KeyedFile& wav = file(VenWav);
    sounds_.clear();
    wav.set(WAV::NAME_KEY);
    while (wav.next())
        sounds_.emplace_back(wav.rec().str(WAV::FILENAME), wav.rec().str(WAV::FILEPATH));
    if (auto* combo = control("Sound").as<QComboBox>()) {
        combo->clear();
        for (const auto& s : sounds_)
            combo->addItem(s.first);
        combo->setCurrentIndex(-1);
    }
}

void DiaryFr::chooseSound()
{
    auto* combo = control("Sound").as<QComboBox>();
    const int i = combo ? combo->currentIndex() : -1;
    if (i < 0 || i >= int(sounds_.size()))
        return;
    soundFile_ = sounds_[size_t(i)].first.trimmed();
    soundFolder_ = sounds_[size_t(i)].second.trimmed();
}

void DiaryFr::setUpDocuments()
{
    std::vector<BrowseColumn> columns = {
        BrowseColumn::ofField(DOC::DOCNAME, "Name", 60, "s128"),
        BrowseColumn::ofField(DOC::DESCRIPTION, "Description", 80, "s128"),
        BrowseColumn::ofField(DOC::DOCPATH, "Path", 60, "s128"),
        BrowseColumn::ofField(DOC::CREATEDDATE, "Created", 40, "D06-B"),
        BrowseColumn::ofField(DOC::CREATEDTIME, "Time", 22, "T01.B"),
        BrowseColumn::ofField(DOC::ACCESSEDDATE, "Accessed", 40, "D06-B"),
        BrowseColumn::ofField(DOC::ACCESSEDTIME, "Time", 22, "T01.B"),
        BrowseColumn::ofField(DOC::ASSOCIATEDPROGRAM, "Open with", 40, "s32"),
        BrowseColumn::ofField(DOC::DOCNUM, "DocNum", 30, "n07B"),
        BrowseColumn::ofField(DOC::CATNUM, "CatNum", 30, "n06B"),
        BrowseColumn::ofField(DOC::CATID, "Id", 10, "s1"),
    };
    auto list = std::make_unique<BrowseList>(*this, VenDoc, std::move(columns), QStringLiteral("DocList"));
    list->addOrder(DOC::CAT_KEY);
    list->setRange(DOC::CATID, Value(QStringLiteral("D")));
    list->setRange(DOC::CATNUM, Value(int64_t(entry().num(DRY::NUMBER))));
    // The tab's buttons run the document form by name (handled in accepted());
    // the list only enables Change and Delete while it has rows.
    list->setButtons({.insert = "DocInsert", .change = "DocChange", .remove = "DocDelete", .select = "DocSelect", .copy = "DocCopy"});
    documents_ = list.get();
    addPart(std::move(list));
}

void DiaryFr::tearDown()
{
    if (isOpen()) {
        DiaryCopyRequested = 0;
        ++AlarmsChanged;
    }
    RecordForm::tearDown();
}

// ---------------------------------------------------- window and rules ---

QString DiaryFr::title() const
{
    const RequestTitle* t = requestTitle(ORIGINALREQUEST);
    return (t ? QString::fromUtf8(t->verb) : QString()) + QString::fromUtf8(categoryDef(category_).phrase);
}

void DiaryFr::showCategory()
{
    const unsigned shows = categoryDef(category_).shows;
    for (const ShownControls& g : kShownControls)
        for (const char* c : g.controls)
            control(QString::fromUtf8(c)).show((shows & g.group) != 0);
}

void DiaryFr::windowEvent(Event e)
{
    if (e == Event::OpenWindow) {
        window().setTitle(title());
        applyRules(false);
        refresh();
        showOpenButton();
    }
    RecordForm::windowEvent(e);
    if (e == Event::AlertKey || e == Event::GainFocus)
        refresh();  // a value recalled by the history key, or redisplayed
}

// Shows the bound values again (a text box showing its value already
// keeps its cursor).
void DiaryFr::refresh()
{
    window().display();
    showOpenButton();
}

void DiaryFr::fieldEvent(const QString& control, FieldEvent e)
{
    applyRules(control == u"Category");
    refresh();
    RecordForm::fieldEvent(control, e);
    if (!isOpen())
        return;
    if (e == FieldEvent::Selected)
        gainedFocus(control);
    refresh();
}

// The rules that run at every event of the window, in order.
void DiaryFr::applyRules(bool categoryEvent)
{
    Record& r = entry();
    if (r.str(DRY::MEMORANDUM).trimmed().isEmpty())
        r.set(DRY::MEMORANDUM, memoCopy_.trimmed());
    if (pick_.made)
        takePick();
    control("NoteImage").show(!r.str(DRY::MEMORANDUM).trimmed().isEmpty());
    holdDates();
    if (hasEnd(category_)) {
        const int64_t bdate = r.num(DRY::BDATE), btime = r.num(DRY::BTIME);
        if (r.num(DRY::EDATE) < bdate)
            r.set(DRY::EDATE, bdate);
        if (r.num(DRY::ETIME) == 0) {
            if (btime >= kLateBegin) {
                r.set(DRY::EDATE, bdate + 1);
                r.set(DRY::ETIME, btime - kLateBegin);
            } else {
                r.set(DRY::ETIME, btime + kHour);
            }
        }
        if (r.num(DRY::EDATE) == bdate && r.num(DRY::ETIME) < btime)
            r.set(DRY::ETIME, btime);
    } else {
        r.set(DRY::EDATE, int64_t(0));
        r.set(DRY::ETIME, int64_t(0));
    }
    holdDates();  // the weekday of an end date moved here
    if (categoryEvent) {
        showCategory();
        r.set(DRY::CATEGORY, int64_t(category_));
        window().setTitle(title());
    }
}

// A project picked in the list becomes the legend and the memorandum.
void DiaryFr::takePick()
{
    Record& r = entry();
    const int64_t p = pick_.part, t = pick_.total;
    QString mark;
    if (p > 0 && t > 0)
        mark = QStringLiteral("(%1/%2)").arg(p).arg(t);
    else if (p > 0)
        mark = QStringLiteral("#%1").arg(p);
    else if (t > 0)
        mark = QStringLiteral("(?/%1)").arg(t);
    auto marked = [&](const QString& s) { return mark.isEmpty() ? s.trimmed() : s.trimmed() + u' ' + mark; };
    r.set(DRY::LEGEND, marked(pick_.name));
    QStringList parts;
    for (const QString& s : {marked(pick_.trans), r.str(DRY::MEMORANDUM), pick_.memo})
        if (!s.trimmed().isEmpty())
            parts << s.trimmed();
    r.set(DRY::MEMORANDUM, parts.join(kCrLf));
    pick_ = Pick{};
    memoCopy_ = r.str(DRY::MEMORANDUM);
    refresh();
    if (r.num(DRY::CATEGORY) > 0) {
        control("GenMemo").select();
    } else {
        window().chooseTab(QStringLiteral("Sheet"), 2);
        control("Memo").select();
    }
}

void DiaryFr::holdDates()
{
    // An entry without an end (telephone, note) keeps its end date blank.
    Record& r = entry();
    r.set(DRY::BDATE, std::clamp<int64_t>(r.num(DRY::BDATE), kFirstDiaryDay, kLastDiaryDay));
    if (hasEnd(category_))
        r.set(DRY::EDATE, std::clamp<int64_t>(r.num(DRY::EDATE), kFirstDiaryDay, kLastDiaryDay));
    beginWeekday_ = weekday3(int32_t(r.num(DRY::BDATE)));
    endWeekday_ = weekday3(int32_t(r.num(DRY::EDATE)));
}

// What a field does as it gains the focus.
void DiaryFr::gainedFocus(const QString& control)
{
    Record& r = entry();
    const int64_t bdate = r.num(DRY::BDATE), btime = r.num(DRY::BTIME);
    if (control == u"BeginDate") {
        // A new entry's end follows its begin. A stored entry and a copy
        // keep their own end: the begin date takes the focus as the form
        // opens, and merely opening must not shorten a multi-day entry. An
        // end that would come before the begin on its day (the last meeting
        // ran past midnight) becomes the begin's hour, not an empty meeting.
        holdDates();
        if (hasEnd(category_) && ORIGINALREQUEST == InsertRecord && !DiaryCopyRequested) {
            r.set(DRY::EDATE, r.num(DRY::BDATE));
            if (r.num(DRY::ETIME) < r.num(DRY::BTIME))
                endAfterBegin();
            holdDates();
        }
    } else if (control == u"BeginTime") {
        if (r.num(DRY::EDATE) == bdate)
            endAfterBegin();
        else
            r.set(DRY::ETIME, btime);
    } else if (control == u"EndDate") {
        holdDates();
    } else if (control == u"Advance") {
        setAdvance(r.num(DRY::WARNING));
    }
}

// The end an hour after the begin; from 23:00 on, the next day at the
// begin time less 23 hours.
void DiaryFr::endAfterBegin()
{
    Record& r = entry();
    const int64_t bdate = r.num(DRY::BDATE), btime = r.num(DRY::BTIME);
    if (btime >= kLateBegin) {
        r.set(DRY::EDATE, bdate + 1);
        r.set(DRY::ETIME, btime - kLateBegin);
    } else {
        r.set(DRY::ETIME, btime + kHour);
    }
    holdDates();
}

// What a field does when it is accepted or stepped by its arrows; false
// for a control without such handling.
bool DiaryFr::acceptField(const QString& control)
{
    Record& r = entry();
    if (control == u"BeginDate" || control == u"EndDate") {
        holdDates();
    } else if (control == u"BeginTime" || control == u"EndTime") {
        const uint16_t f = control == u"BeginTime" ? DRY::BTIME : DRY::ETIME;
        r.set(f, std::clamp<int64_t>(r.num(f), kLowTime, kHighTime));
    } else if (control == u"Tp") {
        const int64_t t = r.str(DRY::T).trimmed().toLongLong();
        if (t < 0 || t > 999)
            r.set(DRY::T, t < 0 ? QStringLiteral("999") : QString());
    } else if (control == u"Advance") {
        setAdvance(r.num(DRY::WARNING));
    } else if (control == u"Alarm") {
        const bool on = this->control("Alarm").value().toInt() != 0;
        r.set(DRY::ALARM, int64_t(on));
        this->control("Advance").show(on);
    } else if (control == u"GenMemo") {
        if (category_ > 0)
            r.set(DRY::MEMORANDUM, memoCopy_);
    } else {
        return false;
    }
    return true;
}

void DiaryFr::setAdvance(int64_t warning)
{
    const QDateTime now = clock().now();
    Record& r = entry();
    r.set(DRY::WARNING, int64_t(advanceRule(warning, int32_t(r.num(DRY::BDATE)), int32_t(r.num(DRY::BTIME)),
                                            dayNumber(now), timeValue(now))));
}

void DiaryFr::newSelection(const QString& control)
{
    if (control == u"Sound")
        chooseSound();
    acceptField(control);
    refresh();
    RecordForm::newSelection(control);
}

// -------------------------------------------------------------- buttons ---

void DiaryFr::accepted(const QString& control)
{
    if (control == u"OK")
        return ok();
    if (control == u"SendFax")
        return sendFax();
    if (control == u"Clipbrd")
        return toClipboard();
    if (control == u"ProjectLookup")
        return pickProject();
    if (control == u"DocOpen")
        return openDocument();
    if (control == u"DocInsert")
        return runDocumentForm(InsertRecord);
    if (control == u"DocChange")
        return runDocumentForm(ChangeRecord);
    if (control == u"DocDelete")
        return runDocumentForm(DeleteRecord);
    const ContactEntry* e = nullptr;
    bool button = false;
    if (const int b = blockOf(control, &e, &button); b >= 0) {
        if (button)
            chooseName(b, *e, true);
        else
            lookUpName(b, *e);
        refresh();
        return;
    }
    if (acceptField(control)) {
        refresh();
        return;
    }
    RecordForm::accepted(control);
}

// OK: every shown field is checked as if accepted, the entry is stored (or
// deleted) and, once that has succeeded, its daily-note line, its alarm and
// the last-used times are written, so that a refused store leaves nothing
// behind and a second OK writes nothing twice. The entry, the note and the
// alarm are one transaction: a process killed on the way leaves all three
// or none.
void DiaryFr::ok()
{
    const uint8_t request = REQUEST;
    acceptControls([this, request] {
        if (REQUEST != DeleteRecord && hasAlarm(category_))
            setAdvance(entry().num(DRY::WARNING));
        refresh();
        WriteBatch batch({&primary(), &file(VenNote), &file(VenAlarm), &file(VenDoc)});
        if (!batch.isOpen()) {
            errors().show(batch.status());
            return;
        }
        if (!complete())
            return;  // the batch rolls back whatever was begun
        stored(request);
        if (Status st = batch.commit(); !st)
            errors().show(21, MessageArgs{QString::fromUtf8(VenDry.label), st.errorText, {}, {}});
    });
}

void DiaryFr::stored(uint8_t request)
{
    const Record& r = entry();
    if (category_ == Meeting) {
        QString text = trimmedRight(r.str(DRY::LEGEND));
        if (ORIGINALREQUEST == ChangeRecord)
            text += QStringLiteral(" (Changed!)");
        else if (ORIGINALREQUEST == DeleteRecord)
            text += QStringLiteral(" (Cancelled!)");
        AppendDailyNoteLine(file(VenNote), int32_t(r.num(DRY::BDATE)), int32_t(r.num(DRY::BTIME)), text.left(255));
    }
    LastBeginDate = int32_t(r.num(DRY::BDATE));
    LastEndDate = int32_t(r.num(DRY::EDATE));
    LastBeginTime = int32_t(r.num(DRY::BTIME));
    LastEndTime = int32_t(r.num(DRY::ETIME));
    // A deleted entry, or one without an alarm of its kind, keeps no alarm.
    if (request == DeleteRecord || !hasAlarm(category_)) {
        removeAlarms();
    } else if (!writeAlarm()) {
        // The entry is stored: the form stays open on it, and OK stores it
        // and tries its alarm again.
        alarmNotWritten_ = true;
        REQUEST = ChangeRecord;
    }
}

bool DiaryFr::closeRequested()
{
    if (alarmNotWritten_) {
        alarmNotWritten_ = false;  // refuses the close the store asked for, once
        return false;
    }
    return RecordForm::closeRequested();
}

// The entry's alarm record, added or changed; false, and the user told,
// when it cannot be written.
bool DiaryFr::writeAlarm()
{
    const Record& r = entry();
    KeyedFile& a = file(VenAlarm);
    a.rec().clear();
    a.rec().set(ALA::DRYNUM, r.num(DRY::NUMBER));
    const Status st = a.get(ALA::DRY_KEY);
    if (!st && st.code != Err::NotFound) {
        messageBox(QStringLiteral("VenAlarm ") + (st.errorText.isEmpty() ? st.text : st.errorText), {}, Icon::None,
                   QStringLiteral("&OK"));
        return false;
    }
    const bool found = st.ok();
    const QString kept = found ? a.rec().str(ALA::SOUND) : QString();
    QString sound;
    if (!soundFile_.isEmpty()) {
        sound = joinPath(soundFolder_, soundFile_);
        Sound_File = soundFile_;
        Sound_Path = soundFolder_;
        if (Sound_Path.size() > 3 && (Sound_Path.endsWith(u'/') || Sound_Path.endsWith(u'\\')))
            Sound_Path.chop(1);
        writeIniTold(SettingsFile::programFile(), QStringLiteral("Paths"), QStringLiteral("Sound_Path"), Sound_Path);
        writeIniTold(SettingsFile::programFile(), QStringLiteral("Paths"), QStringLiteral("Sound_File"), Sound_File);
    } else if (found) {
        sound = kept;  // no sound chosen: the alarm keeps its own
    } else if (!Sound_File.trimmed().isEmpty()) {
        sound = joinPath(Sound_Path.trimmed(), Sound_File.trimmed());
    }
    if (!found) {
        const int64_t nbr = freeNumber(VenAlarm, ALA::NBR, ALA::NBR_KEY, 1);
        a.rec().clear();
        a.rec().set(ALA::NBR, nbr);
    }
    Record& al = a.rec();
    al.set(ALA::DATE, r.num(DRY::BDATE));
    al.set(ALA::TIME, r.num(DRY::BTIME));
    al.set(ALA::DRYNUM, r.num(DRY::NUMBER));
    al.set(ALA::WARNING, r.num(DRY::WARNING));
    al.set(ALA::MESSAGE, "M");
    al.set(ALA::DOW, "N");
    al.set(ALA::LOG, int64_t(1));
    al.set(ALA::IMPORTANT, int64_t(r.num(DRY::ALARM) == 1 ? 0 : 9));
    if (category_ == Extra)
        al.set(ALA::ACTION, QStringLiteral("- ") + formatTime(int32_t(r.num(DRY::ETIME)), u"T01.") + QStringLiteral(" Ch")
                                + r.str(DRY::C).trimmed() + QStringLiteral(": ") + r.str(DRY::LEGEND));
    else
        al.set(ALA::ACTION, r.str(DRY::LEGEND));
    al.set(ALA::SOUND, sound);
    Status written = found ? a.put() : a.add();
    // Another copy took the same free number meanwhile: the next free one.
    for (int tries = 0; !found && written.code == Err::DuplicateKey && tries < 10; ++tries) {
        al.set(ALA::NBR, freeNumber(VenAlarm, ALA::NBR, ALA::NBR_KEY, al.num(ALA::NBR) + 1));
        written = a.add();
    }
    if (!written) {
        messageBox(QStringLiteral("VenAlarm ") + (written.errorText.isEmpty() ? written.text : written.errorText), {},
                   Icon::None, QStringLiteral("&OK"));
        return false;
    }
    return true;
}

void DiaryFr::removeAlarms()
{
    KeyedFile& a = file(VenAlarm);
    for (;;) {
        a.rec().clear();
        a.rec().set(ALA::DRYNUM, entry().num(DRY::NUMBER));
        if (!a.get(ALA::DRY_KEY) || !a.remove())
            return;
    }
}

// Send Fax: a telephone entry with a caller, a legend and a memorandum is
// stored at once and its fax cover page runs; the form stays open.
void DiaryFr::sendFax()
{
    Window& w = window();
    for (const QString& name : w.controlNames())
        if (w.isBound(name))
            w.update(name);
    Record& r = entry();
    if (r.num(DRY::CALLER) == 0)
        return control("CallerRecNo").select();
    if (r.str(DRY::LEGEND).trimmed().isEmpty())
        return control("Legend").select();
    if (r.str(DRY::MEMORANDUM).trimmed().isEmpty()) {
        w.chooseTab(QStringLiteral("Sheet"), 2);
        return control("Memo").select();
    }
    KeyedFile& f = primary();
    const Status st = REQUEST == InsertRecord ? f.insert() : f.updateWithChildren();
    if (!st) {
        errors().show(st);
        return;
    }
    // Stored once, under the form's number: a later OK rewrites it.
    if (REQUEST == InsertRecord)
        REQUEST = ChangeRecord;
    callProcedure(QStringLiteral("FaximileRp"), NoRequest, {}, QString::number(r.num(DRY::NUMBER)));
}

void DiaryFr::toClipboard()
{
    Record& r = entry();
    if (r.num(DRY::CATEGORY) > 0)
        r.set(DRY::MEMORANDUM, memoCopy_);
    holdDates();
    refresh();
    const QString text = clipboardText(r.num(DRY::CATEGORY));
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

QString DiaryFr::clipboardText(int64_t category)
{
    if (category < 0 || category >= int64_t(std::size(kClipboardLayouts)))
        return {};
    const Record& r = entry();
    auto date = [&](uint16_t f) { return formatDate(int32_t(r.num(f)), u"D06-"); };
    auto time = [&](uint16_t f) { return formatTime(int32_t(r.num(f)), u"T01."); };
    const std::pair<const char*, QString> fields[] = {
        {"{bwd}", beginWeekday_},
        {"{bdate}", date(DRY::BDATE)},
        {"{btime}", time(DRY::BTIME)},
        {"{ewd}", endWeekday_},
        {"{edate}", date(DRY::EDATE)},
        {"{etime}", time(DRY::ETIME)},
        {"{legend}", trimmedRight(r.str(DRY::LEGEND))},
        {"{doc}", trimmedRight(r.str(DRY::DOCUMENT))},
        {"{memo}", trimmedRight(r.str(DRY::MEMORANDUM))},
        {"{ch}", trimmedRight(r.str(DRY::C))},
        {"{caller}", contactText(QStringLiteral("Caller        : "), contacts_[0])},
        {"{client}", contactText(QStringLiteral("Customer      : "), contacts_[1])},
        {"{tilde}", QString(60, u'~')},
    };
    // Each placeholder is replaced once, so a field holding "{...}" stays as it is.
    const QString layout = QString::fromUtf8(kClipboardLayouts[category]);
    QString text;
    for (qsizetype i = 0; i < layout.size();) {
        if (layout[i] == u'|') {
            text += kCrLf;
            ++i;
            continue;
        }
        bool replaced = false;
        for (const auto& [name, value] : fields) {
            const QLatin1StringView n(name);
            if (QStringView(layout).mid(i).startsWith(n)) {
                text += value;
                i += n.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            text += layout[i++];
    }
    text += kCrLf;
    return text;
}

// ------------------------------------------------------------- lookups ---

void DiaryFr::pickProject()
{
    QPointer<DiaryFr> self(this);
    callProcedure(QStringLiteral("ProjectBr"), SelectRecord, [self](uint8_t response) {
        if (!self || !self->isOpen() || response != RequestCompleted)
            return;
        const Record& p = self->file(VenPro).rec();
        Record& r = self->entry();
        r.set(DRY::CATEGORY, p.num(PRO::CATEGORY));
        r.set(DRY::PROJECT, p.num(PRO::NUMBER));
        self->pick_ = Pick{p.str(PRO::NAME), p.str(PRO::TRANS), p.str(PRO::MEMO), p.num(PRO::PART), p.num(PRO::TOTAL), true};
        self->applyRules(false);
        self->refresh();
    });
}

// The block (0 caller, 1 customer) of a typed entry or its lookup button; -1 none.
int DiaryFr::blockOf(const QString& control, const ContactEntry** entry, bool* button) const
{
    for (int b = 0; b < 2; ++b) {
        const QString prefix = QString::fromUtf8(kBlocks[b].prefix);
        for (const ContactEntry& e : kContactEntries) {
            const QString name = prefix + e.control;
            if (control == name || control == name + "Lookup") {
                *entry = &e;
                *button = control != name;
                return b;
            }
        }
    }
    return -1;
}

// A typed entry is looked up in the names register by its key: found, it
// fills the block; not found, the names list is offered.
void DiaryFr::lookUpName(int block, const ContactEntry& e)
{
    Record& r = entry();
    const uint16_t link = kBlocks[block].field;
    // An entry left again without a change (Enter, then Tab) is not looked up twice.
    QString& last = lookedUp_[block][&e - kContactEntries];
    const QString value = e.line ? (contacts_[block].*e.line).trimmed() : QString::number(r.num(link));
    if (value == last)
        return;
    last = value;
    KeyedFile& n = file(VenNam);
    n.rec().clear();
    bool found = false;
    if (!e.line) {
        if (r.num(link) == 0)
            return;
        n.rec().set(NAM::RECNO, r.num(link));
        found = n.get(NAM::RECNOKEY).ok();
    } else {
        const QString typed = (contacts_[block].*e.line).trimmed();
        if (typed.isEmpty())
            return;
        // The first name in the key's order whose typed part is the value.
        n.rec().set(uint16_t(e.nam), typed);
        found = n.setFromBuffer(e.key) && n.next() && n.rec().str(uint16_t(e.nam)).trimmed().compare(typed, Qt::CaseInsensitive) == 0;
    }
    if (found)
        takeName(block, n.rec(), e.line);
    else
        chooseName(block, e, false);
}

// Runs the names list in select mode, positioned at the typed value.
void DiaryFr::chooseName(int block, const ContactEntry& e, bool fromButton)
{
    Record& r = entry();
    const uint16_t link = kBlocks[block].field;
    KeyedFile& n = file(VenNam);
    n.rec().clear();
    if (e.line)
        n.rec().set(uint16_t(e.nam), contacts_[block].*e.line);
    else
        n.rec().set(NAM::RECNO, r.num(link));
    const QString entryName = QString::fromUtf8(kBlocks[block].prefix) + e.control;
    QPointer<DiaryFr> self(this);
    const ContactEntry* typed = &e;
    callProcedure(QStringLiteral("NameBr"), SelectRecord, [self, block, typed, fromButton, link, entryName](uint8_t response) {
        if (!self || !self->isOpen())
            return;
        if (response == RequestCompleted) {
            self->takeName(block, self->file(VenNam).rec(), nullptr);
        } else if (!fromButton) {
            if (typed->line)
                self->entry().set(link, int64_t(0));
            self->contacts_[block] = Contact{};
            self->control(entryName).select();
        }
        self->refresh();
    });
}

// The block takes the name's number and contact lines, all but `except`.
void DiaryFr::takeName(int block, const Record& name, QString Contact::*except)
{
    entry().set(kBlocks[block].field, name.num(NAM::RECNO));
    for (const ContactLine& l : kContactLines)
        if (l.line != except)
            contacts_[block].*l.line = name.str(l.nam).trimmed().left(l.size);
}

// ----------------------------------------------------------- documents ---

void DiaryFr::showOpenButton()
{
    const Record* d = documents_ ? documents_->highlighted() : nullptr;
    control("DocOpen").show(d && !d->str(DOC::DOCPATH).trimmed().isEmpty());
}

void DiaryFr::runDocumentForm(uint8_t request)
{
    Record& r = entry();
    if (request == InsertRecord) {
        GDocPath = r.str(DRY::DOCUMENT).trimmed().isEmpty() ? QString() : r.str(DRY::DOCUMENT);
        GDocDescription = r.str(DRY::LEGEND);
    } else if (!documents_->loadHighlighted()) {
        return;
    }
    if (request != DeleteRecord) {
        GCatId = r.str(DRY::CATID);
        GCatNum = uint32_t(r.num(DRY::NUMBER));
    }
    QPointer<DiaryFr> self(this);
    callProcedure(QStringLiteral("UpdateVenDoc"), request, [self](uint8_t) {
        if (self && self->isOpen() && self->documents_)
            self->documents_->refresh();
    });
}

void DiaryFr::openDocument()
{
    if (documents_->loadHighlighted())
        OpenDocument(file(VenDoc).rec(), &window());
}

} // namespace

std::unique_ptr<WindowController> makeDiaryFr(const QString& /*parameter*/)
{
    return std::make_unique<DiaryFr>();
}

} // namespace ven
