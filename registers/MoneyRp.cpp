// The money report: the transactions of a filter, oldest first, each
// amount in the column of its account's type, and the columns' totals.
#include "registers/MoneyRp.h"

#include "core/Globals.h"
#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordFilter.h"

#include <map>
#include <utility>

namespace ven {
namespace {

constexpr uint32_t kNavy = 0x000080;
constexpr double kWidth = 7104;
constexpr auto kRight = Qt::AlignRight | Qt::AlignTop;

const BandDef kPageHeader{.height = 896, .items = {
    {.kind = ReportItem::PageNumber, .x = 0, .y = 0, .w = 1500, .h = 200, .text = "Page ", .font = {.family = "Arial", .points = 10}},
    {.x = 0, .y = 220, .w = 3600, .h = 200, .use = "DateLine", .picture = "s60", .font = {.family = "Arial", .points = 10}},
    {.x = 3700, .y = 220, .w = 1200, .h = 200, .use = "CurrentTime", .picture = "T04B", .font = {.family = "Arial", .points = 10}},
    {.x = 4904, .y = 220, .w = 2200, .h = 200, .use = "CurrentUser", .picture = "s30", .font = {.family = "Arial", .points = 10},
     .align = kRight},
    {.x = 0, .y = 460, .w = kWidth, .h = 300, .text = "Money Manager", .font = {.family = "Arial", .points = 16, .bold = true},
     .align = Qt::AlignHCenter | Qt::AlignTop, .color = kNavy},
    {.kind = ReportItem::Line, .x = 0, .y = 800, .w = kWidth, .h = 0, .thickness = 20, .color = kNavy},
    {.kind = ReportItem::Line, .x = 0, .y = 860, .w = kWidth, .h = 0, .thickness = 10, .color = kNavy},
}};

// The amount columns hold every amount a field can (-999 999.99 to
// 999 999.99) and the totals up to a billion, each column apart from the
// next; a legend or a name wider than its column wraps.
constexpr double kAmountW = 900, kGap = 60;
constexpr double kBank = kWidth - kAmountW, kExpense = kBank - kGap - kAmountW, kIncome = kExpense - kGap - kAmountW;

const BandDef kDetail{.height = 156, .items = {
    {.x = 0, .y = 0, .w = 720, .h = 156, .use = "MON:DATE", .picture = "D06-B"},
    {.x = 760, .y = 0, .w = 380, .h = 156, .use = "MON:TIME", .picture = "T01.B"},
    {.x = 1180, .y = 0, .w = 2000, .h = 156, .use = "MON:LEGEND", .picture = "s30", .wrap = true},
    {.x = 3220, .y = 0, .w = kIncome - kGap - 3220, .h = 156, .use = "AccName", .picture = "s20", .wrap = true},
    {.x = kIncome, .y = 0, .w = kAmountW, .h = 156, .use = "Income", .picture = "N-11_.2B", .align = kRight},
    {.x = kExpense, .y = 0, .w = kAmountW, .h = 156, .use = "Expense", .picture = "N-11_.2B", .align = kRight},
    {.x = kBank, .y = 0, .w = kAmountW, .h = 156, .use = "Bank", .picture = "N-11_.2B", .align = kRight},
}};

const BandDef kTotals{.height = 219, .items = {
    {.kind = ReportItem::Line, .x = 0, .y = 20, .w = kWidth, .h = 0, .thickness = 10},
    {.x = kIncome, .y = 40, .w = kAmountW, .h = 156, .use = "TotalIncome", .picture = "N-15_.2B", .font = {.bold = true},
     .align = kRight},
    {.x = kExpense, .y = 40, .w = kAmountW, .h = 156, .use = "TotalExpense", .picture = "N-15_.2B", .font = {.bold = true},
     .align = kRight},
    {.x = kBank, .y = 40, .w = kAmountW, .h = 156, .use = "TotalBank", .picture = "N-15_.2B", .font = {.bold = true},
     .align = kRight},
    {.kind = ReportItem::Line, .x = 0, .y = 205, .w = kWidth, .h = 0, .thickness = 10},
}};

const BandDef kPageFooter{.height = 100, .items = {
    {.kind = ReportItem::Line, .x = 0, .y = 50, .w = kWidth, .h = 0, .thickness = 10, .color = kNavy},
}};

// The columns a row's amount goes to, by its account's type.
struct Column {
    const char* type;
    const char* value;
    const char* total;
};
const Column kColumns[] = {{"I", "Income", "TotalIncome"}, {"E", "Expense", "TotalExpense"}, {"B", "Bank", "TotalBank"}};

class MoneyRp : public Report {
public:
    explicit MoneyRp(const QString& filter)
        : Report(QStringLiteral("MoneyRp"), VenMoney, kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896),
                 QStringLiteral("Tahoma"), 8)
        , filterText_(filter)
    {
        setKey(MON::CRONO_KEY);
        pages().setPageHeader(kPageHeader, 400);
        pages().setPageFooter(kPageFooter, 11400);
    }

protected:
    bool setUp() override
    {
        std::optional<RecordFilter> f = RecordFilter::parse(VenMoney, filterText_);
        if (!f) {
            messageBox(QStringLiteral("The report's filter cannot be read:\n%1").arg(filterText_), QStringLiteral("Money Report"),
                       Icon::Exclamation);
            RESPONSE = RequestCancelled;
            return false;
        }
        const RecordFilter::Bounds b = f->bounds(MON::DATE);
        if (b.low || b.high)
            setRange(MON::DATE, Value(b.low.value_or(0)), Value(b.high.value_or(INT32_MAX)));
        setFilter([f = *f](const Record& r) { return f.matches(r); });
        if (!openFile(VenAcc)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        // The accounts' names are read once: a few hundred at most, where a
        // year's report has tens of thousands of rows.
        KeyedFile& acc = file(VenAcc);
        Status st = acc.set(ACC::ACCOUNT_KEY);
        while (st && (st = acc.next()))
            names_[{acc.rec().str(ACC::TYPE).trimmed().toUpper(), acc.rec().num(ACC::NUMBER)}] = acc.rec().str(ACC::NAME);
        if (st.code != Err::EndOfFile) {
            errors().show(st);
            RESPONSE = RequestCancelled;
            return false;
        }
        setValue(QStringLiteral("DateLine"), DateLine);
        setValue(QStringLiteral("CurrentTime"), int(CurrentTime ? CurrentTime : clock().time()));
        setValue(QStringLiteral("CurrentUser"), CurrentUser);
        return Report::setUp();
    }

    bool takeRecord(Record& r) override
    {
        const QString type = r.str(MON::TYPE).trimmed().toUpper();
        const auto name = names_.find({type, r.num(MON::NUMBER)});
        setValue(QStringLiteral("AccName"), name != names_.end() ? name->second : QString());
        const Cents amount = centsField(r, MON::AMOUNT);
        for (size_t i = 0; i < std::size(kColumns); ++i) {
            const bool here = type == QLatin1String(kColumns[i].type);
            if (here)
                totals_[i] += amount;
            setValue(QString::fromUtf8(kColumns[i].value), storedOf(here ? amount : 0));
        }
        pages().print(kDetail);
        return true;
    }

    void runEnded() override
    {
        for (size_t i = 0; i < std::size(kColumns); ++i)
            setValue(QString::fromUtf8(kColumns[i].total), storedOf(totals_[i]));
        pages().print(kTotals);
        Report::runEnded();
    }

private:
    QString filterText_;
    std::map<std::pair<QString, int64_t>, QString> names_;
    Cents totals_[3] = {0, 0, 0};
};

} // namespace

std::unique_ptr<WindowController> makeMoneyRp(const QString& filter) { return std::make_unique<MoneyRp>(filter); }

} // namespace ven
