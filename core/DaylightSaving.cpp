// The daylight-saving switch and the status-bar zone texts.
#include "core/DaylightSaving.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/KeyLocks.h"
#include "platform/Picture.h"
#include "platform/TellOnce.h"

#include <QDir>

#include <algorithm>
#include <optional>

namespace ven {

namespace {

constexpr int32_t kRecheckDays = 180;
constexpr int kMaxRescanMarks = 32;

void takeChange(const Record& r, DlsNextChange& next)
{
    next.date = int32_t(r.num(DLS::DATE));
    next.time = int32_t(r.num(DLS::TIME));
    const bool forward = r.str(DLS::PLUSMINUS) == u"+";
    next.direction = forward ? 1 : -1;
    next.name = forward ? QStringLiteral("DLS") : QStringLiteral("STD");
}

// Reads the earliest change into the buffer; false when there is none or
// the table cannot be read (then `failure` holds the reason).
bool readFirst(KeyedFile& f, Status* failure = nullptr)
{
    Status st = f.set(DLS::DATE_KEY);
    if (st.ok())
        st = f.next();
    if (!st.ok() && st.code != Err::EndOfFile && st.code != Err::NotFound && failure)
        *failure = st;
    return st.ok();
}

// Takes out, unapplied, the missed changes that no longer tell the time:
// one that a later change has followed since (it is past too), and one
// older than the time a change holds before the next is due. Each is
// logged; the earliest change left is the first record.
void dropOutdatedChanges(KeyedFile& f, int32_t today, int32_t nowTime)
{
    while (readFirst(f)) {
        DlsNextChange first;
        takeChange(f.rec(), first);
        if (first.date >= today)
            return;
        const QString change =
            first.name + ' ' + f.rec().str(DLS::PLUSMINUS) + formatTime(int32_t(f.rec().num(DLS::CHANGE)), u"T8");
        std::optional<DlsNextChange> later;
        if (f.next().ok()) {
            later.emplace();
            takeChange(f.rec(), *later);
        }
        const bool followed = later && (later->date < today || (later->date == today && later->time <= nowTime));
        const bool stale = today - first.date > kRecheckDays;
        if (!followed && !stale)
            return;
        if (!readFirst(f) || !f.remove().ok())
            return;
        const QString line = change + QStringLiteral(" of ") + formatDate(first.date, u"D06-B")
                             + (followed ? QStringLiteral(" not applied: a later change has followed it")
                                         : QStringLiteral(" not applied: more than %1 days ago").arg(kRecheckDays));
        if (Log_Activity != u"N")
            TellLineResult(ActivityLogLine(line));
    }
}

// A table that cannot be opened or read: told once, with the engine's reason.
void tellUnreadable(const Status& st, DlsNextChange& next)
{
    next.unreadable = st.errorText.isEmpty() ? st.text : st.errorText;
    if (next.unreadable.isEmpty())
        next.unreadable = QStringLiteral("error %1").arg(int(st.code));
    const QString file = QDir::toNativeSeparators(Store::instance().pathOf(Ven_DLS));
    tellOnce(QStringLiteral("daylight-saving table\n") + file + u'\n' + next.unreadable,
             {QStringLiteral("The daylight-saving table %1 cannot be read:|%2.||The clock is not switched by the "
                             "stored changes until the table can be read again.")
                  .arg(file, next.unreadable)},
             QStringLiteral("Daylight Saving Time"), Icon::Exclamation);
}

// Carries out the buffer's change: the computer's clock is never set (it
// runs in UTC; the system's time zone gives local time), so the record is
// deleted and the log line says that the zone makes the change.
DlsCheckResult apply(KeyedFile& f, const DlsNextChange& next)
{
    const Record& r = f.rec();
    DlsCheckResult res;
    res.applied = true;
    res.logLine = next.name + ' ' + r.str(DLS::PLUSMINUS) + formatTime(int32_t(r.num(DLS::CHANGE)), u"T8")
                + QStringLiteral(" not set: the system's time zone makes the change");
    f.remove();
    if (Log_Activity != u"N")
        TellLineResult(ActivityLogLine(res.logLine));
    return res;
}

std::optional<QTimeZone>& zoneInPlace()
{
    static std::optional<QTimeZone> zone;
    return zone;
}

// The zone's next switch after `now`, dated and timed as the clock reads
// just before it (02.00 for a spring switch to 03.00).
bool takeZoneSwitch(const QTimeZone& zone, const QDateTime& now, DlsNextChange& next)
{
    const QTimeZone::OffsetData t = zone.nextTransition(now);
    if (!t.atUtc.isValid())
        return false;
    const QDateTime before = t.atUtc.addMSecs(-1).toTimeZone(zone);
    const QDateTime reading = QDateTime(before.date(), before.time(), Qt::UTC).addMSecs(1);
    next.date = dayNumber(reading);
    next.time = timeValue(reading);
    const bool toDaylight = t.daylightTimeOffset > 0;
    next.direction = toDaylight ? 1 : -1;
    next.name = toDaylight ? QStringLiteral("DLS") : QStringLiteral("STD");
    next.zoneSwitch = t.atUtc;
    return true;
}

// The check where the time zone switches itself: stored changes that have
// come due were made by the zone, so they are logged and removed without
// moving the clock; the next change is the zone's.
DlsCheckResult checkByZone(Context& ctx, const QTimeZone& zone, const QDateTime& now, DlsNextChange& next)
{
    DlsCheckResult res;
    res.zoneSwitches = true;
    const int32_t today = dayNumber(now);
    const int32_t nowTime = timeValue(now);
    const QString id = QString::fromUtf8(zone.id());
    // A change stored for today is taken as made once its time has come or
    // the zone has switched today (after an autumn switch the clock reads
    // the hour before the stored time again).
    const QDateTime lastSwitch = zone.previousTransition(now).atUtc;
    const bool switchedToday = lastSwitch.isValid() && dayNumber(lastSwitch.toTimeZone(zone)) == today;
    KeyedFile& f = ctx.file(Ven_DLS);
    next.unreadable.clear();
    Status failure;
    if (Status opened = f.open(KeyedFile::Mode::Shared); !opened.ok()) {
        tellUnreadable(opened, next);
    } else {
        while (readFirst(f, &failure)) {
            DlsNextChange stored;
            takeChange(f.rec(), stored);
            if (stored.date > today || (stored.date == today && stored.time > nowTime && !switchedToday))
                break;
            const QString change =
                stored.name + ' ' + f.rec().str(DLS::PLUSMINUS) + formatTime(int32_t(f.rec().num(DLS::CHANGE)), u"T8");
            if (!f.remove().ok())
                break;
            res.logLine = change + QStringLiteral(" not set: the time zone ") + id + QStringLiteral(" switches itself");
            if (Log_Activity != u"N")
                TellLineResult(ActivityLogLine(res.logLine));
            tellOnce(QStringLiteral("daylight saving\n") + id,
                     {QStringLiteral("The time zone %1 switches between standard and daylight-saving time itself.||"
                                     "The stored change %2 of %3 does not move the computer's clock,|"
                                     "so that the time is not moved twice.")
                          .arg(id, change, formatDate(stored.date, u"D06-B"))},
                     QStringLiteral("Daylight Saving Time"), Icon::Information);
        }
        if (!failure.ok())
            tellUnreadable(failure, next);
        f.close();
    }
    const QString unreadable = next.unreadable;
    if (takeZoneSwitch(zone, now, next)) {
        DlsMissing = 0;
    } else {
        next = DlsNextChange{};
        next.date = today + kRecheckDays;
        next.unreadable = unreadable;
        DlsMissing = 1;
    }
    DlsChanged = 0;
    return res;
}

} // namespace

void setDaylightSavingZone(const QTimeZone& zone)
{
    zoneInPlace() = zone.isValid() ? std::optional<QTimeZone>(zone) : std::nullopt;
}

QTimeZone daylightSavingZone()
{
    return zoneInPlace() ? *zoneInPlace() : QTimeZone::systemTimeZone();
}

bool ZoneSwitchesItself(const QTimeZone& zone, const QDateTime& now)
{
    return zone.isValid() && zone.hasDaylightTime() && zone.nextTransition(now).atUtc.isValid();
}

DlsCheckResult CheckDaylightSaving(Context& ctx, const QDateTime& now, DlsNextChange& next)
{
    const QTimeZone zone = daylightSavingZone();
    if (ZoneSwitchesItself(zone, now))
        return checkByZone(ctx, zone, now, next);
    next.zoneSwitch = {};
    const int32_t today = dayNumber(now);
    const int32_t nowTime = timeValue(now);
    KeyedFile& f = ctx.file(Ven_DLS);
    DlsCheckResult res;
    next.unreadable.clear();
    Status failure;
    if (Status opened = f.open(KeyedFile::Mode::Shared); !opened.ok()) {
        tellUnreadable(opened, next);
        next.date = today + kRecheckDays;
        DlsChanged = 0;
        return res;
    }
    dropOutdatedChanges(f, today, nowTime);
    if (!readFirst(f, &failure)) {
        next.date = today + kRecheckDays;
        if (failure.ok())
            DlsMissing = 1;
        else
            tellUnreadable(failure, next);
    } else {
        DlsMissing = 0;
        takeChange(f.rec(), next);
        if (next.date < today) {
            // A missed change: applied on the current time of day, unless
            // that would take the clock back before today's midnight.
            const int64_t hundredths = f.rec().num(DLS::CHANGE) - 1;
            if (nowTime + next.direction * hundredths > 0) {
                res = apply(f, next);
                next.date = today + kRecheckDays;
            }
        } else if (next.date == today && next.time <= nowTime) {
            res = apply(f, next);
            if (!readFirst(f)) {
                next.date = today + kRecheckDays;
                DlsMissing = 1;
            } else {
                takeChange(f.rec(), next);
            }
        }
    }
    f.close();
    DlsChanged = 0;
    return res;
}

bool DaylightSavingDue(const DlsNextChange& next, int32_t today, int32_t now)
{
    if (next.zoneSwitch.isValid())
        return DlsChanged == 1 || ven::clock().now() >= next.zoneSwitch;
    if (today == next.date)
        return next.time <= now;
    return DlsChanged == 1;
}

QString DaylightSavingText(const DlsNextChange& next, int32_t today, bool missing)
{
    if (!next.unreadable.isEmpty() && !next.zoneSwitch.isValid())
        return QStringLiteral("DLS/STD Table cannot be read!");
    if (missing)
        return QStringLiteral("DLS/STD Time Missing!");
    const QString time = formatTime(next.time, u"T01.B");
    if (next.date > today)
        return next.name + QStringLiteral(": ") + formatDate(next.date, u"D06-B") + ' ' + time;
    return next.name + QStringLiteral(": ") + time;
}

QString AlarmStatusText(int alarmsChanged, bool pending, const QString& nextAlarmLine, const QString& unreadable)
{
    if (alarmsChanged > 0)
        return QString(std::min(alarmsChanged, kMaxRescanMarks), u'o');
    return pending ? nextAlarmLine : !unreadable.isEmpty() ? unreadable : kNoAlarms;
}

KeyLockLetters LockLetters(bool numLock, bool capsLock, bool scrollLock)
{
    const auto letter = [](bool on, char c) { return on ? QString(QChar(c)) : QStringLiteral("-"); };
    return {letter(numLock, 'N'), letter(capsLock, 'C'), letter(scrollLock, 'S')};
}

KeyLockLetters CurrentKeyLockLetters()
{
    if (const std::optional<KeyLocks> k = keyLocks())
        return LockLetters(k->num, k->caps, k->scroll);
    return {};
}

} // namespace ven
