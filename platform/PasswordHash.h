// Passwords kept as one-way hashes: PBKDF2 (HMAC-SHA-256, many rounds, so
// that trying candidate passwords is slow) keyed by a random value made once
// for the data folder and kept beside its user file ("VenUsr.key", for the
// user alone). The same password gives the same hash within one folder, so
// a unique key on the hash still refuses a second user with the same
// password and the log-in still finds the user by it; letter case does not
// count, as the key compares texts without case.
#pragma once

#include <QString>

namespace ven {

// Whether a missing folder key may be made. Once a hash has been stored, a
// new key would make every stored hash fail: the key must be restored instead.
enum class KeyMaking { Allowed, Refused };

// The hash as the user file keeps it (48 hexadecimal digits); "" for a
// blank password. Trailing blanks do not count. The folder's key is made on
// first use where `making` allows it; "" as well when it cannot be made or
// read, or is missing and may not be made (`why` says why).
QString passwordHash(const QString& folder, const QString& password, QString* why = nullptr,
                     KeyMaking making = KeyMaking::Allowed);
// True for a stored value that is a hash; a typed password is at most
// `kTypedPasswordSize` characters.
bool isPasswordHash(const QString& stored);
inline constexpr int kTypedPasswordSize = 8;

// The key file of a data folder, and what to tell when it is missing and
// may not be made.
QString passwordKeyFile(const QString& folder);
QString passwordKeyMissingText(const QString& folder);

// PBKDF2-HMAC-SHA-256 itself (exposed for the test against known values).
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int rounds, int bytes);
inline constexpr int kPasswordHashRounds = 200000;

} // namespace ven
