// The daylight-saving switch (the changes kept in Ven_DLS, carried out at
// their moments without ever setting the computer's clock) and the texts of
// the frame's status-bar zones.
// Call on the GUI thread: the check uses the globals and the frame's files.
#pragma once

#include "platform/KeyedFile.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <cstdint>

namespace ven {

// 1 while the table holds no change the frame could take as the next one.
inline uint8_t DlsMissing = 0;

// The next change as the frame holds it from one check to the next.
struct DlsNextChange {
    int32_t date = 0;   // day number
    int32_t time = 0;   // time value of the moment the clock moves
    int direction = 0;  // +1 forward, -1 back
    QString name;       // "DLS" (forward) or "STD"
    // The moment of a switch the time zone makes itself; invalid for a
    // change taken from the table.
    QDateTime zoneSwitch;
    // Why the table could not be read at the last check; empty when it was.
    QString unreadable;
};

// What a check did.
struct DlsCheckResult {
    bool applied = false;  // a stored change was carried out (logged and removed)
    QString logLine;       // e.g. "DLS +1:00:00 not set: the system's time zone makes the change"
    bool zoneSwitches = false;  // the time zone switches itself; the clock stays
};

// The time zone whose own daylight-saving switches the check respects: the
// system's, unless a test put another in place; an invalid zone puts the
// system's back.
void setDaylightSavingZone(const QTimeZone& zone);
QTimeZone daylightSavingZone();

// True when `zone` switches daylight-saving time itself after `now`: it
// observes daylight-saving time and has a switch ahead (a zone that gave it
// up long ago has none).
bool ZoneSwitchesItself(const QTimeZone& zone, const QDateTime& now);

// The check at the moment `now`, on the context's Ven_DLS instance (opened
// shared and closed again). The computer's clock is never set: it runs in
// UTC and the system's time zone gives local time. Takes the earliest change
// in the table:
// - none: `next.date` := today + 180, DlsMissing := 1;
// - dated before today (missed): carried out unless moving the time of day
//   by it would go back before today's midnight; `next.date` := today + 180;
// - today and its time not after now: carried out, and the following record
//   becomes the next change;
// - later: it only becomes the next change.
// A carried-out change is deleted and writes its activity-log line (" not
// set: the system's time zone makes the change").
// A table that cannot be opened or read is told once per run with the
// engine's reason (`next.unreadable`), nothing is switched, and the check
// runs again at the next table change or after 180 days. Afterwards
// DlsChanged is 0.
//
// When daylightSavingZone() switches itself (ZoneSwitchesItself) a stored
// change that comes due is logged with the reason (" not set: the time zone
// ... switches itself") and removed as carried out, the user is told why
// once per run, and the next change is the zone's own next switch (its
// name, and its date and time of day as the clock reads just before it).
DlsCheckResult CheckDaylightSaving(Context& ctx, const QDateTime& now, DlsNextChange& next);

// The timer runs the check when today is the next change's date and its
// time is not after `now`, or on another date when DlsChanged is 1; for a
// zone's own switch, once the clock has passed its moment.
bool DaylightSavingDue(const DlsNextChange& next, int32_t today, int32_t now);

// Status zone 1: "DLS/STD Table cannot be read!" while the last check could
// not read the table (and the zone does not switch itself); "DLS/STD Time
// Missing!" while `missing`; else the name, ": " and the date ("D06-B") and
// time ("T01.B"), or only the time when the date is today or earlier.
QString DaylightSavingText(const DlsNextChange& next, int32_t today, bool missing);

// Status zone 2: a run of "o" as long as `alarmsChanged` (at most 32) while a
// rescan is pending; else `nextAlarmLine` while an alarm is pending, else
// why the alarm file could not be read (`unreadable`), else "No Alarms!".
QString AlarmStatusText(int alarmsChanged, bool pending, const QString& nextAlarmLine,
                        const QString& unreadable = {});

// Status zones 5 to 7: "N", "C", "S" while the lock is on, else "-".
struct KeyLockLetters {
    QString num, caps, scroll;
};
KeyLockLetters LockLetters(bool numLock, bool capsLock, bool scrollLock);
// The letters of the keyboard's present state (platform/KeyLocks.h); empty
// letters where the platform gives no way to read it.
KeyLockLetters CurrentKeyLockLetters();

} // namespace ven
