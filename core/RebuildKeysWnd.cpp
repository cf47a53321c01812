// The key rebuild. Yes runs one file a timer tick, each file's rebuild on a
// worker thread (the rest of the program goes on meanwhile), and the window
// refuses to close until it has ended; a
// file that another window has open, or that is damaged, is reported and
// the run goes on with the next. The alarms are renumbered last.
#include "core/RebuildKeysWnd.h"

#include "core/ActivityLog.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/SortAlarms.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Procedure.h"

#include <QApplication>

namespace ven {
namespace {

const WindowDef kRebuildDef{
    .title = "Maintenance: Rebuilding Keys for Database",
    .w = 286,
    .h = 43,
    .icon = "Vendrolix.ico",
    .placement = Placement::Centred,
    .statusZones = {-1},
    .controls = {
        {.name = "Question", .kind = Kind::Prompt, .text = "Backup recent enough?", .x = 8, .y = 14, .w = 110, .h = 10},
        {.name = "Yes", .kind = Kind::Button, .text = "Yes", .x = 128, .y = 8, .w = 70, .h = 22, .tip = "Begin Maintenance",
         .flags = Default},
        {.name = "No", .kind = Kind::Button, .text = "No", .x = 206, .y = 8, .w = 70, .h = 22,
         .tip = "Cancel Maintenance.\nClose Window", .closes = RequestCancelled},
    }};

// The files in the order they are rebuilt (VenCountry is not).
const FileDef* const kOrder[] = {&VenAcc, &VenBirth, &VenCalc, &VenDry,  &VenLit,  &VenMoney, &VenNam,  &VenNote,
                                 &VenSaint, &VenUsr, &VenIdea, &VenISub, &VenPro, &VenAlarm, &VenDays, &VenDCat,
                                 &VenDoc,  &Ven_DLS, &VenKWrd, &VenPrg,  &VenStick, &VenWav};

// Hundredths between the steps, so the status line can be read.
constexpr int kStepPause = 50;

class RebuildKeysWnd : public WindowController {
public:
    RebuildKeysWnd() : WindowController(QStringLiteral("RebuildKeysWnd"), kRebuildDef) {}

protected:
    bool setUp() override
    {
        const int32_t date = readIni(ProgramIni(), "Main", "BackUp_Date", "0").toInt();
        const int32_t time = readIni(ProgramIni(), "Main", "BackUp_Time", "0").toInt();
        window().setStatusText(1, "Last BackUp: " + formatDate(date, u"D06-") + " at " + formatTime(time, u"T04."));
        return true;
    }

    void accepted(const QString& control) override
    {
        if (control == u"Yes" && step_ < 0)
            return begin();
        WindowController::accepted(control);
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::Timer && step_ >= 0)
            step();
    }

    bool closeRequested() override { return step_ < 0 || done_; }

    void tearDown() override
    {
        if (step_ >= 0 && !done_)
            QApplication::restoreOverrideCursor();
        Busy["RebuildKeysWnd"] = 0;
    }

private:
    void begin()
    {
        if (Log_Activity != u"N")
            ActivityLogLine(QStringLiteral("Rebuilding Keys!"));
        Busy["RebuildKeysWnd"] = 1;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        control("Yes").disable();
        control("No").disable();
        step_ = 0;
        setTimer(kStepPause);
    }

    void step()
    {
        const int files = int(std::size(kOrder));
        if (rebuild_ && !finishRebuild())
            return;  // the file's rebuild goes on
        if (step_ < files) {
            rebuild(*kOrder[step_]);
        } else if (step_ == files) {
            window().setStatusText(1, VenAlarm.diskName());
            Context ctx;
            KeyedFile& a = ctx.file(VenAlarm);
            Status st = a.open(KeyedFile::Mode::Exclusive);
            int64_t n = 0;
            if (st)
                st = RenumberAlarms(a, &n);
            if (!st)
                report(VenAlarm, st);
        } else if (step_ == files + 1) {
            window().setStatusText(1, QStringLiteral("Rebuild Keys Done!"));
            Busy["RebuildKeysWnd"] = 0;
        } else {
            done_ = true;
            setTimer(0);
            QApplication::restoreOverrideCursor();
            if (Log_Activity != u"N")
                ActivityLogLine(QStringLiteral("Rebuild Keys Done!"));
            close(RequestCompleted);
            return;
        }
        ++step_;
    }

    // Starts the rebuild of one file; finishRebuild() ends it.
    void rebuild(const FileDef& def)
    {
        window().setStatusText(1, def.diskName());
        ctx_ = std::make_unique<Context>();
        KeyedFile& f = ctx_->file(def);
        if (Status st = f.open(KeyedFile::Mode::Exclusive); !st) {
            ctx_.reset();
            return report(def, st);
        }
        rebuilding_ = &def;
        rebuild_ = std::make_unique<KeyRebuild>(f);
    }

    // False while the rebuild goes on; else reports a failure and closes the file.
    bool finishRebuild()
    {
        if (!rebuild_->done())
            return false;
        const Status st = rebuild_->status();
        rebuild_.reset();
        ctx_.reset();
        if (!st)
            report(*rebuilding_, st);
        return true;
    }

    void report(const FileDef& def, const Status& st)
    {
        const QString why = st.code == Err::Locked ? QStringLiteral("in use by another window") : (st.errorText.isEmpty() ? st.text : st.errorText);
        if (Log_Activity != u"N")
            ActivityLogLine(def.diskName() + ": " + why);
        messageBox(def.diskName() + ": " + why, QStringLiteral("Error"), Icon::Stop);
    }

    int step_ = -1;
    bool done_ = false;
    std::unique_ptr<Context> ctx_;
    std::unique_ptr<KeyRebuild> rebuild_;  // destroyed first: it waits for its worker
    const FileDef* rebuilding_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeRebuildKeysWnd(const QString&)
{
    return std::make_unique<RebuildKeysWnd>();
}

} // namespace ven
