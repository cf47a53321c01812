// The chat: the day's file name, its first line, the message layout, what a
// blank entry and a pasted line break write, the 20-second reread, the
// closing after 15 minutes, and two processes writing into one file.
#include "WindowKit.h"

#include "core/ActivityLog.h"
#include "core/Globals.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "tools/ChatWnd.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

const QString kChat = QStringLiteral("ChatWnd");

QStringList fileLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct ChatKit : WindowKit {
    ChatKit() : WindowKit(QDateTime(QDate(2026, 12, 9), QTime(10, 5)))
    {
        QDir(folder()).mkdir("share");
        writeIni(ini(), "Paths", "ChatFileName", folder("share") + "/");
        CurrentUser = "Anna";
        DateLine = "Wednesday 09 December 2026, Week 49";
    }
    QString chatFile() { return folder("share/Chat 2026-12-09.txt"); }
};

TEST(Chat, FileNameOfTheDay)
{
    QTemporaryDir dir;
    const int32_t day = dayNumber(2026, 12, 9);
    EXPECT_EQ(chatFileName("/srv/chat/", day), "/srv/chat/Chat 2026-12-09.txt");
    EXPECT_EQ(chatFileName("/srv/nowhere/team", day), "/srv/nowhere/teamChat 2026-12-09.txt");
    // A chosen folder stored without its closing separator: the file lies inside it.
    EXPECT_EQ(chatFileName(dir.path(), day), dir.path() + "/Chat 2026-12-09.txt");
}

TEST(Chat, FirstOpeningMakesTheFileWithTheDateLine)
{
    ChatKit kit;
    kit.start([] { return makeChatWnd({}); });
    ASSERT_TRUE(kit.isOpen(kChat));
    EXPECT_EQ(fileLines(kit.chatFile()), QStringList({"Wednesday 09 December 2026, Week 49"}));
    EXPECT_EQ(kit.window(kChat).window().title(), kit.chatFile());
    EXPECT_EQ(ChatFileName, kit.chatFile());
    EXPECT_EQ(kit.rows(kChat), 1);
    kit.press(kChat, "Close");
    EXPECT_FALSE(kit.isOpen(kChat));

    // Opened again the same day: the file keeps its one date line.
    kit.start([] { return makeChatWnd({}); });
    EXPECT_EQ(fileLines(kit.chatFile()).size(), 1);
}

TEST(Chat, BlankSettingSaysSoClosesAtOnceAndWritesNothing)
{
    ChatKit kit;
    writeIni(kit.ini(), "Paths", "ChatFileName", "");
    kit.start([] { return makeChatWnd({}); });
    EXPECT_FALSE(kit.isOpen(kChat));
    EXPECT_TRUE(QDir(kit.folder("share")).isEmpty());
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("Chat File Path:"));
}

TEST(Chat, UnreachableFolderIsToldAndEndsTheWindow)
{
    ChatKit kit;
    writeIni(kit.ini(), "Paths", "ChatFileName", kit.folder("gone/"));
    kit.start([] { return makeChatWnd({}); });
    EXPECT_FALSE(kit.isOpen(kChat));
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("File could NOT be opened: " + kit.folder("gone/")))
        << kit.boxes()[0].text.toStdString();
}

TEST(Chat, WriteAppendsTheHeaderAndTheMessage)
{
    ChatKit kit;
    kit.start([] { return makeChatWnd({}); });
    kit.type(kChat, "Message", "Lunch at noon?");
    kit.enter(kChat);  // Enter presses Write, the default button
    EXPECT_EQ(fileLines(kit.chatFile()),
              QStringList({"Wednesday 09 December 2026, Week 49", "10.05 Anna:", "Lunch at noon?"}));
    EXPECT_EQ(kit.text(kChat, "Message"), "");
    EXPECT_EQ(kit.window(kChat).window().focusedControl(), "Message");
    EXPECT_EQ(kit.rows(kChat), 3);
    EXPECT_EQ(kit.highlighted(kChat), 2) << "the last line is shown";

    // A blank entry writes nothing.
    kit.type(kChat, "Message", "   ");
    kit.press(kChat, "Write");
    EXPECT_EQ(fileLines(kit.chatFile()).size(), 3);

    // 127 characters go in whole; the entry takes no more.
    kit.type(kChat, "Message", QString(130, u'x'));
    EXPECT_EQ(kit.text(kChat, "Message").size(), 127);
    kit.press(kChat, "Write");
    EXPECT_EQ(fileLines(kit.chatFile()).last(), QString(127, u'x'));

    // A pasted line break cannot forge another user's header.
    kit.control(kChat, "Message").as<QLineEdit>()->setText("ok\r\n10.06 Boss:\nyou are fired");
    kit.press(kChat, "Write");
    const QStringList lines = fileLines(kit.chatFile());
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[5], "10.05 Anna:");
    EXPECT_EQ(lines[6], "ok  10.06 Boss: you are fired");
    EXPECT_TRUE(kit.boxes().empty());
}

// A message that cannot be written is told and stays in the entry, to be
// written again once the folder is back.
TEST(Chat, AFailedWriteKeepsTheTypedMessage)
{
    ChatKit kit;
    kit.start([] { return makeChatWnd({}); });
    ASSERT_TRUE(QDir(kit.folder("share")).removeRecursively());
    kit.type(kChat, "Message", "Lunch at noon?");
    kit.press(kChat, "Write");
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes()[0].text, "File could NOT be opened: " + kit.chatFile());
    EXPECT_EQ(kit.text(kChat, "Message"), "Lunch at noon?");
    ASSERT_TRUE(QDir(kit.folder()).mkdir("share"));
    kit.press(kChat, "Write");
    EXPECT_EQ(fileLines(kit.chatFile()),
              QStringList({"Wednesday 09 December 2026, Week 49", "10.05 Anna:", "Lunch at noon?"}));
    EXPECT_EQ(kit.text(kChat, "Message"), "");
}

TEST(Chat, RereadsEveryTwentySecondsAndClosesAfterFifteenMinutes)
{
    ChatKit kit;
    kit.start([] { return makeChatWnd({}); });
    ASSERT_EQ(kit.rows(kChat), 1);
    // Another user writes.
    ASSERT_TRUE(writeChatMessage(kit.chatFile(), timeValue(10, 5, 0), "Bert", "Yes!", DateLine).ok());
    kit.wait(19 * 1000);
    EXPECT_EQ(kit.rows(kChat), 1);
    kit.wait(1000);
    EXPECT_EQ(kit.rows(kChat), 3);
    EXPECT_EQ(kit.cell(kChat, 2, 0), "Yes!");

    // A double click starts the fifteen minutes again.
    kit.wait(800 * 1000);
    QTest::mouseDClick(kit.control(kChat, "Face").widget(), Qt::LeftButton, {}, QPoint(3, 3));
    kit.settle();
    kit.wait(800 * 1000);
    EXPECT_TRUE(kit.isOpen(kChat));
    kit.wait(100 * 1000);
    EXPECT_FALSE(kit.isOpen(kChat));
}

// Two programs writing 1,000 messages each into the day's file, each making
// the file if it is missing: one date line, every message whole.
TEST(Chat, TwoProcessesWriteWholeMessagesUnderOneDateLine)
{
    QTemporaryDir dir;
    const QString file = chatFileName(dir.path(), dayNumber(2026, 12, 9));
    const int kMessages = 1000;
    std::vector<pid_t> children;
    for (const char* user : {"Anna", "Bert"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kMessages; ++i)
                ok = writeChatMessage(file, timeValue(10, 5, 0), user, QStringLiteral("%1 message %2").arg(user).arg(i),
                                      "Wednesday 09 December 2026, Week 49")
                         .ok()
                     && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QStringList lines = fileLines(file);
    ASSERT_EQ(lines.size(), 1 + 2 * 2 * kMessages);
    EXPECT_EQ(lines[0], "Wednesday 09 December 2026, Week 49");
    std::map<QString, int> next;
    for (qsizetype i = 1; i + 1 < lines.size(); i += 2) {
        ASSERT_TRUE(lines[i] == "10.05 Anna:" || lines[i] == "10.05 Bert:") << lines[i].toStdString();
        const QString user = lines[i].mid(6, 4);
        ASSERT_EQ(lines[i + 1], QStringLiteral("%1 message %2").arg(user).arg(next[user]++)) << i;
    }
    EXPECT_EQ(next["Anna"], kMessages);
    EXPECT_EQ(next["Bert"], kMessages);
}

} // namespace
} // namespace ven::test
