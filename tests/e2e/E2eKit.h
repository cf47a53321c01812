// The end-to-end kit: the real program in a new data folder, on an X
// server of its own (Xvfb) with a window manager (openbox), at a chosen
// fake time (libfaketime), driven by real X input (xdotool) and read back
// as a person would see or keep it: windows and their places (through the
// program's inspector, platform/Inspector.h), what lists and entries draw,
// screenshots, the settings file, the log, the data files through the
// engine and the process's exit status.
//
// Every wait is for a condition with a bounded timeout; a failed test keeps
// a screenshot and the program's output in build/tests/e2e-failures/.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

// gtest shows a QString as its text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace ven::e2e {

inline constexpr QSize kDefaultScreen{1600, 1200};

// An X server with a window manager, for one test.
class Display {
public:
    // A screen of `size` pixels (the default is the kit's 1600 x 1200).
    explicit Display(QSize size = kDefaultScreen);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    QString name() const { return name_; }  // ":123"
    bool ok() const { return ok_; }
    // Runs an X client (xdotool, xprop, import) on this display; its output.
    QString run(const QString& program, const QStringList& args, int* exitCode = nullptr) const;
    // Starts another application's X client (xmessage) that stays on the
    // display until the display ends, for the program to lose and regain
    // the activation to.
    void startClient(const QString& program, const QStringList& args);

private:
    QString name_;
    std::unique_ptr<QProcess> xvfb_, wm_;
    std::vector<std::unique_ptr<QProcess>> clients_;
    bool ok_ = false;
};

struct Found {
    QJsonObject json;
    QRect rect() const;
    QString text() const { return json.value("text").toString(); }
    QString title() const { return json.value("title").toString(); }
    explicit operator bool() const { return !json.isEmpty(); }
};

class E2eKit {
public:
    explicit E2eKit(QSize screen = kDefaultScreen);
    ~E2eKit();
    E2eKit(const E2eKit&) = delete;
    E2eKit& operator=(const E2eKit&) = delete;

    // --- the folder, before the start ---
    QString folder(const QString& name = {}) const;
    // A folder that has been started before: an owner profile complete, so
    // that the frame opens with no configuration window.
    void prepareFolder();
    // Writes records through the engine into the folder's data files
    // (`write` opens the files it needs in the context it is given).
    void seed(const std::function<void()>& write);
    // One settings entry in "Vendrolix.ini".
    void setIni(const QString& section, const QString& entry, const QString& value);

    // --- the program ---
    // Starts the program in the folder at `fakeTime` ("yyyy-MM-dd hh:mm:ss",
    // the clock running from there) and waits until it answers.
    void start(const QString& fakeTime = QStringLiteral("2026-12-10 09:00:00"));
    bool running() const;
    // The program's process id (0 when it is not running), to stop and
    // continue it as a suspended machine would.
    qint64 pid() const;
    // Waits for the program to end; its exit code, or nullopt on timeout
    // or a crash (a crash fails the test with its signal).
    std::optional<int> waitExit(int ms = 15000);
    QString output() const;  // what the program printed
    // Waits for the program to end and checks that it ended in order:
    // status 0, "Vendrolix:Running=No" and the log-out line in the log.
    void expectOrderlyEnd(int ms = 15000);

    // --- what a person sees ---
    QJsonValue ask(const QString& question) const;
    QJsonArray windows() const;
    // A window by its title, the start of its title, or its procedure's name
    // ("Main" is the frame, whatever its title shows); every call that names
    // a window takes the same.
    Found window(const QString& title) const;
    Found frame() const;                        // the frame, whatever its title shows
    Found waitWindow(const QString& title, int ms = 10000) const;
    bool waitGone(const QString& title, int ms = 10000) const;
    // A top-level window's frame (title bar and borders) where the window
    // manager draws it, read from the X server; a child's as the frame draws it.
    QRect frameOf(const Found& w) const;
    Found activeWindow() const;
    // A window's control by name, else by its shown text.
    Found control(const QString& window, const QString& nameOrText) const;
    QJsonArray controls(const QString& window) const;
    // The rows of a list in view, each cell as drawn.
    QJsonArray rows(const QString& window, const QString& list) const;
    QJsonArray clipped(const QString& window = {}) const;
    QJsonObject focus() const;
    QString clipboard() const;
    QRect screen() const;
    // The X server's own idea of the active window's title (the WM's).
    QString activeTitle() const;
    // Waits for `cond` (checked every 50 ms); false after `ms`, and then,
    // unless `mustHappen` is false, the test fails naming `what`.
    bool waitFor(const std::function<bool()>& cond, const QString& what, int ms = 10000, bool mustHappen = true) const;

    // --- a person's input, through the X server ---
    void key(const QString& keys) const;     // "Escape", "alt+F4", "ctrl+shift+Tab"
    void type(const QString& text) const;    // typed at the cursor
    void click(const QPoint& at, int button = 1) const;
    void click(const Found& f, int button = 1) const { click(f.rect().center(), button); }
    // Clicks the control named or showing `nameOrText` in `window`.
    void clickControl(const QString& window, const QString& nameOrText, int button = 1) const;
    // Opens the frame's menu by its caption ("&File") and clicks an item
    // ("E&xit"); a sub-menu's item is reached with {"Doc&uments", "&Browse Documents"}.
    void menu(const QString& caption, const QStringList& path) const;
    // Starts a procedure by name on a thread of its own, with a request
    // (1 insert ... 4 select) and a start parameter, as the frame's
    // commands do (the inspector's `start`).
    void startProcedure(const QString& name, int request = 0, const QString& parameter = {}) const;
    // Makes the window the active one as a task bar does (the WM activates it).
    void activate(const QString& title) const;
    // The window manager's close of the active window (its Alt+F4).
    void closeByWindowManager(const QString& title) const;
    // A click on a window's close box: the WM's for a top-level window,
    // the frame's for a window inside it.
    void clickCloseBox(const QString& title) const;

    // --- what is kept ---
    QString ini(const QString& section, const QString& entry, const QString& def = {}) const;
    QString log() const;  // the activity log
    void screenshot(const QString& file) const;

    Display& display() { return display_; }

private:
    QString binary() const;
    void keepFailure();

    Display display_;
    QTemporaryDir dir_;
    QString socket_;
    std::unique_ptr<QProcess> program_;
};

} // namespace ven::e2e
