// The telephone report's band and contact lines.
#include "calendar/DiaryPhoRp.h"

#include "calendar/DiaryReport.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

constexpr FontDef kSmall{.points = 8};

// Top to bottom: the time beside the caller's four lines, a thin rule, "Re:"
// beside the legend, the customer's four lines, the memo and a rule. Every
// line wraps, so whatever lies below it moves down and nothing overprints.
const BandDef kDetail{.height = 1760, .items = {
    {.x = 0, .y = 0, .w = 900, .h = 200, .use = "DRY:BTIME", .picture = "T01.B", .font = {.bold = true}},
    {.x = 1000, .y = 0, .w = 6104, .h = 170, .use = "Caller1", .font = {.points = 8, .bold = true}, .wrap = true},
    {.x = 1000, .y = 170, .w = 6104, .h = 150, .use = "Caller2", .font = kSmall, .wrap = true},
    {.x = 1000, .y = 320, .w = 6104, .h = 150, .use = "Caller3", .font = kSmall, .wrap = true},
    {.x = 1000, .y = 470, .w = 6104, .h = 150, .use = "Caller4", .font = kSmall, .wrap = true},
    {.kind = ReportItem::Line, .x = 0, .y = 645, .w = 7104, .h = 0, .thickness = 5},
    {.x = 0, .y = 670, .w = 900, .h = 200, .text = "Re:"},
    {.x = 1000, .y = 670, .w = 6104, .h = 200, .use = "DRY:LEGEND", .font = {.bold = true}, .wrap = true},
    {.x = 1000, .y = 890, .w = 6104, .h = 170, .use = "Client1", .font = {.points = 8, .bold = true}, .wrap = true},
    {.x = 1000, .y = 1060, .w = 6104, .h = 150, .use = "Client2", .font = kSmall, .wrap = true},
    {.x = 1000, .y = 1210, .w = 6104, .h = 150, .use = "Client3", .font = kSmall, .wrap = true},
    {.x = 1000, .y = 1360, .w = 6104, .h = 150, .use = "Client4", .font = kSmall, .wrap = true},
    {.x = 0, .y = 1530, .w = 7104, .h = 170, .use = "DRY:MEMORANDUM", .font = {.points = 9}, .wrap = true},
    {.kind = ReportItem::Line, .x = 0, .y = 1730, .w = 7104, .h = 0},
}};

// The names record of a number in its own instance (blank when missing).
Record nameRecord(Context& ctx, int64_t recno)
{
    KeyedFile& f = ctx.file(VenNam);
    f.rec().clear();
    if (recno == 0 || (!f.isOpen() && !f.open()))
        return f.rec();
    f.rec().set(NAM::RECNO, recno);
    if (!f.get(NAM::RECNOKEY))
        f.rec().clear();
    return f.rec();
}

// `text` joined to `line` after `separator` when the line already holds something.
void append(QString& line, const QString& separator, const QString& text)
{
    if (text.isEmpty())
        return;
    line += (line.isEmpty() ? QString() : separator) + text;
}

void contactValues(Report& rp, const Record& entry, Context& names)
{
    const std::pair<const char*, uint16_t> blocks[] = {{"Caller", DRY::CALLER}, {"Client", DRY::CLIENT}};
    for (const auto& [prefix, field] : blocks) {
        const QStringList lines = contactLines(nameRecord(names, entry.num(field)));
        for (int i = 0; i < 4; ++i)
            rp.setValue(QString::fromUtf8(prefix) + QString::number(i + 1), lines[i]);
    }
}

const DiaryReportSpec kSpec{.procedure = "DiaryPhoRp", .title = "T e l e p h o n e/F a x   R e p o r t",
                            .detail = &kDetail, .values = contactValues};

} // namespace

QStringList contactLines(const Record& n)
{
    auto f = [&n](uint16_t field) { return n.str(field).trimmed(); };
    QString name = f(NAM::ORG);
    append(name, QStringLiteral(":  "), f(NAM::LASTNAME));
    append(name, QStringLiteral(",  "), f(NAM::FIRSTNAME));
    QString phone;
    if (!f(NAM::TEL1).isEmpty())
        phone = "Telephone: " + f(NAM::TEL1);
    if (!f(NAM::TEL2).isEmpty())
        append(phone, QStringLiteral(" "), "Cellular:  " + f(NAM::TEL2));
    if (!f(NAM::FAX).isEmpty())
        append(phone, QStringLiteral(" "), "Fax:  " + f(NAM::FAX));
    QString address = (f(NAM::STREET) + "  " + f(NAM::ZIPCODE) + "  " + f(NAM::CITY)).trimmed();
    if (!address.isEmpty())
        address = "Address: " + address;
    QString mail;
    if (!f(NAM::EMAIL).isEmpty())
        mail = "E-Mail: " + f(NAM::EMAIL);
    if (!f(NAM::URL).isEmpty())
        append(mail, QStringLiteral(" "), "HomePage: " + f(NAM::URL));
    return {name, phone, address, mail};
}

std::unique_ptr<WindowController> makeDiaryPhoRp(const QString& parameters)
{
    return makeDiaryReport(kSpec, parameters);
}

} // namespace ven
