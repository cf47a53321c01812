// What the framework does alike for each procedure of the system: its
// single-instance rule, wallpaper, placement, running and busy flags and
// list format, kept as the lists of names they apply to.
#include "platform/WindowController.h"

#include <initializer_list>
#include <map>

namespace ven {
namespace {

using Names = std::initializer_list<const char*>;

const Names kWindowRule = {
    "AboutWnd", "ButtonWnd", "MemoWnd", "CalendarWnd", "TimeDisplayWnd", "AnalogClockWnd", "Y2K_ClockWnd", "ViewerWnd",
    "ViewCalcTapeWnd", "CalculatorWnd", "ConfigureWnd", "ChatWnd", "AlarmWnd", "WarningWnd", "DiarySel",
    "ProjectSel", "LockVendrolixWnd", "ProgramsWnd", "BackUpWnd", "SetUpLabelWnd", "RebuildKeysWnd",
    "SortFeastsWnd", "SortMemorialsWnd", "ViewLogWnd", "HelpWnd", "CountryBr", "ProgramsBr", "NameBr",
    "ProjectBr", "DiaryBr", "DocCatBr", "KeyWrdBr", "IdeaBr", "AlarmsBr", "BirthdaysBr", "NotesBr", "FeastsBr",
    "StickersBr", "MemorialBr", "UserBr", "FeastReadingsBr", "SaintReadingsBr", "SpecialDaysBr"};
const Names kFormRule = {"DailyNoteFr", "NotesFr", "NameFr", "ProgramsFr", "DiaryFr", "ProjectFr",
                         "UpdateVenISub", "IdeaFr", "UpdateVenAlarm", "BirthFr", "UserFr", "SpecialDaysFr"};
const Names kSelfClosing = {"MoneyBr", "MoneyFr", "AccountsBr", "AccountsFr", "AccSelBr", "LoginWnd"};
const Names kRunningHoldsFrame = {"DiarySel", "ProjectSel"};

const Names kBrowseWallpaper = {
    "CountryBr", "ProgramsBr", "NameBr", "MemoriesBr", "ProjectBr", "DiaryBr", "DocCatBr", "KeyWrdBr", "IdeaBr",
    "AccountsBr", "MoneyBr", "AccSelBr", "AlarmsBr", "BirthdaysBr", "NotesBr", "DLS_Br", "FeastsBr", "StickersBr",
    "MemorialBr", "UserBr", "ForexBr", "FeastReadingsBr", "SaintReadingsBr", "SoundsBrw", "SpecialDaysBr"};
const Names kFormWallpaper = {
    "DailyNoteFr", "CountryFr", "NameFr", "ProgramsFr", "UpdateVenDoc", "KeywordFr", "DiaryFr", "ProjectFr",
    "DocCatFr", "UpdateVenISub", "IdeaFr", "AccountsFr", "MoneyFr", "UpdateVenAlarm", "BirthFr", "NotesFr",
    "DLS_Fr", "UserFr", "FeastReadingsFr", "SaintReadingsFr", "SoundsFrm", "SpecialDaysFr"};
const Names kOtherWallpaper = {
    "MemoWnd", "CalendarWnd", "ViewerWnd", "ViewCalcTapeWnd", "CalculatorWnd", "ChatWnd", "DiarySel",
    "ProgramsWnd", "BackUpWnd", "SetUpLabelWnd", "ProjectSel", "RebuildKeysWnd", "ShutDownWnd", "SortFeastsWnd",
    "SortMemorialsWnd", "ViewLogWnd", "HelpWnd", "CloseVendrolix"};
const Names kStretchedFixedWallpaper = {"LoginWnd"};

// These keep their designed place: no placement is restored or saved.
const Names kDesignedPlace = {
    "AboutWnd", "ButtonWnd", "TimeDisplayWnd", "AnalogClockWnd", "Y2K_ClockWnd", "AlarmWnd", "WarningWnd",
    "ConfigureWnd", "WallpaperTestWd", "LockVendrolixWnd", "BackUpWnd", "RebuildKeysWnd", "ShutDownWnd",
    "SortFeastsWnd", "SortMemorialsWnd", "CloseVendrolix"};

// These hand a file to the desktop's editor and close: their window is never shown.
const Names kUnseen = {"EditLog", "EditHelp", "EditQuickNote", "EditTextFile"};

// Esc is no cancel here: the frame's children take their own.
const Names kEscKept = {"Main"};

struct BusyFlag {
    const char* procedure;
    const char* flag;
    bool keptSingle;
};
const BusyFlag kBusy[] = {
    {"DiaryFr", "DiaryFr", false},         {"NameFr", "NameFr", false},
    {"UserFr", "UserFr", false},           {"ProjectFr", "ProjectFr", false},
    {"ProgramsFr", "ProgramsFr", false},   {"DocCatFr", "DocCatFr", false},
    {"BirthFr", "BirthFr", false},         {"DailyNoteFr", "DailyNote", false},
    {"NotesFr", "DailyNote", false},       {"UpdateVenISub", "UpdateVenISub", true},
    {"IdeaFr", "IdeaFr", true},            {"UpdateVenAlarm", "UpdateVenAlarm", true},
    {"MoneyFr", "MoneyFr", false},
};

struct ListFormatUse {
    const char* procedure;
    FormatWay way;
    int list;
    bool inProgramPath;
};
const ListFormatUse kFormats[] = {
    {"ProgramsBr", FormatWay::Switchable, 1, false}, {"NameBr", FormatWay::Switchable, 1, false},
    {"IdeaBr", FormatWay::Switchable, 1, false},     {"AlarmsBr", FormatWay::Switchable, 1, false},
    {"StickersBr", FormatWay::Switchable, 1, false}, {"IdeaFr", FormatWay::Switchable, 2, false},
    {"DiaryBr", FormatWay::Single, 1, false},        {"ProjectBr", FormatWay::Single, 1, true},
};

std::map<QString, ProcedureTraits> buildTable()
{
    std::map<QString, ProcedureTraits> t;
    auto each = [&t](Names names, auto&& set) {
        for (const char* n : names)
            set(t[QString::fromUtf8(n)]);
    };
    each(kWindowRule, [](ProcedureTraits& p) { p.single = SingleRule::Window; });
    each(kFormRule, [](ProcedureTraits& p) { p.single = SingleRule::Form; });
    each(kSelfClosing, [](ProcedureTraits& p) { p.single = SingleRule::SelfClosing; });
    each(kRunningHoldsFrame, [](ProcedureTraits& p) { p.runningHoldsFrame = true; });
    each(kBrowseWallpaper, [](ProcedureTraits& p) { p.wallpaper = WallpaperKind::Browse; });
    each(kFormWallpaper, [](ProcedureTraits& p) { p.wallpaper = WallpaperKind::Form; });
    each(kOtherWallpaper, [](ProcedureTraits& p) { p.wallpaper = WallpaperKind::Other; });
    each(kStretchedFixedWallpaper, [](ProcedureTraits& p) { p.wallpaper = WallpaperKind::FixedStretched; });
    each(kDesignedPlace, [](ProcedureTraits& p) { p.keepsPlacement = false; });
    each(kEscKept, [](ProcedureTraits& p) { p.escCancels = false; });
    each(kUnseen, [](ProcedureTraits& p) { p.showsWindow = false, p.keepsPlacement = false; });
    for (const BusyFlag& b : kBusy) {
        ProcedureTraits& p = t[QString::fromUtf8(b.procedure)];
        p.busy = b.flag;
        p.busyKeptSingle = b.keptSingle;
    }
    for (const ListFormatUse& f : kFormats) {
        ProcedureTraits& p = t[QString::fromUtf8(f.procedure)];
        p.format = f.way;
        p.formatList = f.list;
        p.formatInProgramPath = f.inProgramPath;
    }
    return t;
}

} // namespace

ProcedureTraits traitsOf(const QString& procedure)
{
    static const std::map<QString, ProcedureTraits> table = buildTable();
    auto it = table.find(procedure);
    return it == table.end() ? ProcedureTraits{} : it->second;
}

} // namespace ven
