// The engine's inside, shared by its sections and by nothing else: the
// connection to one file's database, an instance's cursor, and the helpers
// that turn declarations into SQL and records into bound values.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/Messages.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace ven {

// ------------------------------------------------------------ connection ---

struct Connection {
    sqlite3* db = nullptr;
    const FileDef* def = nullptr;
    QString path;
    bool exclusive = false;
    uint64_t generation = 0;  // bumped by every write through this connection
    bool inBatch = false;     // a WriteBatch holds the transaction
    std::unordered_map<std::string, sqlite3_stmt*> stmts;
    QString selectList;       // "id, col1, col2, ..."
    QString insertSql, updateSql;  // made on the first write
    // The database's name on the connection: "main", or the name a
    // WriteBatch attached the file under on another file's connection,
    // whose handle this one then borrows (`host` keeps it alive).
    QString schema = QStringLiteral("main");
    std::shared_ptr<Connection> host;

    ~Connection()
    {
        finalize();
        if (db && !host)
            sqlite3_close(db);
    }

    void finalize()
    {
        for (auto& [sql, st] : stmts)
            sqlite3_finalize(st);
        stmts.clear();
    }

    // A table of this file, named for this connection: "main.rec".
    QString table(const char* name = "rec") const { return schema + '.' + QLatin1String(name); }

    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }

    // A prepared statement from the cache, reset and with its bindings cleared.
    sqlite3_stmt* prepare(const QString& sql)
    {
        std::string key = sql.toStdString();
        auto it = stmts.find(key);
        if (it != stmts.end()) {
            sqlite3_reset(it->second);
            sqlite3_clear_bindings(it->second);
            return it->second;
        }
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, key.c_str(), int(key.size()), &st, nullptr) != SQLITE_OK)
            return nullptr;
        stmts.emplace(key, st);
        return st;
    }

    bool exec(const QString& sql)
    {
        return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
};

// ---------------------------------------------------------------- cursor ---

// Where an instance stands in a key order, and the records read ahead.
struct KeyedFile::Cursor {
    enum class At { Start, End, Before, Record } at = At::Start;
    int key = -1;
    std::vector<Value> keyValues;  // the key's values at the position
    int64_t id = 0;                // the record's id (At::Record)
    // The records read ahead, taken from the front: their ids, and their
    // fields' values one record after the other in one vector, so that a
    // batch of 512 costs no allocation a record.
    struct ReadAhead {
        std::vector<int64_t> ids;
        std::vector<Value> values;
        size_t next = 0;  // the first record not taken
        size_t size() const { return ids.size() - next; }
        bool empty() const { return next == ids.size(); }
        void clear()
        {
            ids.clear();
            values.clear();
            next = 0;
        }
    } ahead;
    bool aheadForward = true;
    uint64_t generation = 0;
    int batch = 8;
};

namespace kf {

// ---------------------------------------------------------------- schema ---

bool isText(FieldType t);
// A column's name as SQL quotes it.
QString col(const FileDef& def, uint16_t f);
// The expression a key part sorts by: descending parts sort by their negation.
QString partExpr(const FileDef& def, const KeyPart& p);
// The condition that leaves blank records out of an optional key.
QString optionalCond(const FileDef& def, const KeyDef& k);
// The collation of every text column (see KeyedSchema.cpp).
int venCollate(void*, int n1, const void* p1, int n2, const void* p2);
// Equal as a key compares them: texts by the collation.
bool valueKeyEqual(const Value& a, const Value& b);
// The raw key of the enciphered files.
const QByteArray& cipherKey();
// A fingerprint of the declared schema.
QByteArray schemaHash(const FileDef& def);
// Makes the file's table and keys, or adds what a newer declaration has
// beyond what the file holds.
Status buildSchema(Connection& c, const FileDef& def, const QByteArray& hash);
// Rebuilds the file's keys when they were built under another collation
// than the one in force (another language, another ICU order, or a file
// made before files noted theirs), and notes the one in force.
Status matchCollation(Connection& c, const FileDef& def);
// The key with an auto-numbered component, nullptr when none.
const KeyDef* autoKey(const FileDef& d);

// ------------------------------------------------------------ connection ---

void bindValue(sqlite3_stmt* st, int i, const FieldDef& f, const Value& v);
// Binds a key part's value as the key's expression compares it.
void bindKeyPart(sqlite3_stmt* st, int i, const FileDef& def, const KeyPart& p, const Value& v);
Value columnValue(sqlite3_stmt* st, int i, const FieldDef& f);

// The engine's text of error 35, as the windows show it.
inline const QString kNotFound = QStringLiteral("Record Not Found");

// The status with framework message `message` and its text filled.
Status withMessage(Status st, int message, const FileDef& def, const MessageArgs& extra = {});

// How long a call waits for a lock that another process holds. All calls
// run on the GUI thread, so the wait is short; a caller that still meets the
// lock asks the user whether to try again.
constexpr int kBusyWaitMs = 2000;

// Opens the database at path with the file's cipher key and collation.
bool openDatabase(Connection& c, const QString& path, const FileDef& def, int flags);

// Runs fn inside one write transaction (BEGIN IMMEDIATE), committing when
// it succeeds and rolling back otherwise.
// A failure to begin or commit carries `message` (0: none) with the engine's
// error text.
template <class Fn>
Status inWriteTransaction(Connection& c, Fn&& fn, int message = 0)
{
    auto failed = [&](Err code) {
        Status f = Status::fail(code, c.error());
        return message && c.def ? withMessage(f, message, *c.def) : f;
    };
    if (c.inBatch) {
        // Inside a batch each write is a savepoint of the batch's transaction.
        if (!c.exec("SAVEPOINT w"))
            return failed(Err::Io);
        Status st = fn();
        if (!st.ok())
            c.exec("ROLLBACK TO w");
        c.exec("RELEASE w");
        ++c.generation;
        return st;
    }
    if (!c.exec("BEGIN IMMEDIATE")) {
        int rc = sqlite3_errcode(c.db);
        return failed(rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? Err::Locked : Err::Io);
    }
    Status st = fn();
    if (st.ok()) {
        if (!c.exec("COMMIT")) {
            int rc = sqlite3_errcode(c.db);
            Status f = failed(rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? Err::Locked : Err::Io);
            c.exec("ROLLBACK");
            return f;
        }
        ++c.generation;
    } else {
        c.exec("ROLLBACK");
    }
    return st;
}

// ---------------------------------------------------------------- rows -----

// Writes the buffer as row `id` (0: a new row, whose id is then set);
// returns SQLite's result code.
int writeRow(Connection& c, const FileDef& d, const Record& r, int64_t& id);
// Deletes row `id` and its placeholder note.
int deleteRow(Connection& c, int64_t id);
// The next number of an auto-numbered component (see KeyedFile.cpp).
bool nextAutoNumber(Connection& c, const FileDef& d, const KeyDef& k, const Record& r, int64_t& out, int part = -1);

// ---------------------------------------------------------- placeholders ---

// This process as a placeholder's holder (see KeyedPlaceholders.cpp).
QString processToken(pid_t pid);
const QString& hostName();
// Notes row `id` as a placeholder held by this process.
bool registerPlaceholder(Connection& c, int64_t id);
// Row `id` is no placeholder (any more): stored as a record, or deleted.
bool unregisterPlaceholder(Connection& c, int64_t id);

}  // namespace kf
}  // namespace ven
