// The window procedures of the procedure table, by family, with the request
// each opens with: the end-to-end tests that open every window take them
// from here.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace ven::e2e {

struct Shown {
    const char* procedure;
    int request = 0;  // forms open to insert a record
    const char* parameter = "";
};

// The window procedures of the table, by family. Reports and batch runs
// draw pages and a progress bar (their printed pages have a check of their
// own); the editor launchers hand a file to the desktop's editor.
inline const std::map<std::string, std::vector<Shown>>& families()
{
    static const std::map<std::string, std::vector<Shown>> f = {
        {"Core",
         {{"AboutWnd"}, {"BackUpWnd"}, {"ConfigureWnd"}, {"HelpWnd"}, {"MemoWnd"}, {"RebuildKeysWnd"}, {"UserBr"},
          {"UserFr", 1}, {"ViewLogWnd"}, {"ViewerWnd"}}},
        {"Calendar",
         {{"AlarmsBr"}, {"UpdateVenAlarm", 1}, {"BirthdaysBr"}, {"BirthFr", 1}, {"CalendarWnd"}, {"DLS_Br"}, {"DLS_Fr", 1},
          {"DailyNoteFr", 1}, {"DiaryBr"}, {"DiaryFr", 1}, {"DiarySel"}, {"FeastReadingsBr"}, {"FeastsBr"}, {"MemorialBr"},
          {"NotesBr"}, {"NotesFr", 1}, {"ProjectBr"}, {"ProjectFr", 1}, {"ProjectSel"}, {"SaintReadingsBr"},
          {"SortFeastsWnd"}, {"SortMemorialsWnd"}, {"SoundsBrw"}, {"SoundsFrm", 1}, {"SpecialDaysBr"},
          {"SpecialDaysFr", 1}}},
        {"Registers",
         {{"AccSelBr"}, {"AccountsBr"}, {"AccountsFr", 1}, {"CountryBr"}, {"CountryFr", 1}, {"DocCatBr", 0, "C"},
          {"DocCatFr", 1}, {"IdeaBr"}, {"IdeaFr", 1}, {"KeyWrdBr"}, {"KeywordFr", 1}, {"MoneyBr"}, {"MoneyFr", 1},
          {"NameBr"}, {"NameFr", 1}, {"ProgramsBr"}, {"ProgramsFr", 1}, {"ProgramsWnd"}, {"SetUpLabelWnd"},
          {"StickersBr"}, {"UpdateVenDoc", 1}, {"UpdateVenISub", 1}}},
        {"Tools",
         {{"AnalogClockWnd"}, {"CalculatorWnd"}, {"ChatWnd"}, {"ForexBr"}, {"ForexFr", 1}, {"MemoriesBr"},
          {"MemoriesFr", 1}, {"TimeDisplayWnd"}, {"ViewCalcTapeWnd"}, {"Y2K_ClockWnd"}}},
    };
    return f;
}

} // namespace ven::e2e
