// The log-in as a user meets it: the right password (in any case), wrong
// ones up to the end of the program, the log of failures, and the closes it refuses.
#include "WindowKit.h"

#include "core/EndSessionLogout.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "core/LoginWnd.h"
#include "core/OwnerProfile.h"
#include "core/UserPasswords.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"
#include "platform/PasswordHash.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QStatusBar>

using namespace ven;
using ven::test::WindowKit;

namespace {

// Counts halts instead of ending; declared before the kit so that windows
// the kit closes at the end still halt into it.
struct HaltWatch {
    int halts = 0;
    HaltWatch() { setHaltHandler([this] { ++halts; }); }
    ~HaltWatch() { setHaltHandler({}); }
};

struct Login : ::testing::Test {
    HaltWatch watch;
    int& halts = watch.halts;
    WindowKit kit;
    uint8_t response = 0;

    Login()
    {
        InitDataFiles();
        Log_Activity = "C";
        ActivityLogName = "Vendrolix Activity.log";
        Daily_Notes = kit.folder();
        DateLine = "Wednesday 09 December 2026, Week 50";
        VersionLabel = "Vendrolix ver. 1.37";
        CurrentUser = "logon";
        writeIni(kit.ini(), "Main", "Vendrolix:Running", "Yes");
        addUser("Anna Berg", "Secret1");
        addUser("Carl Dahl", "other");
    }
    ~Login() override
    {
        Log_Activity.clear();
        CurrentUser.clear();
    }
    static void addUser(const QString& name, const QString& pwd)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenUsr);
        ASSERT_TRUE(f.open().ok());
        f.rec().clear();
        f.rec().set(USR::NAME, name);
        f.rec().set(USR::PWD, pwd);
        ASSERT_TRUE(f.add().ok());
    }
    void open() { kit.call(makeLoginWnd({}), NoRequest, &response); }
    void attempt(const QString& pwd)
    {
        kit.replaceText("LoginWnd", "Password", pwd);
        kit.tab("LoginWnd");
        kit.press("LoginWnd", "OK");
    }
    QString log() const
    {
        QFile f(kit.folder("Vendrolix Activity.log"));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }
    QString running() const { return readIni(kit.ini(), "Main", "Vendrolix:Running", "<none>"); }
};

TEST_F(Login, TheRightPasswordInAnyCaseLogsTheUserIn)
{
    for (const QString pwd : {"Secret1", "sECRET1"}) {
        CurrentUser = "logon";
        response = 0;
        open();
        ASSERT_TRUE(kit.isOpen("LoginWnd"));
        EXPECT_EQ(kit.window("LoginWnd").window().title(), "Login: Vendrolix ver. 1.37");
        attempt(pwd);
        EXPECT_FALSE(kit.isOpen("LoginWnd")) << pwd.toStdString();
        EXPECT_EQ(response, RequestCompleted);
        EXPECT_EQ(CurrentUser, "Anna Berg");
    }
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(halts, 0);
    EXPECT_EQ(running(), "Yes");
    EXPECT_FALSE(QFile::exists(kit.folder("Vendrolix Activity.log")));
}

TEST_F(Login, StatusBarShowsTheOwnerAndTheTitleTurnsIntoAClock)
{
    OwnerProfile p;
    p.FirstName = "Eva";
    p.LastName = "Lind";
    p.EMail = "eva@example.org";
    ASSERT_TRUE(writeOwnerProfile(p));
    open();
    auto* bar = kit.window("LoginWnd").window().findChild<QStatusBar*>("StatusBar");
    ASSERT_NE(bar, nullptr);
    QStringList zones;
    for (QLabel* l : bar->findChildren<QLabel*>())
        zones << l->text();
    EXPECT_EQ(zones, QStringList({"eva@example.org", "Eva Lind", kit.folder()}));

    kit.wait(5000);  // not yet more than five seconds
    EXPECT_EQ(kit.window("LoginWnd").window().title(), "Login: Vendrolix ver. 1.37");
    kit.wait(1000);
    EXPECT_EQ(kit.window("LoginWnd").window().title(),
              "Login Vendrolix on Wednesday 09 December 2026, Week 50 at 10:00:06");
}

TEST_F(Login, WrongPasswordsAskThreeTimesThenTheFourthEndsTheProgram)
{
    open();
    for (int i = 1; i <= 3; ++i) {
        kit.answer(1);  // Yes: try again
        attempt("Secret");
        ASSERT_EQ(kit.boxes().size(), size_t(i));
        EXPECT_EQ(kit.boxes().back().text, "Wrong Password\nTry Again?");
        EXPECT_EQ(kit.boxes().back().caption, "Error!");
        EXPECT_EQ(kit.boxes().back().icon, Icon::Question);
        EXPECT_EQ(kit.text("LoginWnd", "Password"), "");
        EXPECT_EQ(halts, 0);
    }
    attempt("Secret12");
    ASSERT_EQ(kit.boxes().size(), 4u);
    EXPECT_EQ(kit.boxes().back().text, "Wrong Password");
    EXPECT_EQ(kit.boxes().back().icon, Icon::Stop);
    EXPECT_EQ(kit.boxes().back().buttons, QStringList{"&OK"});
    EXPECT_EQ(halts, 1);
    EXPECT_EQ(running(), "No");
    EXPECT_EQ(CurrentUser, "logon");

    // One line per failure, the fourth's among them, and never the typed text.
    const QString text = log();
    EXPECT_TRUE(text.startsWith("Wednesday 09 December 2026, Week 50\r\n\r\n"));
    EXPECT_EQ(text.count(" Wrong Password"), 4);
    EXPECT_EQ(text.count("10:00:00 Wrong Password\r\n"), 4);
    EXPECT_FALSE(text.contains("Secret"));
}

TEST_F(Login, NoAtTheQuestionEndsTheProgram)
{
    open();
    kit.answer(2);
    attempt("nobody");
    EXPECT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(halts, 1);
    EXPECT_EQ(running(), "No");
}

TEST_F(Login, WithLoggingOffWrongPasswordsLeaveNoLine)
{
    Log_Activity = "N";
    open();
    kit.answer(1);
    attempt("nobody");
    EXPECT_EQ(kit.boxes().size(), 1u);
    EXPECT_FALSE(QFile::exists(kit.folder("Vendrolix Activity.log")));
}

TEST_F(Login, EscAltF4AndTheWindowSystemsCloseDoNotCloseIt)
{
    open();
    kit.key("LoginWnd", Qt::Key_Escape, "Password");
    kit.key("LoginWnd", (Qt::ALT | Qt::Key_F4).toCombined(), "Password");
    // The close box, and Alt+F4 where a window manager takes the key.
    kit.window("LoginWnd").window().outer()->close();
    kit.settle();
    EXPECT_TRUE(kit.isOpen("LoginWnd"));
    EXPECT_EQ(halts, 0);
    EXPECT_EQ(running(), "Yes");
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(Login, EndSessionLogoutMarksNotRunningLogsAndHalts)
{
    const QString notes = kit.folder("notes");
    ASSERT_TRUE(QDir().mkpath(notes));
    writeIni(kit.ini(), "Paths", "Daily_Notes", notes);  // read at this moment, not from the global
    CurrentUser = "Anna Berg";
    EndSessionLogout();
    EXPECT_EQ(halts, 1);
    EXPECT_EQ(running(), "No");
    QFile f(QDir(notes).filePath("Vendrolix Activity.log"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              "Wednesday 09 December 2026, Week 50\r\n\r\n10:00:00 Logout: Anna Berg [" + Program_Path
                  + "]\r\n10:00:00 Exit Windows!\r\n\r\n");
    EXPECT_EQ(LogWritten, 1);
    EXPECT_TRUE(TextFileName.isEmpty());
}

} // namespace

// The user file keeps no password: a file written with plain ones is
// hashed when the log-in first opens it, and the log-in goes on working.
TEST_F(Login, APlainUserFileIsKeptHashedFromItsFirstOpen)
{
    open();
    ASSERT_TRUE(kit.isOpen("LoginWnd"));
    QStringList stored;
    for (const Record& r : WindowKit::records(VenUsr))
        stored << r.str(USR::PWD).trimmed();
    ASSERT_EQ(stored.size(), 2);
    for (const QString& s : stored) {
        EXPECT_EQ(s.size(), 48);
        EXPECT_TRUE(isPasswordHash(s));
        EXPECT_FALSE(s.contains("Secret1", Qt::CaseInsensitive) || s.contains("other"));
    }
    EXPECT_TRUE(stored.contains(userPasswordHash("Secret1")));
    EXPECT_TRUE(stored.contains(userPasswordHash("OTHER")));  // letter case does not count
    attempt("Secret1");
    EXPECT_FALSE(kit.isOpen("LoginWnd"));
    EXPECT_EQ(CurrentUser, "Anna Berg");

    // Keyed by the folder's own random value, kept for the user alone.
    const QString key = passwordKeyFile(kit.folder());
    ASSERT_TRUE(QFile::exists(key));
    EXPECT_EQ(QFile::permissions(key) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    QTemporaryDir other;
    EXPECT_NE(passwordHash(other.path(), "Secret1"), userPasswordHash("Secret1"));
    EXPECT_EQ(passwordHash(kit.folder(), "Secret1"), userPasswordHash("Secret1"));
}

// A folder whose key was lost (only the data files copied back): the log-in
// says the key must be restored, counts no wrong try, makes no new key, and
// logs the user in once the key is back.
TEST_F(Login, AMissingKeyIsToldAndNeverMadeAgainOverStoredHashes)
{
    open();  // hashes the plain passwords: the key is made now
    const QString keyFile = passwordKeyFile(kit.folder());
    QFile key(keyFile);
    ASSERT_TRUE(key.open(QIODevice::ReadOnly));
    const QByteArray saved = key.readAll();
    key.close();
    attempt("Secret1");
    ASSERT_FALSE(kit.isOpen("LoginWnd"));
    ASSERT_TRUE(QFile::remove(keyFile));
    CurrentUser = "logon";

    open();
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("\"VenUsr.key\" is missing from " + kit.folder()));
    EXPECT_TRUE(kit.boxes()[0].text.contains("restore it beside \"VenUsr.tps\" from a backup set"));
    for (int i = 0; i < 5; ++i)
        attempt("Secret1");
    ASSERT_EQ(kit.boxes().size(), 6u);
    for (const auto& box : kit.boxes())
        EXPECT_TRUE(box.text.contains("VenUsr.key")) << box.text.toStdString();
    EXPECT_FALSE(QFile::exists(keyFile));
    EXPECT_TRUE(kit.isOpen("LoginWnd"));
    EXPECT_EQ(halts, 0);
    EXPECT_FALSE(log().contains("Wrong Password"));

    // Restored from the backup set, the same password logs in.
    ASSERT_TRUE(key.open(QIODevice::WriteOnly));
    key.write(saved);
    key.close();
    attempt("Secret1");
    EXPECT_FALSE(kit.isOpen("LoginWnd"));
    EXPECT_EQ(CurrentUser, "Anna Berg");
}

TEST(PasswordHash, Pbkdf2GivesTheKnownValues)
{
    EXPECT_EQ(pbkdf2Sha256("password", "salt", 1, 32).toHex(),
              "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
    EXPECT_EQ(pbkdf2Sha256("password", "salt", 2, 32).toHex(),
              "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43");
    EXPECT_EQ(passwordHash(QDir::tempPath(), "   "), "");
}
