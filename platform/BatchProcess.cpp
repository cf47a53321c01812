// The timer-driven record run with its progress window, and the report
// that prints its pages at the run's end.
#include "platform/BatchProcess.h"

#include "platform/ErrorReporter.h"

#include <algorithm>

namespace ven {

namespace {

// A tick's work stays within this many milliseconds.
constexpr qint64 kTimeSlice = 100;
constexpr int kMostPerTick = 10000;

ProcedureTraits progressTraits(const QString& procedure)
{
    ProcedureTraits t = traitsOf(procedure);
    t.wallpaper = WallpaperKind::FixedTiled;
    return t;
}

} // namespace

const WindowDef& progressWindowDef()
{
    static const WindowDef def{
        .title = "Progress...",
        .w = 142,
        .h = 59,
        .controls = {
            {.name = "Progress", .kind = Kind::Progress, .x = 15, .y = 15, .w = 111, .h = 12, .low = 0, .high = 100},
            {.name = "Line1", .kind = Kind::String, .x = 0, .y = 3, .w = 141, .h = 10},
            {.name = "Line2", .kind = Kind::String, .x = 0, .y = 30, .w = 141, .h = 10},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 45, .y = 42, .w = 50, .h = 15},
        }};
    return def;
}

// --------------------------------------------------------------- batch --

BatchProcess::BatchProcess(const QString& procedure, const FileDef& file, const WindowDef& def)
    : WindowController(procedure, def, progressTraits(procedure))
    , def_(file)
{
}

void BatchProcess::setRange(uint16_t field, const Value& low, const Value& high)
{
    std::erase_if(ranges_, [field](const RangeLimit& r) { return r.field == field; });
    ranges_.push_back({field, low, high});
}

void BatchProcess::setProgressText(const QString& line1, const QString& line2)
{
    control("Line1").setText(line1);
    control("Line2").setText(line2);
}

bool BatchProcess::setUp()
{
    if (!openFile(def_)) {
        RESPONSE = RequestCancelled;
        return false;
    }
    KeyedFile& f = primary();
    total_ = f.records();
    Status st;
    if (ranges_.empty()) {
        st = f.set(key_);
    } else {
        fillKeyBounds(def_, key_, ranges_, f.rec(), false);
        st = f.setFromBuffer(key_);
    }
    if (!st) {
        errors().show(st);
        RESPONSE = RequestCancelled;
        return false;
    }
    running_ = true;
    setTimer(1);
    return true;
}

void BatchProcess::windowEvent(Event e)
{
    if (e == Event::Timer && running_)
        tick();
    WindowController::windowEvent(e);
}

void BatchProcess::accepted(const QString& control)
{
    if (control == QLatin1String("Cancel")) {
        running_ = false;
        setTimer(0);
        close(RequestCancelled);
        return;
    }
    WindowController::accepted(control);
}

void BatchProcess::tick()
{
    QElapsedTimer clock;
    clock.start();
    KeyedFile& f = primary();
    for (int n = 0; n < perTick_ && running_; ++n) {
        const Status read = f.next();
        if (!read && read.code != Err::EndOfFile && read.code != Err::NotFound)
            return readFailed(read);
        if (!read || !withinRanges(def_, ranges_, f.rec()))
            return endRun();
        if (filter_ && !filter_(f.rec())) {
            --n;  // records the filter leaves out do not count
            continue;
        }
        ++done_;
        if (!takeRecord(f.rec()))
            return endRun();
    }
    // The count per tick doubles while a tick takes under half its slice
    // and halves when it overruns.
    const qint64 ms = clock.elapsed();
    if (ms < kTimeSlice / 2)
        perTick_ = std::min(perTick_ * 2, kMostPerTick);
    else if (ms > kTimeSlice)
        perTick_ = std::max(1, perTick_ / 2);
    const int pct = total_ > 0 ? int(std::min<int64_t>(100, done_ * 100 / total_)) : 0;
    control("Progress").setValue(pct);
}

void BatchProcess::endRun()
{
    running_ = false;
    setTimer(0);
    control("Progress").setValue(100);
    if (done_ == 0) {
        errors().show(22);
        close(RequestCancelled);
        return;
    }
    runEnded();
}

// A read that failed other than at the end (a damaged page): the user is
// told which file, and the run stops there, printing or storing nothing
// more as if it had gone through.
void BatchProcess::readFailed(const Status& st)
{
    running_ = false;
    setTimer(0);
    errors().show(1, MessageArgs{QString::fromUtf8(def_.label), !st.errorText.isEmpty() ? st.errorText : st.text, {}, {}});
    close(RequestCancelled);
}

// -------------------------------------------------------------- report --

Report::Report(const QString& procedure, const FileDef& file, double unitsPerInch, const QRectF& area,
               const QString& family, double points)
    : BatchProcess(procedure, file)
    , pages_(std::make_shared<ReportPages>(unitsPerInch, area, family, points))
{
    pages_->setValues([this](const QString& name) { return value(name); });
}

void Report::setValue(const QString& name, const QVariant& value) { values_.insert(name.toUpper(), value); }

QVariant Report::value(const QString& name)
{
    if (auto it = values_.constFind(name.toUpper()); it != values_.constEnd())
        return *it;
    const int field = primary().rec().def() ? primary().rec().def()->findField(name) : -1;
    return field >= 0 ? primary().rec().get(uint16_t(field)) : QVariant();
}

void Report::runEnded()
{
    pages_->finish();
    printPages(pages_, &window(), procedure(), printer_, [this](PrintOutcome o) {
        outcome_ = o;
        close(o == PrintOutcome::Printed ? RequestCompleted : RequestCancelled);
    });
}

} // namespace ven
