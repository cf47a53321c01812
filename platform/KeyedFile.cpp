// The keyed file: one context's instance of a data file, with its record
// buffer and current record; the engine's verbs that read by key or by
// identity and write one row per transaction, and the file object's rules
// on top of them (initial values, auto-numbers, range checks, duplicates,
// the "changed by another station" test). Positioning is the cursor's,
// relations are the relation object's, whole-file work is maintenance's.
#include "platform/KeyedEngine.h"

#include <QStringList>

#include <limits>

namespace ven {

using namespace kf;

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

namespace kf {

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

// The next number of an auto-numbered component: the highest among the
// records that share the key's leading components, plus one. The record
// being numbered is never among them (it is new, or stored under other
// leading values); blank records that an optional key leaves out hold 0 and
// cannot raise the highest, so the key's own condition is added to let the
// engine read the highest from the key.
bool nextAutoNumber(Connection& c, const FileDef& d, const KeyDef& k, const Record& r, int64_t& out, int part)
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

}  // namespace kf

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

Status KeyedFile::reserve()
{
    if (Status st = ensureOpen(); !st)
        return st;
    int64_t id = pendingAuto_;
    Status st = inWriteTransaction(*conn_, [&]() -> Status {
        const bool fresh = id == 0;
        int rc = writeRow(*conn_, *def_, rec_, id);
        if (rc == SQLITE_CONSTRAINT)
            return Status::fail(Err::DuplicateKey, "Creates Duplicate Key");
        if (rc != SQLITE_OK || (fresh && !registerPlaceholder(*conn_, id)))
            return Status::fail(Err::Io, conn_->error());
        return {};
    });
    if (!st.ok())
        return withMessage(st, 32, *def_);
    pendingAuto_ = id;
    current_ = id;
    original_ = rec_;
    return {};
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
        if (rc != SQLITE_ROW)
            return withMessage(Status::fail(Err::RecordDeleted, "Record Deleted By Another Station"), 42, *def_);
        if (!(stored == original_))
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

}  // namespace ven
