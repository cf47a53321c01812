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

// The choosers the configuration window opens. Each gets the parent window
// and the chooser's title; a cancelled chooser gives an empty text
// (printer: no value). Empty functions use Qt's own dialogs.
struct ConfigureDialogs {
    // A file: the starting folder or file, the filter ("Wav-Files (*.wav)").
    std::function<QString(QWidget*, const QString& title, const QString& start, const QString& filter)> file;
    // A folder, starting at `start`.
    std::function<QString(QWidget*, const QString& title, const QString& start)> folder;
    // The printer set-up: the chosen printer's name.
    std::function<std::optional<QString>(QWidget*, const QString& title)> printer;
};
void setConfigureDialogs(ConfigureDialogs dialogs);

} // namespace ven
