// Text keys in the user's language order: names read back, located and
// limited as the language sorts them, case and trailing blanks aside; a file
// whose keys were built under another order is rebuilt when opened.
#include "DataFolder.h"

#include "platform/Collation.h"

#include <sqlite3.h>

#include <cstring>

using namespace ven;

namespace {

struct Collation : ven::test::DataFilesTest {
    ~Collation() override { setCollation({}); }

    void addNames(KeyedFile& nam, const std::vector<QString>& names)
    {
        for (const QString& n : names) {
            nam.rec().clear();
            nam.rec().set(NAM::LASTNAME, n);
            ASSERT_TRUE(nam.add().ok()) << n.toStdString();
        }
    }

    // The last names read from the buffer's position on in the key's order.
    static std::vector<QString> readOn(KeyedFile& f, uint16_t field)
    {
        std::vector<QString> out;
        while (f.next().ok())
            out.push_back(f.rec().str(field));
        return out;
    }
};

// The names in a mixed order, as typed.
const std::vector<QString> kNames = {"Öberg", "Zola",  "ärlig", "Ångström", "Aalto", "Łaski", "Lund",
                                     "Mäki",  "Mazur", "Nyman", "Ñúñez",    "Otto",  "Oberg", "Ørsted"};

struct LanguageOrder {
    const char* locale;
    std::vector<QString> order;
    QString afterZzz;  // where a locator typed "Zzz" lands; blank: past the end
};

TEST_F(Collation, NamesSortAsTheLanguageSortsThem)
{
    const LanguageOrder kCases[] = {
        // Finnish and Swedish: Å, Ä, Ö after Z, Å first; Æ and Ø as Ä and Ö.
        {"fi_FI.UTF-8",
         {"Aalto", "Łaski", "Lund", "Mazur", "Mäki", "Ñúñez", "Nyman", "Oberg", "Otto", "Zola", "Ångström",
          "ärlig", "Öberg", "Ørsted"},
         "Ångström"},
        {"sv_SE",
         {"Aalto", "Łaski", "Lund", "Mazur", "Mäki", "Ñúñez", "Nyman", "Oberg", "Otto", "Zola", "Ångström",
          "ärlig", "Öberg", "Ørsted"},
         "Ångström"},
        // German, and the C locale (the Unicode default): accents among the letters.
        {"de_DE",
         {"Aalto", "Ångström", "ärlig", "Łaski", "Lund", "Mäki", "Mazur", "Ñúñez", "Nyman", "Oberg", "Öberg",
          "Ørsted", "Otto", "Zola"},
         ""},
        {"C",
         {"Aalto", "Ångström", "ärlig", "Łaski", "Lund", "Mäki", "Mazur", "Ñúñez", "Nyman", "Oberg", "Öberg",
          "Ørsted", "Otto", "Zola"},
         ""},
        // Spanish Ñ after N; Polish Ł after L.
        {"es_ES",
         {"Aalto", "Ångström", "ärlig", "Łaski", "Lund", "Mäki", "Mazur", "Nyman", "Ñúñez", "Oberg", "Öberg",
          "Ørsted", "Otto", "Zola"},
         ""},
        {"pl_PL",
         {"Aalto", "Ångström", "ärlig", "Lund", "Łaski", "Mäki", "Mazur", "Ñúñez", "Nyman", "Oberg", "Öberg",
          "Ørsted", "Otto", "Zola"},
         ""},
    };
    for (const LanguageOrder& c : kCases) {
        SCOPED_TRACE(c.locale);
        setCollation(c.locale);
        Store::instance().closeIdle();
        QFile::remove(Store::instance().pathOf(VenNam));
        KeyedFile& nam = open(VenNam);
        addNames(nam, kNames);
        nam.set(NAM::SUKU_KEY);
        EXPECT_EQ(readOn(nam, NAM::LASTNAME), c.order);
        // A locator or a range's letters start where the language puts them.
        nam.rec().clear();
        nam.rec().set(NAM::LASTNAME, "Zzz");
        nam.setFromBuffer(NAM::SUKU_KEY);
        const std::vector<QString> after = readOn(nam, NAM::LASTNAME);
        EXPECT_EQ(after.empty() ? QString() : after.front(), c.afterZzz);
        // Case and trailing blanks do not count; accents do.
        nam.rec().clear();
        nam.rec().set(NAM::LASTNAME, "öBERG  ");
        ASSERT_TRUE(nam.get(NAM::SUKU_KEY).ok());
        EXPECT_EQ(nam.rec().str(NAM::LASTNAME), "Öberg");
        nam.close();
    }
}

// The countries' file made with its keys in another order: under code unit
// order before files noted their collation (no note at all), or under
// another language.
TEST_F(Collation, KeysBuiltUnderAnotherOrderAreRebuiltWhenTheFileOpens)
{
    for (const bool before : {true, false}) {
        SCOPED_TRACE(before ? "a file made before files noted their order" : "a file made under Finnish");
        setCollation("fi_FI");
        Store::instance().closeIdle();
        const QString path = Store::instance().pathOf(VenCountry);
        QFile::remove(path);
        {
            KeyedFile& cnt = open(VenCountry);
            for (const char* n : {"Österreich", "Åland", "United States", "Austria"}) {
                cnt.rec().clear();
                cnt.rec().set(CNT::NAME, QString::fromUtf8(n));
                ASSERT_TRUE(cnt.add().ok());
            }
            cnt.close();
        }
        Store::instance().closeIdle();
        if (before) {
            // The old engine's keys: code units, as the file held them.
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
            sqlite3_create_collation(db, "VENTEXT", SQLITE_UTF8, nullptr,
                                     [](void*, int n1, const void* a, int n2, const void* b) {
                                         const int r = std::memcmp(a, b, size_t(std::min(n1, n2)));
                                         return r ? r : n1 - n2;
                                     });
            EXPECT_EQ(sqlite3_exec(db,
                                   "REINDEX rec; CREATE TABLE old AS SELECT label, schema FROM ven_meta;"
                                   " DROP TABLE ven_meta; ALTER TABLE old RENAME TO ven_meta",
                                   nullptr, nullptr, nullptr),
                      SQLITE_OK)
                << sqlite3_errmsg(db);
            sqlite3_close(db);
        }
        setCollation("de_DE");
        KeyedFile& cnt = open(VenCountry);
        cnt.set(CNT::NAME_KEY);
        EXPECT_EQ(readOn(cnt, CNT::NAME), (std::vector<QString>{"Åland", "Austria", "Österreich", "United States"}));
        EXPECT_TRUE(cnt.checkIntegrity().ok());
        cnt.rec().clear();
        cnt.rec().set(CNT::NAME, "österreich");
        EXPECT_TRUE(cnt.get(CNT::NAME_KEY).ok());
        cnt.close();
    }
}

}  // namespace
