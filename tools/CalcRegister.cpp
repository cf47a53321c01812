// The twin registers of VenCalc: MemoriesBr/MemoriesFr keep the numbered
// memories ('M'), ForexBr/ForexFr the exchange rates ('E'). The two specs
// below are all that differs between them.
#include "tools/CalcRegister.h"

#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"
#include "tools/ForexBr.h"
#include "tools/ForexFr.h"
#include "tools/MemoriesBr.h"
#include "tools/MemoriesFr.h"

namespace ven {
namespace {

BrowseColumn col(uint16_t field, const char* header, int width, const char* picture)
{
    return BrowseColumn::ofField(field, QString::fromUtf8(header), width, QString::fromUtf8(picture));
}

std::vector<BrowseColumn> memoryColumns()
{
    return {col(CAL::MEMNUM, "Num", 18, "n03B"),        col(CAL::MEMORYNAME, "Name", 80, "s19"),
            col(CAL::MEMORYVALUE, "Value", 67, "N-20_.9B"), col(CAL::UPDATE, "Date", 43, "D06-B"),
            col(CAL::UPTIME, "Time", 23, "T01B"),        col(CAL::CM, "", 6, "s1")};
}

std::vector<BrowseColumn> forexColumns()
{
    return {col(CAL::MEMORYNAME, "Name", 80, "s19"), col(CAL::MEMORYVALUE, "Value", 67, "N-20_.9B"),
            col(CAL::MEMNUM, "Num", 18, "n03"),      col(CAL::UPDATE, "Date", 43, "D06-B"),
            col(CAL::UPTIME, "Time", 23, "T01B"),    col(CAL::CM, "C/E", 6, "s1")};
}

WindowDef browseDef(const CalcRegisterSpec& s)
{
    return WindowDef{
        .title = s.browseTitle,
        .w = 259,
        .h = 181,
        .icon = "Calculator2.ico",
        .controls = {
            {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 4, .w = 255, .h = 150},
            {.name = "Tab", .kind = Kind::Tab, .text = s.tab, .parent = "Sheet"},
            {.name = "List", .kind = Kind::List, .x = 5, .y = 20, .w = 249, .h = 130},
            {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 161, .w = 38, .h = 14},
            {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 46, .y = 161, .w = 38, .h = 14},
            {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 88, .y = 161, .w = 38, .h = 14,
             .flags = Default},
            {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 130, .y = 161, .w = 38, .h = 14},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 175, .y = 161, .w = 38, .h = 14,
             .closes = RequestCancelled},
            {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 217, .y = 161, .w = 38, .h = 14,
             .flags = HelpButton},
        }};
}

WindowDef formDef(const CalcRegisterSpec& s)
{
    const int w = s.formWidth;
    return WindowDef{
        .title = s.formTitle,
        .w = w,
        .h = 88,
        .icon = "Calculator2.ico",
        .controls = {
            {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = w - 8, .h = 62},
            {.name = "Tab", .kind = Kind::Tab, .text = s.formTab, .parent = "Sheet"},
            {.name = "Kind", .kind = Kind::String, .x = w - 20, .y = 20, .w = 10, .h = 10, .parent = "Tab",
             .picture = "s1", .use = "CAL:CM"},
            {.name = "NumberPrompt", .kind = Kind::Prompt, .text = "Number:", .x = 10, .y = 21, .w = 50, .h = 10,
             .parent = "Tab"},
            {.name = "Number", .kind = Kind::Spin, .x = 64, .y = 20, .w = 34, .h = 12, .parent = "Tab",
             .picture = s.numberPicture, .tip = s.numberTip, .use = "CAL:MEMNUM", .low = 1, .high = s.spinHigh},
            {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 35, .w = 50, .h = 10,
             .parent = "Tab"},
            {.name = "Name", .kind = Kind::Entry, .x = 64, .y = 34, .w = w - 74, .h = 12, .parent = "Tab",
             .picture = "s19", .tip = s.nameTip, .use = "CAL:MEMORYNAME"},
            {.name = "ValuePrompt", .kind = Kind::Prompt, .text = s.valuePrompt, .x = 10, .y = 49, .w = 54, .h = 10,
             .parent = "Tab"},
            {.name = "Value", .kind = Kind::Entry, .x = 64, .y = 48, .w = w - 74, .h = 12, .parent = "Tab",
             .picture = "N-20_.9B", .tip = "Memory Value", .use = "CAL:MEMORYVALUE", .flags = AlignRight},
            {.name = "OK", .kind = Kind::Button, .text = "OK", .x = w - 126, .y = 70, .w = 38, .h = 14, .tip = "Save",
             .flags = Default},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = w - 84, .y = 70, .w = 38, .h = 14,
             .closes = RequestCancelled},
            {.name = "Help", .kind = Kind::Button, .text = "Help", .x = w - 42, .y = 70, .w = 38, .h = 14,
             .flags = HelpButton},
        }};
}

class CalcRegisterBrowse : public WindowController {
public:
    explicit CalcRegisterBrowse(const CalcRegisterSpec& s)
        : WindowController(QString::fromUtf8(s.browse), browseDef(s)), spec_(s)
    {
        helpTopic = QStringLiteral("MemoriesBr");
    }

protected:
    bool setUp() override
    {
        if (!openFile(VenCalc))
            return false;
        auto list = std::make_unique<BrowseList>(*this, VenCalc, spec_.columns());
        list->addOrder(CAL::NUM_KEY, CAL::MEMNUM);
        list->setSheet(QStringLiteral("Sheet"));
        const QString kind = QString::fromUtf8(spec_.kind);
        list->setRange(CAL::CM, Value(kind));
        list->setFilter([kind](const Record& r) { return r.str(CAL::CM) == kind; });
        const CalcRegisterSpec* spec = &spec_;
        list->setForm([spec] { return makeCalcRegisterForm(*spec); });
        addPart(std::move(list));
        return true;
    }

private:
    const CalcRegisterSpec& spec_;
};

class CalcRegisterForm : public RecordForm {
public:
    explicit CalcRegisterForm(const CalcRegisterSpec& s)
        : RecordForm(QString::fromUtf8(s.form), formDef(s), VenCalc), spec_(s)
    {
        helpTopic = QStringLiteral("MemoriesFr");
        FIRSTFIELD = QStringLiteral("Number");
    }

protected:
    bool setUp() override
    {
        if (REQUEST >= InsertRecord && REQUEST <= DeleteRecord)
            window().setTitle(QString::fromUtf8(spec_.captions[REQUEST - 1]));
        return RecordForm::setUp();
    }

    void primeFields(bool) override { primary().rec().set(CAL::CM, spec_.kind); }

    void accepted(const QString& c) override
    {
        if (c == u"Number") {
            // The typed number, before the byte field could wrap it.
            const RangeCheck* r = numberRange();
            if (r && !numberInRange(r->low, r->high)) {
                errors().show(16, MessageArgs{{}, {}, QString::fromUtf8(r->fieldText), QString::fromUtf8(r->boundsText)});
                control(QStringLiteral("Number")).select();
            }
            return;
        }
        if (c == OKCONTROL && !checked())
            return;
        RecordForm::accepted(c);
    }

private:
    // The dictionary's range check of the number.
    static const RangeCheck* numberRange()
    {
        for (const RangeCheck& r : VenCalc.ranges)
            if (r.field == CAL::MEMNUM)
                return &r;
        return nullptr;
    }

    bool numberInRange(int64_t low, int64_t high)
    {
        const int64_t n = control(QStringLiteral("Number")).value().toLongLong();
        return n >= low && n <= high;
    }

    // The checks of OK before the request completes; false: nothing saved.
    bool checked()
    {
        Window& w = window();
        for (const QString& name : w.controlNames())
            if (w.isBound(name) && !w.update(name)) {
                control(name).select();
                return false;
            }
        Record& r = primary().rec();
        if (r.str(CAL::CM) != QString::fromUtf8(spec_.kind)) {
            // Nothing of the wrong kind is stored; the form stays open with
            // what was typed.
            messageBox(QStringLiteral("Illegal Error!"));
            return false;
        }
        if (!numberInRange(1, spec_.okHigh)) {
            control(QStringLiteral("Number")).select();
            return false;
        }
        if (r.str(CAL::MEMORYNAME).trimmed().isEmpty()) {
            control(QStringLiteral("Name")).select();
            return false;
        }
        if (spec_.checkValue && !(r.real(CAL::MEMORYVALUE) >= spec_.lowestValue)) {
            control(QStringLiteral("Value")).select();
            return false;
        }
        r.set(CAL::UPDATE, int64_t(clock().today()));
        r.set(CAL::UPTIME, int64_t(clock().time()));
        return true;
    }

    const CalcRegisterSpec& spec_;
};

} // namespace

const CalcRegisterSpec kMemoriesRegister{
    .browse = "MemoriesBr",
    .kind = "M",
    .browseTitle = "Calculator Memories",
    .tab = "Memory Number",
    .columns = memoryColumns,
    .form = "MemoriesFr",
    .formTitle = "Update Memory",
    .formWidth = 173,
    .formTab = "Memory",
    .numberPicture = "n03B",
    .spinHigh = 255,
    .okHigh = 255,
    .numberTip = "Memory Number [1 - 255]",
    .nameTip = "Memory Name",
    .valuePrompt = "Value:",
    .lowestValue = 0,
    .checkValue = false,
    .captions = {"Adding a Memory", "Changing Memory", "Deleting a Memory"},
};

const CalcRegisterSpec kForexRegister{
    .browse = "ForexBr",
    .kind = "E",
    .browseTitle = "Foreign Exchange Rates",
    .tab = "Currency",
    .columns = forexColumns,
    .form = "ForexFr",
    .formTitle = "Update Exchange Rate",
    .formWidth = 194,
    .formTab = "Currency",
    .numberPicture = "n1",
    .spinHigh = 5,
    .okHigh = 9,
    .numberTip = "Currency Number [1 - 5]",
    .nameTip = "Memory Name or Currency Symbol",
    .valuePrompt = "Exchange Rate:",
    .lowestValue = 0.000000000001,
    .checkValue = true,
    .captions = {"Adding a Currency", "Changing Currency Exchange Rate", "Deleting a Currency"},
};

std::unique_ptr<WindowController> makeCalcRegisterBrowse(const CalcRegisterSpec& spec)
{
    return std::make_unique<CalcRegisterBrowse>(spec);
}
std::unique_ptr<WindowController> makeCalcRegisterForm(const CalcRegisterSpec& spec)
{
    return std::make_unique<CalcRegisterForm>(spec);
}

std::unique_ptr<WindowController> makeMemoriesBr(const QString&) { return makeCalcRegisterBrowse(kMemoriesRegister); }
std::unique_ptr<WindowController> makeForexBr(const QString&) { return makeCalcRegisterBrowse(kForexRegister); }
std::unique_ptr<WindowController> makeMemoriesFr(const QString&) { return makeCalcRegisterForm(kMemoriesRegister); }
std::unique_ptr<WindowController> makeForexFr(const QString&) { return makeCalcRegisterForm(kForexRegister); }

} // namespace ven
