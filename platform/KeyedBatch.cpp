// The write batch: the writes made while it lives are one transaction; over
// several files the first file's connection attaches the others, so that one
// commit stores the changes of every file or of none.
#include "platform/KeyedEngine.h"

namespace ven {

using namespace kf;

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
}  // namespace ven
