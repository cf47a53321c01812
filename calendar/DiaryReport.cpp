// The diary report family: parameters, filter and order, the page header
// and footer, the day groups and the per-entry values.
#include "calendar/DiaryReport.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"

namespace ven {
namespace {

const QRectF kArea(800, 1300, 7104, 9896);
constexpr double kRule = 10, kThinRule = 5;

BandDef pageHeader(const DiaryReportSpec& s)
{
    const FontDef pageFont = s.programDays ? FontDef{.points = 12, .bold = true} : FontDef{};
    return {.height = 950, .items = {
        {.x = 0, .y = 0, .w = 7104, .h = 330, .text = s.title, .font = {.points = 16, .bold = true}},
        {.kind = ReportItem::Line, .x = 0, .y = 340, .w = 7104, .h = 0, .thickness = kRule},
        {.x = 0, .y = 370, .w = 5000, .h = 300, .use = "DayLine", .font = {.points = 14, .bold = true}},
        {.kind = ReportItem::PageNumber, .x = 5200, .y = 390, .w = 1904, .h = 260, .text = "Page ", .font = pageFont,
         .align = Qt::AlignRight | Qt::AlignTop},
        {.x = 0, .y = 690, .w = 4000, .h = 180, .use = "DateLine", .font = {.points = 8}},
        {.x = 4100, .y = 690, .w = 900, .h = 180, .use = "Time", .font = {.points = 8}},
        {.x = 5100, .y = 690, .w = 2004, .h = 180, .use = "User", .font = {.points = 8},
         .align = Qt::AlignRight | Qt::AlignTop},
        {.kind = ReportItem::Line, .x = 0, .y = 890, .w = 7104, .h = 0, .thickness = kRule},
    }};
}

const BandDef kPageFooter{.height = 100, .items = {{.kind = ReportItem::Line, .x = 0, .y = 50, .w = 7104, .h = 0}}};
const BandDef kDayFooter{.height = 80, .items = {
    {.kind = ReportItem::Line, .x = 0, .y = 40, .w = 7104, .h = 0, .thickness = kThinRule}}};
const BandDef kProgramDayFooter{.height = 240, .items = {
    {.x = 0, .y = 20, .w = 4000, .h = 160, .use = "DayLine", .font = {.points = 8, .bold = true}},
    {.kind = ReportItem::Line, .x = 0, .y = 200, .w = 7104, .h = 0, .thickness = kThinRule}}};

class DiaryReport : public Report {
public:
    DiaryReport(const DiaryReportSpec& spec, const QString& parameters)
        : Report(QString::fromUtf8(spec.procedure), VenDry, kThousandthsOfAnInch, kArea)
        , spec_(spec)
        , parameters_(parameters)
    {
        pages().setPageHeader(pageHeader(spec));
        pages().setPageFooter(kPageFooter);
        pages().setGroup(BandDef{}, spec.programDays ? kProgramDayFooter : kDayFooter);
    }

protected:
    bool setUp() override
    {
        period_ = reportPeriod(parameters_, clock().today());
        const int key = reportOrderKey(splitParameters(parameters_, 1)[0]);
        setKey(key);
        // The chronological order reads only the window's days by its key.
        if (key == DRY::CHRONOKEY)
            setRange(DRY::BDATE, int64_t(period_.LBDate), int64_t(period_.LEDate));
        setFilter([p = period_](const Record& r) { return p.lists(r); });
        setDay(period_.LBDate);
        setValue("DateLine", DateLine);
        setValue("Time", formatTime(clock().time(), u"T04B"));
        setValue("User", CurrentUser);
        return Report::setUp();
    }

    bool takeRecord(Record& r) override
    {
        const int32_t day = reportDayOf(r, spec_.programDays);
        if (day != day_) {
            pages().endGroup();  // the ending day's footer shows its own day line
            ++counter_;
            setDay(day);
        }
        if (spec_.values)
            spec_.values(*this, r, own_);
        pages().group(qint64(counter_));
        pages().print(*spec_.detail);
        return true;
    }

private:
    void setDay(int32_t day)
    {
        day_ = day;
        setValue("DayLine", reportDayLine(day));
    }

    const DiaryReportSpec& spec_;
    QString parameters_;
    DiaryPeriod period_;
    int32_t day_ = 0;
    uint8_t counter_ = 0;
    Context own_;
};

} // namespace

DiaryPeriod reportPeriod(const QString& parameters, int32_t today)
{
    const std::vector<int64_t> v = splitParameters(parameters, 6);
    DiaryPeriod p{uint8_t(std::clamp<int64_t>(v[1], 0, 255)), int32_t(v[2]), int32_t(v[3]), int32_t(v[4]), int32_t(v[5])};
    p.repair(today, kProgramDayBegins, kProgramDayEnds);
    return p;
}

int reportOrderKey(int64_t order)
{
    switch (order) {
    case 1: return DRY::CHRONOKEY;
    case 2: return DRY::ALPHAKEY;
    case 3: return DRY::CALLER_KEY;
    case 4: return DRY::CLIENT_KEY;
    default: return -1;
    }
}

int32_t reportDayOf(const Record& entry, bool programDays)
{
    const int32_t date = int32_t(entry.num(DRY::BDATE));
    return programDays && entry.num(DRY::BTIME) < kProgramDayBegins ? date - 1 : date;
}

QString durationText(const Record& e)
{
    const int64_t edate = e.num(DRY::EDATE), etime = e.num(DRY::ETIME);
    if (edate <= 0 || etime <= 0)
        return {};
    const int64_t btime = std::max<int64_t>(1, e.num(DRY::BTIME));
    const int64_t hundredths = (edate - e.num(DRY::BDATE)) * kLastTime + etime - btime;
    if (hundredths <= 0)
        return {};
    const int64_t minutes = (hundredths + 5999) / 6000;
    return QStringLiteral("%1.%2").arg(minutes / 60, 2).arg(minutes % 60, 2, 10, QChar('0'));
}

QString reportDayLine(int32_t day)
{
    return (WeekdayName(day).trimmed() + ' ' + formatDate(day, u"d010-B")).left(30);
}

void setDurationValue(Report& report, const Record& entry, Context&)
{
    report.setValue("Duration", durationText(entry));
}

std::unique_ptr<WindowController> makeDiaryReport(const DiaryReportSpec& spec, const QString& parameters)
{
    return std::make_unique<DiaryReport>(spec, parameters);
}

} // namespace ven
