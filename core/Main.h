// The application frame `Main`: the one window that lives from the
// program's start to its end, with its menu bar, toolbar, status bar and
// hot keys, from which every other window is started.
#pragma once

#include "core/FrameTimer.h"
#include "platform/WindowController.h"

#include <memory>

class QAction;
class QLabel;
class QMainWindow;
class QMdiArea;
class QSize;
class QToolBar;
class QToolButton;

namespace ven { class TrayIcon; }

namespace ven {

class Main : public WindowController, public FrameHost {
    Q_OBJECT
public:
    Main();
    ~Main() override;

    // Carries out a menu item or toolbar button by its number.
    void command(int number);
    // The action of a menu item or toolbar button (tests press them).
    QAction* action(int number) const;
    QMainWindow* frameWindow() const { return inner_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QLabel* statusZone(int zone) const;  // 1..7
    const FrameTimer& heart() const { return timer_; }

    // FrameHost
    void setTitle(const QString& title) override;
    void postToSelf(Event e) override { post(e); }
    void showAlarmStatus() override;
    void showDaylightSaving() override;
    void setKeyLockLetters() override;
    void applyFrameWallpapers() override;
    void setViewLogEnabled(bool on) override;
    Context& files() override;

protected:
    bool setUp() override;
    void tearDown() override;
    bool closesOnFileError() const override { return false; }
    void windowEvent(Event e) override;
    bool closeRequested() override;

private:
    void buildFrame();
    void keepSingleCopyGuard();
    void opened();
    void checkUserFile();
    void loggedIn();
    void startLog();
    void hotKey(int key);
    void runCommand(const char* procedure, int how, const QString& parameter, int action);
    void applyCommandStates();
    // The frame's first size holds every toolbar button and status zone.
    void fitFirstSize();
    // Grows the frame (within the screen) so that each open child window
    // lies whole in its area.
    void holdChildren();
    void growBy(QSize extra);
    void iconize();
    void restore();
    // The notification-area icon: made on the first iconize.
    TrayIcon& tray();
    void restoreFromTray();
    void closeFromTray();
    // Each tick: a vanished notification area gives the frame back; while
    // locked the frame stays iconized whoever restored it.
    void watchState();

    FrameTimer timer_;
    std::unique_ptr<TrayIcon> tray_;
    QMainWindow* inner_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::vector<QLabel*> zones_;
    CommandStates lastStates_{};  // the states last applied
    bool halted_ = false;
    void tellCloseRefused(const QString& by);
    bool closeRefusedTold_ = false;  // the asked close was refused and the alert has sounded  // the program has halted: the close takes no closing steps
};

// The frame's window definition.
const WindowDef& mainWindowDef();

} // namespace ven
