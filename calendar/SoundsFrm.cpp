// The sound-effect form: the lookup splits a chosen file into name and
// folder, Test plays it, OK stores it and then makes it the default sound.
#include "calendar/SoundsFrm.h"

#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialogs.h"
#include "platform/RecordForm.h"
#include "platform/Shell.h"

namespace ven {
namespace {

const WindowDef kSoundsFrmDef{
    .title = "Update Sound Effects",
    .w = 346,
    .h = 70,
    .icon = "Vendrolix.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 2, .w = 342, .h = 46},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "Lookup", .kind = Kind::Button, .x = 8, .y = 20, .w = 16, .h = 24, .parent = "General", .tip = "Lookup Sound File",
         .icon = "WizFind.ico"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 28, .y = 20, .w = 22, .h = 10, .parent = "General"},
        {.name = "Name", .kind = Kind::Entry, .x = 52, .y = 19, .w = 240, .h = 11, .parent = "General", .picture = "s127",
         .tip = "Sound File Name", .use = "WAV:FILENAME"},
        {.name = "PathPrompt", .kind = Kind::Prompt, .text = "Path:", .x = 28, .y = 33, .w = 22, .h = 10, .parent = "General"},
        {.name = "Path", .kind = Kind::Entry, .x = 52, .y = 32, .w = 240, .h = 11, .parent = "General", .picture = "s127",
         .tip = "Sound File Path", .use = "WAV:FILEPATH"},
        {.name = "Test", .kind = Kind::Button, .text = "Test", .x = 296, .y = 20, .w = 42, .h = 24, .parent = "General", .icon = "Sounds.ico"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 206, .y = 52, .w = 44, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 254, .y = 52, .w = 44, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 302, .y = 52, .w = 42, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {{InsertRecord, "Adding a Sound Effect"}, {ChangeRecord, "Changing a Sound Effect"}};

class SoundsFrm : public RecordForm {
public:
    SoundsFrm() : RecordForm(QStringLiteral("SoundsFrm"), kSoundsFrmDef, VenWav)
    {
        DELETEACTION = 4;  // a delete from the list removes the record at once
        FIRSTFIELD = QStringLiteral("Lookup");
        setTitles(kTitles);
    }

protected:
    void accepted(const QString& control) override
    {
        if (control == u"Lookup")
            return lookUp();
        if (control == u"Test")
            return test();
        if (control == u"OK")
            return ok();
        RecordForm::accepted(control);
    }

private:
    Record& sound() { return primary().rec(); }

    void lookUp()
    {
        const QString file = chooseFile(&window(), QStringLiteral("Lookup Sound File"), Sound_Path.trimmed(),
                                        QStringLiteral("Wave Files (*.wav)"));
        if (file.isEmpty()) {
            control("Lookup").select();
            return;
        }
        sound().set(WAV::FILENAME, SplitPath(PathName, 1, file));
        sound().set(WAV::FILEPATH, SplitPath(PathFolder, 0, file));
        window().display();
    }

    void test()
    {
        window().update(QStringLiteral("Name"));
        window().update(QStringLiteral("Path"));
        ShellWindow = this;
        ShellOperation = QStringLiteral("Play");
        ShellFile = sound().str(WAV::FILENAME).trimmed();
        ShellParameters.clear();
        ShellDirectory = sound().str(WAV::FILEPATH).trimmed();
        ShellShowCmd = 0;
        // What failed is said, also when the sound fails while it plays.
        ShellOnFailure = [](const QString& why) { messageBox(why, QStringLiteral("Test"), Icon::Exclamation); };
        ShellExecute();
    }

    void ok()
    {
        acceptControls([this] {
            const QString name = sound().str(WAV::FILENAME).trimmed(), folder = sound().str(WAV::FILEPATH).trimmed();
            if (name.isEmpty() || folder.isEmpty()) {
                control("Lookup").select();
                return;
            }
            // The default changes only with a sound that was stored.
            if (!complete())
                return;
            Sound_Path = SoundFolderSetting(folder);
            Sound_File = name;
        });
    }
};

} // namespace

QString SoundFolderSetting(const QString& folder)
{
    const bool endsInSeparator = folder.endsWith(u'\\') || folder.endsWith(u'/');
    const bool root = folder.size() <= 1 || (folder.size() <= 3 && folder.size() >= 2 && folder[1] == u':');
    return endsInSeparator && !root ? folder.left(folder.size() - 1) : folder;
}

std::unique_ptr<WindowController> makeSoundsFrm(const QString&)
{
    return std::make_unique<SoundsFrm>();
}

} // namespace ven
