// Failures told once per cause in a run.
#include "platform/TellOnce.h"

#include "platform/Ini.h"

#include <QDir>
#include <QSet>

#include <mutex>

namespace ven {

namespace {
std::mutex toldMutex;
QSet<QString>& told()
{
    static QSet<QString> causes;
    return causes;
}
} // namespace

bool tellOnce(const QString& cause, const QStringList& messages, const QString& caption, Icon icon)
{
    {
        // Marked before the boxes show: a tick inside a box's own event
        // loop that fails the same way stays silent.
        std::lock_guard lock(toldMutex);
        if (told().contains(cause))
            return false;
        told().insert(cause);
    }
    for (const QString& m : messages)
        messageBox(m, caption, icon);
    return true;
}

bool toldAlready(const QString& cause)
{
    std::lock_guard lock(toldMutex);
    return told().contains(cause);
}

void forgetToldCauses()
{
    std::lock_guard lock(toldMutex);
    told().clear();
}

QString settingsFailureCause(const QString& file, const QString& why)
{
    return QStringLiteral("settings\n") + QDir::cleanPath(QDir(file).absolutePath()) + '\n' + why;
}

bool writeIniTold(const QString& file, const QString& section, const QString& entry, const QString& value)
{
    QString why;
    if (writeIni(file, section, entry, value, &why))
        return true;
    tellOnce(settingsFailureCause(file, why),
             {QStringLiteral("Write Error: ") + QDir::toNativeSeparators(file) + QStringLiteral(": ") + why});
    return false;
}

} // namespace ven
