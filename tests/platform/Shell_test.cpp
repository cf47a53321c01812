// The shell verbs: parameters split as a command line is, and sounds found
// among the program's own when the named file is not there.
#include "platform/Shell.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ven {
namespace {

TEST(Shell, ParametersSplitAsACommandLineWithoutAShell)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"", {}},
        {"a b", {"a", "b"}},
        {"  -x   \"two words\"  ", {"-x", "two words"}},
        {"\"\" end", {"", "end"}},
        {";rm -rf x", {";rm", "-rf", "x"}},
    };
    for (const auto& [text, parts] : cases)
        EXPECT_EQ(splitParameters(text), parts) << text;
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
