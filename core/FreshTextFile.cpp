// The whole-file writer through a temporary file and a rename.
#include "core/FreshTextFile.h"

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
        QFile::remove(part);
        return r;
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(file).constData()) != 0) {
        const int err = errno;
        QFile::remove(part);
        r.messages << QStringLiteral("File could NOT be opened")
                   << QStringLiteral("Write Error: ") + QString::fromLocal8Bit(std::strerror(err));
    }
    return r;
}

} // namespace ven
