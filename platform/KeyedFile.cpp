// The keyed-file engine over SQLCipher: schema from the file declarations,
// key orders as indexes, cursors that read ahead in batches, and the file
// and relation objects' rules (auto-numbers, range checks, duplicates,
// cascades and restricts).
#include "platform/KeyedFile.h"

#include "platform/DateTime.h"
#include "platform/Messages.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>
#include <deque>
#include <limits>
#include <string>
#include <unordered_map>

namespace ven {

// ============================================================== schema ====

QString FileDef::fieldName(uint16_t f) const
{
    return QString::fromUtf8(prefix) + ':' + QString::fromUtf8(fields[f].name);
}

int FileDef::findField(const QString& name) const
{
    QString n = name;
    int colon = n.indexOf(':');
    if (colon >= 0) {
        if (n.left(colon).compare(QString::fromUtf8(prefix), Qt::CaseInsensitive) != 0)
            return -1;
        n = n.mid(colon + 1);
    }
    for (size_t i = 0; i < fields.size(); ++i)
        if (n.compare(QString::fromUtf8(fields[i].name), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int FileDef::findKey(const QString& name) const
{
    for (size_t i = 0; i < keys.size(); ++i)
        if (name.compare(QString::fromUtf8(keys[i].name), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString FileDef::diskName() const
{
    return QString::fromUtf8(label).left(8) + ".tps";
}

namespace {

bool isText(FieldType t)
{
    return t == FieldType::String || t == FieldType::CString || t == FieldType::Memo;
}

QString sqlType(const FieldDef& f)
{
    if (isText(f.type))
        return "TEXT COLLATE VENTEXT";
    if (f.type == FieldType::Real)
        return "REAL";
    return "INTEGER";
}

QString col(const FileDef& def, uint16_t f)
{
    return '"' + QString::fromUtf8(def.fields[f].name) + '"';
}

// The expression a key part sorts by: descending parts sort by their negation.
QString partExpr(const FileDef& def, const KeyPart& p)
{
    return p.descending ? "(-" + col(def, p.field) + ")" : col(def, p.field);
}

// The condition that leaves blank records out of an optional key.
QString optionalCond(const FileDef& def, const KeyDef& k)
{
    QStringList terms;
    for (const KeyPart& p : k.parts)
        terms << col(def, p.field) + (isText(def.fields[p.field].type) ? " <> ''" : " <> 0");
    return "(" + terms.join(" OR ") + ")";
}

QString indexName(const FileDef& def, int key)
{
    QString n = QString::fromUtf8(def.keys[key].name);
    n.replace(':', '_');
    return "k_" + n;
}

// The collation of every text column: trailing blanks do not count and
// letter case is ignored (Unicode case folding beyond ASCII).
int venCollate(void*, int n1, const void* p1, int n2, const void* p2)
{
    auto a = static_cast<const unsigned char*>(p1);
    auto b = static_cast<const unsigned char*>(p2);
    while (n1 > 0 && a[n1 - 1] == ' ')
        --n1;
    while (n2 > 0 && b[n2 - 1] == ' ')
        --n2;
    int n = std::min(n1, n2);
    for (int i = 0; i < n; ++i) {
        unsigned char c1 = a[i], c2 = b[i];
        if (c1 >= 0x80 || c2 >= 0x80) {
            QString s1 = QString::fromUtf8(reinterpret_cast<const char*>(a + i), n1 - i);
            QString s2 = QString::fromUtf8(reinterpret_cast<const char*>(b + i), n2 - i);
            int r = QString::compare(s1, s2, Qt::CaseInsensitive);
            return r < 0 ? -1 : (r > 0 ? 1 : 0);
        }
        if (c1 >= 'A' && c1 <= 'Z')
            c1 += 32;
        if (c2 >= 'A' && c2 <= 'Z')
            c2 += 32;
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
}

bool textKeyEqual(const QString& a, const QString& b)
{
    QByteArray x = a.toUtf8(), y = b.toUtf8();
    return venCollate(nullptr, int(x.size()), x.constData(), int(y.size()), y.constData()) == 0;
}

bool valueKeyEqual(const Value& a, const Value& b)
{
    if (std::holds_alternative<QString>(a) && std::holds_alternative<QString>(b))
        return textKeyEqual(std::get<QString>(a), std::get<QString>(b));
    return a == b;
}

// The raw key of the enciphered files, made from the owner password. The
// password is the program's own and known to it, so stretching it would
// add nothing but start-up time; the raw key spares SQLCipher its own
// derivation on every open.
const QByteArray& cipherKey()
{
    static const QByteArray key =
        "x'" + QCryptographicHash::hash(QByteArrayLiteral("Vendrolix owner key:8306"), QCryptographicHash::Sha256).toHex() + "'";
    return key;
}

// A fingerprint of the declared schema; a file made under another
// declaration gets its missing columns and keys added on open.
QByteArray schemaHash(const FileDef& def)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(QByteArrayLiteral("format 2"));  // 2: the placeholder table
    for (const FieldDef& f : def.fields)
        h.addData(QByteArray(f.name) + char(f.type) + QByteArray::number(f.size));
    for (const KeyDef& k : def.keys) {
        h.addData(QByteArray(k.name) + char(k.unique) + char(k.optional));
        for (const KeyPart& p : k.parts)
            h.addData(QByteArray::number(p.field) + char(p.descending));
    }
    return h.result().toHex();
}

} // namespace

// ============================================================== status ====

Status Status::fail(Err code, QString errorText)
{
    Status s;
    s.code = code;
    s.errorText = std::move(errorText);
    return s;
}

// ============================================================== record ====

Record::Record(const FileDef* def)
    : def_(def)
{
    if (def_)
        clear();
}

void Record::clear()
{
    values_.clear();
    if (!def_)
        return;
    values_.reserve(def_->fields.size());
    for (const FieldDef& f : def_->fields) {
        if (f.type == FieldType::String)
            values_.emplace_back(QString(f.size, ' '));
        else if (isText(f.type))
            values_.emplace_back(QString());
        else if (f.type == FieldType::Real)
            values_.emplace_back(0.0);
        else
            values_.emplace_back(int64_t(0));
    }
}

int64_t Record::num(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto p = std::get_if<int64_t>(&v))
        return *p;
    if (auto d = std::get_if<double>(&v))
        return int64_t(std::llround(*d));
    return std::get<QString>(v).trimmed().toLongLong();
}

double Record::real(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto d = std::get_if<double>(&v))
        return *d;
    if (auto p = std::get_if<int64_t>(&v))
        return double(*p);
    return std::get<QString>(v).trimmed().toDouble();
}

QString Record::str(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto s = std::get_if<QString>(&v))
        return *s;
    if (auto p = std::get_if<int64_t>(&v))
        return QString::number(*p);
    return QString::number(std::get<double>(v));
}

QVariant Record::get(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto s = std::get_if<QString>(&v))
        return *s;
    if (auto p = std::get_if<int64_t>(&v))
        return QVariant::fromValue<qlonglong>(*p);
    return std::get<double>(v);
}

void Record::set(uint16_t f, int64_t v)
{
    const FieldDef& fd = def_->fields[f];
    switch (fd.type) {
    case FieldType::Byte: v = uint8_t(v); break;
    case FieldType::Short: v = int16_t(v); break;
    case FieldType::UShort: v = uint16_t(v); break;
    case FieldType::Long: v = int32_t(v); break;
    case FieldType::ULong: v = uint32_t(v); break;
    case FieldType::Time: v = unpackTime(packTime(int32_t(v))); break;
    case FieldType::Real: values_[f] = double(v); return;
    default: set(f, QString::number(v)); return;
    }
    values_[f] = v;
}

void Record::set(uint16_t f, double v)
{
    const FieldDef& fd = def_->fields[f];
    if (fd.type == FieldType::Real)
        values_[f] = v;
    else if (isText(fd.type))
        set(f, QString::number(v));
    else
        set(f, int64_t(std::llround(v)));
}

void Record::set(uint16_t f, const QString& v)
{
    const FieldDef& fd = def_->fields[f];
    switch (fd.type) {
    case FieldType::String: {
        QString s = v.left(fd.size);
        values_[f] = s + QString(fd.size - s.size(), ' ');
        return;
    }
    case FieldType::CString: values_[f] = v.left(fd.size > 0 ? fd.size - 1 : 0); return;
    case FieldType::Memo: values_[f] = v.left(fd.size); return;
    case FieldType::Real: values_[f] = v.trimmed().toDouble(); return;
    default: set(f, int64_t(v.trimmed().toLongLong())); return;
    }
}

void Record::setVariant(uint16_t f, const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: set(f, v.toDouble()); break;
    case QMetaType::QString: set(f, v.toString()); break;
    case QMetaType::Bool: set(f, int64_t(v.toBool())); break;
    default:
        if (v.canConvert<qlonglong>() && v.typeId() != QMetaType::QByteArray)
            set(f, int64_t(v.toLongLong()));
        else
            set(f, v.toString());
    }
}

void Record::setValue(uint16_t f, const Value& v)
{
    std::visit([&](const auto& x) { set(f, x); }, v);
}

// ============================================================ connection ==

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

namespace {

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

// The engine's text of error 35, as the windows show it.
const QString kNotFound = QStringLiteral("Record Not Found");

QString fileNameForMessages(const FileDef& def)
{
    return def.fixedPath ? Store::instance().pathOf(def) : QString::fromUtf8(def.label);
}

Status withMessage(Status st, int message, const FileDef& def, const MessageArgs& extra = {})
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

} // namespace

// ================================================================= store ==

Store& Store::instance()
{
    static Store s;
    return s;
}

void Store::setFolder(const QString& folder)
{
    folder_ = folder;
}

void Store::setFixedFolder(const QString& folder)
{
    fixedFolder_ = folder;
}

QString Store::fixedFolder() const
{
    if (!fixedFolder_.isEmpty())
        return fixedFolder_;
    QString env = qEnvironmentVariable("VENDROLIX_FIXED_FOLDER");
    if (!env.isEmpty())
        return env;
    // One machine-wide place when it can be used, else the user's own.
    QDir sys("/var/lib/vendrolix");
    if (sys.exists() || QDir().mkpath(sys.path()))
        if (QFileInfo(sys.path()).isWritable())
            return sys.path();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vendrolix";
}

QString Store::pathOf(const FileDef& def) const
{
    QString folder = def.fixedPath ? fixedFolder() : (folder_.isEmpty() ? QDir::currentPath() : folder_);
    return QDir(folder).filePath(def.diskName());
}

void Store::closeIdle()
{
    conns_.clear();
    exclusive_.clear();
}

namespace {

// Makes the file's table and keys, or adds what a newer declaration has
// beyond what the file holds.
Status buildSchema(Connection& c, const FileDef& def, const QByteArray& hash)
{
    if (!c.exec("PRAGMA journal_mode=DELETE") || !c.exec("PRAGMA synchronous=FULL"))
        return Status::fail(Err::Io, c.error());
    return inWriteTransaction(c, [&]() -> Status {
        sqlite3_stmt* q = c.prepare("SELECT count(*) FROM sqlite_master WHERE name='rec'");
        if (!q || sqlite3_step(q) != SQLITE_ROW)
            return Status::fail(Err::Io, c.error());
        const bool have = sqlite3_column_int(q, 0) > 0;
        sqlite3_reset(q);
        QStringList sql;
        if (!have) {
            QStringList defs{def.reuseSpace ? "id INTEGER PRIMARY KEY" : "id INTEGER PRIMARY KEY AUTOINCREMENT"};
            for (size_t i = 0; i < def.fields.size(); ++i)
                defs << col(def, uint16_t(i)) + ' ' + sqlType(def.fields[i]) + " NOT NULL DEFAULT "
                            + (isText(def.fields[i].type) ? "''" : "0");
            sql << "CREATE TABLE ven_meta(label TEXT, schema TEXT)"
                << "INSERT INTO ven_meta VALUES('" + QString::fromUtf8(def.label) + "', '')"
                << "CREATE TABLE rec(" + defs.join(", ") + ")";
        } else {
            // Columns declared since the file was made are added empty.
            sqlite3_stmt* info = c.prepare("PRAGMA table_info(rec)");
            QStringList present;
            while (info && sqlite3_step(info) == SQLITE_ROW)
                present << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1))).toUpper();
            if (info)
                sqlite3_reset(info);
            for (size_t i = 0; i < def.fields.size(); ++i)
                if (!present.contains(QString::fromUtf8(def.fields[i].name).toUpper()))
                    sql << "ALTER TABLE rec ADD COLUMN " + col(def, uint16_t(i)) + ' ' + sqlType(def.fields[i])
                               + " NOT NULL DEFAULT " + (isText(def.fields[i].type) ? "''" : "0");
        }
        // The auto-number placeholders and the process that holds each.
        sql << "CREATE TABLE IF NOT EXISTS ven_pending(id INTEGER PRIMARY KEY, owner TEXT NOT NULL, host TEXT NOT NULL)";
        for (size_t k = 0; k < def.keys.size(); ++k) {
            const KeyDef& key = def.keys[k];
            QStringList parts;
            for (const KeyPart& p : key.parts)
                parts << partExpr(def, p);
            sql << QString("CREATE %1INDEX IF NOT EXISTS %2 ON rec(%3)%4")
                       .arg(key.unique ? "UNIQUE " : "", indexName(def, int(k)), parts.join(", "),
                            key.optional ? " WHERE " + optionalCond(def, key) : QString());
        }
        sql << "UPDATE ven_meta SET schema = '" + QString::fromLatin1(hash) + "'";
        for (const QString& s : sql)
            if (!c.exec(s))
                return Status::fail(Err::Io, c.error());
        return Status{};
    });
}

// How long a call waits for a lock that another process holds. All calls
// run on the GUI thread, so the wait is short; a caller that still meets the
// lock asks the user whether to try again.
constexpr int kBusyWaitMs = 2000;

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

// Opens the database at path with the file's cipher key and collation.
bool openDatabase(Connection& c, const QString& path, const FileDef& def, int flags)
{
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

// Makes a new, empty data file aside and links it into place, so that no
// other process ever opens a half-made file; when another process made it
// meanwhile, its file stays.
Status createFile(const QString& path, const FileDef& def)
{
    const QString tmp = path + QString(".new%1").arg(getpid());
    Status st;
    {
        Connection made;
        if (!openDatabase(made, tmp, def, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
            st = Status::fail(Err::CreateFailed, made.db ? made.error() : QString("cannot create"));
        else
            st = buildSchema(made, def, schemaHash(def));
    }
    if (st.ok()) {
        const QByteArray from = QFile::encodeName(tmp), to = QFile::encodeName(path);
        if (::link(from.constData(), to.constData()) != 0 && errno != EEXIST
            && ::rename(from.constData(), to.constData()) != 0)
            st = Status::fail(Err::CreateFailed, QString::fromLocal8Bit(strerror(errno)));
    }
    QFile::remove(tmp);
    return st;
}

} // namespace

std::shared_ptr<Connection> Store::connect(const FileDef& def, bool exclusive, Status& st)
{
    const QString path = pathOf(def);
    auto live = [](std::map<QString, std::weak_ptr<Connection>>& m, const QString& p) {
        auto it = m.find(p);
        return it == m.end() ? nullptr : it->second.lock();
    };
    auto inUse = [&](const char* why) {
        st = withMessage(Status::fail(Err::Locked, QString::fromUtf8(why)), 1, def);
        return nullptr;
    };
    if (live(exclusive_, path))
        return inUse("held exclusively by another window");
    if (exclusive && live(conns_, path))
        return inUse("in use by another window");
    if (!exclusive)
        if (auto c = live(conns_, path))
            return c;
    auto c = std::make_shared<Connection>();
    c->def = &def;
    c->path = path;
    c->exclusive = exclusive;
    const bool existed = QFileInfo::exists(path);
    if (def.fixedPath)
        QDir().mkpath(QFileInfo(path).path());
    bool opened = false;  // a failure before the file exists is one of creating it
    auto failed = [&](const QString& why) {
        const bool creating = !existed && !opened;
        st = withMessage(Status::fail(creating ? Err::CreateFailed : Err::OpenFailed, why), creating ? 10 : 23, def);
        return nullptr;
    };
    if (!existed) {
        Status made = createFile(path, def);
        if (!made.ok())
            return failed(made.errorText);
    }
    opened = true;
    if (!openDatabase(*c, path, def, SQLITE_OPEN_READWRITE))
        return failed(c->db ? c->error() : QString("cannot open"));

    // Is it a database at all, and one of ours?
    sqlite3_stmt* probe = c->prepare("SELECT count(*) FROM sqlite_master");
    if (!probe || sqlite3_step(probe) != SQLITE_ROW)
        return failed(c->error());
    const int tables = sqlite3_column_int(probe, 0);
    sqlite3_reset(probe);

    QStringList cols{"id"};
    for (const FieldDef& f : def.fields)
        cols << '"' + QString::fromUtf8(f.name) + '"';
    c->selectList = cols.join(", ");

    const QByteArray hash = schemaHash(def);
    if (tables == 0) {
        return failed("not a data file of this program");
    } else {
        sqlite3_stmt* meta = c->prepare("SELECT label, schema FROM ven_meta");
        if (!meta || sqlite3_step(meta) != SQLITE_ROW)
            return failed(meta ? c->error() : QString("not a data file of this program"));
        const QString label = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(meta, 0)));
        const QByteArray stored(reinterpret_cast<const char*>(sqlite3_column_text(meta, 1)));
        sqlite3_reset(meta);
        if (label.compare(QString::fromUtf8(def.label), Qt::CaseInsensitive) != 0)
            return failed(QString("holds the file %1, not %2").arg(label, QString::fromUtf8(def.label)));
        if (stored != hash) {
            Status up = buildSchema(*c, def, hash);
            if (!up.ok())
                return failed(up.errorText);
        }
    }
    // A larger page cache keeps a big file's key and record pages in memory
    // while a list pages through it; it grows only as pages are read.
    if (!c->exec("PRAGMA synchronous=FULL") || !c->exec("PRAGMA cache_size=-16384"))
        return failed(c->error());
    if (exclusive) {
        if (!c->exec("PRAGMA locking_mode=EXCLUSIVE") || !c->exec("BEGIN EXCLUSIVE") || !c->exec("COMMIT")) {
            st = withMessage(Status::fail(Err::Locked, c->error()), 1, def);
            return nullptr;
        }
        exclusive_[path] = c;
    } else {
        conns_[path] = c;
    }
    st = Status{};
    return c;
}

// =============================================================== cursor ==

// Where an instance stands in a key order, and the records read ahead.
struct KeyedFile::Cursor {
    enum class At { Start, End, Before, Record } at = At::Start;
    int key = -1;
    std::vector<Value> keyValues;  // the key's values at the position
    int64_t id = 0;                // the record's id (At::Record)
    struct Row {
        int64_t id;
        std::vector<Value> values;
    };
    std::deque<Row> ahead;
    bool aheadForward = true;
    uint64_t generation = 0;
    int batch = 8;
};

// ============================================================ keyed file ==

KeyedFile::KeyedFile(Context* ctx, const FileDef* def)
    : ctx_(ctx)
    , def_(def)
    , rec_(def)
    , original_(def)
    , cursor_(std::make_unique<Cursor>())
{
}

KeyedFile::~KeyedFile()
{
    if (pendingAuto_ && conn_)
        cancelAutoInc();
}

Status KeyedFile::open(Mode mode)
{
    if (openCount_ > 0) {
        ++openCount_;
        return {};
    }
    Status st;
    conn_ = Store::instance().connect(*def_, mode == Mode::Exclusive, st);
    if (!conn_)
        return st;
    openCount_ = 1;
    cursor_ = std::make_unique<Cursor>();
    return {};
}

void KeyedFile::close()
{
    if (openCount_ == 0)
        return;
    if (--openCount_ == 0) {
        if (pendingAuto_)
            cancelAutoInc();
        conn_.reset();
        current_ = 0;
        cursor_ = std::make_unique<Cursor>();
    }
}

Status KeyedFile::requireCurrent(int message) const
{
    return current_ ? Status{} : withMessage(Status::fail(Err::NoCurrent, "No current record"), message, *def_);
}

void KeyedFile::becomeCurrent(int64_t id)
{
    original_ = rec_;
    current_ = id;
    positionAt(cursor_->key, id);
}

Status KeyedFile::ensureOpen() const
{
    if (openCount_ > 0)
        return {};
    return withMessage(Status::fail(Err::NotOpen, "file not open"), 39, *def_);
}

Status KeyedFile::readRow(void* stmtp, Record& into, int64_t& id)
{
    auto st = static_cast<sqlite3_stmt*>(stmtp);
    id = sqlite3_column_int64(st, 0);
    for (size_t i = 0; i < def_->fields.size(); ++i)
        into.setValue(uint16_t(i), columnValue(st, int(i + 1), def_->fields[i]));
    return {};
}

void KeyedFile::positionAt(int key, int64_t id)
{
    Cursor& c = *cursor_;
    c.key = key;
    c.at = Cursor::At::Record;
    c.id = id;
    c.keyValues.clear();
    if (key >= 0)
        for (const KeyPart& p : def_->keys[key].parts)
            c.keyValues.push_back(rec_.value(p.field));
    c.ahead.clear();
}

Status KeyedFile::set(int key)
{
    if (Status st = ensureOpen(); !st)
        return st;
    *cursor_ = Cursor{};
    cursor_->key = key;
    return {};
}

Status KeyedFile::setToEnd(int key)
{
    if (Status st = set(key); !st)
        return st;
    cursor_->at = Cursor::At::End;
    return {};
}

Status KeyedFile::setFromBuffer(int key)
{
    if (Status st = set(key); !st)
        return st;
    Cursor& c = *cursor_;
    if (key < 0) {
        c.at = Cursor::At::Start;
        return {};
    }
    c.at = Cursor::At::Before;
    for (const KeyPart& p : def_->keys[key].parts)
        c.keyValues.push_back(rec_.value(p.field));
    return {};
}

Status KeyedFile::fetchBatch(bool forward)
{
    Cursor& c = *cursor_;
    const FileDef& d = *def_;
    QStringList order, where;
    QStringList rowExpr;
    if (c.key >= 0) {
        const KeyDef& k = d.keys[c.key];
        for (const KeyPart& p : k.parts)
            rowExpr << partExpr(d, p);
        if (k.optional)
            where << optionalCond(d, k);
    }
    for (const QString& e : rowExpr)
        order << e + (forward ? " ASC" : " DESC");
    order << (forward ? "id ASC" : "id DESC");
    const bool positioned = c.at == Cursor::At::Before || c.at == Cursor::At::Record;
    if (positioned) {
        QStringList lhs = rowExpr, rhs;
        lhs << "id";
        for (int i = 0; i < lhs.size(); ++i)
            rhs << "?";
        where << "(" + lhs.join(", ") + ") " + (forward ? ">" : "<") + " (" + rhs.join(", ") + ")";
    }
    QString sql = "SELECT " + conn_->selectList + " FROM " + conn_->table() + (where.isEmpty() ? "" : " WHERE " + where.join(" AND "))
                  + " ORDER BY " + order.join(", ") + " LIMIT ?";
    sqlite3_stmt* st = conn_->prepare(sql);
    if (!st)
        return withMessage(Status::fail(Err::Io, conn_->error()), 1, d);
    int i = 1;
    if (positioned) {
        if (c.key >= 0) {
            const KeyDef& k = d.keys[c.key];
            for (size_t p = 0; p < k.parts.size(); ++p)
                bindKeyPart(st, i++, d, k.parts[p], c.keyValues[p]);
        }
        // Before a key value: every record with that value follows it.
        sqlite3_bind_int64(st, i++, c.at == Cursor::At::Before ? (forward ? 0 : INT64_MAX) : c.id);
    }
    sqlite3_bind_int(st, i, c.batch);
    c.ahead.clear();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Cursor::Row row;
        row.id = sqlite3_column_int64(st, 0);
        row.values.reserve(d.fields.size());
        for (size_t f = 0; f < d.fields.size(); ++f)
            row.values.push_back(columnValue(st, int(f + 1), d.fields[f]));
        c.ahead.push_back(std::move(row));
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
        c.ahead.clear();
        Err e = (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) ? Err::Locked : Err::Io;
        return withMessage(Status::fail(e, conn_->error()), e == Err::Locked ? 28 : 1, d);
    }
    c.aheadForward = forward;
    c.generation = conn_->generation;
    c.batch = std::min(c.batch * 2, 512);
    return {};
}

Status KeyedFile::step(bool forward)
{
    if (Status st = ensureOpen(); !st)
        return st;
    Cursor& c = *cursor_;
    if ((forward && c.at == Cursor::At::End) || (!forward && c.at == Cursor::At::Start))
        return Status::fail(Err::EndOfFile);
    if (c.ahead.empty() || c.aheadForward != forward || c.generation != conn_->generation) {
        if (c.aheadForward != forward)
            c.batch = 8;
        if (c.at == Cursor::At::Start && !forward)
            return Status::fail(Err::EndOfFile);
        if (c.at == Cursor::At::End && forward)
            return Status::fail(Err::EndOfFile);
        if (Status st = fetchBatch(forward); !st)
            return st;
    }
    if (c.ahead.empty()) {
        c.at = forward ? Cursor::At::End : Cursor::At::Start;
        return Status::fail(Err::EndOfFile);
    }
    Cursor::Row row = std::move(c.ahead.front());
    c.ahead.pop_front();
    for (size_t f = 0; f < row.values.size(); ++f)
        rec_.setValue(uint16_t(f), row.values[f]);
    original_ = rec_;
    current_ = row.id;
    c.at = Cursor::At::Record;
    c.id = row.id;
    c.keyValues.clear();
    if (c.key >= 0)
        for (const KeyPart& p : def_->keys[c.key].parts)
            c.keyValues.push_back(rec_.value(p.field));
    return {};
}

Status KeyedFile::next()
{
    return step(true);
}

Status KeyedFile::previous()
{
    return step(false);
}

Status KeyedFile::get(int key)
{
    return getByKey(key, false);
}

Status KeyedFile::getIncludingBlank(int key)
{
    return getByKey(key, true);
}

Status KeyedFile::getByKey(int key, bool includingBlank)
{
    if (Status st = ensureOpen(); !st)
        return st;
    const FileDef& d = *def_;
    const KeyDef& k = d.keys[key];
    QStringList where, order;
    for (const KeyPart& p : k.parts) {
        where << col(d, p.field) + " = ?";
        order << partExpr(d, p);
    }
    if (k.optional && !includingBlank)
        where << optionalCond(d, k);
    order << "id";
    sqlite3_stmt* st = conn_->prepare("SELECT " + conn_->selectList + " FROM " + conn_->table() + " WHERE " + where.join(" AND ")
                                      + " ORDER BY " + order.join(", ") + " LIMIT 1");
    if (!st)
        return withMessage(Status::fail(Err::Io, conn_->error()), 1, d);
    int i = 1;
    for (const KeyPart& p : k.parts)
        bindValue(st, i++, d.fields[p.field], rec_.value(p.field));
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        int64_t id;
        readRow(st, rec_, id);
        sqlite3_reset(st);
        original_ = rec_;
        current_ = id;
        positionAt(key, id);
        return {};
    }
    sqlite3_reset(st);
    if (rc == SQLITE_DONE)
        return Status::fail(Err::NotFound, kNotFound);
    Err e = (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) ? Err::Locked : Err::Io;
    return withMessage(Status::fail(e, conn_->error()), e == Err::Locked ? 28 : 1, d);
}

Status KeyedFile::getById(int64_t id)
{
    if (Status st = ensureOpen(); !st)
        return st;
    sqlite3_stmt* st = conn_->prepare("SELECT " + conn_->selectList + " FROM " + conn_->table() + " WHERE id = ?");
    if (!st)
        return withMessage(Status::fail(Err::Io, conn_->error()), 1, *def_);
    sqlite3_bind_int64(st, 1, id);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        return rc == SQLITE_DONE ? Status::fail(Err::NotFound, kNotFound)
                                 : withMessage(Status::fail(Err::Io, conn_->error()), 1, *def_);
    }
    int64_t got;
    readRow(st, rec_, got);
    sqlite3_reset(st);
    becomeCurrent(got);
    return {};
}

bool KeyedFile::currentIsPlaceholder()
{
    if (!current_ || !ensureOpen())
        return false;
    sqlite3_stmt* st = conn_->prepare("SELECT 1 FROM " + conn_->table("ven_pending") + " WHERE id = ?");
    if (!st)
        return false;
    sqlite3_bind_int64(st, 1, current_);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_reset(st);
    return found;
}

// Names the unique key that the buffer would duplicate (message 13).
Status KeyedFile::reportDuplicate(int64_t selfId)
{
    const FileDef& d = *def_;
    for (const KeyDef& k : d.keys) {
        if (!k.unique)
            continue;
        QStringList where;
        for (const KeyPart& p : k.parts)
            where << col(d, p.field) + " = ?";
        if (k.optional)
            where << optionalCond(d, k);
        sqlite3_stmt* st = conn_->prepare("SELECT 1 FROM " + conn_->table() + " WHERE " + where.join(" AND ") + " AND id <> ? LIMIT 1");
        if (!st)
            continue;
        int i = 1;
        for (const KeyPart& p : k.parts)
            bindValue(st, i++, d.fields[p.field], rec_.value(p.field));
        sqlite3_bind_int64(st, i, selfId);
        const bool dup = sqlite3_step(st) == SQLITE_ROW;
        sqlite3_reset(st);
        if (dup) {
            MessageArgs a;
            a.message = QString::fromUtf8(k.description);
            return withMessage(Status::fail(Err::DuplicateKey, "Creates Duplicate Key"), 13, d, a);
        }
    }
    return withMessage(Status::fail(Err::DuplicateKey, "Creates Duplicate Key"), 13, d);
}

namespace {

// Writes the buffer as row `id` (0: a new row, whose id is then set);
// returns SQLite's result code.
int writeRow(Connection& c, const FileDef& d, const Record& r, int64_t& id)
{
    if (c.insertSql.isEmpty()) {
        QStringList cols, marks, sets;
        for (size_t i = 0; i < d.fields.size(); ++i) {
            cols << col(d, uint16_t(i));
            marks << "?";
            sets << col(d, uint16_t(i)) + " = ?";
        }
        c.insertSql = "INSERT INTO " + c.table() + "(" + cols.join(", ") + ") VALUES(" + marks.join(", ") + ")";
        c.updateSql = "UPDATE " + c.table() + " SET " + sets.join(", ") + " WHERE id = ?";
    }
    sqlite3_stmt* st = c.prepare(id == 0 ? c.insertSql : c.updateSql);
    if (!st)
        return sqlite3_errcode(c.db);
    for (size_t i = 0; i < d.fields.size(); ++i)
        bindValue(st, int(i + 1), d.fields[i], r.value(uint16_t(i)));
    if (id != 0)
        sqlite3_bind_int64(st, int(d.fields.size() + 1), id);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        return rc;
    if (id == 0)
        id = sqlite3_last_insert_rowid(c.db);
    else if (sqlite3_changes(c.db) == 0)
        return SQLITE_NOTFOUND;
    return SQLITE_OK;
}

// This process as a placeholder's holder: its id and start time, so that a
// later process with the same id is not taken for it.
QString processToken(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = f.readAll();
    // The fields after the command's closing parenthesis; the start time is
    // the 22nd field of the line, the 20th after it.
    const QList<QByteArray> rest = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return rest.size() > 19 ? QStringLiteral("%1:%2").arg(pid).arg(QString::fromLatin1(rest[19])) : QString();
}

const QString& ownToken()
{
    static pid_t of = 0;
    static QString t;
    if (of != getpid()) {  // made again in a forked child
        of = getpid();
        t = processToken(of);
    }
    return t;
}

const QString& hostName()
{
    static const QString h = QSysInfo::machineHostName();
    return h;
}

// Notes row `id` as a placeholder held by this process.
bool registerPlaceholder(Connection& c, int64_t id)
{
    sqlite3_stmt* st = c.prepare("INSERT OR REPLACE INTO " + c.table("ven_pending") + " VALUES(?, ?, ?)");
    if (!st)
        return false;
    sqlite3_bind_int64(st, 1, id);
    const QByteArray owner = ownToken().toUtf8(), host = hostName().toUtf8();
    sqlite3_bind_text(st, 2, owner.constData(), int(owner.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, host.constData(), int(host.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc == SQLITE_DONE;
}

// Row `id` is no placeholder (any more): stored as a record, or deleted.
bool unregisterPlaceholder(Connection& c, int64_t id)
{
    sqlite3_stmt* st = c.prepare("DELETE FROM " + c.table("ven_pending") + " WHERE id = ?");
    if (!st)
        return false;
    sqlite3_bind_int64(st, 1, id);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    return rc == SQLITE_DONE;
}

// Deletes row `id` and its placeholder note.
int deleteRow(Connection& c, int64_t id)
{
    sqlite3_stmt* s = c.prepare("DELETE FROM " + c.table() + " WHERE id = ?");
    if (!s)
        return sqlite3_errcode(c.db);
    sqlite3_bind_int64(s, 1, id);
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE)
        return rc;
    return unregisterPlaceholder(c, id) ? SQLITE_OK : sqlite3_errcode(c.db);
}

} // namespace

Status KeyedFile::add()
{
    if (Status st = ensureOpen(); !st)
        return st;
    int64_t id = 0;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        int rc = writeRow(*conn_, *def_, rec_, id);
        if (rc == SQLITE_CONSTRAINT)
            return reportDuplicate(0);
        if (rc != SQLITE_OK)
            return withMessage(Status::fail(Err::Io, conn_->error()), 4, *def_);
        return {};
    }, 4);
    if (st.ok()) {
        becomeCurrent(id);
    }
    return st;
}

Status KeyedFile::put()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = requireCurrent(25); !st)
        return st;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        int64_t id = current_;
        int rc = writeRow(*conn_, *def_, rec_, id);
        if (rc == SQLITE_CONSTRAINT)
            return reportDuplicate(current_);
        if (rc == SQLITE_NOTFOUND)
            return withMessage(Status::fail(Err::NotFound, kNotFound), 25, *def_);
        if (rc != SQLITE_OK || (pendingAuto_ == id && !unregisterPlaceholder(*conn_, id)))
            return withMessage(Status::fail(Err::Io, conn_->error()), 25, *def_);
        return {};
    }, 25);
    if (st.ok()) {
        if (pendingAuto_ == current_)
            pendingAuto_ = 0;
        becomeCurrent(current_);
    }
    return st;
}

Status KeyedFile::remove()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = requireCurrent(11); !st)
        return st;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        if (deleteRow(*conn_, current_) != SQLITE_OK)
            return withMessage(Status::fail(Err::Io, conn_->error()), 11, *def_);
        return {};
    }, 11);
    if (st.ok()) {
        if (pendingAuto_ == current_)
            pendingAuto_ = 0;
        current_ = 0;
    }
    return st;
}

int64_t KeyedFile::records()
{
    if (!ensureOpen().ok())
        return 0;
    sqlite3_stmt* st = conn_->prepare("SELECT count(*) FROM " + conn_->table());
    if (!st || sqlite3_step(st) != SQLITE_ROW)
        return 0;
    int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    return n;
}

Status KeyedFile::rebuildKeys()
{
    if (Status st = ensureOpen(); !st)
        return st;
    return inWriteTransaction(*conn_, [&]() -> Status {
        if (!conn_->exec("REINDEX " + conn_->table()))
            return withMessage(Status::fail(Err::Io, conn_->error()), 26, *def_);
        return {};
    });
}

Status KeyedFile::checkIntegrity()
{
    if (Status st = ensureOpen(); !st)
        return st;
    sqlite3_stmt* st = conn_->prepare("PRAGMA " + conn_->schema + ".integrity_check");
    if (!st)
        return Status::fail(Err::Io, conn_->error());
    QString result;
    while (sqlite3_step(st) == SQLITE_ROW)
        result += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    return result == "ok" ? Status{} : Status::fail(Err::Io, result);
}

Status KeyedFile::backupTo(const QString& path)
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (conn_->inBatch)
        return Status::fail(Err::Io, "a batch of the file is open");
    const QString tmp = path + QStringLiteral(".part%1").arg(getpid());
    QFile::remove(tmp);
    auto fail = [&](const QString& why) {
        QFile::remove(tmp);
        return Status::fail(Err::Io, why);
    };
    {
        Connection copy;
        copy.def = def_;
        if (!openDatabase(copy, tmp, *def_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
            return fail(copy.db ? copy.error() : QString("cannot create %1").arg(tmp));
        // SQLite's online backup: a snapshot of the whole file, page by page
        // through the cipher; a writer elsewhere is waited for briefly.
        sqlite3_backup* b = sqlite3_backup_init(copy.db, "main", conn_->db, conn_->schema.toUtf8().constData());
        if (!b)
            return fail(copy.error());
        int rc, waited = 0;
        while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (waited >= kBusyWaitMs)
                break;
            sqlite3_sleep(50);
            waited += 50;
        }
        sqlite3_backup_finish(b);
        if (rc != SQLITE_DONE)
            return fail(rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? QString("the file is locked") : copy.error());
        // The copy must read back under its key as a sound file of this label.
        sqlite3_stmt* check = copy.prepare("PRAGMA integrity_check");
        const bool sound = check && sqlite3_step(check) == SQLITE_ROW
                           && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
        if (check)
            sqlite3_reset(check);
        sqlite3_stmt* meta = copy.prepare("SELECT label FROM ven_meta");
        const bool ours = meta && sqlite3_step(meta) == SQLITE_ROW
                          && QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(meta, 0)))
                                     .compare(QString::fromUtf8(def_->label), Qt::CaseInsensitive) == 0;
        if (meta)
            sqlite3_reset(meta);
        if (!sound || !ours)
            return fail("the copy did not read back");
    }
    if (def_->encrypted) {
        QFile f(tmp);
        if (!f.open(QIODevice::ReadOnly) || f.read(15) == "SQLite format 3")
            return fail("the copy is not enciphered");
    }
    if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QString::fromLocal8Bit(strerror(errno)));
    return {};
}

// ------------------------------------------------------- the file object --

Status KeyedFile::validateField(uint16_t f) const
{
    for (const RangeCheck& r : def_->ranges) {
        if (r.field != f)
            continue;
        int64_t v = rec_.num(f);
        if (v < r.low || v > r.high) {
            MessageArgs a;
            a.field = QString::fromUtf8(r.fieldText);
            a.message = QString::fromUtf8(r.boundsText);
            return withMessage(Status::fail(Err::InvalidValue, "Range Error"), 16, *def_, a);
        }
    }
    return {};
}

int fieldCapacity(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::String:
    case FieldType::Memo: return f.size;
    case FieldType::CString: return f.size > 0 ? f.size - 1 : 0;
    default: return 0;
    }
}

Status KeyedFile::checkValue(const FileDef& def, uint16_t f, const QVariant& v, const QString& fieldText)
{
    int64_t low = 0, high = 0;
    switch (def.fields[f].type) {
    case FieldType::Byte: high = 255; break;
    case FieldType::Short: low = -32768, high = 32767; break;
    case FieldType::UShort: high = 65535; break;
    case FieldType::Long: low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max(); break;
    case FieldType::ULong: high = std::numeric_limits<uint32_t>::max(); break;
    case FieldType::Time: high = 8640000; break;
    default: return {};
    }
    bool ok = false;
    const double x = v.toDouble(&ok);
    if (!ok || (x >= double(low) && x <= double(high)))
        return {};
    MessageArgs a;
    a.field = fieldText;
    a.message = QStringLiteral("%1 and %2").arg(low).arg(high);
    for (const RangeCheck& r : def.ranges)
        if (r.field == f) {
            a.field = QString::fromUtf8(r.fieldText);
            a.message = QString::fromUtf8(r.boundsText);
        }
    return withMessage(Status::fail(Err::InvalidValue, "Range Error"), 16, def, a);
}

Status KeyedFile::validateRecord() const
{
    for (const RangeCheck& r : def_->ranges)
        if (Status st = validateField(r.field); !st)
            return st;
    return {};
}

namespace {

const KeyDef* autoKey(const FileDef& d)
{
    for (const KeyDef& k : d.keys)
        if (k.autoPart >= 0)
            return &k;
    return nullptr;
}

// The next number of an auto-numbered component: the highest among the
// records that share the key's leading components, plus one. The record
// being numbered is never among them (it is new, or stored under other
// leading values); blank records that an optional key leaves out hold 0 and
// cannot raise the highest, so the key's own condition is added to let the
// engine read the highest from the key.
bool nextAutoNumber(Connection& c, const FileDef& d, const KeyDef& k, const Record& r, int64_t& out, int part = -1)
{
    const int ap = part < 0 ? k.autoPart : part;
    QStringList where;
    for (int p = 0; p < ap; ++p)
        where << col(d, k.parts[p].field) + " = ?";
    if (k.optional)
        where << optionalCond(d, k);
    sqlite3_stmt* st = c.prepare("SELECT max(" + col(d, k.parts[ap].field) + ") FROM " + c.table()
                                 + (where.isEmpty() ? QString() : " WHERE " + where.join(" AND ")));
    if (!st)
        return false;
    for (int p = 0; p < ap; ++p)
        bindValue(st, p + 1, d.fields[k.parts[p].field], r.value(k.parts[p].field));
    if (sqlite3_step(st) != SQLITE_ROW) {
        sqlite3_reset(st);
        return false;
    }
    out = sqlite3_column_int64(st, 0) + 1;
    sqlite3_reset(st);
    return true;
}

} // namespace

Status KeyedFile::nextNumber(int key, int64_t& out, int part)
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (key < 0 || key >= int(def_->keys.size()))
        return Status::fail(Err::NotFound, "Key Not Found");
    const KeyDef& k = def_->keys[key];
    if (part < 0)
        part = k.autoPart;
    if (part < 0 || part >= int(k.parts.size()))
        return Status::fail(Err::NotFound, "Key Not Found");
    if (!nextAutoNumber(*conn_, *def_, k, rec_, out, part))
        return Status::fail(Err::Io, conn_->error());
    return {};
}

Status KeyedFile::primeRecord()
{
    if (Status st = ensureOpen(); !st)
        return st;
    keepOwnNumber_ = false;
    if (pendingAuto_)
        cancelAutoInc();
    rec_.clear();
    for (const InitialValue& iv : def_->initial)
        rec_.setValue(iv.field, iv.value);
    current_ = 0;
    const KeyDef* ak = autoKey(*def_);
    if (!ak)
        return {};
    const uint16_t af = ak->parts[ak->autoPart].field;
    Status last;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int64_t id = 0;
        last = inWriteTransaction(*conn_, [&]() -> Status {
            int64_t n = 0;
            if (!nextAutoNumber(*conn_, *def_, *ak, rec_, n))
                return Status::fail(Err::Io, conn_->error());
            rec_.set(af, n);
            int rc = writeRow(*conn_, *def_, rec_, id);
            if (rc != SQLITE_OK)
                return Status::fail(rc == SQLITE_CONSTRAINT ? Err::DuplicateKey : Err::Io, conn_->error());
            if (!registerPlaceholder(*conn_, id))
                return Status::fail(Err::Io, conn_->error());
            return {};
        });
        if (last.ok()) {
            pendingAuto_ = id;
            current_ = id;
            original_ = rec_;
            return {};
        }
        // Only a number taken meanwhile is worth another try at once; a
        // lock has already been waited for.
        if (last.code != Err::DuplicateKey)
            break;
    }
    rec_.set(af, int64_t(0));
    return withMessage(last, 32, *def_);
}

Status KeyedFile::cancelAutoInc()
{
    if (!pendingAuto_)
        return {};
    if (Status st = ensureOpen(); !st)
        return st;
    const int64_t id = pendingAuto_;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        return deleteRow(*conn_, id) == SQLITE_OK ? Status{} : Status::fail(Err::Io, conn_->error());
    });
    if (st.ok()) {
        pendingAuto_ = 0;
        if (current_ == id)
            current_ = 0;
    }
    return st;
}

Status KeyedFile::insert()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = validateRecord(); !st)
        return st;
    const KeyDef* ak = autoKey(*def_);
    int64_t id = pendingAuto_;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        if (ak && !keepOwnNumber_) {
            // The number counts within the leading components: renumber when
            // the record was moved to other leading values since it was
            // reserved, or when it was never reserved.
            const uint16_t af = ak->parts[ak->autoPart].field;
            bool renumber = rec_.num(af) == 0;
            for (int p = 0; p < ak->autoPart && id; ++p)
                if (!valueKeyEqual(rec_.value(ak->parts[p].field), original_.value(ak->parts[p].field)))
                    renumber = true;
            if (renumber) {
                int64_t n = 0;
                if (!nextAutoNumber(*conn_, *def_, *ak, rec_, n))
                    return withMessage(Status::fail(Err::Io, conn_->error()), 4, *def_);
                rec_.set(af, n);
            }
        }
        int rc = writeRow(*conn_, *def_, rec_, id);
        if (rc == SQLITE_CONSTRAINT)
            return reportDuplicate(id);
        if (rc != SQLITE_OK || (id == pendingAuto_ && id && !unregisterPlaceholder(*conn_, id)))
            return withMessage(Status::fail(Err::Io, conn_->error()), 4, *def_);
        return {};
    }, 4);
    if (st.ok()) {
        pendingAuto_ = 0;
        keepOwnNumber_ = false;
        becomeCurrent(id);
    }
    return st;
}

Status KeyedFile::update()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = requireCurrent(25); !st)
        return st;
    if (Status st = validateRecord(); !st)
        return st;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        // Changed by another station since it was read?
        Record stored(def_);
        sqlite3_stmt* s = conn_->prepare("SELECT " + conn_->selectList + " FROM " + conn_->table() + " WHERE id = ?");
        if (!s)
            return withMessage(Status::fail(Err::Io, conn_->error()), 25, *def_);
        sqlite3_bind_int64(s, 1, current_);
        int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) {
            int64_t got;
            readRow(s, stored, got);
        }
        sqlite3_reset(s);
        if (rc != SQLITE_ROW || !(stored == original_))
            return withMessage(Status::fail(Err::RecordChanged, "Record Changed By Another Station"), 7, *def_);
        int64_t id = current_;
        rc = writeRow(*conn_, *def_, rec_, id);
        if (rc == SQLITE_CONSTRAINT)
            return reportDuplicate(current_);
        if (rc != SQLITE_OK || (pendingAuto_ == id && !unregisterPlaceholder(*conn_, id)))
            return withMessage(Status::fail(Err::Io, conn_->error()), 25, *def_);
        return {};
    }, 25);
    if (st.ok()) {
        if (pendingAuto_ == current_)
            pendingAuto_ = 0;
        becomeCurrent(current_);
    }
    return st;
}

// --------------------------------------------------- the relation object --

namespace {

std::vector<const RelationDef*> childRelations(const FileDef* parent)
{
    std::vector<const RelationDef*> out;
    if (const Dictionary* d = Store::instance().dictionary())
        for (const RelationDef& r : d->relations)
            if (r.parent == parent)
                out.push_back(&r);
    return out;
}

// Visits the children of `parent` (by its values in `parentRec`) through
// the relation's child key; fn returns false to stop.
template <class Fn>
Status forEachChild(Context& ctx, const RelationDef& rel, const Record& parentRec, Fn&& fn)
{
    KeyedFile& child = ctx.file(*rel.child);
    if (Status st = child.open(); !st)
        return st;
    const int key = rel.child->findKey(QString::fromUtf8(rel.childKey));
    child.rec().clear();
    for (auto [pf, cf] : rel.links)
        child.rec().setValue(cf, parentRec.value(pf));
    Status st = child.setFromBuffer(key);
    std::vector<int64_t> ids;
    while (st.ok()) {
        st = child.next();
        if (!st.ok())
            break;
        bool match = true;
        for (auto [pf, cf] : rel.links)
            if (!valueKeyEqual(child.rec().value(cf), parentRec.value(pf)))
                match = false;
        if (!match)
            break;
        ids.push_back(child.currentId());
    }
    if (!st.ok() && st.code != Err::EndOfFile) {
        child.close();
        return st;
    }
    // Collected first, so that the visit may change or delete the children.
    Status out;
    for (int64_t id : ids) {
        if (Status g = child.getById(id); !g)
            continue;
        if (!fn(child, out))
            break;
    }
    child.close();
    return out;
}

// True when the parent's linking fields of rel differ between a and b.
bool linksChanged(const RelationDef& rel, const Record& a, const Record& b)
{
    for (auto [pf, cf] : rel.links)
        if (!valueKeyEqual(a.value(pf), b.value(pf)))
            return true;
    return false;
}

Status restrictDeleteBelow(Context& ctx, const FileDef* def, const Record& rec)
{
    for (const RelationDef* rel : childRelations(def)) {
        Status found;
        Status st = forEachChild(ctx, *rel, rec, [&](KeyedFile& child, Status& out) {
            if (rel->remove == Rule::Restrict) {
                out = withMessage(Status::fail(Err::Restricted, "Restricted"), 30, *rel->child);
                return false;
            }
            out = restrictDeleteBelow(ctx, rel->child, child.rec());
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

Status cascadeDeleteBelow(Context& ctx, const FileDef* def, const Record& rec)
{
    for (const RelationDef* rel : childRelations(def)) {
        Status st = forEachChild(ctx, *rel, rec, [&](KeyedFile& child, Status& out) {
            Record copy = child.rec();
            out = cascadeDeleteBelow(ctx, rel->child, copy);
            if (out.ok())
                out = child.remove();
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

} // namespace

Status KeyedFile::deleteWithChildren()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = requireCurrent(11); !st)
        return st;
    Context work;  // the relation's own instances leave the windows' buffers alone
    const Record rec = original_;
    if (Status st = restrictDeleteBelow(work, def_, rec); !st)
        return st;
    if (Status st = cascadeDeleteBelow(work, def_, rec); !st)
        return st;
    return remove();
}

Status KeyedFile::checkUpdateRestrict(const Record& oldRec)
{
    for (const RelationDef* rel : childRelations(def_)) {
        if (rel->update != Rule::Restrict || !linksChanged(*rel, oldRec, rec_))
            continue;
        Context work;
        bool any = false;
        Status st = forEachChild(work, *rel, oldRec, [&](KeyedFile&, Status&) {
            any = true;
            return false;
        });
        if (!st.ok())
            return st;
        if (any) {
            for (auto [pf, cf] : rel->links)
                rec_.setValue(pf, oldRec.value(pf));
            return withMessage(Status::fail(Err::Restricted, "Restricted"), 31, *rel->child);
        }
    }
    return {};
}

Status KeyedFile::cascadeUpdate(const Record& oldRec)
{
    for (const RelationDef* rel : childRelations(def_)) {
        if (rel->update != Rule::Cascade || !linksChanged(*rel, oldRec, rec_))
            continue;
        Context work;
        Status st = forEachChild(work, *rel, oldRec, [&](KeyedFile& child, Status& out) {
            for (auto [pf, cf] : rel->links)
                child.rec().setValue(cf, rec_.value(pf));
            out = child.updateWithChildren();
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

Status KeyedFile::updateWithChildren()
{
    if (Status st = ensureOpen(); !st)
        return st;
    const Record oldRec = original_;
    if (Status st = checkUpdateRestrict(oldRec); !st)
        return st;
    if (Status st = update(); !st)
        return st;
    return cascadeUpdate(oldRec);
}

// --------------------------------------------------------- save/restore --

std::unique_ptr<KeyedFile::Saved> KeyedFile::save() const
{
    auto s = std::make_unique<Saved>();
    s->rec = rec_;
    s->original = original_;
    s->current = current_;
    s->cursor = std::make_shared<Cursor>(*cursor_);
    return s;
}

void KeyedFile::restore(const Saved& s)
{
    rec_ = s.rec;
    original_ = s.original;
    current_ = s.current;
    if (s.cursor)
        *cursor_ = *std::static_pointer_cast<Cursor>(s.cursor);
}

// ========================================================== placeholders ==

Status Store::removeStalePlaceholders(int* removed)
{
    if (removed)
        *removed = 0;
    if (!dict_)
        return {};
    for (const FileDef* def : dict_->files) {
        if (!autoKey(*def) || !QFileInfo::exists(pathOf(*def)))
            continue;
        Status st;
        std::shared_ptr<Connection> c = connect(*def, false, st);
        if (!c)
            return st;
        // Read first, outside a write, so that files without placeholders
        // cost no transaction.
        std::vector<int64_t> stale;
        sqlite3_stmt* q = c->prepare("SELECT id, owner, host FROM " + c->table("ven_pending"));
        if (!q)
            return withMessage(Status::fail(Err::Io, c->error()), 1, *def);
        while (sqlite3_step(q) == SQLITE_ROW) {
            const QString owner = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 1)));
            const QString host = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 2)));
            // Another machine's copies cannot be asked; theirs stay.
            if (host != hostName())
                continue;
            if (processToken(pid_t(owner.section(':', 0, 0).toLongLong())) != owner)
                stale.push_back(sqlite3_column_int64(q, 0));
        }
        sqlite3_reset(q);
        if (stale.empty())
            continue;
        st = inWriteTransaction(*c, [&]() -> Status {
            for (int64_t id : stale)
                if (deleteRow(*c, id) != SQLITE_OK)
                    return Status::fail(Err::Io, c->error());
            return {};
        }, 11);
        if (!st)
            return st;
        ++c->generation;
        if (removed)
            *removed += int(stale.size());
    }
    return {};
}

// =========================================================== write batch ==

// A file of a batch other than the first: its own connection, and the one
// that reaches it through the first file's connection while the batch lives.
struct WriteBatch::Joined {
    KeyedFile* file;
    std::shared_ptr<Connection> own, via;
};

WriteBatch::WriteBatch(KeyedFile& file)
    : WriteBatch({&file})
{
}

WriteBatch::WriteBatch(std::initializer_list<KeyedFile*> files)
{
    auto refuse = [&](const FileDef& def, const QString& why) {
        end(false, nullptr);
        begun_ = withMessage(Status::fail(Err::Io, why), 21, def);
    };
    if (files.size() == 0)
        return;
    KeyedFile& first = **files.begin();
    conn_ = first.conn_;
    if (!conn_) {
        refuse(first.def(), "file not open");
        return;
    }
    if (conn_->inBatch || conn_->host) {
        refuse(first.def(), "a batch is already open");
        return;
    }
    Store& store = Store::instance();
    for (KeyedFile* f : files) {
        if (!f->conn_) {
            refuse(f->def(), "file not open");
            return;
        }
        if (f->conn_ == conn_)
            continue;
        if (f->conn_->inBatch || f->conn_->host) {
            refuse(f->def(), "a batch is already open");
            return;
        }
        const QString name = QStringLiteral("b%1").arg(joined_.size() + 1);
        sqlite3_stmt* at = nullptr;
        const QByteArray path = f->conn_->path.toUtf8();
        const QByteArray key = f->def().encrypted ? cipherKey() : QByteArray();
        bool ok = sqlite3_prepare_v2(conn_->db, ("ATTACH DATABASE ? AS " + name + " KEY ?").toUtf8().constData(), -1, &at,
                                     nullptr)
                  == SQLITE_OK;
        if (ok) {
            sqlite3_bind_text(at, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(at, 2, key.constData(), int(key.size()), SQLITE_TRANSIENT);
            ok = sqlite3_step(at) == SQLITE_DONE;
        }
        sqlite3_finalize(at);
        if (!ok) {
            refuse(f->def(), conn_->error());
            return;
        }
        auto via = std::make_shared<Connection>();
        via->db = conn_->db;
        via->host = conn_;
        via->def = f->conn_->def;
        via->path = f->conn_->path;
        via->schema = name;
        via->selectList = f->conn_->selectList;
        via->generation = f->conn_->generation + 1;
        via->inBatch = true;
        joined_.push_back({f, f->conn_, via});
        f->conn_ = via;
        store.conns_[via->path] = via;
    }
    if (!conn_->exec("BEGIN IMMEDIATE")) {
        refuse(first.def(), conn_->error());
        return;
    }
    open_ = conn_->inBatch = true;
}

WriteBatch::~WriteBatch()
{
    end(false, nullptr);
}

Status WriteBatch::commit()
{
    if (!open_)
        return begun_.ok() ? Status::fail(Err::Io, conn_ ? "a batch is already open" : "file not open") : begun_;
    Status st;
    end(true, &st);
    return st;
}

void WriteBatch::end(bool commit, Status* result)
{
    if (open_) {
        const bool done = commit && conn_->exec("COMMIT");
        if (result && !done)
            *result = Status::fail(Err::Io, commit ? conn_->error() : QString("abandoned"));
        if (!done)
            conn_->exec("ROLLBACK");
        open_ = conn_->inBatch = false;
        ++conn_->generation;
    }
    // The joined files go back to their own connections; an instance that
    // opened one while the batch lived keeps working through its own too.
    Store& store = Store::instance();
    for (Joined& j : joined_) {
        if (j.file->conn_ == j.via)
            j.file->conn_ = j.own;
        j.via->finalize();
        conn_->exec("DETACH DATABASE " + j.via->schema);
        j.via->db = j.own->db;
        j.via->host = j.own;
        j.via->schema = QStringLiteral("main");
        j.via->insertSql.clear();
        j.via->updateSql.clear();
        j.via->inBatch = false;
        ++j.own->generation;
        j.via->generation = j.own->generation;
        store.conns_[j.own->path] = j.own;
    }
    joined_.clear();
}

// =============================================================== context ==

Context::~Context()
{
    closeAll();
}

KeyedFile& Context::file(const FileDef& def)
{
    auto& slot = files_[&def];
    if (!slot)
        slot = std::make_unique<KeyedFile>(this, &def);
    return *slot;
}

void Context::closeAll()
{
    for (auto& [def, f] : files_)
        while (f->isOpen())
            f->close();
}

} // namespace ven
