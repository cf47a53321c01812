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

class NamesRp : public Report {
public:
    explicit NamesRp(const QString& parameter)
        : Report(QStringLiteral("NamesRp"), VenNam, kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896))
        , parameter_(parameter)
    {
        const Order* o = orderOf(parameter);
        setKey(o ? o->key : -1);
        setProgressText({});
        const QString stamp = DateLine + QStringLiteral("  ") + formatTime(CurrentTime, u"T04B") + QStringLiteral("  ")
                              + clipped(CurrentUser);
        pages().setPageHeader(896, [stamp](ReportPages::Band& b, int page) {
            b.text(0, 0, 7104, 280, QStringLiteral("Names & Addresses"), 16, true);
            b.text(0, 360, 5000, 200, stamp, 10);
            b.text(5104, 360, 2000, 200, QStringLiteral("Page %1").arg(page), 10, false, Qt::AlignRight | Qt::AlignTop);
            for (double y : {620.0, 700.0, 780.0})
                b.line(0, y, 7104, y, 20);
        }, 400);
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
        const QString title = namesRpTitleLine(r, parameter_);
        const QString memo = clipped(r.str(NAM::MEMORANDUM));
        pages().print(708, [&](ReportPages::Band& b) {
            const QString lines[] = {title, tel, address, net};
            for (int i = 0; i < 4; ++i)
                b.text(0, i * 150, 7104, 150, lines[i].left(127), 10, i == 0);
            b.wrapped(0, 600, 7104, 0, memo);
            b.line(0, 680, 7104, 680, 15);
        });
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
