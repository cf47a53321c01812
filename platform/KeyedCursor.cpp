// The cursor: an instance's position in a key order (before the first
// record, before a key value, at a record, after the last) and the records
// it reads ahead, in batches that double up to 512 while it reads on in one
// direction; a write through the connection makes it read again, from a
// small batch.
#include "platform/KeyedEngine.h"

#include <QStringList>

namespace ven {

using namespace kf;

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

namespace {

// One read transaction over a batch's range queries, unless the connection
// is in a transaction already: the ranges see one state of the file (a
// write by another copy between two of them could skip or repeat a record)
// and the file's lock is taken once for the batch rather than once a range.
class ReadTransaction {
public:
    ReadTransaction(Connection& c, bool wanted) : c_(c), own_(wanted && sqlite3_get_autocommit(c.db) && run("BEGIN")) {}
    ~ReadTransaction()
    {
        if (own_ && !run("COMMIT"))
            run("ROLLBACK");
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    bool run(const char* sql)
    {
        sqlite3_stmt* st = c_.prepare(QString::fromLatin1(sql));
        const bool ok = st && sqlite3_step(st) == SQLITE_DONE;
        if (st)
            sqlite3_reset(st);
        return ok;
    }
    Connection& c_;
    bool own_;
};

} // namespace

// Reads the next batch after (or before) the position. A position within a
// key order is sought as a run of ranges, each an index seek on equal
// leading parts and one compared part: the records equal in every part that
// follow by record id, then those equal in all parts but the last and
// greater in it, and so on up to those greater in the first part. SQLite
// 3.15 seeks an index that way, while a single row-value comparison over
// text or expression parts makes it scan the key from its start; and each
// range is ordered by its own compared parts, since an ORDER BY that names
// the equal parts too makes it sort the whole range.
Status KeyedFile::fetchBatch(bool forward)
{
    Cursor& c = *cursor_;
    const FileDef& d = *def_;
    const KeyDef* k = c.key >= 0 ? &d.keys[c.key] : nullptr;
    QStringList rowExpr, common;
    if (k) {
        for (const KeyPart& p : k->parts)
            rowExpr << partExpr(d, p);
        if (k->optional)
            common << optionalCond(d, *k);
    }
    const QString dir = forward ? " ASC" : " DESC";
    const QString cmp = forward ? " > ?" : " < ?";
    const int parts = int(rowExpr.size());
    const bool positioned = c.at == Cursor::At::Before || c.at == Cursor::At::Record;
    c.ahead.clear();
    c.ahead.ids.reserve(size_t(c.batch));
    c.ahead.values.reserve(size_t(c.batch) * d.fields.size());
    // Range `equal`: the first `equal` parts equal to the position's, the
    // next one (or, with all equal, the id) beyond it; -1: the whole order.
    auto readRange = [&](int equal) -> int {
        QStringList where = common, order;
        const int from = std::max(equal, 0);
        for (int p = 0; p < from; ++p)
            where << rowExpr[p] + " = ?";
        if (equal >= 0)
            where << (equal < parts ? rowExpr[equal] : QStringLiteral("id")) + cmp;
        for (int p = from; p < parts; ++p)
            order << rowExpr[p] + dir;
        order << "id" + dir;
        const QString sql = "SELECT " + conn_->selectList + " FROM " + conn_->table()
                            + (where.isEmpty() ? "" : " WHERE " + where.join(" AND ")) + " ORDER BY " + order.join(", ")
                            + " LIMIT ?";
        sqlite3_stmt* st = conn_->prepare(sql);
        if (!st)
            return SQLITE_ERROR;
        int i = 1;
        for (int p = 0; p < from; ++p)
            bindKeyPart(st, i++, d, k->parts[p], c.keyValues[p]);
        if (equal >= 0 && equal < parts)
            bindKeyPart(st, i++, d, k->parts[equal], c.keyValues[equal]);
        else if (equal == parts)
            // Before a key value: every record with that value follows it.
            sqlite3_bind_int64(st, i++, c.at == Cursor::At::Before ? (forward ? 0 : INT64_MAX) : c.id);
        sqlite3_bind_int(st, i, c.batch - int(c.ahead.size()));
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            c.ahead.ids.push_back(sqlite3_column_int64(st, 0));
            for (size_t f = 0; f < d.fields.size(); ++f)
                c.ahead.values.push_back(columnValue(st, int(f + 1), d.fields[f]));
        }
        sqlite3_reset(st);
        return rc;
    };
    const ReadTransaction transaction(*conn_, positioned);
    int rc = SQLITE_DONE;
    if (!positioned)
        rc = readRange(-1);
    for (int equal = parts; positioned && equal >= 0 && rc == SQLITE_DONE && int(c.ahead.size()) < c.batch; --equal)
        rc = readRange(equal);
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
        // A turn, or a write since the read-ahead (a pass that changes the
        // records it reads), starts small again: what was read ahead is
        // read again after each write.
        if (c.aheadForward != forward || c.generation != conn_->generation)
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
    const size_t fields = def_->fields.size();
    const size_t taken = c.ahead.next++;
    const Value* values = c.ahead.values.data() + taken * fields;
    for (size_t f = 0; f < fields; ++f)
        rec_.setValue(uint16_t(f), values[f]);
    original_ = rec_;
    current_ = c.ahead.ids[taken];
    c.at = Cursor::At::Record;
    c.id = current_;
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

}  // namespace ven
