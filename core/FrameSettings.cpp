// The frame's settings table and its defaults.
#include "core/FrameSettings.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "platform/Collation.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Procedure.h"

#include <QDir>

namespace ven {
namespace {

enum class Type { Text, Byte, Day, Letter };

struct Key {
    const char* section;
    const char* key;
    Type type;
    void* global;
    int high = 0;  // numbers: the highest value the global takes; beyond it reads as 0
};

// The keys in the order they are read; every read passes an empty default.
const Key kKeys[] = {
    {"Paths", "Document_Path", Type::Text, &Document_Path},
    {"Paths", "Sound_Path", Type::Text, &Sound_Path},
    {"Paths", "Sound_File", Type::Text, &Sound_File},
    {"Paths", "HourBell", Type::Text, &HourBell},
    {"Paths", "HalfBell", Type::Text, &HalfBell},
    {"Paths", "QuarterBell", Type::Text, &QuarterBell},
    {"Paths", "AlertSound", Type::Text, &AlertSound},
    {"Paths", "Daily_Notes", Type::Text, &Daily_Notes},
    {"Main", "LastOn", Type::Day, &LastOn, kLastDay},
    {"Main", "Calendar", Type::Byte, &GOpenCalendar, 3},
    {"Main", "TimeDisplay", Type::Byte, &TimeDisplay, 255},
    {"Main", "Start_In_Tray", Type::Byte, &Start_In_Tray, 255},
    {"Main", "Start_Maximized", Type::Byte, &Start_Maximized, 255},
    {"Main", "Log_Activity", Type::Letter, &Log_Activity},
    {"Main", "DefaultPrinter", Type::Text, &DefaultPrinter},
    {"Main", "TelefaxDevice", Type::Text, &TelefaxDevice},
    {"Main", "WallPaper", Type::Text, &FrameWallpaper.WallPaper},
    {"Main", "WallPaperStyle", Type::Text, &FrameWallpaper.WallPaperStyle},
    {"Main", "TbWallPaper", Type::Text, &FrameWallpaper.TbWallPaper},
    {"Main", "TbWallPaperStyle", Type::Text, &FrameWallpaper.TbWallPaperStyle},
    {"Main", "BrWallPaper", Type::Text, &BrWallPaper},
    {"Main", "BrWallPaperStyle", Type::Text, &BrWallPaperStyle},
    {"Main", "FrWallPaper", Type::Text, &FrWallPaper},
    {"Main", "FrWallPaperStyle", Type::Text, &FrWallPaperStyle},
    {"Main", "WdWallPaper", Type::Text, &WdWallPaper},
    {"Main", "WdWallPaperStyle", Type::Text, &WdWallPaperStyle},
};

// A number out of the global's range (a hand-edited file) reads as blank.
int number(const Key& k, const QString& file)
{
    const int v = readIniInt(file, k.section, k.key, 0);
    return v < 0 || v > k.high ? 0 : v;
}

void read(const Key& k, const QString& file)
{
    switch (k.type) {
    case Type::Text: *static_cast<QString*>(k.global) = readIni(file, k.section, k.key, {}); break;
    case Type::Letter: *static_cast<QString*>(k.global) = readIni(file, k.section, k.key, {}).left(1); break;
    case Type::Byte: *static_cast<uint8_t*>(k.global) = uint8_t(number(k, file)); break;
    case Type::Day: *static_cast<int32_t*>(k.global) = number(k, file); break;
    }
}

void applyWallpaperDefaults()
{
    if (FrameWallpaper.WallPaper.trimmed().isEmpty()) {
        FrameWallpaper.WallPaper = joinPath(Program_Path, "Tarn-Vel.gif");
        FrameWallpaper.WallPaperStyle = "Tiled";
    }
    if (FrameWallpaper.TbWallPaper.trimmed().isEmpty()) {
        FrameWallpaper.TbWallPaper = joinPath(Program_Path, "ToolBar_Bgr.gif");
        FrameWallpaper.TbWallPaperStyle = "Tiled";
    }
}

} // namespace

QString CurrentIni()
{
    return QDir::current().filePath("Vendrolix.ini");
}

QString ProgramIni()
{
    return joinPath(Program_Path.isEmpty() ? QDir::currentPath() : Program_Path, "Vendrolix.ini");
}

void ReadFrameSettings()
{
    Program_Path = readIni(CurrentIni(), "Paths", "Program_Path", {}).trimmed();
    if (Program_Path.isEmpty()) {
        Program_Path = QDir::toNativeSeparators(QDir::currentPath());
        writeIniTold(ProgramIni(), "Paths", "Program_Path", Program_Path);
    }
    const QString file = ProgramIni();
    for (const Key& k : kKeys)
        read(k, file);
    applyWallpaperDefaults();
    if (Daily_Notes.trimmed().isEmpty())
        Daily_Notes = Program_Path;
    // The language text keys sort by: the setting, else the user's locale.
    setCollation(readIni(file, "Main", "Collation", {}));
}

void ReadFrameWallpapers(bool defaults)
{
    const QString file = ProgramIni();
    FrameWallpaperSettings now = FrameWallpaper;
    for (const Key& k : kKeys)
        if (k.global >= static_cast<void*>(&FrameWallpaper) && k.global < static_cast<void*>(&FrameWallpaper + 1))
            read(k, file);
    if (defaults) {
        applyWallpaperDefaults();
        return;
    }
    // Without defaults a blank image leaves the current one, in the style it
    // is shown in (a blank stored style would draw it once at the corner).
    if (FrameWallpaper.WallPaper.trimmed().isEmpty())
        FrameWallpaper.WallPaper = now.WallPaper, FrameWallpaper.WallPaperStyle = now.WallPaperStyle;
    if (FrameWallpaper.TbWallPaper.trimmed().isEmpty())
        FrameWallpaper.TbWallPaper = now.TbWallPaper, FrameWallpaper.TbWallPaperStyle = now.TbWallPaperStyle;
}

} // namespace ven
