// The application frame: its set-up, commands, heartbeat and closing.
#include "core/Main.h"
#include "core/UserPasswords.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/DateHelpers.h"
#include "core/FrameCommands.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "core/OwnerProfile.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/TrayIcon.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/SettingsFile.h"
#include "platform/Shell.h"
#include "platform/TellOnce.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace ven {
namespace {

// The MDI area wearing the frame's wallpaper in its style.
class WallpaperArea : public QMdiArea {
public:
    void setWallpaper(const QString& file, const QString& style)
    {
        image_ = QPixmap();
        if (!file.trimmed().isEmpty())
            image_.load(findPictureFile(file.trimmed()));
        style_ = wallpaperStyle(style);
        viewport()->update();
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QMdiArea::paintEvent(e);
        if (image_.isNull())
            return;
        QPainter p(viewport());
        paintWallpaper(p, viewport()->rect(), image_, style_.tiled, style_.centered, style_.stretched);
    }

private:
    QPixmap image_;
    WallpaperStyle style_;
};

// The toolbar wearing its own wallpaper in its style, under its buttons.
class WallpaperToolBar : public QToolBar {
public:
    using QToolBar::QToolBar;
    void setWallpaper(const QString& file, const QString& style)
    {
        image_ = QPixmap();
        if (!file.trimmed().isEmpty())
            image_.load(findPictureFile(file.trimmed()));
        style_ = wallpaperStyle(style);
        update();
    }
    bool hasWallpaper() const { return !image_.isNull(); }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QToolBar::paintEvent(e);
        if (image_.isNull())
            return;
        QPainter p(this);
        paintWallpaper(p, rect(), image_, style_.tiled, style_.centered, style_.stretched);
    }

private:
    QPixmap image_;
    WallpaperStyle style_;
};

// The numeric keypad's decimal key types a period, whatever the locale
// makes of it, for as long as the program runs.
class KeypadPeriod : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            if ((k->modifiers() & Qt::KeypadModifier) && (k->key() == Qt::Key_Comma || k->key() == Qt::Key_Period)
                && k->text() != ".") {
                QKeyEvent period(k->type(), Qt::Key_Period, k->modifiers(), ".", k->isAutoRepeat(), ushort(k->count()));
                QApplication::sendEvent(o, &period);
                return true;
            }
        }
        return false;
    }
};

// The three lines that Alt+F4 puts on the clipboard.
QString dayNumberLines(int32_t today)
{
    return QStringLiteral("01.01.1900 = %1\r\n31.12.2099 = %2\r\n%3 = %4")
        .arg(dayNumber(1900, 1, 1))
        .arg(dayNumber(2099, 12, 31))
        .arg(formatDate(today, u"D06."))
        .arg(today);
}

constexpr int kZoneWidths[] = {-1, 150, 70, 90, 7, 7, 7};

} // namespace

const WindowDef& mainWindowDef()
{
    static const WindowDef def = [] {
        WindowDef d;
        d.title = "My Personal Vendrolix";
        d.w = 360;
        d.h = 220;
        d.icon = "Vendrolix.ico";
        d.font = FontDef{"Tahoma", 10};
        d.resizable = true;
        return d;
    }();
    return def;
}

Main::Main()
    : WindowController("Main", mainWindowDef())
    , timer_(*this)
{
}

Main::~Main()
{
    if (frameArea() == mdi_)
        setFrameArea(nullptr);
}

Context& Main::files()
{
    return threadContext(thread());
}

QLabel* Main::statusZone(int zone) const
{
    return zone >= 1 && zone <= int(zones_.size()) ? zones_[zone - 1] : nullptr;
}

QAction* Main::action(int number) const
{
    auto it = actions_.find(number);
    return it == actions_.end() ? nullptr : it->second;
}

// ------------------------------------------------------------- set-up ----

bool Main::setUp()
{
    ReadFrameSettings();
    ActivityLogFileName();
    const int32_t today = ven::clock().today();
    timer_.start(today);
    DateLine = dateLineFor(today);

    // One copy at a time, unless the user says otherwise.
    if (readIni(ProgramIni(), "Main", "Vendrolix:Running", {}) == u"Yes") {
        const int answer = messageBox("One copy of Vendrolix may be running already or|it wasn't closed properly the "
                                      "last time!||Do you wish to continue?",
                                      "Start Vendrolix?", Icon::Question, "&Yes|&No", 2);
        if (answer == 2) {
            // A halt: the program ends here and writes nothing.
            HaltProgram();
            return false;
        }
    } else {
        keepSingleCopyGuard();
    }
    // A sound that cannot be played is told in the log, never shown.
    setShellFailureHook([](const QString& why) { TellLineResult(ActivityLogLine(why)); });
    static KeypadPeriod keypad;
    qApp->installEventFilter(&keypad);

    CallRequest = 0;
    CallResponse = 0;
    buildFrame();
    // The window manager's close is the frame's Alt+F4 from the start, so
    // that it does nothing while the log-in is open.
    armAlertKey((Qt::ALT | Qt::Key_F4).toCombined());
    // The commands follow every window's opening and closing at once, and
    // a child window that opens is held whole.
    setWindowsChangedHook([self = QPointer<Main>(this)] {
        if (!self)
            return;
        self->applyCommandStates();
        self->holdChildren();
    });
    return true;
}

// Marks this copy as running. When the settings file cannot take the mark
// the guard against a second copy cannot be kept: that is said once, even
// when the file's failure was told already; later writes failing the same
// way stay silent.
void Main::keepSingleCopyGuard()
{
    const QString ini = ProgramIni();
    QString why;
    if (writeIni(ini, "Main", "Vendrolix:Running", "Yes", &why))
        return;
    tellOnce(QStringLiteral("single-copy guard\n") + ini,
             {QStringLiteral("Vendrolix cannot mark itself as running in %1:|%2.||A second copy started now will not "
                             "be warned that this one is running.")
                  .arg(QDir::toNativeSeparators(ini), why)},
             QStringLiteral("Warning!"), Icon::Exclamation);
    tellOnce(settingsFailureCause(ini, why), {});
}

void Main::buildFrame()
{
    inner_ = new QMainWindow(&window());
    inner_->setWindowFlags(Qt::Widget);
    auto* layout = new QVBoxLayout(&window());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inner_);
    auto* area = new WallpaperArea;
    // A child larger than the frame (the frame's first size is small) can
    // be scrolled to instead of lying out of reach.
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_ = area;
    mdi_->setObjectName(QStringLiteral("Area"));
    inner_->setCentralWidget(mdi_);
    setFrameArea(mdi_);

    // Menu bar.
    std::map<QString, QMenu*> menus;
    for (const MenuEntry& m : frameMenu()) {
        QMenu*& menu = menus[m.menu];
        if (!menu)
            menu = inner_->menuBar()->addMenu(m.menu);
        QMenu* into = menu;
        if (*m.submenu) {
            QMenu*& sub = menus[QString(m.menu) + '/' + m.submenu];
            if (!sub)
                sub = menu->addMenu(m.submenu);
            into = sub;
        }
        if (m.number == 0) {
            into->addSeparator();
            continue;
        }
        QAction* a = into->addAction(m.text);
        actions_[m.number] = a;
        connect(a, &QAction::triggered, this, [this, n = m.number] { command(n); });
    }
    // The Window menu also lists the open child windows.
    if (QMenu* win = menus["&Window"]) {
        QAction* listStart = win->addSeparator();
        connect(win, &QMenu::aboutToShow, this, [this, win, listStart] {
            const auto all = win->actions();
            for (qsizetype i = all.indexOf(listStart) + 1; i < all.size(); ++i)
                win->removeAction(all[i]);
            for (QMdiSubWindow* sub : mdi_->subWindowList())
                connect(win->addAction(sub->windowTitle()), &QAction::triggered, mdi_,
                        [this, sub] { mdi_->setActiveSubWindow(sub); });
        });
    }

    // Toolbar.
    toolbar_ = new WallpaperToolBar(QStringLiteral("Toolbar"), inner_);
    toolbar_->setObjectName(QStringLiteral("Toolbar"));
    inner_->addToolBar(toolbar_);
    toolbar_->setMovable(false);
    for (const ToolButton& b : frameToolbar()) {
        if (b.number == kBellImage) {
            auto* bell = new QLabel;
            bell->setPixmap(QIcon(findPictureFile(b.icon)).pixmap(24, 24));
            actions_[b.number] = toolbar_->addWidget(bell);
            continue;
        }
        QAction* a = *b.icon ? toolbar_->addAction(QIcon(findPictureFile(b.icon)), b.text) : toolbar_->addAction(b.text);
        a->setToolTip(b.tip);
        actions_[b.number] = a;
        connect(a, &QAction::triggered, this, [this, n = b.number] { command(n); });
    }

    // Status bar: seven zones. Zone 1 takes what the others leave: its text
    // asks for its width but gives way first when the frame is narrowed, so
    // it never pushes the others aside; zone 4, the folder, is as wide as
    // its path needs; the others have their widths.
    const DialogUnits& du = window().units();
    for (int w : kZoneWidths) {
        auto* z = new QLabel;
        z->setObjectName(QStringLiteral("Zone%1").arg(zones_.size() + 1));
        if (w < 0) {
            z->setMinimumWidth(1);
        } else if (zones_.size() == 3) {
            z->setMinimumWidth(du.x(w));
        } else {
            z->setFixedWidth(du.x(w));
        }
        inner_->statusBar()->addWidget(z, w < 0 ? 1 : 0);
        zones_.push_back(z);
    }
}

void Main::opened()
{
    CloseRequested = 0;
    QApplication::setWindowIcon(QIcon(findPictureFile("Tarn-Vel.ico")));
    if (window().windowIcon().isNull())
        window().setWindowIcon(QApplication::windowIcon());
    applyFrameWallpapers();
    QWidget* outer = window().outer();
    outer->setMinimumSize(window().units().x(360), window().units().y(220));
    PlayAlertSound();
    applyCommandStates();
    FrameRight = outer->x() + outer->width();
    FrameBottom = outer->y() + outer->height();
    setViewLogEnabled(Log_Activity != u"N");

    VersionLabel = QStringLiteral("Vendrolix ver. %1.%2")
                       .arg(int(calendarDate(BuildDate)->year()) - 1999)
                       .arg(WeekNumber(BuildDate));
    CurrentUser = logOnName().left(39);
    if (CurrentUser.isEmpty())
        CurrentUser = "Nomen Nescio";
    startLog();
    LastOn = ven::clock().today();
    writeIniTold(ProgramIni(), "Main", "LastOn", QString::number(LastOn));

    checkUserFile();
}

// The rest of the set-up, once the user is known.
void Main::loggedIn()
{
    if (Log_Activity != u"N")
        TellLineResult(ActivityLogLine("Login: " + CurrentUser + " in " + Program_Path));
    CheckDaylightSaving(files(), ven::clock().now(), timer_.nextDls());
    // From now on the frame watches: an alarm that comes due gets its window.
    AlarmsWatchedSince = {ven::clock().today(), ven::clock().time()};
    ScanAlarms(files(), AlarmsWatchedSince.date, AlarmsWatchedSince.time);

    if (readOwnerProfile().incomplete())
        startProcedure("ConfigureWnd");
    for (const HotKey& k : frameHotKeys())
        armAlertKey(k.key);
    if (GOpenCalendar)
        startProcedure("CalendarWnd");
    if (TimeDisplay)
        startProcedure("TimeDisplayWnd");
    if (Start_Maximized)
        window().outer()->showMaximized();
    if (Start_In_Tray)
        post(Event::Iconized);
    showAlarmStatus();
    showDaylightSaving();
    statusZone(3)->setText(CurrentUser);
    statusZone(4)->setText(Program_Path);
    fitFirstSize();
    setTimer(100);
    setTitle(FrameTitle(ven::clock().time()));
}

// The day's log header, unless there is no log.
void Main::startLog()
{
    if (Log_Activity == u"N")
        return;
    const QString file = joinPath(Daily_Notes, ActivityLogName);
    if (!QFileInfo::exists(file))
        TellLineResult(AppendLogLines({DateLine, QString()}));
    else if (Log_Activity != u"D" && LastOn != ven::clock().today())
        TellLineResult(AppendLogLines({QString(), DateLine, QString()}));
}

// The user file: made on the very first start, required on every later
// one; a log-in when it holds a named user, and the set-up goes on when it
// has let the user in.
void Main::checkUserFile()
{
    KeyedFile& usr = files().file(VenUsr);
    const QString userFile = joinPath(Program_Path, "VenUsr.tps");
    if (!ownerProfileExists()) {
        if (!writeOwnerProfile({}))
            tellOnce(QStringLiteral("owner profile"),
                     {QStringLiteral("Write Error: ") + QDir::toNativeSeparators(ownerProfileFile())});
        Status made = usr.open();
        if (!made.ok())
            messageBox("Main: " + userFile + " NOT Created!", made.errorText);
        usr.close();
    }
    Status st = QFileInfo::exists(Store::instance().pathOf(VenUsr))
                    ? usr.open()
                    : Status::fail(Err::OpenFailed, "missing");
    if (!st.ok()) {
        messageBox("User File could not be opened!", "Error!", Icon::Stop);
        if (Log_Activity != u"N") {
            TellLineResult(AppendTextLine(joinPath(Daily_Notes, "Vendrolix.log"),
                                          formatTime(ven::clock().time(), u"T04") + " User File Missing or Corrupt!"));
        }
        // A halt: no log-out line, placement or sections list for a user
        // who never logged in.
        halted_ = true;
        HaltNotRunning();
        close(RequestCancelled);
        return;
    }
    bool named = false;
    hashPlainPasswords(usr);  // told by the log-in, which tries again
    usr.set();
    while (!named && usr.next().ok())
        named = !usr.rec().str(USR::NAME).trimmed().isEmpty();
    usr.close();
    if (!named)
        return loggedIn();
    QPointer<Main> self(this);
    callProcedure("LoginWnd", NoRequest, [self](uint8_t response) {
        if (!self)
            return;
        if (response == RequestCompleted)
            self->loggedIn();
        else
            self->close(RequestCancelled);
    });
}

// ------------------------------------------------------------- events ----

void Main::windowEvent(Event e)
{
    WindowController::windowEvent(e);
    switch (e) {
    case Event::OpenWindow: opened(); break;
    case Event::Timer: {
        const QDateTime now = ven::clock().now();
        timer_.tick(dayNumber(now), timeValue(now));
        watchState();
        // Long runs set their busy flags while their window is open.
        if (UpdateCommandStates() != lastStates_)
            applyCommandStates();
        break;
    }
    case Event::AlertKey: hotKey(alertKey()); break;
    case Event::GainFocus:
        applyCommandStates();
        showDaylightSaving();
        showAlarmStatus();
        statusZone(4)->setText(Program_Path);
        break;
    case Event::Resume: applyCommandStates(); break;
    case Event::Maximize: Start_Maximized = 1; break;
    case Event::Iconized: iconize(); break;
    case Event::Restore: restore(); break;
    default: break;
    }
}

TrayIcon& Main::tray()
{
    if (!tray_) {
        tray_ = makeTrayIcon();
        tray_->setIcon(QIcon(findPictureFile("Vendrolix.ico")));
        tray_->setMenu({{QStringLiteral("&Restore"), [this] { restoreFromTray(); }},
                        {QStringLiteral("-"), {}},
                        {QStringLiteral("&Close"), [this] { closeFromTray(); }}});
        tray_->onClick = [this](TrayIcon::Click c) {
            if (c == TrayIcon::Click::Left)
                restoreFromTray();
            showAlarmStatus();
        };
    }
    return *tray_;
}

// Behind the icon where the desktop has a notification area; elsewhere (or
// while an icon that could not be removed is still there) an ordinary
// minimised window, reachable from the task bar.
void Main::iconize()
{
    QWidget* w = window().outer();
    if (!InTray) {
        TrayIcon& t = tray();
        t.setTip(DateLine);
        if (t.show()) {
            InTray = 1;
            w->hide();
        } else {
            w->showMinimized();
        }
    } else if (tray().isShown()) {
        w->hide();  // an icon that could not be removed still leads back
    } else {
        w->showMinimized();
    }
    showDaylightSaving();
    showAlarmStatus();
}

void Main::restoreFromTray()
{
    if (!InTray)
        return;
    post(Event::Restore);
}

void Main::closeFromTray()
{
    restoreFromTray();
    if (InTray && tray().hide())
        InTray = 0;
    post(Event::CloseWindow);
}

void Main::restore()
{
    // Locked: the frame goes straight back, whoever restored it.
    if (ProgramLocked) {
        iconize();
        return;
    }
    if (InTray && tray().hide())
        InTray = 0;
    QWidget* w = window().outer();
    if (Start_Maximized)
        w->showMaximized();
    else
        w->showNormal();
    w->raise();
    w->activateWindow();
    showDaylightSaving();
    showAlarmStatus();
}

void Main::watchState()
{
    QWidget* w = window().outer();
    if (InTray && tray_ && tray_->isShown() && !tray_->available()) {
        // The notification area went away with the icon in it.
        tray_->hide();
        InTray = 0;
        if (ProgramLocked)
            w->showMinimized();
        else
            restore();
    }
    if (ProgramLocked && w->isVisible() && !w->isMinimized())
        iconize();
}

bool Main::closeRequested()
{
    if (halted_)
        return true;
    if (const QString by = CloseRefusedBy(); !by.isEmpty()) {
        applyCommandStates();
        // An asked close that waits for the forms retries every tick: the
        // alert sounds, and the form is named, at its first refusal only.
        if (!CloseRequested || !closeRefusedTold_) {
            closeRefusedTold_ = CloseRequested != 0;
            PlayAlertSound();
            tellCloseRefused(by);
        }
        return false;
    }
    closeRefusedTold_ = false;
    applyCommandStates();
    // Every other window closes through its own steps before the frame's.
    endOthers(this);
    writeIniTold(ProgramIni(), "Main", "Vendrolix:Running", "No");
    writeIniTold(ProgramIni(), "Main", "Maximize", "Yes");
    if (Log_Activity != u"N")
        TellLineResult(ActivityLogLine("Logout: " + CurrentUser + " (" + Program_Path + ")"));
    return true;
}

// Names the open form that keeps the program from closing and brings it to
// the front; the locked program says nothing (its lock window is the answer).
void Main::tellCloseRefused(const QString& by)
{
    if (by == u"LockVendrolixWnd")
        return;
    WindowController* form = WindowController::find(by);
    const QString name = form ? form->window().title() : by;
    messageBox(QStringLiteral("Vendrolix cannot close while \"%1\" is open.|Complete or cancel it first, then close "
                              "Vendrolix.")
                   .arg(name),
               QStringLiteral("Close Vendrolix"), Icon::Exclamation);
    if (form && form != this)
        form->activate();
}

void Main::tearDown()
{
    setWindowsChangedHook({});
    if (tray_ && tray_->isShown())
        tray_->hide();
    InTray = 0;
    AlarmsWatchedSince = {};
    AlarmRescanAt = {};
    files().closeAll();
}

// ----------------------------------------------------------- commands ----

void Main::command(int number)
{
    const Command* c = frameCommand(number);
    if (!c)
        return;
    runCommand(c->procedure, int(c->how), c->how == How::T25C ? QStringLiteral("C") : QString(), int(c->action));
}

void Main::hotKey(int key)
{
    for (const HotKey& k : frameHotKeys())
        if (k.key == key) {
            runCommand(k.procedure, int(k.procedure ? How::T2_5 : How::None), k.parameter, int(k.action));
            return;
        }
}

void Main::runCommand(const char* procedure, int howValue, const QString& parameter, int actionValue)
{
    const auto how = How(howValue);
    const auto act = FrameAction(actionValue);
    QWidget* focused = QApplication::focusWidget();
    switch (act) {
    case FrameAction::PrintSetup: {
        QPrinter printer;
        if (!DefaultPrinter.isEmpty())
            printer.setPrinterName(DefaultPrinter);
        QPrintDialog dialog(&printer, window().outer());
        if (dialog.exec() == QDialog::Accepted)
            DefaultPrinter = printer.printerName();
        return;
    }
    case FrameAction::Close: post(Event::CloseWindow); return;
    case FrameAction::Cut:
    case FrameAction::Copy:
    case FrameAction::Paste:
        if (focused)
            QMetaObject::invokeMethod(focused, act == FrameAction::Cut ? "cut" : act == FrameAction::Copy ? "copy" : "paste");
        return;
    case FrameAction::Tile: mdi_->tileSubWindows(); return;
    case FrameAction::Cascade: mdi_->cascadeSubWindows(); return;
    case FrameAction::ArrangeIcons: mdi_->tileSubWindows(); return;
    case FrameAction::HelpContents:
    case FrameAction::HelpSearch:
    case FrameAction::HelpOnHelp: help(); return;
    case FrameAction::NoMax:
        Start_Maximized = 0;
        window().outer()->showNormal();
        return;
    case FrameAction::Max:
        Start_Maximized = 1;
        window().outer()->showMaximized();
        return;
    case FrameAction::NoIco:
        Start_In_Tray = 0;
        restore();
        return;
    case FrameAction::Ico:
        Start_In_Tray = 1;
        iconize();
        return;
    case FrameAction::ClockStandIn:
        RestoreRequested = 0;
        post(Event::Iconized);
        break;
    case FrameAction::DayNumbersToClipboard: QApplication::clipboard()->setText(dayNumberLines(ven::clock().today())); break;
    case FrameAction::Ignore: return;
    default: break;
    }
    if (!procedure)
        return;
    if (how == How::Direct) {
        callProcedure(procedure, NoRequest, {}, parameter);
    } else {
        const bool defined = procedureDefined(procedure);
        if (startProcedure(procedure, parameter) == 0 && defined && act == FrameAction::ExitOrEnd) {
            // The user can always leave: without a thread for the question the program ends.
            writeIniTold(ProgramIni(), "Main", "Vendrolix:Running", "No");
            close(RequestCancelled);
            return;
        }
    }
    if (act == FrameAction::IconizeAfter)
        post(Event::Iconized);
}

void Main::fitFirstSize()
{
    QWidget* outer = window().outer();
    if (outer->isMaximized() || !readIni(settingsFile().file(), "Main", "Width", {}).isEmpty())
        return;  // a size the user gave it stays
    inner_->statusBar()->layout()->activate();
    const int need = std::max(toolbar_->sizeHint().width(), inner_->statusBar()->sizeHint().width());
    growBy(QSize(need - inner_->width(), 0));
}

void Main::holdChildren()
{
    if (!mdi_)
        return;
    const QSize room = mdi_->maximumViewportSize();
    QSize extra(0, 0);
    std::vector<QPointer<WindowController>> held;
    for (WindowController* w : WindowController::openWindows()) {
        QWidget* sub = w->window().outer();
        if (!w->window().isMdiChild() || !sub->isVisible())
            continue;
        extra = extra.expandedTo(sub->frameGeometry().size() - room);
        held.emplace_back(w);
    }
    growBy(extra);
    // Once the area has its new size, each child is moved as little as
    // needed to lie whole in it.
    QTimer::singleShot(0, this, [held] {
        for (const QPointer<WindowController>& w : held)
            if (w && w->isOpen())
                w->window().keepOnArea();
    });
}

void Main::growBy(QSize extra)
{
    QWidget* outer = window().outer();
    extra = extra.expandedTo(QSize(0, 0));
    if (extra.isNull() || outer->isMaximized() || outer->isMinimized() || outer->isFullScreen())
        return;
    const QScreen* screen = outer->screen() ? outer->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const QRect frame = outer->frameGeometry();
    const QSize decoration = frame.size() - outer->size();
    const QSize size = (outer->size() + extra).boundedTo(avail.size() - decoration);
    if (size == outer->size())
        return;
    outer->resize(size);
    // It grows about its centre (so a frame centred on its screen stays
    // centred), kept on the screen.
    QRect grown(frame.topLeft(), size + decoration);
    grown.moveCenter(frame.center());
    grown.moveRight(std::min(grown.right(), avail.right()));
    grown.moveBottom(std::min(grown.bottom(), avail.bottom()));
    grown.moveLeft(std::max(grown.left(), avail.left()));
    grown.moveTop(std::max(grown.top(), avail.top()));
    if (grown.topLeft() != frame.topLeft())
        outer->move(grown.topLeft());
    if (QLayout* l = window().layout())
        l->activate();
}

void Main::applyCommandStates()
{
    const CommandStates s = UpdateCommandStates();
    lastStates_ = s;
    for (int exit : {kExitButton, kExitItem})
        if (QAction* a = action(exit))
            a->setEnabled(s.exitEnabled);
    if (QAction* a = action(kDailyNotesItem))
        a->setEnabled(s.dailyNotesEnabled);
    if (QAction* a = action(kCalendarButton))
        a->setEnabled(s.calendarEnabled);
}

// ---------------------------------------------------------- FrameHost ----

void Main::setTitle(const QString& title)
{
    window().setTitle(title);
}

void Main::showAlarmStatus()
{
    if (QLabel* z = statusZone(2))
        z->setText(AlarmStatusText(AlarmsChanged, NextAlarm.Pending != 0, NextAlarmLine, AlarmFileError));
    if (QAction* bell = action(kBellImage))
        bell->setVisible(NextAlarm.Pending != 0);
}

void Main::showDaylightSaving()
{
    if (QLabel* z = statusZone(1))
        z->setText(DaylightSavingText(timer_.nextDls(), ven::clock().today(), DlsMissing != 0));
}

void Main::setKeyLockLetters()
{
    const KeyLockLetters k = CurrentKeyLockLetters();
    if (statusZone(7)) {
        statusZone(5)->setText(k.num);
        statusZone(6)->setText(k.caps);
        statusZone(7)->setText(k.scroll);
    }
}

void Main::applyFrameWallpapers()
{
    static_cast<WallpaperArea*>(mdi_)->setWallpaper(FrameWallpaper.WallPaper, FrameWallpaper.WallPaperStyle);
    static_cast<WallpaperToolBar*>(toolbar_)->setWallpaper(FrameWallpaper.TbWallPaper, FrameWallpaper.TbWallPaperStyle);
}

void Main::setViewLogEnabled(bool on)
{
    if (QAction* a = action(kViewLogItem))
        a->setEnabled(on);
}

} // namespace ven
