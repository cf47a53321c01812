// The alarm renumbering, and SortAlarms, which runs it alone with no window
// and tells the count.
#include "core/SortAlarms.h"

#include "core/AlarmScan.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Procedure.h"

#include <vector>

namespace ven {

Status RenumberAlarms(KeyedFile& f, int64_t* count)
{
    if (Busy.get("UpdateVenAlarm") || Running.get("UpdateVenAlarm") || Thread.get("UpdateVenAlarm"))
        return Status::fail(Err::Locked, QStringLiteral("An alarm form is open: close it first."));
    struct Move {
        int64_t id;
        int32_t from, to;
    };
    std::vector<Move> moves;
    int64_t n = 0;
    std::vector<std::pair<int64_t, int32_t>> rows;  // in number order
    for (f.set(ALA::NBR_KEY); f.next().ok();)
        if (!f.currentIsPlaceholder())
            rows.emplace_back(f.currentId(), int32_t(f.rec().num(ALA::NBR)));
    n = int64_t(rows.size());
    if (count)
        *count = n;
    WriteBatch batch(f);
    if (!batch.isOpen())
        return batch.status();
    int32_t next = 1;
    for (const auto& [id, number] : rows) {
        const int32_t to = next++;
        if (to == number)
            continue;
        if (Status st = f.getById(id); !st)
            return st;
        f.rec().set(ALA::NBR, int64_t(to));
        const Status st = f.put();
        if (st.code == Err::DuplicateKey)
            continue;  // the number is another record's: this one keeps its own
        if (!st)
            return st;
        moves.push_back({id, number, to});
    }
    if (Status st = batch.commit(); !st)
        return st;
    for (const Move& m : moves)
        AlarmRenumbered(m.from, m.to);
    ++AlarmsChanged;
    return {};
}

namespace {

const WindowDef kSortAlarmsDef{.title = "Sort Alarms", .w = 0, .h = 0};

// Runs in its set-up: no window opens.
class SortAlarms : public WindowController {
public:
    SortAlarms() : WindowController(QStringLiteral("SortAlarms"), kSortAlarmsDef) {}

protected:
    bool setUp() override
    {
        if (Running.get("SortAlarms"))
            return false;
        Running["SortAlarms"] = 1;
        Busy["SortAlarms"] = 1;
        int64_t n = 0;
        Status st = openFile(VenAlarm);
        if (st)
            st = RenumberAlarms(file(VenAlarm), &n);
        if (st)
            messageBox(QStringLiteral("Alarms Sorted!|%1 Records").arg(n), QStringLiteral("Done!"), Icon::Exclamation);
        else
            messageBox(QStringLiteral("Alarms NOT Sorted!|") + (st.errorText.isEmpty() ? st.text : st.errorText),
                       QStringLiteral("Error!"), Icon::Stop);
        Busy["SortAlarms"] = 0;
        Running["SortAlarms"] = 0;
        RESPONSE = st ? RequestCompleted : RequestCancelled;
        return false;
    }
};

} // namespace

std::unique_ptr<WindowController> makeSortAlarms(const QString&)
{
    return std::make_unique<SortAlarms>();
}

} // namespace ven
