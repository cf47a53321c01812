// The diary reports printed to PDF and read back: the programme days from
// 06:00 to 06:00 with their groups, tape texts and long durations, the
// telephone report's contact lines, the orders, blank times, long memos
// over pages, and a window without entries.
#include "DiaryKit.h"

#include "app/Procedures.h"
#include "calendar/DiaryBr.h"
#include "calendar/DiaryPhoRp.h"
#include "calendar/DiaryReport.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QFile>
#include <QRegularExpression>

namespace ven::test {
namespace {

class DiaryReportsTest : public testing::Test {
protected:
    DiaryReportsTest()
    {
        InitDataFiles();
        DefineProcedures();
    }
    ~DiaryReportsTest() override { clearProcedures(); }

    // Runs a report by name; the PDF's text, empty when nothing printed.
    QString print(const QString& report, const QString& parameters)
    {
        QFile::remove(kit.folder("report.pdf"));
        uint8_t response = 0;
        callProcedure(report, NoRequest, [&response](uint8_t r) { response = r; }, parameters);
        kit.settle();
        kit.wait(3000);
        lastResponse = response;
        if (!QFile::exists(kit.folder("report.pdf")))
            return {};
        // One blank between words, as the layout reads back; no ligatures.
        QString text = WindowKit::pdfText(kit.folder("report.pdf"));
        text.replace(QChar(0xFB01), "fi").replace(QChar(0xFB00), "ff").replace(QChar(0xFB02), "fl");
        return text.simplified();
    }
    static QString params(int order, int category, int32_t bd, int32_t bt, int32_t ed, int32_t et)
    {
        return QStringLiteral("%1,%2,%3,%4,%5,%6").arg(order).arg(category).arg(bd).arg(bt).arg(ed).arg(et);
    }
    static bool inOrder(const QString& text, const QStringList& words)
    {
        qsizetype from = 0;
        for (const QString& word : words) {
            const QString w = word.simplified();
            from = text.indexOf(w, from);
            if (from < 0)
                return false;
            from += w.size();
        }
        return true;
    }
    WindowKit kit;
    uint8_t lastResponse = 0;
};

TEST_F(DiaryReportsTest, ProgrammeDaysRunFromSixToSix)
{
    addEntries({
        {4, dec(3), at(22, 0), dec(3), at(23, 0), "LateNews", "", 0, 0, "5", "12"},
        {4, dec(4), at(1, 0), dec(4), at(2, 0), "NightFilm", "", 0, 0, "7", "999"},
        {4, dec(4), at(5, 59), dec(4), at(6, 30), "EarlyShow", "", 0, 0, "2", "0"},
        {4, dec(4), at(6, 0), dec(5), at(7, 30), "MorningMarathon"},
        {4, dec(4), at(7, 0), dec(4), at(8, 0), "Breakfast"},
        {3, dec(4), at(7, 0), dec(4), at(8, 0), "NotAProgramme"},
    });
    // The browse's day runs: each programme prints in one day only.
    const QString third = print("DiaryExtRp", params(1, 4, dec(3), kProgramDayBegins, dec(4), kProgramDayEnds));
    EXPECT_TRUE(QString(third).remove(' ').contains("Programs"));
    EXPECT_TRUE(third.contains("Page 1"));
    EXPECT_TRUE(inOrder(third, {"LateNews", "NightFilm", "EarlyShow"})) << third.toStdString();
    EXPECT_FALSE(third.contains("MorningMarathon"));
    EXPECT_FALSE(third.contains("NotAProgramme"));
    EXPECT_TRUE(third.contains("012"));
    EXPECT_TRUE(third.contains("22.00-23.00"));
    EXPECT_TRUE(third.contains(" 1.00"));
    const QString fourth = print("DiaryExtRp", params(1, 4, dec(4), 0, dec(5), 0));  // blank times: the same day
    EXPECT_TRUE(inOrder(fourth, {"MorningMarathon", "Breakfast"})) << fourth.toStdString();
    EXPECT_FALSE(fourth.contains("EarlyShow"));
    EXPECT_TRUE(fourth.contains("25.30"));  // a duration past 24 hours

    // Over two whole days: 06:00 on the 4th begins the next day's group,
    // 05:59 stays in the 3rd's; each group's footer shows its day.
    const QString both = print("DiaryExtRp", params(1, 4, dec(3), 1, dec(4), kLastTime));
    EXPECT_TRUE(inOrder(both, {"Thursday 2026-12-03", "LateNews", "NightFilm", "EarlyShow", "Thursday 2026-12-03",
                               "MorningMarathon", "Breakfast", "Friday 2026-12-04"}))
        << both.toStdString();
    EXPECT_TRUE(both.contains(QRegularExpression("\\s\\*\\s")));
}

// Print in an extra browse over two months: one report over the range with
// a group for each programme day that has programmes, and no message for
// the days without.
TEST_F(DiaryReportsTest, ExtraBrowseOverMonthsPrintsOneReport)
{
    const int32_t jan15 = dayNumber(2027, 1, 15), jan31 = dayNumber(2027, 1, 31);
    addEntries({
        {4, dec(3), at(20, 0), dec(3), at(21, 0), "FirstFilm"},
        {4, dec(20), at(2, 0), dec(20), at(3, 0), "NightShow"},  // before 06:00: the 19th's programme day
        {4, jan15, at(18, 0), jan15, at(19, 0), "LastNews"},
    });
    int reports = 0;
    ReportDestination d = reportDestination();
    d.printed = [&reports](std::shared_ptr<const ReportPages>) { ++reports; };
    setReportDestination(d);
    kit.start([jan31] { return makeDiaryBr(DiaryPeriod{4, dec(1), 1, jan31, kLastTime}); });
    ASSERT_EQ(kit.rows("DiaryBr"), 3);
    kit.press("DiaryBr", "Print");
    kit.waitUntil([&] { return !kit.isOpen("DiaryExtRp") && reports > 0; }, 120000, 100);
    EXPECT_TRUE(kit.boxes().empty()) << kit.boxes().size() << " message boxes";
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(kit.isOpen("DiaryBr"));
    const QString text = WindowKit::pdfText(kit.folder("report.pdf")).simplified();
    // Each day's footer shows its day line.
    EXPECT_TRUE(inOrder(text, {"FirstFilm", "Thursday 2026-12-03", "NightShow", "Saturday 2026-12-19", "LastNews",
                               "Friday 2027-01-15"}))
        << text.toStdString();
    EXPECT_FALSE(text.contains("2026-12-04"));  // a day without programmes takes no room
}

TEST(DiaryPhoRp, ContactLinesTakeTheGivenPartsOnly)
{
    Record n(&VenNam);
    n.set(NAM::LASTNAME, "Doe");
    n.set(NAM::FAX, "555 12");
    EXPECT_EQ(contactLines(n), QStringList({"Doe", "Fax:  555 12", "", ""}));
    n.set(NAM::ORG, " Acme ");
    n.set(NAM::FIRSTNAME, "John");
    n.set(NAM::TEL2, "222");
    n.set(NAM::CITY, "Turku");
    n.set(NAM::URL, "acme.fi");
    EXPECT_EQ(contactLines(n), QStringList({"Acme:  Doe,  John", "Cellular:  222 Fax:  555 12", "Address: Turku",
                                            "HomePage: acme.fi"}));
    n.clear();
    n.set(NAM::FIRSTNAME, "Ann");
    n.set(NAM::STREET, "Main 1");
    n.set(NAM::TEL1, "111");
    n.set(NAM::EMAIL, "a@b.fi");
    EXPECT_EQ(contactLines(n), QStringList({"Ann", "Telephone: 111", "Address: Main 1", "E-Mail: a@b.fi"}));
}

TEST_F(DiaryReportsTest, TelephoneReportShowsTheContactLines)
{
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenNam);
        ASSERT_TRUE(f.open());
        auto add = [&f](int recno, std::initializer_list<std::pair<uint16_t, const char*>> fields) {
            f.rec().clear();
            f.rec().set(NAM::RECNO, recno);
            for (const auto& [field, v] : fields)
                f.rec().set(field, v);
            ASSERT_TRUE(f.add());
        };
        add(1, {{NAM::LASTNAME, "Doe"}, {NAM::FAX, "555 12"}});
        add(2, {{NAM::ORG, "Acme"}, {NAM::LASTNAME, "Roe"}, {NAM::FIRSTNAME, "Ann"}, {NAM::TEL1, "111"},
                {NAM::TEL2, "222"}, {NAM::STREET, "Main 1"}, {NAM::CITY, "Turku"}, {NAM::EMAIL, "a@acme.fi"},
                {NAM::URL, "acme.fi"}});
    }
    addEntries({
        {0, dec(9), at(11, 0), 0, 0, "Zebra order", "Call back", 1, 2},
        {0, dec(9), at(9, 0), 0, 0, "Apple offer", "", 2, 9},
        {0, dec(9), at(10, 0), 0, 0, "Mango talk"},
    });
    const QString text = print("DiaryPhoRp", params(1, 0, dec(9), 1, dec(9), kLastTime));
    EXPECT_TRUE(QString(text).remove(' ').startsWith("Telephone/FaxReport"));
    EXPECT_TRUE(inOrder(text, {"Apple offer", "Mango talk", "Zebra order"}));
    EXPECT_TRUE(inOrder(text, {"Zebra order", "Acme:  Roe,  Ann", "Telephone: 111 Cellular:  222",
                               "Address: Main 1    Turku", "E-Mail: a@acme.fi HomePage: acme.fi"}))
        << text.toStdString();
    EXPECT_TRUE(text.contains("11.00 Doe Fax: 555 12 Re: Zebra order"));

    EXPECT_TRUE(inOrder(print("DiaryPhoRp", params(2, 0, dec(9), 1, dec(9), kLastTime)),
                        {"Apple offer", "Mango talk", "Zebra order"}));
    EXPECT_TRUE(inOrder(print("DiaryPhoRp", params(5, 0, dec(9), 1, dec(9), kLastTime)),
                        {"Zebra order", "Apple offer", "Mango talk"}));
}

TEST_F(DiaryReportsTest, EachReportPrintsItsCategoryOverTheWindow)
{
    QString memo;
    for (int i = 0; i < 300; ++i)
        memo += QStringLiteral("m%1 ").arg(i, 3, 10, QChar('0'));
    addEntries({
        {1, dec(9), at(6, 0), dec(9), at(7, 0), "AtSix"},
        {1, dec(9), at(6, 1), dec(11), at(9, 31), "Planning", memo},
        {1, dec(10), at(5, 59), dec(10), at(6, 0), "BeforeSix"},
        {1, dec(10), at(6, 1), dec(10), at(7, 0), "NextDay"},
        {2, dec(9), at(9, 0), 0, 0, "Shopping list"},
        {3, dec(9), at(9, 0), dec(9), at(10, 0), "Board meeting"},
    });
    // Blank times: from just after 06:00 of the begin day to just before 06:00 of the next.
    const QString projects = print("DiaryProRp", params(1, 1, dec(9), 0, 0, 0));
    EXPECT_TRUE(QString(projects).remove(' ').startsWith("Projects"));
    EXPECT_TRUE(inOrder(projects, {"AtSix", "Planning", "BeforeSix"})) << projects.toStdString();
    EXPECT_FALSE(projects.contains("NextDay"));
    EXPECT_TRUE(projects.contains("51.30"));  // 06:01 on the 9th to 09:31 on the 11th
    EXPECT_TRUE(projects.contains("2026-12-11"));
    // The whole memo, wrapped, none of it lost.
    int found = 0;
    for (int i = 0; i < 300; ++i)
        found += projects.contains(QStringLiteral("m%1").arg(i, 3, 10, QChar('0')));
    EXPECT_EQ(found, 300);

    EXPECT_TRUE(print("DiaryNotRp", params(1, 2, dec(9), 1, dec(9), kLastTime)).contains("Shopping list"));
    const QString meetings = print("DiaryMemRp", params(1, 3, dec(9), 1, dec(9), kLastTime));
    EXPECT_TRUE(QString(meetings).remove(' ').startsWith("Memorandums"));
    EXPECT_TRUE(meetings.contains("Board meeting"));
    EXPECT_TRUE(meetings.contains("Wednesday 2026-12-09"));
    EXPECT_TRUE(kit.boxes().empty());

    // No entry in the window: the framework's message, nothing printed.
    EXPECT_TRUE(print("DiaryMemRp", params(1, 3, dec(20), 1, dec(21), kLastTime)).isEmpty());
    EXPECT_EQ(lastResponse, RequestCancelled);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "There are no records available to process.");
}

} // namespace
} // namespace ven::test
