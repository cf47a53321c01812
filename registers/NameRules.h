// The names register's rules for what the user types and what the windows
// make of a name: accents taken out of addresses, telephone numbers and zip
// codes given their country's prefixes, the proposed e-mail address, home
// pages given a scheme, the address card, and a name's calls, mails and
// visits through the desktop.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>

class QObject;

namespace ven {

// What the name form knows of the name's country; `known` is false when the
// name's country is not in the register (then entries stay as typed).
struct CountryPrefixes {
    bool known = false;
    QString tel;     // international telephone prefix, without "+"
    QString zip;     // zip prefix
    QString suffix;  // e-mail domain suffix, without "."
};
// The prefixes of a country record, cleaned of a typed "+" or ".".
CountryPrefixes prefixesOf(const Record& country);

// Trailing blanks removed, cut to 255 characters, blanks made "_", and each
// accented Latin letter its plain letter ("ö" "o", "Ü" "U", "ß" "ss",
// "æ" "ae", "ł" "l"); other characters are copied unchanged.
QString StripAccents(const QString& text);

// A telephone number with the country's international prefix:
// "09 123" -> "+358-9 123", "555" -> "+358-555", "0046 8 123" -> "+46 8 123",
// "+..." unchanged. Unchanged too when no country is known or when the
// result would not fit in `width` characters.
QString withTelPrefix(const QString& number, const CountryPrefixes& c, int width);
// A zip code that begins with a digit gets "<prefix>-"; unchanged when no
// country is known or it would not fit in `width`.
QString withZipPrefix(const QString& zip, const CountryPrefixes& c, int width);
// A typed e-mail address: the first blank becomes "@" when there is no "@"
// yet, further blanks "_", accents out, lower case; cut to `width`.
QString typedEmail(const QString& typed, int width);
// The proposed address first.last@organisation.suffix, accents folded: the
// names keep what a local part holds unquoted, the organisation letters,
// digits and hyphens; empty when no name or no organisation is left, or
// no suffix is known.
QString proposedEmail(const QString& first, const QString& last, const QString& org, const CountryPrefixes& c,
                      int width);
// A home page gets "http://" only when it has no scheme; otherwise as typed.
QString withScheme(const QString& url, int width);

// The address card of a name record, lines ending in CR LF.
QString addressCard(const Record& name);
// First name, " ", last name, ", ", organisation, each without trailing blanks.
QString calledParty(const Record& name);

// A name's call: its telephone, else its cellular number; false when it has
// neither (nothing is dialled).
bool dialName(const Record& name);
// The desktop's e-mail program on the name's address / its browser on the
// home page; false when the address does not make one.
bool mailName(const Record& name, QObject* window);
bool surfName(const Record& name, QObject* window);

// Shows message `message` of the table (4, 11, 25 ...) for a failed
// write to `file`, with the engine's error text.
void showWriteError(int message, const QString& file, const Status& st);

} // namespace ven
