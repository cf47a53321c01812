// The program form: the start folder taken from the program's folder, the
// start folder cut after its last separator, the icon a launcher button
// from 2 to 28 takes from the program, the dialogs, Start, and OK's checks
// of the button number.
#include "registers/ProgramsFr.h"

#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialogs.h"
#include "platform/RecordForm.h"
#include "registers/RunProgram.h"

#include <QAbstractSpinBox>
#include <QDir>
#include <QFileInfo>

namespace ven {
namespace {

const WindowDef kProgramsFrDef{
    .title = "Update Programs",
    .w = 280,
    .h = 150,
    .icon = "Programs.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 272, .h = 122},
        {.name = "ProgramTab", .kind = Kind::Tab, .text = "Program", .parent = "Sheet"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 23, .w = 50, .h = 10, .parent = "ProgramTab"},
        {.name = "Name", .kind = Kind::Entry, .x = 64, .y = 22, .w = 100, .h = 11, .parent = "ProgramTab", .picture = "s32",
         .use = "PRG:NAME"},
        {.name = "ButtonPrompt", .kind = Kind::Prompt, .text = "Button Number:", .x = 172, .y = 23, .w = 54, .h = 10,
         .parent = "ProgramTab"},
        {.name = "ButtonNumber", .kind = Kind::Spin, .x = 228, .y = 22, .w = 40, .h = 11, .parent = "ProgramTab", .picture = "n03B",
         .tip = "Place on Button?\n(001 - 100)", .use = "PRG:BUTTONNUMBER", .low = 1, .high = 100},
        {.name = "DescriptionPrompt", .kind = Kind::Prompt, .text = "Description:", .x = 10, .y = 38, .w = 50, .h = 10,
         .parent = "ProgramTab"},
        {.name = "Description", .kind = Kind::Entry, .x = 64, .y = 37, .w = 204, .h = 11, .parent = "ProgramTab",
         .picture = "s127", .use = "PRG:DESCRIPTION"},
        {.name = "ProgPathPrompt", .kind = Kind::Prompt, .text = "ProgramPath:", .x = 10, .y = 53, .w = 50, .h = 10,
         .parent = "ProgramTab"},
        {.name = "ProgPath", .kind = Kind::Entry, .x = 64, .y = 52, .w = 186, .h = 11, .parent = "ProgramTab", .picture = "s127",
         .use = "PRG:PROGPATH"},
        {.name = "ProgLookup", .kind = Kind::Button, .text = "...", .x = 252, .y = 52, .w = 16, .h = 11, .parent = "ProgramTab",
         .tip = "Select Program"},
        {.name = "StartPathPrompt", .kind = Kind::Prompt, .text = "StartPath:", .x = 10, .y = 68, .w = 50, .h = 10,
         .parent = "ProgramTab"},
        {.name = "StartPath", .kind = Kind::Entry, .x = 64, .y = 67, .w = 186, .h = 11, .parent = "ProgramTab",
         .picture = "s127", .use = "PRG:STARTPATH"},
        {.name = "StartLookup", .kind = Kind::Button, .text = "...", .x = 252, .y = 67, .w = 16, .h = 11, .parent = "ProgramTab",
         .tip = "Lookup Start Path"},
        {.name = "ParametersPrompt", .kind = Kind::Prompt, .text = "Parameters:", .x = 10, .y = 83, .w = 50, .h = 10,
         .parent = "ProgramTab"},
        {.name = "Parameters", .kind = Kind::Entry, .x = 64, .y = 82, .w = 204, .h = 11, .parent = "ProgramTab",
         .picture = "s127", .use = "PRG:PARAMETERS"},
        {.name = "IconPrompt", .kind = Kind::Prompt, .text = "Icon:", .x = 10, .y = 98, .w = 50, .h = 10, .parent = "ProgramTab"},
        {.name = "Icon", .kind = Kind::Entry, .x = 64, .y = 97, .w = 186, .h = 11, .parent = "ProgramTab", .picture = "s127",
         .use = "PRG:ICON"},
        {.name = "IconLookup", .kind = Kind::Button, .text = "...", .x = 252, .y = 97, .w = 16, .h = 11, .parent = "ProgramTab",
         .tip = "Select Icon"},
        {.name = "Start", .kind = Kind::Button, .text = "Start", .x = 4, .y = 131, .w = 50, .h = 14},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 120, .y = 131, .w = 50, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 173, .y = 131, .w = 50, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 226, .y = 131, .w = 50, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding a Program"}, {ChangeRecord, "Changing Program Data"}, {DeleteRecord, "Deleting this Program"}};

int lastSeparator(const QString& s)
{
    return int(std::max(s.lastIndexOf(u'/'), s.lastIndexOf(u'\\')));
}

class ProgramsFr : public RecordForm {
public:
    ProgramsFr() : RecordForm(QStringLiteral("ProgramsFr"), kProgramsFrDef, VenPrg)
    {
        FIRSTFIELD = QStringLiteral("Name");
        setTitles(kTitles);
    }

protected:
    void accepted(const QString& c) override
    {
        Record& r = primary().rec();
        if (c == u"ProgPath") {
            takeStartPath();
            iconDefault();
            window().display();
        } else if (c == u"ProgLookup") {
            window().update(QStringLiteral("StartPath"));  // a start folder typed stays
            const QString saved = QDir::currentPath();
            r.set(PRG::PROGPATH, chooseFile(window().outer(), QStringLiteral("Select Program"), lastFolder_,
                                                              QStringLiteral("Program Files (*.exe *.com *.bat *.lnk);;All Files (*)")));
            QDir::setCurrent(saved);
            takeStartPath();
            window().display();
        } else if (c == u"StartLookup") {
            const QString folder = chooseFolder(window().outer(), QStringLiteral("Select Start Path"), lastFolder_);
            if (!folder.isEmpty())
                r.set(PRG::STARTPATH, joinPath(folder, {}));
            window().display();
        } else if (c == u"IconLookup") {
            const QString saved = QDir::currentPath();
            r.set(PRG::ICON, chooseFile(window().outer(), QStringLiteral("Select Image for Button Icon"),
                                                          lastFolder_,
                                                          QStringLiteral("Icon Images (*.ico *.gif *.jpg *.bmp *.png *.svg);;All Files (*)")));
            QDir::setCurrent(saved);
            trim();
            window().display();
        } else if (c == u"ButtonNumber") {
            if (Status st = primary().validateField(PRG::BUTTONNUMBER); !st) {
                errors().show(st);
                control("ButtonNumber").select();
            }
        } else if (c == u"Start") {
            takeEntries();
            trim();
            startRegisteredProgram(r, &window());
            ok();
        } else if (c == OKCONTROL) {
            takeEntries();
            ok();
        } else {
            RecordForm::accepted(c);
        }
    }

private:
    void takeEntries()
    {
        // The button number as typed, with its range check.
        if (auto* spin = control("ButtonNumber").as<QAbstractSpinBox>())
            emit spin->editingFinished();
        for (const char* e : {"Name", "ButtonNumber", "Description", "ProgPath", "StartPath", "Parameters", "Icon"})
            window().update(QString::fromUtf8(e));
        // The program's own rule, also when the focus never left its entry
        // (or left it only as a refusal took the cursor elsewhere).
        takeStartPath();
    }

    // A blank start folder takes the program's folder.
    void takeStartPath()
    {
        Record& r = primary().rec();
        const QString folder = startPathFromProgram(r.str(PRG::PROGPATH), lastFolder_);
        lastFolder_ = folder;
        if (r.str(PRG::STARTPATH).trimmed().isEmpty())
            r.set(PRG::STARTPATH, folder);
    }

    void trim()
    {
        Record& r = primary().rec();
        r.set(PRG::STARTPATH, trimStartPath(r.str(PRG::STARTPATH)));
        lastFolder_ = r.str(PRG::STARTPATH);
    }

    // Buttons 2 to 28 show the program's own icon when none is named.
    void iconDefault()
    {
        Record& r = primary().rec();
        const int64_t b = r.num(PRG::BUTTONNUMBER);
        if (b >= 2 && b <= 28 && r.str(PRG::ICON).trimmed().isEmpty())
            r.set(PRG::ICON, r.str(PRG::PROGPATH));
    }

    // Another program that holds the button number, through an instance of its own.
    bool buttonTaken(int64_t number)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenPrg);
        if (!f.open())
            return false;
        const int64_t own = REQUEST == ChangeRecord ? primary().currentId() : 0;
        f.rec().clear();
        f.rec().set(PRG::BUTTONNUMBER, number);
        f.setFromBuffer(PRG::BUTTON_KEY);
        while (f.next() && f.rec().num(PRG::BUTTONNUMBER) == number)
            if (f.currentId() != own)
                return true;
        return false;
    }

    void ok()
    {
        if (REQUEST != DeleteRecord) {
            const int64_t b = primary().rec().num(PRG::BUTTONNUMBER);
            QString text;
            if (b > 100)
                text = QStringLiteral("Button Number may not be greater than 100");
            else if (b > 0 && buttonTaken(b))
                text = "Button Number " + QString::number(b) + " exists already!";
            if (!text.isEmpty()) {
                messageBox(text, QStringLiteral("Error"), Icon::Stop);
                control("ButtonNumber").select();
                return;
            }
            iconDefault();
            trim();
            window().display();
        }
        complete();
    }

    QString lastFolder_;  // the folder found last in this run of the form
};

} // namespace

QString startPathFromProgram(const QString& program, const QString& lastFolder)
{
    const int at = lastSeparator(program);
    return at < 0 ? lastFolder : program.left(at + 1);
}

QString trimStartPath(const QString& startPath)
{
    // A folder that exists is kept whole (ending in its separator): only a
    // file's path, such as the program itself, is cut to its folder.
    if (!startPath.trimmed().isEmpty() && QFileInfo(startPath.trimmed()).isDir())
        return joinPath(startPath.trimmed(), {});
    const int at = lastSeparator(startPath);
    return at < 0 ? startPath : startPath.left(at + 1);
}

std::unique_ptr<WindowController> makeProgramsFr(const QString&)
{
    return std::make_unique<ProgramsFr>();
}

} // namespace ven
