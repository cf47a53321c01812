// The table of the system's built procedures: name and maker. A procedure
// that is not listed answers with message 24 when it is started.
#include "app/Procedures.h"

#include "calendar/AlarmWindows.h"
#include "calendar/AlarmWnd.h"
#include "calendar/AlarmsBr.h"
#include "calendar/BirthFr.h"
#include "calendar/BirthdaysBr.h"
#include "calendar/Calendar.h"
#include "calendar/CalendarWnd.h"
#include "calendar/DLS_Br.h"
#include "calendar/DLS_Fr.h"
#include "calendar/DailyNoteFr.h"
#include "calendar/DiaryBr.h"
#include "calendar/DiaryExtRp.h"
#include "calendar/DiaryFr.h"
#include "calendar/DiaryMemRp.h"
#include "calendar/DiaryNotRp.h"
#include "calendar/DiaryPhoRp.h"
#include "calendar/DiaryProRp.h"
#include "calendar/DiarySel.h"
#include "calendar/FaximileRp.h"
#include "calendar/FeastReadingsBr.h"
#include "calendar/FeastReadingsFr.h"
#include "calendar/FeastsBr.h"
#include "calendar/MakeLitImportPr.h"
#include "calendar/MemorialBr.h"
#include "calendar/MindreelMemorials.h"
#include "calendar/NotesBr.h"
#include "calendar/NotesFr.h"
#include "calendar/ProjCalcProc.h"
#include "calendar/ProjZeroProc.h"
#include "calendar/ProjectBr.h"
#include "calendar/ProjectFr.h"
#include "calendar/ProjectSel.h"
#include "calendar/SaintReadingsBr.h"
#include "calendar/SaintReadingsFr.h"
#include "calendar/SortFeastsWnd.h"
#include "calendar/SortMemorialsWnd.h"
#include "calendar/SoundsBrw.h"
#include "calendar/SoundsFrm.h"
#include "calendar/SpecialDaysBr.h"
#include "calendar/SpecialDaysFr.h"
#include "calendar/UpdateVenAlarm.h"
#include "calendar/WarningWnd.h"
#include "core/AboutWnd.h"
#include "core/AlarmScan.h"
#include "core/BackUpWnd.h"
#include "core/ButtonWnd.h"
#include "core/CloseVendrolix.h"
#include "core/ConfigureWnd.h"
#include "core/EditHelp.h"
#include "core/EditLog.h"
#include "core/EditQuickNote.h"
#include "core/EditTextFile.h"
#include "core/HelpWnd.h"
#include "core/LockVendrolixWnd.h"
#include "core/LoginWnd.h"
#include "core/MemoWnd.h"
#include "core/Procedures.h"
#include "core/RebuildKeysWnd.h"
#include "core/ShutDownWnd.h"
#include "core/SortAlarms.h"
#include "core/UserBr.h"
#include "core/UserFr.h"
#include "core/ViewLogWnd.h"
#include "core/ViewerWnd.h"
#include "platform/DateField.h"
#include "registers/AccSelBr.h"
#include "registers/AccountsBr.h"
#include "registers/AccountsFr.h"
#include "registers/ClearAllStickers.h"
#include "registers/CountryBr.h"
#include "registers/CountryFr.h"
#include "registers/DeleteEmptyLabelsPr.h"
#include "registers/DocCatBr.h"
#include "registers/DocCatFr.h"
#include "registers/IdeaBr.h"
#include "registers/IdeaFr.h"
#include "registers/KeyWrdBr.h"
#include "registers/KeywordFr.h"
#include "registers/LabelRp.h"
#include "registers/MoneyBr.h"
#include "registers/MoneyFr.h"
#include "registers/MoneyRp.h"
#include "registers/NameBr.h"
#include "registers/NameFr.h"
#include "registers/NamesRp.h"
#include "registers/ProgramsBr.h"
#include "registers/ProgramsFr.h"
#include "registers/ProgramsWnd.h"
#include "registers/SetUpLabelWnd.h"
#include "registers/StickersBr.h"
#include "registers/UpdateVenDoc.h"
#include "registers/UpdateVenISub.h"
#include "tools/AnalogClockWnd.h"
#include "tools/CalculatorWnd.h"
#include "tools/ChatWnd.h"
#include "tools/ForexBr.h"
#include "tools/ForexFr.h"
#include "tools/MemoriesBr.h"
#include "tools/MemoriesFr.h"
#include "tools/TimeDisplayWnd.h"
#include "tools/ViewCalcTapeWnd.h"
#include "tools/Y2K_ClockWnd.h"

namespace ven {

void DefineProcedures()
{
    struct Entry {
        const char* name;
        ProcedureMaker make;
    };
    const Entry entries[] = {
        {"AboutWnd", makeAboutWnd},
        {"AccSelBr", makeAccSelBr},
        {"AccountsBr", makeAccountsBr},
        {"AccountsFr", makeAccountsFr},
        {"AlarmWnd", makeAlarmWnd},
        {"AlarmsBr", makeAlarmsBr},
        {"AnalogClockWnd", makeAnalogClockWnd},
        {"BackUpWnd", makeBackUpWnd},
        {"BirthFr", makeBirthFr},
        {"BirthdaysBr", makeBirthdaysBr},
        {"ButtonWnd", makeButtonWnd},
        {"CalculatorWnd", makeCalculatorWnd},
        {"CalendarWnd", makeCalendarWnd},
        {"ChatWnd", makeChatWnd},
        {"ClearAllStickers", makeClearAllStickers},
        {"CloseVendrolix", makeCloseVendrolix},
        {"ConfigureWnd", makeConfigureWnd},
        {"CountryBr", makeCountryBr},
        {"CountryFr", makeCountryFr},
        {"DLS_Br", makeDLS_Br},
        {"DLS_Fr", makeDLS_Fr},
        {"DailyNoteFr", makeDailyNoteFr},
        {"DeleteEmptyLabelsPr", makeDeleteEmptyLabelsPr},
        {"DiaryBr", [](const QString& p) { return makeDiaryBr(p); }},
        {"DiaryExtRp", makeDiaryExtRp},
        {"DiaryFr", makeDiaryFr},
        {"DiaryMemRp", makeDiaryMemRp},
        {"DiaryNotRp", makeDiaryNotRp},
        {"DiaryPhoRp", makeDiaryPhoRp},
        {"DiaryProRp", makeDiaryProRp},
        {"DiarySel", makeDiarySel},
        {"DocCatBr", makeDocCatBr},
        {"DocCatFr", makeDocCatFr},
        {"EditHelp", makeEditHelp},
        {"EditLog", makeEditLog},
        {"EditQuickNote", makeEditQuickNote},
        {"EditTextFile", makeEditTextFile},
        {"FaximileRp", makeFaximileRp},
        {"FeastReadingsBr", makeFeastReadingsBr},
        {"FeastReadingsFr", makeFeastReadingsFr},
        {"FeastsBr", makeFeastsBr},
        {"ForexBr", makeForexBr},
        {"ForexFr", makeForexFr},
        {"HelpWnd", makeHelpWnd},
        {"IdeaBr", makeIdeaBr},
        {"IdeaFr", makeIdeaFr},
        {"KeyWrdBr", makeKeyWrdBr},
        {"KeywordFr", makeKeywordFr},
        {"Label_2x7_Rp", [](const QString& p) { return makeLabelRp(4, p.toInt()); }},
        {"Label_3x12_Rp", [](const QString& p) { return makeLabelRp(3, p.toInt()); }},
        {"Label_3x8_Rp", [](const QString& p) { return makeLabelRp(1, p.toInt()); }},
        {"Label_3x9_Rp", [](const QString& p) { return makeLabelRp(2, p.toInt()); }},
        {"LockVendrolixWnd", makeLockVendrolixWnd},
        {"LoginWnd", makeLoginWnd},
        {"MakeLitImportPr", makeMakeLitImportPr},
        {"MemoWnd", makeMemoWnd},
        {"MemorialBr", makeMemorialBr},
        {"MemoriesBr", makeMemoriesBr},
        {"MemoriesFr", makeMemoriesFr},
        {"MindreelMemorials", makeMindreelMemorials},
        {"MoneyBr", makeMoneyBr},
        {"MoneyFr", makeMoneyFr},
        {"MoneyRp", makeMoneyRp},
        {"NameBr", makeNameBr},
        {"NameFr", makeNameFr},
        {"NamesRp", makeNamesRp},
        {"NotesBr", makeNotesBr},
        {"NotesFr", makeNotesFr},
        {"ProgramsBr", makeProgramsBr},
        {"ProgramsFr", makeProgramsFr},
        {"ProgramsWnd", makeProgramsWnd},
        {"ProjCalcProc", makeProjCalcProc},
        {"ProjZeroProc", makeProjZeroProc},
        {"ProjectBr", makeProjectBr},
        {"ProjectFr", makeProjectFr},
        {"ProjectSel", makeProjectSel},
        {"RebuildKeysWnd", makeRebuildKeysWnd},
        {"SaintReadingsBr", makeSaintReadingsBr},
        {"SaintReadingsFr", makeSaintReadingsFr},
        {"SetUpLabelWnd", makeSetUpLabelWnd},
        {"ShutDownWnd", makeShutDownWnd},
        {"SortAlarms", makeSortAlarms},
        {"SortFeastsWnd", makeSortFeastsWnd},
        {"SortMemorialsWnd", makeSortMemorialsWnd},
        {"SoundsBrw", makeSoundsBrw},
        {"SoundsFrm", makeSoundsFrm},
        {"SpecialDaysBr", makeSpecialDaysBr},
        {"SpecialDaysFr", makeSpecialDaysFr},
        {"StickersBr", makeStickersBr},
        {"TimeDisplayWnd", makeTimeDisplayWnd},
        {"UpdateVenAlarm", makeUpdateVenAlarm},
        {"UpdateVenDoc", makeUpdateVenDoc},
        {"UpdateVenISub", makeUpdateVenISub},
        {"UserBr", makeUserBr},
        {"UserFr", makeUserFr},
        {"ViewCalcTapeWnd", makeViewCalcTapeWnd},
        {"ViewLogWnd", makeViewLogWnd},
        {"ViewerWnd", makeViewerWnd},
        {"WarningWnd", makeWarningWnd},
        {"Y2K_ClockWnd", makeY2K_ClockWnd},
    };
    for (const Entry& e : entries)
        defineProcedure(e.name, e.make);
    // The frame and the alarm scan open each alarm's window with its own block.
    StartAlarmWindow = [](const NextAlarmBlock& alarm) { showAlarmWindow(alarm); };
    // Every date field opens the calendar's date picker.
    setDatePicker([](const QString& caption, int32_t& date, std::function<void(bool)> done) { pickDate(caption, date, std::move(done)); });
}

} // namespace ven
