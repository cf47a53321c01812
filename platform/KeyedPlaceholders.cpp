// Auto-number placeholders: the row a form reserves for its new record is
// noted with the process that holds it, so that a copy of the program that
// ended while adding leaves nothing behind once a later copy has looked.
#include "platform/KeyedEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <unistd.h>

namespace ven {

using namespace kf;

namespace kf {

// This process as a placeholder's holder: its id and start time, so that a
// later process with the same id is not taken for it. A process that has
// died (a zombie not yet reaped, or one being torn down) has no token.
QString processToken(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = f.readAll();
    // The fields after the command's closing parenthesis: the state first;
    // the start time is the 22nd field of the line, the 20th after it.
    const QList<QByteArray> rest = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (rest.isEmpty() || rest[0] == "Z" || rest[0] == "X" || rest[0] == "x")
        return {};
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

}  // namespace kf

Status Store::removeStalePlaceholders(int* removed)
{
    if (removed)
        *removed = 0;
    if (!dict_)
        return {};
    // A file that cannot be read is passed over (its window tells the user
    // when it opens); the others are still swept.
    Status first;
    for (const FileDef* def : dict_->files) {
        // Any file may hold placeholders: auto-numbers, and numbers that
        // forms reserve themselves.
        if (!QFileInfo::exists(pathOf(*def)))
            continue;
        Status st;
        std::shared_ptr<Connection> c = connect(*def, false, st);
        if (!c) {
            first = first.ok() ? st : first;
            continue;
        }
        // Read first, outside a write, so that files without placeholders
        // cost no transaction.
        std::vector<int64_t> stale;
        sqlite3_stmt* q = c->prepare("SELECT id, owner, host FROM " + c->table("ven_pending"));
        if (!q) {
            first = first.ok() ? withMessage(Status::fail(Err::Io, c->error()), 1, *def) : first;
            continue;
        }
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
        if (!st) {
            first = first.ok() ? st : first;
            continue;
        }
        ++c->generation;
        if (removed)
            *removed += int(stale.size());
    }
    return first;
}

}  // namespace ven
