// The programmes report: channel and tape, times, duration, legend and
// memorandum, over days from 06:00 to 06:00.
#include "calendar/DiaryExtRp.h"

#include "calendar/DiaryReport.h"
#include "data/Dictionary.h"
#include "platform/Picture.h"

namespace ven {
namespace {

const BandDef kDetail{.height = 600, .items = {
    {.x = 0, .y = 0, .w = 700, .h = 360, .use = "DRY:C", .font = {.points = 18, .bold = true}},
    {.x = 0, .y = 370, .w = 700, .h = 180, .use = "Tape", .font = {.points = 8}},
    {.x = 800, .y = 0, .w = 1300, .h = 200, .use = "Times", .font = {.bold = true}},
    {.x = 2150, .y = 0, .w = 700, .h = 200, .use = "Duration"},
    {.x = 2950, .y = 0, .w = 4154, .h = 200, .use = "DRY:LEGEND", .font = {.bold = true}, .wrap = true},
    {.x = 800, .y = 230, .w = 6304, .h = 170, .use = "DRY:MEMORANDUM", .wrap = true},
}};

// The tape number: three digits below 999, "*  " from 999 on, blank for none.
QString tapeText(const QString& t)
{
    const int n = t.trimmed().toInt();
    if (n >= 999)
        return QStringLiteral("*  ");
    return n > 0 ? QStringLiteral("%1").arg(n, 3, 10, QChar('0')) : QString();
}

void programValues(Report& rp, const Record& e, Context& own)
{
    setDurationValue(rp, e, own);
    rp.setValue("Tape", tapeText(e.str(DRY::T)));
    rp.setValue("Times", formatTime(int32_t(e.num(DRY::BTIME)), u"T01.B") + "-" + formatTime(int32_t(e.num(DRY::ETIME)), u"T01.B"));
}

const DiaryReportSpec kSpec{.procedure = "DiaryExtRp", .title = "P r o g r a m s", .detail = &kDetail,
                            .programDays = true, .values = programValues};

} // namespace

std::unique_ptr<WindowController> makeDiaryExtRp(const QString& parameters)
{
    return makeDiaryReport(kSpec, parameters);
}

} // namespace ven
