// The shell-launch block and the shell's two verbs: "Open" hands a
// document, program, "MailTo:" or web address to the desktop, "Play" plays
// a sound file in-process. Every shell call of the system fills the block
// first and passes it whole.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace ven {

// The block, as its fields are named in the system.
inline int16_t ShellResult = 0;      // result of the last call: above 32 success
inline int16_t ShellShowCmd = 0;     // 0 hidden (sounds), 1 a normal window
inline QString ShellParameters;      // parameters
inline QString ShellDirectory;       // working folder
inline QString ShellFile;            // the file, document, program or address
inline QString ShellOperation;       // "Play" or "Open"
inline QObject* ShellWindow = nullptr;  // the calling window

// Results, as the system's callers know them.
inline constexpr int16_t kShellDone = 42;
inline constexpr int16_t kShellFileNotFound = 2;
inline constexpr int16_t kShellNoAssociation = 31;

// Carries out the block: ShellResult := the result. A quoted file name is
// taken without its quotes. Open: a program file starts detached with the
// parameters split as a shell would split them (no shell runs them); an
// address or document goes to the desktop's handler. Play: the sound plays
// in-process and the call does not wait. A failure (missing file, no sound
// device) gives a result of 32 or below and is reported to the failure hook.
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
// double quotes group.
QStringList splitParameters(const QString& text);

} // namespace ven
