// "Configure Vendrolix": edits working copies of the settings and the owner
// profile, and writes them all to the settings file in one go on Save.
#include "core/ConfigureWnd.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/OwnerProfile.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialogs.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Picture.h"
#include "platform/SettingsFile.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <array>

namespace ven {

namespace {

const QString kWavFilter = QStringLiteral("Wav-Files (*.wav)");
const QString kBackupInProgram = QStringLiteral("Backup Path may NOT be a Subdirectory of Vendrolix Main Directory!");

// A backup folder must lie outside the program folder, so that a backup
// survives the loss of that folder: the folder itself, one inside it (also
// reached through a symbolic link or "..") and a relative path (which lands
// in the current folder, the program folder) are refused. Letter case counts
// where the file system tells it apart.
bool backupPathRefused(const QString& path)
{
    const QString p = QDir::fromNativeSeparators(path.trimmed());
    return QDir::isRelativePath(p) || pathWithin(p, QDir::fromNativeSeparators(Program_Path));
}
const QString kImageFilter = QStringLiteral("Image Files (*.bmp *.gif *.jpg)");

// The four sound rows of the first tab.
struct SoundRow {
    const char* entry;
    const char* prompt;
    const char* lookup;
    const char* test;
    QString* global;
    const char* defaultFile;  // in the program folder, for a blank setting
    bool acceptSetsPath;      // accepting the entry moves Sound_Path to its folder
};
const SoundRow kSounds[] = {
    {"HourBell", "On the Hour Bell:", "HourBellLookup", "HourBellTest", &HourBell, "HourBell.wav", true},
    {"HalfBell", "Half Hour Bell:", "HalfBellLookup", "HalfBellTest", &HalfBell, "HalfBell.wav", true},
    {"QuarterBell", "Quarter Hour Bell:", "QuarterBellLookup", "QuarterBellTest", &QuarterBell, "QrtrBell.wav", true},
    {"AlertSound", "Alert Sound:", "AlertSoundLookup", "AlertSoundTest", &AlertSound, "AlertSnd.wav", false},
};

struct TabNameRow {
    const char* entry;
    const char* prompt;
    const char* defaultName;
};
const TabNameRow kTabNames[] = {
    {"TabName1", "Tab 1 Name:", "Programs 001-020"}, {"TabName2", "Tab 2 Name:", "Programs 021-040"},
    {"TabName3", "Tab 3 Name:", "Programs 041-060"}, {"TabName4", "Tab 4 Name:", "Programs 061-080"},
    {"TabName5", "Tab 5 Name:", "Programs 081-100"},
};

// The five wallpaper rows: [Main] key (its style key adds "Style"), the
// controls and the window's own default image and style.
struct WallpaperRow {
    const char* key;
    const char* prompt;
    const char* image;
    const char* style;
    std::array<const char*, 3> radios;  // Stretched, Tiled, Centered
    const char* lookup;
    const char* test;
    const char* title;
    const char* defaultImage;
    const char* defaultStyle;
    bool typed;  // an entry; the others only show the image's name
};
const WallpaperRow kWallpapers[] = {
    {"Wallpaper", "Main Frame Wallpaper:", "FrameImage", "FrameStyle", {"FrameStretched", "FrameTiled", "FrameCentered"},
     "FrameLookup", "FrameTest", "Lookup Main Frame Wallpaper Image", "Vendrolix.jpg", "Stretched", false},
    {"BrWallpaper", "Browse Wallpaper:", "BrowseImage", "BrowseStyle", {"BrowseStretched", "BrowseTiled", "BrowseCentered"},
     "BrowseLookup", "BrowseTest", "Lookup Browse Wallpaper Image", "Browse_Bgr.gif", "Tiled", false},
    {"FrWallpaper", "Forms Wallpaper:", "FormImage", "FormStyle", {"FormStretched", "FormTiled", "FormCentered"},
     "FormLookup", "FormTest", "Lookup Forms Wallpaper Image", "Form_Bgr.gif", "Tiled", false},
    {"TbWallpaper", "Toolbar Wallpaper:", "ToolbarImage", "ToolbarStyle",
     {"ToolbarStretched", "ToolbarTiled", "ToolbarCentered"}, "ToolbarLookup", "ToolbarTest",
     "Lookup Toolbar Wallpaper Image", "ToolBar_Bgr.jpg", "Tiled", false},
    {"WdWallpaper", "Window Wallpaper:", "WindowImage", "WindowStyle", {"WindowStretched", "WindowTiled", "WindowCentered"},
     "WindowLookup", "WindowTest", "Window Wallpaper Images", "Window_Bgr.jpg", "Stretched", true},
};
enum { kFrameRow, kBrowseRow, kFormRow, kToolbarRow, kWindowRow, kWallpaperRows };
const char* const kStyleValues[] = {"Stretched", "Tiled", "Centered"};

struct OwnerRow {
    const char* entry;
    const char* prompt;
    QString OwnerProfile::*member;
    const char* picture;
    int width;
};
const OwnerRow kOwner[] = {
    {"FirstName", "First Name:", &OwnerProfile::FirstName, "s20", 90},
    {"LastName", "Last Name:", &OwnerProfile::LastName, "s20", 90},
    {"Telephone", "Telephone:", &OwnerProfile::Telephone, "s25", 110},
    {"Cellular", "Cellular:", &OwnerProfile::Cellular, "s25", 110},
    {"Fax", "Fax:", &OwnerProfile::Fax, "s25", 110},
    {"Street", "Street Address:", &OwnerProfile::Street, "s40", 170},
    {"ZipCode", "Zip Code:", &OwnerProfile::ZipCode, "s10", 50},
    {"City", "City:", &OwnerProfile::City, "s20", 90},
    {"Country", "Country:", &OwnerProfile::Country, "s20", 90},
    {"EMail", "E-Mail:", &OwnerProfile::EMail, "s80", 200},
    {"HomePage", "HomePage:", &OwnerProfile::HomePage, "s80", 200},
};
// The order in which Save checks the mandatory fields.
const char* const kMandatory[] = {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"};

struct Choice {
    const char* name;
    const char* text;
    const char* value;
    int x;
    int w = 50;  // wide enough for its text at the window's font
};
const Choice kCalendarChoices[] = {
    {"CalendarNo", " No", "0", 70}, {"CalendarAtStart", " at Start", "1", 110},
    {"CalendarWithAlarm", " with Alarm", "2", 160}, {"CalendarEveryHour", " every Hour", "3", 220}};
const Choice kStartChoices[] = {
    {"StartMaximized", " Maximized", "M", 70, 54}, {"StartInTray", " In Tray", "T", 126, 42}, {"StartNormal", " Normal", "N", 168, 38}};
const Choice kLogChoices[] = {{"LogNone", " None", "N", 12, 31},         {"LogContinuous", " Continuous", "C", 44, 51},
                              {"LogMonthly", " Monthly", "M", 96, 43},   {"LogWeekly", " Weekly", "W", 140, 41},
                              {"LogDaily", " Daily", "D", 182, 36}};

// The controls of the fixed rows of the "Miscellaneous" tab.
const ControlDef kMisc[] = {
    {.name = "CountdownPrompt", .kind = Kind::Prompt, .text = "Countdown:", .x = 8, .y = 22, .w = 44, .h = 10, .parent = "MiscTab"},
    {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 56, .y = 22, .w = 20, .h = 10, .parent = "MiscTab"},
    {.name = "CountdownDate", .kind = Kind::Spin, .x = 78, .y = 20, .w = 60, .h = 12, .parent = "MiscTab", .picture = "D06-B",
     .low = 36163, .high = 109212},
    {.name = "TimePrompt", .kind = Kind::Prompt, .text = "Time:", .x = 146, .y = 22, .w = 20, .h = 10, .parent = "MiscTab"},
    {.name = "CountdownTime", .kind = Kind::Spin, .x = 168, .y = 20, .w = 50, .h = 12, .parent = "MiscTab", .picture = "T01B",
     .low = 1, .high = 8640000, .step = 360000},
    {.name = "CalendarOption", .kind = Kind::Option, .text = "Open Calendar:", .x = 8, .y = 34, .w = 290, .h = 18, .parent = "MiscTab"},
    {.name = "StartOption", .kind = Kind::Option, .text = "Open Vendrolix:", .x = 8, .y = 54, .w = 200, .h = 18, .parent = "MiscTab"},
    {.name = "TimeDisplay", .kind = Kind::Check, .text = " Open RevoDodev at Start", .x = 207, .y = 58, .w = 94, .h = 10,
     .parent = "MiscTab"},
    {.name = "LogOption", .kind = Kind::Option, .text = "Log Activity:", .x = 8, .y = 74, .w = 214, .h = 18, .parent = "MiscTab"},
    {.name = "LogFileName", .kind = Kind::String, .x = 224, .y = 79, .w = 76, .h = 10, .parent = "MiscTab"},
    {.name = "DefaultPrinterPrompt", .kind = Kind::Prompt, .text = "Default Printer:", .x = 8, .y = 98, .w = 62, .h = 10,
     .parent = "MiscTab"},
    {.name = "DefaultPrinter", .kind = Kind::Entry, .x = 72, .y = 96, .w = 140, .h = 12, .parent = "MiscTab", .picture = "s60"},
    {.name = "DefaultPrinterButton", .kind = Kind::Button, .text = "...", .x = 214, .y = 96, .w = 12, .h = 12, .parent = "MiscTab",
     .tip = "Choose Default Printer"},
    {.name = "TelefaxPrompt", .kind = Kind::Prompt, .text = "Telefax Device:", .x = 8, .y = 112, .w = 62, .h = 10,
     .parent = "MiscTab"},
    {.name = "TelefaxDevice", .kind = Kind::Entry, .x = 72, .y = 110, .w = 140, .h = 12, .parent = "MiscTab", .picture = "s60"},
    {.name = "TelefaxButton", .kind = Kind::Button, .text = "...", .x = 214, .y = 110, .w = 12, .h = 12, .parent = "MiscTab",
     .tip = "Choose Default Printer"},
    {.name = "LogoPrompt", .kind = Kind::Prompt, .text = "Logofile with Path:", .x = 8, .y = 126, .w = 62, .h = 10,
     .parent = "MiscTab"},
    {.name = "LogoFile", .kind = Kind::Entry, .x = 72, .y = 124, .w = 140, .h = 12, .parent = "MiscTab", .picture = "s128"},
    {.name = "LogoLookup", .kind = Kind::Button, .text = "...", .x = 214, .y = 124, .w = 12, .h = 12, .parent = "MiscTab",
     .tip = "Select a Logo File"},
    {.name = "Logo", .kind = Kind::Image, .x = 229, .y = 124, .w = 70, .h = 70, .parent = "MiscTab"},
    {.name = "DailyNotesPrompt", .kind = Kind::Prompt, .text = "Daily Notes Path:", .x = 8, .y = 140, .w = 62, .h = 10,
     .parent = "MiscTab"},
    {.name = "DailyNotes", .kind = Kind::Entry, .x = 72, .y = 138, .w = 140, .h = 12, .parent = "MiscTab", .picture = "s128"},
    {.name = "DailyNotesLookup", .kind = Kind::Button, .text = "...", .x = 214, .y = 138, .w = 12, .h = 12, .parent = "MiscTab",
     .tip = "Lookup Daily Notes Path"},
    {.name = "ChatPrompt", .kind = Kind::Prompt, .text = "Chat File Path:", .x = 8, .y = 154, .w = 62, .h = 10, .parent = "MiscTab"},
    {.name = "ChatFileName", .kind = Kind::Entry, .x = 72, .y = 152, .w = 140, .h = 12, .parent = "MiscTab", .picture = "s128"},
    {.name = "ChatLookup", .kind = Kind::Button, .text = "...", .x = 214, .y = 152, .w = 12, .h = 12, .parent = "MiscTab",
     .tip = "Lookup Chat File Path"},
};

void addChoices(std::vector<ControlDef>& c, const char* option, int y, const Choice* first, const Choice* last)
{
    for (const Choice* ch = first; ch != last; ++ch)
        c.push_back({.name = ch->name, .kind = Kind::Radio, .text = ch->text, .x = ch->x, .y = y, .w = ch->w, .h = 10,
                     .parent = option, .use = ch->value});
}

WindowDef buildConfigureDef()
{
    WindowDef d{.title = "Configure Vendrolix", .w = 355, .h = 220, .timer = 100, .controls = {}};
    auto& c = d.controls;
    c.push_back({.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 2, .w = 302, .h = 216});
    c.push_back({.name = "SoundsTab", .kind = Kind::Tab, .text = "Sounds and Tab Names", .parent = "Sheet"});
    c.push_back({.name = "WallpapersTab", .kind = Kind::Tab, .text = "Wallpapers", .parent = "Sheet"});
    c.push_back({.name = "MiscTab", .kind = Kind::Tab, .text = "Miscellaneous", .parent = "Sheet"});
    c.push_back({.name = "PersonalTab", .kind = Kind::Tab, .text = "Personal", .parent = "Sheet"});

    int y = 22;
    for (const SoundRow& s : kSounds) {
        c.push_back({.name = s.prompt, .kind = Kind::Prompt, .text = s.prompt, .x = 8, .y = y + 2, .w = 62, .h = 10,
                     .parent = "SoundsTab"});
        c.push_back({.name = s.entry, .kind = Kind::Entry, .x = 72, .y = y, .w = 170, .h = 12, .parent = "SoundsTab",
                     .picture = "s128"});
        c.push_back({.name = s.lookup, .kind = Kind::Button, .text = "...", .x = 244, .y = y, .w = 14, .h = 12,
                     .parent = "SoundsTab", .tip = "Select Wav-File"});
        c.push_back({.name = s.test, .kind = Kind::Button, .text = "Test", .x = 260, .y = y, .w = 30, .h = 12,
                     .parent = "SoundsTab"});
        y += 16;
    }
    c.push_back({.name = "StartPrograms", .kind = Kind::Group, .text = "Start Programs:", .x = 6, .y = 88, .w = 290, .h = 72,
                 .parent = "SoundsTab"});
    y = 100;
    for (const TabNameRow& t : kTabNames) {
        c.push_back({.name = t.prompt, .kind = Kind::Prompt, .text = t.prompt, .x = 12, .y = y + 1, .w = 44, .h = 10,
                     .parent = "SoundsTab"});
        c.push_back({.name = t.entry, .kind = Kind::Entry, .x = 58, .y = y, .w = 90, .h = 11, .parent = "SoundsTab",
                     .picture = "s19"});
        y += 11;
    }
    c.push_back({.name = "BackUpPrompt", .kind = Kind::Prompt, .text = "Back Up Path:", .x = 8, .y = 172, .w = 62, .h = 10,
                 .parent = "SoundsTab"});
    c.push_back({.name = "BackUpPath", .kind = Kind::Entry, .x = 72, .y = 170, .w = 170, .h = 12, .parent = "SoundsTab",
                 .picture = "s128"});
    c.push_back({.name = "BackUpLookup", .kind = Kind::Button, .text = "...", .x = 244, .y = 170, .w = 14, .h = 12,
                 .parent = "SoundsTab", .tip = "Select Backup Path"});

    y = 18;
    for (const WallpaperRow& w : kWallpapers) {
        c.push_back({.name = w.prompt, .kind = Kind::Prompt, .text = w.prompt, .x = 8, .y = y, .w = 90, .h = 10,
                     .parent = "WallpapersTab"});
        c.push_back({.name = w.image, .kind = w.typed ? Kind::Entry : Kind::String, .x = 8, .y = y + 10, .w = 230, .h = 11,
                     .parent = "WallpapersTab", .picture = "s128"});
        c.push_back({.name = w.lookup, .kind = Kind::Button, .text = "...", .x = 242, .y = y + 10, .w = 14, .h = 12,
                     .parent = "WallpapersTab", .tip = w.title});
        c.push_back({.name = w.style, .kind = Kind::Option, .text = "Wallpaper Style:", .x = 8, .y = y + 21, .w = 200, .h = 16,
                     .parent = "WallpapersTab"});
        for (int i = 0; i < 3; ++i)
            c.push_back({.name = w.radios[i], .kind = Kind::Radio, .text = i == 0 ? " Stretched" : i == 1 ? " Tiled" : " Centered",
                         .x = 70 + 45 * i, .y = y + 25, .w = 44, .h = 10, .parent = w.style, .use = kStyleValues[i]});
        c.push_back({.name = w.test, .kind = Kind::Button, .text = "Test", .x = 242, .y = y + 24, .w = 30, .h = 12,
                     .parent = "WallpapersTab"});
        y += 39;
    }

    c.insert(c.end(), std::begin(kMisc), std::end(kMisc));
    addChoices(c, "CalendarOption", 40, std::begin(kCalendarChoices), std::end(kCalendarChoices));
    addChoices(c, "StartOption", 60, std::begin(kStartChoices), std::end(kStartChoices));
    addChoices(c, "LogOption", 80, std::begin(kLogChoices), std::end(kLogChoices));

    y = 20;
    for (const OwnerRow& o : kOwner) {
        c.push_back({.name = o.prompt, .kind = Kind::Prompt, .text = o.prompt, .x = 8, .y = y + 1, .w = 60, .h = 10,
                     .parent = "PersonalTab"});
        c.push_back({.name = o.entry, .kind = Kind::Entry, .x = 72, .y = y, .w = o.width, .h = 12, .parent = "PersonalTab",
                     .picture = o.picture});
        y += 17;
    }

    c.push_back({.name = "Save", .kind = Kind::Button, .text = "&Save", .x = 307, .y = 20, .w = 45, .h = 40,
                 .tip = "Save Changes", .flags = Default});
    c.push_back({.name = "Help", .kind = Kind::Button, .text = "&Help", .x = 307, .y = 70, .w = 45, .h = 40,
                 .flags = HelpButton});
    c.push_back({.name = "Cancel", .kind = Kind::Button, .text = "&Cancel", .x = 307, .y = 120, .w = 45, .h = 40,
                 .tip = "Cancel Changes", .closes = RequestCancelled});
    return d;
}

const WindowDef& configureDef()
{
    static const WindowDef d = buildConfigureDef();
    return d;
}

bool blank(const QString& s)
{
    return s.trimmed().isEmpty();
}

// The configuration window.
class ConfigureWnd : public WindowController {
public:
    ConfigureWnd() : WindowController(QStringLiteral("ConfigureWnd"), configureDef()) {}

protected:
    bool setUp() override
    {
        setStockIcon("Save", QStyle::SP_DialogOkButton);
        setStockIcon("Cancel", QStyle::SP_DialogCancelButton);
        const QString ini = ProgramIni();
        calendar_ = uint8_t(std::clamp(readIniInt(ini, "Main", "Calendar", 0), 0, 3));
        timeDisplay_ = readIniInt(ini, "Main", "TimeDisplay", 0) ? 1 : 0;
        for (size_t i = 0; i < std::size(kSounds); ++i) {
            sound_[i] = *kSounds[i].global;
            if (blank(sound_[i]))
                sound_[i] = inProgram(kSounds[i].defaultFile);
        }
        Start_In_Tray = uint8_t(readIniInt(ini, "Main", "Start_In_Tray", 0));
        Start_Maximized = uint8_t(readIniInt(ini, "Main", "Start_Maximized", 0));
        start_ = Start_In_Tray ? "T" : Start_Maximized ? "M" : "N";
        date_ = readIniInt(ini, "Main", "Date", 0);
        if (date_ == 0)
            date_ = dayNumber(2001, 1, 1);
        time_ = readIniInt(ini, "Main", "Time", 0);
        if (time_ == 0)
            time_ = 1;
        dailyNotes_ = readIni(ini, "Paths", "Daily_Notes", {});
        if (blank(dailyNotes_))
            dailyNotes_ = Program_Path;
        ChatFileName = readIni(ini, "Paths", "ChatFileName", {});
        log_ = Log_Activity;
        lastLog_ = blank(log_) ? QString() : QStringLiteral("?");  // the first tick settles a "0"
        logName_ = ActivityLogName;
        defaultPrinter_ = DefaultPrinter;
        telefax_ = TelefaxDevice;
        for (size_t i = 0; i < std::size(kTabNames); ++i) {
            tabName_[i] = readIni(CurrentIni(), "ProgramsWnd", QStringLiteral("TabName%1").arg(i + 1), {});
            if (blank(tabName_[i]))
                tabName_[i] = kTabNames[i].defaultName;
        }
        bindAll();
        DateField::attach(*this, QStringLiteral("CountdownDate"), QStringLiteral("Select Date"));
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow)
            opened();
        else if (e == Event::Timer)
            refreshLogName();
    }

    void accepted(const QString& name) override
    {
        for (size_t i = 0; i < std::size(kSounds); ++i) {
            const SoundRow& s = kSounds[i];
            if (name == QLatin1String(s.entry) && s.acceptSetsPath && !blank(sound_[i]))
                Sound_Path = SplitPath(PathFolder, 0, sound_[i]);
            else if (name == QLatin1String(s.lookup))
                lookUpSound(i);
            else if (name == QLatin1String(s.test))
                play(sound_[i]);
        }
        for (int i = 0; i < kWallpaperRows; ++i) {
            if (name == QLatin1String(kWallpapers[i].lookup))
                lookUpWallpaper(i);
            else if (name == QLatin1String(kWallpapers[i].test))
                testWallpaper(i);
        }
        if (name == u"BackUpLookup")
            lookUpBackup();
        else if (name == u"DefaultPrinterButton")
            choosePrinterInto(defaultPrinter_, "DefaultPrinter");
        else if (name == u"TelefaxButton")
            choosePrinterInto(telefax_, "TelefaxDevice");
        else if (name == u"LogoFile")
            showLogo();
        else if (name == u"LogoLookup")
            lookUpLogo();
        else if (name == u"DailyNotes" && !blank(dailyNotes_)) {
            // A folder needs no closing separator: only a typed file's
            // name is cut off, leaving its folder.
            if (QFileInfo(dailyNotes_.trimmed()).isFile())
                dailyNotes_ = SplitPath(PathFolder, 0, dailyNotes_);
            window().display(QStringLiteral("DailyNotes"));
        } else if (name == u"DailyNotesLookup")
            lookUpFolder(dailyNotes_, "DailyNotes", "Lookup Daily Notes Path");
        else if (name == u"ChatLookup")
            lookUpFolder(ChatFileName, "ChatFileName", "Lookup Chat File Path");
        else if (name == u"Save")
            save();
        else
            WindowController::accepted(name);
    }

    void tearDown() override { restoreFolder(); }

private:
    static QString inProgram(const char* name) { return joinPath(Program_Path, QString::fromUtf8(name)); }
    static void restoreFolder() { QDir::setCurrent(Program_Path); }

    void setStockIcon(const char* button, QStyle::StandardPixmap icon)
    {
        if (auto* b = control(button).as<QPushButton>())
            b->setIcon(QApplication::style()->standardIcon(icon));
    }

    void bindAll()
    {
        Window& w = window();
        for (size_t i = 0; i < std::size(kSounds); ++i)
            w.bind(kSounds[i].entry, bindTo(sound_[i]));
        for (size_t i = 0; i < std::size(kTabNames); ++i)
            w.bind(kTabNames[i].entry, bindTo(tabName_[i]));
        for (int i = 0; i < kWallpaperRows; ++i) {
            w.bind(kWallpapers[i].image, bindTo(image_[i]));
            w.bind(kWallpapers[i].style, bindTo(style_[i]));
        }
        for (const OwnerRow& o : kOwner)
            w.bind(o.entry, bindTo(owner_.*o.member));
        w.bind("BackUpPath", bindTo(backup_));
        w.bind("CountdownDate", bindTo(date_));
        w.bind("CountdownTime", bindTo(time_));
        w.bind("CalendarOption", bindTo(calendar_));
        w.bind("StartOption", bindTo(start_));
        w.bind("TimeDisplay", bindTo(timeDisplay_));
        w.bind("LogOption", bindTo(log_));
        w.bind("LogFileName", bindTo(logName_));
        w.bind("DefaultPrinter", bindTo(defaultPrinter_));
        w.bind("TelefaxDevice", bindTo(telefax_));
        w.bind("LogoFile", bindTo(logo_));
        w.bind("DailyNotes", bindTo(dailyNotes_));
        w.bind("ChatFileName", bindTo(ChatFileName));
    }

    void opened()
    {
        owner_ = readOwnerProfile();
        const QString ini = ProgramIni();
        logo_ = readIni(ini, "Paths", "LogoFileName", {});
        for (int i = 0; i < kWallpaperRows; ++i) {
            const WallpaperRow& r = kWallpapers[i];
            image_[i] = readIni(ini, "Main", r.key, {});
            style_[i] = readIni(ini, "Main", QString::fromUtf8(r.key) + "Style", {});
            if (blank(image_[i])) {
                image_[i] = inProgram(r.defaultImage);
                style_[i] = r.defaultStyle;
            }
        }
        applyOwnWallpaper(image_[kWindowRow], style_[kWindowRow]);
        backup_ = readIni(ini, "Paths", "BackUp_Path", {});
        if (!blank(backup_)) {
            control("BackUpPath").disable();
            control("BackUpLookup").hide();
        }
        control("Logo").hide();
        showLogo();
        window().display();
        // What the window shows now, and what the file held under it: a
        // setting the user leaves as shown is saved as it was stored.
        opening_ = settings();
        stored_.clear();
        for (const Setting& x : opening_)
            stored_.push_back(readIni(ini, x.section, x.key, {}));
    }

    void applyOwnWallpaper(const QString& image, const QString& style)
    {
        if (!blank(image))
            window().setWallpaper(image.trimmed());
        const WallpaperStyle s = wallpaperStyle(style);
        window().setWallpaperFlags(s.tiled, s.centered, s.stretched);
        window().QWidget::update();
    }

    // Shows the log file name that a changed log option gives.
    void refreshLogName()
    {
        if (log_ == lastLog_)
            return;
        if (log_ == u"0")
            log_ = QStringLiteral("N");
        lastLog_ = log_;
        logName_ = activityLogName(log_, clock().today());
        window().display(QStringLiteral("LogOption"));
        window().display(QStringLiteral("LogFileName"));
    }

    void play(const QString& file)
    {
        ShellOperation = QStringLiteral("Play");
        ShellFile = file;
        ShellParameters.clear();
        ShellDirectory.clear();
        ShellShowCmd = 0;
        ShellWindow = &window();
        ShellExecute();  // a missing file fails quietly; the result stays in ShellResult
    }

    void lookUpSound(size_t i)
    {
        const QString file = chooseFile(window().outer(), QStringLiteral("Select Wav-File"), Sound_Path, kWavFilter);
        if (file.isEmpty())
            return;
        sound_[i] = QDir::toNativeSeparators(file);
        Sound_Path = SplitPath(PathFolder, 0, sound_[i]);
        window().display(QString::fromUtf8(kSounds[i].entry));
    }

    void lookUpWallpaper(int i)
    {
        const WallpaperRow& r = kWallpapers[i];
        const QString file = chooseFile(window().outer(), QString::fromUtf8(r.title), image_[i], kImageFilter);
        if (file.isEmpty())
            return;
        image_[i] = QDir::toNativeSeparators(file);
        window().display(QString::fromUtf8(r.image));
    }

    void testWallpaper(int i)
    {
        window().update(QString::fromUtf8(kWallpapers[i].style));
        const QString image = image_[i], style = style_[i];
        QPointer<ConfigureWnd> self = this;
        run(makeWallpaperTestWd(image, style), [self, i, image, style](uint8_t) {
            if (self && i == kWindowRow)
                self->applyOwnWallpaper(image, style);
        });
    }

    void lookUpBackup()
    {
        const QString chosen = chooseFolder(window().outer(), QStringLiteral("Select Backup Path"), backup_);
        if (chosen.isEmpty())
            return;
        const QString folder = QDir::toNativeSeparators(chosen);
        const QString upper = folder.toUpper();
        if (const qsizetype p = upper.indexOf(QLatin1String("VENDBACK")); p >= 0)
            backup_ = folder.left(p) + QStringLiteral("VendBack");
        else
            backup_ = joinPath(folder, QStringLiteral("VendBack"));
        if (backupPathRefused(folder) || backupPathRefused(backup_))
            refuseBackupPath();
        window().display(QStringLiteral("BackUpPath"));
        restoreFolder();
    }

    void lookUpFolder(QString& target, const char* entry, const char* title)
    {
        const QString chosen = chooseFolder(window().outer(), QString::fromUtf8(title), target);
        if (!chosen.isEmpty()) {
            target = QDir::toNativeSeparators(chosen);
            window().display(QString::fromUtf8(entry));
        }
        restoreFolder();
    }

    void lookUpLogo()
    {
        const QString file = chooseFile(window().outer(), QStringLiteral("Select a Logo File"), inProgram("Tarn-Vel.gif"),
                                        QStringLiteral("Image Files (*.bmp *.jpg *.gif)"));
        if (!file.isEmpty()) {
            logo_ = QDir::toNativeSeparators(file);
            window().display(QStringLiteral("LogoFile"));
        }
        showLogo();
    }

    // The logo preview, centred in its 70 x 70 box, when the file exists.
    void showLogo()
    {
        const QFileInfo info(logo_.trimmed());
        QPixmap pm;
        if (blank(logo_) || !info.isFile() || !pm.load(info.filePath()))
            return;
        auto* label = control("Logo").as<QLabel>();
        label->setScaledContents(false);
        label->setAlignment(Qt::AlignCenter);
        label->setPixmap(pm.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        control("Logo").show();
    }

    void choosePrinterInto(QString& field, const char* entry)
    {
        field = choosePrinter(window().outer(), QStringLiteral("Choose Default Printer")).value_or(QString());
        window().display(QString::fromUtf8(entry));
    }

    // Reads back what is typed but not yet accepted.
    void readBackTyped()
    {
        for (const QString& name : window().controlNames()) {
            const ControlDef* d = window().controlDef(name);
            if (window().isBound(name) && (d->kind == Kind::Entry || d->kind == Kind::Spin) && control(name).isEnabled())
                window().update(name);
        }
    }

    void refuseBackupPath()
    {
        messageBox(kBackupInProgram, QStringLiteral("Error!"), Icon::Stop);
        backup_.clear();
    }

    bool checksPass()
    {
        // A typed backup path meets the lookup's rule too; one saved
        // before is kept as it is.
        const bool refused = !blank(backup_) && control("BackUpPath").isEnabled() && backupPathRefused(backup_);
        if (refused) {
            refuseBackupPath();
            window().display(QStringLiteral("BackUpPath"));
        }
        if (blank(backup_)) {
            if (!refused)  // a refused path was told already
                messageBox(QStringLiteral("The \"Back Up Path:\" is blank.|Choose the folder for the backups with "
                                          "the button beside it."),
                           QStringLiteral("Error!"), Icon::Exclamation);
            control("Sheet").as<QTabWidget>()->setCurrentIndex(0);
            control("BackUpLookup").select();
            return false;
        }
        for (const char* name : kMandatory) {
            const OwnerRow& row = *std::find_if(std::begin(kOwner), std::end(kOwner),
                                                [name](const OwnerRow& o) { return qstrcmp(o.entry, name) == 0; });
            QString& value = owner_.*row.member;
            if (!blank(value))
                continue;
            messageBox(QStringLiteral("You have to fill in the Personal Information fields!"), QStringLiteral("Error!"),
                       Icon::Stop);
            if (row.member == &OwnerProfile::Country) {
                value = QStringLiteral("Finland");
                window().display(QString::fromUtf8(name));
            }
            window().chooseTab(QStringLiteral("Sheet"), 4);
            control(name).select();
            return false;
        }
        return true;
    }

    void save()
    {
        readBackTyped();
        refreshLogName();  // an option chosen since the last tick names its file too
        if (!checksPass())
            return;

        const std::vector<Setting> now = settings();
        // A sound or wallpaper that the window showed from its defaults and
        // the user kept leaves its global as it was (a blank bell rings no
        // chimes, a blank wallpaper dresses no window).
        const auto changed = [&](const char* key) { return changedAt(now, keyIndex(now, key)); };
        Start_In_Tray = start_ == u"T" ? 1 : 0;
        Start_Maximized = start_ == u"M" ? 1 : 0;
        for (size_t i = 0; i < std::size(kSounds); ++i)
            if (changed(kSounds[i].entry))
                *kSounds[i].global = sound_[i];
        GOpenCalendar = calendar_;
        const struct {
            int row;
            QString *image, *style;
        } rowGlobals[] = {{kBrowseRow, &BrWallPaper, &BrWallPaperStyle},
                          {kFormRow, &FrWallPaper, &FrWallPaperStyle},
                          {kWindowRow, &WdWallPaper, &WdWallPaperStyle}};
        for (const auto& g : rowGlobals)
            if (changed(kWallpapers[g.row].key))
                *g.image = image_[g.row], *g.style = style_[g.row];
        TelefaxDevice = telefax_;
        DefaultPrinter = defaultPrinter_;
        Log_Activity = log_;
        ActivityLogName = logName_;
        dailyNotes_ = notesFolder(dailyNotes_);
        Daily_Notes = dailyNotes_;

        // The window stays open with the edits when the settings cannot be written.
        if (!writeSettings(now))
            return;
        ConfigChanged = 1;  // the frame reads the settings again
        QDir().mkpath(backup_ + QStringLiteral("#1"));
        QDir().mkpath(backup_ + QStringLiteral("#2"));
        if (!writeOwnerProfile(owner_))
            messageBox(QStringLiteral("The personal information could not be saved to ") + ownerProfileFile(),
                       QStringLiteral("Error!"), Icon::Stop);
        logChange();
        close(RequestCompleted);
    }

    // The daily-notes folder as saved: without a closing separator (beyond
    // a root), the program folder for a blank one.
    static QString notesFolder(QString folder)
    {
        if (folder.size() > 3 && (folder.endsWith(u'\\') || folder.endsWith(u'/')))
            folder.chop(1);
        return blank(folder) ? Program_Path : folder;
    }

    struct Setting {
        const char* section;
        QString key, value;
        bool withNext = false;  // this and the next entry are one choice (a wallpaper's image and style)
    };

    // The settings Save writes, in their order, from the working copies.
    std::vector<Setting> settings() const
    {
        const auto number = [](int v) { return QString::number(v); };
        std::vector<Setting> e = {
            {"Paths", "Sound_Path", Sound_Path},
        };
        for (size_t i = 0; i < std::size(kSounds); ++i)
            e.push_back({"Paths", kSounds[i].entry, sound_[i]});
        const std::initializer_list<Setting> rest = {
            {"Paths", "Daily_Notes", notesFolder(dailyNotes_)},
            {"Paths", "ChatFileName", ChatFileName},
            {"Paths", "LogoFileName", logo_},
            {"Paths", "BackUp_Path", backup_},
            {"Main", "Date", number(date_)},
            {"Main", "Time", number(time_)},
            {"Main", "Calendar", number(calendar_)},
            {"Main", "TimeDisplay", number(timeDisplay_)},
            {"Main", "Start_In_Tray", number(start_ == u"T" ? 1 : 0)},
            {"Main", "Start_Maximized", number(start_ == u"M" ? 1 : 0)},
            {"Main", "Log_Activity", (log_ == u"0" ? QStringLiteral("N") : log_).left(1)},  // "0" is shown as "N"
        };
        e.insert(e.end(), rest);
        for (int i = 0; i < kWallpaperRows; ++i) {
            e.push_back({"Main", kWallpapers[i].key, image_[i], true});
            e.push_back({"Main", QString::fromUtf8(kWallpapers[i].key) + "Style", style_[i]});
        }
        e.push_back({"Main", "DefaultPrinter", defaultPrinter_});
        e.push_back({"Main", "TelefaxDevice", telefax_});
        for (size_t i = 0; i < std::size(kTabNames); ++i)
            e.push_back({"ProgramsWnd", kTabNames[i].entry, tabName_[i]});
        return e;
    }

    static size_t keyIndex(const std::vector<Setting>& e, const char* key)
    {
        return size_t(std::find_if(e.begin(), e.end(), [key](const Setting& x) { return x.key == QLatin1String(key); })
                      - e.begin());
    }

    // Whether the user changed the entry from what the window showed at
    // opening; a wallpaper's image and style change together.
    bool changedAt(const std::vector<Setting>& now, size_t i) const
    {
        const auto differs = [&](size_t j) { return j < now.size() && j < opening_.size() && now[j].value != opening_[j].value; };
        if (i >= now.size())
            return false;
        return differs(i) || (now[i].withNext && differs(i + 1)) || (i > 0 && now[i - 1].withNext && differs(i - 1));
    }

    // Writes what the user changed; an entry left as shown keeps the text
    // it was stored with (a blank one stays blank, not the default the
    // window filled in), and a line that already holds its value is not
    // touched.
    bool writeSettings(const std::vector<Setting>& now)
    {
        const QString ini = ProgramIni();
        QStringList failed;
        QString why;
        for (size_t i = 0; i < now.size(); ++i) {
            const Setting& x = now[i];
            const QString value = changedAt(now, i) || i >= stored_.size() ? x.value : stored_[i];
            if (value == readIni(ini, x.section, x.key, {}))
                continue;
            if (!writeIni(ini, x.section, x.key, value, &why))
                failed << x.key;
        }
        if (failed.isEmpty())
            return true;
        messageBox(QStringLiteral("The settings could not be written to %1:|%2.||Not saved: %3")
                       .arg(QDir::toNativeSeparators(ini), why, failed.join(", ")),
                   QStringLiteral("Error!"), Icon::Stop);
        return false;
    }

    // One line in the activity log; written whenever a log option was
    // chosen, "None" included.
    void logChange()
    {
        if (blank(Log_Activity))
            return;
        TellLineResult(ActivityLogLineIn(Daily_Notes, QStringLiteral("Configuration (") + Program_Path
                                                          + QStringLiteral(") Changed by ") + CurrentUser));
    }

    std::array<QString, std::size(kSounds)> sound_;
    std::array<QString, std::size(kTabNames)> tabName_;
    std::array<QString, kWallpaperRows> image_, style_;
    QString backup_, start_, log_, lastLog_, logName_, defaultPrinter_, telefax_, logo_, dailyNotes_;
    int32_t date_ = 0, time_ = 0;
    uint8_t calendar_ = 0, timeDisplay_ = 0;
    OwnerProfile owner_;
    std::vector<Setting> opening_;  // the settings as the window showed them at opening
    QStringList stored_;            // and as the file held them then
};

// "Test Wallpaper": the image in its style behind a prompt, so that the
// user can judge whether text stays readable.
const WindowDef kWallpaperTestDef{
    .title = "Test Wallpaper",
    .w = 200,
    .h = 120,
    .controls = {
        {.name = "Close", .kind = Kind::Button, .text = "&Close", .x = 4, .y = 4, .w = 40, .h = 14,
         .tip = "Check that the text \"Test Prompt:\" is readily visible", .closes = RequestCompleted},
        {.name = "TestPrompt", .kind = Kind::Prompt, .text = "Test Prompt:", .x = 30, .y = 50, .w = 50, .h = 10},
        {.name = "TestEntry", .kind = Kind::Entry, .x = 82, .y = 49, .w = 84, .h = 12, .picture = "s20"},
        {.name = "Help", .kind = Kind::Button, .text = "&Help", .x = 150, .y = 100, .w = 40, .h = 14, .flags = HelpButton},
    }};

class WallpaperTestWd : public WindowController {
public:
    WallpaperTestWd(const QString& image, const QString& style)
        : WindowController(QStringLiteral("WallpaperTestWd"), kWallpaperTestDef), image_(image), style_(style)
    {
    }

protected:
    bool setUp() override
    {
        if (!blank(image_))
            window().setWallpaper(image_.trimmed());
        const WallpaperStyle s = wallpaperStyle(style_);
        window().setWallpaperFlags(s.tiled, s.centered, s.stretched);
        return true;
    }

private:
    QString image_, style_;
};

} // namespace

std::unique_ptr<WindowController> makeConfigureWnd(const QString&)
{
    return std::make_unique<ConfigureWnd>();
}

std::unique_ptr<WindowController> makeWallpaperTestWd(const QString& image, const QString& style)
{
    return std::make_unique<WallpaperTestWd>(image, style);
}



} // namespace ven
