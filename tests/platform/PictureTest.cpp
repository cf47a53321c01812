// Picture codes: formatting, parsing back, rounding and malformed codes.
#include "platform/DateTime.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>
#include <limits>

using namespace ven;

namespace {
const int32_t kDec9 = 82526;  // 9 December 2026
const int32_t kMar5 = 81517;  // 5 March 2024
const int32_t k0815 = 2970201;  // 08:15:02.00
}

TEST(Picture, FormatsDatesAndTimes)
{
    ASSERT_EQ(dayNumber(2024, 3, 5), kMar5);
    ASSERT_EQ(timeValue(8, 15, 2), k0815);
    struct Case { const char* picture; int32_t value; const char* shown; };
    const Case cases[] = {
        {"D06-B", kDec9, "09-12-2026"}, {"D6", kDec9, " 9/12/2026"},   {"d6.", kMar5, " 5.03.2024"},
        {"D6_", kDec9, " 9 12 2026"},   {"D6`", kDec9, " 9,12,2026"},  {"@D06-B", kMar5, "05-03-2024"},
        {"D10-", kMar5, "2024-03-05"},  {"d010-b", kMar5, "2024-03-05"}, {"D012", kMar5, "20240305"},
        {"D06-B", 4, "01-01-1801"},     {"D10-", kLastDay, "9999-12-31"},
        {"D06-B", 0, ""},               {"D6", 0, ""},                 {"D6", 3, ""},
        {"D6", kLastDay + 1, ""},       {"D6", -7, ""},
        {"T01.", k0815, "08.15"},       {"T1.B", k0815, " 8.15"},      {"T01B", k0815, "08:15"},
        {"T04", k0815, "08:15:02"},     {"T04.", k0815, "08.15.02"},   {"T4_B", k0815, " 8 15 02"},
        {"T05", k0815, "081502"},       {"t5", k0815, " 81502"},       {"T8", 360001, "1:00:00"},
        {"T04", 1, "00:00:00"},         {"T04", kLastTime, "23:59:59"}, {"T04", timeValue(8, 15, 2, 99), "08:15:02"},
        {"T04", 0, ""},                 {"T04B", 0, ""},               {"T04", kLastTime + 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format(Picture::parse(QString::fromLatin1(c.picture)), c.value), QString::fromLatin1(c.shown))
            << c.picture << " " << c.value;
}

TEST(Picture, FormatsNumbers)
{
    struct Case { const char* picture; double value; const char* shown; };
    const Case cases[] = {
        {"N02", 7, "07"},           {"N04", 2025, "2025"},        {"n1", 3, "3"},
        {"n03", 0, "000"},          {"n03B", 0, ""},              {"n_6", 0, "     0"},
        {"n_6B", 1234, "  1234"},   {"N*6", 12, "****12"},        {"n5", 4, "4"},
        {"n-5~y~", 45, "45y"},      {"N~$~10.2", 1234.5, "$1,234.50"},
        {"n10.2", 1234.5, "1,234.50"}, {"n10.2", -1234.5, "-1,234.50"}, {"n10.2", 0.5, "0.50"},
        {"N14_", 1234567, "1 234 567"}, {"N-_14.2", -1234.5, "      -1234.50"},
        {"N-04B", -5, "-005"},      {"N010.2", 1234.5, "0001234.50"},
        {"N-20_.9B", 1234.5, "1 234.500000000"}, {"N-20_.9B", 0, ""},
        // rounding half away from zero, on the decimal value as written
        {"n5.2", 2.675, "2.68"},    {"n5.2", 1.005, "1.01"},      {"n-5.2", -2.675, "-2.68"},
        {"n3", 2.5, "3"},           {"n-3", -2.5, "-3"},          {"n3", 2.4999, "2"},
        {"n5.2", -0.004, "0.00"},   {"n5.2B", -0.004, ""},        {"n8.2", 999.995, "1,000.00"},
        // digits that do not fit: a row of "#" of the picture's size
        {"n3", 1000, "###"},        {"N1", 10, "#"},              {"n5.2", 999.995, "#####"},
        {"n5", 12345, "#####"},     {"n6", 12345, "12,345"},      {"N-_6", -123456, "######"},
        {"n3", std::numeric_limits<double>::infinity(), "###"},
        // letter case of the code does not matter; the suffix keeps its own
        {"N_6b", 0, ""},            {"n-5~Y~", 3, "3Y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, QString::fromLatin1(c.picture)), QString::fromLatin1(c.shown))
            << c.picture << " " << c.value;
}

TEST(Picture, FormatsTexts)
{
    EXPECT_EQ(format(Picture::parse(u"s5"), QStringLiteral("abcdefg")), "abcde");
    EXPECT_EQ(format(Picture::parse(u"@S20"), QStringLiteral("Hi")), "Hi");
    EXPECT_EQ(Picture::parse(u"@s20").width(), 20);
    EXPECT_EQ(Picture::parse(u"D06-B").width(), 10);
    EXPECT_EQ(Picture::parse(u"n-5~y~").width(), 6);
}

TEST(Picture, MalformedPicturesShowThePlainValue)
{
    for (const char* code : {"", "@", "X12", "D7", "D0", "T9", "N", "N0", "N5.", "N~abc", "N5x", "s0", "s",
                             "D06-BB", "T01..", "pPage <<<#p", "N-_"}) {
        Picture p = Picture::parse(QString::fromLatin1(code));
        EXPECT_FALSE(p.isValid()) << code;
        EXPECT_EQ(format(p, 42), "42") << code;
        EXPECT_FALSE(parse(p, u"42")) << code;
    }
    // A value of the wrong kind is shown as it is.
    EXPECT_EQ(format(Picture::parse(u"n5"), QStringLiteral("abc")), "abc");
    EXPECT_FALSE(parseDate(u"09-12-2026", u"n5"));
}

TEST(Picture, ParsesEntries)
{
    struct Case { const char* picture; const char* text; std::optional<double> value; };
    const std::optional<double> bad;
    const Case cases[] = {
        {"D06-B", "09-12-2026", kDec9}, {"D06-B", " 9-12-2026", kDec9}, {"D6", "9/12/2026", kDec9},
        {"D10-", "2024-03-05", kMar5},  {"D012", "20240305", kMar5},   {"D6_", "9 12 2026", kDec9},
        {"D06-B", "", 0},               {"D06-B", "   ", 0},
        {"D06-B", "31-02-2026", bad},   {"D06-B", "29-02-2023", bad},  {"D06-B", "09/12/2026", bad},
        {"D06-B", "9-12-26", bad},      {"D06-B", "31-12-1800", bad},  {"D06-B", "1-1-10000", bad},
        {"D012", "2024035", bad},       {"D06-B", "0a-12-2026", bad},  {"D10-", "2024-13-01", bad},
        {"T01.", "08.15", k0815 - 200}, {"T1.B", " 8.15", k0815 - 200}, {"T04", "08:15:02", k0815},
        {"T05", "081502", k0815},       {"T05", " 81502", k0815},      {"T04", "23:59:59", kLastTime - 99},
        {"T04", "", 0},
        {"T01.", "25.00", bad},         {"T04", "24:00:00", bad},      {"T01.", "8.60", bad},
        {"T04", "08:15", bad},          {"T01.", "08:15", bad},        {"T05", "8150", bad},
        {"n10.2", "1,234.50", 1234.5},  {"n10.2", "1234.5", 1234.5},   {"n10.2", " 12 ", 12},
        {"n10.2", "", 0},               {"N-_14.2", "-1234.567", -1234.57}, {"n5.2", "2.675", 2.68},
        {"n-5~y~", "45y", 45},          {"N-20_.9B", "-1 234.5", -1234.5}, {"N~$~10.2", "$ 12.5", 12.5},
        {"n03", "007", 7},              {"N*6", "****12", 12},
        {"n10.2", "-5", bad},           {"n3", "1000", bad},           {"n3", "abc", bad},
        {"n_6", "1,234", bad},          {"n10.2", "1.2.3", bad},       {"n10.2", "12.3,4", bad},
        {"n10.2", "-", bad},            {"n10.2", ".", bad},
    };
    for (const Case& c : cases) {
        auto got = parse(Picture::parse(QString::fromLatin1(c.picture)), QString::fromLatin1(c.text));
        ASSERT_EQ(got.has_value(), c.value.has_value()) << c.picture << " '" << c.text << "'";
        if (got) {
            EXPECT_DOUBLE_EQ(got->toDouble(), *c.value) << c.picture << " '" << c.text << "'";
        }
    }
    EXPECT_EQ(parse(Picture::parse(u"s5"), u"abc")->toString(), "abc");
    EXPECT_FALSE(parse(Picture::parse(u"s5"), u"abcdef"));
}

// What a picture shows reads back as the same value.
TEST(Picture, FormatAndParseRoundTrip)
{
    for (const char* code : {"D06-B", "D6", "D10-", "D012", "d6_"}) {
        Picture p = Picture::parse(QString::fromLatin1(code));
        for (int32_t day = kFirstDay; day <= kLastDay; day += 997)
            ASSERT_EQ(parseDate(format(p, day), QString::fromLatin1(code)), day) << code << " " << day;
        ASSERT_EQ(parseDate(format(p, kLastDay), QString::fromLatin1(code)), kLastDay);
    }
    for (const char* code : {"T04", "T4_B", "T05", "t5", "T8"}) {
        Picture p = Picture::parse(QString::fromLatin1(code));
        for (int32_t time = 1; time <= kLastTime; time += 700)
            ASSERT_EQ(parseTime(format(p, time), QString::fromLatin1(code)), time) << code << " " << time;
    }
    for (const char* code : {"N-_14.2", "n10.2", "N-20_.9B", "N-014.3", "n-5~y~", "N*12.1"}) {
        Picture p = Picture::parse(QString::fromLatin1(code));
        for (double v : {0.0, 1.0, 12.5, 999.99, 1234.5, 98765.432, -0.25, -4321.0}) {
            QString shown = format(p, v);
            if (shown.startsWith(u'#') || (v < 0 && !p.minus))
                continue;
            auto back = parse(p, shown);
            ASSERT_TRUE(back) << code << " '" << shown.toStdString() << "'";
            EXPECT_EQ(format(p, *back), shown) << code;
        }
    }
}
