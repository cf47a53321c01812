// Appending a time-stamped line to a day's daily note.
#include "calendar/DailyNoteLine.h"

#include "data/Dictionary.h"
#include "platform/Picture.h"

namespace ven {

QString dailyNoteLine(int32_t time, const QString& text)
{
    return formatTime(time, u"T01.") + u' ' + text + QStringLiteral("\r\n");
}

Status AppendDailyNoteLine(KeyedFile& notes, int32_t day, int32_t time, const QString& text)
{
    const QString line = dailyNoteLine(time, text);
    Record& r = notes.rec();
    r.clear();
    r.set(ANT::DATE, int64_t(day));
    Status st = notes.get(ANT::NOTE_KEY);
    if (st.code == Err::NotFound) {
        r.clear();
        r.set(ANT::DATE, int64_t(day));
        r.set(ANT::NOTE, line);
        return notes.add();
    }
    if (!st)
        return st;
    QString note = r.str(ANT::NOTE);
    while (!note.isEmpty() && note.back() == u' ')
        note.chop(1);
    r.set(ANT::NOTE, note + QStringLiteral("\r\n") + line);
    return notes.put();
}

} // namespace ven
