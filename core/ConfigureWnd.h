// The configuration window: sounds, tab names, backup path, wallpapers,
// start-up and log options, printers and the owner's profile; and the
// window that tries a wallpaper image in a style.
#pragma once

#include "platform/WindowController.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace ven {

std::unique_ptr<WindowController> makeConfigureWnd(const QString& parameter);
// "Test Wallpaper": shows `image` (blank: none) in `style`; run on the
// caller's thread.
std::unique_ptr<WindowController> makeWallpaperTestWd(const QString& image, const QString& style);

// Its file, folder and printer choosers are platform/FileDialogs.h's.

} // namespace ven
