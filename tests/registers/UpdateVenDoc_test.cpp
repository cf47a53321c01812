// The document form through its widgets: a new document's owner, number
// and defaults, the path split (files, folders, web addresses), automatic
// and typed keywords, OK's checks, opening by the chosen program, the
// viewer or the desktop, and what a cancelled insert leaves behind.
#include "RegisterKit.h"

#include "platform/FileDialogs.h"
#include "platform/Ini.h"
#include "platform/SettingsFile.h"
#include "registers/UpdateVenDoc.h"

namespace ven::test {
namespace {

TEST(DocumentPath, SplitsFilesFoldersAndWebAddresses)
{
    struct Case {
        const char* path;
        const char* oldName;
        const char* folder;
        const char* name;
        bool web;
        const char* documentFolder;
    };
    const Case cases[] = {
        {"/home/anna/Report.txt", "", "/home/anna/", "Report.txt", false, "/home/anna"},
        {"/Report.txt", "", "/", "Report.txt", false, "/"},
        {"C:\\Report.txt", "", "C:\\", "Report.txt", false, "C:\\"},
        {"C:\\Work\\Report.txt", "", "C:\\Work\\", "Report.txt", false, "C:\\Work"},
        {"/a/new.txt", "old.txt", "/a/", "new.txt", false, "/a"},     // a retyped path replaces the old name
        {"/b/", "old.txt", "/b/", "old.txt", false, "/b"},            // a folder alone keeps it
        {"Report.txt   ", "", "", "Report.txt", false, ""},          // no folder at all
        {"", "", "", "", false, ""},
        {"HTTP://Example.org/Path/Page.HTML", "", "http://", "Example.org/Path/Page.HTML", true, ""},
        {"https://example.org/A", "", "https://", "example.org/A", true, ""},
        {"http://", "example.org", "http://", "example.org", true, ""},
    };
    for (const Case& c : cases) {
        const DocumentPathSplit s = SplitDocumentPath(c.path, c.oldName);
        EXPECT_EQ(s.path, c.folder) << c.path;
        EXPECT_EQ(s.name, c.name) << c.path;
        EXPECT_EQ(s.web, c.web) << c.path;
        EXPECT_EQ(s.documentFolder, c.documentFolder) << c.path;
    }
}

TEST(DocumentKeywords, WordsOfTwoOrMoreCharactersOnceEach)
{
    EXPECT_EQ(automaticKeywords("a to  be or not, be"), (QStringList{"to", "be", "or", "not,"}));
    EXPECT_EQ(automaticKeywords("Abcdefghijklmnopqrstuvwxy BE be"), (QStringList{"Abcdefghijklmnopqrst", "BE"}));
    EXPECT_TRUE(automaticKeywords("  a  ").isEmpty());
}

class UpdateVenDocTest : public RegisterTest {
protected:
    static constexpr const char* F = "UpdateVenDoc";
    void insertFor(const QString& catid, uint32_t catnum, const QString& path = {}, const QString& description = {})
    {
        GCatId = catid;
        GCatNum = catnum;
        GDocPath = path;
        GDocDescription = description;
        kit.call(makeUpdateVenDoc(), InsertRecord, &response);
        ASSERT_TRUE(kit.isOpen(F));
    }
    void openStored(uint8_t request, int64_t docnum)
    {
        load(VenDoc, DOC::NUM_KEY, [&](Record& r) { r.set(DOC::DOCNUM, docnum); });
        kit.call(makeUpdateVenDoc(), request, &response);
    }
    Record& doc() { return buffer(F); }
    uint8_t response = 0;
};

TEST_F(UpdateVenDocTest, ADocumentFiledFromTheDiaryGetsItsOwnerNumberAndAutomaticKeywords)
{
    addDocument(1, "N", 4, "/x/", "a.txt");
    addDocument(2, "N", 4, "/x/", "b.txt");
    addDocument(4, "N", 4, "/x/", "c.txt");  // three records: 4, taken, so the new one is 5
    insertFor("D", 3, "/home/anna/plan.txt", "Plan for the big move");
    EXPECT_EQ(kit.window(F).window().title(), "Adding:  (Uusi)");
    EXPECT_EQ(kit.text(F, "HeaderId"), "D");
    EXPECT_EQ(kit.text(F, "HeaderCat"), "000003");
    EXPECT_EQ(kit.text(F, "HeaderDoc"), "0000005");
    EXPECT_EQ(kit.text(F, "CreatedDate"), "09-12-2026");
    EXPECT_EQ(kit.text(F, "CreatedTime"), "10.00");

    // The first event of the path splits it; Tab skips the name.
    kit.focus(F, "Path");
    EXPECT_EQ(kit.text(F, "Path"), "/home/anna/");
    EXPECT_EQ(kit.text(F, "Name"), "plan.txt");
    EXPECT_EQ(Document_Path, "/home/anna");
    kit.tab(F);
    EXPECT_EQ(kit.window(F).window().focusedControl(), "PathLookup");
    kit.tab(F);
    EXPECT_EQ(kit.window(F).window().focusedControl(), "Description");
    kit.key(F, Qt::Key_End);
    kit.type(F, "Description", " x");
    kit.tab(F);
    EXPECT_EQ(keywordsOf(5), (QStringList{"Plan", "for", "the", "big", "move"}));
    EXPECT_EQ(kit.rows(F, "Keywords"), 5);
    EXPECT_EQ(kit.text(F, "KwCount"), "5");

    kit.press(F, "OK");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_EQ(response, RequestCompleted);
    const std::vector<Record> docs = WindowKit::records(VenDoc);
    ASSERT_EQ(docs.size(), 4u);
    const Record& d = docs.back();
    EXPECT_EQ(d.num(DOC::DOCNUM), 5);
    EXPECT_EQ(d.str(DOC::CATID), "D");
    EXPECT_EQ(d.num(DOC::CATNUM), 3);
    EXPECT_EQ(d.str(DOC::DOCPATH), "/home/anna/");
    EXPECT_EQ(d.str(DOC::DOCNAME), "plan.txt");
    EXPECT_EQ(d.str(DOC::DESCRIPTION), "Plan for the big move x");
    EXPECT_EQ(d.num(DOC::ACCESSEDDATE), d.num(DOC::CREATEDDATE));
    EXPECT_EQ(readIni(SettingsFile::programFile(), "Paths", "Document_Path", "?"), "/home/anna");
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(UpdateVenDocTest, TypedPathsSplitWhenAcceptedAndWebAddressesKeepTheirCase)
{
    Document_Path = "/docs";
    insertFor("N", 7);
    kit.focus(F, "Path");
    EXPECT_EQ(kit.text(F, "Path"), "/docs/");
    EXPECT_EQ(kit.text(F, "Name"), "");
    kit.type(F, "Path", "old.txt");
    kit.tab(F);
    EXPECT_EQ(kit.text(F, "Path"), "/docs/");
    EXPECT_EQ(kit.text(F, "Name"), "old.txt");
    // Retyped beside the old name: split again.
    kit.replaceText(F, "Path", "/a/new.txt");
    kit.tab(F);
    EXPECT_EQ(kit.text(F, "Path"), "/a/");
    EXPECT_EQ(kit.text(F, "Name"), "new.txt");
    EXPECT_TRUE(kit.control(F, "PathLookup").isVisible());
    // A web address: https counts, the address keeps its case, the file
    // lookup hides and the document folder stays.
    kit.replaceText(F, "Path", "HTTPS://Example.org/Docs/Page.html");
    kit.tab(F);
    EXPECT_EQ(kit.text(F, "Path"), "https://");
    EXPECT_EQ(kit.text(F, "Name"), "Example.org/Docs/Page.html");
    EXPECT_FALSE(kit.control(F, "PathLookup").isVisible());
    EXPECT_EQ(Document_Path, "/a");
    kit.type(F, "Description", "Docs");
    kit.tab(F);
    kit.press(F, "OK");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_EQ(readIni(SettingsFile::programFile(), "Paths", "Document_Path", "unwritten"), "unwritten");
    EXPECT_EQ(WindowKit::records(VenDoc).at(0).str(DOC::DOCNAME), "Example.org/Docs/Page.html");
}

TEST_F(UpdateVenDocTest, TheFileDialogReplacesThePathAndACancelledOneLeavesItEmpty)
{
    QString chosen = "/pick/me.txt";
    setFileDialogs({.file = [&](QWidget*, const QString&, const QString&, const QString&) { return chosen; }});
    insertFor("N", 1, "/old/x.txt", "D");
    kit.press(F, "PathLookup");
    kit.focus(F, "Description");
    EXPECT_EQ(kit.text(F, "Path"), "/pick/");
    EXPECT_EQ(kit.text(F, "Name"), "me.txt");
    chosen.clear();
    kit.press(F, "PathLookup");
    EXPECT_EQ(kit.text(F, "Path"), "");
    kit.press(F, "OK");
    EXPECT_EQ(kit.window(F).window().focusedControl(), "Name");
    setFileDialogs({});
}

TEST_F(UpdateVenDocTest, OkChecksTheOwnerAndTheEntriesInOrder)
{
    insertFor("", 0, "/d/", "");
    kit.press(F, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "CatId = ");
    kit.window(F).close(RequestCancelled);
    kit.settle();
    kit.clearBoxes();

    insertFor("C", 0, "/d/", "");
    kit.press(F, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "CatNum = 0");
    kit.window(F).close(RequestCancelled);
    kit.settle();
    kit.clearBoxes();

    // Blank name first, then the description, with no message.
    insertFor("C", 2, "/d/", "");
    kit.press(F, "OK");
    EXPECT_EQ(kit.window(F).window().focusedControl(), "Name");
    kit.type(F, "Name", "n.txt");
    kit.press(F, "OK");
    EXPECT_EQ(kit.window(F).window().focusedControl(), "Description");
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
}

TEST_F(UpdateVenDocTest, ACancelledInsertLeavesNoKeywordsAndTwoOpenFormsGetTwoNumbers)
{
    insertFor("D", 3, "/d/a.txt", "Alpha beta");
    kit.focus(F, "Description");
    kit.tab(F);
    EXPECT_EQ(keywordsOf(1), (QStringList{"Alpha", "beta"}));
    // A second form, from another owner, while the first is open.
    WindowController* first = &kit.window(F);
    insertFor("N", 9, "/d/b.txt", "Gamma");
    WindowController* second = nullptr;
    for (WindowController* w : WindowController::openWindows())
        if (w->procedure() == F && w != first)
            second = w;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->control("HeaderDoc").text(), "0000002");
    second->close(RequestCancelled);
    kit.settle();
    first->close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());

    // The next new document takes number 1 with no keywords of its own.
    insertFor("D", 3, "/d/c.txt", "");
    EXPECT_EQ(kit.text(F, "HeaderDoc"), "0000001");
    EXPECT_EQ(kit.rows(F, "Keywords"), 0);
}

TEST_F(UpdateVenDocTest, TheLastKeywordStaysAndTypedKeywordsJoinTheList)
{
    addDocument(6, "N", 2, "/d/", "a.txt", {}, "Single");
    addKeyword(6, "Single");
    openStored(ChangeRecord, 6);
    EXPECT_EQ(kit.window(F).window().title(), "Changing:  ()");
    EXPECT_EQ(kit.text(F, "KwCount"), "1");
    // A changed document that has a keyword gets no automatic ones.
    kit.type(F, "Description", " More words");
    kit.tab(F);
    EXPECT_EQ(keywordsOf(6), QStringList{"Single"});

    kit.press(F, "KwDelete");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "At least one Keyword is mandatory");
    EXPECT_EQ(kit.boxes()[0].caption, "Warning!");
    EXPECT_EQ(keywordsOf(6), QStringList{"Single"});

    kit.press(F, "KwInsert");
    ASSERT_TRUE(kit.isOpen("KeywordFr"));
    EXPECT_EQ(kit.window("KeywordFr").window().title(), "Adding Keyword");
    EXPECT_EQ(kit.text("KeywordFr", "DocNum"), "0000006");
    kit.type("KeywordFr", "Keyword", "extra");
    kit.press("KeywordFr", "OK");
    EXPECT_EQ(keywordsOf(6), (QStringList{"Single", "extra"}));
    EXPECT_EQ(kit.text(F, "KwCount"), "2");

    // The same keyword in other letters is refused by the unique key.
    kit.press(F, "KwInsert");
    kit.type("KeywordFr", "Keyword", "EXTRA");
    kit.press("KeywordFr", "OK");
    EXPECT_TRUE(kit.isOpen("KeywordFr"));
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().caption, "Duplicate Key Error");
    kit.press("KeywordFr", "Cancel");

    kit.highlight(F, 1, "Keywords");
    const QString highlighted = kit.cell(F, 1, 0, "Keywords");
    kit.press(F, "KwDelete");  // two keywords: deleted at once, no question
    EXPECT_EQ(keywordsOf(6).size(), 1);
    EXPECT_FALSE(keywordsOf(6).contains(highlighted));
    EXPECT_EQ(kit.text(F, "KwCount"), "1");
}

TEST_F(UpdateVenDocTest, OpenUsesTheChosenProgramWithTheDocumentAsOneArgument)
{
    const QString folder = kit.folder();
    addProgram("Editor", "/usr/bin/editor");
    addDocument(1, "N", 2, folder + "/", "it's \"big\" one.txt", "Editor");
    openStored(ChangeRecord, 1);
    kit.press(F, "Open");
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Start");
    EXPECT_EQ(shell[0].file, "/usr/bin/editor");
    EXPECT_EQ(splitParameters(shell[0].parameters), QStringList{folder + "/it's \"big\" one.txt"});
    EXPECT_EQ(shell[0].directory, folder + "/");
    EXPECT_FALSE(kit.isOpen(F));  // Open presses OK: the access is stored
    EXPECT_TRUE(log().contains(" Open: " + folder + "/it's \"big\" one.txt"));
    EXPECT_TRUE(log().startsWith(DateLine));
}

// A document the shell refuses (a file that could run as a program) is not
// logged as opened.
TEST_F(UpdateVenDocTest, ARefusedOpenWritesNoOpenLine)
{
    addDocument(1, "N", 2, kit.folder() + "/", "run.sh", "");
    setShellHandler([this] {
        shell.push_back({ShellOperation, ShellFile, ShellParameters, ShellDirectory});
        return kShellAccessDenied;
    });
    openStored(ChangeRecord, 1);
    kit.press(F, "Open");
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Open");
    EXPECT_FALSE(log().contains(" Open: ")) << log().toStdString();
}

TEST_F(UpdateVenDocTest, OpenHandsWebAndUnregisteredProgramsToTheDesktopAndViewToTheViewer)
{
    stand("ViewerWnd", RequestCompleted);
    addDocument(1, "N", 2, "https://", "Example.org/A", "Editor");  // Editor is not registered
    addDocument(2, "N", 2, "/d/", "notes.txt", " view ");
    addDocument(3, "N", 2, "http://", "example.org", "");
    openStored(ChangeRecord, 1);
    kit.press(F, "Open");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("\"Editor\" is not in the program register"));
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Open");
    EXPECT_EQ(shell[0].file, "https://Example.org/A");
    EXPECT_EQ(shell[0].directory, "");

    openStored(ChangeRecord, 2);
    kit.press(F, "Open");
    EXPECT_EQ(shell.size(), 1u);
    EXPECT_EQ(runs, QStringList{"ViewerWnd request 0"});
    EXPECT_EQ(ShellFile, "/d/notes.txt");

    Log_Activity = "N";
    const QString before = log();
    openStored(ChangeRecord, 3);
    kit.press(F, "Open");
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[1].file, "http://example.org");
    EXPECT_EQ(log(), before);
}

TEST_F(UpdateVenDocTest, DeleteOpensOnTheDocumentAndOkDeletesItWithItsKeywords)
{
    addDocument(3, "D", 1, "/d/", "x.txt");
    addKeyword(3, "one");
    addKeyword(3, "two");
    openStored(DeleteRecord, 3);
    EXPECT_EQ(kit.window(F).window().title(), "Deleting:  ()");
    kit.press(F, "OK");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_TRUE(WindowKit::records(VenDoc).empty());
    EXPECT_TRUE(WindowKit::records(VenKWrd).empty());
}

} // namespace
} // namespace ven::test
