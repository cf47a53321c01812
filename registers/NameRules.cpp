// The names register's rules (see NameRules.h).
#include "registers/NameRules.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"
#include "platform/Telephony.h"

#include <QDir>

namespace ven {
namespace {

QString clipped(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// Letters whose plain form is not their decomposition's base letter.
struct Plain {
    char16_t letter;
    const char* plain;
};
const Plain kPlainLetters[] = {
    {u'ß', "ss"}, {u'Æ', "AE"}, {u'æ', "ae"}, {u'Ø', "O"},  {u'ø', "o"},  {u'Þ', "TH"}, {u'þ', "th"},
    {u'Ð', "D"},  {u'ð', "d"},  {u'Ł', "L"},  {u'ł', "l"},  {u'Đ', "D"},  {u'đ', "d"},  {u'Œ', "OE"},
    {u'œ', "oe"}, {u'ı', "i"},  {u'Ħ', "H"},  {u'ħ', "h"},
};

QString plainLetter(QChar c)
{
    for (const Plain& p : kPlainLetters)
        if (c.unicode() == p.letter)
            return QString::fromLatin1(p.plain);
    if (c.unicode() < 0x80 || !c.isLetter())
        return QString(c);
    // A letter with accents decomposes into its base letter and marks.
    const QString d = QString(c).normalized(QString::NormalizationForm_D);
    if (!d.isEmpty() && d[0].unicode() < 0x80)
        return QString(d[0]);
    return QString(c);
}

QString strip(const QString& text, bool blanks)
{
    QString out;
    for (QChar c : clipped(text).left(255))
        out += c == u' ' && blanks ? QStringLiteral("_") : plainLetter(c);
    return out;
}

} // namespace

CountryPrefixes prefixesOf(const Record& country)
{
    CountryPrefixes c;
    c.known = true;
    c.tel = country.str(CNT::TEL).trimmed();
    while (c.tel.startsWith(u'+'))
        c.tel.remove(0, 1);
    c.zip = country.str(CNT::ABBR).trimmed();
    while (c.zip.endsWith(u'-'))
        c.zip.chop(1);
    c.suffix = country.str(CNT::NETSUFFIX).trimmed();
    while (c.suffix.startsWith(u'.'))
        c.suffix.remove(0, 1);
    return c;
}

QString StripAccents(const QString& text)
{
    return strip(text, true);
}

QString withTelPrefix(const QString& number, const CountryPrefixes& c, int width)
{
    const QString t = clipped(number);
    if (t.trimmed().isEmpty() || t.startsWith(u'+') || !c.known)
        return number;
    QString result;
    if (t.startsWith(QLatin1String("00")))
        result = u'+' + t.mid(2);  // the international access code
    else if (c.tel.isEmpty())
        return number;
    else
        result = u'+' + c.tel + u'-' + (t.startsWith(u'0') ? t.mid(1) : t);
    return result.size() <= width ? result : number;
}

QString withZipPrefix(const QString& zip, const CountryPrefixes& c, int width)
{
    const QString z = clipped(zip);
    if (z.isEmpty() || !z[0].isDigit() || z[0].unicode() >= 0x80 || !c.known || c.zip.isEmpty())
        return zip;
    const QString result = c.zip + u'-' + z;
    return result.size() <= width ? result : zip;
}

QString typedEmail(const QString& typed, int width)
{
    QString t = clipped(typed).trimmed();
    if (!t.contains(u'@')) {
        const qsizetype blank = t.indexOf(u' ');
        if (blank >= 0)
            t[blank] = u'@';
    }
    return StripAccents(t).toLower().left(width);
}

namespace {

// The characters an address's local part holds without quotes.
bool localChar(QChar c)
{
    return c.unicode() < 0x80
           && (c.isLetterOrNumber() || QStringView(u"!#$%&'*+-/=?^_`{|}~.").contains(c));
}

// Only the characters that `keep` accepts, with no dot or hyphen (`join`)
// at either end or twice in a row.
QString only(const QString& text, bool (*keep)(QChar), QChar join)
{
    QString out;
    for (QChar c : text)
        if (keep(c) && !(c == join && (out.isEmpty() || out.back() == join)))
            out += c;
    while (out.endsWith(join))
        out.chop(1);
    return out;
}

} // namespace

QString proposedEmail(const QString& first, const QString& last, const QString& org, const CountryPrefixes& c,
                      int width)
{
    // The names with accents folded; what no address may hold unquoted
    // (blanks, other scripts) is dropped.
    auto local = [](const QString& name) { return only(strip(name.trimmed().left(32), false), localChar, u'.'); };
    const QString f = local(first), l = local(last);
    // A host name: letters, digits and hyphens, no hyphen at either end.
    const QString o = only(strip(org.trimmed().left(32), false),
                           [](QChar ch) { return ch.unicode() < 0x80 && (ch.isLetterOrNumber() || ch == u'-'); }, u'-');
    if ((f.isEmpty() && l.isEmpty()) || o.isEmpty() || !c.known || c.suffix.isEmpty())
        return {};
    const QString user = (f.isEmpty() || l.isEmpty() ? f + l : f + u'.' + l).left(64);
    const QString address = (only(user, localChar, u'.') + u'@' + o + u'.' + c.suffix).toLower();
    return address.size() <= width ? address : QString();
}

QString withScheme(const QString& url, int width)
{
    const QString u = clipped(url).trimmed();
    if (u.isEmpty() || u.contains(QLatin1String("://")) || u.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return url;
    const QString result = QStringLiteral("http://") + u;
    return result.size() <= width ? result : url;
}

QString addressCard(const Record& n)
{
    struct Line {
        const char* caption;
        int field;  // -1: the memo's caption line
    };
    static const Line kLines[] = {
        {"First Name   : ", NAM::FIRSTNAME}, {"Last Name    : ", NAM::LASTNAME}, {"Organization : ", NAM::ORG},
        {"Telephone 1  : ", NAM::TEL1},      {"Telephone 2  : ", NAM::TEL2},     {"Fax Number   : ", NAM::FAX},
        {"E-Mail       : ", NAM::EMAIL},     {"HomePage     : ", NAM::URL},      {"Address      : ", NAM::STREET},
        {"             : ", NAM::ZIPCODE},   {"             : ", NAM::CITY},     {"             : ", NAM::COUNTRY},
        {"Memorandum   : ", -1},
    };
    const QString crlf = QStringLiteral("\r\n");
    QString card;
    for (const Line& l : kLines)
        card += QString::fromLatin1(l.caption) + (l.field < 0 ? QString() : clipped(n.str(uint16_t(l.field)))) + crlf;
    card += clipped(n.str(NAM::MEMORANDUM)) + crlf;
    card += QString(60, u'~') + crlf;
    return card;
}

QString calledParty(const Record& n)
{
    return clipped(n.str(NAM::FIRSTNAME)) + u' ' + clipped(n.str(NAM::LASTNAME)) + QStringLiteral(", ")
           + clipped(n.str(NAM::ORG));
}

bool dialName(const Record& n)
{
    QString number = clipped(n.str(NAM::TEL1)).trimmed();
    if (number.isEmpty())
        number = clipped(n.str(NAM::TEL2)).trimmed();
    if (number.isEmpty())
        return false;
    // A text that is no telephone number is never handed on, and the user is told.
    if (telUrl(number).isEmpty()) {
        messageBox("The telephone number \"" + number + "\" cannot be dialled: it holds signs that are no part of a "
                   "number.|Only digits, blanks, \"+ - . / ( )\", \"*\" and \"#\" can be dialled.",
                   QStringLiteral("Dial"), Icon::Exclamation);
        return false;
    }
    // The whole number is dialled: a cut one would ring someone else.
    PhoneCall call{.destination = number,
                   .application = clipped(CurrentUser),
                   .calledParty = clipped(calledParty(n).left(29)),
                   .comment = clipped(n.str(NAM::MEMORANDUM)).left(59)};
    return telephony().makeCall(call);
}

namespace {

bool openAddress(const QString& address, QObject* window)
{
    ShellWindow = window;
    ShellOperation = QStringLiteral("Open");
    ShellFile = address;
    ShellParameters.clear();
    ShellDirectory = QDir::currentPath();
    ShellShowCmd = 1;
    return ShellExecute() > 32;
}

} // namespace

bool mailName(const Record& n, QObject* window)
{
    const QString address = clipped(n.str(NAM::EMAIL)).trimmed();
    return !address.isEmpty() && openAddress(QStringLiteral("MailTo:") + address, window);
}

bool surfName(const Record& n, QObject* window)
{
    const QString address = clipped(n.str(NAM::URL)).trimmed();
    if (address.isEmpty())
        return false;
    // The address goes as typed; the shell escapes it into a web address.
    return openAddress(address.contains(QLatin1String("://")) ? address : QStringLiteral("http://") + address, window);
}

void showWriteError(int message, const QString& file, const Status& st)
{
    MessageArgs args;
    args.file = file;
    args.errorText = st.errorText.isEmpty() ? st.text : st.errorText;
    errors().show(message, args);
}

} // namespace ven
