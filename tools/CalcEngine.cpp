// The calculator's keys, completion step, display forms and tape lines.
#include "tools/CalcEngine.h"

#include "core/DateHelpers.h"
#include "platform/Picture.h"

#include <cmath>

namespace ven {
namespace {

constexpr double kPi = 3.1415926536;
constexpr double kE = 2.7182818285;

// Trailing blanks removed; leading blanks (of a display form) stay.
QString trimEnd(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

// The pending operators' tape texts.
const char* operatorText(CalcKey k)
{
    switch (k) {
    case CalcKey::Add: return " + ";
    case CalcKey::Subtract: return " - ";
    case CalcKey::Multiply: return " * ";
    case CalcKey::Divide: return " / ";
    default: return " ^ ";
    }
}

bool isOperator(CalcKey k)
{
    return k == CalcKey::Add || k == CalcKey::Subtract || k == CalcKey::Multiply || k == CalcKey::Divide
           || k == CalcKey::Power;
}

// Memory numbers on the tape: three digits.
QString nnn(uint8_t n) { return QString::number(n).rightJustified(3, u'0'); }

} // namespace

// ------------------------------------------------------------ forms --

double CalcEngine::finite(double v) { return std::isfinite(v) ? v : 0.0; }

double CalcEngine::significant(double v)
{
    v = finite(v);
    return v == 0 ? 0.0 : QString::number(v, 'g', 14).toDouble();
}

QString CalcEngine::plainText(double v)
{
    v = finite(v);
    return v == 0 ? QStringLiteral("0") : QString::number(v, 'g', 14);
}

QString CalcEngine::displayForm(double v, int decimals)
{
    if (decimals < 0 || decimals >= kAllDecimals)
        return plainText(v);
    // The picture's rounding works on the shortest form of the double, which
    // for a value read back from 14 digits is those 14 digits: 1.115 x 3
    // rounds as 3.345, not as 3.3449999999999998.
    return formatNumber(significant(v), QStringLiteral("N-_14.%1").arg(decimals));
}

double CalcEngine::shownValue(double v, int decimals)
{
    const double s = significant(v);
    if (decimals < 0 || decimals >= kAllDecimals)
        return s;
    const QString text = formatNumber(s, QStringLiteral("N-_40.%1").arg(decimals));
    bool ok = false;
    const double r = text.trimmed().toDouble(&ok);
    return ok ? r : s;  // beyond 40 positions rounding to decimals changes nothing
}

double CalcEngine::readDisplay(const QString& text)
{
    QString digits;
    bool point = false;
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && text[i] == u'-')
        digits += text[i++];
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
        else if (c == u'.' && !point) {
            point = true;
            digits += c;
        } else
            break;
    }
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? finite(v) : 0.0;
}

std::optional<double> CalcEngine::typedNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = t.startsWith(u'-') ? 1 : 0;
    bool point = false, digit = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128)
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    return finite(t.toDouble());
}

// ---------------------------------------------------------- opening --

void CalcEngine::open(int decimals, double memoryValue, const std::array<double, 5>& rates)
{
    value_ = first_ = 0;
    pending_.reset();
    display_.clear();
    fresh_ = true;
    pointMode_ = false;
    pointPending_ = true;
    tapeLine_.clear();
    decimals_ = decimals <= 0 ? kAllDecimals : decimals;
    memoryNumber_ = 0;
    memoryName_ = QStringLiteral("Memory:");
    memoryValue_ = finite(memoryValue);
    for (size_t k = 0; k < rates_.size(); ++k)
        rates_[k] = finite(rates[k]);
}

void CalcEngine::writeHeader(int32_t today)
{
    put(QStringLiteral("\r\nCalculations %1 %2:\r\n").arg(WeekdayName(today), formatDate(today, u"D10-B")));
    if (memoryValue_ != 0)
        put(QStringLiteral("Memory = ") + plainText(memoryValue_));
}

// ------------------------------------------------------------- tape --

void CalcEngine::put(const QString& entry)
{
    if (tape)
        tape(entry);
}

void CalcEngine::writeLine()
{
    const QString line = trimEnd(tapeLine_.left(kTapeLineSize));
    tapeLine_.clear();
    if (!line.trimmed().isEmpty())
        put(line);
}

void CalcEngine::closeLine()
{
    if (tapeLine_.trimmed().isEmpty())
        return;
    tapeLine_ = trimEnd(tapeLine_) + QStringLiteral(" = ") + trimEnd(display_);
    writeLine();
}

// ------------------------------------------------------------- keys --

void CalcEngine::press(CalcKey key)
{
    const int k = int(key);
    if (k >= int(CalcKey::Digit0) && k < int(CalcKey::Digit0) + 10)
        return digit(k - int(CalcKey::Digit0));
    switch (key) {
    case CalcKey::Point: return point();
    case CalcKey::Pi: return enterValue(kPi);
    case CalcKey::Neper: return enterValue(kE);
    case CalcKey::Currency1: return enterValue(rates_[0]);
    case CalcKey::Currency2: return enterValue(rates_[1]);
    case CalcKey::Currency3: return enterValue(rates_[2]);
    case CalcKey::Currency4: return enterValue(rates_[3]);
    case CalcKey::Currency5: return enterValue(rates_[4]);
    case CalcKey::Recall:
        enterValue(memoryValue_);
        put(QStringLiteral("Memory Recall:\r\nNumber = ") + trimEnd(display_));
        return;
    case CalcKey::ClearEntry:
        if (fresh_)
            pending_.reset();  // right after an operator: that operator is cancelled
        value_ = 0;
        display_ = form(0);
        fresh_ = true;
        writeLine();
        return complete(key);
    case CalcKey::Copy:
        display_ = form(value_);
        if (copy)
            copy(display_);
        return complete(key);
    default: return complete(key);
    }
}

void CalcEngine::digit(int d)
{
    const QString c = QString::number(d);
    if (fresh_) {
        display_ = c;
        fresh_ = false;
        pointMode_ = false;
    } else if (pointMode_ && pointPending_) {
        display_ += u'.' + c;
        pointPending_ = false;
    } else if (pointMode_) {
        display_ += c;
    } else {
        pointPending_ = true;
        display_ += c;
    }
    display_.truncate(kDisplaySize);
    value_ = readDisplay(display_);
}

void CalcEngine::point()
{
    pointMode_ = true;
    pointPending_ = true;
    if (fresh_) {
        display_ = QStringLiteral("0");
        fresh_ = false;
    }
    value_ = readDisplay(display_);
}

// A constant, a rate or a recalled memory: a value in a fresh entry; a
// pending operation stays pending.
void CalcEngine::enterValue(double v)
{
    writeLine();
    value_ = finite(v);
    display_ = form(value_);
    fresh_ = true;
}

void CalcEngine::memoryNumberTyped(std::optional<int64_t> number)
{
    if (number && *number >= 0 && *number <= kLastMemory)
        memoryNumber_ = uint8_t(*number);
    complete(CalcKey::MemoryNumber);
}

void CalcEngine::displayTyped(const QString& text)
{
    if (auto v = typedNumber(text)) {
        value_ = *v;
        display_ = text.left(kDisplaySize);
    }
    complete(CalcKey::Display);
}

void CalcEngine::chooseDecimals(int decimals)
{
    decimals_ = decimals;
    complete(CalcKey::Decimals);
}

void CalcEngine::lookedUp(const std::optional<Memory>& chosen)
{
    if (chosen) {
        memoryNumber_ = chosen->number;
        memoryName_ = chosen->name;
        memoryValue_ = finite(chosen->value);
    }
    writeLine();
    put(QStringLiteral("Use Memory Number %1 Value = %2").arg(nnn(memoryNumber_), plainText(memoryValue_)));
}

void CalcEngine::complete(CalcKey key)
{
    // 1. The pending operation, with the percent of the first operand first.
    if (pending_) {
        if (key == CalcKey::Percent) {
            tapeLine_ = trimEnd(tapeLine_) + u' ' + trimEnd(display_) + QStringLiteral(" % ") + plainText(first_);
            value_ = finite(value_ * first_ / 100);
            display_ = form(value_);
            closeLine();
            if (*pending_ == CalcKey::Power)
                pending_.reset();
        }
        if (pending_ && !(*pending_ == CalcKey::Divide && value_ == 0)) {
            // (Division by zero leaves 0 and nothing on the tape.)
            tapeLine_ = trimEnd(tapeLine_) + u' ' + plainText(first_) + QString::fromLatin1(operatorText(*pending_))
                        + trimEnd(display_);
            switch (*pending_) {
            case CalcKey::Add: value_ = first_ + value_; break;
            case CalcKey::Subtract: value_ = first_ - value_; break;
            case CalcKey::Multiply: value_ = first_ * value_; break;
            case CalcKey::Divide: value_ = first_ / value_; break;
            default: value_ = std::pow(first_, value_); break;
            }
            value_ = finite(value_);
        }
        pending_.reset();
        display_ = form(value_);
    }
    // 2. Its line with the result.
    closeLine();
    // 3. The key's own work.
    const QString d = trimEnd(display_);
    bool oneOperand = true;
    switch (key) {
    case CalcKey::Sign: tapeLine_ = QStringLiteral(" -1 * ") + d; value_ = -value_; break;
    case CalcKey::Square: tapeLine_ = u' ' + d + QStringLiteral(" \u00b2"); value_ = value_ * value_; break;
    case CalcKey::Cube: tapeLine_ = u' ' + d + QStringLiteral(" \u00b3"); value_ = value_ * value_ * value_; break;
    case CalcKey::Root:
        tapeLine_ = QStringLiteral(" Sqrt(") + d + u')';
        value_ = value_ < 0 ? 0 : std::sqrt(value_);
        break;
    case CalcKey::TenTimes: tapeLine_ = QStringLiteral(" 10 * ") + d; value_ = 10 * value_; break;
    case CalcKey::Reciprocal:
        if (value_ != 0) {
            tapeLine_ = QStringLiteral(" 1 / ") + d;
            value_ = 1 / value_;
        }
        break;
    case CalcKey::Log10:
        tapeLine_ = QStringLiteral(" Log10(") + d + u')';
        value_ = value_ > 0 ? std::log10(value_) : 0;
        break;
    case CalcKey::Ln:
        tapeLine_ = QStringLiteral(" Ln(") + d + u')';
        value_ = value_ > 0 ? std::log(value_) : 0;
        break;
    default: oneOperand = false; break;
    }
    if (oneOperand) {
        value_ = finite(value_);
        display_ = form(value_);
    } else if (key == CalcKey::Store || key == CalcKey::MemoryPlus || key == CalcKey::MemoryMinus) {
        memoryKey(key);
    } else if (isOperator(key)) {
        pending_ = key;
        first_ = value_;
    }
    // 4. Back to a fresh entry.
    display_ = form(value_);
    closeLine();
    fresh_ = true;
    pointPending_ = true;
}

void CalcEngine::memoryKey(CalcKey key)
{
    display_ = form(value_);
    writeLine();
    const double amount = value_;
    // M keeps the value as shown (rounded to the decimals), M+ and M- the
    // value itself.
    auto newValue = [key, amount, this](double stored) {
        if (key == CalcKey::Store)
            return shownValue(amount, decimals_);
        return finite(key == CalcKey::MemoryPlus ? stored + amount : stored - amount);
    };
    if (memoryNumber_ == 0) {
        memoryValue_ = newValue(memoryValue_);
        put(QStringLiteral("Memory = ") + plainText(memoryValue_));
        return;
    }
    // A numbered memory: M+ and M- work on that memory's stored value. A
    // store that fails keeps M's value in the calculator's own register and
    // writes no tape line.
    double written = 0;
    QString name;
    if (updateMemory && updateMemory(memoryNumber_, newValue, written, name)) {
        memoryValue_ = written;
        memoryName_ = name;
        put(QStringLiteral("Memory %1 Value = %2").arg(nnn(memoryNumber_), plainText(memoryValue_)));
    } else if (key == CalcKey::Store) {
        memoryValue_ = newValue(memoryValue_);
    }
}

} // namespace ven

namespace ven {

CurrencyFace currencyFace(const QString& recordName, double rate, int32_t updated, int32_t updatedTime)
{
    if (!(CalcEngine::finite(rate) > 0))
        return {QStringLiteral("?"), QStringLiteral("Value for Currency not defined yet!\nPlease Select Exchange Rates from "
                                                     "Registers Menu!")};
    const QString whole = recordName.trimmed();
    QString symbol, name = whole;
    if (const qsizetype blank = whole.indexOf(u' '); blank >= 0) {
        symbol = whole.left(std::min<qsizetype>(blank, 3));
        name = whole.mid(blank + 1).trimmed();
    } else {
        symbol = whole.left(3);
    }
    static const std::pair<const char*, const char*> kSigns[] = {
        {"ECU", "\u20ac"}, {"USD", "$"}, {"GBP", "\u00a3"}, {"JPY", "\u00a5"}};
    for (const auto& [code, sign] : kSigns)
        if (symbol.toUpper() == QLatin1String(code))
            symbol = QString::fromUtf8(sign);
    const QString tip = QStringLiteral("Exchange Rate for %1 = %2\nLast updated: %3 %4 at %5")
                            .arg(name, CalcEngine::plainText(rate), WeekdayName(updated),
                                 formatDate(updated, u"D06-B"), formatTime(updatedTime, u"T01.B"));
    return {symbol, tip};
}

} // namespace ven
