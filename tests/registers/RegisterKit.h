// What the register windows' tests share: the kit with the dictionary and
// the system's procedures defined, a shell that records its calls, an
// activity log in the kit's folder, records added straight to the files,
// and stand-ins for the windows a test does not drive.
#pragma once

#include "WindowKit.h"

#include "app/Procedures.h"
#include "core/ActivityLog.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/RecordForm.h"
#include "platform/Shell.h"

#include <QFile>

namespace ven::test {

struct ShellCall {
    QString operation, file, parameters, directory;
};

// A procedure that notes that it ran and ends at once with its response.
class StandIn : public WindowController {
public:
    StandIn(QStringList& runs, const QString& name, uint8_t response, std::function<void(StandIn&)> act)
        : WindowController(name, kDef, ProcedureTraits{}), runs_(runs), response_(response), act_(std::move(act))
    {
    }

protected:
    bool setUp() override
    {
        runs_ << QStringLiteral("%1 request %2").arg(procedure()).arg(REQUEST);
        if (act_)
            act_(*this);
        RESPONSE = response_;
        return false;
    }

private:
    static inline const WindowDef kDef{.title = "StandIn", .controls = {}};
    QStringList& runs_;
    uint8_t response_;
    std::function<void(StandIn&)> act_;
};

class RegisterTest : public testing::Test {
protected:
    RegisterTest()
    {
        InitDataFiles();
        DefineProcedures();
        resetGlobals();
        Log_Activity = QStringLiteral("C");
        Daily_Notes = kit.folder();
        ActivityLogFileName();
        DateLine = QStringLiteral("Wednesday 09 December 2026, Week 50");
        setShellHandler([this] {
            shell.push_back({ShellOperation, ShellFile, ShellParameters, ShellDirectory});
            return kShellDone;
        });
    }
    ~RegisterTest() override
    {
        setShellHandler({});
        clearProcedures();
        resetGlobals();
    }
    static void resetGlobals()
    {
        GCatId.clear();
        GCatNum = 0;
        GDocPath.clear();
        GDocDescription.clear();
        Document_Path.clear();
        Log_Activity.clear();
    }

    // Adds a record straight to its file.
    template <class Fill> static void add(const FileDef& def, Fill fill)
    {
        Context ctx;
        KeyedFile& f = ctx.file(def);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        fill(f.rec());
        ASSERT_TRUE(f.add());
    }
    static void addDocument(int64_t docnum, const QString& catid, int64_t catnum, const QString& path, const QString& name,
                            const QString& program = {}, const QString& description = QStringLiteral("A document"))
    {
        add(VenDoc, [&](Record& r) {
            r.set(DOC::DOCNUM, docnum);
            r.set(DOC::CATID, catid);
            r.set(DOC::CATNUM, catnum);
            r.set(DOC::DOCPATH, path);
            r.set(DOC::DOCNAME, name);
            r.set(DOC::DESCRIPTION, description);
            r.set(DOC::ASSOCIATEDPROGRAM, program);
        });
    }
    static void addKeyword(int64_t docnum, const QString& word)
    {
        add(VenKWrd, [&](Record& r) {
            r.set(WRD::DOCNUM, docnum);
            r.set(WRD::KEYWORD, word);
        });
    }
    static void addProgram(const QString& name, const QString& path, int button = 0, const QString& parameters = {},
                           const QString& start = {}, const QString& icon = {})
    {
        add(VenPrg, [&](Record& r) {
            r.set(PRG::NAME, name);
            r.set(PRG::PROGPATH, path);
            r.set(PRG::BUTTONNUMBER, button);
            r.set(PRG::PARAMETERS, parameters);
            r.set(PRG::STARTPATH, start);
            r.set(PRG::ICON, icon);
            r.set(PRG::DESCRIPTION, name + " program");
        });
    }
    // The stored keywords of a document, in key order.
    static QStringList keywordsOf(int64_t docnum)
    {
        QStringList out;
        for (const Record& r : WindowKit::records(VenKWrd))
            if (r.num(WRD::DOCNUM) == docnum)
                out << r.str(WRD::KEYWORD);
        return out;
    }
    // Loads the record whose `key` matches `fill` into the frame thread's buffer.
    template <class Fill> static void load(const FileDef& def, int key, Fill fill)
    {
        KeyedFile& f = threadContext(kFrameThread).file(def);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        fill(f.rec());
        ASSERT_TRUE(f.get(key));
    }
    void stand(const QString& name, uint8_t response, std::function<void(StandIn&)> act = {})
    {
        defineProcedure(name, [this, name, response, act](const QString&) {
            return std::make_unique<StandIn>(runs, name, response, act);
        });
    }
    Record& buffer(const QString& form) { return dynamic_cast<RecordForm&>(kit.window(form)).primary().rec(); }
    QString log() const
    {
        QFile f(QDir(kit.folder()).filePath(ActivityLogName));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    WindowKit kit;
    std::vector<ShellCall> shell;
    QStringList runs;
};

} // namespace ven::test
