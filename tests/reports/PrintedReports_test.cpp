// Every report printed to PDF from one seeded data set that fills every
// field to its length (wide letters, long memos, a memo longer than a page,
// amounts at both ends of what the fields hold, many entries a day, several
// pages), then looked at word by word: nothing overprinted, crossed by a
// rule, cut off, off the paper or hashed, and every seeded value found whole
// on a page.
#include "PrintCheck.h"

#include "app/Procedures.h"
#include "calendar/DiaryReport.h"
#include "core/Globals.h"
#include "core/Money.h"
#include "core/OwnerProfile.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QFile>
#include <QImage>
#include <QProcess>

namespace ven::test {
namespace {

int32_t dec(int day) { return dayNumber(2026, 12, day); }
int32_t at(int h, int m) { return timeValue(h, m, 0); }

// A text of exactly `size` characters: the tag, then long words with
// capitals, so that a field at its full length is as wide as names get.
QString wide(int size, const QString& tag)
{
    static const QString kFill = QStringLiteral(" Wilhelmina Worthington-Mayweather McMurdo Wolframsdottir");
    QString s = tag;
    while (s.size() < size)
        s += kFill;
    s.truncate(size);
    if (s.endsWith(u' '))
        s[size - 1] = u'W';
    return s;
}

// A memo of numbered words: lines of about `width` characters, CR LF
// between them, `size` characters in all; or, with a width of 0, one long
// paragraph.
QString memo(int size, const QString& tag, int width = 70)
{
    QString m;
    int n = 0;
    int column = 0;
    while (m.size() < size - 12) {
        const QString word = QStringLiteral("%1w%2").arg(tag).arg(n++, 3, 10, QChar('0'));
        if (width > 0 && !m.isEmpty() && column + word.size() > width) {
            m += QStringLiteral("\r\n");
            column = 0;
        } else if (!m.isEmpty()) {
            m += u' ';
            ++column;
        }
        m += word;
        column += int(word.size());
    }
    return m;
}

// The words of a memo, each of which must print (a memo goes on over pages).
QStringList memoParts(const QString& m)
{
    return QString(m).replace(QLatin1String("\r\n"), QLatin1String(" ")).split(u' ', Qt::SkipEmptyParts);
}

// Blank-grouped money as the money report prints it ("-999 999.99").
QString money(Cents c)
{
    const bool minus = c < 0;
    QString whole = QString::number((minus ? -c : c) / 100);
    for (qsizetype k = whole.size() - 3; k > 0; k -= 3)
        whole.insert(k, u' ');
    return (minus ? QStringLiteral("-") : QString()) + whole
           + QStringLiteral(".%1").arg((minus ? -c : c) % 100, 2, 10, QChar('0'));
}

constexpr int kNames = 24, kLabels = 40, kEntriesADay = 12, kMoneyRows = 140;

struct Seeded {
    QStringList names, labels[4], diary[5], fax, moneyRows;
    std::vector<QStringList> name;  // each name's fields, from record 1
};

class PrintedReportsTest : public testing::TestWithParam<const char*> {
protected:
    PrintedReportsTest()
    {
        InitDataFiles();
        DefineProcedures();
        DateLine = QStringLiteral("Wednesday 09 December 2026, Week 50");
        CurrentUser = wide(30, QStringLiteral("User"));
        CurrentTime = at(10, 0);
        TelefaxDevice = QStringLiteral("FaxQueue");
        ReportDestination d = reportDestination();
        d.printers = {TelefaxDevice};
        setReportDestination(d);
        seed();
    }
    ~PrintedReportsTest() override
    {
        clearProcedures();
        TelefaxDevice.clear();
        CurrentUser.clear();
        DateLine.clear();
    }

    static void add(const FileDef& def, const std::function<void(Record&)>& fill)
    {
        Context ctx;
        KeyedFile& f = ctx.file(def);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        fill(f.rec());
        ASSERT_TRUE(f.add());
    }

    void seed()
    {
        OwnerProfile me{wide(20, "Own"), wide(20, "Er"), wide(30, "Tel"), wide(30, "Cell"), wide(30, "Fax"),
                        wide(40, "Street"), wide(10, "Zip"), wide(30, "City"), wide(30, "Land"), wide(60, "Mail"),
                        wide(60, "Home")};
        ASSERT_TRUE(writeOwnerProfile(me));
        me = readOwnerProfile();  // as far as the profile holds them
        seen.fax << (me.FirstName + u' ' + me.LastName).left(40) << me.Telephone << me.Street << me.City << me.EMail
                 << me.HomePage;

        for (int i = 1; i <= kNames; ++i) {
            const QString t = QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
            const QString m = i % 3 == 0 ? memo(2040, "n" + t, i == 12 ? 1 : i % 2 == 0 ? 70 : 0) : i % 3 == 1 ? QString() : "Short memo " + t;
            const uint16_t fields[] = {NAM::ORG, NAM::FIRSTNAME, NAM::LASTNAME, NAM::TEL1, NAM::TEL2, NAM::FAX, NAM::STREET,
                                       NAM::ZIPCODE, NAM::CITY, NAM::COUNTRY, NAM::EMAIL, NAM::URL};
            const int sizes[] = {40, 20, 20, 29, 29, 29, 39, 19, 29, 31, 80, 80};
            const char* tags[] = {"Org", "Fn", "Ln", "T", "C", "F", "St", "Z", "Ci", "Co", "E", "H"};
            QStringList values;
            for (size_t k = 0; k < std::size(fields); ++k)
                values << wide(sizes[k], tags[k] + t);
            add(VenNam, [&](Record& r) {
                r.set(NAM::RECNO, i);
                for (size_t k = 0; k < std::size(fields); ++k)
                    r.set(fields[k], values[int(k)]);
                r.set(NAM::MEMORANDUM, m);
            });
            // The address and the net line are cut at 127 characters: the
            // country and the home page go last.
            seen.names << values.mid(0, 9) << values[10] << memoParts(m);
            seen.name.push_back(values);
        }

        // Labels: every field full; some cities carry their country after "/".
        const int cuts[4][5] = {{40, 40, 40, 40, 40}, {40, 60, 40, 60, 40}, {30, 30, 30, 30, 30}, {40, 40, 40, 60, 40}};
        for (int i = 1; i <= kLabels; ++i) {
            const QString t = QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
            const QString org = wide(40, "LOrg" + t), first = wide(20, "LF" + t), last = wide(20, "LL" + t),
                          street = wide(39, "LSt" + t), zip = wide(19, "LZ" + t), country = wide(31, "LCo" + t);
            const QString city = i % 4 == 0 ? wide(14, "LCi" + t) + "/" + wide(14, "LX" + t) : wide(29, "LCi" + t);
            add(VenStick, [&](Record& r) {
                r.set(STI::RECNO, i);
                r.set(STI::DUPLO, 1);
                r.set(STI::ORG, org);
                r.set(STI::FIRSTNAME, first);
                r.set(STI::LASTNAME, last);
                r.set(STI::STREET, street);
                r.set(STI::ZIPCODE, zip);
                r.set(STI::CITY, city);
                r.set(STI::COUNTRY, country);
            });
            const bool slash = city.contains(u'/');
            const QString lines[5] = {org, first + u' ' + last, street,
                                      zip + "  " + (slash ? city.section(u'/', 0, 0) : city),
                                      slash ? city.section(u'/', 1) : country};
            for (int k = 0; k < 4; ++k)
                for (int l = 0; l < 5; ++l)
                    seen.labels[k] << lines[l].left(cuts[k][l]);
        }

        // Diary: two days of each category, many entries a day, at both
        // ends of the legend's and the memo's lengths, durations past a day.
        int number = 0;
        for (uint8_t cat = 0; cat < 5; ++cat) {
            for (int day = 7; day <= 8; ++day) {
                for (int i = 0; i < kEntriesADay; ++i) {
                    const QString t = QStringLiteral("c%1d%2e%3").arg(cat).arg(day).arg(i, 2, 10, QChar('0'));
                    const QString legend = i % 3 == 0 ? wide(255, "Lg" + t) : "Legend " + t;
                    // Lines of one word each make a memo longer than a page.
                    const QString m = i % 4 == 0 ? memo(2040, t, i == 0 ? 70 : i == 8 ? 1 : 0)
                                      : i % 4 == 1 ? QString()
                                                   : "Memo line " + t;
                    const QString document = i % 2 ? wide(249, "Dc" + t) : QString();
                    const int32_t btime = at(6 + i, 5);
                    const bool long_ = i % 5 == 1;
                    add(VenDry, [&](Record& r) {
                        r.set(DRY::NUMBER, ++number);
                        r.set(DRY::CATID, "D");
                        r.set(DRY::CATEGORY, int(cat));
                        r.set(DRY::BDATE, dec(day));
                        r.set(DRY::BTIME, btime);
                        r.set(DRY::EDATE, long_ ? dec(day + 2) : dec(day));
                        r.set(DRY::ETIME, at(6 + i, 50));
                        r.set(DRY::LEGEND, legend);
                        r.set(DRY::DOCUMENT, document);
                        r.set(DRY::MEMORANDUM, m);
                        r.set(DRY::CALLER, 1 + (i % kNames));
                        r.set(DRY::CLIENT, i % 2 ? 2 + (i % (kNames - 1)) : 0);
                        r.set(DRY::C, QStringLiteral("WMW%1").arg(i % 10));
                        r.set(DRY::T, QString::number(i * 100));
                    });
                    seen.diary[cat] << legend << memoParts(m);
                    if (cat == 0)  // the caller's organisation, telephone and e-mail
                        seen.diary[cat] << seen.name[size_t(i % kNames)][0] << seen.name[size_t(i % kNames)][3]
                                        << seen.name[size_t(i % kNames)][10];
                    if (cat != 0 && cat != 4)
                        seen.diary[cat] << document;
                    if (cat == 1 || cat == 3 || cat == 4)
                        seen.diary[cat] << (long_ ? "48.45" : " 0.45");
                    if (cat == 0 && day == 7 && i == 0) {
                        seen.fax << legend << memoParts(m);
                        const QStringList& to = seen.name[0];
                        seen.fax << (to[1] + u' ' + to[2]).left(40);  // the recipient's name
                        for (int k : {0, 3, 4, 5, 6, 8})  // organisation, telephones, street and city
                            seen.fax << to[k];
                    }
                }
            }
        }
        for (uint8_t cat = 0; cat < 5; ++cat)
            seen.diary[cat] << "Monday 2026-12-07" << "Tuesday 2026-12-08";

        // Money: accounts with names at full length; rows at both ends of
        // what an amount holds.
        const char* const types[] = {"I", "E", "B"};
        for (int a = 0; a < 3; ++a)
            add(VenAcc, [&](Record& r) {
                r.set(ACC::TYPE, types[a]);
                r.set(ACC::NUMBER, int64_t(a + 1));
                r.set(ACC::NAME, wide(30, QStringLiteral("Acc%1").arg(a)));
            });
        const Cents amounts[] = {99999999, -99999999, 1, -1, 100000, 12345678, -5432109, 99999999, 99999999};
        Cents totals[3] = {0, 0, 0};
        for (int i = 0; i < kMoneyRows; ++i) {
            const int a = i % 3;
            const Cents c = amounts[size_t(i) % std::size(amounts)];
            const QString legend = wide(30, QStringLiteral("Mv%1").arg(i, 3, 10, QChar('0')));
            add(VenMoney, [&](Record& r) {
                r.set(MON::TYPE, types[a]);
                r.set(MON::NUMBER, int64_t(a + 1));
                r.set(MON::DATE, dec(1 + i / 20));
                r.set(MON::TIME, at(8, 0) + i);
                setCents(r, MON::AMOUNT, c);
                r.set(MON::LEGEND, legend);
            });
            totals[a] += c;
            seen.moneyRows << legend << money(c);
        }
        for (int a = 0; a < 3; ++a)
            seen.moneyRows << wide(30, QStringLiteral("Acc%1").arg(a)).left(20) << money(totals[a]);
    }

    PrintedReport print(const QString& procedure, const QString& parameter)
    {
        QFile::remove(kit.folder("report.pdf"));
        printed.forget();
        bool ended = false;
        callProcedure(procedure, NoRequest, [&ended](uint8_t) { ended = true; }, parameter);
        kit.waitUntil([&] { return ended; }, 300000, 100);
        EXPECT_TRUE(ended) << procedure.toStdString() << " did not end";
        EXPECT_TRUE(kit.boxes().empty()) << kit.boxes()[0].text.toStdString();
        if (qEnvironmentVariableIsSet("VEN_KEEP_PDF"))
            QFile::copy(kit.folder("report.pdf"), qEnvironmentVariable("VEN_KEEP_PDF") + "/" + procedure + ".pdf");
        return printed.read(kit.folder("report.pdf"));
    }

    // The report's procedure, its parameter and the values it must show.
    struct Run {
        QString parameter;
        QStringList values;
    };
    Run runOf(const QString& report) const
    {
        const QString window = QStringLiteral(",%1,1,%2,%3").arg(dec(7)).arg(dec(9)).arg(kLastTime);
        const char* const diary[] = {"DiaryPhoRp", "DiaryProRp", "DiaryNotRp", "DiaryMemRp", "DiaryExtRp"};
        for (int cat = 0; cat < 5; ++cat)
            if (report == QLatin1String(diary[cat]))
                return {QStringLiteral("1,%1").arg(cat) + window, seen.diary[cat]};
        const char* const labels[] = {"Label_3x8_Rp", "Label_3x9_Rp", "Label_3x12_Rp", "Label_2x7_Rp"};
        for (int k = 0; k < 4; ++k)
            if (report == QLatin1String(labels[k]))
                return {QStringLiteral("1"), seen.labels[k]};
        if (report == QLatin1String("FaximileRp"))
            return {QStringLiteral("1"), seen.fax};
        if (report == QLatin1String("NamesRp"))
            return {QStringLiteral("2"), seen.names};
        return {QStringLiteral("(Mon:Date <= %1 and Mon:Date => %2)").arg(dec(31)).arg(dec(1)), seen.moneyRows};
    }

    WindowKit kit;
    PrintedPages printed;
    Seeded seen;
};

TEST_P(PrintedReportsTest, NothingOverprintedCutOrHashedAndEveryValueShows)
{
    const QString report = QString::fromUtf8(GetParam());
    const Run run = runOf(report);
    const PrintedReport r = print(report, run.parameter);
    ASSERT_TRUE(r.pages) << "nothing printed";
    if (report != QLatin1String("FaximileRp")) {
        EXPECT_GE(r.pages->pageCount(), 2) << "the seeded set breaks pages";
    }
    const QStringList faults = printFaults(r);
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults, the first ones:\n"
                                  << faults.mid(0, 12).join('\n').toStdString();
    const QStringList missing = missingValues(r, run.values);
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " values not found, the first ones:\n"
                                   << missing.mid(0, 8).join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryReport, PrintedReportsTest,
                         testing::Values("DiaryPhoRp", "DiaryProRp", "DiaryNotRp", "DiaryMemRp", "DiaryExtRp", "FaximileRp",
                                         "NamesRp", "Label_3x8_Rp", "Label_3x9_Rp", "Label_3x12_Rp", "Label_2x7_Rp",
                                         "MoneyRp"));

// The rules across a page rendered to a picture, top to bottom: each run of
// rows that is dark across most of the width, with its mean colour.
struct Rule {
    int row = 0;
    QColor colour;
};
std::vector<Rule> rulesOnPage(const QString& pdf, int page, int dpi)
{
    const QString png = pdf + QStringLiteral(".page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                                         QStringLiteral("-l"), QString::number(page), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, png});
    p.waitForFinished(30000);
    const QImage img(png + QStringLiteral(".png"));
    std::vector<Rule> rules;
    bool inRule = false;
    for (int y = 0; y < img.height(); ++y) {
        int dark = 0;
        long r = 0, g = 0, b = 0;
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() < 3 * 200) {
                ++dark;
                r += c.red(), g += c.green(), b += c.blue();
            }
        }
        const bool rule = dark > img.width() * 6 / 10;
        if (rule && !inRule)
            rules.push_back({y, QColor(int(r / dark), int(g / dark), int(b / dark))});
        inRule = rule;
    }
    return rules;
}

// The names report's page header has three navy rules and its footer one
// black rule, as the rendered page shows.
TEST_F(PrintedReportsTest, NamesReportHeaderRulesAreNavy)
{
    ASSERT_TRUE(print(QStringLiteral("NamesRp"), QStringLiteral("1")).pages);
    constexpr int dpi = 100;
    const std::vector<Rule> rules = rulesOnPage(kit.folder("report.pdf"), 1, dpi);
    std::vector<Rule> header, footer;
    for (const Rule& r : rules) {
        if (r.row < 1.3 * dpi)  // above the report area
            header.push_back(r);
        else if (r.row > 11.3 * dpi)
            footer.push_back(r);
    }
    ASSERT_EQ(header.size(), 3u);
    for (const Rule& r : header) {
        SCOPED_TRACE(r.row);
        EXPECT_LT(r.colour.red(), 80);
        EXPECT_LT(r.colour.green(), 80);
        EXPECT_GT(r.colour.blue(), 90);
    }
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_LT(footer[0].colour.blue(), 80);
}

} // namespace
} // namespace ven::test
