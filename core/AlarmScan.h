// The alarm scan: moves passed alarms on by their repeat codes (or deletes
// them), opens the windows of passed important alarms, and keeps the next
// alarm of today or tomorrow in the process-wide NextAlarm block and its texts.
//
// The block and the counters are process-wide state of the GUI thread; the
// scan runs on the frame's context. The alarm rules (firing time, passed and
// next, repeat codes) are pure functions that any code may call.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace ven {

// The next alarm as the frame's timer and the alarm windows read it. Pending
// is 1 when the block holds an alarm; otherwise the other fields are empty.
struct NextAlarmBlock {
    uint8_t Pending = 0;
    int32_t Nbr = 0;       // ALA:NBR
    int32_t Date = 0;      // the firing date (ALA:DATE, or earlier when the advance reaches over midnight)
    int32_t Time = 0;      // ALA:TIME
    int32_t Warning = 0;   // ALA:WARNING + 6200: the advance plus 62 seconds
    int32_t FireTime = 0;  // the time of day on the firing date at which the window opens
    QString Kind;          // ALA:MESSAGE, trimmed: "M" message, "A" action
    uint8_t Important = 0; // ALA:IMPORTANT: 0 normal, 1 important, 9 disabled
    uint8_t Log = 0;       // ALA:LOG
    QString Action;        // ALA:ACTION, trimmed
    QString Sound;         // ALA:SOUND, trimmed
    QString Memo;          // the diary entry's memorandum, then a line per other message alarm of the minute
    // The alarm as several lines and as one line ("No Alarms!" when none).
    // They belong to the block so that a copy of it carries what an alarm
    // window shows; NextAlarmText and NextAlarmLine name those of NextAlarm.
    QString Text;
    QString Line;
};

// The next alarm; written by ScanAlarms (WarningWnd clears Pending).
inline NextAlarmBlock NextAlarm;
inline QString& NextAlarmText = NextAlarm.Text;
inline QString& NextAlarmLine = NextAlarm.Line;
// Change counter: writers of alarms add 1, the frame rescans above 8; the scan sets it to 0.
inline uint8_t AlarmsChanged = 0;
// Why the last scan could not read the alarm file ("No Alarms: VenAlarm
// cannot be read (...)", which the texts then show); empty when it could.
// The user is told once per reason; no alarm fires meanwhile.
inline QString AlarmFileError;
// ALA:NBR of the alarm whose window closed last; the scan sets it to 0.
inline int32_t ClosedAlarmNbr = 0;

// Starts the window of an alarm (AlarmWnd for kind "M", WarningWnd for "A")
// with that alarm's own block, and notes its occurrence shown
// (NoteAlarmShown) when the window starts. Set by the frame; when empty no
// window is started. The scan calls it after it has finished.
inline std::function<void(const NextAlarmBlock&)> StartAlarmWindow;

// The renumbering gave alarm `from` the number `to`: the block,
// ClosedAlarmNbr and the occurrences that had a window follow, so that a
// shown alarm opens no second window.
void AlarmRenumbered(int32_t from, int32_t to);

inline const QString kNoAlarms = QStringLiteral("No Alarms!");

// When an alarm's window opens: the firing date and the time of day on it.
struct AlarmFiring {
    int32_t date = 0;
    int32_t time = 0;
    auto operator<=>(const AlarmFiring&) const = default;
};

// The moment from which the frame watches the alarms: its first scan (zero
// before). A passed alarm that fires at or after it came due while the
// program ran and is owed its window; one that fired before it passed while
// the program was off.
inline AlarmFiring AlarmsWatchedSince;

// When the frame scans again though nothing changed (zero date: no need):
// the firing moment of an alarm whose window opened before it passed, so
// that it is moved on once passed, or the scan's own moment when a window
// is owed and its alarm was left in place.
inline AlarmFiring AlarmRescanAt;

// The alarm occurrences (number, firing date and time) that had a window in
// this run, remembered for two days: each occurrence gets one window. The
// same alarm moved on or changed to another firing moment is another one.
bool AlarmShown(int32_t nbr, AlarmFiring firing);
bool AlarmShown(const NextAlarmBlock& alarm);
void NoteAlarmShown(const NextAlarmBlock& alarm);
void forgetShownAlarms();

// The firing moment: the alarm time less the advance (a message alarm's
// less a further 62 seconds), taken to the nearest whole minute, on the day
// before (or earlier) when that reaches back over midnight. An advance is
// taken within 0 .. one day and a time within 0 .. 8640000.
AlarmFiring FiringTime(int32_t date, int32_t time, int32_t warning, const QString& kind);
AlarmFiring FiringTime(const Record& alarm);

// Passed: the firing date is before today, or today and the firing time
// before now. Next: the firing date is tomorrow, or today and the firing
// time after now. A firing time equal to now is neither.
bool AlarmPassed(AlarmFiring firing, int32_t today, int32_t now);
bool IsNextAlarm(AlarmFiring firing, int32_t today, int32_t now);

// The new ALA:DATE of a passed alarm with repeat code `code` ("0" daily,
// "1".."7" weekly Sunday..Saturday, "8" Monday to Friday, "9" Saturday and
// Sunday); nullopt for "N" and any other code: the alarm is deleted.
// requires: date + 7 fits in 32 bits.
std::optional<int32_t> RepeatDate(QChar code, int32_t date);

// The scan at the moment `today`, `now`, on the context's VenAlarm and VenDry
// instances (opened shared when they are not open, and then closed again).
// Afterwards: every passed alarm is moved on to its first occurrence that is
// not passed, or deleted (alarms without a valid date count as passed),
// except an alarm of kind "M" or "A" that came due since AlarmsWatchedSince
// and had no window yet: StartAlarmWindow is called for it and it stays
// until a later scan finds it shown. StartAlarmWindow is also called for
// each passed important alarm of kind "M" or "A" that passed before; while
// the frame watches (AlarmsWatchedSince set), each other alarm that passed
// before, not disabled, is written to the activity log as missed. The block holds the not-passed alarm without a window that
// fires first when it fires today or tomorrow, else it is empty; the texts
// are built; AlarmsChanged and ClosedAlarmNbr are 0; AlarmRescanAt is set;
// the windows start after the files were closed. The VenAlarm buffer holds
// the record read last, for the frame's timer: with a message alarm in the
// block the record after the alarms of its minute, else the not-passed alarm
// that fires first; all fields zero when the reading ended at the end of
// the file.
void ScanAlarms(Context& ctx, int32_t today, int32_t now);
// The same at the moment of ven::clock().
void ScanAlarms(Context& ctx);

} // namespace ven
