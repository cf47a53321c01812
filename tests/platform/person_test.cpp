// What a person meets in every framework window: Enter presses the
// default button, fields show their values without blank padding, a
// stepping key takes the typed text first, a window waiting for one it
// called takes no input, text boxes are accepted as the focus leaves them,
// entries follow their declared case, and a form's OK runs every field's
// accepting rule (waiting for a lookup it opens) before it stores.
#include "Samples.h"

#include "platform/DateField.h"
#include "platform/DateTime.h"

#include <QContextMenuEvent>
#include <QPlainTextEdit>

namespace ven::test {
namespace {

const WindowDef& personDef()
{
    static const WindowDef def{
        .title = "Person",
        .w = 200,
        .h = 120,
        .controls = {
            {.name = "Name", .kind = Kind::Entry, .x = 10, .y = 10, .w = 80, .h = 12, .picture = "s20"},
            {.name = "Town", .kind = Kind::Entry, .x = 100, .y = 10, .w = 80, .h = 12, .picture = "s20", .flags = Capitalize},
            {.name = "Code", .kind = Kind::Entry, .x = 100, .y = 26, .w = 40, .h = 12, .picture = "s5", .flags = Upper},
            {.name = "Time", .kind = Kind::Spin, .x = 10, .y = 26, .w = 40, .h = 12, .picture = "T01.B", .low = 100,
             .step = 6000, .keys = &kTimeStepKeys},
            {.name = "Hours", .kind = Kind::Spin, .x = 10, .y = 42, .w = 40, .h = 12, .picture = "T01B", .low = 1, .high = 8640000,
             .step = 360000},
            {.name = "Day", .kind = Kind::Spin, .x = 60, .y = 42, .w = 50, .h = 12, .picture = "D06-B"},
            {.name = "Memo", .kind = Kind::Text, .x = 10, .y = 58, .w = 180, .h = 30},
            {.name = "Other", .kind = Kind::Button, .text = "Other", .x = 10, .y = 100, .w = 40, .h = 14},
            {.name = "Save", .kind = Kind::Button, .text = "Save", .x = 100, .y = 100, .w = 40, .h = 14, .flags = Default},
        }};
    return def;
}

class PersonWnd : public WindowController {
public:
    PersonWnd() : WindowController("PersonWnd", personDef(), ProcedureTraits{})
    {
        window().bind("Name", bindTo(name));
        window().bind("Town", bindTo(town));
        window().bind("Code", bindTo(code));
        window().bind("Time", bindTo(time));
        window().bind("Hours", bindTo(hours));
        window().bind("Memo", bindTo(memo));
        FIRSTFIELD = "Name";
    }
    QString name = QStringLiteral("Ann                 ");  // a field's blank padding
    QString town, code, memo;
    int32_t time = 0, hours = 1, day = 0;
    QStringList heard;  // "accepted:Save", "right:Day" ...

protected:
    bool setUp() override
    {
        DateField::attach(*this, "Day", &day, "Pick");
        return true;
    }
    void accepted(const QString& c) override
    {
        heard << "accepted:" + c;
        WindowController::accepted(c);
    }
    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (e == FieldEvent::RightClick)
            heard << "right:" + c;
        WindowController::fieldEvent(c, e);
    }
};

PersonWnd& open(WindowKit& kit)
{
    kit.call(std::make_unique<PersonWnd>(), NoRequest);
    return static_cast<PersonWnd&>(kit.window("PersonWnd"));
}

TEST(Person, EnterPressesTheDefaultButtonOrTheFocusedOneButNotInATextBox)
{
    WindowKit kit;
    PersonWnd& w = open(kit);
    kit.type("PersonWnd", "Town", "x");
    kit.enter("PersonWnd");
    EXPECT_TRUE(w.heard.contains("accepted:Town"));  // the entry is taken first
    EXPECT_TRUE(w.heard.contains("accepted:Save"));
    w.heard.clear();
    kit.focus("PersonWnd", "Other");
    kit.enter("PersonWnd");
    EXPECT_EQ(w.heard, QStringList{"accepted:Other"});
    w.heard.clear();
    kit.type("PersonWnd", "Memo", "line");
    kit.enter("PersonWnd");
    EXPECT_FALSE(w.heard.contains("accepted:Save"));
    EXPECT_EQ(kit.text("PersonWnd", "Memo"), "line\n");
    // A default button that is disabled is not pressed.
    w.heard.clear();
    w.control("Save").disable();
    kit.focus("PersonWnd", "Name");
    kit.enter("PersonWnd");
    EXPECT_FALSE(w.heard.contains("accepted:Save"));
}

// A window whose first control is a button other than its default gives
// the focus to the default, which Enter then presses.
TEST(Person, AWindowOpeningOnAButtonPassesTheFocusToItsDefault)
{
    WindowKit kit;
    static const WindowDef buttonsFirst{.title = "Buttons", .w = 200, .h = 40, .controls = {
        {.name = "Data", .kind = Kind::Button, .text = "Data", .x = 4, .y = 8, .w = 50, .h = 14},
        {.name = "All", .kind = Kind::Button, .text = "All", .x = 60, .y = 8, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 116, .y = 8, .w = 50, .h = 14},
    }};
    struct ButtonsWnd : WindowController {
        ButtonsWnd() : WindowController("ButtonsWnd", buttonsFirst, ProcedureTraits{}) {}
        QStringList heard;
        void accepted(const QString& c) override { heard << c; }
    };
    kit.call(std::make_unique<ButtonsWnd>(), NoRequest);
    auto& b = static_cast<ButtonsWnd&>(kit.window("ButtonsWnd"));
    kit.enter("ButtonsWnd");
    EXPECT_EQ(b.heard, QStringList{"All"});
}

TEST(Person, FieldsShowValuesWithoutTheirBlankPaddingAndTypingGoesOnAtTheEnd)
{
    WindowKit kit;
    PersonWnd& w = open(kit);
    EXPECT_EQ(kit.text("PersonWnd", "Name"), "Ann");
    kit.focus("PersonWnd", "Name");
    kit.key("PersonWnd", Qt::Key_End);
    kit.type("PersonWnd", "Name", "e");
    kit.tab("PersonWnd");
    EXPECT_EQ(w.name, "Anne");
    kit.type("PersonWnd", "Town", "new york");
    kit.type("PersonWnd", "Code", "ab1");
    kit.tab("PersonWnd");
    EXPECT_EQ(w.town, "New York");
    EXPECT_EQ(w.code, "AB1");
}

TEST(Person, SteppingKeysTakeTheTypedTextFirst)
{
    WindowKit kit;
    PersonWnd& w = open(kit);
    const auto at = [](int h, int m) { return int32_t(h * 360000 + m * 6000 + 1); };
    struct Case {
        const char* control;
        const char* typed;
        int key;
        int32_t PersonWnd::*value;
        int32_t expected;
    };
    const int shiftUp = (Qt::SHIFT | Qt::Key_Up).toCombined(), altUp = (Qt::ALT | Qt::Key_Up).toCombined();
    const int ctrlDown = (Qt::CTRL | Qt::Key_Down).toCombined();
    const Case cases[] = {
        {"Time", "10.03", shiftUp, &PersonWnd::time, at(10, 10)},
        {"Time", "10.03", altUp, &PersonWnd::time, at(10, 15)},
        {"Time", "10.03", ctrlDown, &PersonWnd::time, at(9, 5)},
        {"Time", "00.02", ctrlDown, &PersonWnd::time, 100},
        {"Time", "10.03", Qt::Key_Up, &PersonWnd::time, at(10, 4)},
        {"Hours", "08:00", Qt::Key_Up, &PersonWnd::hours, at(9, 0)},  // its declared step: an hour
        {"Day", "31-01-2025", altUp, &PersonWnd::day, dayNumber(2025, 3, 3)},
        {"Day", "31-01-2025", Qt::Key_Down, &PersonWnd::day, dayNumber(2025, 1, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.control << " " << c.typed << " " << c.key);
        kit.replaceText("PersonWnd", c.control, c.typed);  // typed, not confirmed
        kit.key("PersonWnd", c.key);
        EXPECT_EQ(w.*c.value, c.expected);
    }
}

TEST(Person, AWindowWaitingForOneItCalledTakesNoInput)
{
    WindowKit kit;
    PersonWnd& w = open(kit);
    int pickers = 0;
    setDatePicker([&](const QString&, int32_t&, std::function<void(bool)>) { ++pickers; });
    kit.call(std::make_unique<SampleWnd>("Callee", ProcedureTraits{}), NoRequest);
    ASSERT_TRUE(w.waiting());
    QWidget* day = w.control("Day").widget();
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(3, 3), day->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(day->findChild<QLineEdit*>(), &right);
    QTest::mouseDClick(day->findChild<QLineEdit*>(), Qt::LeftButton);
    QTest::keyClick(day->findChild<QLineEdit*>(), Qt::Key_Up);
    kit.settle();
    EXPECT_EQ(pickers, 0);
    EXPECT_TRUE(w.heard.isEmpty()) << w.heard.join(' ').toStdString();
    EXPECT_EQ(w.day, 0);
    kit.press("Callee", "Close");
    EXPECT_FALSE(w.waiting());
    QApplication::sendEvent(day->findChild<QLineEdit*>(), &right);
    kit.settle();
    EXPECT_EQ(pickers, 1);
    EXPECT_TRUE(w.heard.contains("right:Day"));
}

TEST(Person, ATextBoxIsAcceptedAsTheFocusLeavesItWithItsLinesInCrLf)
{
    WindowKit kit;
    PersonWnd& w = open(kit);
    kit.type("PersonWnd", "Memo", "one");
    kit.key("PersonWnd", Qt::Key_Return);
    kit.type("PersonWnd", "Memo", "two");
    EXPECT_FALSE(w.heard.contains("accepted:Memo"));
    kit.focus("PersonWnd", "Name");
    EXPECT_TRUE(w.heard.contains("accepted:Memo"));
    EXPECT_EQ(w.memo, "one\r\ntwo");
    // Shown again unchanged: the box is not rewritten and keeps its cursor.
    auto* box = w.control("Memo").as<QPlainTextEdit>();
    QTextCursor c = box->textCursor();
    c.setPosition(2);
    box->setTextCursor(c);
    w.window().display();
    EXPECT_EQ(box->textCursor().position(), 2);
}

// A form whose Name rule looks the name up in a list (a called window)
// when it is not known yet, and whose Amount is required.
const WindowDef& lookupFormDef()
{
    static const WindowDef def = [] {
        WindowDef d = sampleFormDef();
        d.controls[2].flags |= Required;
        return d;
    }();
    return def;
}
class LookupFr : public RecordForm {
public:
    LookupFr() : RecordForm("LookupFr", lookupFormDef(), sampleFile(), ProcedureTraits{}) { FIRSTFIELD = "Name"; }
    int lookups = 0, rules = 0;

protected:
    void accepted(const QString& c) override
    {
        if (c == u"Name") {
            ++rules;
            if (primary().rec().str(TST::NAME).trimmed() == u"Unknown") {
                ++lookups;
                callProcedureHere();
                return;
            }
        }
        RecordForm::accepted(c);
    }

private:
    void callProcedureHere()
    {
        call(std::make_unique<SampleWnd>("NameList", ProcedureTraits{}), SelectRecord, [this](uint8_t) {
            primary().rec().set(TST::NAME, "Known");
            window().display();
        });
    }
};

TEST(Person, OkRunsEveryFieldsRuleWaitsForItsLookupAndNeedsTheRequiredOnes)
{
    WindowKit kit;
    kit.call(std::make_unique<LookupFr>(), InsertRecord);
    auto& f = static_cast<LookupFr&>(kit.window("LookupFr"));
    kit.replaceText("LookupFr", "Amount", "");
    kit.key("LookupFr", Qt::Key_Delete);
    kit.type("LookupFr", "Name", "Unknown");  // typed, never confirmed
    kit.press("LookupFr", "OK");
    ASSERT_TRUE(kit.isOpen("NameList"));  // the pass waits for the lookup
    EXPECT_EQ(f.lookups, 1);
    EXPECT_TRUE(sampleRecord(1).str(TST::NAME).trimmed().isEmpty());  // nothing stored yet
    kit.press("NameList", "Close");
    // The required amount is blank: the form stays open with the cursor in it.
    ASSERT_TRUE(kit.isOpen("LookupFr"));
    EXPECT_EQ(kit.text("LookupFr", "Name"), "Known");
    EXPECT_EQ(f.window().focusedControl(), "Amount");
    EXPECT_TRUE(sampleRecord(1).str(TST::NAME).trimmed().isEmpty());  // nothing stored yet
    kit.type("LookupFr", "Amount", "5");
    kit.enter("LookupFr");  // Enter in the field reaches OK
    EXPECT_FALSE(kit.isOpen("LookupFr"));
    EXPECT_FALSE(kit.isOpen("NameList"));
    ASSERT_EQ(sampleCount(), 1);
    EXPECT_EQ(sampleRecord(1).str(TST::NAME).trimmed(), "Known");
    EXPECT_EQ(sampleRecord(1).num(TST::AMOUNT), 5);
}

} // namespace
} // namespace ven::test
