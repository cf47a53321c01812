// Categories and the keyword search through their widgets: a category's
// number, its documents filed under it, Open from the category form, a
// cancelled new category, and a diary entry's document found by keyword
// and opened.
#include "RegisterKit.h"

#include "calendar/DiaryFr.h"
#include "platform/DateTime.h"
#include "registers/DocCatBr.h"
#include "registers/KeyWrdBr.h"

namespace ven::test {
namespace {

class DocCatTest : public RegisterTest {
protected:
    static void addCategory(int64_t number, const QString& name)
    {
        add(VenDCat, [&](Record& r) {
            r.set(CAT::CATID, "C");
            r.set(CAT::CATNUM, number);
            r.set(CAT::CATNAME, name);
        });
    }
    void startList() { ASSERT_NE(kit.start([] { return makeDocCatBr("C"); }), 0); }
};

TEST_F(DocCatTest, ANewCategoryCountsTheCategoriesAndSkipsTakenNumbers)
{
    const std::vector<std::vector<int>> registers = {{1, 2}, {2, 3}, {1, 3}};
    const int expected[] = {3, 4, 4};
    for (size_t i = 0; i < registers.size(); ++i) {
        WindowKit::records(VenDCat);  // the file exists
        {
            Context ctx;
            KeyedFile& f = ctx.file(VenDCat);
            ASSERT_TRUE(f.open());
            f.set();
            while (f.next())
                ASSERT_TRUE(f.remove());
        }
        for (int n : registers[i])
            addCategory(n, "Cat " + QString::number(n));
        startList();
        kit.highlight("DocCatBr", 1);
        kit.press("DocCatBr", "Insert");
        ASSERT_TRUE(kit.isOpen("DocCatFr"));
        EXPECT_EQ(kit.text("DocCatFr", "HeaderCat"), QString("%1").arg(expected[i], 6, 10, QChar('0'))) << i;
        EXPECT_EQ(kit.window("DocCatFr").window().title(), "Adding:  (Uusi)");
        kit.press("DocCatFr", "Cancel");
        kit.window("DocCatBr").close(RequestCancelled);
        kit.settle();
    }
}

TEST_F(DocCatTest, DocumentsFiledUnderANewCategoryAreSavedWithItOrRemovedWhenItIsCancelled)
{
    Document_Path = "/letters";
    startList();
    kit.press("DocCatBr", "Insert");
    kit.type("DocCatFr", "Category", "Letters");
    kit.press("DocCatFr", "DocInsert");
    ASSERT_TRUE(kit.isOpen("UpdateVenDoc"));
    EXPECT_EQ(kit.text("UpdateVenDoc", "HeaderId"), "C");
    EXPECT_EQ(kit.text("UpdateVenDoc", "HeaderCat"), "000001");
    EXPECT_EQ(kit.text("UpdateVenDoc", "Path"), "/letters/");
    EXPECT_EQ(kit.text("UpdateVenDoc", "Description"), "");
    kit.type("UpdateVenDoc", "Path", "offer.txt");
    kit.tab("UpdateVenDoc");
    kit.type("UpdateVenDoc", "Description", "Offer letter");
    kit.tab("UpdateVenDoc");
    kit.press("UpdateVenDoc", "OK");
    ASSERT_EQ(kit.rows("DocCatFr", "DocList"), 1);
    EXPECT_EQ(kit.cell("DocCatFr", 0, 0, "DocList"), "offer.txt");

    // Another owner changing the shared pair does not move this list.
    GCatId = "D";
    GCatNum = 77;
    kit.window("DocCatFr").post(Event::GainFocus);
    kit.settle();
    EXPECT_EQ(kit.rows("DocCatFr", "DocList"), 1);

    kit.press("DocCatFr", "Cancel");
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());
    EXPECT_TRUE(WindowKit::records(VenDCat).empty());

    // Saved: the category keeps its document.
    kit.press("DocCatBr", "Insert");
    kit.type("DocCatFr", "Category", "Letters");
    kit.press("DocCatFr", "DocInsert");
    kit.type("UpdateVenDoc", "Path", "offer.txt");
    kit.tab("UpdateVenDoc");
    kit.type("UpdateVenDoc", "Description", "Offer letter");
    kit.press("UpdateVenDoc", "OK");
    kit.press("DocCatFr", "OK");
    EXPECT_FALSE(kit.isOpen("DocCatFr"));
    ASSERT_EQ(WindowKit::records(VenDCat).size(), 1u);
    ASSERT_EQ(WindowKit::records(VenDoc).size(), 1u);
    EXPECT_EQ(WindowKit::records(VenDoc)[0].num(DOC::CATNUM), WindowKit::records(VenDCat)[0].num(CAT::CATNUM));

    // A category with documents cannot be deleted.
    kit.press("DocCatBr", "Delete");
    kit.press("DocCatFr", "OK");
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().caption, "Referential Integrity Delete Error");
    EXPECT_EQ(WindowKit::records(VenDCat).size(), 1u);
}

TEST_F(DocCatTest, OpenInTheCategoryFormTellsAnUnregisteredProgramAndSavesTheCategory)
{
    addCategory(1, "Manuals");
    addDocument(1, "C", 1, "/m/", "guide.pdf", "Reader");
    startList();
    kit.press("DocCatBr", "Change");
    EXPECT_EQ(kit.window("DocCatFr").window().title(), "Changing:  (Manuals)");
    kit.replaceText("DocCatFr", "Category", "Manuals 2");
    kit.press("DocCatFr", "Open");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("Get: \"Reader\" - ")) << kit.boxes()[0].text.toStdString();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Open");
    EXPECT_EQ(shell[0].file, "/m/guide.pdf");
    EXPECT_FALSE(kit.isOpen("DocCatFr"));
    EXPECT_EQ(WindowKit::records(VenDCat)[0].str(CAT::CATNAME), "Manuals 2");
}

TEST_F(DocCatTest, ADiaryDocumentIsFoundByKeywordAndOpened)
{
    add(VenDry, [](Record& r) {
        r.set(DRY::NUMBER, 3);
        r.set(DRY::CATID, "D");
        r.set(DRY::CATEGORY, 2);
        r.set(DRY::BDATE, dayNumber(2026, 12, 14));
        r.set(DRY::LEGEND, "Quarterly budget");
    });
    addProgram("Editor", "/usr/bin/editor");
    load(VenDry, DRY::NUMBER_KEY, [](Record& r) { r.set(DRY::NUMBER, 3); });
    kit.call(makeDiaryFr(), ChangeRecord);
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    kit.choose("DiaryFr", "Sheet", "3");
    kit.press("DiaryFr", "DocInsert");
    ASSERT_TRUE(kit.isOpen("UpdateVenDoc"));
    EXPECT_EQ(kit.text("UpdateVenDoc", "Description"), "Quarterly budget");
    kit.replaceText("UpdateVenDoc", "Path", "/work/budget.ods");
    kit.tab("UpdateVenDoc");
    kit.type("UpdateVenDoc", "Program", "Editor");
    kit.tab("UpdateVenDoc");
    kit.press("UpdateVenDoc", "OK");
    EXPECT_FALSE(kit.isOpen("UpdateVenDoc"));
    EXPECT_EQ(kit.rows("DiaryFr", "DocList"), 1);
    EXPECT_EQ(keywordsOf(1), (QStringList{"Quarterly", "budget"}));
    kit.press("DiaryFr", "Cancel");

    addKeyword(1, "annual");
    addDocument(2, "N", 5, "/x/", "other.txt");
    addKeyword(2, "Budgets");
    kit.start([] { return makeKeyWrdBr(); });
    ASSERT_TRUE(kit.isOpen("KeyWrdBr"));
    ASSERT_EQ(kit.rows("KeyWrdBr"), 4);
    EXPECT_EQ(kit.cell("KeyWrdBr", 0, 0), "annual");
    kit.type("KeyWrdBr", "Find", "BUD");
    const int row = kit.highlighted("KeyWrdBr");
    EXPECT_EQ(kit.cell("KeyWrdBr", row, 0), "budget");
    EXPECT_EQ(kit.cell("KeyWrdBr", row, 1), "budget.ods");
    EXPECT_EQ(kit.cell("KeyWrdBr", row, 4), "000003");
    EXPECT_EQ(kit.cell("KeyWrdBr", row, 5), "D");
    kit.press("KeyWrdBr", "Open");
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Start");
    EXPECT_EQ(shell[0].file, "/usr/bin/editor");
    EXPECT_EQ(splitParameters(shell[0].parameters), QStringList{"/work/budget.ods"});
    EXPECT_FALSE(kit.isOpen("KeyWrdBr"));
    EXPECT_TRUE(log().contains(" Open: /work/budget.ods"));
}

TEST_F(DocCatTest, AKeywordWhoseDocumentIsGoneShowsBlankColumnsAndOpensNothing)
{
    addKeyword(9, "orphan");
    kit.start([] { return makeKeyWrdBr(); });
    ASSERT_EQ(kit.rows("KeyWrdBr"), 1);
    EXPECT_EQ(kit.cell("KeyWrdBr", 0, 1), "");
    kit.press("KeyWrdBr", "Open");
    EXPECT_TRUE(shell.empty());
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.isOpen("KeyWrdBr"));
}

} // namespace
} // namespace ven::test
