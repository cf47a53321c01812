// Settings files: cached reads through SimpleIni, writes that change one
// line and replace the file atomically.
#include "platform/Ini.h"
#include "platform/ReplaceFile.h"

// Debian's header keeps the template bodies behind SI_IMPLEMENTATION; this
// file, the only user of SimpleIni, instantiates them itself.
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION
#endif
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <climits>
#include <memory>
#include <ctime>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ven {

namespace {

// What identifies one version of a file on disk. A write renames a new
// file over the old one, so the inode changes with every write.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& o) const
    {
        return device == o.device && inode == o.inode && size == o.size
            && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

// A parsed file; empty when the file is missing, unreadable or not a
// settings file.
struct Document {
    FileStamp stamp;
    bool cacheable = false;
    std::unique_ptr<CSimpleIniA> ini;
};

std::unique_ptr<CSimpleIniA> emptyIni()
{
    // UTF-8 (drops a byte-order mark), duplicate entries kept as read so
    // that the first one counts (as on Windows), no multi-line values, no
    // quote handling.
    return std::make_unique<CSimpleIniA>(true, true, false);
}

// File times are coarse (a few milliseconds), so a file changed in place
// within the same tick as it was read could keep its stamp. A file read
// within this many seconds of its last change is not cached.
constexpr time_t kSettledSeconds = 2;

std::shared_ptr<Document> load(const QString& path)
{
    auto doc = std::make_shared<Document>();
    doc->ini = emptyIni();
    auto stamp = stampOf(path);
    QFile f(path);
    if (!stamp || !f.open(QIODevice::ReadOnly))
        return doc;
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError || data.contains('\0')
        || doc->ini->LoadData(data.constData(), size_t(data.size())) != SI_OK) {
        doc->ini = emptyIni();
        return doc;
    }
    doc->stamp = *stamp;
    doc->cacheable = ::time(nullptr) - stamp->modified.tv_sec > kSettledSeconds;
    return doc;
}

std::mutex cacheMutex;
QHash<QString, std::shared_ptr<Document>> cache;

QString keyOf(const QString& file) { return QFileInfo(file).absoluteFilePath(); }

// The parsed file, from the cache while the file is unchanged.
std::shared_ptr<Document> document(const QString& file)
{
    QString key = keyOf(file);
    auto stamp = stampOf(key);
    std::lock_guard lock(cacheMutex);
    auto it = cache.find(key);
    if (it != cache.end() && stamp && (*it)->stamp == *stamp)
        return *it;
    cache.remove(key);
    auto doc = load(key);
    if (doc->cacheable)
        cache.insert(key, doc);
    return doc;
}

// Holds an exclusive lock on a folder while settings in it are rewritten.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

bool hasLineBreak(const QString& s) { return s.contains(u'\n') || s.contains(u'\r'); }

bool validNames(const QString& section, const QString& entry)
{
    if (section.isEmpty() || entry.isEmpty() || hasLineBreak(section) || hasLineBreak(entry))
        return false;
    return !section.contains(u']') && !entry.contains(u'=') && !entry.startsWith(u'[')
        && !entry.startsWith(u';') && !entry.startsWith(u'#');
}

// ---- line-by-line editing -------------------------------------------------
// A write changes one line of the file (or adds one, or a section) and leaves
// every other byte as it was. Lines are recognised by the rules the reader
// uses: blanks are space and tab; ";" and "#" start comments; "[name]" starts
// a section; "key=value" is an entry; names compare ASCII letters without case.

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray trimmedBlanks(QByteArray s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    QByteArray name;  // section name, or entry name as written
};

Line classify(const QByteArray& text)
{
    QByteArray t = trimmedBlanks(text);
    if (t.isEmpty() || t[0] == ';' || t[0] == '#')
        return {};
    if (t[0] == '[') {
        qsizetype close = t.indexOf(']');
        return close < 0 ? Line{} : Line{Line::Section, trimmedBlanks(t.mid(1, close - 1))};
    }
    qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return {};
    return {Line::Entry, trimmedBlanks(t.left(eq))};
}

// Splits at CR LF, LF or a lone CR, as the reader does.
QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\n' && data[i] != '\r')
            continue;
        lines.append(data.mid(start, i - start));
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < data.size())
        lines.append(data.mid(start));
    return lines;
}

// The file's text with the entry set to the value.
QByteArray withEntry(const QByteArray& data, const QByteArray& section, const QByteArray& entry,
                     const QByteArray& value)
{
    const QByteArray eol = data.contains("\r\n") ? "\r\n" : "\n";
    QList<QByteArray> lines = splitLines(data);
    qsizetype found = -1, insertAt = -1;
    bool inSection = false, inFirstSection = false, seenSection = false;
    for (qsizetype i = 0; i < lines.size() && found < 0; ++i) {
        Line line = classify(lines[i]);
        if (line.kind == Line::Section) {
            inSection = sameName(line.name, section);
            inFirstSection = inSection && !seenSection;
            seenSection = seenSection || inSection;
            if (inFirstSection)
                insertAt = i + 1;
        } else if (line.kind == Line::Entry && inSection) {
            if (sameName(line.name, entry))
                found = i;
            else if (inFirstSection)
                insertAt = i + 1;
        }
    }
    if (found >= 0) {
        lines[found] = classify(lines[found]).name + '=' + value;
    } else if (insertAt >= 0) {
        lines.insert(insertAt, entry + '=' + value);
    } else {
        if (!lines.isEmpty() && !trimmedBlanks(lines.last()).isEmpty())
            lines.append(QByteArray());
        lines.append('[' + section + ']');
        lines.append(entry + '=' + value);
    }
    return lines.join(eol) + eol;
}

// The leading whole number of a text, as the Windows profile calls read it.
int leadingInt(const QString& text)
{
    QStringView s = QStringView(text).trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    long long v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
        v = std::min<long long>(v * 10 + (s[i].unicode() - u'0'), 1LL + INT_MAX);
    v = negative ? -v : v;
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

QString readIni(const QString& file, const QString& section, const QString& entry, const QString& def)
{
    QString sec = section.trimmed(), key = entry.trimmed();
    if (sec.isEmpty() || key.isEmpty())
        return def;
    auto doc = document(file);
    const char* value = doc->ini->GetValue(sec.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return value ? QString::fromUtf8(value) : def;
}

int readIniInt(const QString& file, const QString& section, const QString& entry, int def)
{
    // A private marker that no file can hold (values never hold line breaks)
    // tells a missing entry from one that is present.
    static const QString missing = QStringLiteral("\n");
    QString value = readIni(file, section, entry, missing);
    return value == missing ? def : leadingInt(value);
}

bool writeIni(const QString& file, const QString& section, const QString& entry, const QString& value, QString* why)
{
    const auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    QString sec = section.trimmed(), key = entry.trimmed();
    if (!validNames(sec, key) || hasLineBreak(value))
        return fail(QStringLiteral("the entry [%1] %2 cannot be stored").arg(sec, key));
    QString path = keyOf(file);
    QString folder = QFileInfo(path).absolutePath();
    if (!QDir(folder).exists())
        return fail(QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder)));

    FolderLock lock(folder);
    QByteArray data;
    if (QFileInfo::exists(path)) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("it cannot be read: ") + in.errorString());
        data = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return fail(QStringLiteral("it cannot be read: ") + in.errorString());
        if (data.contains('\0'))
            return fail(QStringLiteral("it is not a settings file (it holds NUL bytes)"));  // leave it alone
    }
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QByteArray sectionBytes = sec.toUtf8(), entryBytes = key.toUtf8(), valueBytes = value.toUtf8();
    QByteArray updated = withEntry(data, sectionBytes, entryBytes, valueBytes);

    // The new text must read back as intended, or it is not written.
    auto check = emptyIni();
    if (check->LoadData(updated.constData(), size_t(updated.size())) != SI_OK)
        return fail(QStringLiteral("its text cannot be read back"));
    const char* readBack = check->GetValue(sectionBytes.constData(), entryBytes.constData(), nullptr);
    if (!readBack || QByteArray(readBack) != trimmedBlanks(valueBytes))
        return fail(QStringLiteral("the entry [%1] %2 would not read back as written").arg(sec, key));

    const QString error = replaceFile(path, updated);
    {
        std::lock_guard cacheLock(cacheMutex);
        cache.remove(path);
    }
    return error.isEmpty() || fail(QStringLiteral("it cannot be written: ") + error);
}

} // namespace ven
