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
#include <QTimer>

#include <csignal>
#include <sys/stat.h>

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
