// The category list: the categories of owner letter "C" by name, the
// highlighted one as the document owner, and a new category's number.
#include "registers/DocCatBr.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Numbering.h"
#include "registers/DocCatFr.h"

namespace ven {
namespace {

const WindowDef kDocCatBrDef{
    .title = "Browse Document Categories",
    .w = 260,
    .h = 190,
    .icon = "Files3.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 252, .h = 160},
        {.name = "Alphabetically", .kind = Kind::Tab, .text = "Alphabetically", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 244, .h = 140},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 170, .w = 38, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 46, .y = 170, .w = 38, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 88, .y = 170, .w = 38, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 130, .y = 170, .w = 38, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 176, .y = 170, .w = 38, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 218, .y = 170, .w = 38, .h = 14, .flags = HelpButton},
    }};

class DocCatBr : public WindowController {
public:
    DocCatBr() : WindowController(QStringLiteral("DocCatBr"), kDocCatBrDef) {}

protected:
    bool setUp() override
    {
        GCatId = QStringLiteral("C");
        if (!openFile(VenDCat)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        auto list = std::make_unique<BrowseList>(
            *this, VenDCat,
            std::vector<BrowseColumn>{BrowseColumn::ofField(CAT::CATNAME, "Category Name", 180, "s127"),
                                      BrowseColumn::ofField(CAT::CATNUM, "Nbr", 20, "n03"),
                                      BrowseColumn::ofField(CAT::CATID, "Id", 12, "s1")});
        list->addOrder(CAT::NAME_KEY, CAT::CATNAME);
        list->setSheet(QStringLiteral("Sheet"));
        list->setFilter([](const Record& r) { return r.str(CAT::CATID).trimmed().compare(u"C", Qt::CaseInsensitive) == 0; });
        list->setForm([] { return makeDocCatFr(); });
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void newSelection(const QString& c) override
    {
        WindowController::newSelection(c);
        if (c == u"List")
            if (const Record* r = list_->highlighted()) {
                GCatNum = uint32_t(r->num(CAT::CATNUM));
                GCatId = QStringLiteral("C");
            }
    }

    void accepted(const QString& c) override
    {
        if (c == u"Insert") {
            // The record count plus one, raised while a category holds it.
            GCatId = QStringLiteral("C");
            GCatNum = uint32_t(countPlusOne(file(VenDCat), CAT::CATNUM, CAT::NUM_KEY));
        }
        WindowController::accepted(c);
    }

private:
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeDocCatBr(const QString&)
{
    return std::make_unique<DocCatBr>();
}

} // namespace ven
