// The order that text keys compare in: the user's language as ICU collates
// it, letter case ignored and blanks at the end not counted. Set once at
// start, before files open; the compare may be called from any thread.
#pragma once

#include <QString>

namespace ven {

// Sets the language texts are ordered by: a locale name as the settings or
// the environment write it ("fi_FI", "sv_SE.UTF-8", "de_DE@euro"); blank:
// from the environment (LC_ALL, else LC_COLLATE, else LANG). "C", "POSIX"
// and a name ICU does not know order by the Unicode default order.
void setCollation(const QString& locale);

// The collation in force as a file stores it ("fi 153.120.42"): ICU's
// locale and the collator's version, so that a file whose keys were built
// under another language or another ICU order is known and rebuilt.
QString collationName();

// Compares two UTF-8 texts as keys do: negative, 0 or positive.
int collateUtf8(const char* a, int na, const char* b, int nb);

}  // namespace ven
