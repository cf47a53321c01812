// What a record form's entries take: no more characters than their fields
// store, typed text that does not read kept with a message and the cursor,
// numbers beyond what their fields hold refused with the range message,
// and Tab leaving a text box (Ctrl+Tab types a tab).
#include "WindowKit.h"

#include "platform/RecordForm.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ven::test {
namespace {

namespace ENT {
enum Field : uint16_t { NUMBER, SMALL, LEVEL, NAME, MEMO, DAY, AT };
} // namespace ENT

const FileDef& entryFile()
{
    static const FileDef def{
        .label = "VenEnt",
        .prefix = "ENT",
        .fields = {{"NUMBER", FieldType::Long, 4, ""},
                   {"SMALL", FieldType::Byte, 1, ""},
                   {"LEVEL", FieldType::Byte, 1, ""},
                   {"NAME", FieldType::CString, 11, ""},
                   {"MEMO", FieldType::Memo, 20, "Ent:Memo"},
                   {"DAY", FieldType::Long, 4, ""},
                   {"AT", FieldType::Time, 4, ""}},
        .keys = {{"ENT:NUMBERKEY", {{ENT::NUMBER}}, true, false, true, 0, "Number"}},
        .ranges = {{ENT::LEVEL, 1, 9, "Level (1-9)", "1 and 9"}},
    };
    return def;
}

// Pictures wider than the fields behind them, as the Parts' forms have.
const WindowDef& entryFormDef()
{
    static const WindowDef def{
        .title = "Entries",
        .w = 220,
        .h = 140,
        .controls = {
            {.name = "SmallPrompt", .kind = Kind::Prompt, .text = "&Small:", .x = 4, .y = 6, .w = 40, .h = 10},
            {.name = "Small", .kind = Kind::Entry, .x = 50, .y = 4, .w = 40, .h = 12, .picture = "n5", .use = "ENT:SMALL"},
            {.name = "Level", .kind = Kind::Spin, .x = 100, .y = 4, .w = 40, .h = 12, .picture = "n3", .use = "ENT:LEVEL"},
            {.name = "Name", .kind = Kind::Entry, .x = 50, .y = 20, .w = 100, .h = 12, .picture = "s40", .use = "ENT:NAME"},
            {.name = "Day", .kind = Kind::Spin, .x = 50, .y = 36, .w = 60, .h = 12, .picture = "D06-B", .use = "ENT:DAY"},
            {.name = "At", .kind = Kind::Entry, .x = 120, .y = 36, .w = 40, .h = 12, .picture = "T01.B", .use = "ENT:AT"},
            {.name = "Memo", .kind = Kind::Text, .x = 4, .y = 52, .w = 200, .h = 50, .use = "ENT:MEMO"},
            {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 100, .y = 120, .w = 45, .h = 14, .flags = Default},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 150, .y = 120, .w = 45, .h = 14,
             .closes = RequestCancelled},
        }};
    return def;
}

class EntryFr : public RecordForm {
public:
    EntryFr() : RecordForm("EntryFr", entryFormDef(), entryFile(), ProcedureTraits{}) { FIRSTFIELD = "Small"; }

protected:
    void primeFields(bool) override
    {
        primary().rec().set(ENT::SMALL, int64_t(5));
        primary().rec().set(ENT::LEVEL, int64_t(1));
    }
};

Record storedEntry()
{
    Context ctx;
    KeyedFile& f = ctx.file(entryFile());
    f.open();
    f.rec().clear();
    f.rec().set(ENT::NUMBER, int64_t(1));
    if (!f.get(0))
        f.rec().clear();
    return f.rec();
}

KeyedFile& formFile(WindowKit& kit) { return static_cast<EntryFr&>(kit.window("EntryFr")).primary(); }

TEST(Entries, TakeNoMoreCharactersThanTheirFieldsStore)
{
    WindowKit kit;
    kit.call(std::make_unique<EntryFr>(), InsertRecord);
    // The picture says 40, the field holds 10.
    kit.type("EntryFr", "Name", "Abcdefghijklmno");
    EXPECT_EQ(kit.text("EntryFr", "Name"), "Abcdefghij");
    // A memo of 20: each line end takes the two characters it is stored as.
    kit.type("EntryFr", "Memo", "0123456789");
    kit.key("EntryFr", Qt::Key_Return);
    kit.type("EntryFr", "Memo", "abcdefghijkl");
    EXPECT_EQ(kit.text("EntryFr", "Memo"), "0123456789\nabcdefgh");
    // Pasting in the middle keeps what was there.
    auto* memo = kit.control("EntryFr", "Memo").as<QPlainTextEdit>();
    kit.key("EntryFr", (Qt::CTRL | Qt::Key_A).toCombined());
    kit.key("EntryFr", Qt::Key_Delete);
    kit.type("EntryFr", "Memo", "0123456789");
    QTextCursor c = memo->textCursor();
    c.setPosition(5);
    memo->setTextCursor(c);
    QApplication::clipboard()->setText("ABCDEFGHIJ");
    kit.key("EntryFr", (Qt::CTRL | Qt::Key_V).toCombined());
    EXPECT_EQ(kit.text("EntryFr", "Memo"), "01234ABCDEFGHIJ56789");
    EXPECT_EQ(memo->textCursor().position(), 15);

    kit.press("EntryFr", "OK");
    ASSERT_FALSE(kit.isOpen("EntryFr"));
    EXPECT_TRUE(kit.boxes().empty());
    // Stored as shown: nothing cut on the way.
    EXPECT_EQ(storedEntry().str(ENT::NAME), "Abcdefghij");
    EXPECT_EQ(storedEntry().str(ENT::MEMO), "01234ABCDEFGHIJ56789");
}

// A paste that does not fit is refused whole with a message saying how much
// fits; one that fits goes in. Text boxes count line ends as stored (CR LF).
TEST(Entries, APasteThatDoesNotFitIsRefusedWithWhatFits)
{
    struct Case {
        const char* control;
        QString before;  // typed first; the paste goes at its end
        QString pasted;
        QString after;   // the control's text after the paste
        QString told;    // the message shown, or none
    };
    const QString big(10 * 1024 * 1024, u'x');
    const std::vector<Case> cases = {
        {"Name", "", "abcdefghij", "abcdefghij", ""},
        {"Name", "", "abcdefghijk", "", "The text to paste has 11 characters; this field holds 10.|Nothing was pasted."},
        {"Name", "abc", "defghijk", "abc",
         "The text to paste has 8 characters; this field holds 10, and 7 more fit in it now.|Nothing was pasted."},
        {"Memo", "0123456789", "ab\ncd\nef", "0123456789ab\ncd\nef", ""},
        {"Memo", "0123456789", "ab\r\ncd\nefg", "0123456789",
         "The text to paste has 11 characters; this field holds 20, and 10 more fit in it now.|Nothing was pasted."},
        {"Memo", "", big, "", QStringLiteral("The text to paste has %1 characters; this field holds 20.|Nothing was pasted.")
                                  .arg(big.size())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " + " + c.pasted.left(20).toStdString());
        WindowKit kit;
        kit.call(std::make_unique<EntryFr>(), InsertRecord);
        if (!c.before.isEmpty())
            kit.type("EntryFr", c.control, c.before);
        else
            kit.control("EntryFr", c.control).widget()->setFocus();
        QApplication::clipboard()->setText(c.pasted);
        kit.key("EntryFr", (Qt::CTRL | Qt::Key_V).toCombined());
        EXPECT_EQ(kit.text("EntryFr", c.control), c.after);
        if (c.told.isEmpty()) {
            EXPECT_TRUE(kit.boxes().empty());
        } else {
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].caption, "Paste Too Long");
            EXPECT_EQ(kit.boxes()[0].text, QString(c.told).replace('|', '\n'));
        }
    }
}

// Typed text that its picture cannot read, and a number beyond what its
// field holds (not stored wrapped, 300 as 44), stay as typed with their
// message and the cursor; OK tells again and stores nothing until a valid
// value replaces them.
TEST(Entries, UnreadableOrOutOfRangeTextStaysWithItsMessageAndTheCursor)
{
    WindowKit kit;
    kit.call(std::make_unique<EntryFr>(), InsertRecord);
    struct Case {
        const char* control;
        const char* typed;
        const char* caption;
        const char* told;
        uint16_t field;
        const char* valid;  // typed over it afterwards
    };
    const Case cases[] = {
        {"Day", "31-02-2024", "Invalid Entry", "\"31-02-2024\" is not a valid date.\nType the date as dd-mm-yyyy.", ENT::DAY, ""},
        {"At", "25.99", "Invalid Entry", "\"25.99\" is not a valid time.\nType the time as hh.mm.", ENT::AT, ""},
        {"At", "0930", "Invalid Entry", "\"0930\" is not a valid time.\nType the time as hh.mm.", ENT::AT, ""},
        {"Small", "abc", "Invalid Entry", "\"abc\" is not a valid number.\nType a whole number, not below 0, up to 9,999.",
         ENT::SMALL, ""},
        // No range of its own: the byte's bounds, named by the prompt.
        {"Small", "300", "Range Error", "The value of Small must be between 0 and 255.", ENT::SMALL, "7"},
        // The field's declared range speaks for it.
        {"Level", "300", "Range Error", "The value of Level (1-9) must be between 1 and 9.", ENT::LEVEL, "7"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.control) + " " + k.typed);
        const QString before = formFile(kit).rec().get(k.field).toString();
        kit.clearBoxes();
        kit.replaceText("EntryFr", k.control, k.typed);
        kit.tab("EntryFr");
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, k.caption);
        EXPECT_EQ(kit.boxes()[0].text, k.told);
        EXPECT_EQ(kit.text("EntryFr", k.control), k.typed);
        EXPECT_EQ(kit.window("EntryFr").window().focusedControl(), k.control);
        EXPECT_EQ(formFile(kit).rec().get(k.field).toString(), before);
        // OK with the text still wrong tells again and stores nothing.
        kit.clearBoxes();
        kit.press("EntryFr", "OK");
        EXPECT_EQ(kit.boxes().size(), 1u);
        ASSERT_TRUE(kit.isOpen("EntryFr"));
        EXPECT_EQ(kit.window("EntryFr").window().focusedControl(), k.control);
        EXPECT_EQ(kit.text("EntryFr", k.control), k.typed);
        EXPECT_EQ(storedEntry().num(ENT::NUMBER), 1);  // only the placeholder of the number
        EXPECT_EQ(storedEntry().num(ENT::SMALL), 0);
        kit.replaceText("EntryFr", k.control, k.valid);
        if (!*k.valid)
            kit.key("EntryFr", Qt::Key_Delete);  // the selected text goes
        ASSERT_EQ(kit.text("EntryFr", k.control).trimmed(), k.valid);
    }
    kit.clearBoxes();
    kit.press("EntryFr", "OK");
    ASSERT_FALSE(kit.isOpen("EntryFr"));
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(storedEntry().num(ENT::SMALL), 7);
    EXPECT_EQ(storedEntry().num(ENT::LEVEL), 7);
}

TEST(Entries, TabLeavesATextBoxAndCtrlTabTypesATab)
{
    WindowKit kit;
    kit.call(std::make_unique<EntryFr>(), InsertRecord);
    kit.type("EntryFr", "Memo", "a");
    kit.key("EntryFr", (Qt::CTRL | Qt::Key_Tab).toCombined());
    kit.type("EntryFr", "Memo", "b");
    EXPECT_EQ(kit.text("EntryFr", "Memo"), "a\tb");
    kit.tab("EntryFr");
    EXPECT_EQ(kit.text("EntryFr", "Memo"), "a\tb");
    EXPECT_EQ(kit.window("EntryFr").window().focusedControl(), "OK");
    kit.backtab("EntryFr");
    EXPECT_EQ(kit.window("EntryFr").window().focusedControl(), "Memo");
    EXPECT_EQ(formFile(kit).rec().str(ENT::MEMO), "a\tb");  // heard as accepted when left
}

} // namespace
} // namespace ven::test
