// Deletes every mailing label in number order; a failed delete is told and
// stops the run.
#include "registers/ClearAllStickers.h"

#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/ErrorReporter.h"
#include "registers/NameRules.h"

namespace ven {
namespace {

class ClearAllStickers : public BatchProcess {
public:
    ClearAllStickers() : BatchProcess(QStringLiteral("ClearAllStickers"), VenStick)
    {
        window().setTitle(QStringLiteral("Processing Records"));
        setProgressText(QStringLiteral("Deleting All Mailing Labels"), QStringLiteral("0% Completed"));
        setKey(STI::RECNO_KEY);
    }

protected:
    bool takeRecord(Record&) override
    {
        if (Status st = primary().remove(); !st) {
            showWriteError(11, QStringLiteral("Process:View"), st);
            close(RequestCancelled);
            return false;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeClearAllStickers(const QString&)
{
    return std::make_unique<ClearAllStickers>();
}

} // namespace ven
