// Resolving paths through symbolic links, and the file system's letter case.
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace ven {
namespace {

// True when the existing `path` is also found under its last name with the
// letter case swapped, as the same file: its file system ignores case.
bool ignoresCase(const QString& path)
{
    QString head = path;
    while (!head.isEmpty() && head != u'/') {
        const QFileInfo info(head);
        const QString name = info.fileName();
        QString swapped;
        for (QChar c : name)
            swapped += c.isUpper() ? c.toLower() : c.toUpper();
        if (swapped != name) {
            struct stat a{}, b{};
            const QString other = QDir(info.path()).filePath(swapped);
            return ::stat(QFile::encodeName(head).constData(), &a) == 0
                   && ::stat(QFile::encodeName(other).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
        }
        head = info.path();
    }
    return false;
}

} // namespace

QString resolvedPath(const QString& path)
{
    QString p = QDir::fromNativeSeparators(path.trimmed());
    if (QDir::isRelativePath(p))
        p = QDir::currentPath() + u'/' + p;
    // Not cleaned first: "link/.." is the link's target's parent, as the
    // system resolves it, not the link's own folder.
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    QString head = p, rest;
    while (true) {
        const QFileInfo info(head);
        if (const QString real = info.canonicalFilePath(); !real.isEmpty())
            return QDir::cleanPath(rest.isEmpty() ? real : real + u'/' + rest);
        if (head == u'/' || info.path() == head)
            return QDir::cleanPath(p);
        rest = rest.isEmpty() ? info.fileName() : info.fileName() + u'/' + rest;
        head = info.path();
    }
}

ResolvedFolder::ResolvedFolder(const QString& folder) : path_(resolvedPath(folder))
{
    // The case rule of the deepest part of the folder that exists.
    QString existing = path_;
    while (!QFileInfo::exists(existing) && existing != u'/')
        existing = QFileInfo(existing).path();
    case_ = ignoresCase(existing) ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

bool ResolvedFolder::holds(const QString& path) const
{
    const QString p = resolvedPath(path);
    if (p.compare(path_, case_) == 0)
        return true;
    return p.startsWith(path_.endsWith(u'/') ? path_ : path_ + u'/', case_);
}

} // namespace ven
