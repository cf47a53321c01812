// The frame's settings: the keys it reads from "Vendrolix.ini" into the
// globals at start-up, in their order, with the defaults for blank values.
#pragma once

#include <QString>

namespace ven {

// The frame's own copies of its and its toolbar's wallpaper settings.
struct FrameWallpaperSettings {
    QString WallPaper, WallPaperStyle, TbWallPaper, TbWallPaperStyle;
};
inline FrameWallpaperSettings FrameWallpaper;

// ".\Vendrolix.ini": the current folder's settings file.
QString CurrentIni();
// Program_Path & "\Vendrolix.ini".
QString ProgramIni();

// Program_Path from [Paths] "Program_Path" of the current folder's file; a
// blank one becomes the current folder and is written back. Then every key
// of the table into its global, and the defaults: the frame's and the
// toolbar's wallpapers with the style "Tiled", Daily_Notes := Program_Path.
void ReadFrameSettings();
// Reads the four frame wallpaper keys again; with `defaults` as at start-up,
// without them a blank image keeps the current one and its style.
void ReadFrameWallpapers(bool defaults);

} // namespace ven
