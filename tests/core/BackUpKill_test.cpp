// A backup killed half way: the last good set is untouched, the program's
// bookkeeping still names it, and the next backup completes over the
// interrupted set.
#include "WindowKit.h"

#include "core/BackUpWnd.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <csignal>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

// Every file below `folder` with a digest of its bytes.
std::map<QString, QByteArray> contents(const QString& folder)
{
    std::map<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        out[QDir(folder).relativeFilePath(f.fileName())] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    return out;
}

QStringList leftovers(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString f = it.next(); f.contains(".part"))
            out << f;
    return out;
}

struct BackUpKill : ::testing::Test {
    WindowKit kit;
    QString base;

    BackUpKill()
    {
        InitDataFiles();
        Log_Activity = "N";
        base = kit.folder("Backup/Set");
        writeIni(kit.ini(), "Paths", "BackUp_Path", base);
    }
    ~BackUpKill() override
    {
        // A backup still copying (a failed step left it) ends in order
        // before the kit closes the files under it.
        EXPECT_TRUE(kit.waitUntil([this] { return !kit.isOpen("BackUpWnd"); }, 300000));
        Log_Activity.clear();
    }

    // Enough diary entries that copying the diary takes a while.
    void fill(int count)
    {
        Context ctx;
        for (const FileDef* def : {&VenAlarm, &VenNam, &VenNote, &VenAcc, &VenMoney, &VenDoc})
            ASSERT_TRUE(ctx.file(*def).open());
        KeyedFile& dry = ctx.file(VenDry);
        ASSERT_TRUE(dry.open());
        WriteBatch batch(dry);
        ASSERT_TRUE(batch.isOpen());
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(dry.primeRecord());
            dry.rec().set(DRY::LEGEND, QStringLiteral("entry %1 with some text to make the page fuller").arg(i));
            ASSERT_TRUE(dry.insert());
        }
        ASSERT_TRUE(batch.commit());
    }
    void backUp()
    {
        kit.start([] { return makeBackUpWnd({}); });
        kit.press("BackUpWnd", "Data");
        ASSERT_TRUE(kit.waitUntil([this] { return !kit.isOpen("BackUpWnd"); }, 300000))
            << "the backup did not end within five minutes";
        ASSERT_TRUE(kit.boxes().empty()) << kit.boxes()[0].text.toStdString();
    }
    QStringList bookkeeping()
    {
        QStringList out;
        for (const char* k : {"BackUp_Set", "BackUp_Date", "BackUp_Time"})
            out << readIni(kit.ini(), "Main", k, "?");
        return out;
    }
    // Starts a backup in a child process and kills it once `ready` holds
    // for the set being written.
    void killDuring(const std::function<bool(const QString&)>& ready)
    {
        Store::instance().closeIdle();
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            kit.start([] { return makeBackUpWnd({}); });
            kit.press("BackUpWnd", "Data");
            while (kit.isOpen("BackUpWnd"))
                kit.wait(1);
            _exit(0);
        }
        bool seen = false;
        for (QDeadlineTimer deadline(120000); !seen && !deadline.hasExpired();) {
            seen = ready(base + "#2");
            if (!seen)
                usleep(500);
        }
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(seen) << "the moment to kill never came";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the backup ended before it was killed";
    }
};

TEST_F(BackUpKill, AKilledBackupKeepsTheLastGoodSetAndItsBookkeeping)
{
    fill(20000);
    backUp();
    const QStringList kept = bookkeeping();
    ASSERT_EQ(kept[0], "1");
    const auto good = contents(base + "#1");
    ASSERT_GT(good.size(), 5u);
    kit.clock().advance(2 * 24 * 3600 * 1000);  // a later backup would write a later date

    // Killed in the middle of a file's copy, then after some files are done.
    const std::function<bool(const QString&)> moments[] = {
        [](const QString& set) { return !leftovers(set).isEmpty(); },
        [](const QString& set) { return contents(set).size() >= 3 + size_t(leftovers(set).size()); },
    };
    for (const auto& moment : moments) {
        killDuring(moment);
        EXPECT_EQ(bookkeeping(), kept);
        EXPECT_EQ(contents(base + "#1"), good) << "the last good set was touched";
        // The live files are sound.
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        ASSERT_TRUE(dry.open());
        EXPECT_TRUE(dry.checkIntegrity());
        EXPECT_EQ(dry.records(), 20000);
    }

    // The next backup writes the interrupted set in full, leaving no pieces.
    backUp();
    EXPECT_EQ(bookkeeping()[0], "2");
    EXPECT_NE(bookkeeping()[1], kept[1]);
    EXPECT_EQ(leftovers(base + "#2").join(' ').toStdString(), "");
    Store::instance().closeIdle();
    Store::instance().setFolder(base + "#2");
    {
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        ASSERT_TRUE(dry.open());
        EXPECT_TRUE(dry.checkIntegrity());
        EXPECT_EQ(dry.records(), 20000);
    }
    Store::instance().closeIdle();
    Store::instance().setFolder(kit.folder());
}

} // namespace
} // namespace ven::test
