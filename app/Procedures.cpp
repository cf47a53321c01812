// The table of the system's built procedures: name and maker. A procedure
// that is not listed answers with message 24 when it is started.
#include "app/Procedures.h"

#include "calendar/AlarmWindows.h"
#include "calendar/AlarmWnd.h"
#include "calendar/Calendar.h"
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
#include "calendar/ProjCalcProc.h"
#include "calendar/ProjZeroProc.h"
#include "calendar/ProjectBr.h"
#include "calendar/ProjectFr.h"
#include "calendar/ProjectSel.h"
#include "calendar/SaintReadingsBr.h"
#include "calendar/SaintReadingsFr.h"
#include "calendar/SortFeastsWnd.h"
#include "calendar/SortMemorialsWnd.h"
#include "calendar/WarningWnd.h"
#include "core/AlarmScan.h"
#include "core/CloseVendrolix.h"
#include "core/ConfigureWnd.h"
#include "core/EditHelp.h"
#include "core/EditLog.h"
#include "core/EditQuickNote.h"
#include "core/EditTextFile.h"
#include "core/HelpWnd.h"
#include "core/LoginWnd.h"
#include "core/MemoWnd.h"
#include "core/Procedures.h"
#include "core/ShutDownWnd.h"
#include "core/UserBr.h"
#include "core/UserFr.h"
#include "core/ViewLogWnd.h"
#include "core/ViewerWnd.h"
#include "platform/DateField.h"
#include "tools/CalculatorWnd.h"
#include "tools/ForexBr.h"
#include "tools/ForexFr.h"
#include "tools/MemoriesBr.h"
#include "tools/MemoriesFr.h"
#include "tools/ViewCalcTapeWnd.h"

namespace ven {

void DefineProcedures()
{
    struct Entry {
        const char* name;
        ProcedureMaker make;
    };
    const Entry entries[] = {
        {"AlarmWnd", makeAlarmWnd},
        {"CalculatorWnd", makeCalculatorWnd},
        {"CloseVendrolix", makeCloseVendrolix},
        {"ConfigureWnd", makeConfigureWnd},
        {"DiaryBr", [](const QString& p) { return makeDiaryBr(p); }},
        {"DiaryExtRp", makeDiaryExtRp},
        {"DiaryFr", makeDiaryFr},
        {"DiaryMemRp", makeDiaryMemRp},
        {"DiaryNotRp", makeDiaryNotRp},
        {"DiaryPhoRp", makeDiaryPhoRp},
        {"DiaryProRp", makeDiaryProRp},
        {"DiarySel", makeDiarySel},
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
        {"LoginWnd", makeLoginWnd},
        {"MakeLitImportPr", makeMakeLitImportPr},
        {"MemoWnd", makeMemoWnd},
        {"MemorialBr", makeMemorialBr},
        {"MemoriesBr", makeMemoriesBr},
        {"MemoriesFr", makeMemoriesFr},
        {"MindreelMemorials", makeMindreelMemorials},
        {"ProjCalcProc", makeProjCalcProc},
        {"ProjZeroProc", makeProjZeroProc},
        {"ProjectBr", makeProjectBr},
        {"ProjectFr", makeProjectFr},
        {"ProjectSel", makeProjectSel},
        {"SaintReadingsBr", makeSaintReadingsBr},
        {"SaintReadingsFr", makeSaintReadingsFr},
        {"ShutDownWnd", makeShutDownWnd},
        {"SortFeastsWnd", makeSortFeastsWnd},
        {"SortMemorialsWnd", makeSortMemorialsWnd},
        {"UserBr", makeUserBr},
        {"UserFr", makeUserFr},
        {"ViewCalcTapeWnd", makeViewCalcTapeWnd},
        {"ViewLogWnd", makeViewLogWnd},
        {"ViewerWnd", makeViewerWnd},
        {"WarningWnd", makeWarningWnd},
    };
    for (const Entry& e : entries)
        defineProcedure(e.name, e.make);
    // The frame and the alarm scan open each alarm's window with its own block.
    StartAlarmWindow = [](const NextAlarmBlock& alarm) { showAlarmWindow(alarm); };
    // Every date field opens the calendar's date picker.
    setDatePicker([](const QString& caption, int32_t& date, std::function<void(bool)> done) { pickDate(caption, date, std::move(done)); });
}

} // namespace ven
