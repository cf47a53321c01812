// Small sample procedures for the framework's tests: a data file of their
// own, a plain window, a browse with its form, and their declarations.
#pragma once

#include "WindowKit.h"

#include "platform/RecordForm.h"

namespace ven::test {

namespace TST {
enum Field : uint16_t { NUMBER, NAME, AMOUNT, NOTE };
enum Key : int { NUMBERKEY, NAMEKEY };
} // namespace TST

inline const FileDef& sampleFile()
{
    static const FileDef def{
        .label = "VenTst",
        .prefix = "TST",
        .fields = {{"NUMBER", FieldType::Long, 4, ""},
                   {"NAME", FieldType::CString, 31, ""},
                   {"AMOUNT", FieldType::Long, 4, ""},
                   {"NOTE", FieldType::CString, 41, ""}},
        .keys = {{"TST:NUMBERKEY", {{TST::NUMBER}}, true, false, true, 0, "Number"},
                 {"TST:NAMEKEY", {{TST::NAME}, {TST::NUMBER}}, false, false, false, -1, "Name"}},
        .initial = {{TST::AMOUNT, int64_t(7)}},
        .ranges = {{TST::AMOUNT, 0, 1000, "Amount", "0 and 1000"}},
    };
    return def;
}

// Adds records (name, amount) numbered 1, 2, ... in one transaction.
inline void addSamples(const std::vector<std::pair<QString, int>>& rows, int firstNumber = 1)
{
    Context ctx;
    KeyedFile& f = ctx.file(sampleFile());
    ASSERT_TRUE(f.open());
    WriteBatch batch(f);
    int n = firstNumber;
    for (const auto& [name, amount] : rows) {
        f.rec().clear();
        f.rec().set(TST::NUMBER, n++);
        f.rec().set(TST::NAME, name);
        f.rec().set(TST::AMOUNT, amount);
        ASSERT_TRUE(f.add());
    }
    ASSERT_TRUE(batch.commit());
}

inline int64_t sampleCount()
{
    Context ctx;
    KeyedFile& f = ctx.file(sampleFile());
    f.open();
    return f.records();
}

// The record with that number, read afresh; a cleared record when none.
inline Record sampleRecord(int number)
{
    Context ctx;
    KeyedFile& f = ctx.file(sampleFile());
    f.open();
    f.rec().clear();
    f.rec().set(TST::NUMBER, number);
    if (!f.get(TST::NUMBERKEY))
        f.rec().clear();
    return f.rec();
}

inline const WindowDef& sampleWindowDef()
{
    static const WindowDef def{
        .title = "Sample",
        .w = 160,
        .h = 80,
        .controls = {
            {.name = "Name", .kind = Kind::Entry, .x = 10, .y = 10, .w = 80, .h = 12, .picture = "s20"},
            {.name = "Count", .kind = Kind::Spin, .x = 10, .y = 26, .w = 40, .h = 12, .picture = "n3", .low = 1, .high = 10},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 100, .y = 60, .w = 50, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

// A plain window that counts the events it hears.
class SampleWnd : public WindowController {
public:
    SampleWnd(const QString& name, const ProcedureTraits& traits) : WindowController(name, sampleWindowDef(), traits) {}
    std::map<Event, int> events;
    int opens = 0;

protected:
    void windowEvent(Event e) override
    {
        ++events[e];
        WindowController::windowEvent(e);
    }
};

inline const WindowDef& sampleFormDef()
{
    static const WindowDef def{
        .title = "Sample Form",
        .w = 180,
        .h = 90,
        .controls = {
            {.name = "Number", .kind = Kind::Entry, .x = 50, .y = 8, .w = 40, .h = 12, .picture = "n6", .use = "TST:NUMBER", .flags = ReadOnly},
            {.name = "Name", .kind = Kind::Entry, .x = 50, .y = 24, .w = 100, .h = 12, .picture = "s30", .use = "TST:NAME"},
            {.name = "Amount", .kind = Kind::Entry, .x = 50, .y = 40, .w = 40, .h = 12, .picture = "n-6", .use = "TST:AMOUNT"},
            {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 70, .y = 70, .w = 45, .h = 14, .flags = Default},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 120, .y = 70, .w = 45, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

class SampleFr : public RecordForm {
public:
    explicit SampleFr(const ProcedureTraits& traits = {}, uint8_t deleteAction = 3)
        : RecordForm("SampleFr", sampleFormDef(), sampleFile(), traits)
    {
        DELETEACTION = deleteAction;
        FIRSTFIELD = "Name";
    }
    bool primedCopy = false;

protected:
    void primeFields(bool copy) override
    {
        primedCopy = copy;
        if (!copy)
            primary().rec().set(TST::NOTE, "new");
    }
};

inline const WindowDef& sampleBrowseDef()
{
    static const WindowDef def{
        .title = "Samples",
        .w = 260,
        .h = 180,
        .controls = {
            {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 252, .h = 150},
            {.name = "ByNumber", .kind = Kind::Tab, .text = "By Number", .parent = "Sheet"},
            {.name = "ByName", .kind = Kind::Tab, .text = "By Name", .parent = "Sheet"},
            {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 244, .h = 130},
            {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 160, .w = 36, .h = 14},
            {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 44, .y = 160, .w = 36, .h = 14},
            {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 84, .y = 160, .w = 36, .h = 14},
            {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 124, .y = 160, .w = 36, .h = 14},
            {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 164, .y = 160, .w = 36, .h = 14},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 210, .y = 160, .w = 44, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

inline std::vector<BrowseColumn> sampleColumns()
{
    BrowseColumn number = BrowseColumn::ofField(TST::NUMBER, "Number", 30, "n_7");
    number.editable = false;  // the file numbers its records
    return {number, BrowseColumn::ofField(TST::NAME, "Name", 80, "s30"),
            BrowseColumn::ofField(TST::AMOUNT, "Amount", 30, "n-6"),
            BrowseColumn::computed("Twice", 30, "n-7", [](const Record& r) { return QVariant(qlonglong(2 * r.num(TST::AMOUNT))); })};
}

// A browse of the sample file with its form; `setup` adds what a test needs
// (ranges, filters, in-place editing) after the list is attached.
class SampleBr : public WindowController {
public:
    explicit SampleBr(const QString& name = "SampleBr", const ProcedureTraits& traits = {ProcedureTraits{}},
                      std::function<void(BrowseList&)> setup = {}, uint8_t formDeleteAction = 3)
        : WindowController(name, sampleBrowseDef(), traits), setup_(std::move(setup)), deleteAction_(formDeleteAction)
    {
    }
    BrowseList* browse = nullptr;

protected:
    bool setUp() override
    {
        auto b = std::make_unique<BrowseList>(*this, sampleFile(), sampleColumns());
        b->addOrder(TST::NUMBERKEY);
        b->addOrder(TST::NAMEKEY, TST::NAME);
        b->setSheet("Sheet");
        const uint8_t del = deleteAction_;
        b->setForm([del] { return std::make_unique<SampleFr>(ProcedureTraits{}, del); });
        browse = b.get();
        addPart(std::move(b));
        if (setup_)
            setup_(*browse);
        return true;
    }

private:
    std::function<void(BrowseList&)> setup_;
    uint8_t deleteAction_;
};

} // namespace ven::test
