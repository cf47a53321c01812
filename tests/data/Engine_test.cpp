// The engine's services beyond single records: a transaction over two
// files, backups, exclusive opens, inspection with the stock sqlite3 tool,
// placeholders left by a copy that ended, and the "not found" text.
#include "DataFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using namespace ven;
using ven::test::DataFolder;

namespace {

struct Engine : ven::test::DataFilesTest {};

// A posting: the account's new balance and the money record.
Status post(KeyedFile& acc, KeyedFile& mon, int number, double amount, int date)
{
    acc.rec().clear();
    acc.rec().set(ACC::TYPE, "B");
    acc.rec().set(ACC::NUMBER, number);
    if (Status st = acc.get(ACC::ACCOUNT_KEY); !st)
        return st;
    acc.rec().set(ACC::AMOUNT, acc.rec().real(ACC::AMOUNT) + amount);
    if (Status st = acc.update(); !st)
        return st;
    mon.rec().clear();
    mon.rec().set(MON::TYPE, "B");
    mon.rec().set(MON::NUMBER, number);
    mon.rec().set(MON::DATE, date);
    mon.rec().set(MON::AMOUNT, amount);
    return mon.add();
}

void addAccount(KeyedFile& acc, int number)
{
    acc.rec().clear();
    acc.rec().set(ACC::TYPE, "B");
    acc.rec().set(ACC::NUMBER, number);
    acc.rec().set(ACC::NAME, "Bank");
    ASSERT_TRUE(acc.add());
}

double balance(int number)
{
    Context c;
    KeyedFile& acc = c.file(VenAcc);
    acc.open();
    acc.rec().clear();
    acc.rec().set(ACC::TYPE, "B");
    acc.rec().set(ACC::NUMBER, number);
    return acc.get(ACC::ACCOUNT_KEY) ? acc.rec().real(ACC::AMOUNT) : -1;
}

int64_t count(const FileDef& def)
{
    Context c;
    KeyedFile& f = c.file(def);
    f.open();
    return f.records();
}

TEST_F(Engine, ABatchOverTwoFilesStoresBothOrNeither)
{
    KeyedFile& acc = open(VenAcc);
    KeyedFile& mon = open(VenMoney);
    addAccount(acc, 1);
    {
        WriteBatch batch({&mon, &acc});
        ASSERT_TRUE(batch.isOpen()) << batch.status().text.toStdString();
        ASSERT_TRUE(post(acc, mon, 1, 10.0, 100));
        // The second posting fails half-way (same time: a duplicate money
        // key) after its account was rewritten; the run is abandoned.
        EXPECT_EQ(post(acc, mon, 1, 5.0, 100).code, Err::DuplicateKey);
    }
    EXPECT_EQ(balance(1), 0.0);
    EXPECT_EQ(count(VenMoney), 0);
    {
        WriteBatch batch({&mon, &acc});
        ASSERT_TRUE(post(acc, mon, 1, 10.0, 100));
        ASSERT_TRUE(post(acc, mon, 1, 5.0, 101));
        ASSERT_TRUE(batch.commit().ok());
    }
    EXPECT_EQ(balance(1), 15.0);
    EXPECT_EQ(count(VenMoney), 2);
    // Both files work on their own again, reading what was stored.
    mon.set(MON::CRONO_KEY);
    ASSERT_TRUE(mon.next());
    EXPECT_EQ(mon.rec().real(MON::AMOUNT), 10.0);
    ASSERT_TRUE(post(acc, mon, 1, 1.0, 102));
    EXPECT_EQ(balance(1), 16.0);
    // An account renumbered in a batch carries its postings along (the
    // relation's cascade joins the batch) or, abandoned, neither.
    for (bool keep : {false, true}) {
        WriteBatch batch({&acc, &mon});
        acc.rec().clear();
        acc.rec().set(ACC::TYPE, "B");
        acc.rec().set(ACC::NUMBER, 1);
        ASSERT_TRUE(acc.get(ACC::ACCOUNT_KEY));
        acc.rec().set(ACC::NUMBER, 2);
        ASSERT_TRUE(acc.updateWithChildren());
        if (keep) {
            ASSERT_TRUE(batch.commit());
        }
    }
    EXPECT_EQ(balance(1), -1.0);
    EXPECT_EQ(balance(2), 16.0);
    mon.set(MON::ACCOUNT_KEY);
    int moved = 0;
    while (mon.next().ok())
        moved += mon.rec().num(MON::NUMBER) == 2;
    EXPECT_EQ(moved, 3);
}

TEST_F(Engine, AProcessKilledInsideATwoFileBatchLeavesNeither)
{
    open(VenAcc);
    addAccount(ctx.file(VenAcc), 1);
    Store::instance().closeIdle();
    for (bool commitFirst : {false, true}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Store::instance().closeIdle();
            Context c;
            KeyedFile& acc = c.file(VenAcc);
            KeyedFile& mon = c.file(VenMoney);
            if (!acc.open() || !mon.open())
                _exit(2);
            WriteBatch batch({&acc, &mon});
            if (!post(acc, mon, 1, 7.0, 100))
                _exit(3);
            if (commitFirst && !batch.commit())
                _exit(4);
            raise(SIGKILL);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << WEXITSTATUS(status);
        EXPECT_EQ(balance(1), commitFirst ? 7.0 : 0.0);
        EXPECT_EQ(count(VenMoney), commitFirst ? 1 : 0);
        Store::instance().closeIdle();
    }
}

// The stock sqlite3 tool's answer, or nothing when it is not installed.
std::optional<QString> sqlite3Tool(const QString& file, const QString& sql)
{
    const QString tool = QStandardPaths::findExecutable("sqlite3");
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(tool, {file, sql});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

TEST_F(Engine, ABackupIsEncipheredUnderTheSameKeyAndReadsBack)
{
    KeyedFile& dry = open(VenDry);
    for (int i = 1; i <= 50; ++i) {
        ASSERT_TRUE(dry.primeRecord());
        dry.rec().set(DRY::LEGEND, QString("Confidential meeting %1").arg(i));
        ASSERT_TRUE(dry.insert());
    }
    ASSERT_TRUE(dry.primeRecord());  // a form adding while the copy is made
    KeyedFile& days = open(VenDays);
    ASSERT_TRUE(QDir().mkpath(folder.path("copy")));
    const QString copy = folder.path("copy/VenDry.tps");
    {
        QFile old(copy);  // an older copy is replaced whole
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(dry.backupTo(copy).ok());
    ASSERT_TRUE(days.backupTo(folder.path("copy/VenDays.tps")).ok());
    ASSERT_TRUE(dry.cancelAutoInc());
    EXPECT_EQ(QDir(folder.path("copy")).entryList(QDir::Files), QStringList({"VenDays.tps", "VenDry.tps"}));

    QFile raw(copy);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains("Confidential")) << "the copy holds the legends in clear";
    if (auto out = sqlite3Tool(copy, "SELECT count(*) FROM rec")) {
        EXPECT_TRUE(out->contains("not a database")) << out->toStdString();
    }
    QFile plain(folder.path("copy/VenDays.tps"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_TRUE(plain.read(15) == "SQLite format 3");

    // Under the key, as the program reads it, the copy is the file.
    Store::instance().closeIdle();
    Store::instance().setFolder(folder.path("copy"));
    Context c;
    KeyedFile& back = c.file(VenDry);
    ASSERT_TRUE(back.open().ok());
    EXPECT_TRUE(back.checkIntegrity());
    EXPECT_EQ(back.records(), 51);  // the placeholder was part of the snapshot
    back.rec().clear();
    back.rec().set(DRY::NUMBER, 50);
    ASSERT_TRUE(back.get(DRY::NUMBER_KEY));
    EXPECT_EQ(back.rec().str(DRY::LEGEND), "Confidential meeting 50");
    back.close();
    Store::instance().setFolder(folder.path());

    // A copy into a folder that does not exist fails and leaves nothing.
    Status st = dry.backupTo(folder.path("nowhere/VenDry.tps"));
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.errorText.isEmpty());
}

// A copy made in steps takes several of them for a file of many pages, takes
// in what this process writes between them, and left unfinished removes its
// part and leaves the old copy alone.
TEST_F(Engine, ABackupInStepsTakesInWritesBetweenStepsAndAbandonedLeavesTheOldCopy)
{
    KeyedFile& dry = open(VenDry);
    {
        WriteBatch batch(dry);
        for (int i = 1; i <= 2000; ++i) {
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, i);
            dry.rec().set(DRY::LEGEND, QString("Entry %1 with a legend long enough to fill pages").arg(i));
            ASSERT_TRUE(dry.add());
        }
        ASSERT_TRUE(batch.commit());
    }
    const QString copy = folder.path("VenDry.copy");
    {
        QFile old(copy);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    {
        BackupCopy abandoned(dry, copy);
        ASSERT_TRUE(abandoned.step(0));
    }
    EXPECT_EQ(QDir(folder.path()).entryList({"VenDry.copy*"}, QDir::Files), QStringList{"VenDry.copy"});
    QFile old(copy);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");

    BackupCopy b(dry, copy);
    int steps = 0;
    bool wrote = false;
    QElapsedTimer waited;
    waited.start();
    while (b.step(0) && waited.elapsed() < 20000) {
        if (++steps == 2) {  // a record added half way
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, 9999);
            dry.rec().set(DRY::LEGEND, "Added while copying");
            ASSERT_TRUE(dry.add());
            wrote = true;
        }
    }
    ASSERT_TRUE(b.status().ok()) << b.status().errorText.toStdString();
    EXPECT_TRUE(wrote);
    EXPECT_GT(steps, 3) << "the copy went in one step";

    Store::instance().closeIdle();
    ASSERT_TRUE(QDir().mkpath(folder.path("back")));
    ASSERT_TRUE(QFile::rename(copy, folder.path("back/VenDry.tps")));
    Store::instance().setFolder(folder.path("back"));
    Context c;
    KeyedFile& back = c.file(VenDry);
    ASSERT_TRUE(back.open().ok());
    EXPECT_TRUE(back.checkIntegrity());
    EXPECT_EQ(back.records(), 2001);
    back.rec().set(DRY::NUMBER, 9999);
    ASSERT_TRUE(back.get(DRY::NUMBER_KEY));
    EXPECT_EQ(back.rec().str(DRY::LEGEND).trimmed(), "Added while copying");
    back.close();
    Store::instance().setFolder(folder.path());
}

// The rebuild on a worker thread ends with the keys sound; an instance that
// is not open is told at once.
TEST_F(Engine, AKeyRebuildInTheBackgroundEndsWithSoundKeys)
{
    {
        KeyedFile& dry = open(VenDry);
        for (int i = 1; i <= 20; ++i) {
            ASSERT_TRUE(dry.primeRecord());
            dry.rec().set(DRY::LEGEND, QString("Entry %1").arg(i));
            ASSERT_TRUE(dry.insert());
        }
        dry.close();
    }
    Context c;
    KeyedFile& dry = c.file(VenDry);
    {
        KeyRebuild closed(dry);
        EXPECT_TRUE(closed.done());
        EXPECT_EQ(closed.status().code, Err::NotOpen);
    }
    ASSERT_TRUE(dry.open(KeyedFile::Mode::Exclusive).ok());
    KeyRebuild r(dry);
    QElapsedTimer waited;
    waited.start();
    while (!r.done() && waited.elapsed() < 20000)
        QThread::msleep(1);
    ASSERT_TRUE(r.done());
    ASSERT_TRUE(r.status().ok()) << r.status().errorText.toStdString();
    EXPECT_TRUE(dry.checkIntegrity());
    dry.rec().set(DRY::NUMBER, 20);
    ASSERT_TRUE(dry.get(DRY::NUMBER_KEY));
    EXPECT_EQ(dry.rec().str(DRY::LEGEND).trimmed(), "Entry 20");
}

// A backup whose check is still running on its worker when the process
// ends: an exit handler made here, before any file is opened, runs after
// every handler the cipher library's set-up may add, and sees the check
// through to its end.
BackupCopy* checkAtExit = nullptr;
const int atExitRegistered = std::atexit([] {
    if (!checkAtExit)
        return;
    while (checkAtExit->step())
        usleep(1000);
    _exit(checkAtExit->status().ok() ? 0 : 3);
});

TEST_F(Engine, ABackupStillCheckedWhenTheProcessEndsReadsBackSound)
{
    ASSERT_EQ(atExitRegistered, 0);
    KeyedFile& dry = open(VenDry);
    {
        WriteBatch batch(dry);
        for (int i = 1; i <= 20000; ++i) {
            dry.rec().clear();
            dry.rec().set(DRY::NUMBER, i);
            dry.rec().set(DRY::LEGEND, QString("Entry %1 with a legend long enough to fill pages").arg(i));
            ASSERT_TRUE(dry.add());
        }
        ASSERT_TRUE(batch.commit());
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        checkAtExit = new BackupCopy(dry, folder.path("VenDry.copy"));
        // One long step copies every page and hands the check to its worker.
        if (!checkAtExit->step(60000))
            _exit(2);
        std::exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the copy failed, 3: its check failed";
}

TEST_F(Engine, AnExclusiveOpenKeepsThisProcessesOtherInstancesOut)
{
    Context other, third;
    KeyedFile& shared = open(VenIdea);
    Status st = other.file(VenIdea).open(KeyedFile::Mode::Exclusive);
    EXPECT_EQ(st.code, Err::Locked);
    EXPECT_EQ(st.message, 1);
    shared.close();
    Store::instance().closeIdle();
    ASSERT_TRUE(other.file(VenIdea).open(KeyedFile::Mode::Exclusive).ok());
    st = ctx.file(VenIdea).open();
    EXPECT_EQ(st.code, Err::Locked);
    EXPECT_TRUE(st.text.contains("VenIdea")) << st.text.toStdString();
    EXPECT_EQ(third.file(VenIdea).open(KeyedFile::Mode::Exclusive).code, Err::Locked);
    // The exclusive instance works; once it closes, the others may open.
    KeyedFile& mine = other.file(VenIdea);
    ASSERT_TRUE(mine.primeRecord());
    ASSERT_TRUE(mine.insert());
    mine.close();
    ASSERT_TRUE(ctx.file(VenIdea).open().ok());
    EXPECT_EQ(ctx.file(VenIdea).records(), 1);
}

TEST_F(Engine, PlainFilesReadWithTheStockSqliteTool)
{
    KeyedFile& days = open(VenDays);
    days.rec().clear();
    days.rec().set(0, QString("Inspect me"));
    ASSERT_TRUE(days.add());
    days.close();
    Store::instance().closeIdle();
    auto out = sqlite3Tool(Store::instance().pathOf(VenDays), "SELECT count(*) FROM rec; SELECT label FROM ven_meta;");
    if (!out)
        GTEST_SKIP() << "no sqlite3 tool";
    EXPECT_EQ(*out, "1\nVenDays");
}

TEST_F(Engine, NotFoundCarriesItsText)
{
    KeyedFile& dry = open(VenDry);
    dry.rec().clear();
    dry.rec().set(DRY::NUMBER, 9);
    Status st = dry.get(DRY::NUMBER_KEY);
    EXPECT_EQ(st.code, Err::NotFound);
    EXPECT_EQ(st.errorText, "Record Not Found");
    EXPECT_EQ(dry.getById(12345).errorText, "Record Not Found");
}

// A number a form reserved itself is held against every other reservation
// and store until the form stores its record over it or gives it back.
TEST_F(Engine, AReservedNumberIsHeldUntilStoredOrGivenBack)
{
    KeyedFile& doc = open(VenDoc);
    Context other;
    KeyedFile& second = other.file(VenDoc);
    ASSERT_TRUE(second.open());
    doc.rec().clear();
    doc.rec().set(DOC::DOCNUM, 4);
    ASSERT_TRUE(doc.reserve());
    EXPECT_TRUE(doc.currentIsPlaceholder());
    second.rec().clear();
    second.rec().set(DOC::DOCNUM, 4);
    EXPECT_EQ(second.reserve().code, Err::DuplicateKey);
    EXPECT_EQ(second.insert().code, Err::DuplicateKey);
    // Reserved again under another number, the placeholder moves with it.
    doc.rec().set(DOC::DOCNUM, 6);
    ASSERT_TRUE(doc.reserve());
    ASSERT_TRUE(second.reserve());
    doc.rec().set(DOC::DOCNAME, "kept.txt");
    ASSERT_TRUE(doc.insert());
    EXPECT_FALSE(doc.currentIsPlaceholder());
    ASSERT_TRUE(second.cancelAutoInc());
    ASSERT_EQ(count(VenDoc), 1);
    second.rec().clear();
    second.rec().set(DOC::DOCNUM, 6);
    ASSERT_TRUE(second.get(DOC::NUM_KEY));
    EXPECT_EQ(second.rec().str(DOC::DOCNAME).trimmed(), "kept.txt");
}

TEST_F(Engine, PlaceholdersOfACopyThatEndedAreRemovedAtTheNextStart)
{
    KeyedFile& dry = open(VenDry);
    ASSERT_TRUE(dry.primeRecord());
    dry.rec().set(DRY::LEGEND, "kept");
    ASSERT_TRUE(dry.insert());
    ASSERT_TRUE(dry.primeRecord());  // this process's own, held by a form
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Store::instance().closeIdle();
        Context c;
        KeyedFile& f = c.file(VenDry);
        KeyedFile& i = c.file(VenIdea);
        KeyedFile& d = c.file(VenDoc);
        if (!f.open() || !f.primeRecord() || !i.open() || !i.primeRecord() || !d.open())
            _exit(2);
        d.rec().set(DOC::DOCNUM, 5);  // a number the form chose itself
        if (!d.reserve())
            _exit(2);
        raise(SIGKILL);  // killed while three forms were adding
    }
    // Swept while the killed copy is still a zombie (dead, not yet reaped):
    // a zombie holds nothing.
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT), 0);
    ASSERT_EQ(info.si_code, CLD_KILLED);
    EXPECT_EQ(dry.records(), 3);
    int removed = -1;
    ASSERT_TRUE(Store::instance().removeStalePlaceholders(&removed).ok());
    EXPECT_EQ(removed, 3);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(dry.records(), 2);
    EXPECT_EQ(count(VenIdea), 0);
    EXPECT_EQ(count(VenDoc), 0);
    // The own placeholder is still held and is stored as usual.
    dry.rec().set(DRY::LEGEND, "mine");
    ASSERT_TRUE(dry.insert());
    ASSERT_TRUE(Store::instance().removeStalePlaceholders(&removed).ok());
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(dry.records(), 2);
}

} // namespace
