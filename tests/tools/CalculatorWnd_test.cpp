// The calculator through its keys: key sequences to the display and the
// tape at each decimals setting, percent after each operator, CE, chains,
// division by zero, results that are no number, the "#" display, typed
// display text, the keyboard, Copy and the settings it keeps.
#include "CalcKit.h"

#include "core/FrameSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>

namespace ven::test {
namespace {

struct Case {
    int decimals;  // 4: all
    const char* keys;
    const char* display;
    std::vector<const char*> tape;
};

const QString k14(const char* shown) { return QString::fromUtf8(shown).rightJustified(14); }

TEST(CalculatorWnd, KeySequencesToDisplayAndTape)
{
    const Case cases[] = {
        // Entry as typed; "=" shows the display form.
        {4, "1 2 . 5 0", "12.50", {}},
        {4, "1 2 . 5 0 =", "12.5", {}},
        {2, "1 2 . 5 0 =", "         12.50", {}},
        {4, ". 5", "0.5", {}},
        {4, "1 . 2 . 3 =", "1.2", {}},
        // Left to right, chains, an operator after an operator.
        {4, "2 + 3 * 4 =", "20", {" 2 + 3 = 5", " 5 * 4 = 20"}},
        {4, "2 * 3 * 4 - 5 =", "19", {" 2 * 3 = 6", " 6 * 4 = 24", " 24 - 5 = 19"}},
        {4, "5 + * 2 =", "20", {" 5 + 5 = 10", " 10 * 2 = 20"}},
        {4, "=", "0", {}},
        // Percent after each operator, and with nothing pending.
        {4, "2 0 0 + 1 0 %", "220", {" 10 % 200 = 20", " 200 + 20 = 220"}},
        {4, "2 0 0 - 1 0 %", "180", {" 10 % 200 = 20", " 200 - 20 = 180"}},
        {4, "2 0 0 * 1 0 %", "4000", {" 10 % 200 = 20", " 200 * 20 = 4000"}},
        {4, "2 0 0 / 1 0 %", "10", {" 10 % 200 = 20", " 200 / 20 = 10"}},
        {4, "2 0 0 ^ 1 0 %", "20", {" 10 % 200 = 20"}},
        {4, "5 0 %", "50", {}},
        // CE after an operator cancels it; while typing it completes with 0.
        {4, "5 + 3 CE 4 =", "4", {" 5 + 0 = 5"}},
        {4, "5 + CE 4 =", "4", {}},
        // Division by zero and the reciprocal of zero: no message, no line.
        {4, "7 / 0 =", "0", {}},
        {4, "0 1/x", "0", {}},
        // The one-operand keys.
        {4, "1 . 5 sqr", "2.25", {" 1.5 \u00b2 = 2.25"}},
        {4, "3 cube", "27", {" 3 \u00b3 = 27"}},
        {4, "5 +-", "-5", {" -1 * 5 = -5"}},
        {4, "9 sqrt", "3", {" Sqrt(9) = 3"}},
        {4, "4 1/x", "0.25", {" 1 / 4 = 0.25"}},
        {4, "7 10x", "70", {" 10 * 7 = 70"}},
        {4, "1 0 0 0 lg", "3", {" Log10(1000) = 3"}},
        {4, "1 ln", "0", {" Ln(1) = 0"}},
        {4, "3 1/x", "0.33333333333333", {" 1 / 3 = 0.33333333333333"}},
        // Square and cube take the value times the number as displayed: a
        // typed 2.6 shows as typed, a result of 2.6 shows as 3.
        {0, "2 . 6 sqr", "             7", {" 2.6 \u00b2 = " "             7"}},
        {0, "2 . 6 = sqr", "             8", {"              3 \u00b2 = " "             8"}},
        {4, "2 . 6 = sqr", "6.76", {" 2.6 \u00b2 = 6.76"}},
        {0, "2 . 6 = cube", "            23", {"              3 \u00b3 = " "            23"}},
        {1, "1 . 2 5 = cube", "           2.1", {"            1.3 \u00b3 = " "           2.1"}},
        // A root of a negative number, a logarithm of 0, and results that
        // are no number give 0.
        {4, "4 +- sqrt", "0", {" -1 * 4 = -4", " Sqrt(-4) = 0"}},
        {4, "0 lg", "0", {" Log10(0) = 0"}},
        {4, "4 +- ^ . 5 =", "0", {" -1 * 4 = -4", " -4 ^ 0.5 = 0"}},
        {4, "2 +- ^ 3 =", "-8", {" -1 * 2 = -2", " -2 ^ 3 = -8"}},
        // Beyond the REAL range: 14 "#" and no tape line for that result.
        {4, "1 0 ^ 4 0 0 =", "##############", {}},
        {2, "1 0 ^ 3 0 9 =", "##############", {}},
        {4, "1 0 ^ 2 0 0 = sqr", "##############", {" 10 ^ 200 = 1e+200"}},
        {4, "1 0 ^ 3 0 8 * 2 0 =", "##############", {" 10 ^ 308 = 1e+308"}},
        // Decimal arithmetic: sums and differences of typed amounts carry no
        // binary residue; functions keep 14 significant digits.
        {4, "7 3 . 9 9 + 1 2 0 . 7 8 - 1 9 4 . 7 7 =", "0", {" 73.99 + 120.78 = 194.77", " 194.77 - 194.77 = 0"}},
        {4, ". 3 - . 1 - . 2 =", "0", {" 0.3 - 0.1 = 0.2", " 0.2 - 0.2 = 0"}},
        {4, "1 2 3 4 5 6 7 8 9 . 1 2 3 - 1 2 3 4 5 6 7 8 9 =", "0.123", {" 123456789.123 - 123456789 = 0.123"}},
        {4, "1 . 1 * 1 . 1 * 1 . 1 =", "1.331", {" 1.1 * 1.1 = 1.21", " 1.21 * 1.1 = 1.331"}},
        {4, "1 / 3 * 3 =", "1", {" 1 / 3 = 0.33333333333333", " 0.33333333333333 * 3 = 1"}},
        {4, "0 . 1 + 0 . 2 - 0 . 3 =", "0", {" 0.1 + 0.2 = 0.3", " 0.3 - 0.3 = 0"}},
        {4, "2 sqrt", "1.4142135623731", {" Sqrt(2) = 1.4142135623731"}},
        {4, "1 . 0 1 ^ 1 2 =", "1.126825030132", {" 1.01 ^ 12 = 1.126825030132"}},
        {4, "1 +- M 0 ^ MR =", "0", {" -1 * 1 = -1", "Memory = -1", "Memory Recall:", "Number = -1", " 0 ^ -1 = 0"}},
        // Rounding of the 14-digit decimal form, half away from zero.
        {2, "1 . 1 1 5 * 3 =", "          3.35", {" 1.115 * 3 = " "          3.35"}},
        {0, "2 . 5 =", "             3", {}},
        {0, "2 . 5 +-", "            -3", {" -1 * 2.5 = " "            -3"}},
        {1, "0 . 0 5 =", "           0.1", {}},
        {3, "pi", "         3.142", {}},
        {4, "pi", "3.1415926536", {}},
        {4, "e", "2.7182818285", {}},
        // Too wide for 14 positions: "#"; the value is kept.
        {2, "1 0 ^ 1 5 =", "##############", {" 10 ^ 15 = ##############"}},
        {2, "1 0 ^ 1 5 = 1/x", "          0.00", {" 10 ^ 15 = ##############", " 1 / ############## = " "          0.00"}},
        {0, "1 0 ^ 1 3 * 9 =", "90000000000000", {" 10 ^ 13 = 10000000000000", " 10000000000000 * 9 = 90000000000000"}},
        // π and a constant leave a pending operation pending.
        {4, "2 * pi =", "6.2831853072", {" 2 * 3.1415926536 = 6.2831853072"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("decimals ") + std::to_string(c.decimals) + ": " + c.keys);
        CalcKit calc;
        calc.open(c.decimals);
        calc.keys(QString::fromUtf8(c.keys));
        EXPECT_EQ(calc.display(), QString::fromUtf8(c.display));
        QStringList expected;
        for (const char* l : c.tape)
            expected << QString::fromUtf8(l);
        EXPECT_EQ(calc.tape(), expected);
        EXPECT_TRUE(calc.kit.boxes().empty());
    }
}

TEST(CalculatorWnd, ChoosingDecimalsCompletesThePendingOperation)
{
    CalcKit calc;
    calc.open();
    calc.keys("5 + 3");
    calc.kit.choose(kCalc, "Decimals", "2");
    EXPECT_EQ(calc.display(), k14("8.00"));
    EXPECT_EQ(calc.tape(), QStringList{" 5 + 3 = " + k14("8.00")});
}

TEST(CalculatorWnd, CopyPutsTheDisplayFormOnTheClipboard)
{
    CalcKit calc;
    calc.open(2);
    calc.keys("5 + 3 Copy");
    EXPECT_EQ(QApplication::clipboard()->text(), k14("3.00"));
    EXPECT_EQ(calc.display(), k14("8.00"));
}

TEST(CalculatorWnd, TypedDisplayTextBecomesTheValue)
{
    CalcKit calc;
    calc.open();
    calc.kit.type(kCalc, "Display", "42");
    calc.kit.enter(kCalc);
    EXPECT_EQ(calc.display(), "42");
    calc.keys("+");
    calc.kit.type(kCalc, "Display", "1.5");  // at the cursor, after the "42" shown
    calc.kit.enter(kCalc);
    EXPECT_EQ(calc.display(), "463.5");
    EXPECT_EQ(calc.tape(), QStringList{" 42 + 421.5 = 463.5"});

    // Text that is no number leaves the value as it was.
    calc.kit.type(kCalc, "Display", "x");
    calc.kit.enter(kCalc);
    EXPECT_EQ(calc.display(), "463.5");
    calc.keys("+ 1 =");
    EXPECT_EQ(calc.display(), "464.5");
}

// Paste types the clipboard's number: into a number being typed, or as a
// new number after a result; text that is no number is refused.
TEST(CalculatorWnd, PasteActsAsTypingItsNumber)
{
    CalcKit calc;
    calc.open();
    auto paste = [&](const char* text) {
        QApplication::clipboard()->setText(QString::fromUtf8(text));
        calc.kit.press(kCalc, "Paste");
    };
    calc.keys("1 2 . 5");
    paste("250");
    EXPECT_EQ(calc.display(), "12.5250");
    calc.keys("+ 1 =");
    EXPECT_EQ(calc.display(), "13.525");
    paste(" 250 ");
    EXPECT_EQ(calc.display(), "250");
    calc.keys("* 2 =");
    EXPECT_EQ(calc.display(), "500");
    paste("-.5");
    calc.keys("+ 1 =");
    EXPECT_EQ(calc.display(), "0.5");
    EXPECT_TRUE(calc.kit.boxes().empty());
    EXPECT_EQ(calc.tape(), (QStringList{" 12.525 + 1 = 13.525", " 250 * 2 = 500", " -0.5 + 1 = 0.5"}));
    for (const char* refused : {"12a", "", "1.2.3"}) {
        calc.kit.clearBoxes();
        paste(refused);
        ASSERT_EQ(calc.kit.boxes().size(), 1u) << refused;
        EXPECT_EQ(calc.kit.boxes()[0].caption, "Paste");
        EXPECT_EQ(calc.display(), "0.5");
    }
    calc.keys("5");
    paste("-1");  // a minus only starts a number
    EXPECT_EQ(calc.kit.boxes().size(), 2u);
    EXPECT_EQ(calc.display(), "5");
}

TEST(CalculatorWnd, KeypadAndEnterPressTheKeys)
{
    CalcKit calc;
    calc.open();
    auto keypad = [&](Qt::Key k) { calc.kit.key(kCalc, (Qt::KeypadModifier | k).toCombined()); };
    keypad(Qt::Key_1);
    keypad(Qt::Key_2);
    keypad(Qt::Key_Period);
    keypad(Qt::Key_5);
    keypad(Qt::Key_Asterisk);
    keypad(Qt::Key_2);
    calc.kit.enter(kCalc);
    EXPECT_EQ(calc.display(), "25");
    keypad(Qt::Key_Slash);
    keypad(Qt::Key_5);
    keypad(Qt::Key_Minus);
    keypad(Qt::Key_1);
    keypad(Qt::Key_Plus);
    keypad(Qt::Key_3);
    keypad(Qt::Key_Enter);
    EXPECT_EQ(calc.display(), "7");
    EXPECT_EQ(calc.tape(), (QStringList{" 12.5 * 2 = 25", " 25 / 5 = 5", " 5 - 1 = 4", " 4 + 3 = 7"}));
}

TEST(CalculatorWnd, DecimalsAndMemoryAreKeptInTheSettings)
{
    CalcKit calc;
    calc.open(2);
    calc.keys("2 . 3 4 5 M");
    EXPECT_EQ(calc.kit.text(kCalc, "MemValue"), "2.35");  // M keeps the value as shown
    calc.keys("2 . 3 4 5 M+");
    EXPECT_EQ(calc.kit.text(kCalc, "MemValue"), "4.695");  // M+ adds the value itself
    EXPECT_EQ(calc.tape(), (QStringList{"Memory = 2.35", "Memory = 4.695"}));
    calc.kit.press(kCalc, "Close");
    EXPECT_FALSE(calc.kit.isOpen(kCalc));
    EXPECT_EQ(readIni(ProgramIni(), "Main", "Memory", {}), "4.695");
    EXPECT_EQ(readIni(ProgramIni(), "Main", "Decimals", {}), "2");

    calc.open();
    EXPECT_EQ(calc.tape(), QStringList{"Memory = 4.695"});  // the new header's memory line
    calc.keys("MR");
    EXPECT_EQ(calc.display(), k14("4.70"));
    calc.kit.choose(kCalc, "Decimals", "0");
    calc.kit.press(kCalc, "Close");

    // " None" chosen comes back as all decimals.
    calc.open();
    calc.keys("MR");
    EXPECT_EQ(calc.display(), "4.695");
}

TEST(CalculatorWnd, SettingsThatAreNoNumberReadAsZero)
{
    CalcKit calc;
    ASSERT_TRUE(writeIni(calc.kit.ini(), "Main", "Memory", "nan"));
    calc.open();
    calc.keys("MR");
    EXPECT_EQ(calc.display(), "0");
    calc.kit.press(kCalc, "Close");
    EXPECT_EQ(readIni(ProgramIni(), "Main", "Memory", {}), "0");
}

TEST(CalculatorWnd, TheTapeStaysInTheProgramFolder)
{
    CalcKit calc;
    calc.open();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());  // as the program launcher does
    calc.keys("1 + 1 =");
    EXPECT_EQ(calc.tape(), QStringList{" 1 + 1 = 2"});
    EXPECT_FALSE(QFile::exists(QDir(elsewhere.path()).filePath("CalcTape.txt")));
    QStringList file = calc.tapeFile();
    ASSERT_GE(file.size(), 3);
    EXPECT_EQ(file[0], "");
    EXPECT_EQ(file[1], "Calculations Wednesday 2026-12-09:");
    EXPECT_EQ(file[2], "");
    QDir::setCurrent(calc.kit.folder());
}

TEST(CalculatorWnd, ATapeThatCannotBeWrittenIsReportedAndTheCalculatorGoesOn)
{
    CalcKit calc;
    ASSERT_TRUE(QDir(calc.kit.folder()).mkdir("CalcTape.txt"));  // a folder where the file should be
    calc.kit.start([] { return makeCalculatorWnd({}); });
    calc.keys("2 + 2 = 3 + 3 =");
    EXPECT_EQ(calc.display(), "6");
    // Told once, not at every line of the tape.
    QStringList told;
    for (const MessageBoxRequest& b : calc.kit.boxes())
        if (!b.text.startsWith("Record Not Found"))  // the currency keys without records
            told << b.text;
    const QString tape = QDir(calc.kit.folder()).filePath("CalcTape.txt");
    EXPECT_EQ(told, (QStringList{"File could NOT be opened: " + tape, "Write Error: " + tape + ": Is a directory"}));
}

TEST(CalculatorWnd, ASecondStartBringsTheOpenOneForward)
{
    CalcKit calc;
    calc.open();
    calc.kit.start([] { return makeCalculatorWnd({}); });
    EXPECT_EQ(calc.kit.openCount(kCalc), 1);
}

} // namespace
} // namespace ven::test
