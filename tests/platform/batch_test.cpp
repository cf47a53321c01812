// Batch processes and reports: the timer-driven run in the progress window,
// "No Records", Cancel, and a report printed to PDF and read back.
#include "Samples.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>

namespace ven::test {
namespace {

// What a run took, kept by the test: the process itself is gone once its
// window has closed.
struct Taken {
    int64_t sum = 0;
    QStringList names;
    std::vector<int> perTick;
};

class SumProc : public BatchProcess {
public:
    explicit SumProc(std::function<bool(const Record&)> filter = {}, std::shared_ptr<Taken> taken = std::make_shared<Taken>())
        : BatchProcess("SumProc", sampleFile()), taken_(std::move(taken))
    {
        setKey(TST::NAMEKEY);
        if (filter)
            setFilter(std::move(filter));
    }

protected:
    bool takeRecord(Record& r) override
    {
        taken_->sum += r.num(TST::AMOUNT);
        taken_->names << r.str(TST::NAME);
        taken_->perTick.push_back(recordsPerTick());
        return true;
    }

private:
    std::shared_ptr<Taken> taken_;
};

TEST(Batch, RunsTheViewInOrderOverTimerTicks)
{
    WindowKit kit;
    std::vector<std::pair<QString, int>> rows;
    for (int i = 0; i < 300; ++i)
        rows.emplace_back(QStringLiteral("N%1").arg(299 - i, 3, 10, QChar('0')), 1);
    addSamples(rows);
    uint8_t response = 0;
    auto taken = std::make_shared<Taken>();
    kit.call(std::make_unique<SumProc>(nullptr, taken), NoRequest, &response);
    auto& p = static_cast<SumProc&>(kit.window("SumProc"));
    EXPECT_EQ(p.window().title(), "Progress...");
    EXPECT_TRUE(p.window().tiled());
    EXPECT_EQ(p.recordsDone(), 0);
    kit.wait(10);  // the first tick takes one record
    EXPECT_EQ(p.recordsDone(), 1);
    kit.wait(100);
    EXPECT_FALSE(kit.isOpen("SumProc"));
    EXPECT_EQ(response, RequestCompleted);
    ASSERT_EQ(taken->names.size(), 300);
    EXPECT_EQ(taken->names.front(), "N000");
    EXPECT_EQ(taken->names.back(), "N299");
    EXPECT_GT(taken->perTick.back(), 1);  // the count per tick grew
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(Batch, EmptyViewShowsNoRecordsAndCancelStops)
{
    WindowKit kit;
    addSamples({{"a", 1}, {"b", 2}});
    uint8_t response = 0;
    kit.call(std::make_unique<SumProc>([](const Record&) { return false; }), NoRequest, &response);
    kit.wait(50);
    EXPECT_EQ(response, RequestCancelled);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "No Records");
    EXPECT_EQ(kit.boxes()[0].text, "There are no records available to process.");

    kit.call(std::make_unique<SumProc>(), NoRequest, &response);
    kit.press("SumProc", "Cancel");
    kit.wait(50);
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_FALSE(kit.isOpen("SumProc"));
}

class SampleRp : public Report {
public:
    SampleRp() : Report("SampleRp", sampleFile(), 1000, QRectF(800, 1300, 7104, 9896))
    {
        setKey(TST::NUMBERKEY);
        pages().setPageHeader(600, [](ReportPages::Band& b, int page) {
            b.text(0, 0, 5000, 300, "Sample Report", 16, true);
            b.text(5500, 0, 1600, 300, QStringLiteral("Page %1").arg(page));
            b.line(0, 450, 7104, 450);
        });
        pages().setPageFooter(100, [](ReportPages::Band& b, int) { b.line(0, 50, 7104, 50); });
    }

protected:
    bool takeRecord(Record& r) override
    {
        const QString number = QString::number(r.num(TST::NUMBER));
        const QString name = r.str(TST::NAME);
        pages().print(250, [&](ReportPages::Band& b) {
            b.text(0, 0, 1000, 250, number, 0, false, Qt::AlignRight);
            b.text(1500, 0, 4000, 250, name);
        });
        return true;
    }
};

TEST(Report, PrintsItsBandsToPdf)
{
    WindowKit kit;
    std::vector<std::pair<QString, int>> rows;
    for (int i = 1; i <= 60; ++i)
        rows.emplace_back(QStringLiteral("Person %1").arg(i), i);
    addSamples(rows);
    uint8_t response = 0;
    kit.call(std::make_unique<SampleRp>(), NoRequest, &response);
    kit.wait(500);
    EXPECT_EQ(response, RequestCompleted);
    const QString text = WindowKit::pdfText(kit.folder("report.pdf"));
    EXPECT_TRUE(text.contains("Sample Report"));
    EXPECT_TRUE(text.contains("Page 1"));
    EXPECT_TRUE(text.contains("Page 2"));
    EXPECT_FALSE(text.contains("Page 3"));
    EXPECT_TRUE(text.contains(QRegularExpression("\\b1\\s+Person 1\\b")));
    EXPECT_TRUE(text.contains(QRegularExpression("\\b60\\s+Person 60\\b")));
    // Page 2 starts where page 1 ended: every record once.
    EXPECT_EQ(text.count("Person"), 60);
}

TEST(Report, PreviewsBeforePrintingAndACancelledPreviewPrintsNothing)
{
    WindowKit kit;
    addSamples({{"Only", 1}});
    setReportDestination({});
    uint8_t response = 0;
    kit.call(std::make_unique<SampleRp>(), NoRequest, &response);
    kit.wait(100);
    QPrintPreviewDialog* preview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QPrintPreviewDialog*>(w); p && p->isVisible())
            preview = p;
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(kit.isOpen("SampleRp"));
    preview->reject();
    kit.settle();
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_FALSE(kit.isOpen("SampleRp"));
}

TEST(Report, NoRecordsPrintsNothing)
{
    WindowKit kit;
    uint8_t response = 0;
    kit.call(std::make_unique<SampleRp>(), NoRequest, &response);
    kit.wait(100);
    EXPECT_EQ(response, RequestCancelled);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "No Records");
    EXPECT_FALSE(QFileInfo::exists(kit.folder("report.pdf")));
}

} // namespace
} // namespace ven::test
