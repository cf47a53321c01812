// The idea-detail form: the detail's dates, its owner letter "I", its
// documents in name order (filed through the document form under the
// detail's own number), Open, and an old document path handed to the
// document form at once.
#include "registers/UpdateVenISub.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/RecordForm.h"
#include "core/OpenDocument.h"
#include "registers/OwnerDocuments.h"
#include "registers/UpdateVenDoc.h"

#include <QPointer>
#include <QTimer>

namespace ven {
namespace {

const WindowDef kUpdateVenISubDef{
    .title = "Update Idea Details",
    .w = 340,
    .h = 220,
    .icon = "Idea.ico",
    .controls = {
        {.name = "HeaderId", .kind = Kind::String, .x = 8, .y = 4, .w = 8, .h = 10, .picture = "s1", .use = "SUB:CATID"},
        {.name = "HeaderIdea", .kind = Kind::String, .x = 18, .y = 4, .w = 30, .h = 10, .picture = "n06B"},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 16, .w = 332, .h = 178},
        {.name = "DetailsTab", .kind = Kind::Tab, .text = "Details ", .parent = "Sheet"},
        {.name = "NumberPrompt", .kind = Kind::Prompt, .text = "Number:", .x = 10, .y = 35, .w = 34, .h = 10, .parent = "DetailsTab"},
        {.name = "Number", .kind = Kind::String, .x = 46, .y = 35, .w = 30, .h = 10, .parent = "DetailsTab", .picture = "n06",
         .use = "SUB:SIDENUM"},
        {.name = "HeaderPrompt", .kind = Kind::Prompt, .text = "Header:", .x = 10, .y = 49, .w = 34, .h = 10, .parent = "DetailsTab"},
        {.name = "Header", .kind = Kind::Entry, .x = 46, .y = 48, .w = 282, .h = 11, .parent = "DetailsTab", .picture = "s127",
         .use = "SUB:SUBHEAD"},
        {.name = "CreatedPrompt", .kind = Kind::Prompt, .text = "Created:", .x = 10, .y = 63, .w = 34, .h = 10, .parent = "DetailsTab"},
        {.name = "CDate", .kind = Kind::String, .x = 46, .y = 63, .w = 44, .h = 10, .parent = "DetailsTab", .picture = "D06-B",
         .use = "SUB:CDATE"},
        {.name = "CAt", .kind = Kind::Prompt, .text = "at", .x = 92, .y = 63, .w = 10, .h = 10, .parent = "DetailsTab"},
        {.name = "CTime", .kind = Kind::String, .x = 104, .y = 63, .w = 26, .h = 10, .parent = "DetailsTab", .picture = "T01.B",
         .use = "SUB:CTIME"},
        {.name = "ModifiedPrompt", .kind = Kind::Prompt, .text = "Modified:", .x = 160, .y = 63, .w = 34, .h = 10,
         .parent = "DetailsTab"},
        {.name = "MDate", .kind = Kind::String, .x = 196, .y = 63, .w = 44, .h = 10, .parent = "DetailsTab", .picture = "D06-B",
         .use = "SUB:MDATE"},
        {.name = "MAt", .kind = Kind::Prompt, .text = "at", .x = 242, .y = 63, .w = 10, .h = 10, .parent = "DetailsTab"},
        {.name = "MTime", .kind = Kind::String, .x = 254, .y = 63, .w = 26, .h = 10, .parent = "DetailsTab", .picture = "T01.B",
         .use = "SUB:MTIME"},
        {.name = "Memo", .kind = Kind::Text, .x = 10, .y = 78, .w = 318, .h = 110, .parent = "DetailsTab", .use = "SUB:MEMO",
         .background = 0xFFFF80},
        {.name = "DocumentsTab", .kind = Kind::Tab, .text = "Documents", .parent = "Sheet"},
        {.name = "DocList", .kind = Kind::List, .x = 10, .y = 34, .w = 270, .h = 154, .parent = "DocumentsTab"},
        {.name = "DocOpen", .kind = Kind::Button, .text = "&Open", .x = 284, .y = 34, .w = 46, .h = 14, .parent = "DocumentsTab"},
        {.name = "DocInsert", .kind = Kind::Button, .text = "&Insert", .x = 284, .y = 54, .w = 46, .h = 14, .parent = "DocumentsTab"},
        {.name = "DocChange", .kind = Kind::Button, .text = "&Change", .x = 284, .y = 71, .w = 46, .h = 14, .parent = "DocumentsTab"},
        {.name = "DocDelete", .kind = Kind::Button, .text = "&Delete", .x = 284, .y = 88, .w = 46, .h = 14, .parent = "DocumentsTab"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 180, .y = 200, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 233, .y = 200, .w = 50, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 286, .y = 200, .w = 50, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {{InsertRecord, "Adding Details to an Idea"},
                                                   {ChangeRecord, "Changing Details of an Idea"},
                                                   {DeleteRecord, "Deleting Details of an Idea"}};

class UpdateVenISub : public RecordForm {
public:
    UpdateVenISub() : RecordForm(QStringLiteral("UpdateVenISub"), kUpdateVenISubDef, VenISub)
    {
        FIRSTFIELD = QStringLiteral("Header");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!openFilesOrCancel({&VenIdea, &VenDoc, &VenKWrd, &VenPrg}))
            return false;
        if (!RecordForm::setUp())
            return false;
        Record& r = primary().rec();
        if (REQUEST != InsertRecord) {
            const QDateTime now = clock().now();
            r.set(SUB::MDATE, int64_t(dayNumber(now)));
            r.set(SUB::MTIME, int64_t(timeValue(now)));
        }
        r.set(SUB::CATID, "I");
        catNum_ = r.num(SUB::SIDENUM);
        GCatId = QStringLiteral("I");
        GCatNum = uint32_t(catNum_);
        idea_ = file(VenIdea).rec().num(IDE::NUMBER);
        window().bind(QStringLiteral("HeaderIdea"), bindTo(idea_));
        before_ = documentsOf(QStringLiteral("I"), catNum_);

        auto list = std::make_unique<BrowseList>(
            *this, VenDoc,
            std::vector<BrowseColumn>{BrowseColumn::ofField(DOC::DOCNAME, "Name", 70, "s127"),
                                      BrowseColumn::ofField(DOC::DESCRIPTION, "Description", 70, "s127"),
                                      BrowseColumn::ofField(DOC::DOCPATH, "Path", 60, "s127"),
                                      BrowseColumn::ofField(DOC::CREATEDDATE, "Created", 40, "D06-B"),
                                      BrowseColumn::ofField(DOC::CREATEDTIME, "Time", 22, "T01.B"),
                                      BrowseColumn::ofField(DOC::ACCESSEDDATE, "Accessed", 40, "D06-B"),
                                      BrowseColumn::ofField(DOC::ACCESSEDTIME, "Time", 22, "T01.B"),
                                      BrowseColumn::ofField(DOC::ASSOCIATEDPROGRAM, "Open with", 40, "s32"),
                                      BrowseColumn::ofField(DOC::CATNUM, "Cat#", 28, "n06"),
                                      BrowseColumn::ofField(DOC::CATID, "Cat Id", 16, "s1")},
            QStringLiteral("DocList"));
        list->addOrder(DOC::DOC_KEY);
        const int64_t own = catNum_;
        list->setFilter([own](const Record& d) {
            return d.num(DOC::CATNUM) == own && d.str(DOC::CATID).trimmed().compare(u"I", Qt::CaseInsensitive) == 0;
        });
        list->setForm([] { return makeUpdateVenDoc(); });
        list->setButtons({.insert = "DocInsert", .change = "DocChange", .remove = "DocDelete", .select = {}, .copy = {}});
        documents_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void primeFields(bool) override
    {
        Record& r = primary().rec();
        const QDateTime now = clock().now();
        r.set(SUB::CDATE, int64_t(dayNumber(now)));
        r.set(SUB::CTIME, int64_t(timeValue(now)));
        r.set(SUB::IDENUM, file(VenIdea).rec().num(IDE::NUMBER));
    }

    void windowEvent(Event e) override
    {
        RecordForm::windowEvent(e);
        if (e != Event::OpenWindow)
            return;
        showOpen();
        // An old document path becomes a document record, unless one of the
        // detail's documents holds it already.
        if (!oldPath().isEmpty() && !documentHoldsOldPath()) {
            QPointer<UpdateVenISub> self(this);
            QTimer::singleShot(0, this, [self] {
                if (self && self->isOpen())
                    self->raiseFieldEvent(QStringLiteral("DocInsert"), FieldEvent::Accepted);
            });
        }
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == u"DocList")
            showOpen();
    }

    void accepted(const QString& c) override
    {
        Record& r = primary().rec();
        if (c == u"DocInsert" || c == u"DocChange" || c == u"DocDelete") {
            GCatId = QStringLiteral("I");
            GCatNum = uint32_t(catNum_);
            if (c == u"DocInsert") {
                GDocPath = oldPath();
                GDocDescription = r.str(SUB::SUBHEAD);
            }
        } else if (c == u"DocOpen") {
            if (const Record* d = documents_->highlighted()) {
                const Record doc = *d;
                OpenDocument(doc, &window());
            }
            return;
        } else if (c == OKCONTROL) {
            // The old path is dropped once a document of the detail holds it.
            if (!oldPath().isEmpty() && documentHoldsOldPath()) {
                r.set(SUB::DOCUMENT, QString());
                window().display();
            }
        }
        RecordForm::accepted(c);
    }

    void tearDown() override
    {
        if (REQUEST == InsertRecord && RESPONSE != RequestCompleted)
            removeDocumentsOf(QStringLiteral("I"), catNum_, before_);
        RecordForm::tearDown();
    }

private:
    QString oldPath() { return primary().rec().str(SUB::DOCUMENT).trimmed(); }

    bool documentHoldsOldPath()
    {
        const QString path = oldPath();
        Context ctx;
        KeyedFile& d = ctx.file(VenDoc);
        if (!d.open())
            return false;
        for (int64_t n : documentsOf(QStringLiteral("I"), catNum_)) {
            d.rec().clear();
            d.rec().set(DOC::DOCNUM, n);
            if (d.get(DOC::NUM_KEY) && documentReference(d.rec()) == path)
                return true;
        }
        return false;
    }

    void showOpen()
    {
        const Record* d = documents_ ? documents_->highlighted() : nullptr;
        control("DocOpen").show(d && !d->str(DOC::DOCPATH).trimmed().isEmpty());
    }

    int64_t catNum_ = 0;
    int64_t idea_ = 0;
    std::set<int64_t> before_;
    BrowseList* documents_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeUpdateVenISub(const QString&)
{
    return std::make_unique<UpdateVenISub>();
}

} // namespace ven
