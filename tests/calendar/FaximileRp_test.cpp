// The fax cover page printed on the fax printer of the settings, read back
// from PDF: the sender, recipient, subject, message and footer; a blank or
// unknown fax printer and an entry that is not a telephone entry print nothing.
#include "WindowKit.h"

#include "app/Procedures.h"
#include "core/Globals.h"
#include "core/OwnerProfile.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

namespace ven::test {
namespace {

class FaximileRpTest : public testing::Test {
protected:
    FaximileRpTest()
    {
        InitDataFiles();
        DefineProcedures();
        ReportDestination d = reportDestination();
        d.printers = {QStringLiteral("FaxQueue")};
        setReportDestination(d);
        Context ctx;
        KeyedFile& nam = ctx.file(VenNam);
        EXPECT_TRUE(nam.open());
        nam.rec().clear();
        nam.rec().set(NAM::RECNO, 7);
        nam.rec().set(NAM::ORG, "Acme Oy");
        nam.rec().set(NAM::FIRSTNAME, "Ann");
        nam.rec().set(NAM::LASTNAME, "Roe");
        nam.rec().set(NAM::FAX, "555 77");
        nam.rec().set(NAM::CITY, "Turku");
        EXPECT_TRUE(nam.add());
        KeyedFile& dry = ctx.file(VenDry);
        EXPECT_TRUE(dry.open());
        for (int n : {1, 2}) {
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, n);
            dry.rec().set(DRY::CATEGORY, n == 1 ? 0 : 3);
            dry.rec().set(DRY::BDATE, dayNumber(2026, 12, 9));
            dry.rec().set(DRY::CALLER, 7);
            dry.rec().set(DRY::LEGEND, "Quotation");
            dry.rec().set(DRY::MEMORANDUM, "Please send the signed offer by Friday.");
            EXPECT_TRUE(dry.add());
        }
    }
    ~FaximileRpTest() override
    {
        clearProcedures();
        TelefaxDevice.clear();
    }
    QString fax(int number)
    {
        QFile::remove(kit.folder("report.pdf"));
        callProcedure(QStringLiteral("FaximileRp"), NoRequest, {}, QString::number(number));
        kit.settle();
        kit.wait(3000);
        if (!QFile::exists(kit.folder("report.pdf")))
            return {};
        QString text = WindowKit::pdfText(kit.folder("report.pdf"));
        text.replace(QChar(0xFB01), "fi").replace(QChar(0xFB00), "ff");
        return text.simplified();
    }
    WindowKit kit;
};

TEST_F(FaximileRpTest, CoverPageOnTheFaxPrinter)
{
    OwnerProfile me;
    me.FirstName = "John";
    me.LastName = "Doe";
    me.Telephone = "02 123";
    ASSERT_TRUE(writeOwnerProfile(me));
    TelefaxDevice = "FaxQueue";
    const QString text = fax(1);
    EXPECT_TRUE(kit.boxes().empty());
    for (const char* part : {"Wednesday 2026-12-09 at 10.00", "From:", "John Doe", ", , ", "Telephone: 02 123", "To:",
                             "Ann Roe", "Acme Oy", ", Turku,", "Fax: 555 77", "Re: Quotation",
                             "Please send the signed offer by Friday.", "John Doe, , ,"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("Cellular"));

    // With a home page the footer invites to it.
    me.HomePage = "doe.example";
    ASSERT_TRUE(writeOwnerProfile(me));
    EXPECT_TRUE(fax(1).contains("Please visit my home page at: doe.example"));
}

TEST_F(FaximileRpTest, NoFaxPrinterOrNoTelephoneEntryPrintsNothing)
{
    struct Case {
        const char* device;
        int number;
        const char* title;
    };
    const Case cases[] = {
        {"", 1, "Printer Not Found"},
        {"Nowhere", 1, "Printer Not Found"},
        {"FaxQueue", 2, "No Records"},   // a meeting
        {"FaxQueue", 99, "No Records"},  // no such entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        kit.clearBoxes();
        TelefaxDevice = QString::fromUtf8(c.device);
        EXPECT_TRUE(fax(c.number).isEmpty());
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, c.title);
    }
}

// A fresh install names no fax printer: the cover page still previews,
// and printing from the preview says that no fax printer is set.
TEST_F(FaximileRpTest, WithoutAFaxPrinterThePageStillPreviews)
{
    TelefaxDevice.clear();
    ReportDestination d = reportDestination();
    d.output = ReportOutput::Preview;
    setReportDestination(d);
    bool ended = false;
    uint8_t response = 0;
    callProcedure(QStringLiteral("FaximileRp"), NoRequest, [&](uint8_t r) { ended = true, response = r; }, "1");
    QPrintPreviewDialog* preview = nullptr;
    kit.waitUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<QPrintPreviewDialog*>(w); p && p->isVisible())
                preview = p;
        return preview != nullptr;
    }, 120000, 100);
    ASSERT_NE(preview, nullptr) << "no preview";
    EXPECT_TRUE(kit.boxes().empty());
    auto* pagesShown = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pagesShown, nullptr);
    EXPECT_EQ(pagesShown->pageCount(), 1);
    QAction* print = nullptr;
    for (QAction* a : preview->findChildren<QAction*>())
        if (QString(a->text()).remove('&') == "Print")
            print = a;
    ASSERT_NE(print, nullptr);
    print->trigger();
    kit.waitUntil([&] { return ended; }, 120000, 100);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Printer Not Found");
    EXPECT_EQ(kit.boxes()[0].text, "No fax printer is set, so nothing was printed.");
    EXPECT_TRUE(ended);
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_FALSE(QFile::exists(kit.folder("report.pdf")));
}

} // namespace
} // namespace ven::test
