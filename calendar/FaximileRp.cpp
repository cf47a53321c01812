// The fax cover page: its page as bands, the sender's and recipient's lines
// and the footer line.
#include "calendar/FaximileRp.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "core/OwnerProfile.h"
#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/Clock.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Procedure.h"

namespace ven {
namespace {

constexpr FontDef kLine{.points = 8, .bold = true};
constexpr int kLines = 6;  // the lines of each box below its name
// The page area: 1300 from the top it must end on the A4 paper (11.69
// inches), so the footer prints; the diary reports' height.
const QRectF kArea(800, 1300, 7104, 9896);

const BandDef kHeader{.height = 1450, .items = {
    {.kind = ReportItem::Image, .x = 0, .y = 0, .w = 1300, .h = 1300, .use = "Logo"},
    {.x = 1400, .y = 0, .w = 5704, .h = 1100, .text = "F A X  I M I L E", .font = {.family = "Westminster", .points = 72},
     .align = Qt::AlignRight | Qt::AlignTop},
    {.x = 1400, .y = 1100, .w = 5704, .h = 200, .use = "DateLine", .font = {.points = 12, .bold = true},
     .align = Qt::AlignRight | Qt::AlignTop},
    {.kind = ReportItem::Line, .x = 0, .y = 1340, .w = 7104, .h = 0, .thickness = 20},
    {.kind = ReportItem::Line, .x = 0, .y = 1390, .w = 7104, .h = 0, .thickness = 10},
}};

const BandDef kFooter{.height = 400, .items = {
    {.kind = ReportItem::Line, .x = 0, .y = 50, .w = 7104, .h = 0, .thickness = 10},
    {.x = 0, .y = 120, .w = 7104, .h = 180, .use = "FooterLine", .font = kLine, .align = Qt::AlignHCenter | Qt::AlignTop},
    {.kind = ReportItem::Line, .x = 0, .y = 340, .w = 7104, .h = 0, .thickness = 10},
}};

const char* const kFromValues[kLines + 1] = {"From0", "From1", "From2", "From3", "From4", "From5", "From6"};
const char* const kToValues[kLines + 1] = {"To0", "To1", "To2", "To3", "To4", "To5", "To6"};

// One box: its label, the name (value 0) and the lines under it; a line
// longer than the box wraps and the box grows with it.
std::vector<ReportItem> boxItems(double x, const char* label, const char* const (&values)[kLines + 1])
{
    std::vector<ReportItem> items{
        {.kind = ReportItem::Box, .x = x, .y = 100, .w = 3500, .h = 1700},
        {.x = x + 80, .y = 150, .w = 3300, .h = 220, .text = label, .font = {.points = 11, .bold = true}},
    };
    for (int i = 0; i <= kLines; ++i) {
        items.push_back({.x = x + 150, .y = 420.0 + (i == 0 ? 0 : 60 + i * 170), .w = 3250, .h = i == 0 ? 200.0 : 160.0,
                         .use = values[i], .font = i == 0 ? FontDef{.points = 10, .bold = true} : kLine, .wrap = true});
    }
    return items;
}

const BandDef& detail()
{
    static const BandDef band = [] {
        BandDef b{.height = 2600, .items = {}};
        for (auto& it : boxItems(0, "From:", kFromValues))
            b.items.push_back(it);
        for (auto& it : boxItems(3604, "To:", kToValues))
            b.items.push_back(it);
        b.items.push_back({.x = 0, .y = 1950, .w = 7104, .h = 300, .use = "Subject", .font = {.points = 14, .bold = true},
                           .wrap = true});
        b.items.push_back({.x = 0, .y = 2350, .w = 7104, .h = 250, .use = "DRY:MEMORANDUM",
                           .font = {.points = 12, .bold = true}, .wrap = true});
        return b;
    }();
    return band;
}

QString joinedName(const QString& first, const QString& last)
{
    return (first.isEmpty() || last.isEmpty() ? first + last : first + ' ' + last).left(40);
}

QString addressLine(const QString& street, const QString& zip, const QString& city, const QString& country)
{
    return street + ", " + zip + ' ' + city + ", " + country;
}

// A line of a label and its field, when the field is not blank.
void addLine(QStringList& lines, const char* label, const QString& field, int size = 0)
{
    if (field.isEmpty())
        return;
    const QString line = QString::fromUtf8(label) + field;
    lines << (size > 0 ? line.left(size) : line);
}

class FaximileRp : public Report {
public:
    explicit FaximileRp(int64_t number)
        : Report(QStringLiteral("FaximileRp"), VenDry, kThousandthsOfAnInch, kArea)
        , number_(number)
    {
        pages().setPageHeader(kHeader);
        pages().setPageFooter(kFooter);
    }

protected:
    bool setUp() override
    {
        // One telephone entry by its number.
        setKey(DRY::NUMBER_KEY);
        setRange(DRY::NUMBER, number_, number_);
        setFilter([n = number_](const Record& r) { return r.num(DRY::CATEGORY) == 0 && r.num(DRY::NUMBER) == n; });
        const int32_t today = clock().today();
        setValue("DateLine", WeekdayName(today) + ' ' + formatDate(today, u"D10-B") + " at "
                                 + formatTime(clock().time(), u"T01.B"));
        setValue("Logo", readIni(joinPath(Program_Path, "Vendrolix.ini"), "Paths", "LogoFileName", {}).trimmed());
        setPrinter(TelefaxDevice, QStringLiteral("fax printer"));
        owner_ = readOwnerProfile();
        return Report::setUp();
    }

    bool takeRecord(Record& r) override
    {
        setSender();
        setRecipient(r.num(DRY::CALLER));
        setValue("Subject", "Re:    " + r.str(DRY::LEGEND).trimmed());
        pages().print(detail());
        return true;
    }

private:
    void setBox(const char* prefix, const QString& name, const QStringList& lines)
    {
        const QString p = QString::fromUtf8(prefix);
        setValue(p + '0', name);
        for (int i = 0; i < kLines; ++i)
            setValue(p + QString::number(i + 1), i < lines.size() ? lines[i] : QString());
    }

    void setSender()
    {
        const OwnerProfile& o = owner_;
        auto t = [](const QString& s) { return s.trimmed(); };
        const QString name = joinedName(t(o.FirstName), t(o.LastName));
        const QString address = addressLine(t(o.Street), t(o.ZipCode), t(o.City), t(o.Country));
        QStringList lines{address};
        addLine(lines, "Telephone: ", t(o.Telephone), 46);
        addLine(lines, "Cellular:  ", t(o.Cellular), 46);
        addLine(lines, "Fax:  ", t(o.Fax), 46);
        addLine(lines, "E-Mail: ", t(o.EMail));
        setBox("From", name, lines);
        setValue("FooterLine", t(o.HomePage).isEmpty() ? name + ", " + address
                                                        : "Please visit my home page at:  " + t(o.HomePage));
    }

    void setRecipient(int64_t caller)
    {
        KeyedFile& f = names_.file(VenNam);
        f.rec().clear();
        if (caller != 0 && (f.isOpen() || f.open())) {
            f.rec().set(NAM::RECNO, caller);
            if (!f.get(NAM::RECNOKEY))
                f.rec().clear();
        }
        auto t = [&f](uint16_t field) { return f.rec().str(field).trimmed(); };
        QStringList lines;
        addLine(lines, "", t(NAM::ORG));
        lines << addressLine(t(NAM::STREET), t(NAM::ZIPCODE), t(NAM::CITY), t(NAM::COUNTRY));
        addLine(lines, "Telephone: ", t(NAM::TEL1), 46);
        addLine(lines, "Cellular:  ", t(NAM::TEL2), 46);
        addLine(lines, "Fax:  ", t(NAM::FAX), 46);
        setBox("To", joinedName(t(NAM::FIRSTNAME), t(NAM::LASTNAME)), lines);
    }

    int64_t number_;
    OwnerProfile owner_;
    Context names_;
};

} // namespace

std::unique_ptr<WindowController> makeFaximileRp(const QString& parameter)
{
    return std::make_unique<FaximileRp>(parameter.trimmed().toLongLong());
}

} // namespace ven
