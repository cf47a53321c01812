// The keyboard's lock keys (Num Lock, Caps Lock, Scroll Lock) as the window
// system reports them. Qt offers no way to read them; on X11 they are the
// XKB indicators of the X server.
//
// GUI thread only.
#pragma once

#include <functional>
#include <optional>

namespace ven {

struct KeyLocks {
    bool num = false, caps = false, scroll = false;
    bool operator==(const KeyLocks&) const = default;
};

// The present state; none where the platform gives no way to read it (a
// platform other than X11, or an X server without XKB).
std::optional<KeyLocks> keyLocks();

// Tests put a reader of their own in place; an empty one puts the window
// system's back.
void setKeyLocksReader(std::function<std::optional<KeyLocks>()> reader);

} // namespace ven
