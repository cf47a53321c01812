// The meetings report.
#include "calendar/DiaryMemRp.h"

#include "calendar/DiaryReport.h"
#include "calendar/EventBand.h"

namespace ven {

std::unique_ptr<WindowController> makeDiaryMemRp(const QString& parameters)
{
    static const DiaryReportSpec spec{.procedure = "DiaryMemRp", .title = "M e m o r a n d u m s", .detail = &eventBand(),
                                      .values = setDurationValue};
    return makeDiaryReport(spec, parameters);
}

} // namespace ven
