// The category form: the category's name, its documents filed through the
// document form under ("C", the category's number), Open, and OK's checks.
// A cancelled new category takes the documents filed meanwhile with it.
#include "registers/DocCatFr.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"
#include "core/OpenDocument.h"
#include "registers/OwnerDocuments.h"
#include "registers/UpdateVenDoc.h"

namespace ven {
namespace {

const WindowDef kDocCatFrDef{
    .title = "Update Document Category",
    .w = 360,
    .h = 200,
    .icon = "Files3.ico",
    .controls = {
        {.name = "HeaderId", .kind = Kind::String, .x = 8, .y = 4, .w = 8, .h = 10, .picture = "s1"},
        {.name = "HeaderCat", .kind = Kind::String, .x = 18, .y = 4, .w = 30, .h = 10, .picture = "n06"},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 16, .w = 352, .h = 160},
        {.name = "DocumentsTab", .kind = Kind::Tab, .text = "Documents", .parent = "Sheet"},
        {.name = "CategoryPrompt", .kind = Kind::Prompt, .text = "Category:", .x = 10, .y = 35, .w = 40, .h = 10,
         .parent = "DocumentsTab"},
        {.name = "Category", .kind = Kind::Entry, .x = 52, .y = 34, .w = 296, .h = 11, .parent = "DocumentsTab",
         .picture = "s127", .use = "CAT:CATNAME"},
        {.name = "DocList", .kind = Kind::List, .x = 10, .y = 50, .w = 296, .h = 120, .parent = "DocumentsTab"},
        {.name = "DocInsert", .kind = Kind::Button, .text = "&Insert", .x = 310, .y = 50, .w = 40, .h = 14, .parent = "DocumentsTab"},
        {.name = "DocChange", .kind = Kind::Button, .text = "&Change", .x = 310, .y = 67, .w = 40, .h = 14, .parent = "DocumentsTab"},
        {.name = "DocDelete", .kind = Kind::Button, .text = "&Delete", .x = 310, .y = 84, .w = 40, .h = 14, .parent = "DocumentsTab"},
        {.name = "Open", .kind = Kind::Button, .text = "&Open", .x = 4, .y = 181, .w = 50, .h = 14},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 200, .y = 181, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 253, .y = 181, .w = 50, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 306, .y = 181, .w = 50, .h = 14, .flags = HelpButton},
    }};

// The columns of an owner's documents list.
std::vector<BrowseColumn> documentColumns()
{
    return {
        BrowseColumn::ofField(DOC::DOCNAME, "Document", 80, "s127"),
        BrowseColumn::ofField(DOC::DESCRIPTION, "Description", 80, "s127"),
        BrowseColumn::ofField(DOC::DOCPATH, "Path", 60, "s127"),
        BrowseColumn::ofField(DOC::CREATEDDATE, "Created", 40, "D06-B"),
        BrowseColumn::ofField(DOC::CREATEDTIME, "Time", 22, "T01.B"),
        BrowseColumn::ofField(DOC::ACCESSEDDATE, "Accessed", 40, "D06-B"),
        BrowseColumn::ofField(DOC::ACCESSEDTIME, "Time", 22, "T01.B"),
        BrowseColumn::ofField(DOC::CATID, "C", 8, "s1"),
        BrowseColumn::ofField(DOC::CATNUM, "Cat", 16, "n03B"),
        BrowseColumn::ofField(DOC::DOCNUM, "Doc Num", 30, "n07B"),
    };
}

class DocCatFr : public RecordForm {
public:
    DocCatFr() : RecordForm(QStringLiteral("DocCatFr"), kDocCatFrDef, VenDCat) { FIRSTFIELD = QStringLiteral("Category"); }

protected:
    bool setUp() override
    {
        if (!openFile(VenDoc) || !openFile(VenKWrd) || !openFile(VenPrg)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        if (!RecordForm::setUp())
            return false;
        if (REQUEST == InsertRecord) {
            primary().keepOwnNumber();
            if (!reserveOwnNumber()) {
                RESPONSE = RequestCancelled;
                return false;
            }
        }
        Record& r = primary().rec();
        catNum_ = r.num(CAT::CATNUM);
        GCatNum = uint32_t(catNum_);
        catId_ = QStringLiteral("C");
        if (REQUEST == InsertRecord)
            window().setTitle(QStringLiteral("Adding:  (Uusi)"));
        else
            window().setTitle((REQUEST == ChangeRecord ? QStringLiteral("Changing:  (") : QStringLiteral("Deleting:  ("))
                              + r.str(CAT::CATNAME).trimmed() + u')');
        window().bind(QStringLiteral("HeaderId"), bindTo(catId_));
        window().bind(QStringLiteral("HeaderCat"), bindTo(catNum_));
        before_ = documentsOf(catId_, catNum_);

        // The list keeps its own owner pair: another window changing the
        // shared one does not make it show another owner's documents.
        auto list = std::make_unique<BrowseList>(*this, VenDoc, documentColumns(), QStringLiteral("DocList"));
        list->addOrder(DOC::CAT_KEY);
        list->setRange(DOC::CATID, Value(catId_));
        list->setRange(DOC::CATNUM, Value(catNum_));
        list->setForm([] { return makeUpdateVenDoc(); });
        list->setButtons({.insert = "DocInsert", .change = "DocChange", .remove = "DocDelete", .select = {}, .copy = {}});
        documents_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void primeFields(bool) override
    {
        primary().rec().set(CAT::CATID, GCatId.isEmpty() ? QStringLiteral("C") : GCatId);
        primary().rec().set(CAT::CATNUM, int64_t(GCatNum));
    }

    void tearDown() override
    {
        if (REQUEST == InsertRecord && RESPONSE != RequestCompleted)
            removeFiledDocuments();
        RecordForm::tearDown();
    }

    void accepted(const QString& c) override
    {
        // The document form files under this category.
        if (c == u"DocInsert" || c == u"DocChange" || c == u"DocDelete") {
            GCatId = catId_;
            GCatNum = uint32_t(catNum_);
            if (c == u"DocInsert")
                GDocPath.clear(), GDocDescription.clear();
        } else if (c == u"Open") {
            if (!documents_->highlighted())
                return;
            const Record doc = *documents_->highlighted();
            OpenDocument(doc, &window(), ProgramReadReport::WithOpen);
            // The category is saved as OK saves it, so that a new
            // category is not lost with its documents.
            return ok();
        } else if (c == OKCONTROL) {
            return ok();
        }
        RecordForm::accepted(c);
    }

private:
    // The new category's number, counted by the list, is reserved at once:
    // the documents filed under it while the form is open are this
    // category's alone, whatever another copy of the program adds
    // meanwhile.
    bool reserveOwnNumber()
    {
        const int64_t from = primary().rec().num(CAT::CATNUM);
        if (from == 0)
            return true;  // OK refuses it
        return errors().retry([&] { return reserveNumber(primary(), CAT::CATNUM, CAT::NUM_KEY, from); });
    }

    void ok()
    {
        window().update(QStringLiteral("Category"));
        const Record& r = primary().rec();
        if (r.str(CAT::CATID).trimmed().isEmpty() || r.num(CAT::CATNUM) == 0)
            return;
        if (r.str(CAT::CATNAME).trimmed().isEmpty()) {
            control("Category").select();
            return;
        }
        complete();
    }

    // The documents (and their keywords) filed under a new category that
    // was not saved.
    void removeFiledDocuments() { removeDocumentsOf(catId_, catNum_, before_); }

    QString catId_;
    int64_t catNum_ = 0;
    std::set<int64_t> before_;
    BrowseList* documents_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeDocCatFr(const QString&)
{
    return std::make_unique<DocCatFr>();
}

} // namespace ven
