// The names report: per name its title line in the order's own form, the
// telephones, the address, e-mail and home page, and the memo, which wraps
// and grows its band; units of 1/1000 inch on A4.
#include "registers/NamesRp.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/Picture.h"

namespace ven {
namespace {

QString clipped(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// Joins `part` to `line` with `separator` when the part is not blank; the
// separator only when the line so far is not blank.
void join(QString& line, const QString& separator, const QString& part)
{
    if (part.isEmpty())
        return;
    line += (line.isEmpty() ? QString() : separator) + part;
}

// The orders: key and the title line's parts (field, separator before it).
struct Order {
    char parameter;
    int key;
    std::pair<uint16_t, const char*> parts[3];
};
const Order kOrders[] = {
    {'1', NAM::SUKU_KEY, {{NAM::ORG, ""}, {NAM::FIRSTNAME, ":  "}, {NAM::LASTNAME, "  "}}},
    {'2', NAM::ETU_KEY, {{NAM::FIRSTNAME, ""}, {NAM::LASTNAME, "  "}, {NAM::ORG, ",  "}}},
    {'3', NAM::ORG_KEY, {{NAM::LASTNAME, ""}, {NAM::FIRSTNAME, ",  "}, {NAM::ORG, ",  "}}},
    {'4', NAM::RECNOKEY, {{NAM::ORG, ""}, {NAM::LASTNAME, ":  "}, {NAM::FIRSTNAME, ",  "}}},
};

const Order* orderOf(const QString& parameter)
{
    for (const Order& o : kOrders)
        if (parameter.size() == 1 && parameter[0] == QLatin1Char(o.parameter))
            return &o;
    return nullptr;
}

constexpr uint32_t kNavy = 0x000080;
constexpr auto kRight = Qt::AlignRight | Qt::AlignTop;

const BandDef kPageHeader{.height = 896, .items = {
    {.x = 0, .y = 0, .w = 5000, .h = 300, .text = "Names & Addresses", .font = {.points = 16, .bold = true}},
    {.kind = ReportItem::PageNumber, .x = 5104, .y = 0, .w = 2000, .h = 200, .text = "Page ",
     .font = {.family = "Arial", .points = 10}, .align = kRight},
    {.x = 0, .y = 360, .w = 3700, .h = 200, .use = "DateLine"},
    {.x = 3800, .y = 360, .w = 800, .h = 200, .use = "Time"},
    {.x = 4700, .y = 360, .w = 2404, .h = 200, .use = "User", .align = kRight},
    {.kind = ReportItem::Line, .x = 0, .y = 620, .w = 7104, .h = 0, .thickness = 20, .color = kNavy},
    {.kind = ReportItem::Line, .x = 0, .y = 700, .w = 7104, .h = 0, .thickness = 20, .color = kNavy},
    {.kind = ReportItem::Line, .x = 0, .y = 780, .w = 7104, .h = 0, .thickness = 20, .color = kNavy},
}};

// Per name its four lines (the first in bold), the memo and a rule below
// them; each wraps, moving what lies below it down.
const BandDef kDetail{.height = 708, .items = {
    {.x = 0, .y = 0, .w = 7104, .h = 170, .use = "Line1", .font = {.bold = true}, .wrap = true},
    {.x = 0, .y = 170, .w = 7104, .h = 170, .use = "Line2", .wrap = true},
    {.x = 0, .y = 340, .w = 7104, .h = 170, .use = "Line3", .wrap = true},
    {.x = 0, .y = 510, .w = 7104, .h = 170, .use = "Line4", .wrap = true},
    {.x = 0, .y = 680, .w = 7104, .h = 0, .use = "Memo", .wrap = true},
    {.kind = ReportItem::Line, .x = 0, .y = 690, .w = 7104, .h = 0, .thickness = 15},
}};

class NamesRp : public Report {
public:
    explicit NamesRp(const QString& parameter)
        : Report(QStringLiteral("NamesRp"), VenNam, kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896))
        , parameter_(parameter)
    {
        const Order* o = orderOf(parameter);
        setKey(o ? o->key : -1);
        setProgressText({});
        setValue(QStringLiteral("DateLine"), DateLine);
        setValue(QStringLiteral("Time"), formatTime(CurrentTime, u"T04B"));
        setValue(QStringLiteral("User"), clipped(CurrentUser));
        pages().setPageHeader(kPageHeader, 400);
        pages().setPageFooter(198, [](ReportPages::Band& b, int) { b.line(0, 100, 7104, 100, 4); }, 11400);
        window().setTitle(QStringLiteral("Progress..."));
    }

protected:
    bool takeRecord(Record& r) override
    {
        QString tel;
        join(tel, QStringLiteral(" "), clipped(r.str(NAM::TEL1)).isEmpty() ? QString() : "Telephone: " + clipped(r.str(NAM::TEL1)));
        join(tel, QStringLiteral(" "), clipped(r.str(NAM::TEL2)).isEmpty() ? QString() : "Cellular:  " + clipped(r.str(NAM::TEL2)));
        join(tel, QStringLiteral(" "), clipped(r.str(NAM::FAX)).isEmpty() ? QString() : "Fax:  " + clipped(r.str(NAM::FAX)));
        const QString address = QStringLiteral("Address: ") + clipped(r.str(NAM::STREET)) + QStringLiteral("  ")
                                + clipped(r.str(NAM::ZIPCODE)) + QStringLiteral("  ") + clipped(r.str(NAM::CITY))
                                + QStringLiteral("  ") + clipped(r.str(NAM::COUNTRY));
        QString net;
        join(net, QStringLiteral(" "), clipped(r.str(NAM::EMAIL)).isEmpty() ? QString() : "E-Mail: " + clipped(r.str(NAM::EMAIL)));
        join(net, QStringLiteral(" "), clipped(r.str(NAM::URL)).isEmpty() ? QString() : "HomePage: " + clipped(r.str(NAM::URL)));
        const QString lines[] = {namesRpTitleLine(r, parameter_), tel, address, net};
        for (int i = 0; i < 4; ++i)
            setValue(QStringLiteral("Line%1").arg(i + 1), lines[i].left(127));
        setValue(QStringLiteral("Memo"), clipped(r.str(NAM::MEMORANDUM)));
        pages().print(kDetail);
        return true;
    }

private:
    QString parameter_;
};

} // namespace

QString namesRpTitleLine(const Record& r, const QString& parameter)
{
    const Order* o = orderOf(parameter);
    QString line;
    if (o)
        for (const auto& [field, separator] : o->parts)
            join(line, QString::fromLatin1(separator), clipped(r.str(field)));
    return line;
}

std::unique_ptr<WindowController> makeNamesRp(const QString& parameter)
{
    return std::make_unique<NamesRp>(parameter);
}

} // namespace ven
