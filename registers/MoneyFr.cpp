#include "registers/MoneyFr.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/DateField.h"
#include "platform/ErrorReporter.h"
#include "registers/AccSelBr.h"
#include "registers/AccountsBr.h"
#include "registers/Ledger.h"

#include <QLineEdit>

namespace ven {
namespace {

constexpr uint32_t kNavy = 0x000080;
constexpr int32_t kFirstDate = 5, kLastDate = 109211;
constexpr int32_t kLastTime = 8640000;
// Shift 5, Alt 10 minutes, Ctrl an hour, within the day.
const StepKeys kMoneyTimeKeys{.shift = 30000, .alt = 60000, .ctrl = 360000, .snap = 0, .cap = kLastTime};

#define ACCOUNT_ROW(Side, Y)                                                                                             \
    {.name = Side "Type", .kind = Kind::Option, .text = "Account", .x = 8, .y = Y - 1, .w = 150, .h = 22, .parent = "Tab"}, \
    {.name = Side "Expense", .kind = Kind::Radio, .text = " Expense", .x = 14, .y = Y + 8, .w = 46, .h = 10,            \
     .parent = Side "Type", .use = "E"},                                                                                  \
    {.name = Side "Income", .kind = Kind::Radio, .text = " Income", .x = 62, .y = Y + 8, .w = 44, .h = 10,              \
     .parent = Side "Type", .use = "I"},                                                                                  \
    {.name = Side "Bank", .kind = Kind::Radio, .text = " Bank", .x = 108, .y = Y + 8, .w = 40, .h = 10,                 \
     .parent = Side "Type", .use = "B"},                                                                                  \
    {.name = Side "Lookup", .kind = Kind::Button, .x = 162, .y = Y + 5, .w = 14, .h = 14, .parent = "Tab",             \
     .icon = "WizFind.ico"},                                                                                              \
    {.name = Side "Number", .kind = Kind::Entry, .x = 178, .y = Y + 6, .w = 20, .h = 12, .parent = "Tab",              \
     .picture = "n02B", .tip = Side " Account Number", .flags = Required | AlignRight},                                  \
    {.name = Side "Name", .kind = Kind::String, .x = 202, .y = Y + 8, .w = 106, .h = 10, .parent = "Tab",              \
     .picture = "s30", .font = {.bold = true}, .color = kNavy}

const WindowDef kMoneyFrDef{
    .title = "Adding a Transaction",
    .w = 317,
    .h = 117,
    .icon = "Money.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 309, .h = 92},
        {.name = "Tab", .kind = Kind::Tab, .text = "Transaction", .parent = "Sheet"},
        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 8, .y = 21, .w = 20, .h = 10, .parent = "Tab"},
        {.name = "Date", .kind = Kind::Spin, .x = 30, .y = 20, .w = 54, .h = 12, .parent = "Tab", .picture = "D06-B",
         .tip = "Transaction Date\nDouble Click for\nCalendar", .low = kFirstDate, .high = kLastDate},
        {.name = "Weekday", .kind = Kind::String, .x = 88, .y = 21, .w = 46, .h = 10, .parent = "Tab", .picture = "s9",
         .font = {.bold = true}, .color = kNavy},
        {.name = "TimePrompt", .kind = Kind::Prompt, .text = "Time:", .x = 138, .y = 21, .w = 20, .h = 10, .parent = "Tab"},
        {.name = "Time", .kind = Kind::Spin, .x = 160, .y = 20, .w = 38, .h = 12, .parent = "Tab", .picture = "T01.B",
         .tip = "Transaction Time", .low = 1, .high = kLastTime, .step = 6000, .keys = &kMoneyTimeKeys},
        {.name = "TotalPrompt", .kind = Kind::Prompt, .text = "Total Amount:", .x = 204, .y = 21, .w = 50, .h = 10,
         .parent = "Tab"},
        {.name = "Total", .kind = Kind::Entry, .x = 256, .y = 20, .w = 52, .h = 12, .parent = "Tab", .picture = "n10.2B",
         .flags = AlignRight},
        ACCOUNT_ROW("From", 34),
        ACCOUNT_ROW("To", 55),
        {.name = "AmountPrompt", .kind = Kind::Prompt, .text = "Amount:", .x = 8, .y = 80, .w = 30, .h = 10, .parent = "Tab"},
        {.name = "Amount", .kind = Kind::Entry, .x = 40, .y = 79, .w = 52, .h = 12, .parent = "Tab", .picture = "n10.2B",
         .tip = "Amount", .flags = Required | AlignRight},
        {.name = "LegendPrompt", .kind = Kind::Prompt, .text = "Legend:", .x = 98, .y = 80, .w = 28, .h = 10, .parent = "Tab"},
        {.name = "Legend", .kind = Kind::Entry, .x = 128, .y = 79, .w = 150, .h = 12, .parent = "Tab", .picture = "s30",
         .tip = "Description", .flags = Required | Capitalize},
        {.name = "Direction", .kind = Kind::Image, .x = 286, .y = 76, .w = 16, .h = 16, .parent = "Tab"},
        {.name = "Accounts", .kind = Kind::Button, .text = "Accounts", .x = 4, .y = 100, .w = 52, .h = 14,
         .icon = "Money.ico"},
        {.name = "Ok", .kind = Kind::Button, .text = "Ok", .x = 185, .y = 100, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 229, .y = 100, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 273, .y = 100, .w = 40, .h = 14, .flags = HelpButton},
    }};

#undef ACCOUNT_ROW

class MoneyFr : public WindowController {
public:
    MoneyFr() : WindowController(QStringLiteral("MoneyFr"), kMoneyFrDef) { helpTopic = QStringLiteral("MoneyFr"); }

protected:
    bool setUp() override
    {
        takeInsertPrepared(file(VenMoney));
        if (REQUEST == ChangeRecord || REQUEST == DeleteRecord) {
            errors().show(REQUEST == ChangeRecord ? 38 : 12);
            RESPONSE = RequestCancelled;
            return false;
        }
        if (!openFile(VenAcc) || !openFile(VenMoney)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        Window& w = window();
        w.bind(QStringLiteral("Time"), bindTo(time_));
        w.bind(QStringLiteral("Weekday"), bindTo(weekday_));
        w.bind(QStringLiteral("Total"), bindCents(total_));
        w.bind(QStringLiteral("Amount"), bindCents(amount_));
        w.bind(QStringLiteral("Legend"), bindTo(legend_));
        for (Side* s : {&from_, &to_}) {
            w.bind(s->control("Type"), bindTo(s->type));
            w.bind(s->control("Number"), bindTo(s->number));
            w.bind(s->control("Name"), bindTo(s->name));
        }
        DateField::attach(*this, QStringLiteral("Date"), &date_, QStringLiteral("Select Date"));
        return true;
    }

    void windowEvent(Event e) override
    {
        if (e == Event::OpenWindow) {
            window().display();
            control(QStringLiteral("Date")).select();
        }
        WindowController::windowEvent(e);
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (c == u"FromLookup" || c == u"FromNumber")
            AccType = from_.type;
        else if (c == u"ToLookup" || c == u"ToNumber")
            AccType = to_.type;
        WindowController::fieldEvent(c, e);
        if (c == u"Date" && isOpen()) {
            weekday_ = date_ >= kFirstDate ? WeekdayName(date_) : QString();
            window().display(QStringLiteral("Weekday"));
        }
        if (isOpen() && (c == u"ToLookup" || c == u"ToNumber" || c == u"ToType" || c == u"Amount" || c == u"Legend"))
            renewDirection();
    }

    void accepted(const QString& c) override
    {
        if (c == u"FromLookup")
            lookup(from_, QStringLiteral("ToLookup"));
        else if (c == u"ToLookup")
            lookup(to_, QStringLiteral("Amount"));
        else if (c == u"FromNumber")
            numberAccepted(from_);
        else if (c == u"ToNumber")
            numberAccepted(to_);
        else if (c == u"FromType" || c == u"ToType")
            typeChosen(c == u"FromType" ? from_ : to_);
        else if (c == u"Total")
            totalAccepted();
        else if (c == u"Amount") {
            if (amount_ > total_ || amount_ <= 0)
                control(QStringLiteral("Amount")).select();
        } else if (c == u"Ok")
            ok();
        else if (c == u"Accounts")
            start([] { return makeAccountsBr(); });
        WindowController::accepted(c);
    }

    bool closeRequested() override
    {
        // A split is posted whole: it cannot be left with its parts open.
        if (!parts_.empty() && total_ > 0 && !postFailed_) {
            control(QStringLiteral("ToLookup")).select();
            return false;
        }
        return true;
    }

private:
    struct Side {
        const char* prefix;
        QString type = {};
        int32_t number = 0;
        QString name = {};
        // The unknown number whose picker was closed without a choice: it
        // is not offered again until the number or the type changes.
        std::optional<AccountId> declined = {};
        QString control(const char* what) const { return QString::fromUtf8(prefix) + QString::fromUtf8(what); }
        AccountId id() const { return {type.trimmed(), number}; }
    };

    // The account of a side's type and number; its name, or nullopt.
    std::optional<QString> accountName(const Side& s)
    {
        KeyedFile& acc = file(VenAcc);
        acc.rec().clear();
        acc.rec().set(ACC::TYPE, s.type.trimmed());
        acc.rec().set(ACC::NUMBER, int64_t(s.number));
        if (s.type.trimmed().isEmpty() || s.number <= 0 || !acc.get(ACC::ACCOUNT_KEY))
            return std::nullopt;
        return acc.rec().str(ACC::NAME).trimmed();
    }

    void lookup(Side& s, const QString& next)
    {
        Side* side = &s;
        file(VenAcc).rec().set(ACC::NUMBER, int64_t(s.number));
        call(makeAccSelBr(), SelectRecord, [this, side, next](uint8_t response) {
            if (!isOpen())
                return;
            if (response == RequestCompleted) {
                const Record& a = file(VenAcc).rec();
                side->number = int32_t(a.num(ACC::NUMBER));
                side->name = a.str(ACC::NAME).trimmed();
            }
            window().display();
            control(next).select();
            renewDirection();
        });
    }

    void numberAccepted(Side& s)
    {
        if (auto name = accountName(s)) {
            s.name = *name;
            s.declined.reset();
            window().display();
            return;
        }
        if (s.declined && s.declined->type == s.id().type && s.declined->number == s.id().number)
            return;
        Side* side = &s;
        call(makeAccSelBr(), SelectRecord, [this, side](uint8_t response) {
            if (!isOpen())
                return;
            if (response == RequestCompleted) {
                const Record& a = file(VenAcc).rec();
                side->number = int32_t(a.num(ACC::NUMBER));
                side->name = a.str(ACC::NAME).trimmed();
            } else {
                side->name.clear();
                side->declined = side->id();
                control(side->control("Number")).select();
            }
            window().display();
            renewDirection();
        });
    }

    // A side's type changed: its number names another account now.
    void typeChosen(Side& s)
    {
        s.name = accountName(s).value_or(QString());
        window().display(s.control("Name"));
    }

    void totalAccepted()
    {
        if (total_ > 0) {
            whole_ = total_;
            amount_ = total_;
            window().display(QStringLiteral("Amount"));
            control(QStringLiteral("FromLookup")).select();
        } else {
            control(QStringLiteral("Total")).select();
        }
    }

    void renewDirection()
    {
        const QString t = to_.type.trimmed();
        if (t.isEmpty())
            return;
        control(QStringLiteral("Direction"))
            .setPicture(Program_Path + (t == u"E" ? QStringLiteral("/0dn.ico") : QStringLiteral("/0up.ico")));
    }

    // The checks of Ok in their order: the control that holds the fault.
    QString fault()
    {
        if (date_ < kFirstDate || date_ > kLastDate)
            return QStringLiteral("Date");
        if (time_ < 1 || time_ > kLastTime)
            return QStringLiteral("Time");
        if (total_ <= 0)
            return QStringLiteral("Total");
        if (to_.type.trimmed().isEmpty())
            return QStringLiteral("ToExpense");
        if (to_.name.trimmed().isEmpty())
            return QStringLiteral("ToNumber");
        if (from_.type.trimmed().isEmpty())
            return QStringLiteral("FromExpense");
        if (from_.name.trimmed().isEmpty())
            return QStringLiteral("FromNumber");
        if (legend_.trimmed().isEmpty())
            return QStringLiteral("Legend");
        if (amount_ > total_ || amount_ <= 0)
            return QStringLiteral("Amount");
        return {};
    }

    void ok()
    {
        Window& w = window();
        for (const QString& name : w.controlNames())
            if (w.isBound(name) && control(name).isEnabled() && !w.update(name)) {
                control(name).select();
                return;
            }
        if (parts_.empty())
            whole_ = total_;
        if (const QString f = fault(); !f.isEmpty()) {
            control(f).select();
            return;
        }
        parts_.push_back({to_.id(), amount_});
        total_ -= amount_;
        amount_ = total_;
        if (total_ > 0) {
            enterSplit();
            return;
        }
        Posting p{.date = date_, .time = time_, .from = from_.id(), .legend = legend_.trimmed(), .parts = parts_};
        int64_t stored = 0;
        const Status st = postTransaction(p, &stored);
        if (st) {
            // The list that called shows the transaction just stored.
            if (stored)
                file(VenMoney).getById(stored);
            close(RequestCompleted);
            return;
        }
        // Nothing was written: the last part is open again, and a split
        // may now be given up.
        messageBox(QStringLiteral("The transaction could not be posted, and nothing of it was written.\n\n%1")
                       .arg(st.text.isEmpty() ? st.errorText : st.text),
                   QStringLiteral("Adding a Transaction"), Icon::Exclamation);
        amount_ = parts_.back().amount;
        total_ += amount_;
        parts_.pop_back();
        if (parts_.empty())
            leaveSplit();
        else
            postFailed_ = true, control(QStringLiteral("Cancel")).enable();
        w.display();
    }

    static constexpr const char* kFixedInSplit[] = {"Date", "Time", "Total", "FromLookup", "FromType", "FromExpense",
                                                    "FromIncome", "FromBank", "ToType", "ToExpense", "ToIncome",
                                                    "ToBank", "Cancel"};

    void enterSplit()
    {
        for (const char* c : kFixedInSplit)
            control(QString::fromUtf8(c)).disable();
        if (auto* e = control(QStringLiteral("FromNumber")).as<QLineEdit>())
            e->setReadOnly(true);
        window().display();
        control(QStringLiteral("ToLookup")).select();
    }

    void leaveSplit()
    {
        for (const char* c : kFixedInSplit)
            control(QString::fromUtf8(c)).enable();
        if (auto* e = control(QStringLiteral("FromNumber")).as<QLineEdit>())
            e->setReadOnly(false);
        postFailed_ = false;
    }

    int32_t date_ = 0, time_ = 0;
    QString weekday_;
    Cents total_ = 0, whole_ = 0, amount_ = 0;
    Side from_{"From"}, to_{"To"};
    QString legend_;
    std::vector<Posting::Part> parts_;  // the parts entered, posted together when the total is reached
    bool postFailed_ = false;
};

} // namespace

std::unique_ptr<WindowController> makeMoneyFr(const QString&) { return std::make_unique<MoneyFr>(); }

} // namespace ven
