// The notes report.
#include "calendar/DiaryNotRp.h"

#include "calendar/DiaryReport.h"

namespace ven {
namespace {

const BandDef kDetail{.height = 600, .items = {
    {.x = 0, .y = 0, .w = 700, .h = 200, .use = "DRY:BTIME", .picture = "T01.B", .font = {.bold = true}},
    {.x = 800, .y = 0, .w = 6304, .h = 200, .use = "DRY:LEGEND", .font = {.bold = true}, .wrap = true},
    {.x = 800, .y = 220, .w = 6304, .h = 150, .use = "DRY:DOCUMENT", .font = {.points = 8}, .wrap = true},
    {.x = 800, .y = 390, .w = 6304, .h = 170, .use = "DRY:MEMORANDUM", .wrap = true},
}};

const DiaryReportSpec kSpec{.procedure = "DiaryNotRp", .title = "N o t e s", .detail = &kDetail};

} // namespace

std::unique_ptr<WindowController> makeDiaryNotRp(const QString& parameters)
{
    return makeDiaryReport(kSpec, parameters);
}

} // namespace ven
