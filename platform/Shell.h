// The shell-launch block and the shell's verbs: "Open" hands a document or
// an address ("MailTo:", "tel:", a web address) to the desktop and never
// executes a file; "Start" starts a program, for the callers that start
// programs (the program register and launcher, command alarms, a
// document's chosen program); "Play" plays a sound file in-process. Every
// shell call of the system fills the block first and passes it whole.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <functional>

namespace ven {

// The block, as its fields are named in the system.
inline int16_t ShellResult = 0;      // result of the last call: above 32 success
inline int16_t ShellShowCmd = 0;     // 0 hidden (sounds), 1 a normal window
inline QString ShellParameters;      // parameters
inline QString ShellDirectory;       // working folder
inline QString ShellFile;            // the file, document, program or address
inline QString ShellOperation;       // "Play", "Open" or "Start"
inline QObject* ShellWindow = nullptr;  // the calling window
// Where the next call's failure is told instead of the failure hook: at
// once, or for a sound that fails while it plays, later. Taken by that call
// (empty again afterwards); a failed Open or Start is still shown too.
inline std::function<void(const QString& why)> ShellOnFailure;
// The failure of the last call ("Sound file not found: ..."); empty after a
// success, and for a sound until it has failed.
inline QString ShellFailure;

// Results, as the system's callers know them.
inline constexpr int16_t kShellDone = 42;
inline constexpr int16_t kShellFileNotFound = 2;
inline constexpr int16_t kShellPathNotFound = 3;
inline constexpr int16_t kShellAccessDenied = 5;
inline constexpr int16_t kShellNoAssociation = 31;

// Carries out the block: ShellResult := the result. A quoted file name is
// taken without its quotes.
// - Open: an address goes to the desktop as a QUrl built from its parts
//   ("tel:" only when the desktop has a handler for it); a file or folder
//   goes to the desktop as a document. A file that could run as a program
//   (executable bit set, and a script, text or binary program) is refused.
// - Start: the file is the program (a bare name is found on PATH), the
//   parameters are split into its arguments, the folder (which must exist;
//   blank: the current folder) is where it starts; it runs detached, with no
//   shell between.
// - Play: the sound plays in-process and the call does not wait.
// A failure gives a result of 32 or below and is told to the failure hook;
// a failed Open or Start is also shown to the user.
int16_t ShellExecute();

// Where the block goes instead (tests record sounds and openings); an empty
// function restores the real shell.
using ShellHandler = std::function<int16_t()>;
void setShellHandler(ShellHandler handler);
// Told of every failed shell call with a short text ("Sound file not found: ...").
void setShellFailureHook(std::function<void(const QString&)> hook);
// A failing sound device is told once a run; this tells it again next time.
void forgetSoundDeviceFailure();

// Splits a parameter text as a command line is split: blanks separate,
// double quotes group, and within quotes a doubled quote ("") is one
// literal quote.
QStringList splitParameters(const QString& text);
// One argument as parameter text that splitParameters gives back whole,
// blanks and quotes included: enclosed in quotes, each quote doubled.
QString quoteArgument(const QString& argument);

// The executable file that a Start of `program` in `folder` runs: a path
// (relative ones to `folder`) or a bare name found on PATH; empty when
// there is no such executable file.
QString findProgram(const QString& program, const QString& folder = {});

// Whether Open refuses `file`: an executable bit is set and the file is a
// "#!" script, a binary program, any text (the system runs text without a
// "#!" line as a shell script) or of a type the MIME database calls a
// program. Executable documents of other kinds (on a FAT stick every file
// has the bit) still open.
bool mayRunAsProgram(const QString& file);

// Addresses built from their parts, escaped; invalid when the text does
// not make one. A mail address is the whole path ("?" and "#" in it are
// escaped, so no header can be added). A web address without a scheme gets
// "http://"; only http, https and ftp addresses with a host are made.
// A telephone number keeps a leading "+", digits, "*" and "#" and drops
// the separators (blanks, "-", ".", "/", brackets).
QUrl mailToUrl(const QString& address);
QUrl webUrl(const QString& address);
QUrl telUrl(const QString& number);

// The desktop id of the application that handles a URL scheme ("tel"),
// empty when none is registered (as `xdg-mime query default
// x-scheme-handler/tel` would answer).
QString schemeHandler(const QString& scheme);

// The icon of a registered program from its icon setting: a picture file;
// a ".desktop" file's icon (from the theme); for a program file or a bare
// program name, the icon of the application entry that starts it or the
// theme's icon of its name; else `fallback`.
QIcon programIcon(const QString& icon, const QIcon& fallback);

} // namespace ven
