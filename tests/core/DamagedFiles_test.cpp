// Every data file met damaged, missing, read-only, on a full disk or held
// exclusively by another process, as a window that lists it and a run that
// reads it through meet it: the user is told which file, only that window
// closes, the program runs on, and nothing stored is changed.
#include "FullDisk.h"
#include "WindowKit.h"

#include "app/Procedures.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/BatchProcess.h"
#include "platform/Ini.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

constexpr int kRecords = 200;

const WindowDef kListDef{.title = "Records", .w = 200, .h = 120,
                         .controls = {{.name = "List", .kind = Kind::List, .x = 4, .y = 4, .w = 190, .h = 100}}};
const WindowDef kOtherDef{.title = "Other", .w = 100, .h = 40, .controls = {}};

// A window that needs one file: its list in the first key's order.
class FileList : public WindowController {
public:
    explicit FileList(const FileDef& def) : WindowController(QStringLiteral("FileList"), kListDef), def_(def) {}

protected:
    bool setUp() override
    {
        if (!openFilesOrCancel({&def_}))
            return false;
        auto list = std::make_unique<BrowseList>(*this, def_, std::vector<BrowseColumn>{BrowseColumn::ofField(0, "First", 40, "s20")});
        list->addOrder(0);
        addPart(std::move(list));
        return true;
    }

private:
    const FileDef& def_;
};

// A run through the whole file by its first key, counting the records.
class FileCount : public BatchProcess {
public:
    FileCount(const FileDef& def, int64_t& count) : BatchProcess(QStringLiteral("FileCount"), def), count_(count)
    {
        setKey(0);
    }

protected:
    bool takeRecord(Record&) override
    {
        ++count_;
        return true;
    }

private:
    int64_t& count_;
};

// Another window of the program, needing no file: it must stay open.
class Other : public WindowController {
public:
    Other() : WindowController(QStringLiteral("Other"), kOtherDef) {}
};

// Fills the file with records whose every field differs from record to
// record (so that unique keys hold), texts and memos at their full size.
void populate(const FileDef& def)
{
    Context ctx;
    KeyedFile& f = ctx.file(def);
    ASSERT_TRUE(f.open()) << def.label;
    WriteBatch batch(f);
    for (int i = 1; i <= kRecords; ++i) {
        Record& r = f.rec();
        r.clear();
        for (uint16_t k = 0; k < def.fields.size(); ++k) {
            const FieldDef& fd = def.fields[k];
            switch (fd.type) {
            case FieldType::String:
            case FieldType::CString:
            case FieldType::Memo: {
                const int size = std::min<int>(fd.size, 2000);
                r.set(k, (QString::number(i).rightJustified(4, u'0') + QString(size, u'x')).left(std::max(size - 1, 4)));
                break;
            }
            case FieldType::Time: r.set(k, int64_t(i) * 6000 + 1); break;
            case FieldType::Real: r.set(k, double(i)); break;
            default: r.set(k, int64_t(i)); break;
            }
        }
        ASSERT_TRUE(f.add()) << def.label << " record " << i;
    }
    ASSERT_TRUE(batch.commit());
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void overwrite(const QString& path, qint64 at, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray junk(size, '\0');
    QRandomGenerator rng(uint32_t(at + size));
    for (char& c : junk)
        c = char(rng.bounded(256));
    f.seek(at);
    f.write(junk);
}

// A box (from the `from`th on) names the file by its label or its name on disk.
bool named(const std::vector<MessageBoxRequest>& boxes, const FileDef& def, size_t from = 0)
{
    for (size_t i = from; i < boxes.size(); ++i) {
        const QString& text = boxes[i].text;
        if (text.contains(QString::fromUtf8(def.label)) || text.contains(def.diskName(), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

enum class Damage { RandomBytes, OnePage, Missing, ReadOnly, FullDisk, LockedElsewhere };

struct DamagedFiles : ::testing::TestWithParam<Damage> {
    WindowKit kit;
    std::unique_ptr<FullDisk> disk;

    DamagedFiles()
    {
        InitDataFiles();
        writeIni(kit.ini(), "Main", "Vendrolix:Running", "Yes");
        kit.start([] { return std::make_unique<Other>(); });
    }
    ~DamagedFiles() override
    {
        Store::instance().closeIdle();
        Store::instance().setFolder(kit.folder());
        Store::instance().setFixedFolder(kit.folder());
        if (disk && GetParam() == Damage::ReadOnly)
            ::mount(nullptr, QFile::encodeName(disk->path()).constData(), nullptr, MS_REMOUNT, nullptr);
    }
    // The data on a small file system of its own, for the cases that need one.
    bool onOwnDisk()
    {
        disk = std::make_unique<FullDisk>(65536);
        if (!disk->mounted())
            return false;
        Store::instance().closeIdle();
        Store::instance().setFolder(disk->path());
        Store::instance().setFixedFolder(disk->path());
        return true;
    }
    // The window and the run over the file: each one that meets the damage
    // tells the user which file and stops (the window closes, the run ends
    // short); one that does not read every record it reads.
    void meet(const FileDef& def, bool expectTold, bool mayBeTold = false)
    {
        SCOPED_TRACE(def.label);
        kit.clearBoxes();
        kit.start([&def] { return std::make_unique<FileList>(def); });
        bool listOpen = kit.isOpen("FileList");
        const int rows = listOpen ? kit.rows("FileList") : -1;
        if (listOpen) {
            kit.key("FileList", Qt::Key_End, "List");  // read to the other end
            kit.settle();
        }
        const bool listTold = named(kit.boxes(), def);
        if (listTold)
            EXPECT_FALSE(kit.isOpen("FileList")) << "the window that needs the file stays open";
        listOpen = kit.isOpen("FileList");
        // The run through the file, when the window could read it.
        int64_t count = 0;
        bool runTold = false;
        if (listOpen) {
            const size_t listBoxes = kit.boxes().size();
            kit.start([&def, &count] { return std::make_unique<FileCount>(def, count); });
            kit.waitUntil([&] { return !WindowController::find("FileCount"); }, 120000, 100);
            kit.settle();
            runTold = named(kit.boxes(), def, listBoxes);
            if (runTold)
                EXPECT_LT(count, kRecords) << "told, yet the run went through";
            else
                EXPECT_TRUE(count == kRecords || (GetParam() == Damage::Missing && count == 0)) << count;
            EXPECT_GE(rows, GetParam() == Damage::Missing ? 0 : 1);
        }
        const bool told = listTold || runTold;
        if (expectTold) {
            EXPECT_TRUE(told) << "no message names the file";
        } else if (!mayBeTold) {
            // An empty file's run says only that it has no records.
            for (const MessageBoxRequest& b : kit.boxes())
                EXPECT_EQ(b.caption, "No Records") << b.text.toStdString();
        }
        EXPECT_TRUE(kit.isOpen("Other")) << "the program did not run on";
        EXPECT_EQ(readIni(kit.ini(), "Main", "Vendrolix:Running", "?"), "Yes");
        for (WindowController* w : WindowController::openWindows())
            if (w->procedure() != u"Other")
                w->close(RequestCancelled);
        kit.settle();
        EXPECT_EQ(Running.get("FileList"), 0);
        Store::instance().closeIdle();
    }
};

TEST_P(DamagedFiles, EveryFileIsToldByNameAndNothingIsChanged)
{
    const Damage damage = GetParam();
    if ((damage == Damage::ReadOnly || damage == Damage::FullDisk) && !onOwnDisk())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const std::vector<const FileDef*>& files = dictionary().files;
    ASSERT_EQ(files.size(), 23u);
    for (const FileDef* def : files)
        if (damage != Damage::Missing)
            populate(*def);
    Store::instance().closeIdle();

    pid_t holder = 0;
    if (damage == Damage::LockedElsewhere) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        holder = fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            Context ctx;
            for (const FileDef* def : files)
                if (!ctx.file(*def).open(KeyedFile::Mode::Exclusive) || !ctx.file(*def).set(0) || !ctx.file(*def).next())
                    _exit(2);
            if (write(ready[1], "r", 1) != 1)
                _exit(3);
            pause();
            _exit(0);
        }
        char r = 0;
        ASSERT_EQ(read(ready[0], &r, 1), 1) << "the other process could not hold the files";
    } else if (damage == Damage::ReadOnly) {
        ASSERT_EQ(::mount(nullptr, QFile::encodeName(disk->path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else if (damage == Damage::FullDisk) {
        ASSERT_TRUE(disk->fill());
    }

    for (const FileDef* def : files) {
        const QString path = Store::instance().pathOf(*def);
        switch (damage) {
        case Damage::RandomBytes: overwrite(path, 0, QFileInfo(path).size()); break;
        case Damage::OnePage: overwrite(path, (QFileInfo(path).size() / 4096 / 2) * 4096, 4096); break;
        case Damage::Missing: QFile::remove(path); break;
        default: break;
        }
        const QByteArray before = bytesOf(path);
        switch (damage) {
        case Damage::RandomBytes: meet(*def, true); break;
        case Damage::OnePage: meet(*def, false, true); break;
        case Damage::Missing: meet(*def, false); break;
        case Damage::ReadOnly:
        case Damage::FullDisk: meet(*def, false, true); break;
        case Damage::LockedElsewhere: meet(*def, true); break;
        }
        if (damage == Damage::ReadOnly || damage == Damage::FullDisk) {
            // A write is refused, by name, and changes nothing.
            Context ctx;
            KeyedFile& f = ctx.file(*def);
            if (f.open()) {
                f.rec().clear();
                const Status st = f.add();
                EXPECT_FALSE(st.ok()) << def->label;
                EXPECT_TRUE(st.text.contains(QString::fromUtf8(def->label))) << st.text.toStdString();
            }
        }
        Store::instance().closeIdle();
        if (damage != Damage::Missing)
            EXPECT_TRUE(bytesOf(path) == before) << def->label << ": the stored file was changed";
        else
            EXPECT_TRUE(QFile::exists(path)) << def->label << " is made on first open";
    }
    if (holder) {
        kill(holder, SIGKILL);
        waitpid(holder, nullptr, 0);
    }
}

// The program's own lists of a damaged file: after "Press OK to close this
// window." the window is gone, with no empty list left whose Insert would
// meet the file again.
TEST(DamagedFileWindows, EachListClosesAfterTheMessageThatSaysSo)
{
    WindowKit kit;
    InitDataFiles();
    DefineProcedures();
    const struct {
        const char* procedure;
        const FileDef& file;
    } lists[] = {
        {"FeastsBr", VenLit},     {"NotesBr", VenNote},     {"StickersBr", VenStick}, {"SpecialDaysBr", VenDays},
        {"CountryBr", VenCountry}, {"SoundsBrw", VenWav},   {"ProjectBr", VenPro},    {"MemorialBr", VenSaint},
        {"DiaryBr", VenDry},      {"BirthdaysBr", VenBirth}, {"NameBr", VenNam},      {"AlarmsBr", VenAlarm},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.procedure);
        populate(l.file);
        Store::instance().closeIdle();
        const QString path = Store::instance().pathOf(l.file);
        overwrite(path, 0, QFileInfo(path).size());
        const QByteArray damaged = bytesOf(path);
        kit.clearBoxes();
        startProcedure(l.procedure);
        kit.settle();
        bool toldFatal = false;
        for (const MessageBoxRequest& b : kit.boxes())
            toldFatal = toldFatal || (b.text.endsWith("Press OK to close this window.") && named({b}, l.file));
        EXPECT_TRUE(toldFatal) << (kit.boxes().empty() ? std::string("no message") : kit.boxes()[0].text.toStdString());
        EXPECT_FALSE(kit.isOpen(l.procedure)) << "the list stays open after saying it closes";
        EXPECT_EQ(Running.get(l.procedure), 0);
        for (WindowController* w : WindowController::openWindows())
            w->close(RequestCancelled);
        kit.settle();
        Store::instance().closeIdle();
        EXPECT_TRUE(bytesOf(path) == damaged) << "the damaged file was written";
        QFile::remove(path);
    }
    clearProcedures();
}

std::string damageName(const ::testing::TestParamInfo<Damage>& info)
{
    static const char* const names[] = {"RandomBytes", "OnePage", "Missing", "ReadOnly", "FullDisk", "LockedElsewhere"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFiles,
                         ::testing::Values(Damage::RandomBytes, Damage::OnePage, Damage::Missing, Damage::ReadOnly,
                                           Damage::FullDisk, Damage::LockedElsewhere),
                         damageName);

} // namespace
} // namespace ven::test
