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
    QString file;  // the file that failed
    bool ok() const { return messages.isEmpty(); }
};

// Shows a failed write's messages, each in a box with no caption, no icon
// and OK, once per file and cause in a run (see platform/TellOnce.h); the
// writers that fail on every tick thus tell it once. Returns `r.ok()`.
bool TellLineResult(const LineResult& r);

// How the characters of a line become bytes: UTF-8, or single-byte Western
// text (Windows-1252, which is Latin-1 with printable characters in 0x80 to
// 0x9F) for files that other programs read byte by byte; there "þ" is the
// one byte 0xFE and a character the code page lacks becomes "?".
enum class LineCoding : uint8_t { Utf8, Western };

// Appends `text` as one line, ended by CR LF, to `file`, creating the file
// when missing. Trailing blanks are dropped and the text is cut to 255
// characters; CR LF pairs inside it go into the file as they are, so one
// call may write several lines. The line goes out in one write under an
// exclusive lock, so lines of several processes appending to one file never
// mix.
LineResult AppendTextLine(const QString& file, const QString& text, LineCoding coding = LineCoding::Utf8);

// Appends `lines`, each trimmed and cut as above, to `file` in one write
// under the lock, so no other writer's line falls between them (the two
// lines of a chat message). `newFileLines` go first when the file is empty
// at that moment (a date header), decided under the same lock, so two
// writers starting a file give it one header.
LineResult AppendTextLines(const QString& file, const QStringList& lines, const QStringList& newFileLines = {},
                           LineCoding coding = LineCoding::Utf8);

// AppendTextLine into the file named by the global `TextFileName`, for the
// writers that keep their file there.
LineResult AppendTextLine(const QString& text);

// `text` in Windows-1252: one byte a character, "?" for what it lacks.
QByteArray westernBytes(const QString& text);
// The characters of `text` that Windows-1252 lacks, each once, in order.
QString westernLacks(const QString& text);

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
// `LogWritten` is 1; `TextFileName` is left as it was (the calculator's
// tape keeps its file there while its window is open).
LineResult ActivityLogLine(const QString& text);

// Appends `lines` as they are (no time) to Daily_Notes / ActivityLogName,
// for the date headers that the frame writes at start-up and at midnight.
// Afterwards `LogWritten` is 1.
LineResult AppendLogLines(const QStringList& lines);

// Writes one activity-log line as ActivityLogLine does, into `folder` /
// ActivityLogName, for the writers whose log folder is the one the settings
// file names at that moment. The caller checks the log mode first.
LineResult ActivityLogLineIn(const QString& folder, const QString& text);

} // namespace ven
