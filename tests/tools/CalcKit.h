// The calculator's test kit: opens CalculatorWnd in a WindowKit, presses
// its keys from a short notation ("1 2 . 5 + 3 ="), reads the display and
// the tape's lines after the header, and writes VenCalc records.
#pragma once

#include "WindowKit.h"

#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "tools/CalculatorWnd.h"

#include <QFile>

#include <QRegularExpression>

#include <map>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace ven::test {

inline const QString kCalc = QStringLiteral("CalculatorWnd");

// Adds a VenCalc record.
inline void addCalcRecord(const QString& kind, int number, const QString& name, double value, int32_t day = 0,
                          int32_t time = 0)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenCalc);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(CAL::CM, kind);
    f.rec().set(CAL::MEMNUM, number);
    f.rec().set(CAL::MEMORYNAME, name);
    f.rec().set(CAL::MEMORYVALUE, value);
    f.rec().set(CAL::UPDATE, int64_t(day));
    f.rec().set(CAL::UPTIME, int64_t(time));
    ASSERT_TRUE(f.add());
}

// The stored value of a VenCalc record; nullopt when there is none.
inline std::optional<double> calcValue(const QString& kind, int number)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenCalc);
    f.open();
    f.rec().clear();
    f.rec().set(CAL::CM, kind);
    f.rec().set(CAL::MEMNUM, number);
    if (!f.get(CAL::NUM_KEY))
        return std::nullopt;
    return f.rec().real(CAL::MEMORYVALUE);
}

struct CalcKit {
    WindowKit kit;

    // Opens the calculator (its five currency messages answered and
    // forgotten); `decimals` chosen by its radio when given.
    void open(std::optional<int> decimals = std::nullopt)
    {
        kit.start([] { return makeCalculatorWnd({}); });
        kit.clearBoxes();
        if (decimals)
            kit.choose(kCalc, "Decimals", QString::number(*decimals));
    }

    // Presses keys written as they read: digits, ".", "+", "-", "*", "/",
    // "^", "=", "%", the currency keys C1 .. C5 and the names below,
    // separated by blanks.
    void keys(const QString& sequence)
    {
        static const std::map<QString, QString> names = {
            {".", "Point"},     {"+", "Add"},       {"-", "Subtract"},  {"*", "Multiply"}, {"/", "Divide"},
            {"^", "Power"},     {"=", "Equals"},    {"%", "Percent"},   {"CE", "CE"},      {"+-", "Sign"},
            {"sqr", "Square"},  {"cube", "Cube"},   {"sqrt", "Root"},   {"1/x", "Reciprocal"},
            {"10x", "TenTimes"}, {"lg", "Lg"},      {"ln", "Ln"},       {"pi", "Pi"},      {"e", "Neper"},
            {"M", "M"},         {"M+", "MPlus"},    {"M-", "MMinus"},   {"MR", "MR"},      {"Copy", "Copy"},
            {"C1", "Currency1"}, {"C2", "Currency2"}, {"C3", "Currency3"}, {"C4", "Currency4"},
            {"C5", "Currency5"}};
        for (const QString& t : sequence.split(u' ', Qt::SkipEmptyParts)) {
            if (t.size() == 1 && t[0].isDigit()) {
                kit.press(kCalc, QStringLiteral("D") + t);
                continue;
            }
            auto it = names.find(t);
            if (it == names.end()) {
                ADD_FAILURE() << "no key " << t.toStdString();
                continue;
            }
            kit.press(kCalc, it->second);
        }
    }

    QString display() { return kit.text(kCalc, "Display"); }

    // Every line of the tape file.
    QStringList tapeFile() const
    {
        QFile f(kit.folder("CalcTape.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QString all = QString::fromUtf8(f.readAll());
        if (all.endsWith(QStringLiteral("\r\n")))
            all.chop(2);
        return all.split(QStringLiteral("\r\n"));
    }
    // The lines after the calculator's header (an empty line, the
    // "Calculations" line, an empty line).
    QStringList tape() const
    {
        QStringList lines = tapeFile();
        const qsizetype at = lines.lastIndexOf(QRegularExpression(QStringLiteral("Calculations .*")));
        return at < 0 ? lines : lines.mid(at + 2);
    }
};

} // namespace ven::test
