// The program list: two orders, the built-in "VIEW" row that cannot be
// copied, changed, deleted or started, Start, and select mode with Select
// as the button Enter presses.
#include "registers/ProgramsBr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "registers/ProgramsFr.h"
#include "registers/RunProgram.h"


namespace ven {
namespace {

const WindowDef kProgramsBrDef{
    .title = "Start Programs",
    .w = 380,
    .h = 214,
    .icon = "Programs.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 372, .h = 184},
        {.name = "ByName", .kind = Kind::Tab, .text = "Programs", .parent = "Sheet"},
        {.name = "ByButton", .kind = Kind::Tab, .text = "Buttons", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 364, .h = 164},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 194, .w = 38, .h = 14},
        {.name = "Copy", .kind = Kind::Button, .text = "&Copy", .x = 46, .y = 194, .w = 38, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 88, .y = 194, .w = 38, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "Chang&e", .x = 130, .y = 194, .w = 38, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 172, .y = 194, .w = 38, .h = 14},
        {.name = "Start", .kind = Kind::Button, .text = "&Start", .x = 214, .y = 194, .w = 38, .h = 14, .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 296, .y = 194, .w = 38, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 338, .y = 194, .w = 38, .h = 14, .flags = HelpButton},
    }};

bool isView(const Record& r)
{
    return r.str(PRG::NAME).trimmed().compare(u"VIEW", Qt::CaseInsensitive) == 0;
}

class ProgramsBr : public WindowController {
public:
    ProgramsBr() : WindowController(QStringLiteral("ProgramsBr"), kProgramsBrDef) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenPrg)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        primed_ = file(VenPrg).rec().str(PRG::NAME).trimmed();
        {
            Context ctx;
            KeyedFile& prg = ctx.file(VenPrg);
            if (prg.open())
                ensureViewProgram(prg);
        }
        auto list = std::make_unique<BrowseList>(
            *this, VenPrg,
            std::vector<BrowseColumn>{BrowseColumn::ofField(PRG::BUTTONNUMBER, "But", 16, "n03B"),
                                      BrowseColumn::ofField(PRG::NAME, "Name", 60, "s32"),
                                      BrowseColumn::ofField(PRG::DESCRIPTION, "Description", 80, "s127"),
                                      BrowseColumn::ofField(PRG::PROGPATH, "Program Path", 80, "s127"),
                                      BrowseColumn::ofField(PRG::STARTPATH, "Start Path", 60, "s127"),
                                      BrowseColumn::ofField(PRG::PARAMETERS, "Parameters", 60, "s127"),
                                      BrowseColumn::ofField(PRG::ICON, "Icon", 60, "s127")});
        list->addOrder(PRG::PRG_KEY, PRG::NAME);
        list->addOrder(PRG::BUTTON_KEY, PRG::BUTTONNUMBER);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeProgramsFr(); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        // Change and Delete are pressed here, so that they stay disabled on
        // the built-in row whatever the list enables.
        list->setButtons({.insert = QStringLiteral("Insert"), .change = {}, .remove = {}, .select = QStringLiteral("Select"),
                          .copy = QStringLiteral("Copy")});
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow) {
            if (REQUEST == SelectRecord && !primed_.isEmpty())
                list_->locate(primed_);
            guardView();
        }
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (c == u"List" && e == FieldEvent::DoubleClick && REQUEST != SelectRecord) {
            if (control("Change").isEnabled())
                accepted(QStringLiteral("Change"));
            return;
        }
        WindowController::fieldEvent(c, e);
    }

    void newSelection(const QString& c) override
    {
        WindowController::newSelection(c);
        if (c == u"List")
            guardView();
    }

    void accepted(const QString& c) override
    {
        if (c == u"Change" || c == u"Delete") {
            if (const Record* r = list_->highlighted(); r && !isView(*r) && list_->loadHighlighted())
                list_->callForm(c == u"Change" ? ChangeRecord : DeleteRecord);
            return;
        }
        if (c == u"Start") {
            if (const Record* r = list_->highlighted(); r && !isView(*r)) {
                const Record prg = *r;
                startRegisteredProgram(prg, &window());
                close(RequestCancelled);
            }
            return;
        }
        WindowController::accepted(c);
    }

private:
    // On the built-in row Copy, Change, Delete and Start are disabled.
    void guardView()
    {
        const Record* r = list_->highlighted();
        const bool any = r != nullptr;
        const bool view = r && isView(*r);
        control("Copy").enable(any && !view);
        control("Start").enable(any && !view);
        control("Change").enable(any && !view);
        control("Delete").enable(any && !view);
    }

    BrowseList* list_ = nullptr;
    QString primed_;
};

} // namespace

bool ensureViewProgram(KeyedFile& prg)
{
    prg.rec().clear();
    prg.rec().set(PRG::NAME, "VIEW");
    const Status found = prg.get(PRG::PRG_KEY);
    if (found)
        return true;
    if (found.code != Err::NotFound) {
        errors().show(found);
        return false;
    }
    prg.rec().clear();
    prg.rec().set(PRG::NAME, "VIEW");
    prg.rec().set(PRG::DESCRIPTION, "View Text File");
    if (Status st = prg.add(); !st) {
        errors().show(st);
        return false;
    }
    return true;
}

std::unique_ptr<WindowController> makeProgramsBr(const QString&)
{
    return std::make_unique<ProgramsBr>();
}

} // namespace ven
