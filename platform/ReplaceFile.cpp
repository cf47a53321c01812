// Whole-file replacement through a synced temporary file and a rename.
#include "platform/ReplaceFile.h"

#include "platform/PrivateFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ven {

QString replaceFile(const QString& path, const QByteArray& data)
{
    // A link is followed: the file it names is replaced, the link stays.
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
    // The process id keeps two programs replacing one file apart.
    const QByteArray part = target + ".part" + QByteArray::number(::getpid());
    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing)
        mode = old.st_mode & 07777;
    ::unlink(part.constData());
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    // A new file takes the sharing of its folder.
    struct stat made {};
    if (!replacing && shareLikeFolder(fd, QFileInfo(QFile::decodeName(target)).absolutePath())
        && ::fstat(fd, &made) == 0)
        mode = made.st_mode & 07777;
    int err = 0;
    qsizetype done = 0;
    while (done < data.size() && err == 0) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            err = errno;
        else if (n == 0)
            err = EIO;
    }
    if (err == 0 && ::fchmod(fd, mode) != 0)
        err = errno;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(part.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(part.constData());
        return QString::fromLocal8Bit(std::strerror(err));
    }
    return {};
}

} // namespace ven
