// The window controller: the object every window procedure creates, whose
// operations (set-up, tear-down, accepted control, window event, field
// event, new selection, close) the procedure refines. It runs the common
// life of a window: the request it serves, the single-instance rules,
// wallpaper, saved placement, alert keys, timers and posted events.
//
// GUI thread only. A procedure runs in a thread context (Procedure.h):
// run() calls it on the current thread, the caller disabled until it ends;
// start() gives it a thread of its own.
#pragma once

#include "platform/Procedure.h"
#include "platform/WindowDef.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <initializer_list>
#include <memory>
#include <vector>

namespace ven {

// Window events, as every window hears them.
enum class Event : uint8_t {
    OpenWindow,   // the window has opened
    CloseWindow,  // a request to close, which the window may refuse (heard as closeRequested())
    CloseDown,    // the end of the user's log-on
    GainFocus,
    Iconized,
    Restore,
    Maximize,     // the user maximizes the window
    Maximized,
    AlertKey,     // a key armed on the window (see alertKey())
    Suspend,
    Resume,
    Timer,        // a tick of the window's timer
};

enum class SingleRule : uint8_t {
    None,
    Window,       // a second start brings the open one forward and ends
    Form,         // the same, kept by the Thread: flag from set-up to tear-down
    SelfClosing,  // a second instance closes itself; the first stays as it is
};

enum class WallpaperKind : uint8_t { None, Browse, Form, Other, FixedTiled, FixedStretched };

// How a list keeps its column format in the settings file.
enum class FormatWay : uint8_t {
    None,
    Switchable,  // designed and user format, F12 switches ("?Browse:n:ORIG" / "USER")
    Single,      // one format, "?Browse:1Format"
};

// What the framework does alike for a procedure; traitsOf() holds the
// table for every procedure of the system.
struct ProcedureTraits {
    SingleRule single = SingleRule::None;
    WallpaperKind wallpaper = WallpaperKind::None;
    bool keepsPlacement = true;        // restores and saves its placement
    bool runningHoldsFrame = false;    // its Running: flag holds 1, not its thread
    const char* busy = nullptr;        // the Busy: flag set while its window is open
    bool busyKeptSingle = false;       // that flag kept as the window rule keeps Running:
    bool escCancels = true;            // Esc that no control takes cancels the window
    bool showsWindow = true;           // false: does its work as it opens and closes unseen
    FormatWay format = FormatWay::None;
    int formatList = 1;                // n of "?Browse:n:..."
    bool formatInProgramPath = false;  // Program_Path's "Vendrolix.ini" rather than ".\Vendrolix.ini"
};
ProcedureTraits traitsOf(const QString& procedure);

class WindowController;

// A piece of behaviour that several windows share (a browse list, a list
// format): it hears the window's life beside the controller.
class WindowPart {
public:
    explicit WindowPart(WindowController& owner) : owner_(owner) {}
    virtual ~WindowPart() = default;
    WindowController& owner() const { return owner_; }
    virtual void opened() {}
    // true: handled, the window stops handling the event there.
    virtual bool windowEvent(Event) { return false; }
    virtual bool fieldEvent(const QString&, FieldEvent) { return false; }
    virtual void closing() {}

private:
    WindowController& owner_;
};

// The completion of a procedure that was called: its response.
using Done = std::function<void(uint8_t response)>;

class WindowController : public QObject, protected WindowSink {
    Q_OBJECT
public:
    // `procedure` names it in error messages, settings sections and help.
    WindowController(const QString& procedure, const WindowDef& def);
    WindowController(const QString& procedure, const WindowDef& def, const ProcedureTraits& traits);
    ~WindowController() override;

    const QString& procedure() const { return procedure_; }
    const ProcedureTraits& traits() const { return traits_; }
    Window& window() { return *window_; }
    Control control(const QString& name) { return window_->control(name); }
    int thread() const { return thread_; }
    bool isOpen() const { return opened_ && !ended_; }
    // True while the window ends without asking its user: the program
    // ends, or a file it needed failed.
    bool endingUnasked() const { return unasked_ || forcedClose_; }

    // The controller's fields.
    uint8_t REQUEST = NoRequest;
    uint8_t ORIGINALREQUEST = NoRequest;
    uint8_t RESPONSE = NoResponse;
    uint8_t INSERTACTION = 2, CHANGEACTION = 1, DELETEACTION = 2, CANCELACTION = 3;
    QString OKCONTROL;
    QString FIRSTFIELD;
    int HISTORYKEY = (Qt::CTRL | Qt::Key_Apostrophe).toCombined();
    uint8_t* VCRREQUEST = nullptr;
    QString helpTopic;  // the procedure's name unless set

    // True while a window this one called is open: this one takes no input.
    bool waiting() const { return callees_ > 0; }
    // Runs `f` at once, or, while waiting, once the called window has ended
    // (after its completion).
    void whenNotWaiting(std::function<void()> f);

    // Ends the window with `response`, as its close box would.
    void close(uint8_t response);
    // Posts an event to this window.
    void post(Event e);
    // The window's timer in hundredths of a second; 0 stops it.
    void setTimer(int hundredths);
    int timer() const { return timerHundredths_; }
    // Keys heard as Event::AlertKey (window) or FieldEvent::AlertKey
    // (control); alertKey() is the key of the event being handled.
    void armAlertKey(int key, const QString& control = {});
    int alertKey() const { return alertKey_; }
    // Activates the window; iconized() reads and setIconized() sets its icon state.
    void activate();
    // True while the window is the active one: the active top-level window,
    // or the frame area's active child while the frame is active.
    bool isActiveWindow() const;
    bool iconized() const;
    void setIconized(bool on);
    // The current thread's instance of a data file.
    KeyedFile& file(const FileDef& def);
    // Opens a file for this procedure; it is closed at tear-down.
    Status openFile(const FileDef& def);
    // Opens the files in turn; at the first that does not open (told as
    // openFile tells it) the request is cancelled (response 2): false.
    bool openFilesOrCancel(std::initializer_list<const FileDef*> defs);
    void addPart(std::unique_ptr<WindowPart> part);
    template <class P> P* part() const
    {
        for (const auto& p : parts_)
            if (auto* x = dynamic_cast<P*>(p.get()))
                return x;
        return nullptr;
    }
    // Hands a field event to the controller as if the window had raised it
    // (parts use it to report their list's new selection).
    void raiseFieldEvent(const QString& control, FieldEvent e) { fieldEventFrom(control, e); }
    // Opens the help file at the window's topic.
    void help();

    // The controller that handles events on a thread now (the last opened).
    static WindowController* topOf(int thread);
    // After a fatal message about a file: the window whose work needed it
    // (the current thread's) closes at once, whatever its closeRequested()
    // says, and the rest of the program runs on. Nothing closes while a
    // set-up runs (a set-up that failed opens no window) or when the window
    // keeps running on file errors (the frame).
    static void closeForFileError();
    // The open windows, in the order they opened.
    static std::vector<WindowController*> openWindows();
    // The live controller of a procedure (the last one opened), or nullptr.
    static WindowController* find(const QString& procedure);
    // The program is ending: every open window but `keep` goes through its
    // own closing steps (close request, tear-down, files, placement), the
    // newest first, before the caller's own window ends. A window's refusal
    // cannot keep the program open; the caller decided that before.
    static void endOthers(WindowController* keep);

protected:
    // The procedure's own settings before its window opens (files, the
    // request's preparation). false stops: no window opens, RESPONSE stays.
    virtual bool setUp() { return true; }
    // The procedure's own tear-down, before the framework closes its files.
    virtual void tearDown() {}
    // False for a window that goes on after a fatal message about a file
    // (the frame, whose services tell their own failures).
    virtual bool closesOnFileError() const { return true; }
    // Window events; the base hands them to the parts and refreshes the
    // window on GainFocus. Refinements call it to chain.
    virtual void windowEvent(Event e);
    // Field events; the base routes Accepted to accepted(), NewSelection to
    // newSelection(), the others to the parts.
    virtual void fieldEvent(const QString& control, FieldEvent e);
    // A control was accepted; the base closes with a closing button's
    // response and opens help.
    virtual void accepted(const QString& control);
    // A new selection in a list, spin, drop list or sheet; the base hands it to the parts.
    virtual void newSelection(const QString& control);
    // A request to close; false refuses it.
    virtual bool closeRequested() { return true; }

    // WindowSink
    void fieldEventFrom(const QString& control, FieldEvent e) override;
    void alertKeyFrom(int key, const QString& control) override;
    bool closeFromUser() override;
    // Esc: presses the shown, enabled button that closes the window
    // cancelled (Cancel, Close), else closes it as its close box does.
    bool cancelFromUser() override;
    void activationChangedFrom() override;
    void stateChangedFrom(Qt::WindowStates old, Qt::WindowStates now) override;

private:
    friend void run(std::unique_ptr<WindowController> proc, Done done);
    friend void postEvent(Event e, int thread);
    friend void advanceTimers(qint64 msecs);
    friend void reviewActivation();
    void begin(Done done);
    // A refused second start asks the running window to come forward.
    void requestForward();
    bool singleInstanceAllows();
    void openWindow();
    void applyWallpaper();
    // The window this one opens over: its caller, else the active window.
    QWidget* opener() const;
    void dispatch(Event e);
    void handleClose();
    void beginClosing();
    void endNow();
    void finish();

    QString procedure_;
    ProcedureTraits traits_;
    std::unique_ptr<Window> window_;
    QPointer<QWidget> windowAlive_;  // null once a parent widget has deleted the window
    std::vector<std::unique_ptr<WindowPart>> parts_;
    std::vector<const FileDef*> opened_files_;
    int thread_ = kFrameThread;
    Done done_;
    QPointer<WindowController> caller_;
    QString savedProcedureName_;
    bool opened_ = false, ending_ = false, ended_ = false;
    bool setThread_ = false, setRunning_ = false, setBusy_ = false, duplicate_ = false;
    bool forcedClose_ = false;  // closed after a file error: closeRequested() is not asked
    bool fatalInSetUp_ = false; // a fatal file message was shown while the set-up ran: no window opens
    bool unasked_ = false;      // ended with the program (endNow)
    bool placementRestored_ = false;
    bool active_ = false;    // the active window when activation was last reviewed
    bool forward_ = false;   // the GainFocus being handled asks to come forward
    int timerHundredths_ = 0;
    QTimer timer_;
    qint64 nextTick_ = 0;  // manual timers: when the next tick falls due
    int alertKey_ = 0;
    int callees_ = 0;              // windows called from this one that are open
    bool calleeCounted_ = false;   // counted in the caller's callees_
    std::vector<std::function<void()>> afterWaiting_;
};

// Runs a procedure on the current thread: its set-up at once, its window
// after; `done` runs when it has ended, with CallResponse set (1 completed,
// 2 cancelled; 2 when it set none). `done` may run before run() returns
// (a set-up that refuses). The caller's window is disabled meanwhile.
void run(std::unique_ptr<WindowController> proc, Done done = {});
// The same with CallRequest := request first.
void call(std::unique_ptr<WindowController> proc, uint8_t request, Done done = {});
// Starts a procedure on a new thread; 0 when all thread numbers are taken.
int start(std::function<std::unique_ptr<WindowController>()> make);
// Posts an event to the window that handles events on a thread (0 the
// current one); nothing when it has none.
void postEvent(Event e, int thread = 0);

// Window timers run on real time unless a test drives them: then
// advanceTimers() moves time on and delivers the ticks that fall due, in
// order, calling `clockHook` with the milliseconds passed before each.
void setManualTimers(bool manual, std::function<void(qint64 msecs)> clockHook = {});
void advanceTimers(qint64 msecs);

// Runs after a window has opened (its running and busy flags set) and after
// one has closed (cleared), so that what depends on the flags follows at once.
void setWindowsChangedHook(std::function<void()> hook);

// Where a window's Help button goes: the help file and the topic.
void setHelpHandler(std::function<void(const QString& file, const QString& topic)> handler);

} // namespace ven
