// The names register through its windows: countries, the name form's
// typing rules and checks, numbers never given twice, Dial through a fake
// telephony, select mode, Sticker, the names report read back from PDF.
#include "WindowKit.h"

#include "core/Globals.h"
#include "app/Procedures.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"
#include "platform/SettingsFile.h"
#include "platform/Shell.h"
#include "platform/Telephony.h"
#include "registers/CountryBr.h"
#include "registers/NameBr.h"
#include "registers/NameFr.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

namespace ven::test {
namespace {

void addCountry(const char* name, const char* zip, const char* net, const char* tel, int order)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenCountry);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(CNT::NAME, name);
    f.rec().set(CNT::ABBR, zip);
    f.rec().set(CNT::NETSUFFIX, net);
    f.rec().set(CNT::TEL, tel);
    f.rec().set(CNT::NUMBER, int64_t(order));
    ASSERT_TRUE(f.add());
}

struct Name {
    int64_t recno;
    QString org, first, last, tel1 = {}, tel2 = {}, street = {}, zip = {}, city = {}, country = {}, email = {}, memo = {};
};

void addName(const Name& n)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenNam);
    ASSERT_TRUE(f.open());
    Record& r = f.rec();
    r.clear();
    r.set(NAM::RECNO, n.recno);
    r.set(NAM::CATID, "N");
    r.set(NAM::ORG, n.org);
    r.set(NAM::FIRSTNAME, n.first);
    r.set(NAM::LASTNAME, n.last);
    r.set(NAM::TEL1, n.tel1);
    r.set(NAM::TEL2, n.tel2);
    r.set(NAM::STREET, n.street);
    r.set(NAM::ZIPCODE, n.zip);
    r.set(NAM::CITY, n.city);
    r.set(NAM::COUNTRY, n.country);
    r.set(NAM::EMAIL, n.email);
    r.set(NAM::MEMORANDUM, n.memo);
    ASSERT_TRUE(f.add());
}

class Names : public ::testing::Test {
protected:
    Names()
    {
        DefineProcedures();
        setTelephony(&phone);
        setShellHandler([this] {
            opened << ShellFile;
            return kShellDone;
        });
    }
    ~Names() override
    {
        setTelephony(nullptr);
        setShellHandler({});
        clearProcedures();
    }
    WindowKit kit;
    FakeTelephony phone;
    QStringList opened;
};

TEST_F(Names, CountriesGetASortOrderAndKeepTheirNamesUnique)
{
    addCountry("Sweden", "S", "se", "46", 5);
    kit.start([] { return makeCountryBr({}); });
    kit.press("CountryBr", "Insert");
    kit.type("CountryFr", "Name", "Finland");
    kit.type("CountryFr", "Abbr", "FIN");
    kit.type("CountryFr", "Net", "fi");
    kit.type("CountryFr", "Tel", "358");
    kit.press("CountryFr", "OK");
    EXPECT_FALSE(kit.isOpen("CountryFr"));
    const Record* fin = nullptr;
    const auto all = WindowKit::records(VenCountry);
    for (const Record& r : all)
        if (r.str(CNT::NAME).trimmed() == u"Finland")
            fin = &r;
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(fin->num(CNT::NUMBER), 6);  // after the highest, so the number order lists it
    EXPECT_EQ(kit.rows("CountryBr"), 2);

    kit.press("CountryBr", "Insert");
    kit.type("CountryFr", "Name", "Sweden");
    kit.type("CountryFr", "Abbr", "SE");
    kit.type("CountryFr", "Tel", "46");
    kit.press("CountryFr", "OK");
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().caption, "Duplicate Key Error");
    EXPECT_TRUE(kit.isOpen("CountryFr"));
}

// What the country form refuses it says: a sort order beyond its range, a
// blank telephone prefix.
TEST_F(Names, TheCountryFormSaysWhatItRefuses)
{
    kit.start([] { return makeCountryBr({}); });
    kit.press("CountryBr", "Insert");
    kit.type("CountryFr", "Name", "Finland");
    kit.type("CountryFr", "Abbr", "FIN");
    kit.replaceText("CountryFr", "Number", "40000");
    kit.press("CountryFr", "OK");
    EXPECT_TRUE(kit.isOpen("CountryFr"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Range Error");
    EXPECT_EQ(kit.text("CountryFr", "Number"), "40000") << "the typed text stays to be mended";
    kit.clearBoxes();
    kit.replaceText("CountryFr", "Number", "7");
    kit.tab("CountryFr");
    kit.press("CountryFr", "OK");
    EXPECT_TRUE(kit.isOpen("CountryFr"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "\"Tel. Prefix\" may not be blank.\nFill it in, or press Cancel.");
    EXPECT_EQ(kit.window("CountryFr").window().focusedControl(), "Tel");
}

// A new name typed as a person would: the country's prefixes go on the
// numbers and the zip code, the address is proposed without accents.
TEST_F(Names, TheNameFormNormalisesByTheNamesOwnCountry)
{
    addCountry("Finland", "FIN", "fi", "358", 1);
    addCountry("Sweden", "S", ".se", "+46", 2);
    // Accented letters are not typed by the test's keyboard: the name is stored first.
    addName({.recno = 1, .org = "Acme", .first = QString::fromUtf8("Päivi"), .last = QString::fromUtf8("Ääkkönen")});
    kit.start([] { return makeNameBr({}); });
    kit.press("NameBr", "Change");
    ASSERT_TRUE(kit.isOpen("NameFr"));
    kit.type("NameFr", "Country", "Finland");
    kit.tab("NameFr");
    kit.type("NameFr", "Tel1", "09 123 45");
    kit.tab("NameFr");
    kit.type("NameFr", "Tel2", "0046 70 1234");
    kit.tab("NameFr");
    kit.focus("NameFr", "Email");
    EXPECT_EQ(kit.text("NameFr", "Email"), "paivi.aakkonen@acme.fi");
    kit.type("NameFr", "Url", "www.acme.fi");
    kit.tab("NameFr");
    kit.type("NameFr", "Zip", "00100");
    kit.tab("NameFr");
    EXPECT_EQ(kit.text("NameFr", "Tel1"), "+358-9 123 45");
    EXPECT_EQ(kit.text("NameFr", "Tel2"), "+46 70 1234");
    EXPECT_EQ(kit.text("NameFr", "Url"), "http://www.acme.fi");
    EXPECT_EQ(kit.text("NameFr", "Zip"), "FIN-00100");
    EXPECT_TRUE(kit.control("NameFr", "Mail").isVisible());
    kit.press("NameFr", "OK");
    EXPECT_FALSE(kit.isOpen("NameFr"));
    const auto names = WindowKit::records(VenNam);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].str(NAM::TEL1), "+358-9 123 45");
    EXPECT_EQ(names[0].str(NAM::EMAIL), "paivi.aakkonen@acme.fi");
    EXPECT_EQ(names[0].num(NAM::RECNO), 1);
    EXPECT_TRUE(kit.boxes().empty());

    // Another name of Sweden on the same list's thread gets Sweden's
    // prefixes, not the country read last for the previous name.
    kit.press("NameBr", "Insert");
    kit.type("NameFr", "Last", "Berg");
    kit.type("NameFr", "Country", "Sweden");
    kit.tab("NameFr");
    kit.type("NameFr", "Tel1", "08 55");
    kit.tab("NameFr");
    EXPECT_EQ(kit.text("NameFr", "Tel1"), "+46-8 55");
}

TEST_F(Names, OkNeedsANameAndAContactAndAKnownCountry)
{
    addCountry("Finland", "FIN", "fi", "358", 1);
    kit.start([] { return makeNameBr({}); });
    kit.press("NameBr", "Insert");
    kit.press("NameFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "You have to enter either a Name or an Organization!");
    kit.type("NameFr", "Org", "Acme");
    kit.tab("NameFr");
    kit.focus("NameFr", "Email");  // no country yet: nothing is proposed
    EXPECT_EQ(kit.text("NameFr", "Email"), "");
    kit.press("NameFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 2u);
    EXPECT_EQ(kit.boxes()[1].text, "You have to enter either a Phone Number or an E-Mail Address!");
    kit.type("NameFr", "Fax", "555 12");
    kit.tab("NameFr");
    EXPECT_EQ(kit.text("NameFr", "Fax"), "555 12");  // no country known: as typed
    // A country that is not in the register brings up the lookup at OK.
    kit.type("NameFr", "Country", "Fin");
    kit.press("NameFr", "OK");
    ASSERT_TRUE(kit.isOpen("CountryBr"));
    EXPECT_TRUE(kit.control("CountryBr", "Select").isVisible());
    kit.press("CountryBr", "Select");
    EXPECT_FALSE(kit.isOpen("NameFr"));
    const auto names = WindowKit::records(VenNam);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].str(NAM::COUNTRY), "Finland");
    EXPECT_EQ(names[0].str(NAM::FAX), "+358-555 12");
}

// A deleted name's number is not given again: its label and diary entries
// would point at the newcomer.
TEST_F(Names, ANumberOnceUsedIsNotGivenAgain)
{
    addName({.recno = 1, .org = "A", .first = "", .last = "", .tel1 = "1"});
    addName({.recno = 2, .org = "B", .first = "", .last = "", .tel1 = "1"});
    {
        Context ctx;
        KeyedFile& s = ctx.file(VenStick);
        ASSERT_TRUE(s.open());
        s.rec().clear();
        s.rec().set(STI::RECNO, int64_t(7));
        s.rec().set(STI::DUPLO, int64_t(1));
        s.rec().set(STI::LASTNAME, "Gone");
        ASSERT_TRUE(s.add());
    }
    EXPECT_EQ(NewNameNumber(), 8);
    addName({.recno = 8, .org = "C", .first = "", .last = "", .tel1 = "1"});
    writeIni(SettingsFile::programFile(), "NameFr", "LastRecNo", "20");
    EXPECT_EQ(NewNameNumber(), 21);
}

TEST_F(Names, DialMailAndHomeFromTheList)
{
    CurrentUser = QStringLiteral("Owner");
    addName({.recno = 1, .org = "Acme", .first = "Anna", .last = "Berg", .tel2 = "+358-40 123 4567 8901 2345 6",
             .email = "anna@acme.fi", .memo = "Call about the offer"});
    addName({.recno = 2, .org = "Zeta", .first = "", .last = "Zed"});
    kit.start([] { return makeNameBr({}); });
    ASSERT_EQ(kit.rows("NameBr"), 2);
    kit.highlight("NameBr", 0);  // Berg
    kit.press("NameBr", "Dial");
    ASSERT_EQ(phone.calls.size(), 1u);
    EXPECT_EQ(phone.calls[0].destination, "+358-40 123 4567 8901 2345 6");  // whole, not cut to 25
    EXPECT_EQ(phone.calls[0].application, "Owner");
    EXPECT_EQ(phone.calls[0].calledParty, "Anna Berg, Acme");
    EXPECT_EQ(phone.calls[0].comment, "Call about the offer");
    EXPECT_TRUE(kit.control("NameBr", "Mail").isVisible());
    EXPECT_FALSE(kit.control("NameBr", "Home").isVisible());
    kit.press("NameBr", "Mail");
    EXPECT_EQ(opened, QStringList{"MailTo:anna@acme.fi"});
    kit.highlight("NameBr", 1);  // Zed: no numbers
    kit.press("NameBr", "Dial");
    EXPECT_EQ(phone.calls.size(), 1u);
    EXPECT_FALSE(kit.control("NameBr", "Mail").isVisible());
    EXPECT_TRUE(kit.boxes().empty());
}

// A telephone text that is no number is not dialled, and Dial says so.
TEST_F(Names, DialOfATextThatIsNoNumberSaysItCannotBeDialled)
{
    addName({.recno = 1, .org = "Acme", .first = "Anna", .last = "Berg", .tel1 = "040 1;touch x"});
    kit.start([] { return makeNameBr({}); });
    kit.highlight("NameBr", 0);
    kit.press("NameBr", "Dial");
    EXPECT_TRUE(phone.calls.empty());
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Dial");
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("The telephone number \"040 1;touch x\" cannot be dialled"))
        << kit.boxes()[0].text.toStdString();
}

TEST_F(Names, TheFormsClipCopiesTheAddressCard)
{
    addName({.recno = 1, .org = "Acme", .first = "Anna", .last = "Berg", .tel1 = "+358-9 1", .city = "Espoo",
             .memo = "Memo"});
    kit.start([] { return makeNameBr({}); });
    kit.press("NameBr", "Change");
    kit.press("NameFr", "Clip");
    const QString card = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(card.startsWith("First Name   : Anna\r\nLast Name    : Berg\r\nOrganization : Acme\r\nTelephone 1  : +358-9 1\r\n"));
    EXPECT_TRUE(card.contains("             : Espoo\r\n"));
    EXPECT_TRUE(card.endsWith("Memorandum   : \r\nMemo\r\n" + QString(60, '~') + "\r\n"));
}

// Select mode, as the diary form uses it: the list opens at the typed last
// name and Select answers with the name in the buffer.
TEST_F(Names, SelectModeOpensAtTheTypedNameAndAnswersWithIt)
{
    addName({.recno = 1, .org = "", .first = "Anna", .last = "Aalto", .tel1 = "1"});
    addName({.recno = 2, .org = "", .first = "Bo", .last = "Berg", .tel1 = "1"});
    addName({.recno = 3, .org = "", .first = "Cy", .last = "Cole", .tel1 = "1"});
    Context& ctx = threadContext();
    KeyedFile& n = ctx.file(VenNam);
    n.rec().clear();
    n.rec().set(NAM::LASTNAME, "Ber");
    uint8_t response = 0;
    kit.call(makeNameBr({}), SelectRecord, &response);
    ASSERT_TRUE(kit.isOpen("NameBr"));
    EXPECT_EQ(kit.cell("NameBr", kit.highlighted("NameBr"), 2), "Berg");
    kit.press("NameBr", "Select");
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_EQ(n.rec().num(NAM::RECNO), 2);
}

TEST_F(Names, StickerAddsTheLabelOnceAndKeepsWhatTheNameLacks)
{
    addName({.recno = 12, .org = "Acme", .first = "Anna", .last = "Berg", .tel1 = "1", .street = "Road 1",
             .zip = "FIN-00100", .city = "", .country = "Finland"});
    {
        Context ctx;
        KeyedFile& s = ctx.file(VenStick);
        ASSERT_TRUE(s.open());
    }
    kit.start([] { return makeNameBr({}); });
    kit.press("NameBr", "Sticker");
    kit.press("NameBr", "Sticker");
    auto labels = WindowKit::records(VenStick);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].num(STI::RECNO), 12);
    EXPECT_EQ(labels[0].num(STI::DUPLO), 1);
    EXPECT_EQ(labels[0].str(STI::STREET), "Road 1");
    {
        Context ctx;
        KeyedFile& s = ctx.file(VenStick);
        ASSERT_TRUE(s.open());
        s.rec().set(STI::RECNO, int64_t(12));
        s.rec().set(STI::DUPLO, int64_t(1));
        ASSERT_TRUE(s.get(STI::RECNO_KEY));
        s.rec().set(STI::CITY, "Helsinki");
        ASSERT_TRUE(s.put());
    }
    kit.press("NameBr", "Sticker");
    labels = WindowKit::records(VenStick);
    EXPECT_EQ(labels[0].str(STI::CITY), "Helsinki");  // the name's blank city keeps the label's
    EXPECT_TRUE(kit.boxes().empty());
}

// The report in the organisation order, read back with its places.
TEST_F(Names, TheReportPrintsInTheOrderOfItsTab)
{
    addName({.recno = 1, .org = "Zeta", .first = "Anna", .last = "Aalto", .tel2 = "040 1"});
    addName({.recno = 2, .org = "Acme", .first = "Bo", .last = "Berg", .tel1 = "09 2"});
    kit.start([] { return makeNameBr({}); });
    kit.choose("NameBr", "Sheet", "3");
    kit.press("NameBr", "Print");
    kit.wait(3000);
    // The PDF's text shows each run of blanks as one.
    const QString text = WindowKit::pdfText(kit.folder("report.pdf")).simplified();
    EXPECT_TRUE(text.contains("Names & Addresses")) << text.toStdString();
    const qsizetype berg = text.indexOf("Berg, Bo, Acme"), aalto = text.indexOf("Aalto, Anna, Zeta");
    ASSERT_GE(berg, 0) << text.toStdString();
    ASSERT_GE(aalto, 0);
    EXPECT_LT(berg, aalto);
    EXPECT_TRUE(text.contains("Cellular: 040 1"));
    EXPECT_TRUE(text.contains("Telephone: 09 2"));
    EXPECT_TRUE(text.contains("Address:"));
    const auto words = WindowKit::pdfWords(kit.folder("report.pdf"));
    for (const auto& w : words)
        if (w.text == "Berg,") {
            EXPECT_NEAR(w.x, 0.8 * 25.4, 1.0);  // the report area's left edge
            EXPECT_GT(w.y, 1.3 * 25.4 - 1);
        }
}

// Reads the names file through in `key` order; false when a read fails
// other than at the end.
bool readsThrough(int key)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenNam);
    if (!f.open(KeyedFile::Mode::Shared) || !f.set(key))
        return false;
    Status st;
    while ((st = f.next()).ok()) {
    }
    return st.code == Err::EndOfFile;
}

// One damaged page in the names file (a page that a read through the file
// in last-name order meets): the list and the report stop with a message
// naming the file; the list closes rather than end early as if complete,
// and no report is printed.
TEST_F(Names, ADamagedPageStopsTheListAndTheReportByName)
{
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenNam);
        ASSERT_TRUE(f.open());
        WriteBatch batch(f);
        for (int i = 1; i <= 300; ++i) {
            const QString t = QString::number(i).rightJustified(3, u'0');
            Record& r = f.rec();
            r.clear();
            r.set(NAM::RECNO, i);
            r.set(NAM::CATID, "N");
            r.set(NAM::LASTNAME, "Last " + t);
            r.set(NAM::FIRSTNAME, "First " + t);
            r.set(NAM::ORG, "Organisation " + t);
            r.set(NAM::TEL1, "09 " + t);
            r.set(NAM::MEMORANDUM, QString(600, u'm') + t);
            ASSERT_TRUE(f.add());
        }
        ASSERT_TRUE(batch.commit());
    }
    Store::instance().closeIdle();
    const QString path = Store::instance().pathOf(VenNam);
    ASSERT_TRUE(readsThrough(NAM::SUKU_KEY));
    // From the middle on, the first page whose damage such a read meets.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pages = file.size() / 4096;
    ASSERT_GT(pages, 16);
    bool damaged = false;
    for (qint64 page = pages / 2; page < pages && !damaged; ++page) {
        file.seek(page * 4096);
        const QByteArray kept = file.read(4096);
        file.seek(page * 4096);
        file.write(QByteArray(4096, '\x5a'));
        file.flush();
        Store::instance().closeIdle();
        damaged = !readsThrough(NAM::SUKU_KEY);
        if (!damaged) {
            file.seek(page * 4096);
            file.write(kept);
            file.flush();
        }
    }
    file.close();
    Store::instance().closeIdle();
    ASSERT_TRUE(damaged) << "no page of the file is met by a read through it";

    const auto toldByName = [this] {
        for (const MessageBoxRequest& b : kit.boxes())
            if (b.text.contains("VenNam"))
                return true;
        return false;
    };
    kit.start([] { return makeNameBr({}); });
    ASSERT_TRUE(kit.isOpen("NameBr"));
    for (int i = 0; i < 100 && kit.isOpen("NameBr"); ++i)
        kit.keyInList("NameBr", Qt::Key_PageDown);
    EXPECT_TRUE(toldByName()) << "the list met the damaged page in silence";
    EXPECT_FALSE(kit.isOpen("NameBr")) << "the list stays open as if it were complete";

    kit.clearBoxes();
    QFile::remove(kit.folder("report.pdf"));
    bool ended = false;
    uint8_t response = 0;
    callProcedure(QStringLiteral("NamesRp"), NoRequest, [&](uint8_t r) {
        ended = true;
        response = r;
    }, QStringLiteral("1"));
    kit.waitUntil([&] { return ended; }, 120000, 100);
    ASSERT_TRUE(ended);
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_TRUE(toldByName()) << "the report met the damaged page in silence";
    EXPECT_FALSE(QFile::exists(kit.folder("report.pdf"))) << "a report was printed as if complete";
}

} // namespace
} // namespace ven::test
