// The user file's passwords: kept as hashes of the data folder
// (platform/PasswordHash.h); a file written with plain passwords is
// converted when it is first opened.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>

namespace ven {

// The hash of a typed password as the user file keeps it; "" for a blank
// one, or when the folder's key cannot be had (`why` then says why). A
// missing key is made only while the user file holds no hash, which a new
// key would turn into a password nobody can type.
QString userPasswordHash(const QString& typed, QString* why = nullptr);

// What to tell when the key is missing beside a user file that holds hashed
// passwords (no password can be checked until it is restored); "" otherwise.
QString userPasswordKeyMissing();

// Replaces every plain password of the open user file by its hash, all in
// one transaction (a process killed meanwhile leaves the file as it was).
// OK when there was nothing to convert.
Status hashPlainPasswords(KeyedFile& usr);

} // namespace ven
