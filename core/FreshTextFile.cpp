// The whole-file writer through a temporary file and a rename.
#include "core/FreshTextFile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace ven {

LineResult WriteTextLinesAfresh(const QString& file, const QStringList& lines, LineCoding coding)
{
    // The process id keeps two programs writing the same file apart.
    const QString part = file + QStringLiteral(".part%1").arg(::getpid());
    QFile::remove(part);
    LineResult r = AppendTextLines(part, lines, {}, coding);
    if (!r.ok()) {
        // Told by the file's own name: the temporary one means nothing to the user.
        QFile::remove(part);
        for (QString& m : r.messages)
            m.replace(QDir::toNativeSeparators(part), QDir::toNativeSeparators(file));
        r.file = file;
        return r;
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(file).constData()) != 0) {
        const int err = errno;
        QFile::remove(part);
        const QString name = QDir::toNativeSeparators(file);
        r.file = file;
        r.messages << QStringLiteral("File could NOT be opened: ") + name
                   << QStringLiteral("Write Error: ") + name + QStringLiteral(": ")
                          + QString::fromLocal8Bit(std::strerror(err));
    }
    return r;
}

} // namespace ven
