// The calculator's keys, completion step, display forms and tape lines.
#include "tools/CalcEngine.h"

#include "core/DateHelpers.h"
#include "platform/Picture.h"

#include <QRegularExpression>

#include <cmath>

namespace ven {
namespace {

const CalcNumber& pi()
{
    static const CalcNumber v = *CalcNumber::parse(QStringLiteral("3.1415926536"));
    return v;
}
const CalcNumber& neper()
{
    static const CalcNumber v = *CalcNumber::parse(QStringLiteral("2.7182818285"));
    return v;
}

const QString kNoFit = QString(14, u'#');

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

QString CalcEngine::plainText(const CalcNumber& v)
{
    if (v.isInfinite())
        return kNoFit;
    // 14 significant digits hold exactly in a double and come back as written.
    const double s = v.significant().toDouble();
    return s == 0 ? QStringLiteral("0") : QString::number(s, 'g', CalcNumber::kSignificant);
}

QString CalcEngine::displayForm(const CalcNumber& v, int decimals)
{
    if (v.isInfinite())
        return kNoFit;
    if (decimals < 0 || decimals >= kAllDecimals)
        return plainText(v);
    // The picture rounds the 14-digit form: 1.115 x 3 rounds as 3.345.
    return formatNumber(v.significant().toDouble(), QStringLiteral("N-_14.%1").arg(decimals));
}

CalcNumber CalcEngine::shownValue(const CalcNumber& v, int decimals)
{
    const CalcNumber s = v.significant();
    if (v.isInfinite() || decimals < 0 || decimals >= kAllDecimals)
        return s;
    const QString text = formatNumber(s.toDouble(), QStringLiteral("N-_40.%1").arg(decimals));
    // Beyond 40 positions rounding to decimals changes nothing.
    return CalcNumber::parse(text.trimmed()).value_or(s);
}

CalcNumber CalcEngine::readDisplay(const QString& text)
{
    QString digits;
    bool point = false, any = false;
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && text[i] == u'-')
        digits += text[i++];
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            any = true;
        } else if (c == u'.' && !point) {
            point = true;
            digits += c;
        } else
            break;
    }
    if (!any)
        return {};
    // The exponent of a plain text form ("1e+200").
    static const QRegularExpression exponent(QStringLiteral("[eE][+-]?[0-9]+"));
    if (const auto m = exponent.match(text, i, QRegularExpression::NormalMatch,
                                      QRegularExpression::AnchorAtOffsetMatchOption);
        m.hasMatch())
        digits += m.captured();
    return CalcNumber::parse(digits).value_or(CalcNumber());
}

std::optional<CalcNumber> CalcEngine::typedNumber(const QString& text)
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
    return CalcNumber::parse(t);
}

// ---------------------------------------------------------- opening --

void CalcEngine::open(int decimals, double memoryValue, const std::array<double, 5>& rates)
{
    value_ = first_ = CalcNumber();
    pending_.reset();
    display_.clear();
    fresh_ = true;
    pointMode_ = false;
    pointPending_ = true;
    tapeLine_.clear();
    decimals_ = decimals <= 0 ? kAllDecimals : decimals;
    memoryNumber_ = 0;
    memoryName_ = QStringLiteral("Memory:");
    memoryValue_ = CalcNumber::fromDouble(finite(memoryValue));
    for (size_t k = 0; k < rates_.size(); ++k)
        rates_[k] = CalcNumber::fromDouble(finite(rates[k]));
}

void CalcEngine::writeHeader(int32_t today)
{
    put(QStringLiteral("\r\nCalculations %1 %2:\r\n").arg(WeekdayName(today), formatDate(today, u"D10-B")));
    if (!memoryValue_.isZero())
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
    if (value_.isInfinite()) {
        tapeLine_.clear();  // a result beyond the REAL range is shown as "#", not written
        return;
    }
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
    case CalcKey::Pi: return enterValue(pi());
    case CalcKey::Neper: return enterValue(neper());
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
        value_ = CalcNumber();
        display_ = form(value_);
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

bool CalcEngine::paste(const QString& text)
{
    const QString t = text.trimmed();
    if (!typedNumber(t) || (t.startsWith(u'-') && !fresh_))
        return false;
    qsizetype i = 0;
    if (t.startsWith(u'-')) {
        startNumber();
        display_ = QStringLiteral("-");
        i = 1;
    }
    for (; i < t.size(); ++i) {
        if (t[i] == u'.') {
            point();
            if (display_.isEmpty() || display_ == u"-")
                display_ += u'0';
        } else {
            if (fresh_)
                startNumber();
            digit(t[i].unicode() - '0');
        }
    }
    return true;
}

// A new number begins: the digits that follow are its first.
void CalcEngine::startNumber()
{
    display_.clear();
    fresh_ = false;
    pointMode_ = false;
    pointPending_ = true;
}

// A constant, a rate or a recalled memory: a value in a fresh entry; a
// pending operation stays pending.
void CalcEngine::enterValue(const CalcNumber& v)
{
    writeLine();
    value_ = v;
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
        memoryValue_ = CalcNumber::fromDouble(finite(chosen->value));
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
            value_ = value_ * first_ / CalcNumber(100);
            display_ = form(value_);
            closeLine();
            if (*pending_ == CalcKey::Power)
                pending_.reset();
        }
        if (pending_ && !(*pending_ == CalcKey::Divide && value_.isZero())) {
            // (Division by zero leaves 0 and nothing on the tape.)
            tapeLine_ = trimEnd(tapeLine_) + u' ' + plainText(first_) + QString::fromLatin1(operatorText(*pending_))
                        + trimEnd(display_);
            switch (*pending_) {
            case CalcKey::Add: value_ = first_ + value_; break;
            case CalcKey::Subtract: value_ = first_ - value_; break;
            case CalcKey::Multiply: value_ = first_ * value_; break;
            case CalcKey::Divide: value_ = first_ / value_; break;
            default: value_ = first_.pow(value_); break;
            }
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
    // Square and cube take the number as displayed: 2.6 shown as 3 squares to 7.8.
    case CalcKey::Square: tapeLine_ = u' ' + d + QStringLiteral(" \u00b2"); value_ = value_ * shownNumber(d); break;
    case CalcKey::Cube: {
        const CalcNumber shown = shownNumber(d);
        tapeLine_ = u' ' + d + QStringLiteral(" \u00b3");
        value_ = value_ * (shown * shown);
        break;
    }
    case CalcKey::Root: tapeLine_ = QStringLiteral(" Sqrt(") + d + u')'; value_ = value_.sqrt(); break;
    case CalcKey::TenTimes: tapeLine_ = QStringLiteral(" 10 * ") + d; value_ = CalcNumber(10) * value_; break;
    case CalcKey::Reciprocal:
        if (!value_.isZero()) {
            tapeLine_ = QStringLiteral(" 1 / ") + d;
            value_ = CalcNumber(1) / value_;
        }
        break;
    case CalcKey::Log10: tapeLine_ = QStringLiteral(" Log10(") + d + u')'; value_ = value_.log10(); break;
    case CalcKey::Ln: tapeLine_ = QStringLiteral(" Ln(") + d + u')'; value_ = value_.ln(); break;
    default: oneOperand = false; break;
    }
    if (oneOperand) {
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

// The number a display shows; the value itself when it shows "#" (too wide).
CalcNumber CalcEngine::shownNumber(const QString& shown) const
{
    return shown.trimmed() == kNoFit ? value_ : readDisplay(shown);
}

void CalcEngine::memoryKey(CalcKey key)
{
    display_ = form(value_);
    writeLine();
    const CalcNumber amount = value_;
    // M keeps the value as shown (rounded to the decimals), M+ and M- the
    // value itself, in decimal.
    auto next = [key, amount, this](const CalcNumber& stored) {
        if (key == CalcKey::Store)
            return shownValue(amount, decimals_);
        return key == CalcKey::MemoryPlus ? stored + amount : stored - amount;
    };
    auto newValue = [&next](double stored) { return finite(next(CalcNumber::fromDouble(stored)).toDouble()); };
    if (memoryNumber_ == 0) {
        memoryValue_ = next(memoryValue_);
        if (memoryValue_.isInfinite())
            memoryValue_ = CalcNumber();
        put(QStringLiteral("Memory = ") + plainText(memoryValue_));
        return;
    }
    // A numbered memory: M+ and M- work on that memory's stored value. A
    // store that fails keeps M's value in the calculator's own register and
    // writes no tape line.
    double written = 0;
    QString name;
    if (updateMemory && updateMemory(memoryNumber_, newValue, written, name)) {
        memoryValue_ = CalcNumber::fromDouble(written);
        memoryName_ = name;
        put(QStringLiteral("Memory %1 Value = %2").arg(nnn(memoryNumber_), plainText(memoryValue_)));
    } else if (key == CalcKey::Store) {
        memoryValue_ = next(memoryValue_);
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
