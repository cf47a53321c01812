// The shared line writer and the activity log.
#include "core/ActivityLog.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"
#include "platform/PrivateFiles.h"
#include "platform/TellOnce.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ven {

namespace {

constexpr qsizetype kLineSize = 255;
const QString kPlainLog = QStringLiteral("Vendrolix.log");

QString clipEnd(QString s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    s.truncate(n);
    return s;
}

LineResult failure(const QString& file, bool opening, int err)
{
    LineResult r;
    r.file = file;
    const QString name = QDir::toNativeSeparators(file);
    if (opening)
        r.messages << QStringLiteral("File could NOT be opened: ") + name;
    r.messages << QStringLiteral("Write Error: ") + name + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
    return r;
}

// A line as it goes into the file: trailing blanks dropped, cut to the
// field's size (never through a surrogate pair), ended by CR LF.
QByteArray lineBytes(const QString& text, LineCoding coding)
{
    QString line = clipEnd(text);
    if (line.size() > kLineSize) {
        line.truncate(line[kLineSize - 1].isHighSurrogate() ? kLineSize - 1 : kLineSize);
        line = clipEnd(line);
    }
    return (coding == LineCoding::Western ? westernBytes(line) : line.toUtf8()) + "\r\n";
}

bool writeAll(int fd, const QByteArray& bytes, int& err)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// Windows-1252 in 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kWestern80[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

} // namespace

QString westernLacks(const QString& text)
{
    QString lacks;
    const QByteArray bytes = westernBytes(text);
    qsizetype b = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++b) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString c = text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (bytes[b] == '?' && c != u"?" && !lacks.contains(c))
            lacks += c;
    }
    return lacks;
}

QByteArray westernBytes(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += char(c);
            continue;
        }
        const auto* hit = std::find(std::begin(kWestern80), std::end(kWestern80), c);
        if (c != 0 && hit != std::end(kWestern80)) {
            out += char(0x80 + (hit - std::begin(kWestern80)));
            continue;
        }
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;  // one question mark for the pair
        out += '?';
    }
    return out;
}

LineResult AppendTextLines(const QString& file, const QStringList& lines, const QStringList& newFileLines,
                           LineCoding coding)
{
    // A file made here takes the sharing of its folder (a chat folder that
    // a group shares); one that exists keeps its own.
    const QByteArray path = QFile::encodeName(file);
    int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        shareLikeFolder(fd, QFileInfo(file).absolutePath());
    else if (errno == EEXIST)
        fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return failure(file, true, errno);
    // The lock keeps other writers out while these lines go in; O_APPEND
    // puts them at the end as it is now.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    QByteArray bytes;
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0;
    if (!newFileLines.isEmpty() && sized && st.st_size == 0)
        for (const QString& line : newFileLines)
            bytes += lineBytes(line, coding);
    for (const QString& line : lines)
        bytes += lineBytes(line, coding);
    int err = 0;
    // A write cut short (a full disk) leaves no half line: the file goes
    // back to what it held.
    if (!writeAll(fd, bytes, err) && sized)
        (void)!::ftruncate(fd, st.st_size);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err ? failure(file, false, err) : LineResult{};
}

bool TellLineResult(const LineResult& r)
{
    if (r.ok())
        return true;
    tellOnce(QStringLiteral("lines\n") + r.file + u'\n' + r.messages.join(u'\n'), r.messages);
    return false;
}

LineResult AppendTextLine(const QString& file, const QString& text, LineCoding coding)
{
    return AppendTextLines(file, {text}, {}, coding);
}

LineResult AppendTextLine(const QString& text)
{
    return AppendTextLine(TextFileName, text);
}

QString activityLogName(const QString& mode, int32_t day)
{
    const QString m = clipEnd(mode);
    if (m == u"C")
        return QStringLiteral("Vendrolix Activity.log");
    auto date = calendarDate(day);
    if (!date || (m != u"M" && m != u"W" && m != u"D"))
        return kPlainLog;
    const QString year = QString::number(int(date->year()));
    if (m == u"M")
        return QStringLiteral("Vendrolix Activity %1-%2 %3.log")
            .arg(year, QString::number(unsigned(date->month())).rightJustified(2, u'0'), MonthName(day));
    if (m == u"W")
        return QStringLiteral("Vendrolix Activity Year %1 Week %2.log").arg(year).arg(WeekNumber(day));
    return QStringLiteral("Vendrolix Activity %1 %2.log").arg(formatDate(day, u"D10-"), WeekdayName(day));
}

void ActivityLogFileName()
{
    if (clipEnd(Log_Activity) == u"0")
        Log_Activity = QStringLiteral("N");
    ActivityLogName = activityLogName(Log_Activity, clock().today());
}

QString dateLineFor(int32_t day)
{
    auto date = calendarDate(day);
    if (!date)
        return {};
    return QStringLiteral("%1 %2 %3 %4, Week %5")
        .arg(WeekdayName(day), QString::number(unsigned(date->day())).rightJustified(2, u'0'), MonthName(day),
             QString::number(int(date->year())),
             QString::number(WeekNumber(day)).rightJustified(2, u'0'));
}

LineResult ActivityLogLineIn(const QString& folder, const QString& text)
{
    const LineResult result = AppendTextLines(joinPath(folder, ActivityLogName),
                                              {formatTime(clock().time(), u"T04") + u' ' + text}, {DateLine, {}});
    LogWritten = 1;
    return result;
}

LineResult ActivityLogLine(const QString& text)
{
    if (clipEnd(Log_Activity) == u"N")
        return {};
    return ActivityLogLineIn(Daily_Notes, text);
}

LineResult AppendLogLines(const QStringList& lines)
{
    const LineResult result = AppendTextLines(joinPath(Daily_Notes, ActivityLogName), lines);
    LogWritten = 1;
    return result;
}

} // namespace ven
