// The document form: the owner and number of a new document, the path split
// into folder and name (a web address kept as typed), the automatic and the
// typed keywords, the opening program chosen from the program register, and
// OK's checks before the document is stored.
#include "registers/UpdateVenDoc.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialogs.h"
#include "platform/Ini.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"
#include "platform/SettingsFile.h"
#include "registers/KeywordFr.h"
#include "core/OpenDocument.h"
#include "registers/ProgramsBr.h"

#include <QDir>
#include <QPointer>
#include <QRegularExpression>

#include <set>

namespace ven {
namespace {

const WindowDef kUpdateVenDocDef{
    .title = "Update Documents",
    .w = 300,
    .h = 206,
    .controls = {
        {.name = "HeaderId", .kind = Kind::String, .x = 8, .y = 4, .w = 8, .h = 10, .picture = "s1", .use = "DOC:CATID"},
        {.name = "HeaderCat", .kind = Kind::String, .x = 18, .y = 4, .w = 30, .h = 10, .picture = "n06", .use = "DOC:CATNUM"},
        {.name = "HeaderDoc", .kind = Kind::String, .x = 50, .y = 4, .w = 36, .h = 10, .picture = "n07"},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 16, .w = 292, .h = 166},
        {.name = "DocumentTab", .kind = Kind::Tab, .text = "Document:", .parent = "Sheet"},
        {.name = "PathPrompt", .kind = Kind::Prompt, .text = "Path:", .x = 10, .y = 34, .w = 44, .h = 10, .parent = "DocumentTab"},
        {.name = "Path", .kind = Kind::Entry, .x = 56, .y = 33, .w = 212, .h = 11, .parent = "DocumentTab", .picture = "s127",
         .use = "DOC:DOCPATH"},
        {.name = "PathLookup", .kind = Kind::Button, .text = "...", .x = 272, .y = 33, .w = 16, .h = 11, .parent = "DocumentTab",
         .tip = "Select Document"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 48, .w = 44, .h = 10, .parent = "DocumentTab"},
        {.name = "Name", .kind = Kind::Entry, .x = 56, .y = 47, .w = 212, .h = 11, .parent = "DocumentTab", .picture = "s127",
         .use = "DOC:DOCNAME"},
        {.name = "DescriptionPrompt", .kind = Kind::Prompt, .text = "Description:", .x = 10, .y = 62, .w = 44, .h = 10,
         .parent = "DocumentTab"},
        {.name = "Description", .kind = Kind::Entry, .x = 56, .y = 61, .w = 212, .h = 11, .parent = "DocumentTab",
         .picture = "s127", .use = "DOC:DESCRIPTION"},
        {.name = "ProgramPrompt", .kind = Kind::Prompt, .text = "Open with:", .x = 10, .y = 76, .w = 44, .h = 10,
         .parent = "DocumentTab"},
        {.name = "Program", .kind = Kind::Entry, .x = 56, .y = 75, .w = 100, .h = 11, .parent = "DocumentTab", .picture = "s32",
         .use = "DOC:ASSOCIATEDPROGRAM"},
        {.name = "ProgramLookup", .kind = Kind::Button, .text = "...", .x = 160, .y = 75, .w = 16, .h = 11,
         .parent = "DocumentTab", .tip = "Select Program"},
        {.name = "CreatedPrompt", .kind = Kind::Prompt, .text = "Created:", .x = 10, .y = 92, .w = 44, .h = 10, .parent = "DocumentTab"},
        {.name = "CreatedDate", .kind = Kind::String, .x = 56, .y = 92, .w = 44, .h = 10, .parent = "DocumentTab",
         .picture = "D06-B", .use = "DOC:CREATEDDATE"},
        {.name = "CreatedAt", .kind = Kind::Prompt, .text = "at", .x = 102, .y = 92, .w = 10, .h = 10, .parent = "DocumentTab"},
        {.name = "CreatedTime", .kind = Kind::String, .x = 114, .y = 92, .w = 26, .h = 10, .parent = "DocumentTab",
         .picture = "T01.B", .use = "DOC:CREATEDTIME"},
        {.name = "AccessedPrompt", .kind = Kind::Prompt, .text = "Last accessed:", .x = 150, .y = 92, .w = 52, .h = 10,
         .parent = "DocumentTab"},
        {.name = "AccessedDate", .kind = Kind::String, .x = 204, .y = 92, .w = 44, .h = 10, .parent = "DocumentTab",
         .picture = "D06-B", .use = "DOC:ACCESSEDDATE"},
        {.name = "AccessedAt", .kind = Kind::Prompt, .text = "at", .x = 250, .y = 92, .w = 10, .h = 10, .parent = "DocumentTab"},
        {.name = "AccessedTime", .kind = Kind::String, .x = 262, .y = 92, .w = 26, .h = 10, .parent = "DocumentTab",
         .picture = "T01.B", .use = "DOC:ACCESSEDTIME"},
        {.name = "Keywords", .kind = Kind::List, .x = 10, .y = 106, .w = 180, .h = 70, .parent = "DocumentTab"},
        {.name = "KwCount", .kind = Kind::String, .x = 194, .y = 106, .w = 20, .h = 10, .parent = "DocumentTab", .picture = "n3",
         .color = 0x808080},
        {.name = "KwInsert", .kind = Kind::Button, .text = "&Insert", .x = 230, .y = 120, .w = 58, .h = 14, .parent = "DocumentTab"},
        {.name = "KwChange", .kind = Kind::Button, .text = "&Change", .x = 230, .y = 137, .w = 58, .h = 14, .parent = "DocumentTab"},
        {.name = "KwDelete", .kind = Kind::Button, .text = "&Delete", .x = 230, .y = 154, .w = 58, .h = 14, .parent = "DocumentTab"},
        {.name = "Open", .kind = Kind::Button, .text = "&Open", .x = 4, .y = 187, .w = 50, .h = 14},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 140, .y = 187, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 193, .y = 187, .w = 50, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 246, .y = 187, .w = 50, .h = 14, .flags = HelpButton},
    }};

bool isRoot(const QString& folder)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]$"));
    return folder == u"/" || folder == u"\\" || drive.match(folder).hasMatch();
}

QString clipEnd(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

class UpdateVenDoc : public RecordForm {
public:
    UpdateVenDoc() : RecordForm(QStringLiteral("UpdateVenDoc"), kUpdateVenDocDef, VenDoc) { FIRSTFIELD = QStringLiteral("Path"); }

protected:
    bool setUp() override;
    void primeFields(bool copy) override;
    void tearDown() override;
    void fieldEvent(const QString& control, FieldEvent e) override;
    void accepted(const QString& control) override;

private:
    Record& doc() { return primary().rec(); }
    void split();
    void acceptPath();
    void choosePath();
    void makeKeywords();
    void countKeywords();
    void acceptProgram();
    void lookUpProgram(bool fromButton);
    void keywordButton(uint8_t request);
    void takeEntries();
    void ok();
    void removeOwnKeywords();

    int64_t docNum_ = 0;       // the document number shown at the top, written back at OK
    int64_t kwCount_ = 0;      // the document's keywords as last counted
    bool splitPending_ = false;
    bool web_ = false;
    bool numberReserved_ = true;  // false: a new document's number could not be reserved
    BrowseList* keywords_ = nullptr;
};

bool UpdateVenDoc::setUp()
{
    if (!openFilesOrCancel({&VenKWrd, &VenPrg, &VenDCat}))
        return false;
    if (!RecordForm::setUp())
        return false;
    if (!numberReserved_) {
        RESPONSE = RequestCancelled;
        return false;
    }
    Record& r = doc();
    const QDateTime now = clock().now();
    if (REQUEST != InsertRecord) {
        r.set(DOC::ACCESSEDDATE, int64_t(dayNumber(now)));
        r.set(DOC::ACCESSEDTIME, int64_t(timeValue(now)));
        docNum_ = r.num(DOC::DOCNUM);
    }
    window().bind(QStringLiteral("HeaderDoc"), bindTo(docNum_));
    window().bind(QStringLiteral("KwCount"), bindTo(kwCount_));
    if (REQUEST == InsertRecord)
        window().setTitle(QStringLiteral("Adding:  (Uusi)"));
    else
        window().setTitle((REQUEST == ChangeRecord ? QStringLiteral("Changing:  (") : QStringLiteral("Deleting:  ("))
                          + file(VenDCat).rec().str(CAT::CATNAME).trimmed() + u')');
    if (QWidget* name = control("Name").widget())
        name->setFocusPolicy(Qt::ClickFocus);  // skipped by the Tab key

    auto list = std::make_unique<BrowseList>(
        *this, VenKWrd,
        std::vector<BrowseColumn>{BrowseColumn::ofField(WRD::KEYWORD, "Keywords", 90, "s20"),
                                  BrowseColumn::ofField(WRD::DOCNUM, "DocNum", 40, "n07")},
        QStringLiteral("Keywords"));
    list->addOrder(WRD::DOC_KEY);
    list->setRange(WRD::DOCNUM, Value(docNum_));
    list->setForm([] { return makeKeywordFr(); });
    // The keyword buttons are handled here: Insert prepares the document's
    // number and Delete keeps the last keyword.
    list->setButtons({.insert = {}, .change = QStringLiteral("KwChange"), .remove = QStringLiteral("KwDelete"), .select = {}, .copy = {}});
    keywords_ = list.get();
    addPart(std::move(list));
    countKeywords();
    return true;
}

void UpdateVenDoc::primeFields(bool /*copy*/)
{
    Record& r = doc();
    // The record count plus one, raised while a document holds it, is
    // reserved at once: the keywords filed under it while the form is open
    // are this document's alone, whatever other forms and other copies of
    // the program on the folder add meanwhile.
    numberReserved_ = errors().retry([this] {
        return reserveNumber(primary(), DOC::DOCNUM, DOC::NUM_KEY, countPlusOne(primary(), DOC::DOCNUM, DOC::NUM_KEY));
    });
    docNum_ = numberReserved_ ? r.num(DOC::DOCNUM) : 0;
    r.set(DOC::CATID, GCatId);
    r.set(DOC::CATNUM, int64_t(GCatNum));
    const QDateTime now = clock().now();
    r.set(DOC::CREATEDDATE, int64_t(dayNumber(now)));
    r.set(DOC::CREATEDTIME, int64_t(timeValue(now)));
    r.set(DOC::DOCPATH, GDocPath.trimmed().isEmpty() ? joinPath(Document_Path.trimmed(), {}) : GDocPath);
    r.set(DOC::DESCRIPTION, GDocDescription);
    splitPending_ = true;
}

void UpdateVenDoc::tearDown()
{
    if (REQUEST == InsertRecord && RESPONSE != RequestCompleted)
        removeOwnKeywords();
    RecordForm::tearDown();
}

// A cancelled insert takes its keywords with it, so that the next document
// given this number does not adopt them.
void UpdateVenDoc::removeOwnKeywords()
{
    if (docNum_ == 0)
        return;
    Context ctx;
    KeyedFile& d = ctx.file(VenDoc);
    KeyedFile& w = ctx.file(VenKWrd);
    if (!d.open() || !w.open())
        return;
    d.rec().clear();
    d.rec().set(DOC::DOCNUM, docNum_);
    // The number is free, or held by the form's own reserved record.
    if (!d.get(DOC::NUM_KEY) || d.currentId() == primary().pendingAutoId()) {
        w.rec().clear();
        w.rec().set(WRD::DOCNUM, docNum_);
        while (w.get(WRD::DOC_KEY))
            if (Status st = w.remove(); !st) {
                errors().show(st);
                break;
            }
    }
}

void UpdateVenDoc::countKeywords()
{
    Context ctx;
    KeyedFile& w = ctx.file(VenKWrd);
    kwCount_ = 0;
    if (w.open()) {
        w.rec().clear();
        w.rec().set(WRD::DOCNUM, docNum_);
        w.setFromBuffer(WRD::DOC_KEY);
        while (w.next() && w.rec().num(WRD::DOCNUM) == docNum_)
            ++kwCount_;
    }
    window().display(QStringLiteral("KwCount"));
}

void UpdateVenDoc::fieldEvent(const QString& control, FieldEvent e)
{
    if (splitPending_ && (control == u"Path" || control == u"Name" || control == u"Description"))
        split();
    RecordForm::fieldEvent(control, e);
}

void UpdateVenDoc::split()
{
    Record& r = doc();
    const DocumentPathSplit s = SplitDocumentPath(r.str(DOC::DOCPATH), r.str(DOC::DOCNAME));
    web_ = s.web;
    r.set(DOC::DOCPATH, s.path);
    r.set(DOC::DOCNAME, s.name);
    if (!s.documentFolder.isEmpty())
        Document_Path = s.documentFolder;
    splitPending_ = false;
    window().display();
}

// The path is split again whenever it is accepted: a path typed beside an
// old name replaces it, a folder alone keeps it.
void UpdateVenDoc::acceptPath()
{
    splitPending_ = true;
    split();
    control("PathLookup").show(!web_);
}

void UpdateVenDoc::choosePath()
{
    const QString saved = QDir::currentPath();
    const QString chosen = chooseFile(window().outer(), QStringLiteral("Select Document"), Document_Path.trimmed(),
                                      QStringLiteral("All Files (*)"));
    QDir::setCurrent(saved);
    doc().set(DOC::DOCPATH, QDir::toNativeSeparators(chosen));
    doc().set(DOC::DOCNAME, QString());
    window().display();
    splitPending_ = true;
}

void UpdateVenDoc::makeKeywords()
{
    countKeywords();
    if (kwCount_ >= (REQUEST == InsertRecord ? 2 : 1) || docNum_ == 0)
        return;
    Context ctx;
    KeyedFile& w = ctx.file(VenKWrd);
    if (Status st = w.open(); !st) {
        errors().show(st);
        return;
    }
    for (const QString& word : automaticKeywords(doc().str(DOC::DESCRIPTION))) {
        w.rec().clear();
        w.rec().set(WRD::DOCNUM, docNum_);
        w.rec().set(WRD::KEYWORD, word);
        if (w.get(WRD::UNIQUE_KEY))
            continue;  // the document holds it already, in some letter case
        w.rec().clear();
        w.rec().set(WRD::DOCNUM, docNum_);
        w.rec().set(WRD::KEYWORD, word);
        if (Status st = w.add(); !st) {
            errors().show(st);
            break;
        }
    }
    keywords_->refresh();
    countKeywords();
}

void UpdateVenDoc::acceptProgram()
{
    const QString name = doc().str(DOC::ASSOCIATEDPROGRAM).trimmed();
    if (name.isEmpty())
        return;
    Context ctx;
    KeyedFile& prg = ctx.file(VenPrg);
    if (prg.open()) {
        prg.rec().clear();
        prg.rec().set(PRG::NAME, name);
        if (prg.get(PRG::PRG_KEY))
            return;
    }
    lookUpProgram(false);
}

void UpdateVenDoc::lookUpProgram(bool fromButton)
{
    KeyedFile& prg = file(VenPrg);
    prg.rec().clear();
    prg.rec().set(PRG::NAME, doc().str(DOC::ASSOCIATEDPROGRAM));
    QPointer<UpdateVenDoc> self(this);
    call(makeProgramsBr(), SelectRecord, [self, fromButton](uint8_t response) {
        if (!self || !self->isOpen())
            return;
        if (response == RequestCompleted)
            self->doc().set(DOC::ASSOCIATEDPROGRAM, self->file(VenPrg).rec().str(PRG::NAME));
        else if (!fromButton)
            self->control("Program").select();
        self->window().display();
    });
}

void UpdateVenDoc::keywordButton(uint8_t request)
{
    if (request == DeleteRecord && kwCount_ <= 1) {
        messageBox(QStringLiteral("At least one Keyword is mandatory"), QStringLiteral("Warning!"), Icon::Stop);
        return;
    }
    if (request == InsertRecord) {
        KeyedFile& w = file(VenKWrd);
        if (Status st = w.primeRecord(); !st) {
            errors().show(st);
            return;
        }
        w.rec().set(WRD::DOCNUM, docNum_);
        markInsertPrepared(w, false);
    } else if (!keywords_->loadHighlighted()) {
        return;
    }
    QPointer<UpdateVenDoc> self(this);
    keywords_->callForm(request, [self](uint8_t) {
        if (self && self->isOpen())
            self->countKeywords();
    });
}

// The typed text of the entries, in case the last one was not accepted.
void UpdateVenDoc::takeEntries()
{
    for (const char* c : {"Path", "Name", "Description", "Program"})
        window().update(QString::fromUtf8(c));
}

void UpdateVenDoc::accepted(const QString& control)
{
    if (control == u"Path")
        return acceptPath();
    if (control == u"PathLookup")
        return choosePath();
    if (control == u"Description")
        return makeKeywords();
    if (control == u"Program")
        return acceptProgram();
    if (control == u"ProgramLookup")
        return lookUpProgram(true);
    if (control == u"KwInsert")
        return keywordButton(InsertRecord);
    if (control == u"KwChange")
        return keywordButton(ChangeRecord);
    if (control == u"KwDelete")
        return keywordButton(DeleteRecord);
    if (control == u"Open") {
        takeEntries();
        if (splitPending_)
            split();
        OpenDocument(doc(), &window());
        return ok();
    }
    if (control == OKCONTROL)
        return ok();
    RecordForm::accepted(control);
}

void UpdateVenDoc::ok()
{
    takeEntries();
    if (splitPending_)
        split();
    Record& r = doc();
    r.set(DOC::DOCNUM, docNum_);
    if (r.str(DOC::CATID).trimmed().isEmpty()) {
        messageBox("CatId = " + r.str(DOC::CATID));
        return;
    }
    if (r.num(DOC::CATNUM) == 0) {
        messageBox("CatNum = " + QString::number(r.num(DOC::CATNUM)));
        return;
    }
    if (r.num(DOC::DOCNUM) == 0) {
        messageBox("DocNum = " + QString::number(r.num(DOC::DOCNUM)));
        return;
    }
    for (const auto& [field, c] : {std::pair{DOC::DOCNAME, "Name"}, std::pair{DOC::DOCPATH, "Path"},
                                   std::pair{DOC::DESCRIPTION, "Description"}})
        if (r.str(field).trimmed().isEmpty()) {
            control(QString::fromUtf8(c)).select();
            return;
        }
    if (REQUEST != DeleteRecord)
        makeKeywords();  // the description's final check
    const QDateTime now = clock().now();
    r.set(DOC::ACCESSEDDATE, int64_t(dayNumber(now)));
    r.set(DOC::ACCESSEDTIME, int64_t(timeValue(now)));
    if (!web_ && !writeIni(joinPath(Program_Path.trimmed(), QStringLiteral("Vendrolix.ini")), QStringLiteral("Paths"),
                           QStringLiteral("Document_Path"), Document_Path))
        messageBox("The document folder could not be written to the settings file " + SettingsFile::programFile() + '.',
                   QStringLiteral("Warning!"), Icon::Exclamation);
    window().display();
    complete();
}

} // namespace

DocumentPathSplit SplitDocumentPath(const QString& path, const QString& name)
{
    DocumentPathSplit s;
    const QString p = clipEnd(path);
    for (const char* scheme : {"http://", "https://"}) {
        const QString sc = QString::fromUtf8(scheme);
        if (p.startsWith(sc, Qt::CaseInsensitive)) {
            s.web = true;
            s.path = sc;
            const QString address = p.mid(sc.size()).trimmed();
            s.name = address.isEmpty() ? name : address;
            return s;
        }
    }
    const QString folder = SplitPath(PathFolder, 0, p);
    const QString rest = p.mid(folder.size());
    s.path = folder;
    s.name = rest.trimmed().isEmpty() ? name : rest;
    if (!folder.isEmpty())
        s.documentFolder = folder.size() > 1 && !isRoot(folder) ? folder.left(folder.size() - 1) : folder;
    return s;
}

QStringList automaticKeywords(const QString& description)
{
    QStringList words;
    for (const QString& w : description.split(u' ', Qt::SkipEmptyParts)) {
        if (w.size() < 2)
            continue;
        const QString k = w.left(20);
        if (!words.contains(k, Qt::CaseInsensitive))
            words << k;
    }
    return words;
}

std::unique_ptr<WindowController> makeUpdateVenDoc(const QString&)
{
    return std::make_unique<UpdateVenDoc>();
}

} // namespace ven
