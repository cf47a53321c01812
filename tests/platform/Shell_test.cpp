// The shell verbs: parameters split as a command line is, sounds found
// among the program's own, Open never running a file, programs started with
// split arguments, addresses built from their parts, the desktop's handlers
// and program icons.
#include "platform/DesktopEntries.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace ven {
namespace {

// A scratch folder with the XDG folders and PATH pointed into it, boxes and
// shell failures recorded, and the real shell in place.
class RealShell : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList boxes, told;
    std::vector<std::pair<const char*, QByteArray>> saved;

    void SetUp() override
    {
        setShellHandler({});
        setShellFailureHook([this](const QString& why) { told << why; });
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes << r.text;
            return 1;
        });
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "PATH"}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, path(QString::fromLatin1(name).toLower()).toUtf8());
        }
        qputenv("PATH", path("path").toUtf8() + ':' + saved.back().second);
        for (const char* folder : {"xdg_data_home/applications", "xdg_data_dirs/applications", "xdg_config_home",
                                   "xdg_config_dirs", "path", "docs"})
            QDir().mkpath(path(folder));
        ShellParameters.clear();
        ShellDirectory.clear();
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            qputenv(name, value);
        setShellFailureHook({});
        setMessageBoxHandler({});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& text, bool executable = false) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFile::ExeOwner);
        return f.fileName();
    }
    int16_t shell(const char* verb, const QString& file)
    {
        ShellOperation = QString::fromLatin1(verb);
        ShellFile = file;
        return ShellExecute();
    }
    // Waits for a file that a started program writes (renamed into place
    // when complete).
    QString waitFor(const QString& file) const
    {
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(file) && t.elapsed() < 10000)
            QThread::msleep(20);
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // A script that writes its folder and arguments, one a line, to `out`.
    QString recorder(const QString& name, const QString& out) const
    {
        return write(name,
                     ("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > \"" + out + ".tmp\"\nmv \"" + out
                      + ".tmp\" \"" + out + "\"\n")
                         .toUtf8(),
                     true);
    }
};

TEST(Shell, ParametersSplitAsACommandLineWithoutAShell)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"", {}},
        {"a b", {"a", "b"}},
        {"  -x   \"two words\"  ", {"-x", "two words"}},
        {"\"\" end", {"", "end"}},
        {";rm -rf x", {";rm", "-rf", "x"}},
        {"\"say \"\"hi\"\"\" x", {"say \"hi\"", "x"}},
    };
    for (const auto& [text, parts] : cases)
        EXPECT_EQ(splitParameters(text), parts) << text;
    // Any argument quoted comes back whole, blanks and quotes included.
    for (const QString arg : {"/docs/plain.txt", "/my docs/it's \"big\".txt", "\"", "", "a\"\" b"})
        EXPECT_EQ(splitParameters(quoteArgument(arg)), QStringList{arg}) << arg.toStdString();
}

TEST(Shell, ASoundNotBesideTheProgramIsTheProgramsOwn)
{
    QStringList told;
    setShellFailureHook([&](const QString& why) { told << why; });
    ShellOperation = "Play";
    ShellDirectory.clear();
    ShellFile = "\"/nowhere/HourBell.wav\"";  // one of the program's own sounds
    const int16_t own = ShellExecute();
    ShellFile = "\"/nowhere/NoSuchBell.wav\"";
    const int16_t missing = ShellExecute();
    setShellFailureHook({});
    EXPECT_NE(own, kShellFileNotFound);
    EXPECT_EQ(missing, kShellFileNotFound);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.back(), "Sound file not found: /nowhere/NoSuchBell.wav");
}

TEST_F(RealShell, OpenNeverRunsAFileThatCouldRunAsAProgram)
{
    const QString marker = path("ran");
    const QString script = write("VenMemo.txt", ("#!/bin/sh\ntouch " + marker + "\n").toUtf8(), true);
    ShellDirectory = dir.path();
    EXPECT_EQ(shell("Open", "\"VenMemo.txt\""), kShellAccessDenied);
    EXPECT_EQ(ShellResult, kShellAccessDenied);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(script + " is a program file")) << boxes[0].toStdString();
    EXPECT_EQ(told, boxes);
    QThread::msleep(300);
    EXPECT_FALSE(QFile::exists(marker));

    // Which files Open refuses.
    QFile::copy("/bin/true", path("tool"));
    const std::pair<QString, bool> cases[] = {
        {script, true},
        {write("plain.txt", "notes without a first line\n", true), true},  // the system would run it as a script
        {write("nox.sh", "#!/bin/sh\necho\n"), false},
        {path("tool"), true},
        {write("shortcut.desktop", "[Desktop Entry]\nExec=sh -c 'x'\n", true), true},
        {write("photo.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\0'), true), false},
        {write("empty", "", true), true},
        {path("docs"), false},
    };
    for (const auto& [file, runs] : cases)
        EXPECT_EQ(mayRunAsProgram(file), runs) << file.toStdString();

    // A plain document goes on to the desktop (which the offscreen test
    // platform does not have).
    boxes.clear();
    shell("Open", write("letter.txt", "Dear Anna\n"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], "No program opens " + path("letter.txt"));
    boxes.clear();
    EXPECT_EQ(shell("Open", path("missing.txt")), kShellFileNotFound);
    EXPECT_EQ(boxes, QStringList{"File not found: " + path("missing.txt")});
}

TEST_F(RealShell, StartRunsTheProgramWithSplitArgumentsInItsFolder)
{
    const QString out = path("args.txt");
    recorder("path/vtool", out);
    ShellParameters = "-a \"two words\" ;touch injected $HOME";
    ShellDirectory = path("docs");
    EXPECT_EQ(shell("Start", "vtool"), kShellDone);  // a bare name, found on PATH
    EXPECT_EQ(waitFor(out), path("docs") + "\n[-a]\n[two words]\n[;touch]\n[injected]\n[$HOME]\n");
    EXPECT_FALSE(QFile::exists(path("docs/injected")));

    // A path relative to the start folder; a bare name never from there.
    recorder("docs/local", out + "2");
    ShellParameters.clear();
    EXPECT_EQ(shell("Start", "./local"), kShellDone);
    EXPECT_EQ(waitFor(out + "2"), path("docs") + "\n");
    EXPECT_EQ(findProgram("local", path("docs")), "");
    EXPECT_EQ(findProgram("\"vtool\""), path("path/vtool"));

    const std::tuple<const char*, QString, int16_t, QString> failures[] = {
        {"vtool", path("no such folder"), kShellPathNotFound, "Start folder not found: " + path("no such folder")},
        {"nothere", {}, kShellFileNotFound, "Program not found: nothere"},
        {"letter.txt", path("docs"), kShellFileNotFound, "Program not found: letter.txt"},
    };
    write("docs/letter.txt", "not a program");
    for (const auto& [program, folder, code, message] : failures) {
        boxes.clear();
        ShellDirectory = folder;
        EXPECT_EQ(shell("Start", program), code) << program;
        EXPECT_EQ(boxes, QStringList{message});
    }
}

TEST(Shell, AddressesAreBuiltFromTheirPartsWithEscaping)
{
    const std::pair<QUrl, const char*> cases[] = {
        {mailToUrl("anna.berg@example.org  "), "mailto:anna.berg@example.org"},
        {mailToUrl("MailTo:x@y.org"), "mailto:x@y.org"},
        {mailToUrl("x@y.org?attach=/home/a/.ssh/id_rsa&body=hi"), "mailto:x@y.org%3Fattach=/home/a/.ssh/id_rsa&body=hi"},
        {mailToUrl("a b@y.org#z"), "mailto:a%20b@y.org%23z"},
        {mailToUrl(" "), ""},
        {webUrl("www.example.org/a b"), "http://www.example.org/a%20b"},
        {webUrl("https://example.org/?q=a b&r=1"), "https://example.org/?q=a%20b&r=1"},
        {webUrl("javascript:alert(1)"), ""},
        {webUrl("file:///etc/passwd"), ""},
        {webUrl("http://"), ""},
        {telUrl("+49 (0)30 123-45.6/7"), "tel:+490301234567"},
        {telUrl("*31#0171 1234"), "tel:*31%2301711234"},
        {telUrl("0800-CALL-NOW"), ""},
        {telUrl("12; rm -rf ~"), ""},
        {telUrl("1+2"), ""},
        {telUrl(" - "), ""},
    };
    for (const auto& [url, text] : cases) {
        EXPECT_EQ(url.toString(QUrl::FullyEncoded), QString::fromLatin1(text)) << text;
        EXPECT_EQ(url.isValid() && !url.isEmpty(), *text != 0) << text;
    }
}

TEST_F(RealShell, DiallingNeedsTheDesktopsTelHandler)
{
    EXPECT_EQ(schemeHandler("tel"), "");
    EXPECT_EQ(shell("Open", "tel:+49 30 1234"), kShellNoAssociation);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("No program is set up to dial telephone numbers (tel: addresses), so +49 30 1234 "
                                    "cannot be dialled."));
    EXPECT_TRUE(boxes[0].contains("xdg-mime default <program>.desktop x-scheme-handler/tel"));

    // An application that declares the scheme; a default in mimeapps.list
    // wins over it, unless the default is not installed.
    write("xdg_data_dirs/applications/dialer.desktop",
          "[Desktop Entry]\nName=Dialer\nExec=dialer %u\nMimeType=text/plain;x-scheme-handler/tel;\n");
    EXPECT_EQ(schemeHandler("TEL"), "dialer.desktop");
    write("xdg_data_home/applications/calls.desktop", "[Desktop Entry]\nName=Calls\nExec=calls %u\n");
    write("xdg_config_home/mimeapps.list", "[Default Applications]\nx-scheme-handler/tel=gone.desktop;calls.desktop\n");
    EXPECT_EQ(schemeHandler("tel"), "calls.desktop");
    write("xdg_config_home/mimeapps.list", "[Default Applications]\nx-scheme-handler/tel=gone.desktop\n");
    EXPECT_EQ(schemeHandler("tel"), "dialer.desktop");
    write("xdg_config_home/mimeapps.list", "[Removed Associations]\nx-scheme-handler/tel=dialer.desktop\n");
    EXPECT_EQ(schemeHandler("tel"), "");
}

// Mail and web addresses, like telephone numbers, need a program of the
// desktop's: without one the user is told, and nothing is handed over.
TEST_F(RealShell, MailAndWebNeedTheirSchemesHandler)
{
    const std::pair<const char*, const char*> cases[] = {
        {"mailto:anna@example.org", "No program is set up to write e-mail (mailto: addresses), so no message to "
                                    "anna@example.org can be written."},
        {"www.example.org", "No program is set up to show web pages (http: addresses), so http://www.example.org "
                            "cannot be shown."},
        {"https://example.org/a", "No program is set up to show web pages (https: addresses), so "
                                  "https://example.org/a cannot be shown."},
    };
    for (const auto& [address, message] : cases) {
        boxes.clear();
        EXPECT_EQ(shell("Open", address), kShellNoAssociation) << address;
        ASSERT_EQ(boxes.size(), 1) << address;
        EXPECT_TRUE(boxes[0].startsWith(QString::fromUtf8(message))) << boxes[0].toStdString();
    }
    EXPECT_TRUE(boxes[0].contains("x-scheme-handler/https"));
}

TEST_F(RealShell, ProgramIconsFromPicturesEntriesAndApplications)
{
    auto picture = [&](const char* name, Qt::GlobalColor colour) {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(colour);
        EXPECT_TRUE(img.save(path(name)));
        return path(name);
    };
    auto colourOf = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixelColor(8, 8); };
    const QIcon fallback(picture("fallback.png", Qt::black));
    const QString red = picture("red.png", Qt::red), green = picture("green.png", Qt::green),
                  blue = picture("blue.png", Qt::blue);
    write("docs/editor.desktop", ("[Desktop Entry]\nName=Editor\nExec=editor %F\nIcon=" + green + "\n").toUtf8());
    write("xdg_data_dirs/applications/org.example.Tool.desktop",
          ("[Desktop Entry]\nName=Tool\nExec=\"/opt/x/vtool\" --new %U\nIcon=" + blue + "\n").toUtf8());
    write("path/vtool", "#!/bin/sh\n", true);
    write("path/plain", "#!/bin/sh\n", true);

    EXPECT_EQ(colourOf(programIcon(red, fallback)), QColor(Qt::red));
    EXPECT_EQ(colourOf(programIcon("\"" + path("docs/editor.desktop") + "\"", fallback)), QColor(Qt::green));
    EXPECT_EQ(colourOf(programIcon(path("path/vtool"), fallback)), QColor(Qt::blue));  // the entry that starts it
    EXPECT_EQ(colourOf(programIcon("vtool", fallback)), QColor(Qt::blue));
    for (const QString& none : {QString(), path("path/plain"), path("missing.ico"), write("bad.gif", "not a picture")})
        EXPECT_EQ(colourOf(programIcon(none, fallback)), QColor(Qt::black)) << none.toStdString();
    EXPECT_EQ(applicationFor("/usr/bin/vtool").name, "Tool");
}

// A call with a failure notice of its own is told there, not to the hook,
// every time (the device too), and the notice ends with its call.
TEST(Shell, ACallsOwnFailureNoticeIsToldInsteadOfTheHook)
{
    forgetSoundDeviceFailure();
    QStringList told, noticed;
    setShellFailureHook([&](const QString& why) { told << why; });
    ShellOperation = "Play";
    ShellDirectory.clear();
    for (const char* file : {"\"/nowhere/NoSuchBell.wav\"", "\"/nowhere/AlertSnd.wav\"", "\"/nowhere/AlertSnd.wav\""}) {
        ShellFile = file;
        ShellOnFailure = [&](const QString& why) { noticed << why; };
        ShellExecute();
        EXPECT_FALSE(ShellOnFailure);
    }
    ShellFile = "\"/nowhere/Other.wav\"";
    const int16_t without = ShellExecute();
    setShellFailureHook({});
    EXPECT_EQ(without, kShellFileNotFound);
    EXPECT_EQ(ShellFailure, "Sound file not found: /nowhere/Other.wav");
    EXPECT_EQ(told, QStringList{"Sound file not found: /nowhere/Other.wav"});
    ASSERT_FALSE(noticed.isEmpty());
    EXPECT_EQ(noticed[0], "Sound file not found: /nowhere/NoSuchBell.wav");
    if (noticed.size() == 1)
        GTEST_SKIP() << "this machine has a sound device";
    EXPECT_EQ(noticed.size(), 3);
    EXPECT_TRUE(noticed[2].startsWith("No sound device to play ")) << noticed[2].toStdString();
}

TEST(Shell, AFailingSoundDeviceIsToldOnceARun)
{
    forgetSoundDeviceFailure();
    QStringList told;
    setShellFailureHook([&](const QString& why) { told << why; });
    ShellOperation = "Play";
    ShellDirectory.clear();
    ShellFile = "\"/nowhere/AlertSnd.wav\"";  // the program's own alert
    const int16_t first = ShellExecute();
    for (int i = 0; i < 3; ++i)
        ShellExecute();
    setShellFailureHook({});
    if (first == kShellDone)
        GTEST_SKIP() << "this machine has a sound device";
    ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
    EXPECT_TRUE(told[0].startsWith("No sound device to play ")) << told[0].toStdString();
}

} // namespace
} // namespace ven
