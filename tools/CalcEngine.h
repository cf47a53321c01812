// The calculator's arithmetic, state and display, without any window: keys
// by their numbers, strict left-to-right evaluation, the display forms by
// the chosen decimals, the tape lines each key builds, and the memory keys.
// What leaves the calculator (tape entries, the clipboard, memory records)
// goes through hooks, so the window and the tests decide where it lands.
//
// Not thread-safe; one instance per calculator window.
#pragma once

#include "tools/CalcNumber.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace ven {

// The calculator's keys, by the numbers of their controls.
enum class CalcKey : uint8_t {
    Digit0 = 1,  // Digit0 + d is digit d
    Point = 11,
    ClearEntry = 12,
    Pi = 13,
    Currency2 = 14,
    Currency3 = 15,
    Currency4 = 16,
    Currency5 = 17,
    Currency1 = 20,
    Sign = 21,
    Square = 22,
    Root = 23,
    Neper = 24,
    Reciprocal = 25,
    TenTimes = 26,
    Percent = 27,
    Cube = 28,
    Log10 = 29,
    Ln = 30,
    Recall = 31,
    Store = 32,
    MemoryPlus = 33,
    MemoryMinus = 34,
    Add = 35,
    Subtract = 36,
    Multiply = 38,
    Divide = 39,
    Power = 40,
    Equals = 41,
    Copy = 42,
    MemoryNumber = 44,
    Display = 48,
    Decimals = 49,
};

class CalcEngine {
public:
    static constexpr int kDisplaySize = 40;
    static constexpr int kTapeLineSize = 128;
    static constexpr int kAllDecimals = 4;
    static constexpr uint8_t kLastMemory = 255;

    // --- value forms (pure) ---

    // The value itself when finite, else 0: what the calculator makes of a
    // stored or read REAL that is no number.
    static double finite(double v);
    // The shortest decimal form with at most 14 significant digits, no
    // trailing zeros and no trailing point ("12.5", "3", "0.33333333333333");
    // 14 "#" for a value beyond the REAL range.
    static QString plainText(const CalcNumber& v);
    static QString plainText(double v) { return plainText(CalcNumber::fromDouble(v)); }
    // The display form: 14 characters, right-aligned, with 0..3 decimals
    // rounded half away from zero from the 14-digit decimal form ("#" x 14
    // when it does not fit); 4 and above the plain text.
    static QString displayForm(const CalcNumber& v, int decimals);
    // The value as the display form shows it, rounded the same way.
    static CalcNumber shownValue(const CalcNumber& v, int decimals);
    // What a display text reads as: an optional "-", digits and one point
    // (and the exponent of a plain text such as "1e+200"), read up to
    // anything else (a second point); 0 when there is no digit.
    static CalcNumber readDisplay(const QString& text);
    // A number typed into the display line: blanks around, an optional "-",
    // digits with at most one point; nullopt for anything else.
    static std::optional<CalcNumber> typedNumber(const QString& text);

    // --- what leaves the calculator ---

    // One tape entry (it may hold "\r\n" for two lines).
    std::function<void(const QString&)> tape;
    // Text for the clipboard (Copy).
    std::function<void(const QString&)> copy;
    // Reads memory record `number`, computes its new value from the stored
    // one and writes it back; true with the value written and the memory's
    // name, false when the record could not be read or written (the hook
    // tells the user).
    std::function<bool(uint8_t number, const std::function<double(double stored)>& newValue, double& written,
                       QString& name)>
        updateMemory;

    // --- state ---

    double value() const { return value_.toDouble(); }
    double firstOperand() const { return first_.toDouble(); }
    // The pending operator key, nullopt for none.
    std::optional<CalcKey> pending() const { return pending_; }
    const QString& display() const { return display_; }
    bool freshEntry() const { return fresh_; }
    int decimals() const { return decimals_; }
    uint8_t memoryNumber() const { return memoryNumber_; }
    const QString& memoryName() const { return memoryName_; }
    double memoryValue() const { return memoryValue_.toDouble(); }
    double rate(int currency) const { return rates_.at(size_t(currency - 1)).toDouble(); }

    // --- opening ---

    // The opening state with the settings' decimals (0 becomes all) and
    // memory value, and the five exchange rates (0: undefined).
    void open(int decimals, double memoryValue, const std::array<double, 5>& rates);
    // The tape's header for `today`, and the memory line when the memory
    // holds a value.
    void writeHeader(int32_t today);

    // --- keys ---

    // Any key but the memory-number field, the display line, the decimals
    // and the lookup, which have their own calls below.
    void press(CalcKey key);
    // The memory-number field accepted with a number typed: 0..255 becomes
    // the memory in use; anything else is refused (the number stays).
    void memoryNumberTyped(std::optional<int64_t> number);
    // The display line accepted with typed text: a number becomes the value
    // (other text leaves the value as it was).
    void displayTyped(const QString& text);
    // Paste: the text's digits and point as if their keys were pressed (so
    // that after a result a new number starts); a leading "-" only starts
    // a new number. False, and nothing changes, for text that is no number.
    bool paste(const QString& text);
    // A decimals radio chosen.
    void chooseDecimals(int decimals);
    // The lookup ended: `chosen` holds the memory selected, nullopt when
    // the list was closed without a choice.
    struct Memory {
        uint8_t number;
        QString name;
        double value;
    };
    void lookedUp(const std::optional<Memory>& chosen);
    // Close: an open tape line is written.
    void closing() { writeLine(); }

private:
    QString form(const CalcNumber& v) const { return displayForm(v, decimals_); }
    void digit(int d);
    void point();
    void startNumber();
    void enterValue(const CalcNumber& v);
    void complete(CalcKey key);
    void memoryKey(CalcKey key);
    CalcNumber shownNumber(const QString& shown) const;
    void writeLine();
    void closeLine();
    void put(const QString& entry);

    CalcNumber value_, first_;
    std::optional<CalcKey> pending_;
    QString display_;
    bool fresh_ = true, pointMode_ = false, pointPending_ = true;
    QString tapeLine_;
    int decimals_ = kAllDecimals;
    uint8_t memoryNumber_ = 0;
    QString memoryName_;
    CalcNumber memoryValue_;
    std::array<CalcNumber, 5> rates_{};
};

} // namespace ven

namespace ven {

// A currency key's face and tip from its exchange-rate record: the name's
// first word (up to three letters) or its first three letters as the
// symbol, "ECU", "USD", "GBP" and "JPY" shown as their signs; "?" and the
// not-defined tip when the rate is not above 0.
struct CurrencyFace {
    QString text, tip;
};
CurrencyFace currencyFace(const QString& recordName, double rate, int32_t updated, int32_t updatedTime);

} // namespace ven
