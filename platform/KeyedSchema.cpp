// The schema: a file's declaration as a table with one column per field and
// its keys as indexes, the text collation every key compares by, and the
// fingerprint that tells a file made under another declaration.
#include "platform/KeyedEngine.h"

#include "platform/Collation.h"

#include <QCryptographicHash>
#include <QStringList>

namespace ven {

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

int fieldCapacity(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::String:
    case FieldType::Memo: return f.size;
    case FieldType::CString: return f.size > 0 ? f.size - 1 : 0;
    default: return 0;
    }
}

namespace kf {

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

// The collation of every text column: the user's language order, trailing
// blanks not counted and letter case ignored (platform/Collation.h).
int venCollate(void*, int n1, const void* p1, int n2, const void* p2)
{
    return collateUtf8(static_cast<const char*>(p1), n1, static_cast<const char*>(p2), n2);
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
    // Never destroyed: a worker thread may still open a file while the
    // process ends.
    static const QByteArray* key = new QByteArray(
        "x'" + QCryptographicHash::hash(QByteArrayLiteral("Vendrolix owner key:8306"), QCryptographicHash::Sha256).toHex() + "'");
    return *key;
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
            // The collation the (still empty) keys are built under.
            QString coll = collationName();
            coll.replace('\'', "''");
            sql << "CREATE TABLE ven_meta(label TEXT, schema TEXT, collation TEXT NOT NULL DEFAULT '')"
                << "INSERT INTO ven_meta VALUES('" + QString::fromUtf8(def.label) + "', '', '" + coll + "')"
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

const KeyDef* autoKey(const FileDef& d)
{
    for (const KeyDef& k : d.keys)
        if (k.autoPart >= 0)
            return &k;
    return nullptr;
}

}  // namespace kf
}  // namespace ven
