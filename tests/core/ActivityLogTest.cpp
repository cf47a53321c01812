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
        EXPECT_EQ(r.messages, QStringList({"File could NOT be opened: " + name,
                                           "Write Error: " + name + ": No such file or directory"}));
    }
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());

    Log_Activity = "D";
    ActivityLogFileName();
    Daily_Notes = dir.filePath("missing");
    LineResult r = ActivityLogLine("Login: Reception in D:\\Office");
    EXPECT_TRUE(r.messages.value(0).startsWith("File could NOT be opened: " + dir.filePath("missing/")))
        << r.messages.value(0).toStdString();
    EXPECT_EQ(LogWritten, 1);
}

TEST_F(ActivityLog, NewLogFileStartsWithTheDateLine)
{
    Log_Activity = "D";
    ActivityLogFileName();
    DateLine = dateLineFor(fake.today());
    // The calculator keeps its tape's name in the global while its window is
    // open; the log neither uses nor clears it.
    TextFileName = dir.filePath("CalcTape.txt");
    EXPECT_TRUE(ActivityLogLine("Login: Reception in D:\\Office").ok());
    EXPECT_EQ(LogWritten, 1);
    EXPECT_EQ(TextFileName, dir.filePath("CalcTape.txt"));
    EXPECT_TRUE(AppendTextLine("     1.00 +").ok());
    EXPECT_EQ(readAll(TextFileName), "     1.00 +\r\n");
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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(ActivityLog, WesternBytesForTheReminderImport)
{
    // The separator "þ" is the one byte 0xFE; the rest of the line is
    // Windows-1252 text, with "?" for what the code page lacks.
    const QString file = dir.filePath("2025Mem3.inp");
    const QChar sep(0xFE);
    const QString line = QStringList{"U", "25", "12", "31", "00", "00", "  Silvester, Zoë €5 \u0416"}.join(sep);
    EXPECT_TRUE(AppendTextLine(file, line + "   ", LineCoding::Western).ok());
    EXPECT_EQ(readAll(file), QByteArray("U\xFE" "25\xFE" "12\xFE" "31\xFE" "00\xFE" "00\xFE  Silvester, Zo\xEB \x80" "5 ?\r\n"));
    EXPECT_EQ(westernBytes(QString::fromUtf16(u"\u201Cx\u201D \u0178 \U0001F600")), QByteArray("\x93x\x94 \x9F ?"));
    // 255 characters are 255 bytes.
    QFile::remove(file);
    EXPECT_TRUE(AppendTextLine(file, QString(300, QChar(0xE9)), LineCoding::Western).ok());
    EXPECT_EQ(readAll(file), QByteArray(255, '\xE9') + "\r\n");
}

TEST_F(ActivityLog, SeveralLinesGoInAsOneAppendWithOneHeader)
{
    const QString file = dir.filePath("Chat 2026-12-09.txt");
    EXPECT_TRUE(AppendTextLines(file, {"08.15 Anna:", "Lunch?  "}, {"Wednesday 09 December 2026, Week 49"}).ok());
    EXPECT_TRUE(AppendTextLines(file, {"08.16 Ben:", "Yes"}, {"Wednesday 09 December 2026, Week 49"}).ok());
    EXPECT_EQ(readAll(file), "Wednesday 09 December 2026, Week 49\r\n08.15 Anna:\r\nLunch?\r\n08.16 Ben:\r\nYes\r\n");
    const QString gone = dir.filePath("gone/Chat.txt");
    const LineResult r = AppendTextLines(gone, {"a", "b"});
    EXPECT_EQ(r.messages, QStringList({"File could NOT be opened: " + gone, "Write Error: " + gone + ": No such file or directory"}));
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

// Two-line messages of several processes, each starting the file with a
// header: one header, and each message's lines together.
TEST_F(ActivityLog, TwoLineMessagesOfSeveralProcessesStayTogether)
{
    const QString file = dir.filePath("Chat.txt");
    const int kProcesses = 4, kMessages = 300;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const QString who = QString(QChar(u'A' + p));
            bool ok = true;
            for (int i = 0; i < kMessages; ++i)
                ok = AppendTextLines(file, {who + ':', who.toLower() + QString::number(i)}, {"header"}).ok() && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QList<QByteArray> lines = readAll(file).split('\n');
    ASSERT_TRUE(lines.takeLast().isEmpty());
    ASSERT_EQ(lines.size(), 1 + 2 * kProcesses * kMessages);
    EXPECT_EQ(lines[0], "header\r");
    for (qsizetype i = 1; i + 1 < lines.size(); i += 2) {
        ASSERT_EQ(lines[i].size(), 3) << i;  // "A:" and the CR
        ASSERT_EQ(lines[i + 1][0], QChar(lines[i][0]).toLower().toLatin1()) << i;
    }
}
