// The shared line writer and the activity log: appending lines to plain text
// files, choosing the log file by the log mode, and writing time-stamped
// log lines. Call on the GUI thread (they use the globals of core/Globals.h).
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

namespace ven {

// The outcome of a write: the messages to show the user, in order, when it
// failed ("File could NOT be opened", "Write Error: ..."); none on success.
struct LineResult {
    QStringList messages;
    bool ok() const { return messages.isEmpty(); }
};

// Appends `text` as one line, ended by CR LF, to the file named by
// `TextFileName`, creating the file when missing. Trailing blanks are
// dropped and the text is cut to 255 characters; CR LF pairs inside it go
// into the file as they are, so one call may write several lines. The line
// goes out in one write under an exclusive lock, so lines of several
// processes appending to one file never mix.
LineResult AppendTextLine(const QString& text);

// The log file's name for a log mode on a day (without folder): see
// ActivityLogFileName.
QString activityLogName(const QString& mode, int32_t day);

// Sets `ActivityLogName` from `Log_Activity` and today: "N" and "0"
// "Vendrolix.log" ("0" becomes "N"); "C" "Vendrolix Activity.log"; "M", "W"
// and "D" a file per month, week or day; anything else "Vendrolix.log".
void ActivityLogFileName();

// The date header of a log file for a day, e.g.
// "Wednesday 09 December 2026, Week 49".
QString dateLineFor(int32_t day);

// Writes one activity-log line, the time now as hh:mm:ss, a blank and
// `text`, to Daily_Notes / ActivityLogName; a new file first gets `DateLine`
// and an empty line. Does nothing when `Log_Activity` is "N". Afterwards
// `TextFileName` is empty and `LogWritten` is 1.
LineResult ActivityLogLine(const QString& text);

// Appends `lines` as they are (no time) to Daily_Notes / ActivityLogName,
// for the date headers that the frame writes at start-up and at midnight.
// Afterwards `TextFileName` is empty and `LogWritten` is 1.
LineResult AppendLogLines(const QStringList& lines);

} // namespace ven
