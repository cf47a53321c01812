// The frame's menu bar, toolbar and hot keys.
#include "core/FrameCommands.h"

#include <Qt>

#include <algorithm>

namespace ven {

const std::vector<Command>& frameCommands()
{
    using A = FrameAction;
    static const std::vector<Command> t = {
        {-2, nullptr, How::None, A::PrintSetup},
        {-3, "ConfigureWnd", How::T25, A::None},
        {-4, "DLS_Br", How::T25, A::None},
        {-5, "BackUpWnd", How::T25, A::None},
        {-6, "RebuildKeysWnd", How::T25, A::None},
        {-7, "SortAlarms", How::T25, A::None},
        {-8, "SortMemorialsWnd", How::T25, A::None},
        {-9, "SortFeastsWnd", How::T25, A::None},
        {-10, "LockVendrolixWnd", How::T25, A::None},
        {-12, "ViewLogWnd", How::T25, A::None},
        {-13, "ShutDownWnd", How::T25, A::None},
        {-14, nullptr, How::None, A::Close},
        {-16, "UserBr", How::T25, A::None},
        {-17, "ForexBr", How::T25, A::None},
        {-18, "BirthdaysBr", How::T25, A::None},
        {-19, "NotesBr", How::T25, A::None},
        {-20, "MemorialBr", How::T25, A::None},
        {-21, "FeastsBr", How::T25, A::None},
        {-23, "SaintReadingsBr", How::T25, A::None},
        {-24, "FeastReadingsBr", How::T25, A::None},
        {-25, "SpecialDaysBr", How::T25, A::None},
        {-26, "EditQuickNote", How::Direct, A::None},
        {-27, "AccountsBr", How::T25, A::None},
        {-28, "CountryBr", How::T25, A::None},
        {-29, "SoundsBrw", How::T25, A::None},
        {-31, "DiarySel", How::T25, A::None},
        {-32, "AlarmsBr", How::T25, A::None},
        {-33, "NameBr", How::T25, A::None},
        {-34, "ChatWnd", How::T25, A::None},
        {-35, "IdeaBr", How::T25, A::None},
        {-37, "DocCatBr", How::T25C, A::None},
        {-38, "KeyWrdBr", How::T25, A::None},
        {-39, "ProgramsBr", How::T25, A::None},
        {-40, "MoneyBr", How::T25, A::None},
        {-41, "MemoWnd", How::T25, A::None},
        {-42, "CalendarWnd", How::T25, A::None},
        {-43, "CalculatorWnd", How::T25, A::None},
        {-44, "ProjectSel", How::T25, A::None},
        {-45, "StickersBr", How::T25, A::None},
        {-46, "TimeDisplayWnd", How::T25, A::None},
        {-47, "AnalogClockWnd", How::T25, A::None},
        {-48, "Y2K_ClockWnd", How::T25, A::None},
        {-50, nullptr, How::None, A::Cut},
        {-51, nullptr, How::None, A::Copy},
        {-52, nullptr, How::None, A::Paste},
        {-53, nullptr, How::None, A::Tile},
        {-54, nullptr, How::None, A::Cascade},
        {-55, nullptr, How::None, A::ArrangeIcons},
        {-56, "ButtonWnd", How::T2_5, A::IconizeAfter},
        {-57, nullptr, How::None, A::HelpContents},
        {-58, nullptr, How::None, A::HelpSearch},
        {-59, "AboutWnd", How::T25, A::None},
        {-60, "HelpWnd", How::T25, A::None},
        {-61, nullptr, How::None, A::HelpOnHelp},
        // toolbar
        {-63, "CloseVendrolix", How::T25, A::ExitOrEnd},
        {-64, "DiarySel", How::T25, A::None},
        {-65, "IdeaBr", How::T25, A::None},
        {-66, "DocCatBr", How::T25C, A::None},
        {-67, "KeyWrdBr", How::T25, A::None},
        {-68, "ProgramsWnd", How::T25, A::None},
        {-69, "NameBr", How::T25, A::None},
        {-70, "MemoWnd", How::T25, A::None},
        {-71, "CalendarWnd", How::T25, A::None},
        {-72, "MoneyBr", How::T25, A::None},
        {-73, "AlarmsBr", How::T25, A::None},
        {-74, "CalculatorWnd", How::T25, A::None},
        {-75, "TimeDisplayWnd", How::T25, A::ClockStandIn},
        {-76, "Y2K_ClockWnd", How::T25, A::None},
        {-77, "AnalogClockWnd", How::T2_5, A::IconizeAfter},
        {-78, "ChatWnd", How::T25, A::None},
        {-79, "AboutWnd", How::T25, A::None},
        {-81, "LockVendrolixWnd", How::T25, A::None},
        {-82, nullptr, How::None, A::NoMax},
        {-83, nullptr, How::None, A::Max},
        {-84, nullptr, How::None, A::NoIco},
        {-85, nullptr, How::None, A::Ico},
    };
    return t;
}

const Command* frameCommand(int number)
{
    const auto& t = frameCommands();
    auto it = std::find_if(t.begin(), t.end(), [number](const Command& c) { return c.number == number; });
    return it == t.end() ? nullptr : &*it;
}

const std::vector<MenuEntry>& frameMenu()
{
    static const std::vector<MenuEntry> t = {
        {"&File", "", "&Print Setup...", -2},
        {"&File", "", "&Configure", -3},
        {"&File", "", "&Daylight-Saving Time", -4},
        {"&File", "", "", 0},
        {"&File", "", "&BackUp Vendrolix", -5},
        {"&File", "", "Rebuild &Keys", -6},
        {"&File", "", "Sort &Alarms", -7},
        {"&File", "", "Sort &Memorials", -8},
        {"&File", "", "Sort &Feasts", -9},
        {"&File", "", "", 0},
        {"&File", "", "&Lock Vendrolix", -10},
        {"&File", "", "&View Log", -12},
        {"&File", "", "", 0},
        {"&File", "", "Shut Down &Windows", -13},
        {"&File", "", "E&xit", -14},
        {"&Registers", "", "&Users", -16},
        {"&Registers", "", "&Exchange Rates", -17},
        {"&Registers", "", "&Anniversaries", -18},
        {"&Registers", "", "&Daily Notes", -19},
        {"&Registers", "", "&Memorials", -20},
        {"&Registers", "", "&Feasts", -21},
        {"&Registers", "&Readings", "&Memorials", -23},
        {"&Registers", "&Readings", "&Feasts", -24},
        {"&Registers", "", "&Special Days", -25},
        {"&Registers", "", "Edit &QuickMemo", -26},
        {"&Registers", "", "A&ccounts", -27},
        {"&Registers", "", "Coun&tries", -28},
        {"&Registers", "", "S&ound Effects", -29},
        {"&Vendrolix", "", "&Diary", -31},
        {"&Vendrolix", "", "Ala&rms", -32},
        {"&Vendrolix", "", "&Addresses", -33},
        {"&Vendrolix", "", "C&hat", -34},
        {"&Vendrolix", "", "Ideas - &Think Tank", -35},
        {"&Vendrolix", "Doc&uments", "&Browse Documents", -37},
        {"&Vendrolix", "Doc&uments", "&Keyword Search", -38},
        {"&Vendrolix", "", "Application&s - Programs", -39},
        {"&Vendrolix", "", "M&oney Manager", -40},
        {"&Vendrolix", "", "&Quick Memo", -41},
        {"&Vendrolix", "", "Ca&lendar", -42},
        {"&Vendrolix", "", "&Calculator", -43},
        {"&Vendrolix", "", "&Projects", -44},
        {"&Vendrolix", "", "&Mailing Labels", -45},
        {"&Vendrolix", "", "Di&gital Clock", -46},
        {"&Vendrolix", "", "A&nalog Clock", -47},
        {"&Vendrolix", "", "Countdo&wn", -48},
        {"&Edit", "", "Cu&t", -50},
        {"&Edit", "", "&Copy", -51},
        {"&Edit", "", "&Paste", -52},
        {"&Window", "", "T&ile", -53},
        {"&Window", "", "&Cascade", -54},
        {"&Window", "", "&Arrange Icons", -55},
        {"&Window", "", "", 0},
        {"&Window", "", "&Hide", -56},
        {"&Help", "", "&Contents", -57},
        {"&Help", "", "&Search for Help On...", -58},
        {"&Help", "", "&About Vendrolix", -59},
        {"&Help", "", "&Help.txt", -60},
        {"&Help", "", "&How to Use Help", -61},
    };
    return t;
}

const std::vector<ToolButton>& frameToolbar()
{
    static const std::vector<ToolButton> t = {
        {-63, "exit.ico", "", ">>--->>> Exit  - End Program"},
        {-64, "Memo.ico", "", ">>--->>> Diary & Memo"},
        {-65, "Idea.ico", "", ">>--->>> Ideas  -- ThinkTank"},
        {-66, "Files3.ico", "", ">>--->>> Documents"},
        {-67, "Find.ico", "", ">>--->>> Find Documents by Keywords"},
        {-68, "Programs.ico", "", ">>--->>> Start Applications"},
        {-69, "2People.Ico", "", ">>--->>> Names & Addresses"},
        {-70, "Info.ico", "", ">>--->>> Quick Memo"},
        {-71, "Calender.ico", "", ">>--->>> Calendar"},
        {-72, "Money.ico", "", ">>--->>> Money Manager"},
        {-73, "alarmclock.ico", "", ">>--->>> Alarms"},
        {-74, "Calculator2.ico", "", ">>--->>> Calculator"},
        {-75, "Time5.ico", "", ">>--->>> Digital Clock"},
        {-76, "Launch.ico", "", ">>--->>> Countdown: - Y2k Clock"},
        {-77, "AnalogClock.ico", "", ">>--->>> Analog Clock"},
        {-78, "Chat.ico", "", ">>--->>> Chat with other Vendrolix users"},
        {-79, "Logo.png", "", ">>--->>> About Vendrolix:"},
        {-80, "Bell.ico", "", ""},
        {-81, "LockClosed.ico", "", ">>--->>> Lock Vendrolix"},
        {-82, "", "NoMax", "NoMax"},
        {-83, "", "Max", "Max"},
        {-84, "", "No Ico", "No Ico"},
        {-85, "", "Ico", "Ico"},
    };
    return t;
}

const std::vector<HotKey>& frameHotKeys()
{
    using A = FrameAction;
    const int alt = Qt::ALT, ctrl = Qt::CTRL;
    static const std::vector<HotKey> t = [&] {
        std::vector<HotKey> k = {
            {Qt::Key_Backslash, "CloseVendrolix", A::None},
            {Qt::Key_F2, "MemoWnd", A::None},
            {Qt::Key_F3, "CalendarWnd", A::None},
            {Qt::Key_F4, "NameBr", A::None},
            {Qt::Key_F5, "TimeDisplayWnd", A::IconizeAfter},
            {Qt::Key_F6, "CalculatorWnd", A::None},
            {Qt::Key_F7, "ProgramsBr", A::None},
            {Qt::Key_F8, "KeyWrdBr", A::None},
            {Qt::Key_F9, "DocCatBr", A::None, "C"},
            {Qt::Key_F10, "ViewLogWnd", A::None},
            {Qt::Key_F11, "DiarySel", A::None},
            {Qt::Key_F12, "ConfigureWnd", A::None},
            {alt | Qt::Key_F2, "IdeaBr", A::None},
            {alt | Qt::Key_F3, "AlarmsBr", A::None},
            {alt | Qt::Key_F4, "CloseVendrolix", A::DayNumbersToClipboard},
            {alt | Qt::Key_F5, "ProjectSel", A::None},
            {alt | Qt::Key_F6, "StickersBr", A::None},
            {alt | Qt::Key_F7, "MoneyBr", A::None},
            {alt | Qt::Key_F8, "ButtonWnd", A::IconizeAfter},
            {alt | Qt::Key_F9, "LockVendrolixWnd", A::None},
            {alt | Qt::Key_F10, "ShutDownWnd", A::None},
            {alt | Qt::Key_F11, "HelpWnd", A::None},
            {alt | Qt::Key_F12, "AboutWnd", A::None},
            {ctrl | Qt::Key_A, "AnalogClockWnd", A::IconizeAfter},
        };
        for (int f = Qt::Key_F2; f <= Qt::Key_F12; ++f)
            k.push_back({ctrl | f, nullptr, A::Ignore});
        return k;
    }();
    return t;
}

} // namespace ven
