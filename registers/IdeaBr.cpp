// The idea list: by name with the "Search:" locator, or by number; the
// highlighted idea's number beside the tabs.
#include "registers/IdeaBr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "registers/IdeaFr.h"

#include <QLineEdit>

namespace ven {
namespace {

const WindowDef kIdeaBrDef{
    .title = "Ideas - Think Tank",
    .w = 300,
    .h = 210,
    .icon = "Idea.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 180},
        {.name = "Alphabetically", .kind = Kind::Tab, .text = "Alphabetically", .parent = "Sheet"},
        {.name = "NumberOrder", .kind = Kind::Tab, .text = "Number Order", .parent = "Sheet"},
        {.name = "SearchPrompt", .kind = Kind::Prompt, .text = "Search:", .x = 10, .y = 23, .w = 28, .h = 10, .parent = "Alphabetically"},
        {.name = "Search", .kind = Kind::Entry, .x = 40, .y = 22, .w = 90, .h = 11, .parent = "Alphabetically", .picture = "s20"},
        {.name = "Number", .kind = Kind::String, .x = 250, .y = 5, .w = 40, .h = 10, .picture = "n06B"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 38, .w = 284, .h = 142},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 190, .w = 38, .h = 14, .tip = "Select this Idea"},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 46, .y = 190, .w = 38, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 88, .y = 190, .w = 38, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 130, .y = 190, .w = 38, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 216, .y = 190, .w = 38, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 258, .y = 190, .w = 38, .h = 14, .flags = HelpButton},
    }};

class IdeaBr : public WindowController {
public:
    IdeaBr() : WindowController(QStringLiteral("IdeaBr"), kIdeaBrDef) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenIdea)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        auto list = std::make_unique<BrowseList>(
            *this, VenIdea,
            std::vector<BrowseColumn>{BrowseColumn::ofField(IDE::NAME, "Name", 150, "s127"),
                                      BrowseColumn::ofField(IDE::NUMBER, "Number", 30, "n06B"),
                                      BrowseColumn::ofField(IDE::DATE, "Date", 42, "D06-B"),
                                      BrowseColumn::ofField(IDE::TIME, "Time", 24, "T01.B")});
        list->addOrder(IDE::NAME_KEY, IDE::NAME);
        list->addOrder(IDE::IDE_KEY, IDE::NUMBER);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeIdeaFr(); });
        list_ = list.get();
        addPart(std::move(list));
        window().bind(QStringLiteral("Number"), bindTo(number_));
        if (auto* search = control("Search").as<QLineEdit>())
            connect(search, &QLineEdit::textEdited, this, [this](const QString& text) { list_->locate(text); });
        return true;
    }

    void newSelection(const QString& c) override
    {
        WindowController::newSelection(c);
        if (c == u"List") {
            const Record* r = list_->highlighted();
            number_ = r ? r->num(IDE::NUMBER) : 0;
            window().display(QStringLiteral("Number"));
        }
    }

private:
    BrowseList* list_ = nullptr;
    int64_t number_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeIdeaBr(const QString&)
{
    return std::make_unique<IdeaBr>();
}

} // namespace ven
