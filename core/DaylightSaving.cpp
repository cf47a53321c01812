// The daylight-saving switch and the status-bar zone texts.
#include "core/DaylightSaving.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"
#include "platform/SystemClock.h"

#include <algorithm>

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

// Reads the earliest change into the buffer; false when there is none.
bool readFirst(KeyedFile& f)
{
    return f.set(DLS::DATE_KEY).ok() && f.next().ok();
}

// Moves the clock by the buffer's change from `now`, deletes the record when
// the clock moved and writes the log line.
DlsCheckResult apply(KeyedFile& f, const QDateTime& now, const DlsNextChange& next)
{
    const Record& r = f.rec();
    DlsCheckResult res;
    res.applied = true;
    const int64_t hundredths = std::max<int64_t>(r.num(DLS::CHANGE) - 1, 0);
    res.newTime = now.addMSecs(next.direction * hundredths * 10);
    res.logLine = next.name + ' ' + r.str(DLS::PLUSMINUS) + formatTime(int32_t(r.num(DLS::CHANGE)), u"T8");
    res.clockSet = setLocalTime(res.newTime, &res.error);
    if (res.clockSet)
        f.remove();
    else
        res.logLine += QStringLiteral(" not set: ") + res.error;
    if (Log_Activity != u"N")
        ActivityLogLine(res.logLine);
    return res;
}

} // namespace

DlsCheckResult CheckDaylightSaving(Context& ctx, const QDateTime& now, DlsNextChange& next)
{
    const int32_t today = dayNumber(now);
    const int32_t nowTime = timeValue(now);
    KeyedFile& f = ctx.file(Ven_DLS);
    DlsCheckResult res;
    if (!f.open(KeyedFile::Mode::Shared).ok()) {
        DlsChanged = 0;
        return res;
    }
    if (!readFirst(f)) {
        next.date = today + kRecheckDays;
        DlsMissing = 1;
    } else {
        DlsMissing = 0;
        takeChange(f.rec(), next);
        if (next.date < today) {
            // A missed change: applied on the current time of day, unless
            // that would take the clock back before today's midnight.
            const int64_t hundredths = f.rec().num(DLS::CHANGE) - 1;
            if (nowTime + next.direction * hundredths > 0) {
                res = apply(f, now, next);
                next.date = today + kRecheckDays;
            }
        } else if (next.date == today && next.time <= nowTime) {
            res = apply(f, now, next);
            if (!res.clockSet) {
                next.date = today + kRecheckDays;
            } else if (!readFirst(f)) {
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
    if (today == next.date)
        return next.time <= now;
    return DlsChanged == 1;
}

QString DaylightSavingText(const DlsNextChange& next, int32_t today, bool missing)
{
    if (missing)
        return QStringLiteral("DLS/STD Time Missing!");
    const QString time = formatTime(next.time, u"T01.B");
    if (next.date > today)
        return next.name + QStringLiteral(": ") + formatDate(next.date, u"D06-B") + ' ' + time;
    return next.name + QStringLiteral(": ") + time;
}

QString AlarmStatusText(int alarmsChanged, bool pending, const QString& nextAlarmLine)
{
    if (alarmsChanged > 0)
        return QString(std::min(alarmsChanged, kMaxRescanMarks), u'o');
    return pending ? nextAlarmLine : kNoAlarms;
}

KeyLockLetters LockLetters(bool numLock, bool capsLock, bool scrollLock)
{
    const auto letter = [](bool on, char c) { return on ? QString(QChar(c)) : QStringLiteral("-"); };
    return {letter(numLock, 'N'), letter(capsLock, 'C'), letter(scrollLock, 'S')};
}

KeyLockLetters CurrentKeyLockLetters()
{
    return {};
}

} // namespace ven
