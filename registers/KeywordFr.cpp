// The keyword form: the document's number and the keyword; a keyword the
// document already holds (in any letter case) is refused by the unique key.
#include "registers/KeywordFr.h"

#include "data/Dictionary.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kKeywordFrDef{
    .title = "Update Keywords",
    .w = 160,
    .h = 76,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 152, .h = 48},
        {.name = "KeywordTab", .kind = Kind::Tab, .text = "Keyword:", .parent = "Sheet"},
        {.name = "DocNumPrompt", .kind = Kind::Prompt, .text = "DocNum:", .x = 10, .y = 22, .w = 36, .h = 10, .parent = "KeywordTab"},
        {.name = "DocNum", .kind = Kind::String, .x = 50, .y = 22, .w = 40, .h = 10, .parent = "KeywordTab", .picture = "n07",
         .use = "WRD:DOCNUM"},
        {.name = "KeywordPrompt", .kind = Kind::Prompt, .text = "Keyword:", .x = 10, .y = 36, .w = 36, .h = 10, .parent = "KeywordTab"},
        {.name = "Keyword", .kind = Kind::Entry, .x = 50, .y = 35, .w = 96, .h = 11, .parent = "KeywordTab", .picture = "s20",
         .use = "WRD:KEYWORD"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 68, .y = 58, .w = 42, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 114, .y = 58, .w = 42, .h = 14, .closes = RequestCancelled},
    }};

class KeywordFr : public RecordForm {
public:
    KeywordFr() : RecordForm(QStringLiteral("KeywordFr"), kKeywordFrDef, VenKWrd)
    {
        DELETEACTION = 4;  // a keyword is deleted at once, with no question and no window
        FIRSTFIELD = QStringLiteral("Keyword");
    }

protected:
    bool setUp() override
    {
        if (REQUEST == InsertRecord)
            window().setTitle(QStringLiteral("Adding Keyword"));
        else if (REQUEST == ChangeRecord)
            window().setTitle(QStringLiteral("Changing Keyword"));
        return RecordForm::setUp();
    }
};

} // namespace

std::unique_ptr<WindowController> makeKeywordFr(const QString&)
{
    return std::make_unique<KeywordFr>();
}

} // namespace ven
