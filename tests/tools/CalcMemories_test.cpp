// The calculator's currency keys from exchange-rate records, its numbered
// memories (stored, added to, recalled, looked up, refused), the memory and
// exchange-rate registers' checks, and the tape viewer's Edit and Erase.
#include "CalcKit.h"

#include "core/Globals.h"
#include "platform/Shell.h"
#include "tools/ForexBr.h"
#include "tools/ForexFr.h"
#include "tools/MemoriesBr.h"
#include "tools/MemoriesFr.h"
#include "tools/ViewCalcTapeWnd.h"

namespace ven::test {
namespace {

const int32_t kDay = dayNumber(2026, 12, 7);  // a Monday
const int32_t kTime = 14 * 360000 + 5 * 6000 + 1;

TEST(CalcCurrencyKeys, FacesTipsAndRatesFromTheRecords)
{
    CalcKit calc;
    addCalcRecord("E", 1, "ECU Euro", 7.45, kDay, kTime);
    addCalcRecord("E", 2, "USD Dollar", 0.92, kDay, kTime);
    addCalcRecord("E", 3, "EUR Euro", 1.1, kDay, kTime);
    addCalcRecord("E", 4, "Yen", 0, kDay, kTime);
    calc.kit.start([] { return makeCalculatorWnd({}); });

    // The missing fifth record is told; the others open quietly.
    ASSERT_EQ(calc.kit.boxes().size(), 1u);
    EXPECT_EQ(calc.kit.boxes()[0].text, "Record Not Found Currency 5");
    EXPECT_EQ(calc.kit.boxes()[0].caption, "");

    struct Face {
        const char* key;
        const char* text;
    };
    for (const Face& f : {Face{"Currency1", "\u20ac"}, Face{"Currency2", "$"}, Face{"Currency3", "EUR"},
                          Face{"Currency4", "?"}, Face{"Currency5", "?"}})
        EXPECT_EQ(calc.kit.text(kCalc, f.key), QString::fromUtf8(f.text)) << f.key;
    EXPECT_EQ(calc.kit.control(kCalc, "Currency2").tip(),
              "Exchange Rate for Dollar = 0.92\nLast updated: Monday 07-12-2026 at 14.05");
    EXPECT_EQ(calc.kit.control(kCalc, "Currency5").tip(),
              "Value for Currency not defined yet!\nPlease Select Exchange Rates from Registers Menu!");

    // A rate enters like a typed number; the pending operation stays.
    calc.keys("1 0 0 * C2 =");
    EXPECT_EQ(calc.display(), "92");
    calc.keys("5 0 / C3 =");
    EXPECT_EQ(calc.display(), "45.454545454545");
    calc.keys("C5");
    EXPECT_EQ(calc.display(), "0");
    EXPECT_EQ(calc.tape(), (QStringList{" 100 * 0.92 = 92", " 50 / 1.1 = 45.454545454545"}));
}

struct Memories : ::testing::Test {
    CalcKit calc;
    Memories()
    {
        addCalcRecord("M", 3, "Petty cash", 10, kDay, kTime);
        addCalcRecord("M", 7, "Savings", 100, kDay, kTime);
        addCalcRecord("M", 44, "Other", 44, kDay, kTime);
        addCalcRecord("E", 7, "SEK Krona", 0.09, kDay, kTime);
        calc.open();
    }
    void typeMemoryNumber(const QString& n)
    {
        calc.kit.type(kCalc, "MemNumber", n);
        calc.kit.enter(kCalc);
    }
};

TEST_F(Memories, LookupChoosesAMemoryThatTheKeysThenUse)
{
    calc.kit.press(kCalc, "Lookup");
    ASSERT_TRUE(calc.kit.isOpen("MemoriesBr"));
    // Only memories are listed, by number.
    ASSERT_EQ(calc.kit.rows("MemoriesBr"), 3);
    EXPECT_EQ(calc.kit.cell("MemoriesBr", 1, 0), "007");
    EXPECT_EQ(calc.kit.cell("MemoriesBr", 1, 1), "Savings");
    calc.kit.highlight("MemoriesBr", 1);
    calc.kit.press("MemoriesBr", "Select");
    EXPECT_FALSE(calc.kit.isOpen("MemoriesBr"));
    EXPECT_EQ(calc.kit.text(kCalc, "MemNumber"), "007");
    EXPECT_EQ(calc.kit.text(kCalc, "MemName"), "Savings");
    EXPECT_EQ(calc.kit.text(kCalc, "MemValue"), "100");

    calc.keys("5 0 M+ MR");
    EXPECT_EQ(calc.display(), "150");
    EXPECT_EQ(calcValue("M", 7), 150.0);
    calc.keys("2 M");
    EXPECT_EQ(calcValue("M", 7), 2.0);
    EXPECT_EQ(calc.tape(), (QStringList{"Use Memory Number 007 Value = 100", "Memory 007 Value = 150", "Memory Recall:",
                                        "Number = 150", "Memory 007 Value = 2"}));

    // Closing the lookup without a choice keeps the memory in use.
    calc.kit.press(kCalc, "Lookup");
    calc.kit.press("MemoriesBr", "Close");
    EXPECT_EQ(calc.tape().last(), "Use Memory Number 007 Value = 2");
}

TEST_F(Memories, PlusAndMinusAfterATypedNumberUseThatMemory)
{
    calc.kit.press(kCalc, "Lookup");
    calc.kit.highlight("MemoriesBr", 1);
    calc.kit.press("MemoriesBr", "Select");  // memory 7, 100
    calc.kit.replaceText(kCalc, "MemNumber", "3");
    calc.kit.enter(kCalc);
    calc.keys("5 M+");
    EXPECT_EQ(calcValue("M", 3), 15.0);
    EXPECT_EQ(calcValue("M", 7), 100.0);
    calc.keys("2 M-");
    EXPECT_EQ(calcValue("M", 3), 13.0);
    EXPECT_EQ(calc.kit.text(kCalc, "MemName"), "Petty cash");
    EXPECT_EQ(calc.tape().mid(1), (QStringList{"Memory 003 Value = 15", "Memory 003 Value = 13"}));
}

TEST_F(Memories, AMemoryWithoutItsRecordIsNotStoredNorLoggedAsStored)
{
    typeMemoryNumber("12");
    EXPECT_EQ(calc.kit.text(kCalc, "MemNumber"), "012");
    calc.kit.clearBoxes();
    calc.keys("8 M");
    ASSERT_EQ(calc.kit.boxes().size(), 1u);
    EXPECT_EQ(calc.kit.boxes()[0].text, "Record Not Found");
    EXPECT_FALSE(calcValue("M", 12));
    EXPECT_EQ(calc.tape(), QStringList{});
    calc.kit.clearBoxes();
    calc.keys("M+");
    EXPECT_EQ(calc.kit.boxes().size(), 1u);
    EXPECT_FALSE(calcValue("M", 12));
    EXPECT_EQ(calc.tape(), QStringList{});
}

TEST_F(Memories, AMemoryNumberPastTheRangeIsRefusedAndNeverWraps)
{
    typeMemoryNumber("300");  // 300 would be 44 in one byte
    EXPECT_EQ(calc.kit.text(kCalc, "MemNumber"), "");
    calc.keys("5 M");
    EXPECT_EQ(calcValue("M", 44), 44.0);
    EXPECT_EQ(calc.tape(), QStringList{"Memory = 5"});
    typeMemoryNumber("255");
    EXPECT_EQ(calc.kit.text(kCalc, "MemNumber"), "255");
}

TEST_F(Memories, MStoresTheValueOfAWideDisplayNotZero)
{
    calc.kit.choose(kCalc, "Decimals", "2");
    calc.keys("1 0 ^ 1 5 = M");
    EXPECT_EQ(calc.display(), "##############");
    EXPECT_EQ(calc.kit.text(kCalc, "MemValue"), "1e+15");
    calc.keys("sqr");  // the value squared, not the "#" text read as 0
    calc.kit.choose(kCalc, "Decimals", "4");
    EXPECT_EQ(calc.display(), "1e+30");
}

// ------------------------------------------------------------ registers --

TEST(CalcRegisters, InsertingAMemoryTwiceGivesTheDuplicateMessage)
{
    WindowKit kit;
    for (int round = 0; round < 2; ++round) {
        uint8_t response = 0;
        kit.call(makeMemoriesFr({}), InsertRecord, &response);
        EXPECT_EQ(kit.window("MemoriesFr").window().title(), "Adding a Memory");
        EXPECT_EQ(kit.text("MemoriesFr", "Kind"), "M");
        kit.type("MemoriesFr", "Number", "7");
        kit.tab("MemoriesFr");
        kit.type("MemoriesFr", "Name", "Rent");
        kit.tab("MemoriesFr");
        kit.press("MemoriesFr", "OK");  // a value of 0 is a memory like any other
        if (round == 0) {
            EXPECT_EQ(response, RequestCompleted);
            EXPECT_TRUE(kit.boxes().empty());
        } else {
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].caption, "Duplicate Key Error");
            EXPECT_TRUE(kit.isOpen("MemoriesFr"));
            kit.press("MemoriesFr", "Cancel");
        }
    }
    const auto all = WindowKit::records(VenCalc);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].str(CAL::MEMORYNAME), "Rent");
    EXPECT_EQ(all[0].real(CAL::MEMORYVALUE), 0.0);
    EXPECT_EQ(all[0].num(CAL::UPDATE), kit.clock().today());
}

TEST(CalcRegisters, TheNumbersRangeIsCheckedBeforeTheByteCouldWrap)
{
    for (const char* typed : {"0", "300"}) {
        SCOPED_TRACE(typed);
        WindowKit kit;
        kit.call(makeMemoriesFr({}), InsertRecord);
        kit.type("MemoriesFr", "Number", typed);
        kit.tab("MemoriesFr");
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, "Range Error");
        EXPECT_EQ(kit.boxes()[0].text, "The value of Memory Number must be between 1 and 255.");
        EXPECT_EQ(kit.window("MemoriesFr").window().focusedControl(), "Number");
        kit.type("MemoriesFr", "Name", "Rent");
        kit.press("MemoriesFr", "OK");
        EXPECT_TRUE(kit.isOpen("MemoriesFr"));
        EXPECT_TRUE(WindowKit::records(VenCalc).empty());
    }
}

TEST(CalcRegisters, ExchangeRateChecks)
{
    struct Case {
        const char* number;
        const char* name;
        const char* rate;
        const char* focus;  // nullptr: saved
    };
    const Case cases[] = {
        {"7", "SEK Krona", "0.09", nullptr},  // typed past the spin's 5
        {"", "SEK Krona", "0.09", "Number"},
        {"3", "", "0.09", "Name"},
        {"3", "SEK Krona", "0", "Value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + "/" + c.name + "/" + c.rate);
        WindowKit kit;
        uint8_t response = 0;
        kit.call(makeForexFr({}), InsertRecord, &response);
        EXPECT_EQ(kit.window("ForexFr").window().title(), "Adding a Currency");
        kit.type("ForexFr", "Number", c.number);
        kit.type("ForexFr", "Name", c.name);
        kit.type("ForexFr", "Value", c.rate);
        kit.clearBoxes();
        kit.press("ForexFr", "OK");
        EXPECT_TRUE(kit.boxes().empty());
        if (!c.focus) {
            EXPECT_EQ(response, RequestCompleted);
            EXPECT_EQ(calcValue("E", 7), 0.09);
        } else {
            EXPECT_TRUE(kit.isOpen("ForexFr"));
            EXPECT_EQ(kit.window("ForexFr").window().focusedControl(), c.focus);
            EXPECT_TRUE(WindowKit::records(VenCalc).empty());
        }
    }
}

TEST(CalcRegisters, ARecordOfTheOtherKindIsNotSaved)
{
    WindowKit kit;
    addCalcRecord("M", 2, "Savings", 100, kDay, kTime);
    KeyedFile& f = threadContext().file(VenCalc);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(CAL::CM, "M");
    f.rec().set(CAL::MEMNUM, 2);
    ASSERT_TRUE(f.get(CAL::NUM_KEY));
    uint8_t response = 0;
    kit.call(makeForexFr({}), ChangeRecord, &response);
    kit.replaceText("ForexFr", "Name", "USD Dollar");
    kit.press("ForexFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Illegal Error!");
    // The form stays open with what was typed; Cancel ends it.
    ASSERT_TRUE(kit.isOpen("ForexFr"));
    EXPECT_EQ(kit.text("ForexFr", "Name"), "USD Dollar");
    kit.press("ForexFr", "Cancel");
    EXPECT_FALSE(kit.isOpen("ForexFr"));
    EXPECT_EQ(response, RequestCancelled);
    const auto all = WindowKit::records(VenCalc);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].str(CAL::MEMORYNAME), "Savings");
    EXPECT_EQ(all[0].num(CAL::UPDATE), kDay);
    f.close();
}

TEST(CalcRegisters, ForexBrListsTheRatesAndChangesOne)
{
    WindowKit kit;
    addCalcRecord("E", 2, "USD Dollar", 0.92, kDay, kTime);
    addCalcRecord("M", 2, "Savings", 100, kDay, kTime);
    kit.start([] { return makeForexBr({}); });
    EXPECT_EQ(kit.window("ForexBr").window().title(), "Foreign Exchange Rates");
    EXPECT_FALSE(kit.control("ForexBr", "Select").isVisible());
    ASSERT_EQ(kit.rows("ForexBr"), 1);
    EXPECT_EQ(kit.cell("ForexBr", 0, 0), "USD Dollar");
    EXPECT_EQ(kit.cell("ForexBr", 0, 1).trimmed(), "0.920000000");
    EXPECT_EQ(kit.cell("ForexBr", 0, 2), "002");
    EXPECT_EQ(kit.cell("ForexBr", 0, 3), "07-12-2026");
    EXPECT_EQ(kit.cell("ForexBr", 0, 4), "14:05");
    kit.highlight("ForexBr", 0);
    kit.press("ForexBr", "Change");
    ASSERT_TRUE(kit.isOpen("ForexFr"));
    EXPECT_EQ(kit.window("ForexFr").window().title(), "Changing Currency Exchange Rate");
    kit.replaceText("ForexFr", "Value", "0.95");
    kit.press("ForexFr", "OK");
    EXPECT_FALSE(kit.isOpen("ForexFr"));
    EXPECT_EQ(calcValue("E", 2), 0.95);
    EXPECT_EQ(calcValue("M", 2), 100.0);
}

// ------------------------------------------------------------ tape viewer --

struct TapeViewer : ::testing::Test {
    WindowKit kit;
    std::vector<QString> opened;
    TapeViewer()
    {
        VersionLabel = "Vendrolix ver. 1.37";
        CurrentUser = "Reception";
        DateLine = "Wednesday 09 December 2026, Week 49";
        setShellHandler([this] {
            opened.push_back(ShellOperation + " " + ShellFile);
            return kShellDone;
        });
        QFile f(kit.folder("CalcTape.txt"));
        f.open(QIODevice::WriteOnly);
        f.write("\r\nCalculations Wednesday 2026-12-09:\r\n\r\n 1 + 1 = 2\r\n");
    }
    ~TapeViewer() override { setShellHandler({}); }
    QStringList lines()
    {
        QFile f(kit.folder("CalcTape.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split("\r\n");
    }
};

TEST_F(TapeViewer, ShowsTheTapeAndEditHandsItToTheEditor)
{
    kit.start([] { return makeViewCalcTapeWnd({}); });
    EXPECT_EQ(kit.window("ViewCalcTapeWnd").window().title(), "View CalcTape.txt");
    ASSERT_EQ(kit.rows("ViewCalcTapeWnd"), 4);
    EXPECT_EQ(kit.cell("ViewCalcTapeWnd", 3, 0), " 1 + 1 = 2");
    kit.press("ViewCalcTapeWnd", "Edit");
    EXPECT_EQ(opened, std::vector<QString>{"Open " + kit.folder("CalcTape.txt")});
    EXPECT_FALSE(kit.isOpen("ViewCalcTapeWnd"));
}

TEST_F(TapeViewer, EraseAsksAndStartsANewTape)
{
    kit.start([] { return makeViewCalcTapeWnd({}); });
    kit.answer(2);
    kit.press("ViewCalcTapeWnd", "Erase");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Warning!");
    EXPECT_EQ(kit.boxes()[0].text, "Are you sure you want to delete CalcTape.txt?");
    EXPECT_EQ(kit.boxes()[0].defaultButton, 2);
    EXPECT_TRUE(kit.isOpen("ViewCalcTapeWnd"));
    EXPECT_EQ(lines().size(), 5);

    kit.answer(1);
    kit.press("ViewCalcTapeWnd", "Erase");
    EXPECT_FALSE(kit.isOpen("ViewCalcTapeWnd"));
    EXPECT_EQ(lines(), (QStringList{"Vendrolix ver. 1.37, User: Reception",
                                    "Calculations Cleared Wednesday 09 December 2026, Week 49", "", ""}));
}

} // namespace
} // namespace ven::test
