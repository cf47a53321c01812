// Hashed passwords of the user file and the conversion of a plain one.
#include "core/UserPasswords.h"

#include "data/Dictionary.h"
#include "platform/PasswordHash.h"

#include <QFileInfo>

namespace ven {

namespace {

QString userFolder() { return QFileInfo(Store::instance().pathOf(VenUsr)).absolutePath(); }

// A missing key may be made while no hash is stored; a user file that cannot
// be read counts as holding one, so that no key is made over stored hashes.
KeyMaking keyMaking(const QString& folder)
{
    if (QFileInfo::exists(passwordKeyFile(folder)) || !QFileInfo::exists(Store::instance().pathOf(VenUsr)))
        return KeyMaking::Allowed;
    Context ctx;
    KeyedFile& usr = ctx.file(VenUsr);
    if (!usr.open().ok())
        return KeyMaking::Refused;
    usr.set();
    while (usr.next().ok())
        if (isPasswordHash(usr.rec().str(USR::PWD)))
            return KeyMaking::Refused;
    return KeyMaking::Allowed;
}

} // namespace

QString userPasswordHash(const QString& typed, QString* why)
{
    const QString folder = userFolder();
    return passwordHash(folder, typed, why, keyMaking(folder));
}

QString userPasswordKeyMissing()
{
    const QString folder = userFolder();
    if (keyMaking(folder) == KeyMaking::Allowed)
        return {};
    return passwordKeyMissingText(folder);
}

Status hashPlainPasswords(KeyedFile& usr)
{
    std::vector<int64_t> plain;
    usr.set();
    Status st;
    while ((st = usr.next()).ok())
        if (!usr.rec().str(USR::PWD).trimmed().isEmpty() && !isPasswordHash(usr.rec().str(USR::PWD)))
            plain.push_back(usr.currentId());
    if (st.code != Err::EndOfFile && st.code != Err::NotFound)
        return st;
    if (plain.empty())
        return {};
    WriteBatch batch(usr);
    if (!batch.isOpen())
        return batch.status();
    for (int64_t id : plain) {
        if (Status got = usr.getById(id); !got)
            return got;
        QString why;
        const QString hash = userPasswordHash(usr.rec().str(USR::PWD), &why);
        if (hash.isEmpty())
            return Status::fail(Err::Io, why);
        usr.rec().set(USR::PWD, hash);
        if (Status put = usr.put(); !put)
            return put;
    }
    return batch.commit();
}

} // namespace ven
