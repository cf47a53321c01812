// The system's source of "now": an abstract clock, the real one and a
// settable one for tests.
//
// Everything that needs the current date or time asks ven::clock(), so tests
// can put a FakeClock in its place with setClock(). Swap clocks only while no
// other thread is reading the time (test set-up and tear-down).
#pragma once
#include <QDateTime>
#include <cstdint>

namespace ven {

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time now.
    virtual QDateTime now() const = 0;
    // Today's day number and the time value now. When both are needed for
    // one moment, take now() once and convert it (dayNumber, timeValue).
    int32_t today() const;
    int32_t time() const;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is set or advanced.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void set(QDateTime moment) { now_ = std::move(moment); }
    void advance(qint64 msecs) { now_ = now_.addMSecs(msecs); }

private:
    QDateTime now_;
};

// The process-wide clock: the system clock unless a test set another.
// Call it as ven::clock() outside the namespace (::clock is the C library's).
Clock& clock();
// Puts `replacement` in place of the process-wide clock (not owned; it must
// outlive its use); nullptr restores the system clock.
void setClock(Clock* replacement);

} // namespace ven
