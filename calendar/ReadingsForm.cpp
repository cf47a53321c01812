// The readings form shared by FeastReadingsFr and SaintReadingsFr: the day
// shown read-only, its readings memo edited.
#include "calendar/ReadingsForm.h"

#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

WindowDef readingsDef(const ReadingsSpec& s)
{
    std::vector<ControlDef> c = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 352, .h = 168},
        {.name = "Readings", .kind = Kind::Tab, .text = "Readings", .parent = "Sheet"},
    };
    c.insert(c.end(), s.shown.begin(), s.shown.end());
    c.insert(c.end(), {
        {.name = "ReadingsText", .kind = Kind::Text, .x = 8, .y = 36, .w = 344, .h = 130, .parent = "Readings",
         .tip = s.readingsTip, .use = s.readingsUse},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 230, .y = 178, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 273, .y = 178, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 316, .y = 178, .w = 40, .h = 14, .flags = HelpButton},
    });
    return WindowDef{.title = s.title, .w = 360, .h = 196, .icon = "Calender.ico", .controls = std::move(c)};
}

class ReadingsForm : public RecordForm {
public:
    explicit ReadingsForm(const ReadingsSpec& s)
        : RecordForm(QString::fromUtf8(s.procedure), readingsDef(s), s.file), spec_(s)
    {
        FIRSTFIELD = QStringLiteral("ReadingsText");
        setServes({ChangeRecord});
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        // The name with its blank padding, as stored.
        window().setTitle(QString::fromUtf8(spec_.captionLead) + QStringLiteral("  (") +
                          primary().rec().str(spec_.captionField) + QStringLiteral(")"));
        return true;
    }

    void accepted(const QString& c) override
    {
        // The checked field's range check runs before the record is stored.
        if (spec_.checkedField && c == OKCONTROL && REQUEST == ChangeRecord) {
            if (Status st = primary().validateField(spec_.checkedField); !st) {
                errors().show(st);
                control(QString::fromUtf8(spec_.checkedControl)).select();
                return;
            }
        }
        RecordForm::accepted(c);
    }

private:
    const ReadingsSpec& spec_;
};

} // namespace

std::unique_ptr<WindowController> makeReadingsForm(const ReadingsSpec& spec)
{
    return std::make_unique<ReadingsForm>(spec);
}

} // namespace ven
