// The calculator's numbers: decimal floating point of 50 significant
// digits, so that sums, differences, products and quotients of typed
// numbers carry no binary residue (0.3 - 0.1 - 0.2 is exactly 0), and a
// result beyond the range of a REAL is an overflow rather than a number.
// The decimal library stays behind this type.
//
// Values are immutable and cheap to copy.
#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace ven {

class CalcNumber {
public:
    static constexpr int kSignificant = 14;  // the digits the calculator shows

    CalcNumber();  // 0
    explicit CalcNumber(int v);
    // The double's shortest decimal form (0.1 is 0.1); infinities stay, NaN is 0.
    static CalcNumber fromDouble(double v);
    // A number written as an optional "-", digits with at most one point and
    // an optional exponent ("e+200"); nullopt for anything else.
    static std::optional<CalcNumber> parse(const QString& text);

    // The nearest double; +-infinity beyond the REAL range.
    double toDouble() const;
    // Rounded to 14 significant digits, half away from zero.
    CalcNumber significant() const;
    // Beyond the REAL range (an overflow).
    bool isInfinite() const;
    bool isZero() const;
    bool isNegative() const;

    CalcNumber operator-() const;
    friend CalcNumber operator+(const CalcNumber& a, const CalcNumber& b);
    friend CalcNumber operator-(const CalcNumber& a, const CalcNumber& b);
    friend CalcNumber operator*(const CalcNumber& a, const CalcNumber& b);
    // requires: b is not zero.
    friend CalcNumber operator/(const CalcNumber& a, const CalcNumber& b);

    // The functions, rounded to 14 significant digits. Results that are no
    // number (a root or logarithm out of its domain, a negative number to a
    // fractional power) are 0.
    CalcNumber sqrt() const;
    CalcNumber log10() const;
    CalcNumber ln() const;
    CalcNumber pow(const CalcNumber& exponent) const;

    struct Impl;

private:
    explicit CalcNumber(std::shared_ptr<const Impl> d) : d_(std::move(d)) {}
    std::shared_ptr<const Impl> d_;
};

} // namespace ven
