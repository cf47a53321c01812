// The file-creation mask of the program, and new files that take the sharing
// of their folder.
#include "platform/PrivateFiles.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ven {
namespace {

bool sharedFolder(const QString& folder, struct stat& st)
{
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_IWGRP);
}

} // namespace

void keepNewFilesPrivate()
{
    ::umask(S_IRWXG | S_IRWXO);
}

bool folderIsShared(const QString& folder)
{
    struct stat st {};
    return sharedFolder(folder, st);
}

bool shareLikeFolder(int fd, const QString& folder)
{
    struct stat dir {};
    if (!sharedFolder(folder, dir))
        return true;
    struct stat own {};
    if (::fstat(fd, &own) != 0)
        return false;
    // The folder's group, where a setgid folder has not given it already
    // (allowed only to a member of that group: the mode still shares it).
    if (own.st_gid != dir.st_gid)
        (void)!::fchown(fd, uid_t(-1), dir.st_gid);
    mode_t mode = (own.st_mode & 07777) | S_IRGRP | S_IWGRP;
    if (S_ISDIR(own.st_mode))
        mode |= S_IXGRP | (dir.st_mode & S_ISGID);
    return ::fchmod(fd, mode) == 0;
}

bool shareLikeFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = shareLikeFolder(fd, QFileInfo(path).absolutePath());
    ::close(fd);
    return ok;
}

} // namespace ven
