// Goes through the labels in print order and deletes each one without an
// address; the country alone does not make one.
#include "registers/DeleteEmptyLabelsPr.h"

#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/ErrorReporter.h"
#include "registers/NameRules.h"

namespace ven {
namespace {

class DeleteEmptyLabelsPr : public BatchProcess {
public:
    DeleteEmptyLabelsPr() : BatchProcess(QStringLiteral("DeleteEmptyLabelsPr"), VenStick)
    {
        window().setTitle(QStringLiteral("Processing Records"));
        setProgressText({}, QStringLiteral("0% Completed"));
        setKey(STI::ZIP_KEY);
    }

protected:
    bool takeRecord(Record& r) override
    {
        if (!isEmptyLabel(r))
            return true;
        if (Status st = primary().remove(); !st) {
            showWriteError(11, QStringLiteral("Process:View"), st);
            close(RequestCancelled);
            return false;
        }
        return true;
    }
};

} // namespace

bool isEmptyLabel(const Record& r)
{
    for (uint16_t f : {STI::ORG, STI::FIRSTNAME, STI::LASTNAME, STI::STREET, STI::ZIPCODE, STI::CITY})
        if (!r.str(f).trimmed().isEmpty())
            return false;
    return true;
}

std::unique_ptr<WindowController> makeDeleteEmptyLabelsPr(const QString&)
{
    return std::make_unique<DeleteEmptyLabelsPr>();
}

} // namespace ven
