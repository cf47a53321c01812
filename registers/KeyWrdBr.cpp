// The keyword search: the keywords in keyword order (letter case aside),
// each row with its document's name, description and owner, "Find:" as
// the list's locator, and Open on the highlighted keyword's document.
#include "registers/KeyWrdBr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "core/OpenDocument.h"

#include <QLineEdit>

namespace ven {
namespace {

const WindowDef kKeyWrdBrDef{
    .title = "Find Document by Keywords",
    .w = 380,
    .h = 210,
    .icon = "Find.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 372, .h = 180},
        {.name = "KeywordsTab", .kind = Kind::Tab, .text = "Keywords", .parent = "Sheet"},
        {.name = "FindPrompt", .kind = Kind::Prompt, .text = "Find:", .x = 10, .y = 23, .w = 24, .h = 10, .parent = "KeywordsTab"},
        {.name = "Find", .kind = Kind::Entry, .x = 36, .y = 22, .w = 90, .h = 11, .parent = "KeywordsTab", .picture = "s20"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 38, .w = 364, .h = 142, .parent = "KeywordsTab"},
        {.name = "Open", .kind = Kind::Button, .text = "&Open", .x = 248, .y = 190, .w = 40, .h = 14, .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 292, .y = 190, .w = 40, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 336, .y = 190, .w = 40, .h = 14, .flags = HelpButton},
    }};

// Reads a keyword's document by its number, keeping the last one read, as
// each row asks for several of its fields.
class DocumentReader {
public:
    const Record* find(int64_t docnum)
    {
        if (!file_.isOpen() && !file_.open())
            return nullptr;
        if (docnum != last_) {
            last_ = docnum;
            file_.rec().clear();
            file_.rec().set(DOC::DOCNUM, docnum);
            found_ = bool(file_.get(DOC::NUM_KEY));
        }
        return found_ ? &file_.rec() : nullptr;
    }
    void forget() { last_ = -1; }

private:
    Context ctx_;
    KeyedFile& file_ = ctx_.file(VenDoc);
    int64_t last_ = -1;
    bool found_ = false;
};

class KeyWrdBr : public WindowController {
public:
    KeyWrdBr() : WindowController(QStringLiteral("KeyWrdBr"), kKeyWrdBrDef) {}

protected:
    bool setUp() override
    {
        if (!openFilesOrCancel({&VenKWrd, &VenDoc, &VenPrg}))
            return false;
        auto docField = [this](uint16_t field) {
            return [this, field](const Record& w) -> QVariant {
                const Record* d = reader_.find(w.num(WRD::DOCNUM));
                return d ? d->get(field) : QVariant();
            };
        };
        auto list = std::make_unique<BrowseList>(
            *this, VenKWrd,
            std::vector<BrowseColumn>{BrowseColumn::ofField(WRD::KEYWORD, "Keywords", 70, "s20"),
                                      BrowseColumn::computed("Document", 90, "s127", docField(DOC::DOCNAME)),
                                      BrowseColumn::computed("Description", 100, "s127", docField(DOC::DESCRIPTION)),
                                      BrowseColumn::ofField(WRD::DOCNUM, "Doc#", 30, "n07"),
                                      BrowseColumn::computed("Cat#", 28, "n06", docField(DOC::CATNUM)),
                                      BrowseColumn::computed("Cat Id", 20, "s1", docField(DOC::CATID))});
        list->addOrder(WRD::WORD_KEY, WRD::KEYWORD);
        list->setFilter([](const Record& w) { return w.num(WRD::DOCNUM) > 0; });
        list_ = list.get();
        addPart(std::move(list));
        if (auto* find = control("Find").as<QLineEdit>())
            connect(find, &QLineEdit::textEdited, this, [this](const QString& text) {
                reader_.forget();
                list_->locate(text);
            });
        FIRSTFIELD = QStringLiteral("Find");
        return true;
    }

    void windowEvent(Event e) override
    {
        if (e == Event::GainFocus)
            reader_.forget();  // documents may have changed meanwhile
        WindowController::windowEvent(e);
    }

    void accepted(const QString& c) override
    {
        if (c == u"Open")
            return open();
        WindowController::accepted(c);
    }

private:
    void open()
    {
        const Record* w = list_->highlighted();
        if (!w)
            return;
        reader_.forget();
        const Record* d = reader_.find(w->num(WRD::DOCNUM));
        if (!d) {
            messageBox("The document of the keyword " + w->str(WRD::KEYWORD).trimmed() + " no longer exists.",
                       QStringLiteral("Find Document by Keywords"), Icon::Exclamation);
            return;
        }
        const Record doc = *d;
        OpenDocument(doc, &window(), ProgramReadReport::GetOnly);
        close(RequestCompleted);
    }

    DocumentReader reader_;
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeKeyWrdBr(const QString&)
{
    return std::make_unique<KeyWrdBr>();
}

} // namespace ven
