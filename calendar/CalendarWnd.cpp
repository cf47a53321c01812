// The day calendar: its window, the day's texts in their order, the date
// moves, the two readings tabs and their editing, the summaries on the
// clipboard, the day file and the move to a new day at midnight.
#include "calendar/CalendarWnd.h"

#include "calendar/DailyNoteFr.h"
#include "platform/DateField.h"
#include "platform/DateSteps.h"
#include "calendar/SpecialDayRules.h"
#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Shell.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include <algorithm>

namespace ven {
namespace {

constexpr int32_t kLastCalendarDay = 109211;  // 31 December 2099
constexpr uint32_t kLightYellow = 0xFFFF80, kLightGreen = 0x80FF80, kLightCyan = 0x80FFFF, kSeaGreen = 0x00FF80;
const QString kCrLf = QStringLiteral("\r\n");
const QString kRule = QString(60, u'~');
const char* const kDateTip = "Double Click for Calendar\nCtrl   - Up/Down - Year\nAlt    - Up/Down - Month\nShift - UP/Down - Week";
const char* const kEditTip = "\nRight Click to Edit\nDouble Click to Copy to Clipboard";

const WindowDef kCalendarWndDef{
    .title = "Calendar",
    .w = 355,
    .h = 224,
    .icon = "Calender.ico",
    .font = {.family = "Tahoma", .points = 9, .bold = true},
    .mdi = true,
    .resizable = true,
    .timer = 100,
    .controls = {
        {.name = "YearLetters", .kind = Kind::String, .x = 230, .y = 3, .w = 121, .h = 14, .flags = AlignRight,
         .font = {.family = "Tahoma", .points = 12, .bold = true}, .color = 0x000080},
        {.name = "Date", .kind = Kind::Spin, .x = 4, .y = 4, .w = 68, .h = 13, .picture = "D06-B", .tip = kDateTip,
         .low = 1, .high = kLastCalendarDay, .background = 0xFFFFFF},
        {.name = "Prev", .kind = Kind::Button, .text = "&Prev", .x = 76, .y = 3, .w = 44, .h = 15, .tip = "Previous Day",
         .icon = "yrminus.ico"},
        {.name = "Today", .kind = Kind::Button, .text = "To&Day", .x = 122, .y = 3, .w = 44, .h = 15, .tip = "Today",
         .icon = "today.ico"},
        {.name = "Next", .kind = Kind::Button, .text = "&Next", .x = 168, .y = 3, .w = 44, .h = 15, .tip = "Next Day",
         .icon = "yrplus.ico"},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 20, .w = 351, .h = 202},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "Note", .kind = Kind::Button, .text = "No&te", .x = 6, .y = 202, .w = 48, .h = 15, .parent = "General",
         .tip = "Edit Daily Note", .icon = "DailyNote.ico"},
        {.name = "Xtra", .kind = Kind::Button, .text = "&Xtra", .x = 58, .y = 202, .w = 48, .h = 15, .parent = "General",
         .tip = "Open a Date Named Text File", .icon = "note.ico"},
        {.name = "Close", .kind = Kind::Button, .text = "&Close", .x = 299, .y = 202, .w = 50, .h = 15, .parent = "General",
         .tip = "Close Calendar", .flags = Default, .closes = RequestCompleted},
        {.name = "NoteText", .kind = Kind::Text, .x = 6, .y = 36, .w = 170, .h = 80, .parent = "General",
         .tip = "Today's Notes\nRight Click to Edit\nDouble Click to Copy to Clipboard", .flags = ReadOnly,
         .background = kLightYellow},
        {.name = "SpecialText", .kind = Kind::Text, .x = 180, .y = 36, .w = 169, .h = 80, .parent = "General",
         .tip = "Special Days &\nAnniversaries", .flags = ReadOnly, .background = kLightGreen},
        {.name = "FeastsText", .kind = Kind::Text, .x = 6, .y = 120, .w = 343, .h = 78, .parent = "General",
         .tip = "Canonical Feasts\nMemorial Days", .flags = ReadOnly, .background = kLightCyan},
        {.name = "FeastTab", .kind = Kind::Tab, .text = "Notes for Feast", .parent = "Sheet"},
        {.name = "Language", .kind = Kind::Spin, .x = 6, .y = 36, .w = 30, .h = 13, .parent = "FeastTab", .picture = "n_2",
         .low = 0, .high = 9},
        {.name = "FeastName", .kind = Kind::Entry, .x = 40, .y = 36, .w = 309, .h = 13, .parent = "FeastTab",
         .picture = "s80", .tip = "Name of the Liturgical Day", .flags = ReadOnly, .background = kLightYellow},
        {.name = "FeastReadings", .kind = Kind::Text, .x = 6, .y = 52, .w = 343, .h = 146, .parent = "FeastTab",
         .tip = "Mass Readings\nRight Click to Edit\nDouble Click to Copy to Clipboard", .flags = ReadOnly,
         .background = kSeaGreen},
        {.name = "FeastOK", .kind = Kind::Button, .text = "&OK", .x = 249, .y = 202, .w = 48, .h = 15, .parent = "FeastTab",
         .flags = Hidden},
        {.name = "FeastCancel", .kind = Kind::Button, .text = "&Canc.", .x = 301, .y = 202, .w = 48, .h = 15,
         .parent = "FeastTab", .flags = Hidden},
        {.name = "MemorialTab", .kind = Kind::Tab, .text = "Notes for Memorials", .parent = "Sheet"},
        {.name = "Level", .kind = Kind::Spin, .x = 6, .y = 36, .w = 30, .h = 13, .parent = "MemorialTab", .picture = "n_2",
         .low = 0, .high = 9},
        {.name = "MemorialNames", .kind = Kind::Entry, .x = 40, .y = 36, .w = 309, .h = 13, .parent = "MemorialTab",
         .picture = "s128", .tip = "Saints & Memorials", .flags = ReadOnly, .background = kLightYellow},
        {.name = "MemorialReadings", .kind = Kind::Text, .x = 6, .y = 52, .w = 343, .h = 146, .parent = "MemorialTab",
         .tip = "Daily Readings\nRight Click to Edit\nDouble Click to Copy to Clipboard", .flags = ReadOnly,
         .background = kLightCyan},
        {.name = "MemorialOK", .kind = Kind::Button, .text = "&OK", .x = 249, .y = 202, .w = 48, .h = 15,
         .parent = "MemorialTab", .flags = Hidden},
        {.name = "MemorialCancel", .kind = Kind::Button, .text = "&Canc.", .x = 301, .y = 202, .w = 48, .h = 15,
         .parent = "MemorialTab", .flags = Hidden},
    }};

// The lines of a text, each without trailing blanks, joined by CR LF at the
// end (joined once, so that a day with thousands of lines stays quick).
using Lines = QStringList;
void addLine(Lines& text, const QString& line)
{
    QString l = line;
    while (!l.isEmpty() && l.back().isSpace())
        l.chop(1);
    text << l;
}

// The text of the lines; a single blank when there are none.
QString joined(const Lines& lines) { return lines.isEmpty() ? QStringLiteral(" ") : lines.join(kCrLf); }

int yearOf(int32_t date)
{
    const auto ymd = calendarDate(date);
    return ymd ? int(ymd->year()) : 0;
}

void listSpecialDays(const std::vector<Record>& days, int32_t date, Lines& text)
{
    for (const Record& r : days) {
        const SpecialDayLines lines = specialDayLines(r, date);
        if (lines.to)
            addLine(text, *lines.to);
        if (lines.of)
            addLine(text, *lines.of);
    }
}

void listAnniversariesOf(KeyedFile& birth, int32_t date, int dayNumber, Lines& text)
{
    const int year = yearOf(date);
    for (int line = 0; line <= 9; ++line) {
        Record& r = birth.rec();
        r.clear();
        r.set(BTH::DAYNO, dayNumber);
        r.set(BTH::LINE, line);
        if (!birth.get(BTH::DAYNO_KEY))
            continue;
        const QString name = r.str(BTH::NAME).trimmed();
        if (name.isEmpty())
            continue;
        const int32_t born = int32_t(r.num(BTH::DATE));
        if (!isValidDay(born)) {
            addLine(text, name);
            continue;
        }
        const int age = year - yearOf(born);
        if (age < 0)
            continue;  // the event lies in a later year: no anniversary yet
        addLine(text, name + QStringLiteral(", ") + formatNumber(age, u"n-5~y~"));
    }
}

void listAnniversaries(KeyedFile& birth, int32_t date, Lines& text)
{
    listAnniversariesOf(birth, date, NameDayNumber(date), text);
    // A leap day's anniversaries (day number 366) show on 24 February of
    // common years.
    const auto ymd = calendarDate(date);
    if (ymd && !IsLeapYear(int(ymd->year())) && unsigned(ymd->month()) == 2 && unsigned(ymd->day()) == 24)
        listAnniversariesOf(birth, date, 366, text);
}

} // namespace

QString dayTitle(int32_t date)
{
    const auto ymd = calendarDate(date);
    if (!ymd)
        return WeekdayName(date);
    return QStringLiteral("%1 %2 %3 %4 Week %5")
        .arg(WeekdayName(date))
        .arg(unsigned(ymd->day()), 2, 10, QLatin1Char('0'))
        .arg(MonthName(date))
        .arg(int(ymd->year()), 4, 10, QLatin1Char('0'))
        .arg(int(WeekNumber(date)), 2, 10, QLatin1Char('0'));
}

QString yearLetters(int32_t date)
{
    int y = yearOf(date);
    if (date > AdventEve(date))
        ++y;
    static const char* const kCycle[] = {" C", " A", " B"};
    return QStringLiteral("Year") + QString::fromUtf8(kCycle[y % 3]) + (y % 2 == 0 ? QStringLiteral(" II") : QStringLiteral("  I"));
}

bool fetchFeast(KeyedFile& lit, int32_t date, int language)
{
    Record& r = lit.rec();
    r.clear();
    r.set(LIT::LANGUAGE, language);
    r.set(LIT::FEAST, int(ChurchDayNumber(date)));
    // Language 0 of code 0 has every key component zero, so the optional
    // key does not hold it; it is looked for outside the key.
    const bool blankKey = language == 0 && r.num(LIT::FEAST) == 0;
    const Status st = blankKey ? lit.getIncludingBlank(LIT::LIT_KEY) : lit.get(LIT::LIT_KEY);
    if (!st)
        r.clear();
    return st.ok();
}

bool fetchMemorial(KeyedFile& saint, int32_t date, int level)
{
    Record& r = saint.rec();
    r.clear();
    r.set(AST::DAYNO, int(NameDayNumber(date)));
    r.set(AST::LEVEL, level);
    const Status st = saint.get(AST::SAINTS_KEY);
    if (!st)
        r.clear();
    return st.ok();
}

std::vector<Record> readSpecialDays(KeyedFile& days)
{
    std::vector<Record> out;
    days.set(DAY::DATE_KEY);
    while (days.next())
        out.push_back(days.rec());
    return out;
}

namespace {

// Lists the feasts of the day in each language 0..9, or its memorials at each
// level 0..9: the names found, whether any was found and the lowest and
// highest language or level. Readings without a name count as found too, so
// that they can be shown.
void listDayEntries(KeyedFile& file, bool (*fetch)(KeyedFile&, int32_t, int), uint16_t nameField,
                    uint16_t readingsField, int32_t date, bool& found, int& low, int& high, Lines& text)
{
    for (int n = 0; n <= 9; ++n) {
        if (!fetch(file, date, n))
            continue;
        const QString name = file.rec().str(nameField).trimmed();
        if (name.isEmpty() && file.rec().str(readingsField).isEmpty())
            continue;
        found = true;
        low = std::min(low, n);
        high = std::max(high, n);
        if (!name.isEmpty())
            addLine(text, name);
    }
}

} // namespace

CalendarDay readCalendarDay(CalendarFiles f, int32_t date, const std::vector<Record>* specialDays)
{
    CalendarDay d;
    d.title = dayTitle(date);
    Lines special, feasts;
    if (specialDays)
        listSpecialDays(*specialDays, date, special);
    else
        listSpecialDays(readSpecialDays(f.days), date, special);
    listAnniversaries(f.birth, date, special);
    d.special = joined(special);

    listDayEntries(f.lit, fetchFeast, LIT::NAME, LIT::READINGS, date, d.feastFound, d.feastLow, d.feastHigh, feasts);
    listDayEntries(f.saint, fetchMemorial, AST::NAMES, AST::READINGS, date, d.memorialFound, d.memorialLow,
                   d.memorialHigh, feasts);
    d.feasts = joined(feasts);
    d.yearLetters = yearLetters(date);
    return d;
}

namespace {

// One of the two readings tabs: its controls and the file it edits.
struct ReadingsTab {
    const char* tab;
    const char* spin;
    const char* name;
    const char* readings;
    const char* ok;
    const char* cancel;
    const FileDef& file;
    uint16_t nameField, readingsField;
    bool (*fetch)(KeyedFile&, int32_t, int);
};
const ReadingsTab kTabs[] = {
    {"FeastTab", "Language", "FeastName", "FeastReadings", "FeastOK", "FeastCancel", VenLit, LIT::NAME, LIT::READINGS,
     fetchFeast},
    {"MemorialTab", "Level", "MemorialNames", "MemorialReadings", "MemorialOK", "MemorialCancel", VenSaint, AST::NAMES,
     AST::READINGS, fetchMemorial},
};

class CalendarWnd : public WindowController {
public:
    CalendarWnd() : WindowController(QStringLiteral("CalendarWnd"), kCalendarWndDef) {}

protected:
    bool setUp() override
    {
        for (const FileDef* f : {&VenBirth, &VenDays, &VenLit, &VenNote, &VenSaint})
            if (Status st = openFile(*f); !st) {
                errors().show(st);
                return false;
            }
        QString folder = readIni(joinPath(Program_Path, QStringLiteral("Vendrolix.ini")), QStringLiteral("Paths"),
                                 QStringLiteral("Daily_Notes"), {})
                             .trimmed();
        notesFolder_ = folder.isEmpty() ? Program_Path : folder;
        SelectedDate = clock().today();
        showingToday_ = true;
        Window& w = window();
        DateField::attach(*this, QStringLiteral("Date"), &SelectedDate, QStringLiteral("Select Date"));
        w.bind(QStringLiteral("YearLetters"), bindTo(day_.yearLetters));
        w.bind(QStringLiteral("NoteText"), bindTo(note_));
        w.bind(QStringLiteral("SpecialText"), bindTo(day_.special));
        w.bind(QStringLiteral("FeastsText"), bindTo(day_.feasts));
        for (int i = 0; i < 2; ++i) {
            w.bind(QString::fromUtf8(kTabs[i].spin), bindTo(tabs_[i].value));
            w.bind(QString::fromUtf8(kTabs[i].name), bindTo(tabs_[i].name));
            w.bind(QString::fromUtf8(kTabs[i].readings), bindTo(tabs_[i].readings));
        }
        refreshDay(true);
        return true;
    }

    void windowEvent(Event e) override
    {
        switch (e) {
        case Event::GainFocus:
            refreshDay(false);
            control("Date").select();
            break;
        case Event::Timer:
            // A window left on today moves to the new day on the first tick
            // of it, however late that tick comes (a stall, a suspend).
            if (showingToday_ && SelectedDate != clock().today() && !editingAny())
                moveTo(clock().today());
            break;
        default:
            break;
        }
        WindowController::windowEvent(e);
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (c == QLatin1String("NoteText")) {
            if (e == FieldEvent::RightClick)
                return editNote();
            if (e == FieldEvent::DoubleClick)
                return copy(daySummary(true));
        }
        for (int i = 0; i < 2; ++i) {
            if (c != QLatin1String(kTabs[i].readings))
                continue;
            if (e == FieldEvent::RightClick)
                return startEditing(i);
            if (e == FieldEvent::DoubleClick)
                return copy(summaryLine(true) + kCrLf + tabs_[i].name.trimmed() + kCrLf + kCrLf
                            + tabs_[i].readings.trimmed() + kCrLf);
        }
        if (c == QLatin1String("Date") && (e == FieldEvent::RightClick || e == FieldEvent::DoubleClick)) {
            // The picker's date lands in SelectedDate: edits are kept first.
            if (!keepEdits())
                return;
        }
        WindowController::fieldEvent(c, e);
    }

    void newSelection(const QString& c) override
    {
        if (c == QLatin1String("Date")) {
            const int32_t wanted = SelectedDate;
            SelectedDate = shown_;
            if (wanted != shown_)
                moveTo(wanted);
            return;
        }
        for (int i = 0; i < 2; ++i)
            if (c == QLatin1String(kTabs[i].spin))
                return chooseRecord(i);
        WindowController::newSelection(c);
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Date")) {
            const int32_t wanted = SelectedDate;
            SelectedDate = shown_;
            if (wanted != shown_)
                moveTo(wanted);
            return;
        }
        if (c == QLatin1String("Prev"))
            return moveTo(shown_ - 1, true);
        if (c == QLatin1String("Next"))
            return moveTo(shown_ + 1, true);
        if (c == QLatin1String("Today"))
            return moveTo(clock().today(), true);
        if (c == QLatin1String("Note"))
            return editNote();
        if (c == QLatin1String("Xtra"))
            return openDayFile();
        for (int i = 0; i < 2; ++i) {
            if (c == QLatin1String(kTabs[i].ok))
                return saveReadings(i);
            if (c == QLatin1String(kTabs[i].cancel))
                return cancelEditing(i);
        }
        WindowController::accepted(c);
    }

private:
    struct TabState {
        int32_t value = 0;
        QString name, readings;
        int low = 0, high = 0;
        bool editing = false;
        bool found = false;  // the shown number has a record
    };

    CalendarFiles files()
    {
        return {file(VenDays), file(VenBirth), file(VenLit), file(VenSaint)};
    }

    // The day's texts again; `dateChanged` also re-reads the showing-today
    // flag. A readings tab being edited keeps its text. The special days
    // are read from the file when the window opens and whenever it gains
    // the focus (after the special-day form, say); a date move counts with
    // the ones read then.
    void refreshDay(bool dateChanged)
    {
        if (!dateChanged || specialDays_.empty())
            specialDays_ = readSpecialDays(file(VenDays));
        for (int i = 0; i < 2; ++i)
            if (tabs_[i].editing)
                window().update(QString::fromUtf8(kTabs[i].readings));
        KeyedFile& notes = file(VenNote);
        notes.rec().clear();
        notes.rec().set(ANT::DATE, int64_t(SelectedDate));
        if (!notes.get(ANT::NOTE_KEY))
            notes.rec().clear();
        note_ = notes.rec().str(ANT::NOTE);
        if (dateChanged)
            showingToday_ = SelectedDate == clock().today();
        day_ = readCalendarDay(files(), SelectedDate, &specialDays_);
        shown_ = SelectedDate;
        showTab(0, day_.feastFound, day_.feastLow, day_.feastHigh);
        showTab(1, day_.memorialFound, day_.memorialLow, day_.memorialHigh);
        window().setTitle(day_.title);
        window().display();
    }

    void showTab(int i, bool found, int low, int high)
    {
        TabState& t = tabs_[i];
        if (t.editing)
            return;
        const ReadingsTab& d = kTabs[i];
        t.value = 0;
        t.name.clear();
        t.readings.clear();
        control(QString::fromUtf8(d.tab)).show(found);
        control(QString::fromUtf8(d.ok)).hide();
        control(QString::fromUtf8(d.cancel)).hide();
        if (!found)
            return;
        t.low = low;
        t.high = high;
        t.value = low;
        fetchShown(i);
    }

    // The record of the shown language or level into the tab's texts.
    void fetchShown(int i)
    {
        TabState& t = tabs_[i];
        const ReadingsTab& d = kTabs[i];
        KeyedFile& f = file(d.file);
        t.found = d.fetch(f, shown_, t.value);
        t.name = f.rec().str(d.nameField).trimmed();
        t.readings = f.rec().str(d.readingsField);
    }

    void chooseRecord(int i)
    {
        TabState& t = tabs_[i];
        if (t.editing && !keepEdits())
            return;
        t.value = std::clamp<int32_t>(t.value, t.low, t.high);
        fetchShown(i);
        if (t.name.isEmpty()) {
            control(QString::fromUtf8(kTabs[i].ok)).hide();
            control(QString::fromUtf8(kTabs[i].cancel)).hide();
        }
        window().display();
    }

    bool editingAny() const { return tabs_[0].editing || tabs_[1].editing; }

    void setEditable(int i, bool on)
    {
        tabs_[i].editing = on;
        control(QString::fromUtf8(kTabs[i].ok)).show(on);
        control(QString::fromUtf8(kTabs[i].cancel)).show(on);
        if (auto* t = control(QString::fromUtf8(kTabs[i].readings)).as<QPlainTextEdit>())
            t->setReadOnly(!on);
    }

    // Only a record that exists is edited: OK rewrites the shown one.
    void startEditing(int i)
    {
        if (tabs_[i].editing || !tabs_[i].found)
            return;
        setEditable(i, true);
        control(QString::fromUtf8(kTabs[i].readings)).select();
    }

    void saveReadings(int i)
    {
        TabState& t = tabs_[i];
        const ReadingsTab& d = kTabs[i];
        window().update(QString::fromUtf8(d.readings));
        KeyedFile& f = file(d.file);
        // The shown record again, so that no other language's or level's
        // record is rewritten.
        if (!d.fetch(f, shown_, t.value)) {
            messageBox(QStringLiteral("The record of these readings no longer exists."), QStringLiteral("Error"),
                       Icon::Exclamation);
            return;
        }
        f.rec().set(d.readingsField, t.readings);
        if (Status st = f.put(); !st) {
            errors().show(st);
            return;  // still editing: nothing typed is lost
        }
        setEditable(i, false);
        control(QString::fromUtf8(d.spin)).select();
    }

    void cancelEditing(int i)
    {
        setEditable(i, false);
        fetchShown(i);
        window().display();
        control(QString::fromUtf8(kTabs[i].spin)).select();
    }

    // Before the shown day changes: readings being edited are saved when
    // the user wants them; false when they could not be saved.
    bool keepEdits()
    {
        for (int i = 0; i < 2; ++i) {
            TabState& t = tabs_[i];
            if (!t.editing)
                continue;
            window().update(QString::fromUtf8(kTabs[i].readings));
            KeyedFile& f = file(kTabs[i].file);
            kTabs[i].fetch(f, shown_, t.value);
            if (f.rec().str(kTabs[i].readingsField) != t.readings
                && messageBox(QStringLiteral("The readings were changed. Save them?"), QStringLiteral("Readings"),
                              Icon::Question, QStringLiteral("&Yes|&No"), 1)
                       == 1) {
                saveReadings(i);
                if (t.editing)
                    return false;
            }
            setEditable(i, false);
        }
        return true;
    }

    void moveTo(int32_t date, bool focusDate = false)
    {
        if (!keepEdits()) {
            SelectedDate = shown_;
            window().display(QStringLiteral("Date"));
            return;
        }
        SelectedDate = clampDay(date, kFirstDay, kLastCalendarDay);
        refreshDay(true);
        if (focusDate)
            control("Date").select();
    }

    void editNote()
    {
        file(VenNote).rec().set(ANT::DATE, int64_t(SelectedDate));
        start([] { return makeDailyNoteFr(); });
    }

    // The summary's first line: weekday, date, week and the year letters.
    QString summaryLine(bool withLetters) const
    {
        return WeekdayName(shown_) + QStringLiteral(", ") + formatDate(shown_, u"D06-B") + QStringLiteral(", Week ")
               + QStringLiteral("%1").arg(int(WeekNumber(shown_)), 2, 10, QLatin1Char('0'))
               + (withLetters ? QStringLiteral(" ") + day_.yearLetters : QString());
    }

    QString daySummary(bool withLetters) const
    {
        QString s = summaryLine(withLetters) + kCrLf;
        for (const QString& block : {note_, day_.special, day_.feasts})
            s += kRule + kCrLf + block.trimmed() + kCrLf;
        return s + kRule + kCrLf;
    }

    static void copy(const QString& text) { QGuiApplication::clipboard()->setText(text); }

    void openDayFile()
    {
        const QString name = formatDate(shown_, u"D10-B") + u' ' + WeekdayName(shown_).trimmed() + QStringLiteral(".txt");
        const QString path = QDir(notesFolder_).filePath(name);
        const QDateTime now = clock().now();
        const int32_t today = dayNumber(now);
        const QString stamp = CurrentUser + u' ' + WeekdayName(today) + u' ' + formatDate(today, u"D10-B")
                              + QStringLiteral(" at ") + formatTime(timeValue(now), u"T04.");
        const LineResult written = AppendTextLines(path, {stamp, kRule + kCrLf});
        for (const QString& m : written.messages)
            messageBox(m, QStringLiteral("Error"), Icon::Exclamation);
        if (written.ok()) {
            ShellOperation = QStringLiteral("Open");
            ShellFile = u'"' + path + u'"';
            ShellParameters.clear();
            ShellDirectory.clear();
            ShellShowCmd = 1;
            ShellWindow = &window();
            ShellExecute();
        }
        copy(daySummary(false));
        control("Date").select();
    }

    CalendarDay day_;
    std::vector<Record> specialDays_;
    QString note_;
    QString notesFolder_;
    TabState tabs_[2];
    int32_t shown_ = 0;  // the date the texts were built for
    bool showingToday_ = false;
};

} // namespace

std::unique_ptr<WindowController> makeCalendarWnd(const QString&)
{
    return std::make_unique<CalendarWnd>();
}

} // namespace ven
