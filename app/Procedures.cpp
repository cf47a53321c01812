// The table of the system's built procedures: name and maker. A procedure
// that is not listed answers with message 24 when it is started.
#include "app/Procedures.h"

#include "calendar/AlarmWindows.h"
#include "calendar/AlarmWnd.h"
#include "calendar/AlarmsBr.h"
#include "calendar/Calendar.h"
#include "calendar/DiaryBr.h"
#include "calendar/DiaryFr.h"
#include "calendar/DiarySel.h"
#include "calendar/SoundsBrw.h"
#include "calendar/SoundsFrm.h"
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
#include "core/RebuildKeysWnd.h"
#include "core/Procedures.h"
#include "core/ShutDownWnd.h"
#include "core/SortAlarms.h"
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
        {"AboutWnd", makeAboutWnd},
        {"AlarmWnd", makeAlarmWnd},
        {"AlarmsBr", makeAlarmsBr},
        {"BackUpWnd", makeBackUpWnd},
        {"ButtonWnd", makeButtonWnd},
        {"CalculatorWnd", makeCalculatorWnd},
        {"CloseVendrolix", makeCloseVendrolix},
        {"ConfigureWnd", makeConfigureWnd},
        {"DiaryBr", [](const QString& p) { return makeDiaryBr(p); }},
        {"DiaryFr", makeDiaryFr},
        {"DiarySel", makeDiarySel},
        {"EditHelp", makeEditHelp},
        {"EditLog", makeEditLog},
        {"EditQuickNote", makeEditQuickNote},
        {"EditTextFile", makeEditTextFile},
        {"ForexBr", makeForexBr},
        {"ForexFr", makeForexFr},
        {"HelpWnd", makeHelpWnd},
        {"LockVendrolixWnd", makeLockVendrolixWnd},
        {"LoginWnd", makeLoginWnd},
        {"MemoWnd", makeMemoWnd},
        {"MemoriesBr", makeMemoriesBr},
        {"MemoriesFr", makeMemoriesFr},
        {"RebuildKeysWnd", makeRebuildKeysWnd},
        {"ShutDownWnd", makeShutDownWnd},
        {"SortAlarms", makeSortAlarms},
        {"SoundsBrw", makeSoundsBrw},
        {"SoundsFrm", makeSoundsFrm},
        {"UpdateVenAlarm", makeUpdateVenAlarm},
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
