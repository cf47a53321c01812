// The daily-note form: a new note's date, the weekday beside the date, and
// OK refused for an empty note.
#include "calendar/NotesFr.h"

#include "calendar/CalendarWnd.h"
#include "platform/DateField.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kNotesFrDef{
    .title = "Update Daily Notes",
    .w = 259,
    .h = 188,
    .icon = "DailyNote.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 251, .h = 160},
        {.name = "NoteTab", .kind = Kind::Tab, .text = "Note", .parent = "Sheet"},
        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 10, .y = 23, .w = 20, .h = 10, .parent = "NoteTab"},
        {.name = "Date", .kind = Kind::Spin, .x = 32, .y = 21, .w = 60, .h = 13, .parent = "NoteTab", .picture = "D06-B",
         .tip = "Right Click for Calendar\nCtrl   - Up/Down - Year\nAlt    - Up/Down - Month\nShift - Up/Down - Week",
         .use = "ANT:DATE", .low = 1, .high = 109211},
        {.name = "Weekday", .kind = Kind::String, .x = 96, .y = 22, .w = 50, .h = 11, .parent = "NoteTab", .picture = "s9",
         .font = {.family = "Tahoma", .points = 10, .bold = true}},
        {.name = "PickerHint", .kind = Kind::Prompt, .text = "Right Click Date for Calendar", .x = 150, .y = 23, .w = 100,
         .h = 10, .parent = "NoteTab"},
        {.name = "Note", .kind = Kind::Text, .x = 10, .y = 38, .w = 239, .h = 120, .parent = "NoteTab", .use = "ANT:NOTE",
         .background = 0xFFFF80},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 113, .y = 168, .w = 46, .h = 15, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 161, .y = 168, .w = 46, .h = 15,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 209, .y = 168, .w = 46, .h = 15, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding a Daily Note"}, {ChangeRecord, "Changing a Daily Note"}, {DeleteRecord, "Deleting a Daily Note"}};

class NotesFr : public RecordForm {
public:
    NotesFr() : RecordForm(QStringLiteral("NotesFr"), kNotesFrDef, VenNote)
    {
        FIRSTFIELD = QStringLiteral("Date");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        window().bind(QStringLiteral("Weekday"), bindTo(weekday_));
        DateField::attach(*this, QStringLiteral("Date"), QStringLiteral("Select Date"));
        showWeekday();
        return true;
    }

    void primeFields(bool) override
    {
        primary().rec().set(ANT::DATE, int64_t(SelectedDate ? SelectedDate : clock().today() + 1));
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == QLatin1String("Date"))
            showWeekday();
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Date"))
            showWeekday();
        if (c == OKCONTROL) {
            window().update(QStringLiteral("Note"));
            if (primary().rec().str(ANT::NOTE).trimmed().isEmpty()) {
                control("Note").select();
                return;
            }
        }
        RecordForm::accepted(c);
    }

private:
    void showWeekday()
    {
        weekday_ = WeekdayName(int32_t(primary().rec().num(ANT::DATE)));
        window().display(QStringLiteral("Weekday"));
    }

    QString weekday_;
};

} // namespace

std::unique_ptr<WindowController> makeNotesFr(const QString&)
{
    return std::make_unique<NotesFr>();
}

} // namespace ven
