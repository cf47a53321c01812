// The label reports: five lines per label in Tahoma 8 bold, labels filling
// the sheet left to right and top to bottom from the chosen first label.
// The used labels of a sheet are skipped on the page itself, so nothing is
// written to the label list for them.
#include "registers/LabelRp.h"

#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "registers/DeleteEmptyLabelsPr.h"

namespace ven {
namespace {

QString clipped(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

struct Family {
    LabelSheetKind kind;
    double left, top;         // the report area on the paper, mm
    double w, h;              // one label, mm
    double x;                 // the lines' left edge in the label
    double y[5];              // the lines' tops in the label
    double lineW, lineH;
    const char* pictures[5];
};

// The 2 x 7 sheet's two 103 mm columns start 2 mm from the paper's edge so
// that the second one ends on the A4 paper.
const Family kFamilies[] = {
    {{"Label_3x8_Rp", "Print Labels 3 x 8", 3, 8}, 13, 5, 64, 35, 1, {9, 12, 15, 18, 21}, 57, 3,
     {"s40", "s40", "s40", "s40", "s40"}},
    {{"Label_3x9_Rp", "Print Labels 3 x 9", 3, 9}, 13, 5, 64, 32, 1, {9, 12, 15, 18, 21}, 57, 3,
     {"s40", "s60", "s40", "s60", "s40"}},
    {{"Label_3x12_Rp", "Print Labels 3 x 12", 3, 12}, 13, 5, 64, 23, 6, {5, 8, 11, 14, 17}, 50, 3,
     {"s30", "s30", "s30", "s30", "s30"}},
    {{"Label_2x7_Rp", "Print Labels 2 x 7", 2, 7}, 2, 3, 103, 41, 22, {5, 11, 16, 22, 27}, 72, 5,
     {"s40", "s40", "s40", "s60", "s40"}},
};

const char* const kLineValues[5] = {"STI:ORG", "NameLine", "STI:STREET", "ZipCityLine", "CountryLine"};

class LabelRp : public Report {
public:
    LabelRp(const Family& f, int first)
        : Report(QString::fromUtf8(f.kind.procedure), VenStick, kMillimetres, QRectF(f.left, f.top, 206, 292))
    {
        band_.height = f.h;
        band_.width = f.w;
        for (int i = 0; i < 5; ++i)
            band_.items.push_back({.x = f.x, .y = f.y[i], .w = f.lineW, .h = f.lineH, .use = kLineValues[i],
                                   .picture = f.pictures[i], .font = {.family = "Tahoma", .points = 8, .bold = true}});
        setKey(STI::ZIP_KEY);
        // Blank placeholders left by an earlier version are not printed.
        setFilter([](const Record& r) {
            return r.num(STI::DUPLO) != 0 || !isEmptyLabel(r) || !clipped(r.str(STI::COUNTRY)).isEmpty();
        });
        pages().setLabelSheet({.w = f.w, .h = f.h, .across = f.kind.across, .down = f.kind.down});
        pages().skipLabels(std::clamp(first, 1, f.kind.across * f.kind.down) - 1);
        window().setTitle(QStringLiteral("Report Progress..."));
        setProgressText({});
    }

protected:
    bool takeRecord(Record& r) override
    {
        const LabelLines l = labelLines(r);
        setValue(QStringLiteral("NameLine"), l.name);
        setValue(QStringLiteral("ZipCityLine"), l.zipCity);
        setValue(QStringLiteral("CountryLine"), l.country);
        pages().print(band_);
        return true;
    }

private:
    BandDef band_;
};

} // namespace

const LabelSheetKind* labelSheetKind(int kind)
{
    return kind >= 1 && kind <= int(std::size(kFamilies)) ? &kFamilies[kind - 1].kind : nullptr;
}

std::unique_ptr<WindowController> makeLabelRp(int kind, int first)
{
    if (kind < 1 || kind > int(std::size(kFamilies)))
        return nullptr;
    return std::make_unique<LabelRp>(kFamilies[kind - 1], first);
}

LabelLines labelLines(const Record& r)
{
    LabelLines l;
    const QString first = clipped(r.str(STI::FIRSTNAME)), last = clipped(r.str(STI::LASTNAME));
    l.name = clipped(first.isEmpty() ? last : first + u' ' + last).left(60);
    const QString city = clipped(r.str(STI::CITY));
    QString town = city;
    if (const qsizetype slash = city.lastIndexOf(u'/'); slash >= 0) {
        l.country = city.mid(slash + 1).left(40);
        town = city.left(slash);
    } else {
        l.country = clipped(r.str(STI::COUNTRY));
    }
    const QString zip = clipped(r.str(STI::ZIPCODE));
    l.zipCity = (zip.isEmpty() ? town : zip + QStringLiteral("  ") + town).left(60);
    return l;
}

} // namespace ven
