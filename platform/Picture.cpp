// Picture codes: parsing the code, formatting values and reading entries.
#include "platform/Picture.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace ven {

namespace {

constexpr int kMaxNumberSize = 255;
constexpr int kMaxDecimals = 31;
constexpr int kMaxTextSize = 65535;

// Separator characters of date and time pictures and what they show.
struct Separator {
    char code;
    char shown;
};
constexpr Separator kSeparators[] = {{'.', '.'}, {'-', '-'}, {'_', ' '}, {'`', ','}, {'/', '/'}, {':', ':'}};

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A cursor over a picture code.
struct Scanner {
    QStringView text;
    qsizetype i = 0;

    bool atEnd() const { return i >= text.size(); }
    QChar peek(qsizetype ahead = 0) const { return i + ahead < text.size() ? text[i + ahead] : QChar(); }
    bool take(QChar c)
    {
        if (atEnd() || peek().toUpper() != c.toUpper())
            return false;
        ++i;
        return true;
    }
    // A run of digits no larger than `max`.
    std::optional<int> number(int max)
    {
        qsizetype start = i;
        long long v = 0;
        while (!atEnd() && isAsciiDigit(peek())) {
            v = v * 10 + (peek().unicode() - u'0');
            if (v > max)
                return std::nullopt;
            ++i;
        }
        if (i == start)
            return std::nullopt;
        return int(v);
    }
    // "~text~" at the cursor.
    std::optional<QString> quoted()
    {
        if (peek() != u'~')
            return std::nullopt;
        qsizetype end = text.indexOf(u'~', i + 1);
        if (end < 0)
            return std::nullopt;
        QString s = text.mid(i + 1, end - i - 1).toString();
        i = end + 1;
        return s;
    }
    // A "0" that flags a leading zero (or zero fill): one followed by a digit.
    bool takeZeroFlag()
    {
        if (peek() == u'0' && isAsciiDigit(peek(1))) {
            ++i;
            return true;
        }
        return false;
    }
};

bool parseDateTime(Scanner& s, Picture& p, std::initializer_list<int> formats, QChar defaultSeparator)
{
    p.leadingZero = s.takeZeroFlag();
    auto f = s.number(99);
    if (!f || std::find(formats.begin(), formats.end(), *f) == formats.end())
        return false;
    p.format = *f;
    p.separator = defaultSeparator;
    for (const Separator& sep : kSeparators)
        if (s.peek() == QLatin1Char(sep.code)) {
            p.separator = QLatin1Char(sep.shown);
            ++s.i;
            break;
        }
    p.blankWhenZero = s.take(u'B');
    return s.atEnd();
}

bool parseNumberCode(Scanner& s, Picture& p)
{
    bool hasPrefix = false;
    for (;;) {
        if (!p.minus && s.peek() == u'-') {
            p.minus = true;
            ++s.i;
        } else if (!hasPrefix && s.peek() == u'~') {
            auto text = s.quoted();
            if (!text)
                return false;
            p.prefix = *text;
            hasPrefix = true;
        } else {
            break;
        }
    }
    if (s.peek() == u'_' || s.peek() == u'*')
        p.fill = s.peek() == u'_' ? u' ' : u'*', ++s.i;
    else if (s.takeZeroFlag())
        p.fill = u'0';
    auto size = s.number(kMaxNumberSize);
    if (!size || *size == 0)
        return false;
    p.size = *size;
    if (s.peek() == u'_')
        p.grouping = u' ', ++s.i;
    else if (p.fill != u'0' && p.fill != u' ')
        p.grouping = u',';
    if (s.peek() == u'.') {
        ++s.i;
        auto decimals = s.number(kMaxDecimals);
        if (!decimals)
            return false;
        p.decimals = *decimals;
    }
    bool hasSuffix = false;
    while (!s.atEnd()) {
        if (!hasSuffix && s.peek() == u'~') {
            auto text = s.quoted();
            if (!text)
                return false;
            p.suffix = *text;
            hasSuffix = true;
        } else if (!p.blankWhenZero && s.take(u'B')) {
            p.blankWhenZero = true;
        } else {
            return false;
        }
    }
    return true;
}

// ---- numbers as decimal digit strings ------------------------------------

// A non-negative decimal number as its digits.
struct Decimal {
    std::string whole = "0";
    std::string fraction;
    bool negative = false;

    bool isZero() const
    {
        return whole.find_first_not_of('0') == std::string::npos
            && fraction.find_first_not_of('0') == std::string::npos;
    }
};

// Rounds to `places` decimals, half away from zero.
void roundTo(Decimal& d, int places)
{
    if (int(d.fraction.size()) <= places) {
        d.fraction.append(places - d.fraction.size(), '0');
    } else {
        bool up = d.fraction[places] >= '5';
        d.fraction.resize(places);
        if (up) {
            std::string all = d.whole + d.fraction;
            int k = int(all.size()) - 1;
            while (k >= 0 && all[k] == '9')
                all[k--] = '0';
            if (k < 0)
                all.insert(all.begin(), '1');
            else
                ++all[k];
            d.whole = all.substr(0, all.size() - places);
            d.fraction = all.substr(all.size() - places);
        }
    }
    // Leading zeros go; one digit stays before the point.
    size_t firstDigit = d.whole.find_first_not_of('0');
    d.whole = firstDigit == std::string::npos ? std::string(1, '0') : d.whole.substr(firstDigit);
    if (d.isZero())
        d.negative = false;
}

// The shortest decimal form that reads back as the same double.
std::optional<Decimal> decimalOf(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    if (r.ec != std::errc())
        return std::nullopt;
    std::string s(buf, r.ptr);
    Decimal d;
    auto dot = s.find('.');
    d.whole = s.substr(0, dot);
    if (dot != std::string::npos)
        d.fraction = s.substr(dot + 1);
    d.negative = value < 0;
    return d;
}

// The number as the picture shows it without fill, prefix and suffix;
// nullopt when it does not fit the picture's size.
std::optional<QString> numberBody(const Decimal& d, const Picture& p)
{
    QString whole = QString::fromLatin1(d.whole);
    if (!p.grouping.isNull())
        for (qsizetype k = whole.size() - 3; k > 0; k -= 3)
            whole.insert(k, p.grouping);
    QString body = (d.negative ? QStringLiteral("-") : QString()) + whole;
    if (p.decimals > 0)
        body += u'.' + QString::fromLatin1(d.fraction);
    if (body.size() > p.size)
        return std::nullopt;
    return body;
}

QString formatNumberWith(double value, const Picture& p)
{
    auto d = decimalOf(value);
    if (!d)
        return QString(p.size, u'#');
    roundTo(*d, p.decimals);
    if (p.blankWhenZero && d->isZero())
        return {};
    auto body = numberBody(*d, p);
    if (!body)
        return QString(p.size, u'#');
    qsizetype pad = p.size - body->size();
    if (p.fill == u'0')
        body->insert(d->negative ? 1 : 0, QString(pad, u'0'));
    else if (!p.fill.isNull())
        body->prepend(QString(pad, p.fill));
    return p.prefix + *body + p.suffix;
}

std::optional<double> parseNumberWith(QStringView text, const Picture& p)
{
    QStringView t = text.trimmed();
    if (!p.prefix.isEmpty() && t.startsWith(p.prefix))
        t = t.mid(p.prefix.size()).trimmed();
    if (!p.suffix.isEmpty() && t.endsWith(p.suffix))
        t = t.chopped(p.suffix.size()).trimmed();
    if (t.isEmpty())
        return 0.0;
    if (p.fill == u'*')
        while (t.startsWith(u'*'))
            t = t.mid(1);
    Decimal d;
    if (t.startsWith(u'-')) {
        if (!p.minus)
            return std::nullopt;
        d.negative = true;
        t = t.mid(1);
    }
    d.whole.clear();
    bool point = false;
    for (QChar c : t) {
        if (isAsciiDigit(c))
            (point ? d.fraction : d.whole) += char(c.unicode());
        else if (c == u'.' && !point)
            point = true;
        else if (point || p.grouping.isNull() || c != p.grouping)
            return std::nullopt;
    }
    if (d.whole.empty() && d.fraction.empty())
        return std::nullopt;
    roundTo(d, p.decimals);
    if (!numberBody(d, p))
        return std::nullopt;
    std::string s = (d.negative ? "-" : "") + d.whole + "." + d.fraction + "0";
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// ---- dates and times ------------------------------------------------------

QString twoDigits(int v, bool blankTens)
{
    QString s = QString::number(v).rightJustified(2, u'0');
    if (blankTens && v < 10)
        s[0] = u' ';
    return s;
}

QString formatDateWith(int32_t day, const Picture& p)
{
    auto date = calendarDate(day);
    if (!date)
        return {};
    QString y = QString::number(int(date->year()));
    QString m = twoDigits(unsigned(date->month()), false);
    QString d = twoDigits(unsigned(date->day()), p.format == 6 && !p.leadingZero);
    switch (p.format) {
    case 6: return d + p.separator + m + p.separator + y;
    case 10: return y + p.separator + m + p.separator + d;
    default: return y + m + d;
    }
}

QString formatTimeWith(int32_t time, const Picture& p)
{
    auto t = timeParts(time);
    if (!t)
        return {};
    QString h = p.format == 8 && !p.leadingZero ? QString::number(t->hours) : twoDigits(t->hours, !p.leadingZero);
    QString m = twoDigits(t->minutes, false), s = twoDigits(t->seconds, false);
    switch (p.format) {
    case 1: return h + p.separator + m;
    case 5: return h + m + s;
    default: return h + p.separator + m + p.separator + s;
    }
}

// A whole number of `minDigits` to `maxDigits` ASCII digits.
std::optional<int> digitsField(QStringView s, int minDigits, int maxDigits)
{
    s = s.trimmed();
    if (s.size() < minDigits || s.size() > maxDigits)
        return std::nullopt;
    int v = 0;
    for (QChar c : s) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// Splits into exactly `count` fields at the separator.
std::optional<QList<QStringView>> fields(QStringView t, QChar separator, int count)
{
    QList<QStringView> parts = t.split(separator);
    if (parts.size() != count)
        return std::nullopt;
    return parts;
}

std::optional<int32_t> parseDateWith(QStringView text, const Picture& p)
{
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return kNoDate;
    std::optional<int> y, m, d;
    if (p.format == 12) {
        if (t.size() != 8)
            return std::nullopt;
        y = digitsField(t.mid(0, 4), 4, 4), m = digitsField(t.mid(4, 2), 2, 2), d = digitsField(t.mid(6, 2), 2, 2);
    } else {
        auto f = fields(t, p.separator, 3);
        if (!f)
            return std::nullopt;
        bool dayFirst = p.format == 6;
        d = digitsField((*f)[dayFirst ? 0 : 2], 1, 2);
        m = digitsField((*f)[1], 1, 2);
        y = digitsField((*f)[dayFirst ? 2 : 0], 4, 4);
    }
    if (!y || !m || !d)
        return std::nullopt;
    int32_t day = dayNumber(*y, *m, *d);
    if (day == kNoDate)
        return std::nullopt;
    return day;
}

std::optional<int32_t> parseTimeWith(QStringView text, const Picture& p)
{
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return kNoTime;
    std::optional<int> h, m, s = 0;
    if (p.format == 5) {
        if (t.size() != 5 && t.size() != 6)
            return std::nullopt;
        qsizetype hl = t.size() - 4;
        h = digitsField(t.mid(0, hl), 1, 2), m = digitsField(t.mid(hl, 2), 2, 2), s = digitsField(t.mid(hl + 2), 2, 2);
    } else {
        auto f = fields(t, p.separator, p.format == 1 ? 2 : 3);
        if (!f)
            return std::nullopt;
        h = digitsField((*f)[0], 1, 2), m = digitsField((*f)[1], 1, 2);
        if (p.format != 1)
            s = digitsField((*f)[2], 1, 2);
    }
    if (!h || !m || !s)
        return std::nullopt;
    int32_t time = timeValue(*h, *m, *s);
    if (time == kNoTime)
        return std::nullopt;
    return time;
}

// A whole number within int32 for a date or time picture.
std::optional<int32_t> wholeOf(const QVariant& value)
{
    if (!value.isValid())
        return 0;
    bool ok = false;
    qlonglong n = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n < INT32_MIN || n > INT32_MAX ? -1 : int32_t(n);
}

} // namespace

Picture Picture::parse(QStringView code)
{
    Scanner s{code};
    s.take(u'@');
    Picture p;
    bool ok = false;
    switch (s.atEnd() ? 0 : s.text[s.i++].toUpper().unicode()) {
    case u'D':
        p.kind = Kind::Date;
        ok = parseDateTime(s, p, {6, 10, 12}, u'/');
        break;
    case u'T':
        p.kind = Kind::Time;
        ok = parseDateTime(s, p, {1, 4, 5, 8}, u':');
        break;
    case u'N':
        p.kind = Kind::Number;
        ok = parseNumberCode(s, p);
        break;
    case u'S':
        if (auto size = s.number(kMaxTextSize); size && *size > 0 && s.atEnd()) {
            p.kind = Kind::Text;
            p.size = *size;
            ok = true;
        }
        break;
    default:
        break;
    }
    return ok ? p : Picture{};
}

int Picture::width() const
{
    switch (kind) {
    case Kind::Date: return format == 12 ? 8 : 10;
    case Kind::Time: return format == 1 ? 5 : format == 5 ? 6 : 8;
    case Kind::Number: return size + int(prefix.size() + suffix.size());
    case Kind::Text: return size;
    case Kind::Invalid: break;
    }
    return 0;
}

QString longestText(const Picture& p)
{
    QString longest;
    auto keep = [&longest](const QString& s) {
        if (s.size() > longest.size())
            longest = s;
    };
    switch (p.kind) {
    case Picture::Kind::Date:
        for (int32_t day = 80000; day < 80400; ++day)  // a year of days: two-digit days and months
            keep(formatDateWith(day, p));
        break;
    case Picture::Kind::Time: keep(formatTimeWith((22 * 3600 + 22 * 60 + 22) * 100 + 1, p)); break;
    case Picture::Kind::Number:
        // The most digits that still fit, negative where the picture allows it.
        for (int digits = std::max(p.size, 1); digits > 0 && longest.isEmpty(); --digits) {
            const double v = (std::pow(10.0, digits) - 1) / std::pow(10.0, p.decimals) * (p.minus ? -1 : 1);
            if (const QString s = formatNumberWith(v, p); !s.contains('#'))
                keep(s);
        }
        break;
    case Picture::Kind::Text:
        // Short texts are codes, abbreviations and dates kept as text: shown
        // whole. Longer ones are cut at the column the window chose.
        if (p.size <= kWholeText)
            longest = QString(p.size, '0');
        break;
    case Picture::Kind::Invalid: break;
    }
    return longest;
}

QString entryRefusal(const Picture& p, const QString& typed)
{
    const QString sep = p.separator.isNull() ? QString() : QString(p.separator);
    const QString quoted = u'"' + typed.trimmed() + u'"';
    switch (p.kind) {
    case Picture::Kind::Date: {
        const QString form = p.format == 6 ? QString("dd" + sep + "mm" + sep + "yyyy")
                           : p.format == 10 ? QString("yyyy" + sep + "mm" + sep + "dd")
                                            : QStringLiteral("yyyymmdd");
        return quoted + " is not a valid date.|Type the date as " + form + '.';
    }
    case Picture::Kind::Time: {
        const QString form = p.format == 1   ? QString("hh" + sep + "mm")
                           : p.format == 5 ? QStringLiteral("hhmmss")
                                           : QString("hh" + sep + "mm" + sep + "ss");
        return quoted + " is not a valid time.|Type the time as " + form + '.';
    }
    case Picture::Kind::Number: {
        QString largest;
        for (int digits = std::max(p.size, 1); digits > 0 && largest.isEmpty(); --digits)
            if (const QString s = formatNumberWith((std::pow(10.0, digits) - 1) / std::pow(10.0, p.decimals), p); !s.contains('#'))
                largest = s.trimmed();
        QString hint = p.decimals > 0 ? QStringLiteral("Type a number with at most %1 decimals").arg(p.decimals)
                                      : QStringLiteral("Type a whole number");
        if (!p.minus)
            hint += QStringLiteral(", not below 0");
        if (!largest.isEmpty())
            hint += QStringLiteral(", up to ") + largest;
        return quoted + " is not a valid number.|" + hint + '.';
    }
    case Picture::Kind::Text: return QStringLiteral("The text is too long.|Type at most %1 characters.").arg(p.size);
    case Picture::Kind::Invalid: break;
    }
    return quoted + " is not a valid value.";
}

QString format(const Picture& p, const QVariant& value)
{
    switch (p.kind) {
    case Picture::Kind::Date:
    case Picture::Kind::Time:
        if (auto n = wholeOf(value))
            return p.kind == Picture::Kind::Date ? formatDateWith(*n, p) : formatTimeWith(*n, p);
        break;
    case Picture::Kind::Number: {
        bool ok = true;
        double v = value.isValid() ? value.toDouble(&ok) : 0.0;
        if (ok)
            return formatNumberWith(v, p);
        break;
    }
    case Picture::Kind::Text: return value.toString().left(p.size);
    case Picture::Kind::Invalid: break;
    }
    return value.toString();
}

QString formatDate(int32_t day, QStringView picture) { return format(Picture::parse(picture), day); }
QString formatTime(int32_t time, QStringView picture) { return format(Picture::parse(picture), time); }
QString formatNumber(double value, QStringView picture) { return format(Picture::parse(picture), value); }

std::optional<QVariant> parse(const Picture& p, QStringView text)
{
    auto wrap = [](auto v) { return v ? std::optional<QVariant>(*v) : std::nullopt; };
    switch (p.kind) {
    case Picture::Kind::Date: return wrap(parseDateWith(text, p));
    case Picture::Kind::Time: return wrap(parseTimeWith(text, p));
    case Picture::Kind::Number: return wrap(parseNumberWith(text, p));
    case Picture::Kind::Text:
        if (text.size() > p.size)
            return std::nullopt;
        return QVariant(text.toString());
    case Picture::Kind::Invalid: break;
    }
    return std::nullopt;
}

std::optional<int32_t> parseDate(QStringView text, QStringView picture)
{
    Picture p = Picture::parse(picture);
    return p.kind == Picture::Kind::Date ? parseDateWith(text, p) : std::nullopt;
}

std::optional<int32_t> parseTime(QStringView text, QStringView picture)
{
    Picture p = Picture::parse(picture);
    return p.kind == Picture::Kind::Time ? parseTimeWith(text, p) : std::nullopt;
}

std::optional<double> parseNumber(QStringView text, QStringView picture)
{
    Picture p = Picture::parse(picture);
    return p.kind == Picture::Kind::Number ? parseNumberWith(text, p) : std::nullopt;
}

} // namespace ven
