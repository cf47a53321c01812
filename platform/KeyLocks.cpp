// The lock keys read from the X server's XKB indicators. The X headers are
// kept to this file: their macros (Status, None, Bool) would clash with the
// program's names.
#include "platform/KeyLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace ven {
namespace {

std::function<std::optional<KeyLocks>()>& reader()
{
    static std::function<std::optional<KeyLocks>()> r;
    return r;
}

// A connection of its own to the server Qt shows its windows on, and the
// indicators' names, taken at the first read; no display when there is no
// X server or it has no XKB.
struct Xkb {
    Display* display = nullptr;
    Atom num = 0, caps = 0, scroll = 0;
};

const Xkb& xkb()
{
    static const Xkb x = [] {
        Xkb k;
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return k;
        int major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
        k.display = XkbOpenDisplay(nullptr, nullptr, nullptr, &major, &minor, &reason);
        if (reason != XkbOD_Success || !k.display)
            return Xkb{};
        k.num = XInternAtom(k.display, "Num Lock", False);
        k.caps = XInternAtom(k.display, "Caps Lock", False);
        k.scroll = XInternAtom(k.display, "Scroll Lock", False);
        return k;
    }();
    return x;
}

bool indicator(Display* d, Atom name)
{
    Bool on = False;
    return XkbGetNamedIndicator(d, name, nullptr, &on, nullptr, nullptr) && on;
}

std::optional<KeyLocks> fromServer()
{
    const Xkb& x = xkb();
    if (!x.display)
        return std::nullopt;
    return KeyLocks{indicator(x.display, x.num), indicator(x.display, x.caps), indicator(x.display, x.scroll)};
}

} // namespace

std::optional<KeyLocks> keyLocks()
{
    return reader() ? reader()() : fromServer();
}

void setKeyLocksReader(std::function<std::optional<KeyLocks>()> r)
{
    reader() = std::move(r);
}

} // namespace ven
