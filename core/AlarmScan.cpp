// The alarm scan and the alarm rules: firing time, passed and next, repeat
// codes, and the NextAlarm block with its texts.
#include "core/AlarmScan.h"

#include "core/ActivityLog.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Picture.h"
#include "platform/TellOnce.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

namespace ven {

namespace {

constexpr int64_t kMinute = 6000;
constexpr int64_t kDay = 8640000;
constexpr int32_t kMessageLead = 6200;  // a message alarm opens 62 seconds earlier
constexpr int kMemoSize = 895;
constexpr int kTextSize = 1023;
constexpr int kLineSize = 255;
const QString kCrLf = QStringLiteral("\r\n");

// Days to the next date of the codes "8" and "9", by the old date's weekday (Sunday first).
constexpr std::array<int, 7> kNextWorkday = {1, 1, 1, 1, 1, 3, 2};
constexpr std::array<int, 7> kNextWeekendDay = {6, 5, 4, 3, 2, 1, 1};

int weekdayOf(int64_t day)
{
    return int(((day % 7) + 7) % 7);
}

// n / 6000 rounded to the nearest whole number, halves away from zero.
int64_t roundToMinutes(int64_t n)
{
    return n >= 0 ? (n + kMinute / 2) / kMinute : -((-n + kMinute / 2) / kMinute);
}

QString kindOf(const Record& r)
{
    return r.str(ALA::MESSAGE).trimmed();
}

// An alarm as the scan weighs it: the record, its engine identity and its firing moment.
struct Alarm {
    Record rec;
    int64_t id = 0;
    AlarmFiring firing;
};

// Which of two not-passed alarms comes first: the earlier firing moment, and
// between equal moments the one first in ALA:ALARM_KEY order.
auto rank(const Alarm& a)
{
    return std::make_tuple(a.firing, a.rec.num(ALA::DATE), a.rec.num(ALA::TIME), -a.rec.num(ALA::WARNING), a.id);
}

// A passed alarm: passed with no valid date, else by its firing moment.
bool isPassed(const Record& r, const AlarmFiring& f, int32_t today, int32_t now)
{
    return !isValidDay(int32_t(r.num(ALA::DATE))) || AlarmPassed(f, today, now);
}

// The date a passed alarm moves on to: its repeat code applied until the
// alarm is no longer passed; nullopt when it does not repeat or would leave
// the calendar. Every code repeats weekly and every date before today is
// passed whatever the time, so whole weeks before today are skipped at once.
std::optional<int32_t> moveOn(const Record& r, int32_t today, int32_t now)
{
    const QString dow = r.str(ALA::DOW);
    const QChar code = dow.isEmpty() ? QChar(' ') : dow.at(0);
    int64_t date = r.num(ALA::DATE);
    const bool repeats = RepeatDate(code, kFirstDay).has_value();
    if (!repeats || date > kLastDay)
        return std::nullopt;
    if (date < today - 1)
        date += (today - 1 - date) / 7 * 7;
    Record moved = r;
    for (;;) {
        date = *RepeatDate(code, int32_t(date));
        if (date > kLastDay)
            return std::nullopt;
        moved.set(ALA::DATE, date);
        if (!isPassed(moved, FiringTime(moved), today, now))
            return int32_t(date);
    }
}

// A memo line of another message alarm of the same minute.
void addMemoLine(QString& memo, const Record& other)
{
    if (!memo.isEmpty())
        memo += kCrLf;
    memo += formatTime(int32_t(other.num(ALA::TIME)), u"T01.") + ' ' + other.str(ALA::ACTION).trimmed();
    memo.truncate(kMemoSize);
}

bool sameMinute(const Record& a, const Record& b)
{
    return a.num(ALA::DATE) == b.num(ALA::DATE) && a.num(ALA::TIME) == b.num(ALA::TIME);
}

// Whether `other` is listed in the memo of `alarm`: a message alarm of the
// same date and time that is not the alarm itself.
bool listedWith(const Record& alarm, const Record& other)
{
    return sameMinute(alarm, other) && kindOf(other) != "A" && other.num(ALA::NBR) != alarm.num(ALA::NBR);
}

// The advance within a day either way: below 0 the alarm shows after its
// time (an entry saved after its begin).
int32_t advanceOf(const Record& r)
{
    return int32_t(std::clamp<int64_t>(r.num(ALA::WARNING), -kDay, kDay));
}

// The block of an alarm, its memo aside.
NextAlarmBlock blockOf(const Alarm& a)
{
    const Record& r = a.rec;
    NextAlarmBlock b;
    b.Pending = 1;
    b.Nbr = int32_t(r.num(ALA::NBR));
    b.Date = a.firing.date;
    b.Time = int32_t(r.num(ALA::TIME));
    // The window's countdown: the advance and the message lead, at least the lead.
    b.Warning = std::max(advanceOf(r), 0) + kMessageLead;
    b.FireTime = a.firing.time;
    b.Kind = kindOf(r);
    b.Important = uint8_t(r.num(ALA::IMPORTANT));
    b.Log = uint8_t(r.num(ALA::LOG));
    b.Action = r.str(ALA::ACTION).trimmed();
    b.Sound = r.str(ALA::SOUND).trimmed();
    return b;
}

// The block's texts; `alarmDate` is ALA:DATE, shown when it is not today.
void setTexts(NextAlarmBlock& b, int32_t alarmDate, int32_t today)
{
    if (!b.Pending) {
        b.Text = b.Line = kNoAlarms;
        return;
    }
    const QString time = formatTime(b.Time, u"T01.");
    if (b.Kind == "A") {
        b.Text = b.Sound.compare("VIEW", Qt::CaseInsensitive) == 0
            ? time + ' ' + b.Sound + ' ' + b.Action
            : time + " Execute:" + kCrLf + b.Sound + kCrLf + b.Action;
    } else {
        b.Text = (alarmDate != today ? formatDate(alarmDate, u"D010-") + ' ' : QString()) + time + ' ' + b.Action;
        if (!b.Memo.isEmpty())
            b.Text += kCrLf + b.Memo;
    }
    b.Text.truncate(kTextSize);
    b.Line = b.Text;
    b.Line.replace('\r', ';').replace('\n', ' ');
    b.Line.truncate(kLineSize);
}

// The context's file instances as the scan uses them: each opened on first
// use when it is not open, and closed at the end only when the scan opened it.
class ScanFiles {
public:
    explicit ScanFiles(Context& ctx) : ctx_(ctx) {}
    ~ScanFiles()
    {
        for (KeyedFile* f : opened_)
            f->close();
    }
    // A file that cannot be opened (a missing file is made by the open; a
    // damaged one is refused) gives nullptr and, when `failed`, the reason.
    KeyedFile* open(const FileDef& def, Status* failed = nullptr)
    {
        KeyedFile& f = ctx_.file(def);
        if (f.isOpen())
            return &f;
        if (Status st = f.open(KeyedFile::Mode::Shared); !st.ok()) {
            if (failed)
                *failed = st;
            return nullptr;
        }
        opened_.push_back(&f);
        return &f;
    }

private:
    Context& ctx_;
    std::vector<KeyedFile*> opened_;
};

// The memorandum of the alarm's diary entry, cut to the memo's size; empty
// without one.
QString diaryMemo(ScanFiles& files, const Record& alarm)
{
    const int64_t entry = alarm.num(ALA::DRYNUM);
    if (entry == 0)
        return {};
    KeyedFile* dry = files.open(VenDry);
    if (!dry)
        return {};
    dry->rec().clear();
    dry->rec().set(DRY::NUMBER, entry);
    if (!dry->get(DRY::NUMBER_KEY).ok())
        return {};
    return dry->rec().str(DRY::MEMORANDUM).left(kMemoSize);
}

} // namespace

AlarmFiring FiringTime(int32_t date, int32_t time, int32_t warning, const QString& kind)
{
    const int64_t lead = std::clamp<int64_t>(warning, -kDay, kDay) + (kind.trimmed() == "M" ? kMessageLead : 0);
    int64_t f = roundToMinutes(std::clamp<int64_t>(time, 0, kDay) - lead) * kMinute + 1;
    int64_t d = date;
    // With the time and advance taken within a day this reaches two days either way at most.
    while (f < 0) {
        f += kDay;
        --d;
    }
    while (f > kDay) {
        f -= kDay;
        ++d;
    }
    return {int32_t(d), int32_t(f)};
}

AlarmFiring FiringTime(const Record& alarm)
{
    return FiringTime(int32_t(alarm.num(ALA::DATE)), int32_t(alarm.num(ALA::TIME)), int32_t(alarm.num(ALA::WARNING)),
                      alarm.str(ALA::MESSAGE));
}

bool AlarmPassed(AlarmFiring firing, int32_t today, int32_t now)
{
    return firing.date < today || (firing.date == today && firing.time < now);
}

bool IsNextAlarm(AlarmFiring firing, int32_t today, int32_t now)
{
    return firing.date == today + 1 || (firing.date == today && firing.time > now);
}

std::optional<int32_t> RepeatDate(QChar code, int32_t date)
{
    const int weekday = weekdayOf(date);
    const char16_t c = code.unicode();
    if (c == '0')
        return date + 1;
    if (c >= '1' && c <= '7')
        return date + ((c - '1' - weekday + 6) % 7) + 1;
    if (c == '8')
        return date + kNextWorkday[weekday];
    if (c == '9')
        return date + kNextWeekendDay[weekday];
    return std::nullopt;
}

namespace {

// The other passed message alarms of the minute of passed[i], which lie
// beside it in key order, as lines of `memo`.
void addPassedLines(QString& memo, const std::vector<Alarm>& passed, size_t i)
{
    const Record& alarm = passed[i].rec;
    size_t j = i;
    while (j > 0 && sameMinute(passed[j - 1].rec, alarm))
        --j;
    for (; j < passed.size() && sameMinute(passed[j].rec, alarm); ++j)
        if (listedWith(alarm, passed[j].rec))
            addMemoLine(memo, passed[j].rec);
}

// What the status bar and the message say when the alarm file fails.
QString failureText(const Status& st)
{
    const QString why = !st.errorText.isEmpty() ? st.errorText : st.text;
    return QStringLiteral("No Alarms: %1 cannot be read (%2)").arg(QString::fromUtf8(VenAlarm.label), why);
}

// What becomes of a passed alarm.
enum class Passed {
    MoveOn,        // moved on or deleted, nothing shown: it had its window, or is disabled
    Owed,          // came due while the frame watched and had no window: its window, and it stays
    Window,        // passed before, important: its window, and moved on
    Missed,        // passed before: moved on, and logged as missed
};

Passed fateOf(const Alarm& a)
{
    const QString kind = kindOf(a.rec);
    const int64_t important = a.rec.num(ALA::IMPORTANT);
    const bool watching = AlarmsWatchedSince.date != 0;
    if (important >= 9 || AlarmShown(int32_t(a.rec.num(ALA::NBR)), a.firing))
        return Passed::MoveOn;
    // The frame's firing opens AlarmWnd for every kind but "A"; so does a late window.
    if (watching && StartAlarmWindow && a.firing >= AlarmsWatchedSince)
        return Passed::Owed;
    if (important == 1 && (kind == "M" || kind == "A") && StartAlarmWindow)
        return Passed::Window;
    return watching ? Passed::Missed : Passed::MoveOn;
}

// The activity-log line of an alarm that passed while the program was off.
QString missedLine(const Record& r)
{
    const QString what = kindOf(r) == "A" ? r.str(ALA::SOUND).trimmed() + ' ' + r.str(ALA::ACTION).trimmed()
                                          : r.str(ALA::ACTION).trimmed();
    return "Missed alarm: " + formatDate(int32_t(r.num(ALA::DATE)), u"D010-") + ' '
           + formatTime(int32_t(r.num(ALA::TIME)), u"T01.") + ' ' + what;
}

struct ScanResult {
    std::vector<NextAlarmBlock> windows;  // to start once the files are closed
    AlarmFiring rescanAt;
};

// The scan itself.
ScanResult scan(Context& ctx, int32_t today, int32_t now)
{
    ScanFiles files(ctx);
    Status failed;
    KeyedFile* ala = files.open(VenAlarm, &failed);
    ScanResult result;
    // Sooner of the rescan moment and `at`.
    auto rescanBy = [&result](AlarmFiring at) {
        if (result.rescanAt.date == 0 || at < result.rescanAt)
            result.rescanAt = at;
    };

    std::vector<Alarm> passed;      // in key order
    std::vector<Passed> fates;      // of each passed alarm
    std::vector<Alarm> candidates;  // not passed: the first one read, and the passed ones moved on
    std::optional<Alarm> first;     // of the alarms read that are not passed and had no window, the one that fires first

    if (ala) {
        KeyedFile& f = *ala;
        // In key order. An alarm fires at most two days before its date, so
        // the reading ends two days after the first firing found: no alarm
        // that fires earlier, passed or not, is left unread.
        bool stopped = false;
        // A read that fails is no end of the file: the alarms past it are
        // not known, so none is scheduled and the user is told.
        const auto readOn = [&failed](const Status& st) {
            if (!st.ok() && st.code != Err::EndOfFile && st.code != Err::NotFound)
                failed = st;
            return st.ok();
        };
        if (readOn(f.set(ALA::ALARM_KEY))) {
            while (readOn(f.next())) {
                if (first && f.rec().num(ALA::DATE) > int64_t(first->firing.date) + 2) {
                    stopped = true;
                    break;
                }
                // A form's reserved number is no alarm yet: never moved on or deleted.
                if (f.currentIsPlaceholder())
                    continue;
                Alarm a{f.rec(), f.currentId(), FiringTime(f.rec())};
                if (isPassed(a.rec, a.firing, today, now))
                    passed.push_back(std::move(a));
                else if (AlarmShown(int32_t(a.rec.num(ALA::NBR)), a.firing))
                    rescanBy(a.firing);  // its window opened early: moved on once passed
                else if (!first || rank(a) < rank(*first))
                    first = std::move(a);
            }
        }
        // Dates beyond the calendar count as passed; they come last in key order.
        if (stopped && f.setToEnd(ALA::ALARM_KEY).ok()) {
            const int64_t lastRead = std::max<int64_t>(kLastDay, int64_t(first->firing.date) + 2);
            while (readOn(f.previous()) && f.rec().num(ALA::DATE) > lastRead)
                if (!f.currentIsPlaceholder())
                    passed.push_back({f.rec(), f.currentId(), FiringTime(f.rec())});
        }

        for (const Alarm& p : passed)
            fates.push_back(fateOf(p));

        // Moved on or deleted, in one transaction; an alarm whose window is
        // owed stays until a scan finds it shown. Each alarm is read again
        // inside it, so that one changed meanwhile by another station is
        // left alone. A write that fails ends the writing; what is left stays
        // passed for a later scan.
        std::vector<Alarm> moved;
        QStringList missed;
        std::optional<WriteBatch> batch;
        if (!failed.ok())
            passed.clear(), first.reset();
        if (!passed.empty())
            batch.emplace(f);
        for (size_t i = 0; i < passed.size(); ++i) {
            const Alarm& p = passed[i];
            if (fates[i] == Passed::Owed) {
                rescanBy({today, now});
                continue;
            }
            if (!f.getById(p.id).ok() || !isPassed(f.rec(), FiringTime(f.rec()), today, now))
                continue;
            const std::optional<int32_t> date = moveOn(f.rec(), today, now);
            if (fates[i] == Passed::Missed)
                missed << missedLine(f.rec());
            if (date)
                f.rec().set(ALA::DATE, int64_t(*date));
            if (!(date ? f.put() : f.remove()).ok())
                break;
            if (date)
                moved.push_back({f.rec(), p.id, FiringTime(f.rec())});
        }
        if (batch && batch->commit().ok()) {
            candidates = std::move(moved);
            for (const QString& line : missed)
                TellLineResult(ActivityLogLine(line));
        }
        if (first)
            candidates.push_back(*first);
    }

    const auto chosen = std::min_element(candidates.begin(), candidates.end(),
                                         [](const Alarm& a, const Alarm& b) { return rank(a) < rank(b); });
    NextAlarmBlock block;
    int32_t alarmDate = 0;
    if (chosen != candidates.end() && IsNextAlarm(chosen->firing, today, now)) {
        block = blockOf(*chosen);
        block.Memo = diaryMemo(files, chosen->rec);
        alarmDate = int32_t(chosen->rec.num(ALA::DATE));
    }

    // The VenAlarm buffer: for a message alarm the record after the alarms of
    // its minute (read to list them in the memo), else the chosen alarm; all
    // fields zero when there is none, or the reading ended at the end of the file.
    if (ala) {
        bool read = false;
        if (block.Pending && block.Kind != "A") {
            ala->rec() = chosen->rec;
            ala->rec().set(ALA::WARNING, int64_t(INT32_MAX));
            if (ala->setFromBuffer(ALA::ALARM_KEY).ok()) {
                while ((read = ala->next().ok()) && sameMinute(ala->rec(), chosen->rec))
                    if (listedWith(chosen->rec, ala->rec()))
                        addMemoLine(block.Memo, ala->rec());
            }
        } else if (chosen != candidates.end()) {
            read = ala->getById(chosen->id).ok();
        }
        if (!read)
            ala->rec().clear();
    }

    setTexts(block, alarmDate, today);
    AlarmFileError = failed.ok() ? QString() : failureText(failed);
    if (!failed.ok())
        block.Text = block.Line = AlarmFileError;
    NextAlarm = block;

    // The windows of passed important alarms and the owed ones, each with its own block.
    for (size_t i = 0; i < passed.size(); ++i) {
        if (fates[i] != Passed::Owed && fates[i] != Passed::Window)
            continue;
        const Alarm& a = passed[i];
        NextAlarmBlock b = blockOf(a);
        b.Memo = diaryMemo(files, a.rec);
        if (b.Kind != "A")
            addPassedLines(b.Memo, passed, i);
        setTexts(b, int32_t(a.rec.num(ALA::DATE)), today);
        result.windows.push_back(std::move(b));
    }
    return result;
}

} // namespace

void ScanAlarms(Context& ctx, int32_t today, int32_t now)
{
    // The files are closed again before the windows start.
    const ScanResult result = scan(ctx, today, now);
    if (!AlarmFileError.isEmpty())
        tellOnce(QStringLiteral("alarm file\n") + AlarmFileError,
                 {AlarmFileError + QStringLiteral(".|Vendrolix goes on without alarms until the file is repaired or "
                                                  "restored from a backup.")},
                 QStringLiteral("Alarms Stopped"), Icon::Exclamation);
    AlarmsChanged = 0;
    ClosedAlarmNbr = 0;
    AlarmRescanAt = result.rescanAt;
    for (const NextAlarmBlock& b : result.windows)
        StartAlarmWindow(b);
}

void ScanAlarms(Context& ctx)
{
    const QDateTime moment = ven::clock().now();
    ScanAlarms(ctx, dayNumber(moment), timeValue(moment));
}

namespace {

// One occurrence of an alarm.
struct Occurrence {
    int32_t nbr;
    AlarmFiring firing;
    bool operator==(const Occurrence&) const = default;
};
constexpr int32_t kRememberDays = 2;

std::vector<Occurrence>& shownOccurrences()
{
    static std::vector<Occurrence> v;
    return v;
}

} // namespace

bool AlarmShown(int32_t nbr, AlarmFiring firing)
{
    const std::vector<Occurrence>& v = shownOccurrences();
    return std::find(v.begin(), v.end(), Occurrence{nbr, firing}) != v.end();
}

bool AlarmShown(const NextAlarmBlock& alarm)
{
    return AlarmShown(alarm.Nbr, {alarm.Date, alarm.FireTime});
}

void NoteAlarmShown(const NextAlarmBlock& alarm)
{
    std::vector<Occurrence>& v = shownOccurrences();
    const int32_t oldest = ven::clock().today() - kRememberDays;
    std::erase_if(v, [oldest](const Occurrence& o) { return o.firing.date < oldest; });
    if (!AlarmShown(alarm))
        v.push_back({alarm.Nbr, {alarm.Date, alarm.FireTime}});
}

void forgetShownAlarms()
{
    shownOccurrences().clear();
}

void AlarmRenumbered(int32_t from, int32_t to)
{
    for (Occurrence& o : shownOccurrences())
        if (o.nbr == from)
            o.nbr = to;
    if (NextAlarm.Nbr == from)
        NextAlarm.Nbr = to;
    if (ClosedAlarmNbr == from)
        ClosedAlarmNbr = to;
}

} // namespace ven
