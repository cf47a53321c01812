// The system's process-wide globals, named as the rest of the system names
// them. They live on the GUI thread (all windows run there); code on other
// threads must not touch them. Add new globals to their group, or start a
// new group with a one-line comment.
#pragma once
#include <QString>
#include <cstdint>

namespace ven {

// Settings of section [Paths] (Program_Path is the framework's, platform/Procedure.h).
inline QString Document_Path;  // the folder of new documents
inline QString Sound_Path;     // the folder of sound files
inline QString Sound_File;     // the sound file last chosen
inline QString HourBell, HalfBell, QuarterBell;  // chime sounds; blank: no chime
inline QString AlertSound;     // blank: a system beep
inline QString Daily_Notes;    // the folder of the daily extra notes and the activity log

// Settings of section [Main].
inline int32_t LastOn = 0;           // the day the program last ran
inline uint8_t GOpenCalendar = 0;    // 0..3: when the day calendar opens by itself
inline uint8_t TimeDisplay = 0;      // the digital clock opens at start-up
inline uint8_t Start_In_Tray = 0;    // the frame starts in the notification area
inline uint8_t Start_Maximized = 0;  // the frame starts maximized
inline QString DefaultPrinter;       // the printer's device name
inline QString TelefaxDevice;        // the fax printer's device name

// The frame's own facts, built at set-up.
inline int32_t BuildDate = 72942;    // 12 September 2000
inline int32_t BuildTime = 5476885;  // 15:12:48.84
inline QString VersionLabel;         // "Vendrolix ver. 1.37"
inline QString CurrentUser;          // the log-on name, then the logged-in user
inline int32_t CurrentTime = 0;      // the time of the frame's last tick
inline int FrameRight = 0, FrameBottom = 0;
inline uint8_t InTray = 0;  // 1 while the frame is hidden behind its notification-area icon

// The document owner pair (the owner's kind letter, "N", "D", "I" or "C",
// and its number) and the values a new document starts with, set by the
// four owners before they open or filter the document lists and form.
inline QString GCatId;
inline uint32_t GCatNum = 0;
inline QString GDocPath;
inline QString GDocDescription;

// Requests of other windows to the frame, polled by its timer.
inline uint8_t CloseRequested = 0;
inline uint8_t RestoreRequested = 0;
inline uint8_t ConfigChanged = 0;
inline uint8_t LockRequested = 0;
inline uint8_t UnlockRequested = 0;
// 1 while the lock window holds the program locked (from its Lock to the
// right password): only then the frame keeps itself hidden.
inline uint8_t ProgramLocked = 0;
inline uint8_t DlsChanged = 0;

// Activity log.
inline QString Log_Activity;     // log mode, one character: "N" none, "C", "M", "W", "D"; "0" taken as "N"
inline QString ActivityLogName;  // the current log file's name, without folder
inline uint8_t LogWritten = 0;   // set to 1 after each log write; the log viewer clears it
inline QString DateLine;         // today's date header, e.g. "Wednesday 09 December 2026, Week 49"

// The shared line writer.
inline QString TextFileName;  // the file that the next AppendTextLine writes

// The chat's settings.
inline QString ChatFileName;  // the folder of the chat file, [Paths] "ChatFileName"

// The account type ("B", "I", "E") the account picker lists; its caller sets it.
inline QString AccType;

} // namespace ven
