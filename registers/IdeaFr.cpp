// The idea form: a new idea's number and time, the idea's details in
// header order with the "Search:" locator, and a cancelled new idea taking
// the details filed meanwhile with it.
#include "registers/IdeaFr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"
#include "platform/SettingsFile.h"
#include "registers/UpdateVenISub.h"

#include <QLineEdit>

#include <set>

namespace ven {
namespace {

const WindowDef kIdeaFrDef{
    .title = "Update Idea",
    .w = 340,
    .h = 210,
    .icon = "Idea.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 332, .h = 180},
        {.name = "DetailsTab", .kind = Kind::Tab, .text = "Idea Details", .parent = "Sheet"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 23, .w = 30, .h = 10, .parent = "DetailsTab"},
        {.name = "Name", .kind = Kind::Entry, .x = 44, .y = 22, .w = 284, .h = 11, .parent = "DetailsTab", .picture = "s127",
         .use = "IDE:NAME"},
        {.name = "NumberPrompt", .kind = Kind::Prompt, .text = "Number:", .x = 10, .y = 37, .w = 30, .h = 10, .parent = "DetailsTab"},
        {.name = "Number", .kind = Kind::String, .x = 44, .y = 37, .w = 30, .h = 10, .parent = "DetailsTab", .picture = "n06B",
         .use = "IDE:NUMBER"},
        {.name = "CreatedPrompt", .kind = Kind::Prompt, .text = "Created:", .x = 90, .y = 37, .w = 32, .h = 10, .parent = "DetailsTab"},
        {.name = "Date", .kind = Kind::String, .x = 124, .y = 37, .w = 44, .h = 10, .parent = "DetailsTab", .picture = "D06-B",
         .use = "IDE:DATE"},
        {.name = "At", .kind = Kind::Prompt, .text = "at", .x = 170, .y = 37, .w = 10, .h = 10, .parent = "DetailsTab"},
        {.name = "Time", .kind = Kind::String, .x = 182, .y = 37, .w = 26, .h = 10, .parent = "DetailsTab", .picture = "T01.B",
         .use = "IDE:TIME"},
        {.name = "SearchPrompt", .kind = Kind::Prompt, .text = "Search:", .x = 10, .y = 52, .w = 30, .h = 10, .parent = "DetailsTab"},
        {.name = "Search", .kind = Kind::Entry, .x = 44, .y = 51, .w = 90, .h = 11, .parent = "DetailsTab", .picture = "s20"},
        {.name = "Details", .kind = Kind::List, .x = 10, .y = 66, .w = 272, .h = 112, .parent = "DetailsTab"},
        {.name = "DetInsert", .kind = Kind::Button, .text = "&Insert", .x = 286, .y = 66, .w = 44, .h = 14, .parent = "DetailsTab"},
        {.name = "DetChange", .kind = Kind::Button, .text = "&Change", .x = 286, .y = 83, .w = 44, .h = 14, .parent = "DetailsTab"},
        {.name = "DetDelete", .kind = Kind::Button, .text = "&Delete", .x = 286, .y = 100, .w = 44, .h = 14, .parent = "DetailsTab"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 180, .y = 190, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 233, .y = 190, .w = 50, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 286, .y = 190, .w = 50, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding an Idea"}, {ChangeRecord, "Changing the Idea"}, {DeleteRecord, "Deleting the Idea"}};

// The details of an idea now.
std::set<int64_t> detailsOf(int64_t idea)
{
    std::set<int64_t> out;
    Context ctx;
    KeyedFile& s = ctx.file(VenISub);
    if (!s.open())
        return out;
    s.rec().clear();
    s.rec().set(SUB::IDENUM, idea);
    s.setFromBuffer(SUB::IDE_KEY);
    while (s.next() && s.rec().num(SUB::IDENUM) == idea)
        out.insert(s.rec().num(SUB::SIDENUM));
    return out;
}

class IdeaFr : public RecordForm {
public:
    IdeaFr() : RecordForm(QStringLiteral("IdeaFr"), kIdeaFrDef, VenIdea)
    {
        FIRSTFIELD = QStringLiteral("Name");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!openFilesOrCancel({&VenISub, &VenDoc, &VenKWrd}))
            return false;
        if (!RecordForm::setUp())
            return false;
        if (REQUEST == InsertRecord) {
            primary().keepOwnNumber();
            // Another copy's reserved record may hold the count plus one;
            // the idea then takes the number its own reserved record holds,
            // and its details follow.
            setOwnNumber(IDE::NUMBER, IDE::IDE_KEY, [this](int64_t from, int64_t to) {
                Context ctx;
                KeyedFile& s = ctx.file(VenISub);
                if (!s.open())
                    return false;
                for (int64_t n : detailsOf(from)) {
                    s.rec().clear();
                    s.rec().set(SUB::SIDENUM, n);
                    if (!s.get(SUB::SUB_KEY))
                        return false;
                    s.rec().set(SUB::IDENUM, to);
                    if (!s.put())
                        return false;
                }
                number_ = to;
                return true;
            }, reservedNumber_);
        }
        number_ = primary().rec().num(IDE::NUMBER);
        before_ = detailsOf(number_);
        auto list = std::make_unique<BrowseList>(
            *this, VenISub,
            std::vector<BrowseColumn>{BrowseColumn::ofField(SUB::SUBHEAD, "Header", 110, "s127"),
                                      BrowseColumn::ofField(SUB::CDATE, "Created", 42, "D06-B"),
                                      BrowseColumn::ofField(SUB::CTIME, "Time", 24, "T01.B"),
                                      BrowseColumn::ofField(SUB::MDATE, "Modified", 42, "D06-B"),
                                      BrowseColumn::ofField(SUB::MTIME, "Time", 24, "T01.B"),
                                      BrowseColumn::ofField(SUB::DOCUMENT, "Document", 80, "s249")},
            QStringLiteral("Details"));
        list->addOrder(SUB::IDEALPHA_KEY, SUB::SUBHEAD);
        list->setFilter([this](const Record& s) { return s.num(SUB::IDENUM) == number_; });
        list->setForm([] { return makeUpdateVenISub(); });
        list->setButtons({.insert = "DetInsert", .change = "DetChange", .remove = "DetDelete", .select = {}, .copy = {}});
        details_ = list.get();
        addPart(std::move(list));
        // The details list keeps its column formats as the second list of the form.
        std::vector<int> widths;
        for (const BrowseColumn& c : details_->model().columns())
            widths.push_back(c.width);
        addPart(std::make_unique<ListFormat>(*this, details_->view(), widths, FormatWay::Switchable, 2, settingsFile().file()));
        if (auto* search = control("Search").as<QLineEdit>())
            connect(search, &QLineEdit::textEdited, this, [this](const QString& text) { details_->locate(text); });
        return true;
    }

    // A new idea: the record count plus one, the idea's own reserved record
    // counting but not holding its number.
    void primeFields(bool) override
    {
        Record& r = primary().rec();
        const QDateTime now = clock().now();
        r.set(IDE::DATE, int64_t(dayNumber(now)));
        r.set(IDE::TIME, int64_t(timeValue(now)));
        reservedNumber_ = r.num(IDE::NUMBER);
        r.set(IDE::NUMBER, countPlusOneBesideOwn(primary(), IDE::NUMBER, IDE::IDE_KEY));
    }

    void tearDown() override
    {
        // A new idea that was not saved takes the details filed meanwhile,
        // with their documents, so that the next idea does not adopt them.
        if (REQUEST == InsertRecord && RESPONSE != RequestCompleted) {
            Context ctx;
            KeyedFile& s = ctx.file(VenISub);
            if (s.open())
                for (int64_t n : detailsOf(number_)) {
                    if (before_.count(n))
                        continue;
                    s.rec().clear();
                    s.rec().set(SUB::SIDENUM, n);
                    if (s.get(SUB::SUB_KEY))
                        if (Status st = s.deleteWithChildren(); !st)
                            errors().show(st);
                }
        }
        RecordForm::tearDown();
    }

private:
    int64_t number_ = 0;
    int64_t reservedNumber_ = 0;  // held by the form's reserved record
    std::set<int64_t> before_;
    BrowseList* details_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeIdeaFr(const QString&)
{
    return std::make_unique<IdeaFr>();
}

} // namespace ven
