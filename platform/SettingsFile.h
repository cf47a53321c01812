// The settings-file object: window placements per procedure in the
// settings file, and the style flags of a wallpaper setting.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ven {

class SettingsFile {
public:
    // The file that placements and list formats go to: ".\Vendrolix.ini",
    // the current folder's "Vendrolix.ini" at the time of the call, unless
    // one was set.
    QString file() const;
    void setFile(const QString& path) { file_ = path; }
    // Program_Path's "Vendrolix.ini" (the current folder's when it is blank).
    static QString programFile();

    // Restores a window's placement from the procedure's section: "Maximize"
    // "Yes" maximizes it; else "XPos", "YPos", "Width", "Height" place it.
    // Nothing saved, or a place off every screen (off the frame's area for
    // a frame child), leaves the window where it is. True when a saved
    // placement was applied.
    bool restorePlacement(const QString& procedure, QWidget* window) const;
    // Saves the placement: "Maximize" "Yes" or "No" and, when not
    // maximized, the place and size. An iconized window saves nothing.
    void savePlacement(const QString& procedure, const QWidget* window) const;

    // The object's own bookkeeping: the sections it keeps placements in,
    // [__Dont_Touch_Me__] "Sectors", read at the program's start and
    // written back at its end.
    void readSectors();
    void writeSectors() const;
    const QStringList& sectors() const { return sectors_; }

private:
    QString file_;
    mutable QStringList sectors_;
};

SettingsFile& settingsFile();

struct WallpaperStyle {
    bool tiled = false, centered = false, stretched = false;
};
// "Stretched", "Centered" or "Tiled", letter case counting, trailing blanks
// ignored; any other text sets no flag.
WallpaperStyle wallpaperStyle(const QString& style);

} // namespace ven
