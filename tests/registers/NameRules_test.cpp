// The names register's rules as tables: telephone numbers, zip codes,
// e-mail addresses and home pages across countries, the proposed address
// with accented names, accents taken out, and the label's lines.
#include "data/Dictionary.h"
#include "registers/LabelRp.h"
#include "registers/NameRules.h"

#include <gtest/gtest.h>

namespace ven {
namespace {

CountryPrefixes country(const char* tel, const char* zip, const char* suffix)
{
    Record r(&VenCountry);
    r.set(CNT::TEL, tel);
    r.set(CNT::ABBR, zip);
    r.set(CNT::NETSUFFIX, suffix);
    return prefixesOf(r);
}

class NameRules : public ::testing::Test {
protected:
    const CountryPrefixes kFinland = country("358", "FIN", "fi");
    const CountryPrefixes kSweden = country("+46", "S", ".se");  // typed with "+" and "."
    const CountryPrefixes kNone{};
};

TEST_F(NameRules, TelephoneNumbersGetTheirCountrysPrefixOnce)
{
    struct Case {
        const char* typed;
        const CountryPrefixes* c;
        const char* stored;
    };
    const Case cases[] = {
        {"09 123 45", &kFinland, "+358-9 123 45"},
        {"555 12", &kFinland, "+358-555 12"},
        {"+1 555 0100", &kFinland, "+1 555 0100"},
        {"+358-9 123 45", &kFinland, "+358-9 123 45"},  // accepted again: unchanged
        {"0046 8 123", &kFinland, "+46 8 123"},         // an international call as typed
        {"08 123", &kSweden, "+46-8 123"},              // no "++46"
        {"09 123", &kNone, "09 123"},                   // no country known: as typed
        {"", &kFinland, ""},
        {"0123456789012345678901234567", &kFinland, "0123456789012345678901234567"},  // would not fit in 29
    };
    for (const Case& c : cases)
        EXPECT_EQ(withTelPrefix(QString::fromUtf8(c.typed), *c.c, 29), QString::fromUtf8(c.stored)) << c.typed;
}

TEST_F(NameRules, ZipCodesThatBeginWithADigitGetTheCountry)
{
    const CountryPrefixes germany = country("49", "D", "de");
    EXPECT_EQ(withZipPrefix("10115", germany, 19), "D-10115");
    EXPECT_EQ(withZipPrefix("D-10115", germany, 19), "D-10115");
    EXPECT_EQ(withZipPrefix("SW1A 1AA", germany, 19), "SW1A 1AA");
    EXPECT_EQ(withZipPrefix("00100", kFinland, 19), "FIN-00100");
    EXPECT_EQ(withZipPrefix("00100", kNone, 19), "00100");
    EXPECT_EQ(withZipPrefix("123456789012345678", germany, 19), "123456789012345678");  // 20 with "D-"
}

TEST_F(NameRules, TypedEmailAddresses)
{
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        {"Jörg Müller.de", "jorg@muller.de"},
        {"a b c.fi", "a@b_c.fi"},        // the first blank is the "@", the second "_"
        {"a@b.fi x", "a@b.fi_x"},        // already has its "@": no second one
        {"Åsa Öberg.SE", "asa@oberg.se"},
        {"straße@grüß.de", "strasse@gruss.de"},
        {"łukasz@wrocław.pl", "lukasz@wroclaw.pl"},
        {"  x@y.fi  ", "x@y.fi"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(typedEmail(QString::fromUtf8(c.typed), 80), QString::fromUtf8(c.stored)) << c.typed;
}

TEST_F(NameRules, TheProposedAddressNeedsANameAnOrganisationAndASuffix)
{
    EXPECT_EQ(proposedEmail("Päivi", "Ääkkönen", "Acme", kFinland, 80), "paivi.aakkonen@acme.fi");
    EXPECT_EQ(proposedEmail("Anna", "", "Acme Oy", kSweden, 80), "anna@acmeoy.se");
    EXPECT_EQ(proposedEmail("", "", "Acme", kFinland, 80), "");   // no made-up ".@acme.fi"
    EXPECT_EQ(proposedEmail("Anna", "Berg", "", kFinland, 80), "");
    EXPECT_EQ(proposedEmail("Anna", "Berg", "Acme", kNone, 80), "");
}

// A proposal is always an address a mail server takes: the host keeps
// letters, digits and inner hyphens, the names what a local part holds.
TEST_F(NameRules, TheProposedAddressIsAValidAddress)
{
    struct Case {
        const char *first, *last, *org, *proposed;
    };
    const Case cases[] = {
        {"Jean-Luc", "De La Cruz", "D'Arcy & Co", "jean-luc.delacruz@darcyco.fi"},
        {"Åsa", "Öberg", "Öresund Lä-Data", "asa.oberg@oresundla-data.fi"},
        {"Ann", "Lee", "-Smith_&_Sons- (UK)", "ann.lee@smithsons-uk.fi"},
        {"Ann", "Lee", "A -- B", "ann.lee@a-b.fi"},
        {"J.R.", ".Ewing", "Oil 2000", "j.r.ewing@oil2000.fi"},
        {"Ægir", "Łaski", "Straße", "aegir.laski@strasse.fi"},
        {"Ann", "<Lee>", "Acme", "ann.lee@acme.fi"},
        {"伟", "王", "北京公司", ""},         // nothing of the host is left
        {"伟", "王", "Acme", ""},             // nor of the names
        {"Ivan", "Петров", "Acme", "ivan@acme.fi"},
        {"Ann", "Lee", "& _ - ()", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(proposedEmail(QString::fromUtf8(c.first), QString::fromUtf8(c.last), QString::fromUtf8(c.org), kFinland, 80),
                  QString::fromUtf8(c.proposed))
            << c.first << " / " << c.last << " / " << c.org;
}

TEST_F(NameRules, HomePagesGetASchemeOnlyWhenTheyHaveNone)
{
    EXPECT_EQ(withScheme("www.example.fi", 80), "http://www.example.fi");
    EXPECT_EQ(withScheme("https://example.fi/a b", 80), "https://example.fi/a b");  // escaped when opened, not rewritten
    EXPECT_EQ(withScheme("HTTP://example.fi", 80), "HTTP://example.fi");
    EXPECT_EQ(withScheme("", 80), "");
}

TEST_F(NameRules, StripAccentsKeepsCaseAndOtherCharacters)
{
    EXPECT_EQ(StripAccents(QString::fromUtf8("ÀÉÎÕÜ àéîõü Ññ Çç ÷  ")), QString::fromUtf8("AEIOU_aeiou_Nn_Cc_÷"));
    EXPECT_EQ(StripAccents(QString(300, u'x')).size(), 255);
}

TEST_F(NameRules, LabelLinesSplitTheCountryFromTheCity)
{
    Record r(&VenStick);
    r.set(STI::FIRSTNAME, "");
    r.set(STI::LASTNAME, "Berg");
    r.set(STI::ZIPCODE, "S-11122");
    r.set(STI::CITY, "Stockholm/Sweden");
    r.set(STI::COUNTRY, "Ignored");
    LabelLines l = labelLines(r);
    EXPECT_EQ(l.name, "Berg");
    EXPECT_EQ(l.zipCity, "S-11122  Stockholm");
    EXPECT_EQ(l.country, "Sweden");
    r.set(STI::CITY, "A/B/C");
    r.set(STI::ZIPCODE, "");
    l = labelLines(r);
    EXPECT_EQ(l.zipCity, "A/B");
    EXPECT_EQ(l.country, "C");
}

} // namespace
} // namespace ven
