// The project form: its tab of fields, the new project's category and
// number, and the number raised on OK past those that are taken.
#include "calendar/ProjectFr.h"

#include "calendar/DiaryGlobals.h"
#include "data/Dictionary.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"

#include <set>

namespace ven {
namespace {

const WindowDef kProjectFrDef{
    .title = "Update Projects",
    .w = 260,
    .h = 186,
    .icon = "Memo.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 252, .h = 160},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "Category", .kind = Kind::String, .x = 10, .y = 22, .w = 10, .h = 10, .parent = "General",
         .picture = "n1", .use = "PRO:CATEGORY"},
        {.name = "Number", .kind = Kind::String, .x = 24, .y = 22, .w = 30, .h = 10, .parent = "General",
         .picture = "n06b", .use = "PRO:NUMBER"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 36, .w = 30, .h = 10, .parent = "General"},
        {.name = "Name", .kind = Kind::Text, .x = 44, .y = 34, .w = 160, .h = 24, .parent = "General", .tip = "Legend",
         .use = "PRO:NAME"},
        {.name = "Part", .kind = Kind::Spin, .x = 210, .y = 34, .w = 38, .h = 12, .parent = "General", .picture = "n3B",
         .tip = "Part Number", .use = "PRO:PART", .low = 0, .high = 255},
        {.name = "Total", .kind = Kind::Entry, .x = 210, .y = 48, .w = 38, .h = 12, .parent = "General", .picture = "n3B",
         .tip = "Total Number", .use = "PRO:TOTAL"},
        {.name = "NotePrompt", .kind = Kind::Prompt, .text = "Note:", .x = 10, .y = 64, .w = 30, .h = 10, .parent = "General"},
        {.name = "Note", .kind = Kind::Entry, .x = 44, .y = 62, .w = 204, .h = 12, .parent = "General", .picture = "s60",
         .tip = "Translation", .use = "PRO:TRANS"},
        {.name = "Memo", .kind = Kind::Text, .x = 10, .y = 78, .w = 238, .h = 62, .parent = "General", .tip = "Memorandum",
         .use = "PRO:MEMO"},
        {.name = "TimesPrompt", .kind = Kind::Prompt, .text = "Default times:", .x = 10, .y = 146, .w = 50, .h = 10,
         .parent = "General"},
        {.name = "BegPrompt", .kind = Kind::Prompt, .text = "Beg:", .x = 64, .y = 146, .w = 18, .h = 10, .parent = "General"},
        {.name = "BTime", .kind = Kind::Spin, .x = 84, .y = 144, .w = 40, .h = 12, .parent = "General", .picture = "T01.B",
         .tip = "Default Beginning Time", .use = "PRO:BTIME", .low = 1, .high = 8640000, .step = 6000},
        {.name = "EndPrompt", .kind = Kind::Prompt, .text = "End:", .x = 132, .y = 146, .w = 18, .h = 10, .parent = "General"},
        {.name = "ETime", .kind = Kind::Spin, .x = 152, .y = 144, .w = 40, .h = 12, .parent = "General", .picture = "T01.B",
         .tip = "Default End Time", .use = "PRO:ETIME", .low = 1, .high = 8640000, .step = 6000},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 126, .y = 168, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 170, .y = 168, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 214, .y = 168, .w = 40, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {{InsertRecord, "Adding a Project"},
                                                   {ChangeRecord, "Changing this Project"},
                                                   {DeleteRecord, "Deleting this Project"}};

// The project numbers that diary entries of the category still name.
std::set<int64_t> numbersNamedByDiary(int64_t category)
{
    std::set<int64_t> named;
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    if (!dry.open() || !dry.set())
        return named;
    while (dry.next())
        if (dry.rec().num(DRY::CATEGORY) == category && dry.rec().num(DRY::PROJECT) > 0)
            named.insert(dry.rec().num(DRY::PROJECT));
    return named;
}

class ProjectFr : public RecordForm {
public:
    ProjectFr() : RecordForm(QStringLiteral("ProjectFr"), kProjectFrDef, VenPro)
    {
        FIRSTFIELD = QStringLiteral("Name");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        if (REQUEST == InsertRecord) {
            // The form files the project under the current category itself;
            // the number counts the record reserved for this insert.
            KeyedFile& f = primary();
            f.keepOwnNumber();
            f.rec().set(PRO::CATEGORY, int64_t(GCategory));
            f.rec().set(PRO::NUMBER, f.records());
            // A number another copy of the program stored after the OK
            // raised it is passed over as the project is stored.
            setOwnNumber(PRO::NUMBER, PRO::NUMBER_KEY);
        }
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == OKCONTROL && REQUEST == InsertRecord) {
            giveFreeNumber();
            window().display(QStringLiteral("Number"));
        }
        RecordForm::accepted(c);
    }

private:
    // Raised while another project of the category holds the number, or
    // while diary entries still book hours to it (a deleted project's), so
    // that a new project never inherits another's hours.
    void giveFreeNumber()
    {
        KeyedFile& f = primary();
        const std::set<int64_t> named = numbersNamedByDiary(f.rec().num(PRO::CATEGORY));
        for (;;) {
            const int64_t n = raiseWhileTaken(f, PRO::NUMBER, PRO::NUMBER_KEY);
            if (!named.count(n))
                return;
            f.rec().set(PRO::NUMBER, n + 1);
        }
    }
};

} // namespace

std::unique_ptr<WindowController> makeProjectFr(const QString&)
{
    return std::make_unique<ProjectFr>();
}

} // namespace ven
