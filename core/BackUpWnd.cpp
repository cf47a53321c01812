// The backup window. Each data file is copied by the engine's own backup (a
// consistent, enciphered copy, checked and renamed into place); " BackUp
// All" copies the program folder's other files as well, leaving out the
// backup sets themselves. The work goes in timer ticks, so the program goes
// on: a data file's copy a few milliseconds of pages a tick (its check on a
// worker thread), another file a tick; the window cannot be closed
// meanwhile. The set, date and time are written only when every file was
// copied; a failure is shown and logged.
#include "core/BackUpWnd.h"

#include "core/ActivityLog.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/PasswordHash.h"
#include "platform/Paths.h"
#include "platform/Picture.h"
#include "platform/Procedure.h"
#include "platform/Shell.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace ven {
namespace {

const WindowDef kBackUpDef{
    .title = "BackUp Vendrolix to:",
    .w = 346,
    .h = 43,
    .icon = "Vendrolix.ico",
    .placement = Placement::Centred,
    .statusZones = {-1},
    .controls = {
        {.name = "Data", .kind = Kind::Button, .text = " BackUp Data", .x = 6, .y = 8, .w = 104, .h = 22},
        {.name = "All", .kind = Kind::Button, .text = " BackUp All", .x = 120, .y = 8, .w = 104, .h = 22, .tip = "BackUp",
         .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = " No BackUp", .x = 234, .y = 8, .w = 104, .h = 22, .tip = "Cancel",
         .closes = RequestCancelled},
    }};

// Copies a plain file through a temporary name renamed into place.
bool copyFile(const QString& from, const QString& to, QString* error)
{
    const QString part = to + ".part";
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        *error = QStringLiteral("cannot copy ") + from;
        return false;
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(part);
        *error = QStringLiteral("cannot write ") + to;
        return false;
    }
    return true;
}

class BackUpWnd : public WindowController {
public:
    BackUpWnd() : WindowController(QStringLiteral("BackUpWnd"), kBackUpDef) {}

protected:
    bool setUp() override
    {
        path_ = readIni(ProgramIni(), "Paths", "BackUp_Path", {}).trimmed();
        set_ = readIni(ProgramIni(), "Main", "BackUp_Set", "0").toInt();
        const int32_t date = readIni(ProgramIni(), "Main", "BackUp_Date", "0").toInt();
        const int32_t time = readIni(ProgramIni(), "Main", "BackUp_Time", "0").toInt();
        ShellDirectory = "Last BackUp to " + path_ + "#" + QString::number(set_ % 10) + " " + formatDate(date, u"D06-")
                         + " at " + formatTime(time, u"T04.");
        window().setStatusText(1, ShellDirectory);
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow && path_.isEmpty()) {
            messageBox(QStringLiteral("Backup Path NOT defined yet!|Select File -> Configure and select a Directory!"),
                       QStringLiteral("Error!"), Icon::Stop);
            close(RequestCancelled);
        } else if (e == Event::Timer && !steps_.empty()) {
            step();
        }
    }

    void accepted(const QString& control) override
    {
        if (!running_ && (control == u"Data" || control == u"All"))
            return begin(control == u"All");
        WindowController::accepted(control);
    }

    bool closeRequested() override { return !running_; }

private:
    void begin(bool all)
    {
        newSet_ = set_ == 1 ? 2 : 1;
        target_ = path_ + "#" + QString::number(newSet_);
        log((all ? " Total BackUp to: \"" : " BackUp of Database to: \"") + target_ + "\"");
        if (!QDir().mkpath(target_))
            return failed(QStringLiteral("the folder cannot be made"));
        removePieces();
        // The data files, each by the engine; then, for All, the rest of the
        // program folder but the backup sets.
        QStringList dataFiles;
        for (const FileDef* def : dictionary().files) {
            const QString from = Store::instance().pathOf(*def);
            if (!QFileInfo::exists(from))
                continue;
            dataFiles << QFileInfo(from).absoluteFilePath();
            steps_.push_back([this, def] { return copyData(*def); });
        }
        // The key of the user file's password hashes belongs to the data.
        const QString key = QFileInfo(passwordKeyFile(QFileInfo(Store::instance().pathOf(VenUsr)).absolutePath()))
                                .absoluteFilePath();
        if (QFileInfo::exists(key)) {
            dataFiles << key;
            steps_.push_back([this, key] {
                QString error;
                return copyFile(key, QDir(target_).filePath(QFileInfo(key).fileName()), &error) ? QString() : error;
            });
        }
        if (all)
            addFolder(dataFiles);
        running_ = true;
        for (const char* c : {"Data", "All", "Cancel"})
            control(c).disable();
        setTimer(1);
    }

    // Copies half written by a backup that was killed are dropped: they were
    // never renamed into place, so nothing of the set refers to them.
    void removePieces()
    {
        QDirIterator it(target_, {QStringLiteral("*.part"), QStringLiteral("*.part[0-9]*")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::remove(it.next());
    }

    void addFolder(const QStringList& dataFiles)
    {
        const QDir program(Program_Path.isEmpty() ? QDir::currentPath() : Program_Path);
        // The sets as the file system finds them: a backup path through a
        // symbolic link may lead into the program folder, and a set copied
        // into itself would grow by a level at every backup.
        const ResolvedFolder sets[] = {ResolvedFolder(path_ + "#1"), ResolvedFolder(path_ + "#2")};
        QStringList data;
        for (const QString& f : dataFiles)
            data << resolvedPath(f);
        QDirIterator it(program.absolutePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = QFileInfo(it.next()).absoluteFilePath();
            const QString real = resolvedPath(from);
            // Never the sets themselves, nor a data file's own companions.
            if (sets[0].holds(from) || sets[1].holds(from) || data.contains(real)
                || data.contains(real.section('-', 0, -2)) || from.endsWith(".part"))
                continue;
            const QString to = QDir(target_).filePath(program.relativeFilePath(from));
            steps_.push_back([from, to]() -> std::optional<QString> {
                QString error;
                QDir().mkpath(QFileInfo(to).absolutePath());
                return copyFile(from, to, &error) ? QString() : error;
            });
        }
    }

    // A step of a data file's copy; nothing while it goes on.
    std::optional<QString> copyData(const FileDef& def)
    {
        auto failure = [&](const Status& st) {
            copy_.reset();
            ctx_.reset();
            return def.diskName() + ": " + (st.errorText.isEmpty() ? st.text : st.errorText);
        };
        if (!copy_) {
            window().setStatusText(1, def.diskName());
            ctx_ = std::make_unique<Context>();
            KeyedFile& f = ctx_->file(def);
            if (Status st = f.open(); !st)
                return failure(st);
            copy_ = std::make_unique<BackupCopy>(f, QDir(target_).filePath(def.diskName()));
        }
        if (copy_->step())
            return std::nullopt;
        if (Status st = copy_->status(); !st)
            return failure(st);
        copy_.reset();
        ctx_.reset();
        return QString();
    }

    void step()
    {
        const std::optional<QString> result = steps_.front()();
        if (!result)
            return;
        const QString error = *result;
        steps_.erase(steps_.begin());
        if (!error.isEmpty()) {
            steps_.clear();
            return failed(error);
        }
        if (!steps_.empty())
            return;
        setTimer(0);
        const QDateTime now = clock().now();
        writeIni(ProgramIni(), "Main", "BackUp_Set", QString::number(newSet_));
        writeIni(ProgramIni(), "Main", "BackUp_Date", QString::number(dayNumber(now)));
        writeIni(ProgramIni(), "Main", "BackUp_Time", QString::number(timeValue(now)));
        running_ = false;
        close(RequestCompleted);
    }

    // The set stays as it was: the next backup writes the same set again.
    void failed(const QString& error)
    {
        setTimer(0);
        running_ = false;
        log(" BackUp FAILED: " + error);
        // Only a set that was written whole before is named as kept.
        const QString last = path_ + "#" + QString::number(set_);
        const bool kept = (set_ == 1 || set_ == 2) && set_ != newSet_ && QFileInfo(last).isDir();
        messageBox("BackUp to " + target_ + " FAILED!|" + error + "|"
                       + (kept ? "The last good set " + last + " is kept." : QStringLiteral("There is no earlier backup set.")),
                   QStringLiteral("Error!"), Icon::Stop);
        close(RequestCancelled);
    }

    static void log(const QString& text)
    {
        if (Log_Activity != u"N")
            TellLineResult(ActivityLogLine(text.mid(1)));  // after the time and its blank
    }

    QString path_, target_;
    int set_ = 0, newSet_ = 0;
    bool running_ = false;
    // Each step: nothing while it goes on, then its error or an empty text.
    std::vector<std::function<std::optional<QString>()>> steps_;
    std::unique_ptr<Context> ctx_;
    std::unique_ptr<BackupCopy> copy_;
};

} // namespace

std::unique_ptr<WindowController> makeBackUpWnd(const QString&)
{
    return std::make_unique<BackUpWnd>();
}

} // namespace ven
