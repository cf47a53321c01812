// Paths compared as the file system sees them: two texts name the same
// folder when they lead to it, whatever symbolic links, "." and ".." they
// pass on the way, and letter case counts only where the file system tells
// it apart.
#pragma once

#include <QString>

namespace ven {

// The absolute path that `path` leads to: its longest existing part with
// every symbolic link resolved, then the rest as written (cleaned). A
// relative path is taken from the current folder.
QString resolvedPath(const QString& path);

// A folder resolved once, for testing many paths against it.
class ResolvedFolder {
public:
    explicit ResolvedFolder(const QString& folder);
    // True when `path` leads to this folder or to anything inside it.
    bool holds(const QString& path) const;
    const QString& path() const { return path_; }

private:
    QString path_;
    Qt::CaseSensitivity case_ = Qt::CaseSensitive;
};

// True when `path` leads to `folder` or to anything inside it.
inline bool pathWithin(const QString& path, const QString& folder) { return ResolvedFolder(folder).holds(path); }

} // namespace ven
