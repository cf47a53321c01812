// The day's note form: a new or existing note, Save (an emptied note is
// deleted), Delete (the text left on the clipboard) and Clipbrd.
#include "calendar/DailyNoteFr.h"

#include "calendar/CalendarWnd.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Picture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ven {
namespace {

const WindowDef kDailyNoteFrDef{
    .title = "Update Daily Note",
    .w = 275,
    .h = 188,
    .icon = "DailyNote.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 267, .h = 160},
        {.name = "DateTab", .kind = Kind::Tab, .text = "Date:", .parent = "Sheet"},
        {.name = "Date", .kind = Kind::String, .x = 10, .y = 22, .w = 60, .h = 10, .parent = "DateTab",
         .picture = "D010-B", .font = {.bold = true}},
        {.name = "Weekday", .kind = Kind::String, .x = 74, .y = 22, .w = 50, .h = 10, .parent = "DateTab", .picture = "s9"},
        {.name = "Note", .kind = Kind::Text, .x = 10, .y = 36, .w = 255, .h = 122, .parent = "DateTab",
         .background = 0xFFFF80},
        {.name = "Clipbrd", .kind = Kind::Button, .text = "Clipbrd", .x = 4, .y = 168, .w = 46, .h = 15, .icon = "ClipBrd.ico"},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 54, .y = 168, .w = 46, .h = 15, .icon = "WizDel.ico"},
        {.name = "Save", .kind = Kind::Button, .text = "&Save", .x = 125, .y = 168, .w = 46, .h = 15, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "&Cancel", .x = 175, .y = 168, .w = 46, .h = 15,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 225, .y = 168, .w = 46, .h = 15, .flags = HelpButton},
    }};

enum Mode { NewNote = 1, ExistingNote = 2 };

class DailyNoteFr : public WindowController {
public:
    DailyNoteFr() : WindowController(QStringLiteral("DailyNoteFr"), kDailyNoteFrDef)
    {
        helpTopic = QStringLiteral("NotesFr");
    }

protected:
    bool setUp() override
    {
        if (Status st = openFile(VenNote); !st) {
            errors().show(st);
            return false;
        }
        date_ = SelectedDate;
        weekday_ = WeekdayName(date_);
        Window& w = window();
        w.bind(QStringLiteral("Date"), bindTo(date_));
        w.bind(QStringLiteral("Weekday"), bindTo(weekday_));
        w.bind(QStringLiteral("Note"), bindTo(note_));
        readNote();
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Clipbrd")) {
            window().update(QStringLiteral("Note"));
            return copy();
        }
        if (c == QLatin1String("Delete"))
            return deleteNote();
        if (c == QLatin1String("Save"))
            return save();
        WindowController::accepted(c);
    }

private:
    KeyedFile& notes() { return file(VenNote); }

    // Fetches the day's note: mode 2 when there is one, else 1 (a blank note).
    void readNote()
    {
        Record& r = notes().rec();
        r.clear();
        r.set(ANT::DATE, int64_t(date_));
        mode_ = notes().get(ANT::NOTE_KEY) ? ExistingNote : NewNote;
        if (mode_ == NewNote) {
            r.clear();
            r.set(ANT::DATE, int64_t(date_));
        }
        note_ = r.str(ANT::NOTE);
        loaded_ = note_;
        control("Delete").show(mode_ == ExistingNote);
        window().setTitle(QString::fromUtf8(mode_ == NewNote ? "Adding a Daily Note" : "Changing a Daily Note"));
        window().display();
    }

    void copy() { QGuiApplication::clipboard()->setText(noteClipText(date_, note_) + QStringLiteral("\r\n")); }

    void deleteNote()
    {
        if (mode_ == ExistingNote) {
            copy();
            if (Status st = notes().remove(); !st)
                return failed(st, note_);
        }
        close(RequestCompleted);
    }

    void save()
    {
        window().update(QStringLiteral("Note"));
        const QString typed = note_;
        Record& r = notes().rec();
        Status st;
        if (typed.trimmed().isEmpty()) {
            if (mode_ == ExistingNote)
                st = notes().remove();
        } else {
            r.set(ANT::DATE, int64_t(date_));
            r.set(ANT::NOTE, typed);
            st = mode_ == NewNote ? notes().add() : notes().update();
        }
        if (!st)
            return failed(st, typed);
        close(RequestCompleted);
    }

    // A write that failed: the user is told and the form stays open with
    // the text as typed. When another window wrote the day's note
    // meanwhile, the note as it is stored now comes first and the typed
    // text after it, so that neither is lost.
    void failed(const Status& st, const QString& typed)
    {
        errors().show(st);
        const QString before = loaded_;
        readNote();
        const QString stored = note_.trimmed();
        note_ = typed;
        if (stored != before.trimmed() && !stored.isEmpty() && !typed.trimmed().isEmpty() && stored != typed.trimmed())
            note_ = stored + QStringLiteral("\r\n") + typed.trimmed();
        window().display();
        control("Note").select();
    }

    int32_t date_ = 0;
    QString weekday_, note_;
    QString loaded_;  // the note as it was read from the file
    int mode_ = NewNote;
};

} // namespace

QString noteClipText(int32_t date, const QString& note)
{
    return WeekdayName(date).trimmed() + u' ' + formatDate(date, u"D06-B") + QStringLiteral("\r\n") + note.trimmed();
}

std::unique_ptr<WindowController> makeDailyNoteFr(const QString&)
{
    return std::make_unique<DailyNoteFr>();
}

} // namespace ven
