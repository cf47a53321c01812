// The calculator's decimal numbers over Boost.Multiprecision's decimal float.
#include "tools/CalcNumber.h"

#include <boost/multiprecision/cpp_dec_float.hpp>

#include <QByteArray>
#include <QLocale>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ven {

using Dec = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<50>, boost::multiprecision::et_off>;

struct CalcNumber::Impl {
    Dec v;
};

namespace {

const Dec& realMax()
{
    static const Dec max(DBL_MAX);
    return max;
}

// What a result becomes: no number is 0, beyond the REAL range an overflow.
Dec normal(Dec v)
{
    if (boost::multiprecision::isnan(v))
        return Dec(0);
    if (boost::multiprecision::isinf(v) || boost::multiprecision::abs(v) > realMax())
        return v.sign() < 0 ? -std::numeric_limits<Dec>::infinity() : std::numeric_limits<Dec>::infinity();
    return v;
}

// Rounded to `digits` significant digits, half away from zero.
Dec roundedTo(const Dec& v, int digits)
{
    if (v.is_zero() || boost::multiprecision::isinf(v))
        return v;
    const Dec a = boost::multiprecision::abs(v);
    // The exponent of the leading digit, and the value scaled so that the
    // digits to keep stand before the point.
    int e = int(boost::multiprecision::floor(boost::multiprecision::log10(a)).convert_to<long>());
    Dec scaled = a * boost::multiprecision::pow(Dec(10), digits - 1 - e);
    if (scaled >= boost::multiprecision::pow(Dec(10), digits)) {  // log10 came out one low
        ++e;
        scaled /= 10;
    } else if (scaled < boost::multiprecision::pow(Dec(10), digits - 1)) {
        --e;
        scaled *= 10;
    }
    Dec whole = boost::multiprecision::floor(scaled + Dec(0.5));
    Dec r = whole * boost::multiprecision::pow(Dec(10), e - (digits - 1));
    return normal(v.sign() < 0 ? -r : r);
}

} // namespace

CalcNumber::CalcNumber() : d_(std::make_shared<Impl>(Impl{Dec(0)})) {}

CalcNumber::CalcNumber(int v) : d_(std::make_shared<Impl>(Impl{Dec(v)})) {}

CalcNumber CalcNumber::fromDouble(double v)
{
    if (std::isnan(v))
        return CalcNumber();
    if (std::isinf(v))
        return CalcNumber(std::make_shared<Impl>(Impl{normal(v < 0 ? -std::numeric_limits<Dec>::infinity()
                                                                 : std::numeric_limits<Dec>::infinity())}));
    const QByteArray shortest = QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
    return CalcNumber(std::make_shared<Impl>(Impl{Dec(shortest.constData())}));
}

std::optional<CalcNumber> CalcNumber::parse(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digit = [&](qsizetype at) { return at < n && text[at].unicode() >= '0' && text[at].unicode() <= '9'; };
    if (i < n && text[i] == u'-')
        ++i;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        if (digit(i))
            digits = true;
        else if (text[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!digit(i))
            return std::nullopt;
        while (digit(i))
            ++i;
    }
    if (i != n)
        return std::nullopt;
    return CalcNumber(std::make_shared<Impl>(Impl{normal(Dec(text.toStdString()))}));
}

double CalcNumber::toDouble() const
{
    if (boost::multiprecision::isinf(d_->v))
        return d_->v.sign() < 0 ? -HUGE_VAL : HUGE_VAL;
    const std::string s = d_->v.str(20, std::ios_base::scientific);
    return std::strtod(s.c_str(), nullptr);
}

CalcNumber CalcNumber::significant() const
{
    return CalcNumber(std::make_shared<Impl>(Impl{roundedTo(d_->v, kSignificant)}));
}

bool CalcNumber::isInfinite() const { return boost::multiprecision::isinf(d_->v); }
bool CalcNumber::isZero() const { return d_->v.is_zero(); }
bool CalcNumber::isNegative() const { return d_->v.sign() < 0; }

CalcNumber CalcNumber::operator-() const { return CalcNumber(std::make_shared<Impl>(Impl{-d_->v})); }

CalcNumber operator+(const CalcNumber& a, const CalcNumber& b)
{
    return CalcNumber(std::make_shared<CalcNumber::Impl>(CalcNumber::Impl{normal(a.d_->v + b.d_->v)}));
}

CalcNumber operator-(const CalcNumber& a, const CalcNumber& b)
{
    return CalcNumber(std::make_shared<CalcNumber::Impl>(CalcNumber::Impl{normal(a.d_->v - b.d_->v)}));
}

CalcNumber operator*(const CalcNumber& a, const CalcNumber& b)
{
    return CalcNumber(std::make_shared<CalcNumber::Impl>(CalcNumber::Impl{normal(a.d_->v * b.d_->v)}));
}

CalcNumber operator/(const CalcNumber& a, const CalcNumber& b)
{
    return CalcNumber(std::make_shared<CalcNumber::Impl>(CalcNumber::Impl{normal(a.d_->v / b.d_->v)}));
}

CalcNumber CalcNumber::sqrt() const
{
    const Dec r = d_->v.sign() < 0 ? Dec(0) : boost::multiprecision::sqrt(d_->v);
    return CalcNumber(std::make_shared<Impl>(Impl{roundedTo(normal(r), kSignificant)}));
}

CalcNumber CalcNumber::log10() const
{
    const Dec r = d_->v.sign() <= 0 ? Dec(0) : boost::multiprecision::log10(d_->v);
    return CalcNumber(std::make_shared<Impl>(Impl{roundedTo(normal(r), kSignificant)}));
}

CalcNumber CalcNumber::ln() const
{
    const Dec r = d_->v.sign() <= 0 ? Dec(0) : boost::multiprecision::log(d_->v);
    return CalcNumber(std::make_shared<Impl>(Impl{roundedTo(normal(r), kSignificant)}));
}

CalcNumber CalcNumber::pow(const CalcNumber& exponent) const
{
    const Dec& x = d_->v;
    const Dec& y = exponent.d_->v;
    Dec r;
    if (x.is_zero())
        r = y.sign() > 0 ? Dec(0) : (y.is_zero() ? Dec(1) : Dec(0));  // 0 to a negative power: 0, as 1 / 0 is
    else if (x.sign() < 0 && boost::multiprecision::floor(y) != y)
        r = Dec(0);  // a negative number to a fractional power
    else
        r = boost::multiprecision::pow(x, y);
    return CalcNumber(std::make_shared<Impl>(Impl{roundedTo(normal(r), kSignificant)}));
}

} // namespace ven
