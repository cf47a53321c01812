// Hashed passwords of the user file and the conversion of a plain one.
#include "core/UserPasswords.h"

#include "data/Dictionary.h"
#include "platform/PasswordHash.h"

#include <QFileInfo>

namespace ven {

QString userPasswordHash(const QString& typed, QString* why)
{
    const QString folder = QFileInfo(Store::instance().pathOf(VenUsr)).absolutePath();
    return passwordHash(folder, typed, why);
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
