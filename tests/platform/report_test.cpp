// Report layout printed to PDF and read back with its places: label sheets
// in millimetres, wrapped memos that grow their band and go on over pages,
// day groups, pictures, the paper, and printers that must exist.
#include "Samples.h"

#include <QFileInfo>
#include <QImage>

namespace ven::test {
namespace {

// A report over the sample file set up and fed by the test.
class TestRp : public Report {
public:
    using Each = std::function<void(TestRp&, const Record&)>;
    TestRp(double perInch, const QRectF& area, const std::function<void(TestRp&)>& setup, Each each)
        : Report("TestRp", sampleFile(), perInch, area), each_(std::move(each))
    {
        setKey(TST::NUMBERKEY);
        setup(*this);
    }

protected:
    bool takeRecord(Record& r) override
    {
        each_(*this, r);
        return true;
    }

private:
    Each each_;
};

using Words = std::vector<WindowKit::PdfWord>;

const WindowKit::PdfWord* find(const Words& words, const QString& text)
{
    for (const auto& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

uint8_t runReport(WindowKit& kit, std::unique_ptr<TestRp> rp)
{
    uint8_t response = 0;
    kit.call(std::move(rp), NoRequest, &response);
    kit.wait(3000);
    return response;
}

QString pdfInfo(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A 3 x 8 sheet in millimetres: labels across then down, the first ones of
// a used sheet left empty, a new sheet after 24, every line at its place
// to the millimetre down to the bottom row, and each line cut to its picture.
TEST(Report, LabelSheetsFillAcrossThenDownInMillimetres)
{
    WindowKit kit;
    std::vector<std::pair<QString, int>> rows;
    for (int i = 1; i <= 25; ++i)
        rows.emplace_back(QStringLiteral("L%1xxxxxxxxx").arg(i, 2, 10, QChar('0')), i);
    addSamples(rows);
    static const BandDef label{.height = 35, .width = 64, .items = {
        {.x = 1, .y = 9, .w = 57, .h = 3, .use = "TST:NAME", .picture = "s3", .font = {.points = 8, .bold = true}},
        {.x = 1, .y = 12, .w = 57, .h = 3, .use = "TST:AMOUNT", .picture = "n03", .font = {.points = 8, .bold = true}},
    }};
    EXPECT_EQ(runReport(kit, std::make_unique<TestRp>(kMillimetres, QRectF(13, 5, 206, 292), [](TestRp& r) {
        r.pages().setLabelSheet({.w = 64, .h = 35, .across = 3, .down = 8});
        r.pages().skipLabels(4);  // begin with label 5
    }, [](TestRp& r, const Record&) { r.pages().print(label); })), RequestCompleted);

    const Words words = WindowKit::pdfWords(kit.folder("report.pdf"));
    struct Case {
        const char* text;
        int page;
        double x, y;  // mm from the paper's corner
    };
    const Case cases[] = {
        {"L01", 1, 13 + 64 + 1, 5 + 35 + 9},             // label 5: second row, second column
        {"002", 1, 13 + 128 + 1, 5 + 35 + 12},           // label 6
        {"L03", 1, 13 + 1, 5 + 70 + 9},                   // label 7: third row, first column
        {"L20", 1, 13 + 128 + 1, 5 + 7 * 35 + 9},         // label 24: the last of the sheet
        {"L21", 2, 13 + 1, 5 + 9},                        // a new sheet
        {"L25", 2, 13 + 64 + 1, 5 + 35 + 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto* w = find(words, c.text);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->page, c.page);
        EXPECT_NEAR(w->x, c.x, 0.8);
        EXPECT_NEAR(w->y, c.y, 0.8);
    }
    for (const auto& w : words)
        EXPECT_FALSE(w.text.contains('x')) << "not cut to its picture: " << w.text.toStdString();
    EXPECT_TRUE(pdfInfo(kit.folder("report.pdf")).contains("(A4)"));
}

// A memo of 2048 characters wraps in its band, the band grows, what lies
// below it moves down, and a band taller than a page goes on at the top of
// the next one, between the page header and footer, losing no word.
TEST(Report, WrappedMemosGrowTheirBandAndGoOnOverPages)
{
    WindowKit kit;
    addSamples({{"First", 1}, {"Second", 2}, {"Third", 3}});
    QString memo;
    for (int i = 0; memo.size() + 6 <= 2048; ++i)
        memo += QStringLiteral("w%1%2 ").arg(i / 100 % 10).arg(i % 100, 2, 10, QChar('0'));
    memo.chop(1);
    ASSERT_LE(memo.size(), 2048);
    const int memoWords = int(memo.split(' ').size());
    static const BandDef detail{.height = 700, .items = {
        {.x = 0, .y = 0, .w = 3000, .h = 200, .use = "TST:NAME", .font = {.bold = true}},
        {.x = 0, .y = 250, .w = 3000, .h = 200, .use = "Memo", .wrap = true},
        {.kind = ReportItem::Line, .x = 0, .y = 500, .w = 7104, .h = 0},
        {.x = 0, .y = 520, .w = 3000, .h = 180, .text = "EndOfEntry"},
    }};
    static const BandDef header{.height = 400, .items = {
        {.kind = ReportItem::PageNumber, .x = 5000, .y = 0, .w = 2000, .h = 250, .text = "Page "},
        {.kind = ReportItem::Box, .x = 0, .y = 0, .w = 7104, .h = 300},
    }};
    static const BandDef footer{.height = 300, .items = {
        {.x = 0, .y = 100, .w = 3000, .h = 200, .text = "Footer"},
    }};
    EXPECT_EQ(runReport(kit, std::make_unique<TestRp>(kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896),
        [](TestRp& r) {
            r.pages().setPageHeader(header);
            r.pages().setPageFooter(footer);
        },
        [memo](TestRp& r, const Record&) {
            r.setValue("Memo", memo);
            r.pages().print(detail);
        })), RequestCompleted);

    const Words words = WindowKit::pdfWords(kit.folder("report.pdf"));
    constexpr double in = 25.4 / 1000;
    const double flowTop = (1300 + 400) * in, flowBottom = (1300 + 9896 - 300) * in;
    int pages = 0;
    for (const auto& w : words)
        pages = std::max(pages, w.page);
    EXPECT_GE(pages, 4);
    int memoSeen = 0, last = -1, entry = 0;
    for (const auto& w : words) {
        if (w.text == "Page" || w.text == "Footer" || (w.text.toInt() > 0 && w.text.size() < 3))
            continue;
        SCOPED_TRACE(w.text.toStdString());
        EXPECT_GE(w.y, flowTop - 0.5);
        EXPECT_LE(w.bottom, flowBottom + 0.5);
        if (w.text.startsWith('w')) {
            const int n = w.text.mid(1).toInt();
            EXPECT_EQ(n, last + 1);  // in order, none lost, none twice
            last = n;
            ++memoSeen;
        } else if (w.text == "EndOfEntry") {
            EXPECT_EQ(last, memoWords - 1);  // below the whole memo
            last = -1;
            ++entry;
        }
    }
    EXPECT_EQ(memoSeen, 3 * memoWords);
    EXPECT_EQ(entry, 3);
    for (int p = 1; p <= pages; ++p) {
        int footers = 0;
        for (const auto& w : words)
            footers += w.page == p && w.text == "Footer";
        EXPECT_EQ(footers, 1) << "page " << p;
    }
    const auto* page2 = find(words, QString::number(2));
    ASSERT_NE(page2, nullptr);
    EXPECT_EQ(page2->page, 2);
}

// A group header and footer around each run of equal keys (a day).
TEST(Report, GroupsPrintHeaderAndFooterWhereTheKeyChanges)
{
    WindowKit kit;
    addSamples({{"A", 1}, {"B", 1}, {"C", 2}, {"D", 3}, {"E", 3}});
    static const BandDef detail{.height = 200, .items = {{.x = 500, .w = 3000, .h = 200, .use = "TST:NAME"}}};
    EXPECT_EQ(runReport(kit, std::make_unique<TestRp>(kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896),
        [](TestRp& r) {
            r.pages().setGroup({.height = 250, .items = {{.w = 3000, .h = 250, .use = "Day", .font = {.bold = true}}}},
                               {.height = 100, .items = {{.kind = ReportItem::Line, .w = 7104}}});
        },
        [](TestRp& r, const Record& rec) {
            r.setValue("Day", QStringLiteral("Day%1").arg(rec.num(TST::AMOUNT)));
            r.pages().group(qint64(rec.num(TST::AMOUNT)));
            r.pages().print(detail);
        })), RequestCompleted);
    const QString text = WindowKit::pdfText(kit.folder("report.pdf"));
    EXPECT_TRUE(text.contains(QRegularExpression("Day1\\s+A\\s+B\\s+Day2\\s+C\\s+Day3\\s+D\\s+E")));
    EXPECT_EQ(text.count("Day"), 3);
}

// Pictures keep their own size unless they are larger than their box,
// where they shrink keeping their shape.
TEST(Report, PicturesShrinkToTheirBoxKeepingTheirShape)
{
    struct Case {
        QSizeF own, fitted;
    };
    const Case cases[] = {
        {{2600, 1950}, {1300, 975}},
        {{1000, 3000}, {1000.0 / 3000 * 1300, 1300}},
        {{1200, 800}, {1200, 800}},
        {{3000, 1000}, {1300, 1000.0 / 3000 * 1300}},
    };
    for (const Case& c : cases) {
        const QSizeF s = fitPicture(c.own, {1300, 1300});
        EXPECT_NEAR(s.width(), c.fitted.width(), 0.5) << c.own.width();
        EXPECT_NEAR(s.height(), c.fitted.height(), 0.5) << c.own.width();
    }

    // A logo of 2.6 x 1.95 inches printed in a 1.3-inch square: its
    // 520 pixels across then span 1.3 inches (400 pixels an inch).
    WindowKit kit;
    addSamples({{"Only", 1}});
    QImage logo(520, 390, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    logo.setDotsPerMeterX(int(200 / 0.0254));
    logo.setDotsPerMeterY(int(200 / 0.0254));
    ASSERT_TRUE(logo.save(kit.folder("Logo.png")));
    static const BandDef header{.height = 1400, .items = {
        {.kind = ReportItem::Image, .w = 1300, .h = 1300, .use = "Logo"},
        {.kind = ReportItem::Image, .x = 2000, .w = 1300, .h = 1300, .text = ""},  // no file: an empty area
    }};
    EXPECT_EQ(runReport(kit, std::make_unique<TestRp>(kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896),
        [](TestRp& r) {
            r.setValue("Logo", "Logo.png");
            r.pages().setPageHeader(header);
        },
        [](TestRp& r, const Record&) { r.pages().print(200, [](ReportPages::Band& b) { b.text(0, 0, 2000, 200, "x"); }); })),
              RequestCompleted);
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), kit.folder("report.pdf")});
    p.waitForFinished(30000);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);  // two heading lines and one picture
    const QStringList cols = lines[2].simplified().split(' ');
    ASSERT_GE(cols.size(), 14);
    EXPECT_EQ(cols[3], "520");
    EXPECT_NEAR(cols[12].toDouble(), 400, 2);  // x-ppi
    EXPECT_NEAR(cols[13].toDouble(), 400, 2);  // y-ppi
}

// A report that must print on a named printer prints nothing when that
// printer is unknown or unnamed; a print that cannot begin is a failure.
TEST(Report, UnknownPrintersAndFailedPrintsPrintNothing)
{
    WindowKit kit;
    addSamples({{"Only", 1}});
    auto make = [](const std::optional<QString>& printer) {
        return std::make_unique<TestRp>(kThousandthsOfAnInch, QRectF(800, 1300, 7104, 9896),
            [printer](TestRp& r) {
                if (printer)
                    r.setPrinter(*printer);
            },
            [](TestRp& r, const Record& rec) {
                const QString name = rec.str(TST::NAME);
                r.pages().print(200, [&name](ReportPages::Band& b) { b.text(0, 0, 2000, 200, name); });
            });
    };
    struct Case {
        std::optional<QString> printer;
        const char* text;
    };
    const Case refused[] = {
        {QStringLiteral("No Such Fax 4711"), "The printer \"No Such Fax 4711\" is not installed, so nothing was printed."},
        {QStringLiteral(""), "No printer is set up for this report, so nothing was printed."},
    };
    for (const Case& c : refused) {
        kit.clearBoxes();
        EXPECT_EQ(runReport(kit, make(c.printer)), RequestCancelled);
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, "Printer Not Found");
        EXPECT_EQ(kit.boxes()[0].text, c.text);
        EXPECT_FALSE(QFileInfo::exists(kit.folder("report.pdf")));
    }

    // A printer the system knows prints (here the test names it installed).
    ReportDestination d = reportDestination();
    d.printers = {QStringLiteral("Office Fax")};
    setReportDestination(d);
    kit.clearBoxes();
    EXPECT_EQ(runReport(kit, make(QStringLiteral("Office Fax"))), RequestCompleted);
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_TRUE(WindowKit::pdfText(kit.folder("report.pdf")).contains("Only"));

    // Output that cannot be opened: the painter does not begin.
    d.pdfFile = kit.folder("no such folder/report.pdf");
    setReportDestination(d);
    kit.clearBoxes();
    EXPECT_EQ(runReport(kit, make(std::nullopt)), RequestCancelled);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Print Failed");
    EXPECT_EQ(kit.boxes()[0].text, "The report \"TestRp\" could not be printed.");
}

// The paper is set, not left to the printer's default.
TEST(Report, PrintsOnThePaperItSets)
{
    WindowKit kit;
    addSamples({{"Only", 1}});
    EXPECT_EQ(runReport(kit, std::make_unique<TestRp>(kThousandthsOfAnInch, QRectF(500, 500, 7500, 9000),
        [](TestRp& r) { r.pages().setPageSize(QPageSize::Letter); },
        [](TestRp& r, const Record&) { r.pages().print(200, [](ReportPages::Band& b) { b.text(0, 0, 2000, 200, "Only"); }); })),
              RequestCompleted);
    EXPECT_TRUE(pdfInfo(kit.folder("report.pdf")).contains("612 x 792 pts (letter)"));
}

} // namespace
} // namespace ven::test
