// The connection: one SQLite handle on a file's database, opened under the
// file's cipher key with the text collation and a short busy wait, the
// values bound to and read from its statements, and the messages its
// failures carry.
#include "platform/KeyedEngine.h"

#include "platform/DateTime.h"

#include <openssl/crypto.h>

#include <mutex>

namespace ven::kf {

void bindValue(sqlite3_stmt* st, int i, const FieldDef& f, const Value& v)
{
    if (auto s = std::get_if<QString>(&v)) {
        QByteArray u = s->toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    } else if (auto d = std::get_if<double>(&v)) {
        sqlite3_bind_double(st, i, *d);
    } else {
        int64_t n = std::get<int64_t>(v);
        sqlite3_bind_int64(st, i, f.type == FieldType::Time ? int64_t(packTime(int32_t(n))) : n);
    }
}

// Binds a key part's value as the key's expression compares it.
void bindKeyPart(sqlite3_stmt* st, int i, const FileDef& def, const KeyPart& p, const Value& v)
{
    const FieldDef& f = def.fields[p.field];
    if (p.descending && std::holds_alternative<int64_t>(v)) {
        int64_t n = std::get<int64_t>(v);
        sqlite3_bind_int64(st, i, -(f.type == FieldType::Time ? int64_t(packTime(int32_t(n))) : n));
    } else if (p.descending && std::holds_alternative<double>(v)) {
        sqlite3_bind_double(st, i, -std::get<double>(v));
    } else {
        bindValue(st, i, f, v);
    }
}

Value columnValue(sqlite3_stmt* st, int i, const FieldDef& f)
{
    if (isText(f.type)) {
        auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return QString::fromUtf8(p ? p : "", sqlite3_column_bytes(st, i));
    }
    if (f.type == FieldType::Real)
        return sqlite3_column_double(st, i);
    int64_t n = sqlite3_column_int64(st, i);
    return f.type == FieldType::Time ? int64_t(unpackTime(uint32_t(n))) : n;
}
QString fileNameForMessages(const FileDef& def)
{
    return def.fixedPath ? Store::instance().pathOf(def) : QString::fromUtf8(def.label);
}

Status withMessage(Status st, int message, const FileDef& def, const MessageArgs& extra)
{
    st.message = message;
    MessageArgs a = extra;
    if (a.file.isEmpty())
        a.file = fileNameForMessages(def);
    if (a.errorText.isEmpty())
        a.errorText = st.errorText;
    st.text = messageText(message, a);
    return st;
}

namespace {

// SQLite's own busy wait backs off to 100 ms naps, so a writer that commits
// often keeps the lock between them; short naps take it in the gaps.
int waitForLock(void*, int tries)
{
    const int napMs = tries < 50 ? 1 : 5;
    const int waited = tries < 50 ? tries : 50 + (tries - 50) * 5;
    if (waited >= kBusyWaitMs)
        return 0;
    sqlite3_sleep(napMs);
    return 1;
}

}  // namespace

// Opens the database at path with the file's cipher key and collation.
bool openDatabase(Connection& c, const QString& path, const FileDef& def, int flags)
{
    initCipherLibrary();
    if (sqlite3_open_v2(path.toUtf8().constData(), &c.db, flags, nullptr) != SQLITE_OK)
        return false;
    if (def.encrypted) {
        const QByteArray& key = cipherKey();
        sqlite3_key(c.db, key.constData(), int(key.size()));
    }
    sqlite3_create_collation(c.db, "VENTEXT", SQLITE_UTF8, nullptr, venCollate);
    sqlite3_busy_handler(c.db, waitForLock, nullptr);
    sqlite3_extended_result_codes(c.db, 0);
    return true;
}

}  // namespace ven::kf

namespace ven {

// The cipher library starts OpenSSL on its first connection, and OpenSSL
// then frees its tables in an exit handler on the thread that ends the
// process, while another thread may still be enciphering pages. Started
// here first, without that handler, OpenSSL is never torn down; the cipher
// library sees it already set up and leaves it alone. Its own set-up per
// connection runs under SQLite's global mutex.
void initCipherLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT | OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS
                                    | OPENSSL_INIT_LOAD_CONFIG,
                            nullptr);
    });
}

}  // namespace ven
