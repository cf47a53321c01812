// The project events report.
#include "calendar/DiaryProRp.h"

#include "calendar/DiaryReport.h"
#include "calendar/EventBand.h"

namespace ven {

std::unique_ptr<WindowController> makeDiaryProRp(const QString& parameters)
{
    static const DiaryReportSpec spec{.procedure = "DiaryProRp", .title = "P r o j e c t s", .detail = &eventBand(),
                                      .values = setDurationValue};
    return makeDiaryReport(spec, parameters);
}

} // namespace ven
