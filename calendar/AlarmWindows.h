// What the two alarm windows (AlarmWnd, WarningWnd) share: their copy of the
// next-alarm block, the countdown and its display, random placement, shell
// calls, the log line, the bookkeeping at close, and one window per alarm.
//
// GUI thread only, like every window.
#pragma once

#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "platform/WindowController.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace ven {

// Shows an alarm in a window of its own, started on a new thread with a
// copy of `block`: WarningWnd for kind "A", AlarmWnd for any other kind.
// Windows of several alarms may be open at once, one per occurrence of an
// alarm (its number, firing date and firing time). Returns false, and
// starts nothing, when that occurrence already has or had a window, or
// when no thread number is free. The frame's firing and StartAlarmWindow
// both go through here.
bool showAlarmWindow(const NextAlarmBlock& block);

// An alarm window: the block it copied, its countdown in hundredths (down
// by 100 a tick, not by the clock), the share passed, and the buttons that
// appear at the first tick. Running:<procedure> and Thread:<procedure> hold
// the thread of the last one of its kind that opened while any is open.
class AlarmWindow : public WindowController {
public:
    const NextAlarmBlock& alarm() const { return alarm_; }
    int32_t remaining() const { return remaining_; }
    int32_t total() const { return total_; }
    uint8_t progress() const { return progress_; }
    bool cancelled() const { return cancelled_; }
    // The upper-cased text after the last "." of the file's name (at most 10).
    const QString& extension() const { return extension_; }

    static QString extensionOf(const QString& file);

protected:
    // `total`: the countdown's start value.
    AlarmWindow(const QString& procedure, const WindowDef& def, const NextAlarmBlock& block, int32_t total);

    // Refuses a second window for an alarm occurrence whose window is open
    // (that one comes forward); binds the counters, arms the timer.
    bool setUp() override;
    // OpenWindow: registered, random place, the derived opened(); Timer:
    // tick(); GainFocus: restored when iconized.
    void windowEvent(Event e) override;
    // OK closes; Cancel cancels and closes.
    void accepted(const QString& control) override;
    // ClosedAlarmNbr := the alarm number, closing(), AlarmsChanged + 1.
    void tearDown() override;

    virtual void opened() = 0;
    virtual void tick(int32_t now) = 0;
    virtual void closing() = 0;

    // Current time := now; progress from the countdown.
    void takeTime(int32_t now);
    void moveToRandomPlace();
    // Raises the window above the others without taking the keyboard focus.
    void bringForward();
    void showButtons(bool on);
    // Fills the shell-launch block (the window as ShellWindow) and calls the shell.
    void shell(const QString& verb, const QString& file, const QString& parameters, const QString& folder,
               int16_t show);
    // The window's sound through the shell. A sound that fails, at once or
    // while it plays, is logged once for the window, and the window plays
    // no sound after it (soundFailed()).
    void sound(const QString& verb, const QString& file, const QString& folder, int16_t show);
    bool soundFailed() const { return *soundFailed_; }
    // An activity-log line (nothing while Log_Activity is "N"); failures are shown.
    void logLine(const QString& text);
    // Stops the ticks and closes (completed, or cancelled after Cancel).
    void closeNow();
    // True while the shared block still describes this window's alarm.
    bool ownsBlock() const;
    // A file name in double quotes, as the shell takes it.
    static QString quoted(const QString& file);
    // The current folder's full path.
    static QString currentFolder();

    NextAlarmBlock alarm_;
    int32_t total_ = 0;
    int32_t remaining_ = 0;
    int32_t now_ = 0;
    uint8_t progress_ = 0;
    bool cancelled_ = false;
    QString extension_;

private:
    // Shared with the failure notices of sounds still playing, which may come after the window has gone.
    std::shared_ptr<bool> soundFailed_ = std::make_shared<bool>(false);
    bool registered_ = false;
    bool closing_ = false;
};

} // namespace ven
