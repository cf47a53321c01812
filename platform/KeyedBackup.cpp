// Maintenance of a file as a whole: its keys rebuilt, its structure
// checked, and a consistent copy written beside the backup's place and
// renamed into it once it reads back sound.
#include "platform/KeyedEngine.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ven {

using namespace kf;

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

}  // namespace ven
