// The system's process-wide globals, named as the rest of the system names
// them. They live on the GUI thread (all windows run there); code on other
// threads must not touch them. Add new globals to their group, or start a
// new group with a one-line comment.
#pragma once
#include <QString>
#include <cstdint>

namespace ven {

// Folders from the settings file, section [Paths].
inline QString Daily_Notes;  // the folder of the daily extra notes and the activity log

// Activity log.
inline QString Log_Activity;     // log mode, one character: "N" none, "C", "M", "W", "D"; "0" taken as "N"
inline QString ActivityLogName;  // the current log file's name, without folder
inline uint8_t LogWritten = 0;   // set to 1 after each log write; the log viewer clears it
inline QString DateLine;         // today's date header, e.g. "Wednesday 09 December 2026, Week 49"

// The shared line writer.
inline QString TextFileName;  // the file that the next AppendTextLine writes

} // namespace ven
