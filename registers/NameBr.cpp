// The names list. In select mode it opens at what the caller typed (a last
// name, first name, organisation or number in the VenNam buffer), in the
// order of that field.
#include "registers/NameBr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "registers/NameFr.h"
#include "registers/NameRules.h"
#include "registers/NamesRp.h"

#include <QLineEdit>
#include <QPointer>

namespace ven {
namespace {

const WindowDef kNameBrDef{
    .title = "Names Browse",
    .w = 358,
    .h = 215,
    .icon = "2People.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 350, .h = 170},
        {.name = "LastTab", .kind = Kind::Tab, .text = "LastName", .parent = "Sheet"},
        {.name = "FirstTab", .kind = Kind::Tab, .text = "FirstName", .parent = "Sheet"},
        {.name = "OrgTab", .kind = Kind::Tab, .text = "Organization", .parent = "Sheet"},
        {.name = "LastPrompt", .kind = Kind::Prompt, .text = "Last Name:", .x = 10, .y = 22, .w = 44, .h = 10, .parent = "LastTab"},
        {.name = "LastLocator", .kind = Kind::Entry, .x = 56, .y = 22, .w = 90, .h = 10, .parent = "LastTab", .picture = "s20"},
        {.name = "FirstPrompt", .kind = Kind::Prompt, .text = "First Name:", .x = 10, .y = 22, .w = 44, .h = 10, .parent = "FirstTab"},
        {.name = "FirstLocator", .kind = Kind::Entry, .x = 56, .y = 22, .w = 90, .h = 10, .parent = "FirstTab", .picture = "s20"},
        {.name = "OrgPrompt", .kind = Kind::Prompt, .text = "Organization:", .x = 10, .y = 22, .w = 44, .h = 10, .parent = "OrgTab"},
        {.name = "OrgLocator", .kind = Kind::Entry, .x = 56, .y = 22, .w = 160, .h = 10, .parent = "OrgTab", .picture = "s40"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 36, .w = 342, .h = 134},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 178, .w = 40, .h = 14, .flags = Hidden},
        {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 48, .y = 178, .w = 40, .h = 14, .tip = "Copy Record",
         .flags = Default},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 92, .y = 178, .w = 40, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 136, .y = 178, .w = 40, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 180, .y = 178, .w = 40, .h = 14},
        {.name = "Mail", .kind = Kind::Button, .text = "&Mail", .x = 224, .y = 178, .w = 40, .h = 14, .tip = "Send E-Mail"},
        {.name = "Print", .kind = Kind::Button, .text = "P&rint", .x = 268, .y = 178, .w = 40, .h = 14,
         .tip = "Print Names & Addresses with Notes"},
        {.name = "Sticker", .kind = Kind::Button, .text = "Sticker", .x = 312, .y = 178, .w = 42, .h = 14,
         .tip = "Select for Printing Stickers"},
        {.name = "Dial", .kind = Kind::Button, .text = "Dial", .x = 4, .y = 196, .w = 40, .h = 14},
        {.name = "Home", .kind = Kind::Button, .text = "&Home", .x = 48, .y = 196, .w = 40, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 268, .y = 196, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 312, .y = 196, .w = 42, .h = 14, .flags = HelpButton},
    }};

// Tab by tab: the order, the field its locator entry types into.
struct Tab {
    int key;
    uint16_t field;
    const char* locator;
};
const Tab kTabs[] = {{NAM::SUKU_KEY, NAM::LASTNAME, "LastLocator"},
                     {NAM::ETU_KEY, NAM::FIRSTNAME, "FirstLocator"},
                     {NAM::ORG_KEY, NAM::ORG, "OrgLocator"}};

// The seven fields a label takes from its name, with the label's widths.
const std::pair<uint16_t, uint16_t> kLabelFields[] = {
    {NAM::ORG, STI::ORG},       {NAM::FIRSTNAME, STI::FIRSTNAME}, {NAM::LASTNAME, STI::LASTNAME}, {NAM::STREET, STI::STREET},
    {NAM::ZIPCODE, STI::ZIPCODE}, {NAM::CITY, STI::CITY},           {NAM::COUNTRY, STI::COUNTRY}};

class NameBr : public WindowController {
public:
    NameBr() : WindowController(QStringLiteral("NameBr"), kNameBrDef) { helpTopic = QStringLiteral("NameBrw"); }

protected:
    bool setUp() override
    {
        if (!openFile(VenStick))
            return false;
        if (REQUEST == SelectRecord) {
            const Record& primed = file(VenNam).rec();
            for (int t = 0; t < 3; ++t)
                if (!primed.str(kTabs[t].field).trimmed().isEmpty()) {
                    primedTab_ = t + 1;
                    primed_ = primed.str(kTabs[t].field).trimmed();
                    break;
                }
            if (!primedTab_ && primed.num(NAM::RECNO) > 0)
                primedNumber_ = primed.num(NAM::RECNO);
        }
        std::vector<BrowseColumn> columns = {
            BrowseColumn::ofField(NAM::ORG, "Organization", 80, "s40"),
            BrowseColumn::ofField(NAM::FIRSTNAME, "FirstName", 50, "s20"),
            BrowseColumn::ofField(NAM::LASTNAME, "LastName", 50, "s20"),
            BrowseColumn::ofField(NAM::TEL1, "Telephone", 60, "s30"),
            BrowseColumn::ofField(NAM::TEL2, "Cellular", 60, "s30"),
            BrowseColumn::ofField(NAM::FAX, "Fax", 60, "s30"),
            BrowseColumn::ofField(NAM::EMAIL, "E-Mail", 80, "s80"),
            BrowseColumn::ofField(NAM::URL, "HomePage", 80, "s80"),
            BrowseColumn::ofField(NAM::STREET, "Street", 80, "s40"),
            BrowseColumn::ofField(NAM::ZIPCODE, "Zip Code", 40, "s20"),
            BrowseColumn::ofField(NAM::CITY, "City", 60, "s30"),
            BrowseColumn::ofField(NAM::COUNTRY, "Country", 60, "s30"),
            BrowseColumn::ofField(NAM::RECNO, "RecNo", 30, "n06"),
            BrowseColumn::ofField(NAM::DOCUMENT, "Document", 100, "s127"),
        };
        auto list = std::make_unique<BrowseList>(*this, VenNam, std::move(columns));
        for (const Tab& t : kTabs)
            list->addOrder(t.key, t.field);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeNameFr({}); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list_ = list.get();
        addPart(std::move(list));
        // The locator entries position the list as the user types.
        for (const Tab& t : kTabs)
            if (auto* e = control(QString::fromLatin1(t.locator)).as<QLineEdit>())
                connect(e, &QLineEdit::textEdited, this, [this](const QString& text) { list_->locate(text); });
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e != Event::OpenWindow)
            return;
        if (primedTab_) {
            window().chooseTab(QStringLiteral("Sheet"), primedTab_);
            list_->locate(primed_);
        } else if (primedNumber_) {
            // A number typed by the caller: its name is shown in the last-name order.
            Context ctx;
            KeyedFile& n = ctx.file(VenNam);
            if (n.open()) {
                n.rec().set(NAM::RECNO, primedNumber_);
                if (n.get(NAM::RECNOKEY))
                    list_->locate(n.rec().str(NAM::LASTNAME).trimmed());
                n.close();
            }
        }
        showButtons();
    }

    void newSelection(const QString& c) override
    {
        WindowController::newSelection(c);
        if (c == u"List")
            showButtons();
    }

    void accepted(const QString& c) override
    {
        if (c == u"Dial") {
            if (const Record* r = list_->highlighted())
                dialName(*r);
            return;
        }
        WindowController::accepted(c);
        if (c == u"LastLocator")
            list_->refresh();
        else if (c == u"Mail" || c == u"Home") {
            if (list_->loadHighlighted()) {
                const Record& r = file(VenNam).rec();
                c == u"Mail" ? mailName(r, &window()) : surfName(r, &window());
            }
        } else if (c == u"Print") {
            list_->loadHighlighted();
            const int tab = std::max(1, window().chosenTab(QStringLiteral("Sheet")));
            call(makeNamesRp(QString::number(tab)), NoRequest);
        } else if (c == u"Sticker") {
            sticker();
        }
    }

private:
    // The highlighted name's label (copy 1): made from the name, or, when it
    // exists, given the name's fields that are not blank.
    void sticker()
    {
        if (!list_->loadHighlighted())
            return;
        const Record& n = file(VenNam).rec();
        KeyedFile& s = file(VenStick);
        s.rec().clear();
        s.rec().set(STI::RECNO, n.num(NAM::RECNO));
        s.rec().set(STI::DUPLO, int64_t(1));
        const bool found = s.get(STI::RECNO_KEY).ok();
        for (const auto& [from, to] : kLabelFields) {
            const QString value = n.str(from).trimmed();
            if (!found || !value.isEmpty())
                s.rec().set(to, value);  // cut to the label's width
        }
        // A label that could not be written is told, not dropped in silence.
        if (Status st = found ? s.put() : s.add(); !st)
            showWriteError(found ? 25 : 4, QStringLiteral("VenStick"), st);
    }

    void showButtons()
    {
        const Record* r = list_->highlighted();
        control("Home").show(r && !r->str(NAM::URL).trimmed().isEmpty());
        control("Mail").show(r && !r->str(NAM::EMAIL).trimmed().isEmpty());
    }

    BrowseList* list_ = nullptr;
    int primedTab_ = 0;
    QString primed_;
    int64_t primedNumber_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeNameBr(const QString&)
{
    return std::make_unique<NameBr>();
}

} // namespace ven
