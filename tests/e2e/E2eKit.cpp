// The end-to-end kit (see E2eKit.h).
#include "E2eKit.h"

#include "core/Globals.h"
#include "core/OwnerProfile.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"
#include "platform/Procedure.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <climits>
#include <unistd.h>

namespace ven::e2e {
namespace {

void pause(int ms)
{
    QThread::msleep(ms);
    QCoreApplication::processEvents();
}

QString libfaketime()
{
    for (const char* p : {"/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1", "/usr/lib/aarch64-linux-gnu/faketime/libfaketimeMT.so.1",
                          "/usr/lib/faketime/libfaketimeMT.so.1"})
        if (QFileInfo::exists(QString::fromLatin1(p)))
            return QString::fromLatin1(p);
    return {};
}

QRect rectOf(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    return QRect(o.value("x").toInt(), o.value("y").toInt(), o.value("w").toInt(), o.value("h").toInt());
}

QString testName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? QString::fromLatin1(info->test_suite_name()) + "." + QString::fromLatin1(info->name()) : QStringLiteral("e2e");
}

} // namespace

QRect Found::rect() const
{
    return rectOf(json.value("rect"));
}

// ------------------------------------------------------------ display ---

Display::Display(QSize size)
{
    // The X server picks a free display itself and names it on its output
    // once it takes clients: tests started at once never share a display.
    // A server started beside another one at the same moment may lose the
    // race for a display number and end; the next attempt takes another,
    // a little later each time (on a loaded machine many start together).
    for (int attempt = 0; attempt < 10 && !ok_; ++attempt) {
        if (attempt > 0)
            pause(50 * attempt);
        xvfb_ = std::make_unique<QProcess>();
        xvfb_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xvfb_->start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()), "-nolisten", "tcp"});
        if (xvfb_->waitForStarted(5000)) {
            QByteArray out;
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 10000 && xvfb_->state() == QProcess::Running && !out.contains('\n')) {
                xvfb_->waitForReadyRead(100);
                out += xvfb_->readAllStandardOutput();
            }
            bool number = false;
            const int n = out.trimmed().toInt(&number);
            if (number && xvfb_->state() == QProcess::Running) {
                name_ = QStringLiteral(":%1").arg(n);
                ok_ = true;
            }
        }
        if (!ok_ && xvfb_->state() != QProcess::NotRunning) {
            xvfb_->kill();
            xvfb_->waitForFinished(3000);
        }
    }
    if (!ok_)
        return;
    wm_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    wm_->setProcessEnvironment(env);
    wm_->setStandardOutputFile(QProcess::nullDevice());
    wm_->setStandardErrorFile(QProcess::nullDevice());
    wm_->start(QStringLiteral("openbox"), {"--sm-disable"});
    // The window manager runs once it has named itself on the root window.
    QElapsedTimer t;
    t.start();
    ok_ = false;
    while (t.elapsed() < 10000 && wm_->state() != QProcess::NotRunning) {
        if (run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id")) {
            ok_ = true;
            break;
        }
        pause(50);
    }
}

Display::~Display()
{
    std::vector<QProcess*> processes;
    for (auto& c : clients_)
        processes.push_back(c.get());
    processes.push_back(wm_.get());
    processes.push_back(xvfb_.get());
    for (auto* p : processes)
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(2000);
            }
        }
}

void Display::startClient(const QString& program, const QStringList& args)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    p->setProcessEnvironment(env);
    p->start(program, args);
    p->waitForStarted(5000);
    clients_.push_back(std::move(p));
}

QString Display::run(const QString& program, const QStringList& args, int* exitCode) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(1000);
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// ---------------------------------------------------------------- kit ---

E2eKit::E2eKit(QSize screen) : display_(screen)
{
    EXPECT_TRUE(display_.ok()) << "no X server with a window manager could be started (Xvfb, openbox)";
    socket_ = dir_.filePath(QStringLiteral("inspect.sock"));
}

E2eKit::~E2eKit()
{
    if (::testing::Test::HasFailure())
        keepFailure();
    if (program_ && program_->state() != QProcess::NotRunning) {
        program_->kill();
        program_->waitForFinished(3000);
    }
    Store::instance().closeIdle();
}

QString E2eKit::folder(const QString& name) const
{
    return name.isEmpty() ? dir_.path() : QDir(dir_.path()).filePath(name);
}

QString E2eKit::binary() const
{
    return QStringLiteral(VEN_PROGRAM);
}

void E2eKit::prepareFolder()
{
    const QString saved = Program_Path;
    Program_Path = folder();
    OwnerProfile p;
    p.FirstName = "Ada";
    p.LastName = "Lovelace";
    p.Street = "1 Mill Lane";
    p.ZipCode = "1000";
    p.City = "Town";
    p.Country = "Land";
    p.EMail = "ada@example.org";
    EXPECT_TRUE(writeOwnerProfile(p));
    Program_Path = saved;
    // The user file the very first start made, with no named user: no log-in.
    seed([] {
        Context ctx;
        EXPECT_TRUE(ctx.file(VenUsr).open().ok());
        ctx.closeAll();
    });
}

void E2eKit::seed(const std::function<void()>& write)
{
    Store& s = Store::instance();
    s.closeIdle();
    s.setFolder(folder());
    s.setFixedFolder(folder());
    InitDataFiles();
    write();
    s.closeIdle();
    KillDataFiles();
    s.setFolder({});
    s.setFixedFolder({});
}

void E2eKit::setIni(const QString& section, const QString& entry, const QString& value)
{
    EXPECT_TRUE(writeIni(folder("Vendrolix.ini"), section, entry, value));
}

void E2eKit::start(const QString& fakeTime)
{
    ASSERT_TRUE(display_.ok());
    program_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("VENDROLIX_INSPECT", socket_);
    env.insert("VENDROLIX_FIXED_FOLDER", folder());
    env.insert("XDG_RUNTIME_DIR", folder());
    env.insert("HOME", folder());
    const QString faketime = libfaketime();
    EXPECT_FALSE(faketime.isEmpty()) << "libfaketime is not installed";
    env.insert("LD_PRELOAD", faketime);
    env.insert("FAKETIME", "@" + fakeTime);
    env.insert("FAKETIME_DONT_RESET", "1");
    program_->setProcessEnvironment(env);
    program_->setWorkingDirectory(folder());
    program_->setProcessChannelMode(QProcess::MergedChannels);
    program_->start(binary(), {});
    ASSERT_TRUE(program_->waitForStarted(10000)) << "the program did not start";
    ASSERT_TRUE(waitFor([this] { return ask("screen").isObject(); }, "the program to answer its inspector", 20000));
}

bool E2eKit::running() const
{
    return program_ && program_->state() != QProcess::NotRunning;
}

qint64 E2eKit::pid() const
{
    return running() ? program_->processId() : 0;
}

std::optional<int> E2eKit::waitExit(int ms)
{
    if (!program_)
        return std::nullopt;
    if (!program_->waitForFinished(ms))
        return std::nullopt;
    if (program_->exitStatus() == QProcess::CrashExit) {
        ADD_FAILURE() << "the program crashed\n" << output().toStdString();
        return std::nullopt;
    }
    return program_->exitCode();
}

void E2eKit::expectOrderlyEnd(int ms)
{
    const std::optional<int> rc = waitExit(ms);
    if (!rc) {
        if (running())  // a crash has been told by waitExit
            ADD_FAILURE() << "the program did not end";
        return;
    }
    EXPECT_EQ(*rc, 0) << "the program's exit status";
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "No");
    const QString kept = log();
    EXPECT_TRUE(kept.contains("Logout: ")) << "no log-out line in the log:\n" << kept.toStdString();
}

QString E2eKit::output() const
{
    return program_ ? QString::fromLocal8Bit(program_->readAllStandardOutput()) : QString();
}

QJsonValue E2eKit::ask(const QString& question) const
{
    if (!running())
        return QJsonValue::Undefined;
    QLocalSocket s;
    s.connectToServer(socket_);
    if (!s.waitForConnected(2000))
        return QJsonValue::Undefined;
    s.write(question.toUtf8() + '\n');
    s.flush();
    QByteArray answer;
    QElapsedTimer t;
    t.start();
    while (!answer.endsWith('\n') && t.elapsed() < 10000) {
        if (s.waitForReadyRead(200))
            answer += s.readAll();
        else if (s.state() != QLocalSocket::ConnectedState)
            break;
    }
    const QJsonDocument d = QJsonDocument::fromJson("[" + answer.trimmed() + "]");
    return d.isArray() && !d.array().isEmpty() ? d.array().first() : QJsonValue::Undefined;
}

QJsonArray E2eKit::windows() const
{
    return ask("windows").toArray();
}

Found E2eKit::window(const QString& title) const
{
    const QJsonArray all = windows();
    for (const QJsonValue& w : all)
        if (w.toObject().value("title").toString() == title)
            return Found{w.toObject()};
    for (const QJsonValue& w : all)
        if (w.toObject().value("title").toString().startsWith(title))
            return Found{w.toObject()};
    for (const QJsonValue& w : all)
        if (w.toObject().value("procedure").toString() == title)
            return Found{w.toObject()};
    return {};
}

Found E2eKit::frame() const
{
    for (const QJsonValue& w : windows())
        if (w.toObject().value("procedure").toString() == "Main")
            return Found{w.toObject()};
    return {};
}

Found E2eKit::waitWindow(const QString& title, int ms) const
{
    Found f;
    if (!waitFor([&] { return bool(f = window(title)); }, "the window \"" + title + "\"", ms))
        return f;
    // A top-level window is where a person can click it once the window
    // manager has mapped it and its place has stopped changing.
    QRect last = f.rect();
    waitFor([&] {
        const Found now = window(title);
        if (!now)
            return true;  // gone again: the caller's next step tells
        bool mapped = now.json.value("child").toBool();
        if (!mapped) {
            // Mapped, and where the program thinks it is: a window restored
            // from an icon is placed again by the window manager a moment
            // after the program has taken its place as known.
            const QString info = display_.run("xwininfo", {"-id", now.json.value("xid").toString()});
            const auto at = [&](const char* what) {
                const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Absolute upper-left %1:\\s*(-?\\d+)").arg(what)).match(info);
                return m.hasMatch() ? m.captured(1).toInt() : INT_MIN;
            };
            mapped = info.contains("IsViewable") && QPoint(at("X"), at("Y")) == rectOf(now.json.value("inner")).topLeft();
        }
        const bool settled = mapped && now.rect() == last;
        last = now.rect();
        f = now;
        return settled;
    }, "the window \"" + title + "\" to be placed", 3000, false);
    return f;
}

QRect E2eKit::frameOf(const Found& w) const
{
    if (w.json.value("child").toBool())
        return w.rect();
    const QString xid = w.json.value("xid").toString();
    const QString info = display_.run("xwininfo", {"-id", xid});
    const auto number = [&](const QString& label) {
        const QRegularExpressionMatch m = QRegularExpression(label + QStringLiteral(":\\s+(-?\\d+)")).match(info);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    QRect frame(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
    // _NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
                                          .match(display_.run("xprop", {"-id", xid, "_NET_FRAME_EXTENTS"}));
    if (m.hasMatch())
        frame.adjust(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(), m.captured(4).toInt());
    return frame;
}

bool E2eKit::waitGone(const QString& title, int ms) const
{
    return waitFor([&] { return !window(title); }, "the window \"" + title + "\" to close", ms);
}

Found E2eKit::activeWindow() const
{
    for (const QJsonValue& w : windows())
        if (w.toObject().value("active").toBool() && !w.toObject().value("child").toBool())
            return Found{w.toObject()};
    return {};
}

QJsonArray E2eKit::controls(const QString& window) const
{
    return ask("controls\t" + window).toArray();
}

Found E2eKit::control(const QString& window, const QString& nameOrText) const
{
    const QJsonArray all = controls(window);
    for (const QJsonValue& c : all)
        if (c.toObject().value("name").toString() == nameOrText && c.toObject().value("class").toString() != "Tab")
            return Found{c.toObject()};
    for (const QJsonValue& c : all)
        if (c.toObject().value("text").toString() == nameOrText)
            return Found{c.toObject()};
    return {};
}

QJsonArray E2eKit::rows(const QString& window, const QString& list) const
{
    return ask("rows\t" + window + "\t" + list).toArray();
}

QJsonArray E2eKit::clipped(const QString& window) const
{
    return ask("clipped\t" + window).toArray();
}

QJsonObject E2eKit::focus() const
{
    return ask("focus").toObject();
}

QString E2eKit::clipboard() const
{
    return ask("clipboard").toString();
}

QRect E2eKit::screen() const
{
    return rectOf(ask("screen").toObject().value("available"));
}

QString E2eKit::activeTitle() const
{
    return display_.run("xdotool", {"getactivewindow", "getwindowname"}).trimmed();
}

bool E2eKit::waitFor(const std::function<bool()>& cond, const QString& what, int ms, bool mustHappen) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (cond())
            return true;
        if (program_ && !running())
            break;
        pause(50);
    }
    if (cond())
        return true;
    if (!mustHappen)
        return false;
    ADD_FAILURE() << "waited " << t.elapsed() << " ms for " << what.toStdString() << (running() ? "" : " (the program has ended)");
    return false;
}

void E2eKit::key(const QString& keys) const
{
    display_.run("xdotool", {"key", "--clearmodifiers", keys});
}

void E2eKit::type(const QString& text) const
{
    display_.run("xdotool", {"type", "--delay", "20", "--clearmodifiers", text});
}

void E2eKit::click(const QPoint& at, int button) const
{
    display_.run("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", QString::number(button)});
}

void E2eKit::clickControl(const QString& window, const QString& nameOrText, int button) const
{
    Found c;
    if (!waitWindow(window))
        return;
    if (!waitFor([&] { return bool(c = control(window, nameOrText)); }, "the control \"" + nameOrText + "\" of \"" + window + "\""))
        return;
    click(c, button);
}

void E2eKit::menu(const QString& caption, const QStringList& path) const
{
    Found bar;
    waitFor([&] {
        for (const QJsonValue& w : windows()) {
            const QString t = w.toObject().value("title").toString();
            if (w.toObject().value("procedure").toString() == "Main")
                for (const QJsonValue& c : controls(t))
                    if (c.toObject().value("class").toString() == "MenuBarItem" && c.toObject().value("text").toString() == QString(caption).remove('&'))
                        return bool(bar = Found{c.toObject()});
        }
        return false;
    }, "the frame's menu \"" + caption + "\"");
    if (!bar)
        return;
    // A click that reaches the frame before the window manager has placed
    // it opens nothing, and a menu that the frame's activation closes at
    // once shows no item: a person clicks again.
    const QString first = QString(caption).remove('&');
    const auto open = [&] { const Found m = window(first); return m && m.json.value("class").toString() == "QMenu"; };
    const QString firstItem = path.isEmpty() ? QString() : QString(path.first()).remove('&');
    Found entry;
    for (int attempt = 0; attempt < 5; ++attempt) {
        // As a person does, click once the frame is the active window: an
        // activation that arrives after the click closes the menu again.
        waitFor([&] {
            const QString id = frame().json.value("xid").toString();
            return !id.isEmpty() && display_.run("xdotool", {"getactivewindow"}).trimmed() == id;
        }, QString(), 3000, false);
        click(bar);
        if (!waitFor(open, QString(), 3000, false))
            continue;
        if (path.isEmpty())
            return;
        if (waitFor([&] { return bool(entry = control(first, firstItem)) || !open(); }, QString(), 10000, false) && entry)
            break;
    }
    if (path.isEmpty())
        return;
    if (!entry) {
        ADD_FAILURE() << "the menu item \"" << path.first().toStdString() << "\" did not show";
        return;
    }
    click(entry);
    QString menuTitle = path.first();
    for (const QString& item : path.mid(1)) {
        Found next;
        const QString shown = QString(item).remove('&');
        if (!waitFor([&] { return bool(next = control(QString(menuTitle).remove('&'), shown)); }, "the menu item \"" + item + "\""))
            return;
        click(next);
        menuTitle = item;
    }
}

void E2eKit::startProcedure(const QString& name, int request, const QString& parameter) const
{
    const QJsonObject answer = ask("start\t" + name + "\t" + QString::number(request) + "\t" + parameter).toObject();
    EXPECT_EQ(answer.value("started").toString(), name) << "the inspector did not start " << name.toStdString();
}

void E2eKit::activate(const QString& title) const
{
    const Found w = waitWindow(title);
    const QString id = w.json.value("xid").toString();
    if (id.isEmpty())
        return;
    display_.run("xdotool", {"windowactivate", "--sync", id});
}

void E2eKit::closeByWindowManager(const QString& title) const
{
    activate(title);
    const QString id = window(title).json.value("xid").toString();
    waitFor([&] { return display_.run("xdotool", {"getactivewindow"}).trimmed() == id; }, "\"" + title + "\" to be the active window", 5000);
    key("alt+F4");
}

void E2eKit::clickCloseBox(const QString& title) const
{
    const Found w = waitWindow(title);
    if (!w)
        return;
    const QJsonObject box = w.json.value("closeBox").toObject();
    if (!box.isEmpty()) {
        click(rectOf(box).center());
        return;
    }
    // The window manager's close box: the last button of its title bar.
    const QRect frame = w.rect();
    const QRect inner = rectOf(w.json.value("inner"));
    const int titleHeight = std::max(8, inner.top() - frame.top());
    click(QPoint(frame.right() - titleHeight / 2 - 2, frame.top() + titleHeight / 2));
}

QString E2eKit::ini(const QString& section, const QString& entry, const QString& def) const
{
    return readIni(folder("Vendrolix.ini"), section, entry, def);
}

QString E2eKit::log() const
{
    QFile f(folder("Vendrolix.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void E2eKit::screenshot(const QString& file) const
{
    display_.run("import", {"-window", "root", file});
}

void E2eKit::keepFailure()
{
    const QString dir = QStringLiteral(VEN_E2E_FAILURES);
    QDir().mkpath(dir);
    const QString base = QDir(dir).filePath(testName());
    screenshot(base + ".png");
    QFile out(base + ".out.txt");
    if (out.open(QIODevice::WriteOnly))
        out.write(output().toUtf8() + "\n--- windows ---\n" + QJsonDocument(windows()).toJson());
    std::fprintf(stderr, "kept %s.png and %s.out.txt\n", qPrintable(base), qPrintable(base));
}

} // namespace ven::e2e
