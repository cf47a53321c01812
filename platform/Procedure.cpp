// The thread table and the globals of the window framework.
#include "platform/Procedure.h"

#include <QTimer>

#include <array>
#include <memory>

namespace ven {

uint8_t CallRequest = 0;
uint8_t CallResponse = 0;
uint8_t CallVcrRequest = 0;
uint8_t CopyRequested = 0;
QString BrWallPaper, BrWallPaperStyle;
QString FrWallPaper, FrWallPaperStyle;
QString WdWallPaper, WdWallPaperStyle;
QString Program_Path;

FlagTable Running;
FlagTable Thread;
FlagTable Busy;

uint8_t FlagTable::get(const QString& procedure) const
{
    auto it = flags_.find(procedure);
    return it == flags_.end() ? 0 : it->second;
}

bool FlagTable::anySet() const
{
    for (const auto& [name, v] : flags_)
        if (v)
            return true;
    return false;
}

namespace {

struct ThreadSlot {
    std::unique_ptr<Context> files;
    int live = 0;          // procedures (and the pending entry) holding the thread
    uint64_t generation = 0;
};

struct ThreadTable {
    std::array<ThreadSlot, kLastThread + 1> entries;
    int current = kFrameThread;
    uint64_t generation = 0;

    ThreadTable() { entries[kFrameThread].files = std::make_unique<Context>(); }
};

ThreadTable& table()
{
    static ThreadTable t;
    return t;
}

} // namespace

int currentThread()
{
    return table().current;
}

bool threadRunning(int thread)
{
    return thread >= kFrameThread && thread <= kLastThread && table().entries[thread].files != nullptr;
}

Context& threadContext(int thread)
{
    ThreadTable& t = table();
    if (thread == 0)
        thread = t.current;
    if (!threadRunning(thread))
        thread = kFrameThread;  // a procedure outside any thread runs in the frame's
    return *t.entries[thread].files;
}

ThreadScope::ThreadScope(int thread)
    : saved_(table().current)
{
    if (threadRunning(thread))
        table().current = thread;
}

ThreadScope::~ThreadScope()
{
    table().current = saved_;
}

void retainThread(int thread)
{
    if (threadRunning(thread))
        ++table().entries[thread].live;
}

void releaseThread(int thread)
{
    if (thread == kFrameThread || !threadRunning(thread))
        return;
    ThreadSlot& s = table().entries[thread];
    if (--s.live > 0)
        return;
    // The last procedure has ended: its files close and the number is free.
    s.files.reset();
    s.live = 0;
}

int startThread(std::function<void()> entry)
{
    ThreadTable& t = table();
    int n = 2;
    while (n <= kLastThread && t.entries[n].files)
        ++n;
    if (n > kLastThread)
        return 0;
    ThreadSlot& s = t.entries[n];
    s.files = std::make_unique<Context>();
    s.live = 1;  // the entry itself, until it has run
    s.generation = ++t.generation;
    const uint64_t gen = s.generation;
    QTimer::singleShot(0, [n, gen, entry = std::move(entry)] {
        ThreadSlot& slot = table().entries[n];
        if (!slot.files || slot.generation != gen)
            return;  // reset in between
        {
            ThreadScope scope(n);
            entry();
        }
        releaseThread(n);
    });
    return n;
}

void resetProcedureState()
{
    ThreadTable& t = table();
    for (int n = 2; n <= kLastThread; ++n) {
        t.entries[n].files.reset();
        t.entries[n].live = 0;
        t.entries[n].generation = 0;
    }
    t.entries[kFrameThread].files->closeAll();
    t.current = kFrameThread;
    CallRequest = CallResponse = CallVcrRequest = CopyRequested = 0;
    BrWallPaper.clear(), BrWallPaperStyle.clear();
    FrWallPaper.clear(), FrWallPaperStyle.clear();
    WdWallPaper.clear(), WdWallPaperStyle.clear();
    Running.clear();
    Thread.clear();
    Busy.clear();
}

} // namespace ven
