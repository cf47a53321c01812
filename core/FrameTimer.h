// The frame's heartbeat: what its one-second timer does on every tick
// (title, chimes, midnight, alarm firing, the alarm rescan, the requests of
// other windows), and the frame's sound routines.
#pragma once

#include "core/DaylightSaving.h"
#include "platform/WindowController.h"

#include <QString>

#include <cstdint>

namespace ven {

// What the heartbeat asks of the frame's window.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    virtual void setTitle(const QString& title) = 0;
    virtual void postToSelf(Event e) = 0;
    virtual void showAlarmStatus() = 0;        // status zone 2
    virtual void showDaylightSaving() = 0;     // status zone 1
    virtual void setKeyLockLetters() = 0;      // status zones 5 to 7
    virtual void applyFrameWallpapers() = 0;
    virtual void setViewLogEnabled(bool on) = 0;
    virtual Context& files() = 0;              // the frame's own file instances
};

class FrameTimer {
public:
    explicit FrameTimer(FrameHost& host);
    ~FrameTimer();

    // The frame's date at set-up; the first ticks arm the chime and
    // midnight by their times.
    void start(int32_t today);
    // One tick at `today`, `now` (a time value).
    void tick(int32_t today, int32_t now);

    int32_t frameDate() const { return date_; }
    // The next daylight-saving change the check found.
    DlsNextChange& nextDls() { return dls_; }

private:
    void title(int32_t today, int32_t now);
    void chimes(int32_t now);
    void midnight(int32_t today, int32_t now);
    void fireAlarm(int32_t today, int32_t now);
    void rescan(int32_t today, int32_t now);
    void requests();

    FrameHost& host_;
    DlsNextChange dls_;
    int32_t date_ = 0;          // the frame's date
    int32_t lastMidnight_ = 0;  // the day whose roll-over was done last
    bool chimeArmed_ = false;
};

// The title: the time ("T04B"), DateLine, VersionLabel and the build stamp.
QString FrameTitle(int32_t now);

// The frame's sounds through the shell ("Play"); a blank AlertSound beeps.
void PlayAlertSound();
void PlayQuarterBell();
void PlayHalfBell();
void PlayHourBell();

// Enables the frame's Exit, Daily Notes and Calendar commands by the busy
// and running flags.
struct CommandStates {
    bool exitEnabled = true, dailyNotesEnabled = true, calendarEnabled = true;
    bool operator==(const CommandStates&) const = default;
};
CommandStates UpdateCommandStates();
// True while a flag refuses the frame's close (Exit is then greyed).
bool CloseRefused();
// The procedure whose flag refuses the close ("NameFr"; "LockVendrolixWnd"
// while the program is locked), empty when none does.
QString CloseRefusedBy();

} // namespace ven
