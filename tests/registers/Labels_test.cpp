// Mailing labels through their windows: copies numbered after the name's
// last copy with the label's own text, the key kept out of in-place
// editing, and label sheets printed to PDF from a chosen first label,
// leaving nothing behind in the list.
#include "WindowKit.h"

#include "app/Procedures.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "registers/SetUpLabelWnd.h"
#include "registers/StickersBr.h"

namespace ven::test {
namespace {

void addLabel(int64_t recno, int64_t copy, const QString& last, const QString& zip, const QString& city = QStringLiteral("Town"))
{
    Context ctx;
    KeyedFile& s = ctx.file(VenStick);
    ASSERT_TRUE(s.open());
    s.rec().clear();
    s.rec().set(STI::RECNO, recno);
    s.rec().set(STI::DUPLO, copy);
    s.rec().set(STI::LASTNAME, last);
    s.rec().set(STI::ZIPCODE, zip);
    s.rec().set(STI::CITY, city);
    ASSERT_TRUE(s.add());
}

std::vector<std::pair<int64_t, int64_t>> keys()
{
    std::vector<std::pair<int64_t, int64_t>> k;
    for (const Record& r : WindowKit::records(VenStick))
        k.emplace_back(r.num(STI::RECNO), r.num(STI::DUPLO));
    std::sort(k.begin(), k.end());
    return k;
}

class Labels : public ::testing::Test {
protected:
    Labels() { DefineProcedures(); }
    ~Labels() override { clearProcedures(); }
    WindowKit kit;
};

TEST_F(Labels, CopyAddsTheNextCopyWithTheLabelsOwnText)
{
    addLabel(12, 1, "Berg", "100");
    addLabel(13, 1, "Cole", "200");
    kit.start([] { return makeStickersBr({}); });
    ASSERT_EQ(kit.rows("StickersBr"), 2);
    kit.highlight("StickersBr", 0);
    kit.press("StickersBr", "Copy");
    // The new copy is the highlighted row.
    EXPECT_EQ(kit.cell("StickersBr", kit.highlighted("StickersBr"), 8).trimmed(), "2");
    kit.press("StickersBr", "Copy");
    using K = std::vector<std::pair<int64_t, int64_t>>;
    EXPECT_EQ(keys(), (K{{12, 1}, {12, 2}, {12, 3}, {13, 1}}));
    // From the first copy again: the next free number, not a rewrite of 12/2.
    kit.highlight("StickersBr", 0);
    kit.press("StickersBr", "Copy");
    EXPECT_EQ(keys(), (K{{12, 1}, {12, 2}, {12, 3}, {12, 4}, {13, 1}}));
    for (const Record& r : WindowKit::records(VenStick)) {
        if (r.num(STI::RECNO) == 12) {
            EXPECT_EQ(r.str(STI::LASTNAME), "Berg");  // there is no name 12: the label's text
        }
    }
    // The label's key columns take no editor.
    const int recnoColumn = 7;
    auto* list = kit.list("StickersBr");
    EXPECT_FALSE(list->model()->flags(list->model()->index(0, recnoColumn)) & Qt::ItemIsEditable);
    EXPECT_FALSE(list->model()->flags(list->model()->index(0, recnoColumn + 1)) & Qt::ItemIsEditable);
    kit.highlight("StickersBr", 0);
    kit.press("StickersBr", "Delete");
    EXPECT_EQ(keys().size(), 4u);
    EXPECT_TRUE(kit.boxes().empty());
}

// Sheet 3 x 8 from label 5: the first address is in the second row, second
// column; no placeholder is stored, a label without a zip code is printed
// among the others, and the next print starts at label 1 again.
TEST_F(Labels, ASheetPrintsFromTheChosenLabelAndLeavesNothingBehind)
{
    addLabel(1, 1, "Aalto", "00100");
    addLabel(2, 1, "Berg", "00200");
    addLabel(3, 1, "Nozip", "");
    kit.start([] { return makeSetUpLabelWnd({}); });
    kit.press("SetUpLabelWnd", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Label Type not selected!");
    kit.choose("SetUpLabelWnd", "Sheet", "1");
    kit.replaceText("SetUpLabelWnd", "First", "25");
    kit.tab("SetUpLabelWnd");
    kit.press("SetUpLabelWnd", "OK");
    ASSERT_EQ(kit.boxes().size(), 2u);
    EXPECT_EQ(kit.boxes()[1].caption, "Range Error");  // the 3 x 8 sheet has 24 labels
    kit.replaceText("SetUpLabelWnd", "First", "5");
    kit.tab("SetUpLabelWnd");
    kit.press("SetUpLabelWnd", "OK");
    kit.wait(3000);
    EXPECT_EQ(WindowKit::records(VenStick).size(), 3u);  // no placeholders
    const auto words = WindowKit::pdfWords(kit.folder("report.pdf"));
    auto at = [&words](const char* text) -> const WindowKit::PdfWord* {
        for (const auto& w : words)
            if (w.text == text)
                return &w;
        return nullptr;
    };
    // Print order: the blank zip first, then by zip.
    const struct {
        const char* text;
        double x, y;
    } cases[] = {{"Nozip", 13 + 64 + 1, 5 + 35 + 12}, {"Aalto", 13 + 128 + 1, 5 + 35 + 12}, {"00200", 13 + 1, 5 + 70 + 18}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto* w = at(c.text);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->x, c.x, 0.8);
        EXPECT_NEAR(w->y, c.y, 0.8);
    }
    EXPECT_EQ(kit.text("SetUpLabelWnd", "First"), "1");

    // The 2 x 7 sheet's second column ends on the paper.
    kit.choose("SetUpLabelWnd", "Sheet", "4");
    kit.press("SetUpLabelWnd", "OK");
    kit.wait(3000);
    const auto sheet = WindowKit::pdfWords(kit.folder("report.pdf"));
    ASSERT_FALSE(sheet.empty());
    for (const auto& w : sheet)
        EXPECT_LT(w.right, 210.0) << w.text.toStdString();
    const auto* berg = [&]() -> const WindowKit::PdfWord* {
        for (const auto& w : sheet)
            if (w.text == "Berg")
                return &w;
        return nullptr;
    }();
    ASSERT_NE(berg, nullptr);
    EXPECT_NEAR(berg->x, 2 + 22, 0.8);  // the third label: second row, first column
    EXPECT_NEAR(berg->y, 3 + 41 + 11, 0.8);

    // Cancel removes the labels without an address.
    addLabel(999999, 0, "", "", "");
    kit.press("SetUpLabelWnd", "Cancel");
    kit.wait(3000);
    EXPECT_FALSE(kit.isOpen("SetUpLabelWnd"));
    EXPECT_EQ(WindowKit::records(VenStick).size(), 3u);
}

} // namespace
} // namespace ven::test
