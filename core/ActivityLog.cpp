// The shared line writer and the activity log.
#include "core/ActivityLog.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
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

LineResult failure(bool opening, int err)
{
    LineResult r;
    if (opening)
        r.messages << QStringLiteral("File could NOT be opened");
    r.messages << QStringLiteral("Write Error: ") + QString::fromLocal8Bit(std::strerror(err));
    return r;
}

} // namespace

LineResult AppendTextLine(const QString& text)
{
    QString line = clipEnd(text);
    if (line.size() > kLineSize) {
        // Cut to the field's size, never through a surrogate pair.
        line.truncate(line[kLineSize - 1].isHighSurrogate() ? kLineSize - 1 : kLineSize);
        line = clipEnd(line);
    }
    const QByteArray bytes = line.toUtf8() + "\r\n";

    int fd = ::open(QFile::encodeName(TextFileName).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(true, errno);
    // The lock keeps other writers out while this line goes in; O_APPEND puts
    // it at the end as it is now.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    qsizetype done = 0;
    int err = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err ? failure(false, err) : LineResult{};
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

LineResult ActivityLogLine(const QString& text)
{
    if (clipEnd(Log_Activity) == u"N")
        return {};
    TextFileName = joinPath(Daily_Notes, ActivityLogName);
    LineResult result;
    if (!QFileInfo::exists(TextFileName))
        result = AppendTextLine(DateLine + QStringLiteral("\r\n"));
    if (result.ok())
        result = AppendTextLine(formatTime(clock().time(), u"T04") + u' ' + text);
    TextFileName.clear();
    LogWritten = 1;
    return result;
}

LineResult AppendLogLines(const QStringList& lines)
{
    TextFileName = joinPath(Daily_Notes, ActivityLogName);
    LineResult result;
    for (const QString& line : lines) {
        result = AppendTextLine(line);
        if (!result.ok())
            break;
    }
    TextFileName.clear();
    LogWritten = 1;
    return result;
}

} // namespace ven
