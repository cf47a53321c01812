// Settings files: Windows profile semantics, preservation and bad files.
#include "platform/Ini.h"

#include "FullDisk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <unistd.h>

using namespace ven;

namespace {

class Ini : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("Vendrolix.ini"));

    void put(const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray contents() const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(Ini, MissingFileGivesDefaultsAndWriteCreatesIt)
{
    EXPECT_EQ(readIni(file, "Paths", "Program_Path", "dflt"), "dflt");
    EXPECT_EQ(readIniInt(file, "Main", "LastOn", 17), 17);
    EXPECT_FALSE(QFile::exists(file));

    ASSERT_TRUE(writeIni(file, "Paths", "Program_Path", "/home/ven"));
    EXPECT_EQ(contents(), "[Paths]\nProgram_Path=/home/ven\n");  // no byte-order mark, no blanks
    ASSERT_TRUE(writeIni(file, "Main", "LastOn", "82526"));
    EXPECT_EQ(readIniInt(file, "Main", "LastOn", 0), 82526);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Vendrolix.ini"});  // no temporary left
}

TEST_F(Ini, NamesIgnoreCaseAndValuesAreRaw)
{
    const QString odd[][3] = {
        {"Paths", "Daily_Notes", "C:\\Office\\Notes\\"},
        {"NameBr", "?Browse:1Format", "80L(2)|M~Name~@s40@#1#"},
        {"Main", "Equation", "a=b;c,d # not a comment"},
        {"Main", "Tag", "<<<END"},
        {"Main", "Quoted", "\"quoted\""},
        {"Main", "Accents", "Zürich Café"},
    };
    for (auto& e : odd)
        ASSERT_TRUE(writeIni(file, e[0], e[1], e[2])) << e[1].toStdString();
    for (auto& e : odd) {
        EXPECT_EQ(readIni(file, e[0].toUpper(), e[1].toLower(), "?"), e[2]);
        EXPECT_EQ(readIni(file, e[0].toLower(), e[1].toUpper(), "?"), e[2]);
    }
    ASSERT_TRUE(writeIni(file, "MAIN", "tag", "replaced"));
    EXPECT_EQ(readIni(file, "Main", "Tag", "?"), "replaced");
    EXPECT_EQ(contents().count("ag="), 1);  // replaced in place, not added
    EXPECT_TRUE(contents().contains("[Main]\nEquation=a=b;c,d # not a comment\n"));
}

TEST_F(Ini, EmptyAndNumericValues)
{
    put("[Main]\nEmpty=\nBlank=   \nNum= 12 \nLead=12abc\nNeg=-7\nText=abc\nHex=0x1A\nHuge=99999999999\n"
        "[S]\nK=first\nK=second\n");
    EXPECT_EQ(readIni(file, "Main", "Empty", "dflt"), "");
    EXPECT_EQ(readIni(file, "Main", "Blank", "dflt"), "");
    EXPECT_EQ(readIni(file, "Main", "Num", "dflt"), "12");
    EXPECT_EQ(readIni(file, "Main", "Missing", "dflt"), "dflt");
    EXPECT_EQ(readIni(file, "Nowhere", "Num", "dflt"), "dflt");
    EXPECT_EQ(readIni(file, "S", "K", "dflt"), "first");  // the first of duplicates counts
    const std::pair<const char*, int> ints[] = {{"Empty", 0}, {"Blank", 0}, {"Num", 12}, {"Lead", 12},
                                                {"Neg", -7}, {"Text", 0}, {"Hex", 0}, {"Huge", INT_MAX},
                                                {"Missing", 5}};
    for (auto& [entry, value] : ints)
        EXPECT_EQ(readIniInt(file, "Main", entry, 5), value) << entry;
}

TEST_F(Ini, WriteKeepsTheRestOfTheFile)
{
    put("\xEF\xBB\xBF; Vendrolix settings\r\n\r\n[Paths]\r\nProgram_Path=C:\\Ven\r\nSound_Path=C:\\Snd\r\n\r\n"
        "[Main]\r\nLastOn = 82526\r\n; 0 none, 1 at start\r\nCalendar=1\r\n\r\n[__Dont_Touch_Me__]\r\nSectors=1\r\n");
    ASSERT_TRUE(writeIni(file, "main", "calendar", "2"));
    ASSERT_TRUE(writeIni(file, "Paths", "HourBell", "C:\\Snd\\Hour.wav"));
    ASSERT_TRUE(writeIni(file, "ProgramsWnd", "TabName1", "Tools"));
    EXPECT_EQ(contents(),
              "; Vendrolix settings\r\n\r\n[Paths]\r\nProgram_Path=C:\\Ven\r\nSound_Path=C:\\Snd\r\n"
              "HourBell=C:\\Snd\\Hour.wav\r\n\r\n[Main]\r\nLastOn = 82526\r\n; 0 none, 1 at start\r\nCalendar=2\r\n\r\n"
              "[__Dont_Touch_Me__]\r\nSectors=1\r\n\r\n[ProgramsWnd]\r\nTabName1=Tools\r\n");
}

TEST_F(Ini, ChangesByOthersAreSeen)
{
    put("[Main]\nLog_Activity=D\n");
    {
        // An old file, as at start-up: its parsed form is cached.
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(readIni(file, "Main", "Log_Activity", ""), "D");
    EXPECT_EQ(readIni(file, "main", "log_activity", ""), "D");
    put("[Main]\nLog_Activity=W\n");  // same size, rewritten in place
    EXPECT_EQ(readIni(file, "Main", "Log_Activity", ""), "W");
    ASSERT_TRUE(writeIni(file, "Main", "Log_Activity", "M"));
    EXPECT_EQ(readIni(file, "Main", "Log_Activity", ""), "M");
    QFile::remove(file);
    EXPECT_EQ(readIni(file, "Main", "Log_Activity", "gone"), "gone");
}

TEST_F(Ini, BadFilesReadAsEmptyAndAreNotOverwritten)
{
    // Not a settings file: binary bytes.
    const QByteArray binary("GIF89a\0\0[Main]\nA=1\n\x01\x02", 20);
    put(binary);
    EXPECT_EQ(readIni(file, "Main", "A", "dflt"), "dflt");
    QString why;
    EXPECT_FALSE(writeIni(file, "Main", "A", "2", &why));
    EXPECT_EQ(why, "it is not a settings file (it holds NUL bytes)");
    EXPECT_EQ(contents(), binary);

    // Empty file.
    put("");
    EXPECT_EQ(readIni(file, "Main", "A", "dflt"), "dflt");
    EXPECT_TRUE(writeIni(file, "Main", "A", "2"));

    // A folder in place of the file; a folder that does not exist.
    QString folder = dir.filePath("sub.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(readIni(folder, "Main", "A", "dflt"), "dflt");
    why.clear();
    EXPECT_FALSE(writeIni(folder, "Main", "A", "1", &why));
    EXPECT_TRUE(why.startsWith("it cannot be ")) << why.toStdString();
    QString lost = dir.filePath("no/such/Vendrolix.ini");
    EXPECT_EQ(readIniInt(lost, "Main", "A", 3), 3);
    EXPECT_FALSE(writeIni(lost, "Main", "A", "1", &why));
    EXPECT_EQ(why, "the folder " + QDir::toNativeSeparators(dir.filePath("no/such")) + " does not exist");
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());

    // A file that cannot be read (root reads everything, so only as a user).
    if (::geteuid() != 0) {
        put("[Main]\nA=1\n");
        QFile::setPermissions(file, QFileDevice::WriteOwner);
        EXPECT_EQ(readIni(file, "Main", "A", "dflt"), "dflt");
        EXPECT_FALSE(writeIni(file, "Main", "A", "2"));
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(readIni(file, "Main", "A", "dflt"), "1");
    }
}

TEST_F(Ini, UnsafeNamesAndValuesAreRefused)
{
    put("[Main]\nA=1\n");
    const QString bad[][3] = {
        {"Main", "A", "1\n[Paths]\nProgram_Path=/tmp"}, {"Main", "A", "x\ry"}, {"Main", "B=C", "1"},
        {"Ma]in", "A", "1"}, {"Main", "[X]", "1"},      {"Main", ";A", "1"},   {"", "A", "1"},
        {"Main", "", "1"},   {"Main", "   ", "1"},
    };
    for (auto& e : bad)
        EXPECT_FALSE(writeIni(file, e[0], e[1], e[2])) << e[1].toStdString();
    EXPECT_EQ(contents(), "[Main]\nA=1\n");
}

TEST_F(Ini, FullDiskKeepsTheOldFileWhole)
{
    test::FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString ini = disk.filePath("Vendrolix.ini");
    QByteArray old = "[Paths]\nProgram_Path=/home/ven\nBackUp_Path=/media/backup\n[Main]\nVendrolix:Running=Yes\n";
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    ASSERT_TRUE(disk.fill());
    QString why;
    EXPECT_FALSE(writeIni(ini, "Main", "Vendrolix:Running", "No, and a longer value than there is room for", &why));
    EXPECT_TRUE(why.startsWith("it cannot be written: ")) << why.toStdString();
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), (QStringList{"ballast", "Vendrolix.ini"}));
    EXPECT_EQ(readIni(ini, "Paths", "BackUp_Path", ""), "/media/backup");

    disk.drain();
    EXPECT_TRUE(writeIni(ini, "Main", "Vendrolix:Running", "No"));
    EXPECT_EQ(readIni(ini, "Main", "Vendrolix:Running", ""), "No");
}
