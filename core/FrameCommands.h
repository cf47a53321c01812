// The frame's commands as tables: the menu bar, the toolbar and the hot
// keys, each entry naming the procedure it starts and how, or the frame's
// own action.
#pragma once

#include <cstdint>
#include <vector>

namespace ven {

// How a command starts its procedure.
enum class How : uint8_t {
    None,    // no procedure: the frame's own action only
    T25,     // on a new thread (menu items and most buttons)
    T25C,    // on a new thread with the start parameter "C"
    T2_5,    // on a new thread with the small stack request (hot keys, Hide, the analog clock)
    Direct,  // on the frame's own thread, the frame waiting
};

// What the frame itself does for a command, before or after the start.
enum class FrameAction : uint8_t {
    None,
    PrintSetup,        // the printer set-up dialog; DefaultPrinter := the choice
    Close,             // EVENT:CloseWindow to the frame
    Cut, Copy, Paste,  // on the focused control
    Tile, Cascade, ArrangeIcons,
    HelpContents, HelpSearch, HelpOnHelp,
    IconizeAfter,      // the frame posts itself EVENT:Iconized after the start
    ClockStandIn,      // RestoreRequested := 0, iconize, then the start
    NoMax, Max, NoIco, Ico,  // Start_Maximized / Start_In_Tray for this run
    DayNumbersToClipboard,   // Alt+F4's three lines, then the start
    ExitOrEnd,         // CloseVendrolix; when no thread can be had the program ends
    Ignore,            // a key taken and ignored
};

struct Command {
    int number;             // the control's number in the frame's definition
    const char* procedure;  // nullptr: none
    How how;
    FrameAction action;
};

struct MenuEntry {
    const char* menu;     // "&File"
    const char* submenu;  // "" or "&Readings"
    const char* text;     // "" for a separator
    int number;           // 0 for a separator
};

struct ToolButton {
    int number;
    const char* icon;  // "" for a text button
    const char* text;  // the text of a button without icon
    const char* tip;
};

// Every hot key starts its procedure on a new thread with the small stack request.
struct HotKey {
    int key;  // Qt key combination (Qt::ALT | Qt::Key_F4 ...)
    const char* procedure;
    FrameAction action;
    const char* parameter = "";
};

const std::vector<Command>& frameCommands();
const Command* frameCommand(int number);
const std::vector<MenuEntry>& frameMenu();
const std::vector<ToolButton>& frameToolbar();
const std::vector<HotKey>& frameHotKeys();

inline constexpr int kViewLogItem = -12;
inline constexpr int kDailyNotesItem = -19;
inline constexpr int kExitItem = -14;
inline constexpr int kExitButton = -63;
inline constexpr int kCalendarButton = -71;
inline constexpr int kBellImage = -80;

} // namespace ven
