// Maintenance of a file as a whole: its keys rebuilt, its structure
// checked, and a consistent copy written beside the backup's place and
// renamed into it once it reads back sound. The long parts run where they
// hold no event loop up: the copy in time-boxed steps of one backup object,
// the copy's check and the key rebuild on a worker thread.
#include "platform/KeyedEngine.h"

#include "platform/Collation.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <unistd.h>

namespace ven {

using namespace kf;

namespace {

// The collation the file's keys were built under; blank for a file made
// before files noted it (their keys are in code unit order).
QString storedCollation(Connection& c, bool& noted)
{
    sqlite3_stmt* q = c.prepare("SELECT collation FROM " + c.table("ven_meta"));
    noted = q != nullptr;
    QString name;
    if (q && sqlite3_step(q) == SQLITE_ROW)
        name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
    if (q)
        sqlite3_reset(q);
    return name;
}

Status reindex(Connection& c, const FileDef& def)
{
    return inWriteTransaction(c, [&]() -> Status {
        bool noted = false;
        storedCollation(c, noted);
        if (!noted && !c.exec("ALTER TABLE " + c.table("ven_meta") + " ADD COLUMN collation TEXT NOT NULL DEFAULT ''"))
            return withMessage(Status::fail(Err::Io, c.error()), 26, def);
        if (!c.exec("REINDEX " + c.table()))
            return withMessage(Status::fail(Err::Io, c.error()), 26, def);
        sqlite3_stmt* set = c.prepare("UPDATE " + c.table("ven_meta") + " SET collation = ?");
        const QByteArray name = collationName().toUtf8();
        if (!set)
            return withMessage(Status::fail(Err::Io, c.error()), 26, def);
        sqlite3_bind_text(set, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(set) != SQLITE_DONE)
            return withMessage(Status::fail(Err::Io, c.error()), 26, def);
        return {};
    });
}

// The copy at `tmp` must read back under its key as a sound file of this
// label, and an encrypted file's copy must be enciphered. Opens a connection
// of its own, so it may run on any thread. Returns why not, or nothing.
QString checkCopy(const QString& tmp, const FileDef& def)
{
    {
        Connection copy;
        copy.def = &def;
        if (!openDatabase(copy, tmp, def, SQLITE_OPEN_READWRITE))
            return QStringLiteral("the copy did not read back");
        sqlite3_stmt* check = copy.prepare("PRAGMA integrity_check");
        const bool sound = check && sqlite3_step(check) == SQLITE_ROW
                           && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
        if (check)
            sqlite3_reset(check);
        sqlite3_stmt* meta = copy.prepare("SELECT label FROM ven_meta");
        const bool ours = meta && sqlite3_step(meta) == SQLITE_ROW
                          && QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(meta, 0)))
                                     .compare(QString::fromUtf8(def.label), Qt::CaseInsensitive) == 0;
        if (meta)
            sqlite3_reset(meta);
        if (!sound || !ours)
            return QStringLiteral("the copy did not read back");
    }
    if (def.encrypted) {
        QFile f(tmp);
        if (!f.open(QIODevice::ReadOnly) || f.read(15) == "SQLite format 3")
            return QStringLiteral("the copy is not enciphered");
    }
    return {};
}

bool ready(const std::future<QString>& f)
{
    return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace

namespace kf {

Status matchCollation(Connection& c, const FileDef& def)
{
    bool noted = false;
    if (storedCollation(c, noted) == collationName())
        return {};
    return reindex(c, def);
}

}  // namespace kf

Status KeyedFile::rebuildKeys()
{
    if (Status st = ensureOpen(); !st)
        return st;
    return reindex(*conn_, *def_);
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
    return BackupCopy(*this, path).run();
}

// ------------------------------------------------------------ backup copy --

struct BackupCopy::Work {
    std::shared_ptr<Connection> source;
    const FileDef* def = nullptr;
    QString path, tmp;
    Connection copy;
    sqlite3_backup* backup = nullptr;
    QElapsedTimer busySince;  // running while the source is locked elsewhere
    std::future<QString> check;
    bool finished = false;
    Status status;

    ~Work()
    {
        if (backup)
            sqlite3_backup_finish(backup);
        if (check.valid())
            check.wait();
        if (!finished || !status.ok())
            QFile::remove(tmp);
    }

    bool fail(const QString& why)
    {
        if (backup)
            sqlite3_backup_finish(backup);
        backup = nullptr;
        status = Status::fail(Err::Io, why);
        finished = true;
        QFile::remove(tmp);
        return false;
    }

    // Why a backup step failed: a step's error is its result code, which the
    // copy's connection may not hold ("not an error" on a full disk).
    QString stepError(int rc) const
    {
        if (copy.db && (sqlite3_extended_errcode(copy.db) & 0xff) == (rc & 0xff))
            return copy.error();
        return QString::fromUtf8(sqlite3_errstr(rc));
    }

    // Copies pages for up to budgetMs (-1: all of them, waiting for a
    // writer elsewhere as every call does); true while pages remain.
    bool copyPages(int budgetMs, bool& failed)
    {
        failed = false;
        QElapsedTimer spent;
        spent.start();
        for (;;) {
            // Pages copied inside the file's own open batch would be ones it
            // may still roll back: the copy waits for the batch to end.
            const int rc = source->inBatch ? SQLITE_BUSY : sqlite3_backup_step(backup, budgetMs < 0 ? -1 : 64);
            if (rc == SQLITE_DONE)
                return false;
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                if (!busySince.isValid())
                    busySince.start();
                if (busySince.elapsed() >= kBusyWaitMs) {
                    failed = true;
                    fail(source->inBatch ? QStringLiteral("a batch of the file is open") : QStringLiteral("the file is locked"));
                    return false;
                }
                if (budgetMs >= 0)
                    return true;
                sqlite3_sleep(50);
                continue;
            }
            if (rc != SQLITE_OK) {
                failed = true;
                fail(stepError(rc));
                return false;
            }
            busySince.invalidate();
            if (budgetMs >= 0 && spent.elapsed() >= budgetMs)
                return true;
        }
    }

    // Ends the copy's connection and hands the check to a worker.
    void startCheck()
    {
        sqlite3_backup_finish(backup);
        backup = nullptr;
        copy.finalize();
        sqlite3_close(copy.db);
        copy.db = nullptr;
        check = std::async(std::launch::async, [tmp = tmp, def = def] { return checkCopy(tmp, *def); });
    }

    bool finish(const QString& error)
    {
        if (!error.isEmpty())
            return fail(error);
        if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0)
            return fail(QString::fromLocal8Bit(strerror(errno)));
        finished = true;
        return false;
    }
};

BackupCopy::BackupCopy(KeyedFile& file, const QString& path)
    : w_(std::make_unique<Work>())
{
    Work& w = *w_;
    w.def = file.def_;
    w.path = path;
    w.tmp = path + QStringLiteral(".part%1").arg(getpid());
    if (Status st = file.ensureOpen(); !st) {
        w.status = st;
        w.finished = true;
        return;
    }
    w.source = file.conn_;
    if (w.source->inBatch) {
        w.fail(QStringLiteral("a batch of the file is open"));
        return;
    }
    QFile::remove(w.tmp);
    w.copy.def = w.def;
    if (!openDatabase(w.copy, w.tmp, *w.def, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
        w.fail(w.copy.db ? w.copy.error() : QString("cannot create %1").arg(w.tmp));
        return;
    }
    // SQLite's online backup: a snapshot of the whole file, page by page
    // through the cipher.
    w.backup = sqlite3_backup_init(w.copy.db, "main", w.source->db, w.source->schema.toUtf8().constData());
    if (!w.backup)
        w.fail(w.copy.error());
}

BackupCopy::~BackupCopy() = default;

bool BackupCopy::step(int budgetMs)
{
    Work& w = *w_;
    if (w.finished)
        return false;
    if (w.backup) {
        bool failed = false;
        if (w.copyPages(budgetMs, failed) || failed)
            return !failed;
        w.startCheck();
        return true;
    }
    if (!ready(w.check))
        return true;
    return w.finish(w.check.get());
}

Status BackupCopy::run()
{
    Work& w = *w_;
    if (w.finished)
        return w.status;
    bool failed = false;
    if (w.backup && (w.copyPages(-1, failed), failed))
        return w.status;
    if (w.backup)
        w.startCheck();
    w.finish(w.check.get());
    return w.status;
}

const Status& BackupCopy::status() const
{
    return w_->status;
}

// ------------------------------------------------------------ key rebuild --

struct KeyRebuild::Work {
    std::future<Status> result;
};

KeyRebuild::KeyRebuild(KeyedFile& file)
    : w_(std::make_unique<Work>())
{
    if (Status st = file.ensureOpen(); !st) {
        result_ = st;
        return;
    }
    w_->result = std::async(std::launch::async, [c = file.conn_, def = file.def_] { return reindex(*c, *def); });
}

KeyRebuild::~KeyRebuild()
{
    if (w_->result.valid())
        w_->result.wait();
}

bool KeyRebuild::done()
{
    if (!w_->result.valid())
        return true;
    if (w_->result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    result_ = w_->result.get();
    return true;
}

} // namespace ven
