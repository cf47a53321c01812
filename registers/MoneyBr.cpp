#include "registers/MoneyBr.h"

#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordFilter.h"
#include "registers/AccountsBr.h"
#include "registers/MoneyFr.h"
#include "registers/MoneyRp.h"

namespace ven {
namespace {

const WindowDef kMoneyBrDef{
    .title = "Browse Expenses/Income",
    .w = 361,
    .h = 188,
    .icon = "Money.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 180, .h = 34},
        {.name = "Chrono", .kind = Kind::Tab, .text = "Chronologically", .parent = "Sheet"},
        {.name = "ByAccount", .kind = Kind::Tab, .text = "Accounts order", .parent = "Sheet"},
        {.name = "FromPrompt", .kind = Kind::Prompt, .text = "From:", .x = 10, .y = 22, .w = 20, .h = 10, .parent = "Chrono"},
        {.name = "From", .kind = Kind::Entry, .x = 32, .y = 21, .w = 52, .h = 12, .parent = "Chrono", .picture = "D06-B"},
        {.name = "ToPrompt", .kind = Kind::Prompt, .text = "To:", .x = 94, .y = 22, .w = 14, .h = 10, .parent = "Chrono"},
        {.name = "To", .kind = Kind::Entry, .x = 110, .y = 21, .w = 52, .h = 12, .parent = "Chrono", .picture = "D06-B"},
        {.name = "Expenses", .kind = Kind::Check, .text = "Expenses", .x = 192, .y = 10, .w = 52, .h = 10,
         .tip = "Display Expenses"},
        {.name = "Income", .kind = Kind::Check, .text = "Income", .x = 192, .y = 24, .w = 52, .h = 10, .tip = "Display Income"},
        {.name = "Credit", .kind = Kind::Check, .text = "Credit", .x = 248, .y = 10, .w = 50, .h = 10,
         .tip = "Display Credit Accounts"},
        {.name = "Update", .kind = Kind::Button, .text = "Update", .x = 310, .y = 14, .w = 46, .h = 14},
        {.name = "List", .kind = Kind::List, .x = 4, .y = 42, .w = 353, .h = 122},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 170, .w = 40, .h = 14, .flags = Default},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 48, .y = 170, .w = 40, .h = 14, .flags = Hidden},
        {.name = "Print", .kind = Kind::Button, .text = "Print", .x = 48, .y = 170, .w = 40, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 92, .y = 170, .w = 40, .h = 14, .flags = Hidden},
        {.name = "Accounts", .kind = Kind::Button, .text = "Accounts", .x = 92, .y = 170, .w = 44, .h = 14,
         .tip = "Browse Accounts"},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 273, .y = 170, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 317, .y = 170, .w = 40, .h = 14, .flags = HelpButton},
    }};

constexpr int32_t kNoDate = 5;

class MoneyBr : public WindowController {
public:
    MoneyBr() : WindowController(QStringLiteral("MoneyBr"), kMoneyBrDef) { helpTopic = QStringLiteral("MoneyBr"); }

protected:
    bool setUp() override
    {
        if (!openFile(VenMoney) || !openFile(VenAcc))
            return false;
        names_ = std::make_unique<Context>();
        Window& w = window();
        w.bind(QStringLiteral("From"), bindTo(from_));
        w.bind(QStringLiteral("To"), bindTo(to_));
        w.bind(QStringLiteral("Expenses"), bindTo(expenses_));
        w.bind(QStringLiteral("Income"), bindTo(income_));
        w.bind(QStringLiteral("Credit"), bindTo(credit_));
        DateField::attach(*this, QStringLiteral("From"), QStringLiteral("Select From Date"));
        DateField::attach(*this, QStringLiteral("To"), QStringLiteral("Select End Date"));

        auto list = std::make_unique<BrowseList>(*this, VenMoney, columns());
        list->setSheet(QStringLiteral("Sheet"));
        list->addOrder(MON::CRONO_KEY, -1, true);  // newest first
        list->addOrder(MON::ACCOUNT_KEY, MON::TYPE);
        list->setRowColours([](const Record& r) {
            const QColor text = r.real(MON::AMOUNT) < 0 ? QColor(Qt::red) : QColor(Qt::blue);
            return CellColours{text, QColor(Qt::white), text, QColor(255, 255, 128)};
        });
        list->setSelectionColours(QColor(255, 255, 128), QColor());
        list->setForm([] { return makeMoneyFr(); });
        list_ = list.get();
        addPart(std::move(list));

        const int32_t today = clock().today();
        from_ = today - 7;
        to_ = today;
        filter_ = moneyListFilter(from_, to_, {});
        applyFilter();
        return true;
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (e == FieldEvent::Selected && c == u"To" && to_ < from_) {
            to_ = clock().today();
            window().display(c);
        } else if (e == FieldEvent::Selected && c == u"From" && from_ < kNoDate) {
            from_ = clock().today() - 31;
            window().display(c);
        }
        WindowController::fieldEvent(c, e);
    }

    void newSelection(const QString& c) override
    {
        if (c == u"Sheet")
            applyRange();
        WindowController::newSelection(c);
    }

    void accepted(const QString& c) override
    {
        if (c == u"Update") {
            window().update(QStringLiteral("From"));
            window().update(QStringLiteral("To"));
            if (from_ < kNoDate)
                from_ = clock().today() - 31;
            if (to_ < from_)
                to_ = clock().today();
            window().display();
            filter_ = moneyListFilter(from_, to_, moneyTypePart(expenses_, income_, credit_));
            applyFilter();
            list_->refresh();
        } else if (c == u"Print") {
            const QString print = moneyPrintFilter(from_, to_, moneyTypePart(expenses_, income_, credit_));
            QString parameter = print;
            while (parameter.endsWith(u' '))
                parameter.chop(1);
            run(makeMoneyRp(parameter.left(127)));
        } else if (c == u"Accounts") {
            start([] { return makeAccountsBr(); });
        }
        WindowController::accepted(c);
    }

private:
    std::vector<BrowseColumn> columns()
    {
        auto name = [this](const Record& r) -> QVariant {
            KeyedFile& acc = names_->file(VenAcc);
            if (!acc.isOpen() && !acc.open())
                return QString();
            acc.rec().clear();
            acc.rec().set(ACC::TYPE, r.str(MON::TYPE));
            acc.rec().set(ACC::NUMBER, r.num(MON::NUMBER));
            return acc.get(ACC::ACCOUNT_KEY) ? acc.rec().str(ACC::NAME) : QString();
        };
        return {
            BrowseColumn::computed(QString(), 22, QStringLiteral("s3"),
                                   [](const Record& r) { return QVariant(WeekdayName(int32_t(r.num(MON::DATE))).left(3)); }),
            BrowseColumn::ofField(MON::DATE, QStringLiteral("Date"), 42, QStringLiteral("D06-B")),
            BrowseColumn::ofField(MON::TIME, QStringLiteral("Time"), 26, QStringLiteral("T01.B")),
            BrowseColumn::ofField(MON::TYPE, QStringLiteral("A"), 8, QStringLiteral("s1")),
            BrowseColumn::ofField(MON::NUMBER, QStringLiteral("cc"), 12, QStringLiteral("n02B")),
            BrowseColumn::computed(QStringLiteral("Name"), 80, QStringLiteral("s30"), name),
            // A bank row of a whole entry shows it with its sign: -999,999.99.
            BrowseColumn::ofField(MON::AMOUNT, QStringLiteral("Amount"), 46, QStringLiteral("n-11.2B")),
            BrowseColumn::ofField(MON::LEGEND, QStringLiteral("Description"), 98, QStringLiteral("s30")),
        };
    }

    // The filter text becomes the list's filter; its date bounds limit the
    // chronological order's reading.
    void applyFilter()
    {
        const RecordFilter::Names names = {{QStringLiteral("LFilter"), filter_},
                                           {QStringLiteral("BDate"), int64_t(from_)},
                                           {QStringLiteral("EDate"), int64_t(to_)}};
        std::optional<RecordFilter> f = RecordFilter::parse(VenMoney, filter_, names);
        if (!f) {
            list_->setFilter([](const Record&) { return false; });
            bounds_ = {};
        } else {
            list_->setFilter([f = *f](const Record& r) { return f.matches(r); });
            bounds_ = f->bounds(MON::DATE);
        }
        applyRange();
    }

    void applyRange()
    {
        list_->clearRanges();
        if (window().chosenTab(QStringLiteral("Sheet")) <= 1 && (bounds_.low || bounds_.high))
            list_->setRange(MON::DATE, Value(bounds_.low.value_or(0)), Value(bounds_.high.value_or(INT32_MAX)));
    }

    BrowseList* list_ = nullptr;
    std::unique_ptr<Context> names_;  // reads the rows' account names
    int32_t from_ = 0, to_ = 0;
    uint8_t expenses_ = 0, income_ = 0, credit_ = 0;
    QString filter_;  // LFilter
    RecordFilter::Bounds bounds_;
};

} // namespace

QString moneyTypePart(bool expenses, bool income, bool credit)
{
    QString part;
    auto add = [&part](const char* term) {
        part += (part.isEmpty() ? QString() : QStringLiteral(" or ")) + QString::fromUtf8(term);
    };
    if (expenses)
        add("Mon:Type = 'E'");
    if (income)
        add("Mon:Type = 'I'");
    if (credit)
        add("Mon:Type = 'B'");
    return part;
}

QString moneyListFilter(int32_t from, int32_t to, const QString& typePart)
{
    QString f = QStringLiteral("(Mon:Number < 99 and Mon:Date <= %1 and Mon:Date => %2)").arg(to).arg(from);
    if (!typePart.isEmpty())
        f += QStringLiteral(" and (") + typePart + u')';
    return f;
}

QString moneyPrintFilter(int32_t from, int32_t to, const QString& typePart)
{
    QString f = QStringLiteral("(Mon:Date <= %1 and Mon:Date => %2)").arg(to).arg(from);
    if (!typePart.isEmpty())
        f += QStringLiteral(" and (") + typePart + u')';
    return f;
}

std::unique_ptr<WindowController> makeMoneyBr(const QString&) { return std::make_unique<MoneyBr>(); }

} // namespace ven
