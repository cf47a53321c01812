// The desktop's telephony: the number goes to the desktop as a "tel:"
// address through the shell's Open, which never executes anything and tells
// the user when no program is registered for "tel:".
#include "platform/Telephony.h"

#include "platform/Shell.h"

namespace ven {
namespace {

class DesktopTelephony : public Telephony {
public:
    bool makeCall(const PhoneCall& call) override
    {
        const QUrl url = telUrl(call.destination);
        if (!url.isValid() || url.isEmpty())
            return false;
        ShellOperation = QStringLiteral("Open");
        ShellFile = url.toString();
        ShellParameters.clear();
        ShellDirectory.clear();
        ShellShowCmd = 1;
        return ShellExecute() > 32;
    }
};

Telephony* g_telephony = nullptr;

} // namespace

Telephony& telephony()
{
    static DesktopTelephony desktop;
    return g_telephony ? *g_telephony : desktop;
}

void setTelephony(Telephony* t)
{
    g_telephony = t;
}

} // namespace ven
