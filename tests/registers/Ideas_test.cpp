// Ideas through their widgets: a new idea's number, details and their
// documents, an old document path turned into a document, Open, and what
// cancelled inserts and deletes leave behind.
#include "RegisterKit.h"

#include "registers/IdeaBr.h"

#include <map>

namespace ven::test {
namespace {

class IdeasTest : public RegisterTest {
protected:
    static void addIdea(int64_t number, const QString& name)
    {
        add(VenIdea, [&](Record& r) {
            r.set(IDE::NUMBER, number);
            r.set(IDE::NAME, name);
        });
    }
    static void addDetail(int64_t number, int64_t idea, const QString& head, const QString& catid = "I",
                          const QString& document = {})
    {
        add(VenISub, [&](Record& r) {
            r.set(SUB::SIDENUM, number);
            r.set(SUB::IDENUM, idea);
            r.set(SUB::CATID, catid);
            r.set(SUB::SUBHEAD, head);
            r.set(SUB::DOCUMENT, document);
        });
    }
    static void clear(const FileDef& def)
    {
        Context ctx;
        KeyedFile& f = ctx.file(def);
        ASSERT_TRUE(f.open());
        f.set();
        while (f.next())
            ASSERT_TRUE(f.remove());
    }
    void startList() { ASSERT_NE(kit.start([] { return makeIdeaBr(); }), 0); }
    // Opens the idea form on the idea at `row` of the list.
    void changeIdea(int row)
    {
        kit.highlight("IdeaBr", row);
        kit.press("IdeaBr", "Change");
        ASSERT_TRUE(kit.isOpen("IdeaFr"));
    }
};

TEST_F(IdeasTest, ANewIdeaCountsItsOwnReservedRecord)
{
    const std::pair<std::vector<int>, const char*> cases[] = {
        {{}, "000002"}, {{2, 3, 4}, "000005"}, {{1, 2, 3}, "000005"}, {{2, 5}, "000004"}};
    for (const auto& [ideas, expected] : cases) {
        clear(VenIdea);
        for (int n : ideas)
            addIdea(n, "Idea " + QString::number(n));
        startList();
        kit.press("IdeaBr", "Insert");
        ASSERT_TRUE(kit.isOpen("IdeaFr"));
        EXPECT_EQ(kit.window("IdeaFr").window().title(), "Adding an Idea");
        EXPECT_EQ(kit.text("IdeaFr", "Number"), expected) << ideas.size();
        kit.press("IdeaFr", "Cancel");
        EXPECT_EQ(WindowKit::records(VenIdea).size(), ideas.size());
        kit.window("IdeaBr").close(RequestCancelled);
        kit.settle();
    }
}

// Another copy stores an idea under the number this form shows: the new
// idea takes the number its own reserved record holds, and its details
// follow it.
TEST_F(IdeasTest, ANumberAnotherCopyTookGivesWayToTheReservedOne)
{
    startList();
    kit.press("IdeaBr", "Insert");
    ASSERT_EQ(kit.text("IdeaFr", "Number"), "000002");
    kit.type("IdeaFr", "Name", "Garden");
    kit.press("IdeaFr", "DetInsert");
    ASSERT_TRUE(kit.isOpen("UpdateVenISub"));
    kit.type("UpdateVenISub", "Header", "Roses");
    kit.press("UpdateVenISub", "OK");
    ASSERT_EQ(kit.rows("IdeaFr", "Details"), 1);
    addIdea(2, "The other copy's");
    kit.press("IdeaFr", "OK");
    EXPECT_TRUE(kit.boxes().empty()) << kit.boxes()[0].text.toStdString();
    EXPECT_FALSE(kit.isOpen("IdeaFr"));
    std::map<QString, int64_t> numbers;
    for (const Record& r : WindowKit::records(VenIdea))
        numbers[r.str(IDE::NAME).trimmed()] = r.num(IDE::NUMBER);
    EXPECT_EQ(numbers, (std::map<QString, int64_t>{{"Garden", 1}, {"The other copy's", 2}}));
    ASSERT_EQ(WindowKit::records(VenISub).size(), 1u);
    EXPECT_EQ(WindowKit::records(VenISub).at(0).num(SUB::IDENUM), 1);
}

TEST_F(IdeasTest, DetailsAndDocumentsOfACancelledNewIdeaGoWithIt)
{
    startList();
    kit.press("IdeaBr", "Insert");
    kit.type("IdeaFr", "Name", "Garden");
    kit.press("IdeaFr", "DetInsert");
    ASSERT_TRUE(kit.isOpen("UpdateVenISub"));
    EXPECT_EQ(kit.text("UpdateVenISub", "HeaderId"), "I");
    EXPECT_EQ(kit.text("UpdateVenISub", "HeaderIdea"), "000002");
    kit.type("UpdateVenISub", "Header", "Roses");
    kit.choose("UpdateVenISub", "Sheet", "2");
    kit.press("UpdateVenISub", "DocInsert");
    ASSERT_TRUE(kit.isOpen("UpdateVenDoc"));
    EXPECT_EQ(kit.text("UpdateVenDoc", "Description"), "Roses");
    kit.type("UpdateVenDoc", "Path", "/g/roses.txt");
    kit.tab("UpdateVenDoc");
    kit.press("UpdateVenDoc", "OK");
    ASSERT_EQ(kit.rows("UpdateVenISub", "DocList"), 1);
    kit.press("UpdateVenISub", "OK");
    ASSERT_EQ(kit.rows("IdeaFr", "Details"), 1);
    EXPECT_EQ(WindowKit::records(VenISub).at(0).num(SUB::IDENUM), 2);
    EXPECT_EQ(WindowKit::records(VenDoc).at(0).str(DOC::CATID), "I");

    kit.press("IdeaFr", "Cancel");
    EXPECT_TRUE(WindowKit::records(VenIdea).empty());
    EXPECT_TRUE(WindowKit::records(VenISub).empty());
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());

    // A cancelled new detail takes its document too.
    addIdea(1, "Kept");
    kit.window("IdeaBr").post(Event::GainFocus);
    kit.settle();
    changeIdea(0);
    kit.press("IdeaFr", "DetInsert");
    kit.type("UpdateVenISub", "Header", "Tulips");
    kit.choose("UpdateVenISub", "Sheet", "2");
    kit.press("UpdateVenISub", "DocInsert");
    kit.type("UpdateVenDoc", "Path", "/g/tulips.txt");
    kit.tab("UpdateVenDoc");
    kit.press("UpdateVenDoc", "OK");
    ASSERT_EQ(WindowKit::records(VenDoc).size(), 1u);
    kit.press("UpdateVenISub", "Cancel");
    EXPECT_TRUE(WindowKit::records(VenISub).empty());
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());
}

TEST_F(IdeasTest, AnOldDocumentPathBecomesADocumentOnce)
{
    addIdea(1, "House");
    addDetail(5, 1, "Plans", "i", "/h/plan.pdf");
    startList();
    changeIdea(0);
    kit.highlight("IdeaFr", 0, "Details");
    kit.press("IdeaFr", "DetChange");
    ASSERT_TRUE(kit.isOpen("UpdateVenISub"));
    EXPECT_EQ(kit.text("UpdateVenISub", "HeaderId"), "I");  // the lower-case letter is made "I"
    // The document form opens at once with the old path, split.
    ASSERT_TRUE(kit.isOpen("UpdateVenDoc"));
    kit.focus("UpdateVenDoc", "Description");
    EXPECT_EQ(kit.text("UpdateVenDoc", "Path"), "/h/");
    EXPECT_EQ(kit.text("UpdateVenDoc", "Name"), "plan.pdf");
    EXPECT_EQ(kit.text("UpdateVenDoc", "Description"), "Plans");
    // Cancelled: the old path stays, nothing holds it yet.
    kit.press("UpdateVenDoc", "Cancel");
    kit.press("UpdateVenISub", "OK");
    EXPECT_EQ(WindowKit::records(VenISub).at(0).str(SUB::DOCUMENT), "/h/plan.pdf");
    EXPECT_EQ(WindowKit::records(VenISub).at(0).str(SUB::CATID), "I");

    // Saved the next time: the path lives in the document and leaves the detail.
    kit.press("IdeaFr", "DetChange");
    ASSERT_TRUE(kit.isOpen("UpdateVenDoc"));
    kit.press("UpdateVenDoc", "OK");
    EXPECT_FALSE(kit.isOpen("UpdateVenDoc"));
    // The detail itself is cancelled: the document stays and is not made again.
    kit.press("UpdateVenISub", "Cancel");
    kit.press("IdeaFr", "DetChange");
    EXPECT_FALSE(kit.isOpen("UpdateVenDoc"));
    kit.press("UpdateVenISub", "OK");
    EXPECT_EQ(WindowKit::records(VenDoc).size(), 1u);
    EXPECT_EQ(WindowKit::records(VenISub).at(0).str(SUB::DOCUMENT), "");
}

TEST_F(IdeasTest, OpenShowsForDocumentsWithAPathAndViewOpensTheViewer)
{
    stand("ViewerWnd", RequestCompleted);
    addIdea(1, "Books");
    addDetail(3, 1, "Reading");
    addDocument(1, "I", 3, "/b/", "list.txt", "VIEW", "List");
    addDocument(2, "I", 3, "", "nopath", {}, "No path");
    startList();
    changeIdea(0);
    kit.press("IdeaFr", "DetChange");
    kit.choose("UpdateVenISub", "Sheet", "2");
    ASSERT_EQ(kit.rows("UpdateVenISub", "DocList"), 2);
    EXPECT_EQ(kit.cell("UpdateVenISub", 0, 0, "DocList"), "list.txt");
    EXPECT_TRUE(kit.control("UpdateVenISub", "DocOpen").isVisible());
    kit.press("UpdateVenISub", "DocOpen");
    EXPECT_EQ(runs, QStringList{"ViewerWnd request 0"});
    EXPECT_TRUE(kit.isOpen("UpdateVenISub"));  // the form stays open
    kit.highlight("UpdateVenISub", 1, "DocList");
    EXPECT_FALSE(kit.control("UpdateVenISub", "DocOpen").isVisible());
}

TEST_F(IdeasTest, DeletingAnIdeaDeletesItsDetailsDocumentsAndKeywords)
{
    addIdea(1, "Old");
    addDetail(3, 1, "Part");
    addDocument(1, "I", 3, "/o/", "a.txt");
    addKeyword(1, "alpha");
    startList();
    kit.press("IdeaBr", "Delete");
    EXPECT_EQ(kit.window("IdeaFr").window().title(), "Deleting the Idea");
    kit.press("IdeaFr", "OK");
    EXPECT_TRUE(WindowKit::records(VenIdea).empty());
    EXPECT_TRUE(WindowKit::records(VenISub).empty());
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());
}

} // namespace
} // namespace ven::test
