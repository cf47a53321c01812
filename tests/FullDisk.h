// A small file system of its own for a test: a tmpfs mounted on a fresh
// folder (root only), which `fill()` leaves with no free byte, so that every
// further write fails with ENOSPC as on a full disk. Tests skip where it
// cannot be mounted.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>

// <sys/mount.h> brings the terminal's default characters as macros
// (CTIME, CMIN ...), which would clash with the dictionary's field names.
#undef CTRL
#undef CEOF
#undef CERASE
#undef CINTR
#undef CKILL
#undef CMIN
#undef CQUIT
#undef CSUSP
#undef CTIME
#undef CDSUSP
#undef CSTART
#undef CSTOP
#undef CLNEXT
#undef CDISCARD
#undef CWERASE
#undef CREPRINT
#undef CEOT
#undef CBRK
#undef CRPRNT
#undef CFLUSH

namespace ven::test {

class FullDisk {
public:
    explicit FullDisk(int kilobytes = 256)
    {
        if (dir_.isValid())
            mount(dir_.path(), kilobytes);
    }
    // Mounted on the caller's own empty folder `at`.
    FullDisk(const QString& at, int kilobytes) { mount(at, kilobytes); }
    ~FullDisk()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return path_; }
    QString filePath(const QString& name) const { return QDir(path_).filePath(name); }

    // Takes every free byte with a ballast file; true when writes now fail.
    bool fill()
    {
        const int fd = ::open(QFile::encodeName(filePath("ballast")).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        while (::write(fd, block.constData(), 1) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }
    // Frees the ballast again.
    void drain() { QFile::remove(filePath("ballast")); }

private:
    void mount(const QString& at, int kilobytes)
    {
        path_ = at;
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
        mounted_ = ::mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    QTemporaryDir dir_;
    QString path_;
    bool mounted_ = false;
};

} // namespace ven::test
