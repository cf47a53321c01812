// Password hashing and the data folder's random key.
#include "platform/PasswordHash.h"

#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace ven {
namespace {

constexpr int kKeyBytes = 32;
constexpr int kHashBytes = 24;

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The folder's key: read, or made and linked into place so that two copies
// starting at once agree on one.
QByteArray folderKey(const QString& folder, KeyMaking making, QString* why)
{
    const QByteArray path = QFile::encodeName(passwordKeyFile(folder));
    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile in(QString::fromLocal8Bit(path));
        if (in.open(QIODevice::ReadOnly)) {
            const QByteArray key = QByteArray::fromHex(in.readAll().trimmed());
            if (key.size() == kKeyBytes)
                return key;
            if (why)
                *why = QStringLiteral("%1 is damaged").arg(in.fileName());
            return {};
        }
        if (QFile::exists(in.fileName())) {
            if (why)
                *why = QStringLiteral("%1 cannot be read: %2").arg(in.fileName(), in.errorString());
            return {};
        }
        if (making == KeyMaking::Refused) {
            if (why)
                *why = passwordKeyMissingText(folder);
            return {};
        }
        unsigned char raw[kKeyBytes];
        if (RAND_bytes(raw, kKeyBytes) != 1) {
            if (why)
                *why = QStringLiteral("no random key can be made");
            return {};
        }
        const QByteArray text = QByteArray(reinterpret_cast<const char*>(raw), kKeyBytes).toHex() + '\n';
        const QByteArray part = path + ".part" + QByteArray::number(::getpid());
        ::unlink(part.constData());
        const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            shareLikeFolder(fd, QFileInfo(QFile::decodeName(path)).absolutePath());
        if (fd < 0) {
            if (why)
                *why = QStringLiteral("%1 cannot be made: %2").arg(QString::fromLocal8Bit(path), errnoText());
            return {};
        }
        const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size() && ::fsync(fd) == 0;
        const bool closed = ::close(fd) == 0;
        // link() refuses to replace: a key another copy made first wins.
        const bool linked = written && closed && (::link(part.constData(), path.constData()) == 0 || errno == EEXIST);
        const QString failure = errnoText();
        ::unlink(part.constData());
        if (!linked) {
            if (why)
                *why = QStringLiteral("%1 cannot be made: %2").arg(QString::fromLocal8Bit(path), failure);
            return {};
        }
    }
    if (why)
        *why = QStringLiteral("%1 cannot be read").arg(QString::fromLocal8Bit(path));
    return {};
}

} // namespace

QString passwordKeyFile(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("VenUsr.key"));
}

QString passwordKeyMissingText(const QString& folder)
{
    return QStringLiteral("\"VenUsr.key\" is missing from %1.|The stored passwords cannot be checked without it: "
                          "restore it beside \"VenUsr.tps\" from a backup set, which holds it.")
        .arg(QDir::toNativeSeparators(folder));
}

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int rounds, int bytes)
{
    QByteArray out(bytes, '\0');
    if (PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()), reinterpret_cast<const unsigned char*>(salt.constData()),
                          int(salt.size()), rounds, EVP_sha256(), bytes, reinterpret_cast<unsigned char*>(out.data()))
        != 1)
        return {};
    return out;
}

QString passwordHash(const QString& folder, const QString& password, QString* why, KeyMaking making)
{
    QString typed = password;
    while (!typed.isEmpty() && typed.back() == u' ')
        typed.chop(1);
    if (typed.isEmpty())
        return {};
    const QByteArray key = folderKey(folder, making, why);
    if (key.isEmpty())
        return {};
    const QByteArray hash = pbkdf2Sha256(typed.toUpper().toUtf8(), key, kPasswordHashRounds, kHashBytes);
    if (hash.isEmpty()) {
        if (why)
            *why = QStringLiteral("the password cannot be hashed");
        return {};
    }
    return QString::fromLatin1(hash.toHex());
}

bool isPasswordHash(const QString& stored)
{
    QString s = stored;
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s.size() > kTypedPasswordSize;
}

} // namespace ven
