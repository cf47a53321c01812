// The shared line writer and the activity log: file names by mode, line
// format, failures and appends from several processes.
#include "core/ActivityLog.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace ven;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ActivityLog : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeClock fake{QDateTime(QDate(2026, 12, 9), QTime(8, 15, 2))};

    void SetUp() override
    {
        setClock(&fake);
        Daily_Notes = dir.path();
        TextFileName.clear();
        LogWritten = 0;
    }
    void TearDown() override
    {
        setClock(nullptr);
        Log_Activity.clear();
        TextFileName.clear();
    }
};

} // namespace

TEST_F(ActivityLog, FileNamesOfEveryMode)
{
    struct Case { const char* mode; const char* name; };
    const Case cases[] = {
        {"N", "Vendrolix.log"},
        {"C", "Vendrolix Activity.log"},
        {"C  ", "Vendrolix Activity.log"},
        {"M", "Vendrolix Activity 2026-12 December.log"},
        {"W", "Vendrolix Activity Year 2026 Week 49.log"},
        {"D", "Vendrolix Activity 2026-12-09 Wednesday.log"},
        {"d", "Vendrolix.log"},  // letter case counts
        {"", "Vendrolix.log"},
        {"X", "Vendrolix.log"},
    };
    for (const Case& c : cases) {
        Log_Activity = QString::fromLatin1(c.mode);
        ActivityLogFileName();
        EXPECT_EQ(ActivityLogName, c.name) << "'" << c.mode << "'";
        EXPECT_EQ(Log_Activity, c.mode);
    }
    Log_Activity = "0";
    ActivityLogFileName();
    EXPECT_EQ(ActivityLogName, "Vendrolix.log");
    EXPECT_EQ(Log_Activity, "N");
}

TEST_F(ActivityLog, WeeklyFilesTakeTheCalendarYear)
{
    EXPECT_EQ(activityLogName("W", dayNumber(2024, 12, 29)), "Vendrolix Activity Year 2024 Week 1.log");
    EXPECT_EQ(activityLogName("W", dayNumber(2024, 12, 31)), "Vendrolix Activity Year 2024 Week 1.log");
    EXPECT_EQ(activityLogName("W", dayNumber(2024, 1, 3)), "Vendrolix Activity Year 2024 Week 1.log");
    EXPECT_EQ(activityLogName("W", dayNumber(2022, 1, 1)), "Vendrolix Activity Year 2022 Week 52.log");
    EXPECT_EQ(activityLogName("W", dayNumber(2026, 2, 1)), "Vendrolix Activity Year 2026 Week 5.log");
    EXPECT_EQ(activityLogName("M", dayNumber(2026, 3, 1)), "Vendrolix Activity 2026-03 March.log");
    EXPECT_EQ(activityLogName("D", 0), "Vendrolix.log");
}

TEST_F(ActivityLog, DateLine)
{
    EXPECT_EQ(dateLineFor(dayNumber(2026, 12, 9)), "Wednesday 09 December 2026, Week 49");
    EXPECT_EQ(dateLineFor(dayNumber(2026, 2, 1)), "Sunday 01 February 2026, Week 05");
    EXPECT_EQ(dateLineFor(0), "");
}

TEST_F(ActivityLog, AppendTextLineTrimsCutsAndCreates)
{
    TextFileName = dir.filePath("CalcTape.txt");
    const QString long300 = QString(250, u'a') + QString(50, u'b');
    for (const QString& text : {long300, QStringLiteral("total   "), QStringLiteral("    "),
                                QStringLiteral("  lead"), QStringLiteral("one\r\ntwo"), QStringLiteral("Zürich")})
        EXPECT_TRUE(AppendTextLine(text).ok());
    EXPECT_EQ(readAll(TextFileName), (QString(250, u'a') + QString(5, u'b')).toUtf8()
                                         + "\r\ntotal\r\n\r\n  lead\r\none\r\ntwo\r\nZ\xC3\xBCrich\r\n");

    // Blanks at the cut are dropped too.
    QFile::remove(TextFileName);
    EXPECT_TRUE(AppendTextLine(QString(250, u'x') + QString(10, u' ') + "tail").ok());
    EXPECT_EQ(readAll(TextFileName), QByteArray(250, 'x') + "\r\n");
}

TEST_F(ActivityLog, FailuresAreReportedAndNothingIsCreated)
{
    for (const QString& name : {dir.filePath("no/such/folder/Vendrolix.log"), QString()}) {
        TextFileName = name;
        LineResult r = AppendTextLine("lost");
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.messages, QStringList({"File could NOT be opened", "Write Error: No such file or directory"}));
    }
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());

    Log_Activity = "D";
    ActivityLogFileName();
    Daily_Notes = dir.filePath("missing");
    LineResult r = ActivityLogLine("Login: Reception in D:\\Office");
    EXPECT_EQ(r.messages.value(0), "File could NOT be opened");
    EXPECT_EQ(LogWritten, 1);
    EXPECT_TRUE(TextFileName.isEmpty());
}

TEST_F(ActivityLog, NewLogFileStartsWithTheDateLine)
{
    Log_Activity = "D";
    ActivityLogFileName();
    DateLine = dateLineFor(fake.today());
    EXPECT_TRUE(ActivityLogLine("Login: Reception in D:\\Office").ok());
    EXPECT_EQ(LogWritten, 1);
    EXPECT_TRUE(TextFileName.isEmpty());
    fake.advance(65 * 1000);
    EXPECT_TRUE(ActivityLogLine("Program started: Calculator").ok());
    EXPECT_EQ(readAll(dir.filePath("Vendrolix Activity 2026-12-09 Wednesday.log")),
              "Wednesday 09 December 2026, Week 49\r\n\r\n"
              "08:15:02 Login: Reception in D:\\Office\r\n"
              "08:16:07 Program started: Calculator\r\n");

    Log_Activity = "N";
    LogWritten = 0;
    EXPECT_TRUE(ActivityLogLine("not logged").ok());
    EXPECT_EQ(LogWritten, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// Processes appending to one file at once: every line arrives whole.
TEST_F(ActivityLog, ProcessesAppendingToOneFileDoNotMixLines)
{
    const QString file = dir.filePath("Chat.txt");
    const int kProcesses = 4, kLines = 400;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TextFileName = file;
            const QString line = QString(200, QChar(u'A' + p));
            bool ok = true;
            for (int i = 0; i < kLines; ++i)
                ok = AppendTextLine(line).ok() && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QByteArray data = readAll(file);
    QList<QByteArray> lines = data.split('\n');
    ASSERT_TRUE(lines.takeLast().isEmpty());  // the file ends with a line end
    ASSERT_EQ(lines.size(), kProcesses * kLines);
    std::map<char, int> count;
    for (const QByteArray& l : lines) {
        ASSERT_EQ(l.size(), 201);  // 200 letters and the CR
        ASSERT_EQ(l.count(l[0]), 200) << l.constData();
        ++count[l[0]];
    }
    for (int p = 0; p < kProcesses; ++p)
        EXPECT_EQ(count[char('A' + p)], kLines);
}
