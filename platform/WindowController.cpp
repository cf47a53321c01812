// The life of a window procedure: set-up, single-instance rules, opening,
// events, closing and tear-down; procedure calls and posted events.
#include "platform/WindowController.h"

#include "platform/ErrorReporter.h"
#include "platform/SettingsFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace ven {
namespace {

// Every controller from the start of its set-up to its end, in the order
// they began: the last one of a thread handles that thread's events.
std::vector<WindowController*>& live()
{
    static std::vector<WindowController*> v;
    return v;
}

std::function<void()>& windowsChanged()
{
    static std::function<void()> h;
    return h;
}

void tellWindowsChanged()
{
    if (windowsChanged())
        windowsChanged()();
}

std::function<void(const QString&, const QString&)>& helpHandler()
{
    static std::function<void(const QString&, const QString&)> h;
    return h;
}

struct ManualTimers {
    bool on = false;
    qint64 now = 0;
    std::function<void(qint64)> hook;
};
ManualTimers& manual()
{
    static ManualTimers m;
    return m;
}

} // namespace

void reviewActivation();

// ------------------------------------------------------------ controller --

WindowController::WindowController(const QString& procedure, const WindowDef& def)
    : WindowController(procedure, def, traitsOf(procedure))
{
}

WindowController::WindowController(const QString& procedure, const WindowDef& def, const ProcedureTraits& traits)
    : procedure_(procedure)
    , traits_(traits)
{
    // Built after every member is in place: the window reports to the sink while it is built.
    window_ = std::make_unique<Window>(def, static_cast<WindowSink*>(this));
    windowAlive_ = window_.get();
    helpTopic = procedure;
    connect(&timer_, &QTimer::timeout, this, [this] { dispatch(Event::Timer); });
}

WindowController::~WindowController()
{
    auto& l = live();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    parts_.clear();
    if (!windowAlive_)
        (void)window_.release();  // deleted with the widget that held it
}

WindowController* WindowController::topOf(int thread)
{
    const auto& l = live();
    for (auto it = l.rbegin(); it != l.rend(); ++it)
        if ((*it)->thread_ == thread && (*it)->opened_ && !(*it)->ending_)
            return *it;
    return nullptr;
}

namespace {
// The windows whose set-ups run now, the innermost last (a set-up may call another window's).
std::vector<WindowController*> settingUp;
}

void WindowController::closeForFileError()
{
    // A fatal message met while a window is set up keeps that window from
    // opening: the message says it closes, and a window without its file
    // would only meet the file again ("used before it was opened").
    if (!settingUp.empty()) {
        if (settingUp.back()->closesOnFileError())
            settingUp.back()->fatalInSetUp_ = true;
        return;
    }
    WindowController* w = topOf(currentThread());
    if (!w || !w->closesOnFileError())
        return;
    w->forcedClose_ = true;
    w->close(RequestCancelled);
}

std::vector<WindowController*> WindowController::openWindows()
{
    std::vector<WindowController*> v;
    for (WindowController* c : live())
        if (c->isOpen())
            v.push_back(c);
    return v;
}

WindowController* WindowController::find(const QString& procedure)
{
    const auto& l = live();
    for (auto it = l.rbegin(); it != l.rend(); ++it)
        if ((*it)->procedure_ == procedure && !(*it)->ended_)
            return *it;
    return nullptr;
}

void WindowController::begin(Done done)
{
    thread_ = currentThread();
    caller_ = topOf(thread_);
    retainThread(thread_);
    live().push_back(this);
    done_ = std::move(done);
    ThreadScope scope(thread_);

    // 1. The name for error messages, the request and the defaults.
    savedProcedureName_ = errors().procedure();
    errors().setProcedure(procedure_);
    REQUEST = CallRequest;
    ORIGINALREQUEST = REQUEST;
    // 2. The single-instance check: a refusal opens no window and no file.
    if (!singleInstanceAllows()) {
        ending_ = true;
        finish();
        return;
    }
    // 3. The request is consumed.
    CallRequest = NoRequest;
    CallResponse = NoResponse;
    // 4. The procedure's own settings.
    VCRREQUEST = &CallVcrRequest;
    settingUp.push_back(this);
    const bool setUpDone = setUp();
    settingUp.pop_back();
    if (fatalInSetUp_)
        RESPONSE = RequestCancelled;
    if (!setUpDone || fatalInSetUp_) {
        ending_ = true;
        tearDown();
        finish();
        return;
    }
    // 5. The window opens.
    openWindow();
}

bool WindowController::singleInstanceAllows()
{
    const bool check = REQUEST != SelectRecord;
    switch (traits_.single) {
    case SingleRule::Window:
        if (!check)
            return true;
        if (Running.get(procedure_)) {
            if (WindowController* w = topOf(Thread.get(procedure_) ? Thread.get(procedure_) : currentThread()))
                w->requestForward();
            return false;
        }
        break;
    case SingleRule::Form:
        if (!check)
            return true;
        if (Thread.get(procedure_)) {
            if (WindowController* w = topOf(Thread.get(procedure_)))
                w->requestForward();
            return false;
        }
        break;
    case SingleRule::None:
    case SingleRule::SelfClosing:
        return true;
    }
    Thread[procedure_] = uint8_t(thread_);
    setThread_ = true;
    return true;
}

void WindowController::openWindow()
{
    QWidget* outer = window_->outer();
    window_->setOpener(opener());
    window_->applyPlacement();  // a saved placement, restored next, still wins
    if (traits_.keepsPlacement)
        placementRestored_ = settingsFile().restorePlacement(procedure_, outer);
    applyWallpaper();
    for (auto& p : parts_)
        p->opened();
    // The window opens showing its bound values as the set-up left them.
    window_->display();
    // The caller waits from here on: the focus its entry loses as this
    // window shows is no acceptance of it.
    if (caller_ && caller_->window_) {
        ++caller_->callees_;
        calleeCounted_ = true;
        caller_->window_->outer()->setEnabled(false);
    }
    if (traits_.showsWindow) {
        outer->show();
        if (!placementRestored_)
            window_->applyPlacement();  // again, now that the window's frame is known
        else
            window_->keepOnArea();  // a place saved on a larger screen
    }
    opened_ = true;
    if (window_->def().timer > 0 && timerHundredths_ == 0)
        setTimer(window_->def().timer);
    if (!FIRSTFIELD.isEmpty())
        control(FIRSTFIELD).select();
    else
        window_->focusOpeningControl();
    if (traits_.showsWindow)
        activate();
    dispatch(Event::OpenWindow);
    reviewActivation();
}

QWidget* WindowController::opener() const
{
    if (caller_ && caller_->window_)
        return caller_->window_->outer();
    QWidget* active = QApplication::activeWindow();
    if (!active || active == window_->outer() || (active->windowFlags() & Qt::Popup) == Qt::Popup)
        return nullptr;
    return active;
}

void WindowController::applyWallpaper()
{
    QString image, style;
    switch (traits_.wallpaper) {
    case WallpaperKind::None: return;
    case WallpaperKind::Browse: image = BrWallPaper, style = BrWallPaperStyle; break;
    case WallpaperKind::Form: image = FrWallPaper, style = FrWallPaperStyle; break;
    case WallpaperKind::Other: image = WdWallPaper, style = WdWallPaperStyle; break;
    case WallpaperKind::FixedTiled:
    case WallpaperKind::FixedStretched:
        image = QDir(Program_Path.isEmpty() ? QDir::currentPath() : Program_Path).filePath("Window_Bgr.jpg");
        style = traits_.wallpaper == WallpaperKind::FixedTiled ? "Tiled" : "Stretched";
        break;
    }
    if (!image.trimmed().isEmpty())
        window_->setWallpaper(image.trimmed());
    const WallpaperStyle s = wallpaperStyle(style);
    window_->setWallpaperFlags(s.tiled, s.centered, s.stretched);
}

void WindowController::dispatch(Event e)
{
    if (!opened_ || ending_)
        return;
    ThreadScope scope(thread_);
    switch (e) {
    case Event::OpenWindow: {
        bool keepsRunning = traits_.single == SingleRule::Window || traits_.single == SingleRule::SelfClosing;
        const bool busySingle = traits_.busy && traits_.busyKeptSingle;
        // A lookup of a list whose own copy is open answers beside it and
        // leaves that copy's flag alone.
        if (traits_.single == SingleRule::Window && REQUEST == SelectRecord && Running.get(procedure_))
            keepsRunning = false;
        // A second instance whose flag is already set closes itself and
        // leaves the flag to the instance that set it.
        if ((keepsRunning && Running.get(procedure_)) || (busySingle && Busy.get(traits_.busy))) {
            duplicate_ = true;
            post(Event::CloseWindow);
            return;
        }
        if (keepsRunning) {
            Running[procedure_] = uint8_t(traits_.runningHoldsFrame ? kFrameThread : thread_);
            setRunning_ = true;
        }
        if (traits_.busy) {
            // A flag that several forms share counts the open ones, so that
            // the first to close leaves it set while another is still open.
            uint8_t& busy = Busy[traits_.busy];
            busy = traits_.busyKeptSingle ? uint8_t(thread_) : uint8_t(busy + 1);
            setBusy_ = true;
        }
        tellWindowsChanged();
        windowEvent(e);
        break;
    }
    case Event::CloseWindow:
        handleClose();
        break;
    case Event::GainFocus:
        windowEvent(e);
        // Only a second start brings a window forward: becoming the active
        // window, or a refresh posted to it, leaves it where it is.
        if (forward_ && (traits_.single == SingleRule::Window || traits_.single == SingleRule::Form)) {
            if (iconized())
                setIconized(false);
            activate();
        }
        break;
    default:
        windowEvent(e);
        break;
    }
}

void WindowController::windowEvent(Event e)
{
    if (e == Event::GainFocus)
        window_->display();
    for (auto& p : parts_)
        if (p->windowEvent(e))
            return;
}

void WindowController::fieldEvent(const QString& control, FieldEvent e)
{
    switch (e) {
    case FieldEvent::Accepted: accepted(control); return;
    case FieldEvent::NewSelection: newSelection(control); return;
    default: break;
    }
    for (auto& p : parts_)
        if (p->fieldEvent(control, e))
            return;
}

void WindowController::accepted(const QString& control)
{
    for (auto& p : parts_)
        if (p->fieldEvent(control, FieldEvent::Accepted))
            return;
    if (const ControlDef* d = window_->controlDef(control)) {
        if (d->closes)
            close(d->closes);
        else if (d->flags & HelpButton)
            help();
    }
}

void WindowController::newSelection(const QString& control)
{
    for (auto& p : parts_)
        if (p->fieldEvent(control, FieldEvent::NewSelection))
            return;
}

void WindowController::close(uint8_t response)
{
    RESPONSE = response;
    post(Event::CloseWindow);
}

void WindowController::post(Event e)
{
    QTimer::singleShot(0, this, [this, e] { dispatch(e); });
}

void WindowController::requestForward()
{
    QTimer::singleShot(0, this, [this] {
        forward_ = true;
        dispatch(Event::GainFocus);
        forward_ = false;
    });
}

void WindowController::handleClose()
{
    if (ending_)
        return;
    if (!duplicate_ && !forcedClose_ && !closeRequested())
        return;  // refused
    beginClosing();
    // The window goes at the next turn of the event loop, so that no
    // widget is destroyed inside its own event handler.
    QTimer::singleShot(0, this, [this] { finish(); });
}

void WindowController::beginClosing()
{
    if (setRunning_)
        Running[procedure_] = 0;
    if (setBusy_) {
        uint8_t& busy = Busy[traits_.busy];
        busy = traits_.busyKeptSingle || busy == 0 ? 0 : uint8_t(busy - 1);
    }
    ending_ = true;
    tellWindowsChanged();
    for (auto& p : parts_)
        p->closing();
    tearDown();
}

void WindowController::endNow()
{
    if (ending_ || ended_ || !opened_)
        return;
    ThreadScope scope(thread_);
    unasked_ = true;
    if (!duplicate_)
        (void)closeRequested();  // its own closing steps (saving what it keeps)
    beginClosing();
    finish();
}

void WindowController::endOthers(WindowController* keep)
{
    // Each end may run a caller's completion, which may open or close
    // others: take the newest open window afresh every time.
    for (int guard = 0; guard < 1000; ++guard) {
        WindowController* newest = nullptr;
        for (WindowController* c : live())
            if (c != keep && c->isOpen() && !c->ending_)
                newest = c;
        if (!newest)
            return;
        newest->endNow();
    }
}

void WindowController::finish()
{
    ThreadScope scope(thread_);
    // Tear-down: files, Thread: flag, placement, the name for messages.
    for (auto it = opened_files_.rbegin(); it != opened_files_.rend(); ++it)
        file(**it).close();
    opened_files_.clear();
    if (setThread_)
        Thread[procedure_] = 0;
    if (opened_ && traits_.keepsPlacement)
        settingsFile().savePlacement(procedure_, window_->outer());
    errors().setProcedure(savedProcedureName_);
    timer_.stop();
    timerHundredths_ = 0;
    if (opened_) {
        window_->allowClose_ = true;
        window_->outer()->hide();
    } else {
        window_->leaveFrameArea();
    }
    ended_ = true;
    CallResponse = RESPONSE ? RESPONSE : uint8_t(RequestCancelled);
    auto& l = live();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    if (caller_ && caller_->window_) {
        if (calleeCounted_)
            --caller_->callees_;
        if (caller_->callees_ == 0)
            caller_->window_->outer()->setEnabled(true);
        caller_->activate();
    }
    const uint8_t response = CallResponse;
    if (Done d = std::move(done_))
        d(response);
    if (caller_ && caller_->callees_ == 0 && !caller_->afterWaiting_.empty()) {
        auto after = std::move(caller_->afterWaiting_);
        caller_->afterWaiting_.clear();
        for (auto& f : after)
            if (caller_ && caller_->isOpen())
                f();
    }
    releaseThread(thread_);
    reviewActivation();
    deleteLater();
}

void WindowController::setTimer(int hundredths)
{
    timerHundredths_ = std::max(0, hundredths);
    timer_.stop();
    if (timerHundredths_ == 0)
        return;
    if (manual().on)
        nextTick_ = manual().now + qint64(timerHundredths_) * 10;
    else
        timer_.start(timerHundredths_ * 10);
}

void WindowController::whenNotWaiting(std::function<void()> f)
{
    if (callees_ == 0)
        f();
    else
        afterWaiting_.push_back(std::move(f));
}

void WindowController::armAlertKey(int key, const QString& control)
{
    window_->armAlertKey(key, control);
}

void WindowController::activate()
{
    QWidget* outer = window_->outer();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(outer); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        outer->raise();  // the offscreen platform has no stacking to change
    outer->activateWindow();
}

bool WindowController::isActiveWindow() const
{
    QWidget* outer = window_->outer();
    if (!outer->isVisible())
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(outer); sub && sub->mdiArea())
        return sub->mdiArea()->activeSubWindow() == sub && sub->isActiveWindow();
    return outer->isActiveWindow();
}

bool WindowController::iconized() const
{
    return window_->outer()->windowState() & Qt::WindowMinimized;
}

void WindowController::setIconized(bool on)
{
    QWidget* outer = window_->outer();
    Qt::WindowStates s = outer->windowState();
    s.setFlag(Qt::WindowMinimized, on);
    outer->setWindowState(s);
}

KeyedFile& WindowController::file(const FileDef& def)
{
    return threadContext(thread_).file(def);
}

Status WindowController::openFile(const FileDef& def)
{
    Status st = file(def).open();
    if (st)
        opened_files_.push_back(&def);
    else
        errors().show(st);
    return st;
}

bool WindowController::openFilesOrCancel(std::initializer_list<const FileDef*> defs)
{
    for (const FileDef* def : defs)
        if (!openFile(*def)) {
            RESPONSE = RequestCancelled;
            return false;
        }
    return true;
}

void WindowController::addPart(std::unique_ptr<WindowPart> part)
{
    parts_.push_back(std::move(part));
}

void WindowController::help()
{
    if (helpHandler())
        helpHandler()(QStringLiteral("VenHelp.hlp"), helpTopic);
}

// ------------------------------------------------------------ window sink --

void WindowController::fieldEventFrom(const QString& control, FieldEvent e)
{
    // A window waiting for one it called hears nothing from its controls
    // (the focus leaving an entry as the window is disabled included).
    if (!opened_ || ending_ || callees_ > 0)
        return;
    ThreadScope scope(thread_);
    fieldEvent(control, e);
}

void WindowController::alertKeyFrom(int key, const QString& control)
{
    if (!opened_ || ending_ || callees_ > 0)
        return;
    ThreadScope scope(thread_);
    alertKey_ = key;
    // A key that steps or recalls a value first takes the typed text as
    // the field's value, and the text boxes' changed texts; a text that
    // does not read stays as typed, to be told when the field is left.
    window_->takeTextBoxes(control);
    if (const QString typed = control.isEmpty() ? window_->focusedControl() : control; !typed.isEmpty())
        window_->update(typed, false);
    if (control.isEmpty())
        dispatch(Event::AlertKey);
    else
        fieldEvent(control, FieldEvent::AlertKey);
}

bool WindowController::closeFromUser()
{
    // A window manager takes Alt+F4 for itself and sends its close instead
    // (the close box's too): a top-level window that arms Alt+F4 hears it
    // as that key, whose meaning its procedure gives; any other closes.
    if (const int altF4 = (Qt::ALT | Qt::Key_F4).toCombined(); !window_->isMdiChild() && window_->isAlertKeyArmed(altF4))
        alertKeyFrom(altF4, {});
    else
        dispatch(Event::CloseWindow);
    return false;  // the controller hides and ends the window itself
}

bool WindowController::cancelFromUser()
{
    if (!traits_.escCancels)
        return false;
    if (!opened_ || ending_ || callees_ > 0)
        return true;
    // The window's cancel: its button that closes it cancelled, else its
    // Cancel button; while that button is hidden or disabled Esc does
    // nothing. A window without one closes as by its close box.
    QAbstractButton* cancel = nullptr;
    bool hasCancel = false;
    for (int pass = 0; pass < 2 && !hasCancel; ++pass)
        for (const QString& name : window_->controlNames()) {
            const ControlDef* d = window_->controlDef(name);
            const bool fits = d->kind == Kind::Button
                           && (pass == 0 ? d->closes == RequestCancelled : name == QLatin1String("Cancel"));
            if (!fits)
                continue;
            hasCancel = true;
            auto* b = control(name).as<QAbstractButton>();
            if (b && b->isVisible() && b->isEnabled()) {
                cancel = b;
                break;
            }
        }
    if (cancel)
        cancel->click();
    else if (!hasCancel)
        dispatch(Event::CloseWindow);
    return true;
}

void WindowController::activationChangedFrom()
{
    reviewActivation();
}

// Which window is the active one is read at the next turn of the event
// loop, once the window system's activation events and the frame area's
// change of active child have all arrived; each window that has become
// the active one since the last review hears GainFocus.
void reviewActivation()
{
    static bool queued = false;
    if (queued)
        return;
    queued = true;
    QTimer::singleShot(0, qApp, [] {
        queued = false;
        std::vector<QPointer<WindowController>> all(live().begin(), live().end());
        for (const QPointer<WindowController>& c : all) {
            if (!c)
                continue;
            const bool active = c->opened_ && !c->ending_ && c->isActiveWindow();
            const bool became = active && !c->active_;
            c->active_ = active;
            if (became)
                c->dispatch(Event::GainFocus);
        }
    });
}

void WindowController::stateChangedFrom(Qt::WindowStates old, Qt::WindowStates now)
{
    if ((now & Qt::WindowMinimized) && !(old & Qt::WindowMinimized))
        dispatch(Event::Iconized);
    else if ((old & Qt::WindowMinimized) && !(now & Qt::WindowMinimized))
        dispatch(Event::Restore);
    if ((now & Qt::WindowMaximized) && !(old & Qt::WindowMaximized)) {
        dispatch(Event::Maximize);
        dispatch(Event::Maximized);
    }
}

// -------------------------------------------------------------- calls ---

void run(std::unique_ptr<WindowController> proc, Done done)
{
    WindowController* p = proc.release();  // owned by the framework until it ends
    p->begin(std::move(done));
}

void call(std::unique_ptr<WindowController> proc, uint8_t request, Done done)
{
    CallRequest = request;
    run(std::move(proc), std::move(done));
}

int start(std::function<std::unique_ptr<WindowController>()> make)
{
    return startThread([make = std::move(make)] { run(make()); });
}

void postEvent(Event e, int thread)
{
    if (thread == 0)
        thread = currentThread();
    if (WindowController* w = WindowController::topOf(thread))
        w->post(e);
}

void setManualTimers(bool on, std::function<void(qint64)> hook)
{
    manual().on = on;
    manual().hook = std::move(hook);
}

void advanceTimers(qint64 msecs)
{
    ManualTimers& m = manual();
    const qint64 target = m.now + msecs;
    for (;;) {
        WindowController* due = nullptr;
        for (WindowController* c : live())
            if (c->timer() > 0 && c->isOpen() && c->nextTick_ <= target && (!due || c->nextTick_ < due->nextTick_))
                due = c;
        if (!due)
            break;
        if (m.hook && due->nextTick_ > m.now)
            m.hook(due->nextTick_ - m.now);
        m.now = std::max(m.now, due->nextTick_);
        due->nextTick_ += qint64(due->timer()) * 10;
        due->dispatch(Event::Timer);
    }
    if (m.hook && target > m.now)
        m.hook(target - m.now);
    m.now = target;
}

void setWindowsChangedHook(std::function<void()> hook)
{
    windowsChanged() = std::move(hook);
}

void setHelpHandler(std::function<void(const QString&, const QString&)> handler)
{
    helpHandler() = std::move(handler);
}

} // namespace ven
