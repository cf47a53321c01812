// The data files at work: creation, range checks, duplicates, optional keys,
// key orders, auto-numbers, relations and the text and time conventions.
#include "DataFolder.h"

#include "platform/DateTime.h"
#include "platform/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ven;
using ven::test::DataFolder;

namespace {

struct Files : ven::test::DataFilesTest {};

TEST_F(Files, EveryFileIsCreatedEmptyOnFirstOpen)
{
    for (const FileDef* def : dictionary().files) {
        KeyedFile& f = open(*def);
        EXPECT_EQ(f.records(), 0) << def->label;
        EXPECT_TRUE(QFileInfo::exists(Store::instance().pathOf(*def))) << def->label;
    }
    EXPECT_TRUE(QFileInfo::exists(folder.path("VenCount.tps")));
    EXPECT_TRUE(QFileInfo::exists(folder.path("machine/Ven_DLS.tps")));
    EXPECT_FALSE(QFileInfo::exists(folder.path("Ven_DLS.tps")));
}

TEST_F(Files, EncryptedFilesAreNotPlainDatabases)
{
    open(VenDry);
    open(VenDays);
    auto header = [&](const char* name) {
        QFile f(folder.path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.read(15);
    };
    EXPECT_NE(header("VenDry.tps"), QByteArray("SQLite format 3"));
    EXPECT_EQ(header("VenDays.tps"), QByteArray("SQLite format 3"));
}

TEST_F(Files, RangeChecksAtTheirBounds)
{
    struct Case {
        const FileDef* file;
        uint16_t field;
        int64_t value;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {&VenPrg, PRG::BUTTONNUMBER, 0, "The value of Button Number (001 - 100) must be between 1 and 100."},
        {&VenPrg, PRG::BUTTONNUMBER, 101, "The value of Button Number (001 - 100) must be between 1 and 100."},
        {&VenPrg, PRG::BUTTONNUMBER, 100, ""},
        {&VenCalc, CAL::MEMNUM, 0, "The value of Memory Number must be between 1 and 255."},
        {&VenCalc, CAL::MEMNUM, 255, ""},
        {&VenPro, PRO::CATEGORY, 5, "The value of Category must be between 0 and 4."},
        {&VenPro, PRO::CATEGORY, 4, ""},
        {&VenSaint, AST::DAYNO, 0, "The value of Day Number (1-366) must be between 1 and 366."},
        {&VenSaint, AST::DAYNO, 367, "The value of Day Number (1-366) must be between 1 and 366."},
        {&VenBirth, BTH::DAYNO, 367, "The value of Day Number (1-366) must be between 1 and 366."},
        {&VenBirth, BTH::DAYNO, 366, ""},
    };
    for (const Case& c : cases) {
        KeyedFile& f = open(*c.file);
        ASSERT_TRUE(f.primeRecord().ok());
        f.rec().set(c.field, c.value);
        if (c.file == &VenPrg)
            f.rec().set(PRG::NAME, QString("p%1").arg(c.value));
        Status st = f.insert();
        const int64_t before = f.records();
        if (*c.message) {
            EXPECT_EQ(st.message, 16) << c.file->label << " " << c.value;
            EXPECT_EQ(st.text.toStdString(), c.message);
            EXPECT_EQ(messageTitle(st.message), "Range Error");
            f.cancelAutoInc();
            EXPECT_EQ(f.records(), before - (c.file == &VenPro || c.file == &VenBirth ? 1 : 0));
        } else {
            EXPECT_TRUE(st.ok()) << c.file->label << " " << st.text.toStdString();
        }
    }
}

TEST_F(Files, DuplicatesAreNamedByTheKeyDescription)
{
    KeyedFile& usr = open(VenUsr);
    usr.rec().set(USR::NAME, "Anna Berg");
    usr.rec().set(USR::PWD, "secret");
    ASSERT_TRUE(usr.insert().ok());

    usr.rec().clear();
    usr.rec().set(USR::NAME, "ANNA BERG");
    usr.rec().set(USR::PWD, "other");
    Status st = usr.insert();
    EXPECT_EQ(st.message, 13);
    EXPECT_EQ(st.text, "Adding this record creates a duplicate entry for the key: Name Key");

    usr.rec().set(USR::NAME, "Carl");
    usr.rec().set(USR::PWD, "secret");
    st = usr.insert();
    EXPECT_EQ(st.text, "Adding this record creates a duplicate entry for the key: Password key");
    EXPECT_EQ(usr.records(), 1);

    // One note a day, one special day per date and show code, one memory per kind and number.
    KeyedFile& note = open(VenNote);
    note.rec().set(ANT::DATE, 82000);
    ASSERT_TRUE(note.insert().ok());
    EXPECT_EQ(note.insert().message, 13);

    KeyedFile& days = open(VenDays);
    days.rec().set(DAY::DATE, 82000);
    days.rec().set(DAY::SHOW, 1);
    ASSERT_TRUE(days.insert().ok());
    days.rec().set(DAY::SHOW, 2);
    EXPECT_TRUE(days.insert().ok());
    EXPECT_EQ(days.insert().message, 13);

    KeyedFile& calc = open(VenCalc);
    calc.rec().set(CAL::CM, "M");
    calc.rec().set(CAL::MEMNUM, 7);
    ASSERT_TRUE(calc.insert().ok());
    calc.rec().set(CAL::CM, "m");
    EXPECT_EQ(calc.insert().message, 13);
}

TEST_F(Files, OptionalKeysLeaveOutBlankRecords)
{
    KeyedFile& usr = open(VenUsr);
    for (int i = 0; i < 2; ++i) {  // two blank users do not collide in the unique keys
        usr.rec().clear();
        ASSERT_TRUE(usr.insert().ok());
    }
    usr.rec().set(USR::NAME, "Eva");
    usr.rec().set(USR::PWD, "pw");
    ASSERT_TRUE(usr.insert().ok());
    EXPECT_EQ(usr.records(), 3);
    usr.set(USR::NAME_KEY);
    int seen = 0;
    while (usr.next().ok())
        ++seen;
    EXPECT_EQ(seen, 1);
    usr.rec().clear();
    EXPECT_EQ(usr.get(USR::NAME_KEY).code, Err::NotFound);
}

TEST_F(Files, AlarmKeyPutsTheLargerAdvanceFirst)
{
    KeyedFile& ala = open(VenAlarm);
    for (int warning : {6001, 60001, 1}) {
        ASSERT_TRUE(ala.primeRecord().ok());
        ala.rec().set(ALA::DATE, 82000);
        ala.rec().set(ALA::TIME, 4320001);
        ala.rec().set(ALA::WARNING, warning);
        ASSERT_TRUE(ala.insert().ok());
    }
    ala.set(ALA::ALARM_KEY);
    std::vector<int64_t> order;
    while (ala.next().ok())
        order.push_back(ala.rec().num(ALA::WARNING));
    EXPECT_EQ(order, (std::vector<int64_t>{60001, 6001, 1}));
    // and backwards the other way round
    ala.setToEnd(ALA::ALARM_KEY);
    order.clear();
    while (ala.previous().ok())
        order.push_back(ala.rec().num(ALA::WARNING));
    EXPECT_EQ(order, (std::vector<int64_t>{1, 6001, 60001}));
}

TEST_F(Files, AutoNumbersCountWithinTheLeadingComponent)
{
    KeyedFile& bth = open(VenBirth);
    auto addLine = [&](int day) {
        bth.rec().clear();
        bth.rec().set(BTH::DAYNO, day);
        EXPECT_TRUE(bth.insert().ok());
        return bth.rec().num(BTH::LINE);
    };
    EXPECT_EQ(addLine(40), 1);
    EXPECT_EQ(addLine(40), 2);
    EXPECT_EQ(addLine(41), 1);
    EXPECT_EQ(addLine(40), 3);
    // A form that primes first and sets the day afterwards still counts within that day.
    ASSERT_TRUE(bth.primeRecord().ok());
    bth.rec().set(BTH::DAYNO, 41);
    ASSERT_TRUE(bth.insert().ok());
    EXPECT_EQ(bth.rec().num(BTH::LINE), 2);

    // The first record of an empty auto-numbered file is number 1.
    const std::pair<const FileDef*, uint16_t> firsts[] = {{&VenAlarm, ALA::NBR}, {&VenDry, DRY::NUMBER},
        {&VenNam, NAM::RECNO}, {&VenDCat, CAT::CATNUM}, {&VenIdea, IDE::NUMBER}, {&VenISub, SUB::SIDENUM}};
    for (auto [def, field] : firsts) {
        KeyedFile& f = open(*def);
        ASSERT_TRUE(f.primeRecord().ok());
        EXPECT_EQ(f.rec().num(field), 1) << def->label;
        EXPECT_EQ(f.records(), 1) << "the placeholder is written at once";
        Context other;  // another window numbering meanwhile gets the next number
        KeyedFile& g = other.file(*def);
        ASSERT_TRUE(g.open().ok());
        ASSERT_TRUE(g.primeRecord().ok());
        EXPECT_EQ(g.rec().num(field), 2) << def->label;
        g.cancelAutoInc();
        EXPECT_EQ(f.records(), 1) << "a cancelled number is released";
    }
}

TEST_F(Files, InitialValuesOfNewRecords)
{
    KeyedFile& dls = open(Ven_DLS);
    dls.primeRecord();
    EXPECT_EQ(dls.rec().num(DLS::TIME), 1080001);
    EXPECT_EQ(dls.rec().num(DLS::CHANGE), 360001);
    KeyedFile& dry = open(VenDry);
    dry.primeRecord();
    EXPECT_EQ(dry.rec().str(DRY::CATID), "D");
    KeyedFile& sub = open(VenISub);
    sub.primeRecord();
    EXPECT_EQ(sub.rec().str(SUB::CATID), "i");
    KeyedFile& nam = open(VenNam);
    nam.primeRecord();
    EXPECT_EQ(nam.rec().str(NAM::CATID), "N");
    dry.cancelAutoInc();
    sub.cancelAutoInc();
    nam.cancelAutoInc();
}

// Adds a document with one keyword to an owner.
void addDocument(Context& ctx, const char* kind, int64_t owner, int64_t docnum)
{
    KeyedFile& doc = ctx.file(VenDoc);
    doc.open();
    doc.rec().clear();
    doc.rec().set(DOC::CATID, kind);
    doc.rec().set(DOC::CATNUM, owner);
    doc.rec().set(DOC::DOCNUM, docnum);
    doc.rec().set(DOC::DOCNAME, QString("doc%1.txt").arg(docnum));
    ASSERT_TRUE(doc.insert().ok());
    KeyedFile& wrd = ctx.file(VenKWrd);
    wrd.open();
    wrd.rec().clear();
    wrd.rec().set(WRD::DOCNUM, docnum);
    wrd.rec().set(WRD::KEYWORD, "tax");
    ASSERT_TRUE(wrd.insert().ok());
}

TEST_F(Files, DeletingAnOwnerCascadesAndCategoriesRestrict)
{
    KeyedFile& dry = open(VenDry);
    ASSERT_TRUE(dry.primeRecord().ok());
    dry.rec().set(DRY::LEGEND, "Meeting");
    ASSERT_TRUE(dry.insert().ok());
    addDocument(ctx, "D", dry.rec().num(DRY::NUMBER), 1);
    addDocument(ctx, "N", 1, 2);  // another owner's document stays

    ASSERT_TRUE(dry.deleteWithChildren().ok());
    EXPECT_EQ(dry.records(), 0);
    EXPECT_EQ(open(VenDoc).records(), 1);
    EXPECT_EQ(open(VenKWrd).records(), 1);

    KeyedFile& cat = open(VenDCat);
    ASSERT_TRUE(cat.primeRecord().ok());
    cat.rec().set(CAT::CATID, "C");
    cat.rec().set(CAT::CATNAME, "Letters");
    ASSERT_TRUE(cat.insert().ok());
    addDocument(ctx, "C", cat.rec().num(CAT::CATNUM), 3);
    Status st = cat.deleteWithChildren();
    EXPECT_EQ(st.message, 30);
    EXPECT_EQ(st.text, "This record is referenced from the file VenDoc. This record cannot be deleted while these "
                       "references exist.");
    EXPECT_EQ(cat.records(), 1);

    // Changing its number is refused too, and the number is reset.
    const int64_t num = cat.rec().num(CAT::CATNUM);
    cat.rec().set(CAT::CATNUM, 99);
    st = cat.updateWithChildren();
    EXPECT_EQ(st.message, 31);
    EXPECT_EQ(cat.rec().num(CAT::CATNUM), num);
}

TEST_F(Files, AccountChangesCarryToTransactionsButDeletesAreRefused)
{
    KeyedFile& acc = open(VenAcc);
    acc.rec().set(ACC::TYPE, "B");
    acc.rec().set(ACC::NUMBER, 1);
    acc.rec().set(ACC::NAME, "Bank");
    ASSERT_TRUE(acc.insert().ok());
    KeyedFile& mon = open(VenMoney);
    for (int i = 1; i <= 2; ++i) {
        mon.rec().clear();
        mon.rec().set(MON::TYPE, "B");
        mon.rec().set(MON::NUMBER, 1);
        mon.rec().set(MON::DATE, 82000);
        mon.rec().set(MON::TIME, i);
        ASSERT_TRUE(mon.insert().ok());
    }
    acc.rec().set(ACC::NUMBER, 5);
    ASSERT_TRUE(acc.updateWithChildren().ok());
    mon.set(MON::ACCOUNT_KEY);
    while (mon.next().ok())
        EXPECT_EQ(mon.rec().num(MON::NUMBER), 5);
    EXPECT_EQ(acc.deleteWithChildren().message, 30);
    EXPECT_EQ(acc.records(), 1);
}

TEST_F(Files, TextAndTimeConventions)
{
    // Accented text reads back unchanged and keys ignore its case.
    KeyedFile& nam = open(VenNam);
    ASSERT_TRUE(nam.primeRecord().ok());
    nam.rec().set(NAM::LASTNAME, QString::fromUtf8("Öhman-Järvinen"));
    nam.rec().set(NAM::FIRSTNAME, QString::fromUtf8("Åsa"));
    ASSERT_TRUE(nam.insert().ok());
    nam.rec().clear();
    nam.rec().set(NAM::LASTNAME, QString::fromUtf8("öhman-järvinen"));
    nam.rec().set(NAM::FIRSTNAME, QString::fromUtf8("åsa"));
    ASSERT_TRUE(nam.get(NAM::SUKU_KEY).ok());
    EXPECT_EQ(nam.rec().str(NAM::LASTNAME), QString::fromUtf8("Öhman-Järvinen"));

    // CSTRING keeps size - 1 characters; STRING keeps its blanks, keys ignore them.
    KeyedFile& usr = open(VenUsr);
    usr.rec().set(USR::NAME, QString(60, 'x'));
    EXPECT_EQ(usr.rec().str(USR::NAME).size(), 39);
    KeyedFile& acc = open(VenAcc);
    acc.rec().set(ACC::TYPE, "E");
    acc.rec().set(ACC::NUMBER, 2);
    acc.rec().set(ACC::NAME, "Food");
    ASSERT_TRUE(acc.insert().ok());
    acc.rec().clear();
    acc.set(ACC::ACCOUNT_KEY);
    ASSERT_TRUE(acc.next().ok());
    EXPECT_EQ(acc.rec().str(ACC::NAME), "Food" + QString(26, ' '));
    usr.rec().set(USR::NAME, "Bo");
    usr.rec().set(USR::PWD, "abc");
    ASSERT_TRUE(usr.insert().ok());
    usr.rec().clear();
    usr.rec().set(USR::PWD, "ABC     ");
    ASSERT_TRUE(usr.get(USR::PWD_KEY).ok());
    EXPECT_EQ(usr.rec().str(USR::NAME), "Bo");

    // TIME fields: midnight packs to four zero bytes and reads as no time.
    EXPECT_EQ(packTime(1), 0u);
    EXPECT_EQ(packTime(4500001 + 1234), (12u << 24) | (30u << 16) | (12u << 8) | 34u);
    KeyedFile& dry = open(VenDry);
    ASSERT_TRUE(dry.primeRecord().ok());
    dry.rec().set(DRY::BTIME, 1);
    dry.rec().set(DRY::ETIME, 4501235);
    ASSERT_TRUE(dry.insert().ok());
    dry.rec().clear();
    ASSERT_TRUE(dry.getById(dry.currentId()).ok());
    EXPECT_EQ(dry.rec().num(DRY::BTIME), 0);
    EXPECT_EQ(dry.rec().num(DRY::ETIME), 4501235);
}

TEST_F(Files, ChronologicalReadingAndPositioning)
{
    KeyedFile& dry = open(VenDry);
    for (int day : {82003, 82001, 82002}) {
        ASSERT_TRUE(dry.primeRecord().ok());
        dry.rec().set(DRY::BDATE, day);
        ASSERT_TRUE(dry.insert().ok());
    }
    dry.rec().clear();
    dry.rec().set(DRY::BDATE, 82002);
    dry.setFromBuffer(DRY::CHRONOKEY);
    ASSERT_TRUE(dry.next().ok());
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82002);
    ASSERT_TRUE(dry.next().ok());
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82003);
    EXPECT_EQ(dry.next().code, Err::EndOfFile);
    ASSERT_TRUE(dry.previous().ok());
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82003);

    // Saving and restoring buffer and position.
    auto saved = dry.save();
    dry.set(DRY::CHRONOKEY);
    dry.next();
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82001);
    dry.restore(*saved);
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82003);
    ASSERT_TRUE(dry.previous().ok());
    EXPECT_EQ(dry.rec().num(DRY::BDATE), 82002);
}

TEST_F(Files, AChangeByAnotherStationIsRefused)
{
    Context other;
    KeyedFile& mine = open(VenIdea);
    ASSERT_TRUE(mine.primeRecord().ok());
    mine.rec().set(IDE::NAME, "first");
    ASSERT_TRUE(mine.insert().ok());
    KeyedFile& theirs = other.file(VenIdea);
    theirs.open();
    theirs.rec().set(IDE::NUMBER, 1);
    ASSERT_TRUE(theirs.get(IDE::IDE_KEY).ok());
    theirs.rec().set(IDE::NAME, "theirs");
    ASSERT_TRUE(theirs.update().ok());
    mine.rec().set(IDE::NAME, "mine");
    Status st = mine.update();
    EXPECT_EQ(st.message, 7);
    EXPECT_EQ(messageTitle(7), "Record Was Not Updated");
}

TEST(FileFaults, ForeignOrCorruptFilesAndUncreatableFolders)
{
    DataFolder folder;
    {
        QFile junk(folder.path("VenDays.tps"));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'z'));
    }
    Context ctx;
    Status st = ctx.file(VenDays).open();
    EXPECT_EQ(st.message, 23);
    EXPECT_TRUE(st.text.startsWith("File (VenDays) could not be opened.  Error: ")) << st.text.toStdString();
    EXPECT_TRUE(st.text.endsWith("  Press OK to close this window."));
    EXPECT_EQ(QFile(folder.path("VenDays.tps")).size(), 4096) << "nothing touched";

    // Another data file copied under this one's name is not ours either.
    ASSERT_TRUE(ctx.file(VenWav).open().ok());
    ctx.file(VenWav).close();
    Store::instance().closeIdle();
    QFile::copy(folder.path("VenWav.tps"), folder.path("VenLit.tps"));
    EXPECT_EQ(ctx.file(VenLit).open().message, 23);

    Store::instance().setFolder("/dev/null/nowhere");
    st = ctx.file(VenIdea).open();
    EXPECT_EQ(st.message, 10);
    EXPECT_TRUE(st.text.startsWith("Error: (")) << st.text.toStdString();
    EXPECT_TRUE(st.text.contains("creating VenIdea."));
}

} // namespace

namespace {

TEST_F(Files, ABatchStoresAllOrNothing)
{
    KeyedFile& dry = open(VenDry);
    {
        WriteBatch batch(dry);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(dry.primeRecord().ok());
            ASSERT_TRUE(dry.insert().ok());
        }
        // abandoned: nothing stays
    }
    EXPECT_EQ(dry.records(), 0);
    {
        WriteBatch batch(dry);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(dry.primeRecord().ok());
            ASSERT_TRUE(dry.insert().ok());
        }
        ASSERT_TRUE(batch.commit().ok());
    }
    EXPECT_EQ(dry.records(), 3);
    dry.set(DRY::NUMBER_KEY);
    ASSERT_TRUE(dry.previous().code == Err::EndOfFile);
    dry.setToEnd(DRY::NUMBER_KEY);
    ASSERT_TRUE(dry.previous().ok());
    EXPECT_EQ(dry.rec().num(DRY::NUMBER), 3);
}

} // namespace
