// What the program writes to disk outside the data files: new files and
// folders for the user alone, whole-file writers and line writers on a full
// disk (the old text kept, the failure named), and the end asked by a
// signal (the running mark cleared, the log-out line written).
#include "FullDisk.h"
#include "WindowKit.h"

#include "core/ActivityLog.h"
#include "core/EndOnSignal.h"
#include "core/FreshTextFile.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"
#include "platform/PasswordHash.h"
#include "platform/PrivateFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(FileSafety, WhatTheProgramMakesIsForTheUserAlone)
{
    const mode_t old = ::umask(022);
    keepNewFilesPrivate();
    {
        WindowKit kit;
        InitDataFiles();
        {
            Context ctx;
            ASSERT_TRUE(ctx.file(VenDry).open());
        }
        ASSERT_TRUE(writeIni(kit.ini(), "Main", "LastOn", "1"));
        ASSERT_TRUE(AppendTextLine(kit.folder("Vendrolix.log"), "a line").ok());
        ASSERT_TRUE(QDir().mkpath(kit.folder("Backup/Set#1")));
        ASSERT_FALSE(passwordHash(kit.folder(), "pw").isEmpty());
        const std::pair<const char*, mode_t> made[] = {
            {"VenDry.tps", 0600}, {"Vendrolix.ini", 0600}, {"Vendrolix.log", 0600},
            {"VenUsr.key", 0600}, {"Backup", 0700},        {"Backup/Set#1", 0700},
        };
        for (const auto& [name, mode] : made)
            EXPECT_EQ(modeOf(kit.folder(name)), mode) << name;
    }
    ::umask(old);
}

// Two users whose primary group is the same, made for a test with useradd
// and removed after it.
class TwoUsersOfOneGroup {
public:
    TwoUsersOfOneGroup()
    {
        const QString tag = QString::number(::getpid());
        first_ = "vensharea" + tag;
        second_ = "venshareb" + tag;
        made_ = QProcess::execute("useradd", {"-M", "-U", "-s", "/usr/sbin/nologin", first_}) == 0
             && QProcess::execute("useradd", {"-M", "-N", "-g", first_, "-s", "/usr/sbin/nologin", second_}) == 0;
    }
    ~TwoUsersOfOneGroup()
    {
        QProcess::execute("userdel", {second_});
        QProcess::execute("userdel", {first_});
        QProcess::execute("groupdel", {first_});
    }
    bool made() const { return made_ && ::getpwnam(qPrintable(first_)) && ::getpwnam(qPrintable(second_)); }
    gid_t group() const { return ::getpwnam(qPrintable(first_))->pw_gid; }
    // Runs `what` in a child process as the first (0) or second user, with
    // the program's file-creation mask; true when it returned true.
    bool runAs(int user, const std::function<bool()>& what) const
    {
        const passwd* pw = ::getpwnam(qPrintable(user == 0 ? first_ : second_));
        const uid_t uid = pw->pw_uid;
        const gid_t gid = pw->pw_gid;
        const pid_t child = ::fork();
        if (child == 0) {
            const bool as = ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0;
            keepNewFilesPrivate();
            ::_exit(as && what() ? 0 : 1);
        }
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    QString first_, second_;
    bool made_ = false;
};

// A folder that its group may write (setgid, as the README sets it up) is
// shared: what one user of the group makes there the other reads and writes
// (the day's chat file, a data file, settings). A private folder stays 0600.
TEST(FileSafety, AFolderSharedByAGroupWorksForEachOfItsUsers)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root: the test makes two users of one group with useradd";
    TwoUsersOfOneGroup users;
    ASSERT_TRUE(users.made()) << "useradd failed";
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    ::chmod(QFile::encodeName(top.path()).constData(), 0755);
    const QString shared = top.filePath("shared");
    ASSERT_TRUE(QDir().mkdir(shared));
    const QByteArray sharedPath = QFile::encodeName(shared);
    ASSERT_EQ(::chown(sharedPath.constData(), 0, users.group()), 0);
    ASSERT_EQ(::chmod(sharedPath.constData(), 02770), 0);

    WindowKit kit;  // the engine's key, in the parent for both children
    Store::instance().setFolder(shared);
    const QString chat = shared + "/Chat 2026-12-11.txt";
    const QString ini = shared + "/Shared.ini";
    ASSERT_TRUE(users.runAs(0, [&] {
        Context ctx;
        return AppendTextLine(chat, "from the first").ok() && writeIni(ini, "Main", "By", "first")
            && ctx.file(VenDry).open().ok() && ctx.file(VenDry).records() == 0;
    }));
    for (const char* name : {"Chat 2026-12-11.txt", "Shared.ini", "VenDry.tps"}) {
        EXPECT_EQ(modeOf(shared + '/' + name), 0660u) << name;
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(shared + '/' + name).constData(), &st), 0);
        EXPECT_EQ(st.st_gid, users.group()) << name;
    }
    EXPECT_TRUE(users.runAs(1, [&] {
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        if (!AppendTextLine(chat, "from the second").ok() || !writeIni(ini, "Main", "By", "second")
            || !dry.open().ok())
            return false;
        dry.rec().clear();
        return dry.add().ok() && dry.records() == 1;
    })) << "the second user cannot use what the first made";
    EXPECT_EQ(bytesOf(chat).count("from the"), 2) << bytesOf(chat).constData();
    EXPECT_EQ(readIni(ini, "Main", "By", ""), "second");

    // In a private folder of the same user, a new file stays private.
    const QString own = top.filePath("own");
    ASSERT_TRUE(QDir().mkdir(own));
    ::chmod(QFile::encodeName(own).constData(), 0700);
    const mode_t old = ::umask(022);
    keepNewFilesPrivate();
    EXPECT_TRUE(AppendTextLine(own + "/Chat 2026-12-11.txt", "alone").ok());
    EXPECT_EQ(modeOf(own + "/Chat 2026-12-11.txt"), 0600u);
    ::umask(old);
}

// On a full disk each writer fails, names its file and leaves the old text
// whole: settings, a file written afresh (import files) and appended lines.
TEST(FileSafety, AFullDiskLeavesEveryFileAsItWasAndNamesIt)
{
    FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString ini = disk.filePath("Vendrolix.ini"), fresh = disk.filePath("Import.txt"),
                  log = disk.filePath("Vendrolix.log");
    ASSERT_TRUE(writeIni(ini, "Paths", "BackUp_Path", "/media/backup"));
    ASSERT_TRUE(WriteTextLinesAfresh(fresh, {"old one", "old two"}).ok());
    ASSERT_TRUE(AppendTextLine(log, "first").ok());
    const QByteArray before[] = {bytesOf(ini), bytesOf(fresh), bytesOf(log)};
    ASSERT_TRUE(disk.fill());

    QString why;
    EXPECT_FALSE(writeIni(ini, "Main", "Vendrolix:Running", "No", &why));
    EXPECT_EQ(why, "it cannot be written: No space left on device");
    // More than the slack of a file's last page, so that the disk must give a new one.
    const QStringList many(40, QString(250, u'n'));
    const LineResult afresh = WriteTextLinesAfresh(fresh, many);
    EXPECT_EQ(afresh.messages, QStringList{"Write Error: " + fresh + ": No space left on device"});
    const LineResult appended = AppendTextLines(log, many);
    EXPECT_EQ(appended.messages, QStringList{"Write Error: " + log + ": No space left on device"});

    EXPECT_EQ(bytesOf(ini), before[0]);
    EXPECT_EQ(bytesOf(fresh), before[1]);
    EXPECT_EQ(bytesOf(log), before[2]) << "no half line is left";
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
              (QStringList{"ballast", "Import.txt", "Vendrolix.ini", "Vendrolix.log"}))
        << "no temporary file is left";
}

// A data file's backup onto a full disk fails with the disk's own reason
// and leaves no part of the copy behind.
TEST(FileSafety, ABackupOntoAFullDiskSaysTheDiskIsFull)
{
    FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    WindowKit kit;
    InitDataFiles();
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    ASSERT_TRUE(dry.open());
    {
        WriteBatch batch(dry);
        for (int i = 0; i < 400; ++i) {
            ASSERT_TRUE(dry.primeRecord());
            dry.rec().set(DRY::LEGEND, QStringLiteral("entry %1 that fills a page or two").arg(i));
            ASSERT_TRUE(dry.insert());
        }
        ASSERT_TRUE(batch.commit());
    }
    ASSERT_TRUE(disk.fill());
    const Status st = dry.backupTo(disk.filePath("VenDry.tps"));
    EXPECT_FALSE(st.ok());
    EXPECT_NE(st.errorText, "not an error");
    EXPECT_TRUE(st.errorText.contains("full", Qt::CaseInsensitive) || st.errorText.contains("No space"))
        << st.errorText.toStdString();
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files), QStringList{"ballast"});
}

// A settings file that cannot be written is told once, by name.
TEST(FileSafety, AFailedSettingsWriteIsToldOnceByName)
{
    FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    WindowKit kit;
    const QString ini = disk.filePath("Vendrolix.ini");
    ASSERT_TRUE(writeIni(ini, "Main", "LastOn", "1"));
    ASSERT_TRUE(disk.fill());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(writeIniTold(ini, "Main", "LastOn", QString::number(1000 + i)));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Write Error: " + ini + ": it cannot be written: No space left on device");
    EXPECT_EQ(readIni(ini, "Main", "LastOn", "?"), "1");
}

// Ended by a signal (the system shutting down, kill): the event loop takes
// it up, clears the running mark and writes the log-out line.
TEST(FileSafety, ASignalEndsTheProgramInOrder)
{
    WindowKit kit;
    Program_Path = kit.folder();
    Log_Activity = "C";
    ActivityLogName = "Vendrolix Activity.log";
    Daily_Notes = kit.folder();
    CurrentUser = "Anna Berg";
    ASSERT_TRUE(writeIni(kit.ini(), "Main", "Vendrolix:Running", "Yes"));
    EndOnSignals();
    bool timedOut = false;
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QCoreApplication::exit(9);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(readIni(kit.ini(), "Main", "Vendrolix:Running", "?"), "No");
    EXPECT_TRUE(bytesOf(kit.folder("Vendrolix Activity.log")).contains(" Logout: Anna Berg (" + kit.folder().toUtf8() + ")"));
    Log_Activity.clear();
    CurrentUser.clear();
    Daily_Notes.clear();
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::signal(sig, SIG_DFL);
}

} // namespace
} // namespace ven::test
