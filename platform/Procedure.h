// Procedure threads and the process-wide state that windows share: the
// request and response globals, the running, thread and busy flags, the
// copy request and the wallpaper settings.
//
// All windows live on Qt's one GUI thread; a procedure thread is a logical
// context: a number 1..64 (1 the frame) and the procedure's own instances of
// the data files. Everything here is called from the GUI thread only.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>

namespace ven {

// What a caller asks of a procedure it calls directly.
enum Request : uint8_t { NoRequest = 0, InsertRecord = 1, ChangeRecord = 2, DeleteRecord = 3, SelectRecord = 4 };
// What a procedure leaves for its caller.
enum Response : uint8_t { NoResponse = 0, RequestCompleted = 1, RequestCancelled = 2 };

// The request for the next procedure called directly; consumed by its set-up.
extern uint8_t CallRequest;
// The result of the procedure that ran last on this call path.
extern uint8_t CallResponse;
// The record-scrolling request that every window's VCRREQUEST refers to.
extern uint8_t CallVcrRequest;
// 1 between a browse's Copy button and the moment its list prepares the new record.
extern uint8_t CopyRequested;

// Wallpaper image and style of browses (Br), record forms (Fr) and the
// other windows (Wd), mirroring the [Main] keys of the same names.
extern QString BrWallPaper, BrWallPaperStyle;
extern QString FrWallPaper, FrWallPaperStyle;
extern QString WdWallPaper, WdWallPaperStyle;
// The program folder (the frame reads it at start-up); the fixed images
// of progress windows and the log-in window lie in it.
extern QString Program_Path;

// One-byte flags by procedure name, so that Running["NameBr"] is the
// flag Running:NameBr. A flag that was never set reads 0.
class FlagTable {
public:
    uint8_t& operator[](const QString& procedure) { return flags_[procedure]; }
    uint8_t get(const QString& procedure) const;
    // True when any flag of the table is non-zero.
    bool anySet() const;
    void clear() { flags_.clear(); }

private:
    std::map<QString, uint8_t> flags_;
};

extern FlagTable Running;  // the owning thread while the procedure's window is open
extern FlagTable Thread;   // the thread of the instance that owns the procedure
extern FlagTable Busy;     // non-zero while a form is open or a long run works

// ------------------------------------------------------------- threads ---

inline constexpr int kFrameThread = 1;
inline constexpr int kLastThread = 64;

// The thread whose procedure is handling the current event (1 the frame).
int currentThread();
// The data-file instances of a thread (0: the current one). requires: the
// thread is running.
Context& threadContext(int thread = 0);
// True while the thread number is taken.
bool threadRunning(int thread);

// Makes `thread` current for the scope's life (event dispatch, set-up).
class ThreadScope {
public:
    explicit ThreadScope(int thread);
    ~ThreadScope();
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

private:
    int saved_;
};

// Starts a procedure on a new thread: allocates the lowest free number of
// 2..64 with a fresh file context and runs `entry` on it at the next turn
// of the event loop. Returns the number, or 0 (and runs nothing) when all
// 63 numbers are taken. The thread ends when its entry has returned and
// the last procedure it holds has ended.
int startThread(std::function<void()> entry);

// Counts a procedure that lives on the current thread, so that the thread
// stays while it runs; release() ends the thread with its last procedure.
// Used by the window controller.
void retainThread(int thread);
void releaseThread(int thread);

// Returns the framework to its start state: flags and globals cleared,
// started threads forgotten with their contexts. For tests.
void resetProcedureState();

} // namespace ven
