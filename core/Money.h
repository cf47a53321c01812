// Money in whole cents: amounts are kept and computed as 64-bit counts of
// cents from the typed text on, so that splits and balances add up exactly.
// Stored REAL fields hold cents / 100 and read back to the same cents.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowDef.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ven {

using Cents = int64_t;

// Reads typed money ("1,234.5", "-0.30", "12") exactly: digits, an optional
// leading minus, thousands commas or blanks, and a point with at most two
// decimals. Blank text is 0. Anything else, or more than 15 digits before
// the point, gives nullopt.
std::optional<Cents> parseCents(QStringView text);
// Shows cents by a number picture ("n10.2B", "N-8_.2B").
QString formatCents(Cents cents, QStringView picture);

// The stored value of cents, and the cents of a stored value (rounded to
// the nearest cent, so that a value written from cents reads back to them).
double storedOf(Cents cents);
Cents centsOf(double stored);
inline Cents centsField(const Record& r, uint16_t field) { return centsOf(r.real(field)); }
inline void setCents(Record& r, uint16_t field, Cents cents) { r.set(field, storedOf(cents)); }

// Binds a control with a number picture to cents: shown as cents / 100 and
// read back to whole cents.
Binding bindCents(Cents& cents);

} // namespace ven
