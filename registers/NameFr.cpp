// The name form. What the user types is normalised by the name's own
// country (read by the Country entry's name, never a country left in a
// buffer by an earlier lookup); with no country known, entries stay as typed.
#include "registers/NameFr.h"

#include "core/OpenDocument.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"
#include "platform/SettingsFile.h"
#include "registers/NameRules.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>

namespace ven {
namespace {

// Widths of the stored texts (characters, without the terminating zero).
constexpr int kTelWidth = 29, kZipWidth = 19, kMailWidth = 80;

const WindowDef kNameFrDef{
    .title = "Names Update ",
    .w = 358,
    .h = 159,
    .icon = "2People.ico",
    .controls = {
        {.name = "RecNo", .kind = Kind::String, .x = 318, .y = 4, .w = 34, .h = 10, .picture = "n06", .use = "NAM:RECNO",
         .flags = AlignRight},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 350, .h = 132},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "MemoTab", .kind = Kind::Tab, .text = "Memo", .parent = "Sheet"},
        {.name = "DocsTab", .kind = Kind::Tab, .text = "Documents", .parent = "Sheet"},
        {.name = "MemoImage", .kind = Kind::Image, .x = 326, .y = 22, .w = 16, .h = 16, .parent = "General", .icon = "Note.ico"},
        {.name = "OrgPrompt", .kind = Kind::Prompt, .text = "Organization:", .x = 10, .y = 22, .w = 50, .h = 10, .parent = "General"},
        {.name = "Org", .kind = Kind::Entry, .x = 62, .y = 22, .w = 160, .h = 10, .parent = "General", .picture = "s40",
         .use = "NAM:ORG", .flags = Capitalize},
        {.name = "FirstPrompt", .kind = Kind::Prompt, .text = "Name: First:", .x = 10, .y = 35, .w = 50, .h = 10, .parent = "General"},
        {.name = "First", .kind = Kind::Entry, .x = 62, .y = 35, .w = 70, .h = 10, .parent = "General", .picture = "s20",
         .use = "NAM:FIRSTNAME", .flags = Capitalize},
        {.name = "LastPrompt", .kind = Kind::Prompt, .text = "Last:", .x = 136, .y = 35, .w = 18, .h = 10, .parent = "General"},
        {.name = "Last", .kind = Kind::Entry, .x = 156, .y = 35, .w = 66, .h = 10, .parent = "General", .picture = "s20",
         .use = "NAM:LASTNAME", .flags = Capitalize},
        {.name = "CountryPrompt", .kind = Kind::Prompt, .text = "Country:", .x = 10, .y = 48, .w = 50, .h = 10, .parent = "General"},
        {.name = "Country", .kind = Kind::Entry, .x = 62, .y = 48, .w = 100, .h = 10, .parent = "General", .picture = "s31",
         .use = "NAM:COUNTRY", .flags = Required | Capitalize},
        {.name = "Lookup", .kind = Kind::Button, .x = 164, .y = 47, .w = 13, .h = 12, .parent = "General",
         .tip = "Lookup Country", .icon = "WizFind.ico"},
        {.name = "Tel1Prompt", .kind = Kind::Prompt, .text = "Telephone:", .x = 10, .y = 61, .w = 50, .h = 10, .parent = "General"},
        {.name = "Tel1", .kind = Kind::Entry, .x = 62, .y = 61, .w = 100, .h = 10, .parent = "General", .picture = "s29",
         .use = "NAM:TEL1"},
        {.name = "Tel2Prompt", .kind = Kind::Prompt, .text = "Cellular:", .x = 10, .y = 74, .w = 50, .h = 10, .parent = "General"},
        {.name = "Tel2", .kind = Kind::Entry, .x = 62, .y = 74, .w = 100, .h = 10, .parent = "General", .picture = "s29",
         .use = "NAM:TEL2"},
        {.name = "FaxPrompt", .kind = Kind::Prompt, .text = "Fax:", .x = 10, .y = 87, .w = 50, .h = 10, .parent = "General"},
        {.name = "Fax", .kind = Kind::Entry, .x = 62, .y = 87, .w = 100, .h = 10, .parent = "General", .picture = "s29",
         .use = "NAM:FAX"},
        {.name = "EmailPrompt", .kind = Kind::Prompt, .text = "E-Mail:", .x = 10, .y = 100, .w = 50, .h = 10, .parent = "General"},
        {.name = "Email", .kind = Kind::Entry, .x = 62, .y = 100, .w = 160, .h = 10, .parent = "General", .picture = "s80",
         .tip = "E-Mail\nFirst space automatically replaced by @\nå, ä, ö and ü replaced by a, a, o and u",
         .use = "NAM:EMAIL"},
        {.name = "UrlPrompt", .kind = Kind::Prompt, .text = "HomePage:", .x = 10, .y = 113, .w = 50, .h = 10, .parent = "General"},
        {.name = "Url", .kind = Kind::Entry, .x = 62, .y = 113, .w = 160, .h = 10, .parent = "General", .picture = "s80",
         .tip = "HomePage\nhttp:// inserted automatically", .use = "NAM:URL"},
        {.name = "StreetPrompt", .kind = Kind::Prompt, .text = "Street:", .x = 230, .y = 61, .w = 34, .h = 10, .parent = "General"},
        {.name = "Street", .kind = Kind::Entry, .x = 266, .y = 61, .w = 82, .h = 10, .parent = "General", .picture = "s39",
         .use = "NAM:STREET", .flags = Capitalize},
        {.name = "ZipPrompt", .kind = Kind::Prompt, .text = "Zip Code:", .x = 230, .y = 74, .w = 34, .h = 10, .parent = "General"},
        {.name = "Zip", .kind = Kind::Entry, .x = 266, .y = 74, .w = 60, .h = 10, .parent = "General", .picture = "s19",
         .use = "NAM:ZIPCODE", .flags = Upper},
        {.name = "CityPrompt", .kind = Kind::Prompt, .text = "City:", .x = 230, .y = 87, .w = 34, .h = 10, .parent = "General"},
        {.name = "City", .kind = Kind::Entry, .x = 266, .y = 87, .w = 82, .h = 10, .parent = "General", .picture = "s29",
         .use = "NAM:CITY", .flags = Capitalize},
        {.name = "Memo", .kind = Kind::Text, .x = 8, .y = 20, .w = 342, .h = 112, .parent = "MemoTab", .use = "NAM:MEMORANDUM"},
        {.name = "DocList", .kind = Kind::List, .x = 8, .y = 20, .w = 342, .h = 92, .parent = "DocsTab"},
        {.name = "DocInsert", .kind = Kind::Button, .text = "&Insert", .x = 8, .y = 116, .w = 40, .h = 14, .parent = "DocsTab"},
        {.name = "DocChange", .kind = Kind::Button, .text = "&Change", .x = 52, .y = 116, .w = 40, .h = 14, .parent = "DocsTab"},
        {.name = "DocDelete", .kind = Kind::Button, .text = "&Delete", .x = 96, .y = 116, .w = 40, .h = 14, .parent = "DocsTab"},
        {.name = "DocOpen", .kind = Kind::Button, .text = "&Open", .x = 140, .y = 116, .w = 40, .h = 14, .parent = "DocsTab"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 4, .y = 141, .w = 42, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 50, .y = 141, .w = 42, .h = 14,
         .closes = RequestCancelled},
        {.name = "Dial", .kind = Kind::Button, .text = "Dial", .x = 126, .y = 141, .w = 40, .h = 14},
        {.name = "Mail", .kind = Kind::Button, .text = "Mail", .x = 170, .y = 141, .w = 40, .h = 14, .tip = "Send E-Mail"},
        {.name = "Surf", .kind = Kind::Button, .text = "Surf", .x = 214, .y = 141, .w = 40, .h = 14, .tip = "Go to Home Page"},
        {.name = "Clip", .kind = Kind::Button, .text = "Clip", .x = 258, .y = 141, .w = 40, .h = 14, .tip = "Copy to Clipboard"},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 312, .y = 141, .w = 42, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding a Record"}, {ChangeRecord, "Changing this Record"}, {DeleteRecord, "Deleting this Record"}};

// The telephone entries and their fields.
const std::pair<const char*, uint16_t> kNumbers[] = {{"Tel1", NAM::TEL1}, {"Tel2", NAM::TEL2}, {"Fax", NAM::FAX}};

QString clipped(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

const QString kMarkSection = QStringLiteral("NameFr");
const QString kMarkEntry = QStringLiteral("LastRecNo");

// The highest value of a numeric key's first component, read from its end.
int64_t highestOf(Context& ctx, const FileDef& def, int key, uint16_t field, std::function<bool(const Record&)> counts = {})
{
    KeyedFile& f = ctx.file(def);
    if (!f.open())
        return 0;
    int64_t highest = 0;
    if (f.setToEnd(key))
        while (f.previous())
            if (!counts || counts(f.rec())) {
                highest = f.rec().num(field);
                break;
            }
    f.close();
    return highest;
}

class NameFr : public RecordForm {
public:
    NameFr() : RecordForm(QStringLiteral("NameFr"), kNameFrDef, VenNam)
    {
        FIRSTFIELD = QStringLiteral("Org");
        helpTopic = QStringLiteral("NameFrm");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!openFilesOrCancel({&VenCountry, &VenDoc}))
            return false;
        if (!RecordForm::setUp())
            return false;
        Record& r = primary().rec();
        if (REQUEST == InsertRecord) {
            // The form numbers the name itself: the engine's reserved
            // number is given back first, so that it does not count. The
            // form's number is then reserved at once: the documents filed
            // under it while the form is open are this name's alone,
            // whatever another copy of the program adds meanwhile.
            primary().cancelAutoInc();
            const int64_t from = NewNameNumber();
            if (!errors().retry([&] { return reserveNumber(primary(), NAM::RECNO, NAM::RECNOKEY, from); })) {
                RESPONSE = RequestCancelled;
                return false;
            }
            primary().keepOwnNumber();
        } else if (r.num(NAM::RECNO) < 1) {
            r.set(NAM::RECNO, int64_t(1));
            raiseWhileTaken(primary(), NAM::RECNO, NAM::RECNOKEY);
        }
        r.set(NAM::CATID, "N");
        GCatId = QStringLiteral("N");
        GCatNum = uint32_t(r.num(NAM::RECNO));
        readCountry();
        setUpDocuments();
        return true;
    }

    void windowEvent(Event e) override
    {
        RecordForm::windowEvent(e);
        if (e == Event::OpenWindow) {
            showButtons();
            // A document waiting to be filed under the name is offered at once.
            if (!clipped(primary().rec().str(NAM::DOCUMENT)).isEmpty())
                runDocumentForm(InsertRecord);
        }
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (e == FieldEvent::Selected && c == u"Email")
            proposeEmail();
        RecordForm::fieldEvent(c, e);
        if (isOpen())
            showButtons();
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == u"DocList")
            showButtons();
    }

    void accepted(const QString& c) override
    {
        Window& w = window();
        if (c == OKCONTROL) {
            ok();
            return;
        }
        if (c == u"Country") {
            w.update(c);
            takeCountry(false, {});
            return;
        }
        if (c == u"Lookup") {
            w.update(QStringLiteral("Country"));
            takeCountry(true, {});
            return;
        }
        if (c == u"DocInsert" || c == u"DocChange" || c == u"DocDelete") {
            runDocumentForm(c == u"DocInsert" ? InsertRecord : c == u"DocChange" ? ChangeRecord : DeleteRecord);
            return;
        }
        if (c == u"DocOpen") {
            if (documents_ && documents_->loadHighlighted())
                OpenDocument(file(VenDoc).rec(), &window());
            return;
        }
        if (c == u"Dial" || c == u"Mail" || c == u"Surf" || c == u"Clip") {
            for (const QString& name : w.controlNames())
                if (w.isBound(name))
                    w.update(name);
            const Record& r = primary().rec();
            if (c == u"Dial") {
                dialName(r);
                return;
            }
            if (QClipboard* clip = QGuiApplication::clipboard())
                clip->setText(addressCard(r));
            if (c == u"Mail")
                mailName(r, &window());
            else if (c == u"Surf")
                surfName(r, &window());
            return;
        }
        RecordForm::accepted(c);
        applyRule(c);
    }

private:
    // --------------------------------------------------------- rules ---

    // The rule of an accepted entry; values already normalised stay.
    void applyRule(const QString& c)
    {
        Window& w = window();
        Record& r = primary().rec();
        for (const auto& [name, field] : kNumbers)
            if (c == QLatin1String(name)) {
                w.update(c);
                r.set(field, withTelPrefix(r.str(field), country_, kTelWidth));
                w.display(c);
            }
        if (c == u"Email") {
            w.update(c);
            r.set(NAM::EMAIL, typedEmail(r.str(NAM::EMAIL), kMailWidth));
            w.display(c);
        } else if (c == u"Url") {
            w.update(c);
            const QString before = clipped(r.str(NAM::URL));
            r.set(NAM::URL, withScheme(before, kMailWidth));
            w.display(c);
            if (clipped(r.str(NAM::URL)) != before)
                control(c).select();  // the user sees what was put in front
        } else if (c == u"Zip") {
            w.update(c);
            r.set(NAM::ZIPCODE, withZipPrefix(r.str(NAM::ZIPCODE), country_, kZipWidth));
            w.display(c);
        }
    }

    // A proposed address when the entry is entered blank.
    void proposeEmail()
    {
        Window& w = window();
        for (const char* c : {"Org", "First", "Last"})
            w.update(QString::fromLatin1(c));
        if (!control("Email").text().trimmed().isEmpty())
            return;
        const Record& r = primary().rec();
        const QString proposal =
            proposedEmail(r.str(NAM::FIRSTNAME), r.str(NAM::LASTNAME), r.str(NAM::ORG), country_, kMailWidth);
        if (proposal.isEmpty())
            return;
        primary().rec().set(NAM::EMAIL, proposal);
        w.display(QStringLiteral("Email"));
    }

    // ------------------------------------------------------- country ---

    // The prefixes of the country the Country entry names; none when the
    // register has no such country.
    void readCountry()
    {
        country_ = {};
        const QString name = primary().rec().str(NAM::COUNTRY).trimmed();
        if (name.isEmpty())
            return;
        Context ctx;
        KeyedFile& cnt = ctx.file(VenCountry);
        if (!cnt.open())
            return;
        cnt.rec().set(CNT::NAME, name);
        if (cnt.get(CNT::NAME_KEY))
            country_ = prefixesOf(cnt.rec());
        cnt.close();
    }

    // The Country entry accepted (or the lookup button): a name not in the
    // register, or the button, brings up the country list. `then` runs when
    // a country is known.
    void takeCountry(bool lookup, std::function<void()> then)
    {
        if (lookingUp_)
            return;  // the entry left for the lookup's window is not looked up twice
        readCountry();
        if (country_.known && !lookup) {
            window().display();
            if (then)
                then();
            return;
        }
        KeyedFile& cnt = file(VenCountry);
        cnt.rec().clear();
        cnt.rec().set(CNT::NAME, primary().rec().str(NAM::COUNTRY));
        QPointer<NameFr> self(this);
        lookingUp_ = true;
        callProcedure(QStringLiteral("CountryBr"), SelectRecord, [self, lookup, then](uint8_t response) {
            if (!self || !self->isOpen())
                return;
            self->lookingUp_ = false;
            if (response == RequestCompleted) {
                self->primary().rec().set(NAM::COUNTRY, self->file(VenCountry).rec().str(CNT::NAME));
                self->readCountry();
                self->window().display();
                if (then)
                    then();
            } else if (!lookup) {
                self->countryRefused_ = true;
                self->control("Country").select();
            }
        });
    }

    // ------------------------------------------------------------ OK ---

    void ok()
    {
        Window& w = window();
        for (const QString& name : w.controlNames())
            if (w.isBound(name))
                w.update(name);
        if (REQUEST == DeleteRecord) {
            RecordForm::accepted(OKCONTROL);
            return;
        }
        const Record& r = primary().rec();
        auto blank = [&r](std::initializer_list<uint16_t> fields) {
            for (uint16_t f : fields)
                if (!clipped(r.str(f)).trimmed().isEmpty())
                    return false;
            return true;
        };
        if (blank({NAM::ORG, NAM::FIRSTNAME, NAM::LASTNAME})) {
            messageBox(QStringLiteral("You have to enter either a Name or an Organization!"), QStringLiteral("Error!"), Icon::Stop);
            control("Org").select();
            return;
        }
        if (blank({NAM::TEL1, NAM::TEL2, NAM::FAX, NAM::EMAIL, NAM::URL})) {
            messageBox(QStringLiteral("You have to enter either a Phone Number or an E-Mail Address!"), QStringLiteral("Error!"),
                       Icon::Stop);
            control("Tel1").select();
            return;
        }
        // Every entry's rule once more (the framework's pass), the Country
        // entry's lookup among them; a cancelled lookup stops the store.
        countryRefused_ = false;
        QPointer<NameFr> self(this);
        acceptControls([self] {
            if (!self || !self->isOpen() || self->countryRefused_)
                return;
            if (GDocPath == self->primary().rec().str(NAM::DOCUMENT))
                self->primary().rec().set(NAM::DOCUMENT, QString());
            const int64_t recno = self->primary().rec().num(NAM::RECNO);
            const bool inserting = self->REQUEST == InsertRecord;
            if (self->complete() && inserting)
                rememberNumber(recno);
        });
    }

    static void rememberNumber(int64_t recno)
    {
        const QString ini = SettingsFile::programFile();
        if (recno > readIni(ini, kMarkSection, kMarkEntry, {}).toLongLong())
            writeIni(ini, kMarkSection, kMarkEntry, QString::number(recno));
    }

    // ----------------------------------------------------- documents ---

    void setUpDocuments()
    {
        std::vector<BrowseColumn> columns = {
            BrowseColumn::ofField(DOC::DOCNAME, "Name", 60, "s128"),
            BrowseColumn::ofField(DOC::DESCRIPTION, "Description", 80, "s128"),
            BrowseColumn::ofField(DOC::DOCPATH, "Start Path", 60, "s128"),
            BrowseColumn::ofField(DOC::CREATEDDATE, "Created", 40, "D06-B"),
            BrowseColumn::ofField(DOC::CREATEDTIME, "Time", 22, "T01.B"),
            BrowseColumn::ofField(DOC::ACCESSEDDATE, "Accessed", 40, "D06-B"),
            BrowseColumn::ofField(DOC::ACCESSEDTIME, "Time", 22, "T01.B"),
            BrowseColumn::ofField(DOC::ASSOCIATEDPROGRAM, "Open with", 40, "s32"),
            BrowseColumn::ofField(DOC::DOCNUM, "DocNum", 30, "n07"),
            BrowseColumn::ofField(DOC::CATNUM, "CatNum", 30, "n06"),
            BrowseColumn::ofField(DOC::CATID, "Id", 10, "s1"),
        };
        auto list = std::make_unique<BrowseList>(*this, VenDoc, std::move(columns), QStringLiteral("DocList"));
        list->addOrder(DOC::CAT_KEY);
        list->setRange(DOC::CATID, Value(QStringLiteral("N")));
        list->setRange(DOC::CATNUM, Value(int64_t(primary().rec().num(NAM::RECNO))));
        list->setButtons({.insert = "DocInsert", .change = "DocChange", .remove = "DocDelete", .select = "DocSelect", .copy = "DocCopy"});
        documents_ = list.get();
        addPart(std::move(list));
    }

    void runDocumentForm(uint8_t request)
    {
        const Record& r = primary().rec();
        if (request == InsertRecord) {
            GDocPath = clipped(r.str(NAM::DOCUMENT)).isEmpty() ? QString() : r.str(NAM::DOCUMENT);
            GDocDescription = calledParty(r);
        } else if (!documents_ || !documents_->loadHighlighted()) {
            return;
        }
        GCatId = r.str(NAM::CATID);
        GCatNum = uint32_t(r.num(NAM::RECNO));
        QPointer<NameFr> self(this);
        callProcedure(QStringLiteral("UpdateVenDoc"), request, [self](uint8_t) {
            if (self && self->isOpen() && self->documents_)
                self->documents_->refresh();
        });
    }

    // After every event: Mail and Surf while there is an address, the memo
    // picture while there is a memo, Open while the document has a path.
    void showButtons()
    {
        control("Mail").show(!control("Email").text().trimmed().isEmpty());
        control("Surf").show(!control("Url").text().trimmed().isEmpty());
        control("MemoImage").show(!control("Memo").text().trimmed().isEmpty());
        const Record* d = documents_ ? documents_->highlighted() : nullptr;
        control("DocOpen").show(d && !d->str(DOC::DOCPATH).trimmed().isEmpty());
    }

    CountryPrefixes country_;
    BrowseList* documents_ = nullptr;
    bool lookingUp_ = false;
    bool countryRefused_ = false;  // the lookup of OK's pass was cancelled
};

} // namespace

int64_t NewNameNumber()
{
    Context ctx;
    KeyedFile& nam = ctx.file(VenNam);
    if (!nam.open())
        return 1;
    int64_t n = nam.records() + 1;
    nam.close();
    n = std::max(n, highestOf(ctx, VenNam, NAM::RECNOKEY, NAM::RECNO) + 1);
    // Labels (placeholders aside), diary entries and anniversaries keep
    // the numbers of names that may be gone.
    n = std::max(n, highestOf(ctx, VenStick, STI::RECNO_KEY, STI::RECNO, [](const Record& s) { return s.num(STI::DUPLO) > 0; }) + 1);
    n = std::max(n, highestOf(ctx, VenDry, DRY::CALLER_KEY, DRY::CALLER) + 1);
    n = std::max(n, highestOf(ctx, VenDry, DRY::CLIENT_KEY, DRY::CLIENT) + 1);
    n = std::max(n, highestOf(ctx, VenBirth, BTH::NUMBER_KEY, BTH::CLINO) + 1);
    n = std::max(n, int64_t(readIni(SettingsFile::programFile(), kMarkSection, kMarkEntry, {}).toLongLong()) + 1);
    return freeNumber(VenNam, NAM::RECNO, NAM::RECNOKEY, n);
}

std::unique_ptr<WindowController> makeNameFr(const QString&)
{
    return std::make_unique<NameFr>();
}

} // namespace ven
