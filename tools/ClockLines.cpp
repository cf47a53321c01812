#include "tools/ClockLines.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "platform/Picture.h"

namespace ven {

QString clockCaption(int32_t today, int32_t time)
{
    return formatTime(time, u"T04.") + QLatin1String("  ") + dateLineFor(today);
}

QString nextAlarmText()
{
    return NextAlarm.Pending ? NextAlarmLine : QStringLiteral("No Alarms!");
}

} // namespace ven
