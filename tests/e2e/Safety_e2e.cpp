// What a person meets when a file cannot be written or read: a full disk
// under a settings write, a damaged alarm file at start-up. Each is told in
// a message box and the program goes on; nothing stored is lost.
#include "E2eKit.h"
#include "FullDisk.h"
#include "Seeds.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ven::e2e;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The texts of the message boxes on screen that say `text`.
QStringList boxesSaying(const E2eKit& kit, const QString& text)
{
    QStringList found;
    for (const QJsonValue& w : kit.windows()) {
        if (w.toObject().value("class").toString() != "QMessageBox")
            continue;
        for (const QJsonValue& c : kit.controls(w.toObject().value("title").toString()))
            if (c.toObject().value("text").toString().contains(text))
                found << c.toObject().value("text").toString();
    }
    return found;
}

// The frame's status bar zones' texts, joined.
QString statusBar(const E2eKit& kit)
{
    QStringList texts;
    for (const QJsonValue& c : kit.controls("Main"))
        if (c.toObject().value("class").toString() == "QLabel")
            texts << c.toObject().value("text").toString();
    return texts.join('|');
}

} // namespace

// The folder is on a small file system of its own; once it is full, the
// settings that the program's end writes (the frame's placement, Running)
// fail: one "Write Error" box names the settings file, the program still
// ends, and the settings file stays as it was.
TEST(FullDiskE2e, AFailedSettingsWriteIsToldOnceAndTheOldFileStaysWhole)
{
    E2eKit kit;
    ven::test::FullDisk disk(kit.folder(), 16 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    kit.prepareFolder();
    seedSmallDataSet(kit);
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    const QString ini = kit.folder("Vendrolix.ini");
    ASSERT_TRUE(kit.waitFor([&] { return kit.ini("Main", "Vendrolix:Running") == "Yes"; }, "Running=Yes"));
    const QByteArray before = bytesOf(ini);
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(disk.fill());

    kit.menu("&File", {"E&xit"});
    ASSERT_TRUE(kit.waitFor([&] { return !boxesSaying(kit, "Write Error").isEmpty(); }, "the Write Error box"));
    const QStringList told = boxesSaying(kit, "Write Error");
    ASSERT_EQ(told.size(), 1) << told.join('\n').toStdString();
    EXPECT_TRUE(told[0].contains("Vendrolix.ini")) << told[0].toStdString();
    kit.key("Return");
    // Every further settings write of the end fails the same way: told
    // once, so the program ends with no second box to answer.
    const std::optional<int> rc = kit.waitExit();
    ASSERT_TRUE(rc.has_value()) << "the program did not end";
    EXPECT_EQ(*rc, 0);
    EXPECT_TRUE(bytesOf(ini) == before) << "the settings file was changed";
}

// A damaged alarm file at start-up: the user is told by name in a box and in
// the status bar, the program goes on (its windows open) and ends as usual.
TEST(DamagedAlarmsE2e, ADamagedAlarmFileAtStartIsToldAndTheProgramGoesOn)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);
    {
        QFile f(kit.folder("VenAlarm.tps"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QByteArray junk(8192, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 131 + 7) % 251);
        f.write(junk);
    }
    const QByteArray damaged = bytesOf(kit.folder("VenAlarm.tps"));
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return !boxesSaying(kit, "VenAlarm").isEmpty(); }, "the box naming the alarm file"));
    const QStringList told = boxesSaying(kit, "VenAlarm");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("cannot be read")) << told[0].toStdString();
    // Shown as the program starts, the box takes the key once it is placed
    // and active.
    kit.activate("Alarms Stopped");
    kit.key("Return");
    ASSERT_TRUE(kit.waitFor([&] { return boxesSaying(kit, "VenAlarm").isEmpty(); }, "the box to close"));
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    EXPECT_TRUE(kit.waitFor([&] { return statusBar(kit).contains("No Alarms: VenAlarm cannot be read"); },
                            "the status bar to say why there are no alarms"))
        << statusBar(kit).toStdString();

    kit.menu("&Vendrolix", {"Ca&lendar"});
    EXPECT_TRUE(kit.waitWindow("CalendarWnd"));
    kit.menu("&File", {"E&xit"});
    kit.expectOrderlyEnd();
    EXPECT_TRUE(bytesOf(kit.folder("VenAlarm.tps")) == damaged) << "the damaged file was written";
}
