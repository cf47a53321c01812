// The mailing-label list in print order. Copy adds the next copy of the
// highlighted label (its own fields, the next free copy number of the same
// name); the label's key (name number and copy number) is not edited in
// place, so a label always stays with its name.
#include "registers/StickersBr.h"

#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "registers/NameRules.h"

namespace ven {
namespace {

const WindowDef kStickersBrDef{
    .title = "Mailing Labels",
    .w = 292,
    .h = 155,
    .icon = "Printer.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 284, .h = 110},
        {.name = "ZipTab", .kind = Kind::Tab, .text = "Print Order: ZipCode", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 276, .h = 90},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 118, .w = 36, .h = 14, .flags = Hidden},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 118, .w = 36, .h = 14, .flags = Hidden},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 4, .y = 118, .w = 44, .h = 14, .flags = Default},
        {.name = "ClearAll", .kind = Kind::Button, .text = "Clear All", .x = 52, .y = 118, .w = 44, .h = 14},
        {.name = "Print", .kind = Kind::Button, .text = "&Print", .x = 100, .y = 118, .w = 44, .h = 14,
         .tip = "Select Mailing Label Sheet to Print on"},
        {.name = "Copy", .kind = Kind::Button, .text = "Copy", .x = 148, .y = 118, .w = 44, .h = 14,
         .tip = "Copy current record for \nprinting multiple labels"},
        {.name = "Update", .kind = Kind::Button, .text = "&Update", .x = 196, .y = 118, .w = 44, .h = 14,
         .tip = "Update from Names File"},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 244, .y = 118, .w = 44, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 196, .y = 136, .w = 44, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 244, .y = 136, .w = 44, .h = 14, .flags = HelpButton},
    }};

// The seven text fields of a label and the name's fields they come from.
const std::pair<uint16_t, uint16_t> kFromName[] = {
    {STI::ORG, NAM::ORG},       {STI::FIRSTNAME, NAM::FIRSTNAME}, {STI::LASTNAME, NAM::LASTNAME}, {STI::STREET, NAM::STREET},
    {STI::ZIPCODE, NAM::ZIPCODE}, {STI::CITY, NAM::CITY},           {STI::COUNTRY, NAM::COUNTRY}};

constexpr int64_t kLastCopy = 255;

class StickersBr : public WindowController {
public:
    StickersBr() : WindowController(QStringLiteral("StickersBr"), kStickersBrDef) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenNam))
            return false;
        auto key = [](uint16_t f, const char* h, int w, const char* pic) {
            BrowseColumn c = BrowseColumn::ofField(f, h, w, pic);
            c.editable = false;
            return c;
        };
        std::vector<BrowseColumn> columns = {
            BrowseColumn::ofField(STI::ORG, "Organization", 80, "s40"),
            BrowseColumn::ofField(STI::FIRSTNAME, "FirstName", 50, "s20"),
            BrowseColumn::ofField(STI::LASTNAME, "LastName", 50, "s20"),
            BrowseColumn::ofField(STI::STREET, "Street", 80, "s40"),
            BrowseColumn::ofField(STI::ZIPCODE, "Zip Code", 40, "s20"),
            BrowseColumn::ofField(STI::CITY, "City", 60, "s30"),
            BrowseColumn::ofField(STI::COUNTRY, "Name", 60, "s31"),
            key(STI::RECNO, "RecNo", 30, "n06b"),
            key(STI::DUPLO, "Dup", 16, "n_3"),
        };
        auto list = std::make_unique<BrowseList>(*this, VenStick, std::move(columns));
        list->addOrder(STI::ZIP_KEY, STI::ZIPCODE);
        list->setSheet(QStringLiteral("Sheet"));
        list->setEditInPlace(true);
        // Copy and Delete are the list's own here (no question, the next copy).
        list->setButtons({.insert = "Insert", .change = "Change", .remove = "", .select = "Select", .copy = ""});
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void accepted(const QString& c) override
    {
        WindowController::accepted(c);
        if (c == u"Copy")
            copyLabel();
        else if (c == u"Update")
            updateLabel();
        else if (c == u"Delete")
            deleteLabel();
        else if (c == u"ClearAll") {
            startProcedure(QStringLiteral("ClearAllStickers"));
            close(RequestCompleted);
        } else if (c == u"Print") {
            startProcedure(QStringLiteral("SetUpLabelWnd"));
            list_->refresh();
        }
    }

private:
    // The next copy of the highlighted label: its own text, the first copy
    // number above every copy of the same name.
    void copyLabel()
    {
        if (!list_->loadHighlighted())
            return;
        KeyedFile& s = file(VenStick);
        const Record label = s.rec();
        if (label.num(STI::DUPLO) == 0)
            return;  // a blank placeholder is not copied
        Context ctx;
        KeyedFile& r = ctx.file(VenStick);
        r.open();
        int64_t copy = 0;
        r.rec().clear();
        r.rec().set(STI::RECNO, label.num(STI::RECNO) + 1);
        if (r.setFromBuffer(STI::RECNO_KEY) && r.previous() && r.rec().num(STI::RECNO) == label.num(STI::RECNO))
            copy = r.rec().num(STI::DUPLO);
        else
            copy = label.num(STI::DUPLO);
        r.close();
        if (copy >= kLastCopy) {
            messageBox(QStringLiteral("This label has already %1 copies.").arg(kLastCopy), QStringLiteral("Copy"),
                       Icon::Information);
            return;
        }
        s.rec() = label;
        s.rec().set(STI::DUPLO, copy + 1);
        if (Status st = s.add(); !st) {
            showWriteError(4, QStringLiteral("VenStick"), st);
            return;
        }
        list_->showRecord(s.currentId(), s.rec());  // the new copy, highlighted
    }

    // The label's text fields again from its name; nothing for a name gone.
    void updateLabel()
    {
        if (!list_->loadHighlighted())
            return;
        KeyedFile& s = file(VenStick);
        KeyedFile& n = file(VenNam);
        n.rec().clear();
        n.rec().set(NAM::RECNO, s.rec().num(STI::RECNO));
        if (!n.get(NAM::RECNOKEY)) {
            n.rec().clear();
            return;
        }
        for (const auto& [to, from] : kFromName)
            s.rec().set(to, n.rec().str(from));
        if (Status st = s.put(); !st)
            showWriteError(25, QStringLiteral("VenStick"), st);
        list_->refresh();
    }

    void deleteLabel()
    {
        if (!list_->loadHighlighted())
            return;
        KeyedFile& s = file(VenStick);
        if (Status st = s.remove(); !st)
            showWriteError(11, QStringLiteral("VenStick"), st);
        list_->refresh();
    }

    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeStickersBr(const QString&)
{
    return std::make_unique<StickersBr>();
}

} // namespace ven
