// The store: where the files lie, and the one connection per file that a
// process's instances share (or an exclusive one of its own). A file that
// does not exist yet is made aside and linked into place; a file made under
// an older declaration gets what the newer one adds.
#include "platform/KeyedEngine.h"
#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ven {

using namespace kf;

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
    // The new file takes the sharing of its folder; the engine's journals
    // take the file's.
    if (st.ok() && !shareLikeFolder(tmp))
        st = Status::fail(Err::CreateFailed, QString::fromLocal8Bit(strerror(errno)));
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
    // Keys built under another language's order are rebuilt before use.
    if (Status coll = matchCollation(*c, def); !coll.ok()) {
        st = coll.message ? coll : withMessage(coll, coll.code == Err::Locked ? 1 : 26, def);
        return nullptr;
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

}  // namespace ven
