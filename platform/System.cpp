// The log-on name from the password database, then the environment.
#include "platform/System.h"

#include <pwd.h>
#include <unistd.h>

namespace ven {

QString logOnName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace ven
