// The special-day form: a new day's values, the date kept valid, the name
// taken from the date, and the limits shown by kind.
#include "calendar/SpecialDaysFr.h"

#include "calendar/CalendarWnd.h"
#include "platform/DateField.h"
#include "calendar/SpecialDayRules.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/Picture.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kSpecialDaysFrDef{
    .title = "Update Special Days",
    .w = 173,
    .h = 102,
    .icon = "calender.ico",
    .mdi = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 165, .h = 76},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 10, .y = 23, .w = 24, .h = 10, .parent = "General"},
        {.name = "Date", .kind = Kind::Spin, .x = 36, .y = 21, .w = 60, .h = 13, .parent = "General", .picture = "D06-B",
         .use = "DAY:DATE", .low = 36163, .high = 109211},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 39, .w = 24, .h = 10, .parent = "General"},
        {.name = "Name", .kind = Kind::Entry, .x = 36, .y = 37, .w = 60, .h = 12, .parent = "General", .picture = "s12",
         .tip = "Day Name", .use = "DAY:NAME"},
        {.name = "Show", .kind = Kind::Option, .text = "From, to or both", .x = 102, .y = 18, .w = 62, .h = 44,
         .parent = "General", .use = "DAY:SHOW"},
        {.name = "ShowFrom", .kind = Kind::Radio, .text = "From", .x = 108, .y = 28, .w = 50, .h = 10, .parent = "Show", .use = "2"},
        {.name = "ShowTo", .kind = Kind::Radio, .text = "To", .x = 108, .y = 38, .w = 50, .h = 10, .parent = "Show", .use = "1"},
        {.name = "ShowBoth", .kind = Kind::Radio, .text = "Both", .x = 108, .y = 48, .w = 50, .h = 10, .parent = "Show", .use = "3"},
        {.name = "BeforePrompt", .kind = Kind::Prompt, .text = "Before:", .x = 10, .y = 57, .w = 26, .h = 10, .parent = "General"},
        {.name = "Before", .kind = Kind::Spin, .x = 36, .y = 55, .w = 30, .h = 13, .parent = "General", .picture = "n6",
         .tip = "Days to Display Before the Day.\nZero = Unimited.", .use = "DAY:DAYSB", .low = 0, .high = 999999},
        {.name = "AfterPrompt", .kind = Kind::Prompt, .text = "After:", .x = 102, .y = 67, .w = 22, .h = 10, .parent = "General"},
        {.name = "After", .kind = Kind::Spin, .x = 126, .y = 65, .w = 30, .h = 13, .parent = "General", .picture = "n6",
         .tip = "Days to Display after the Day.\nZero = unlimited.", .use = "DAY:DAYSA", .low = 0, .high = 999999},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 41, .y = 84, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 85, .y = 84, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 129, .y = 84, .w = 40, .h = 14, .flags = HelpButton},
    }};

class SpecialDaysFr : public RecordForm {
public:
    SpecialDaysFr() : RecordForm(QStringLiteral("SpecialDaysFr"), kSpecialDaysFrDef, VenDays)
    {
        DELETEACTION = 4;  // a delete goes at once, without a window or a question
        FIRSTFIELD = QStringLiteral("Date");
        helpTopic = QStringLiteral("UpdateVenDays");
    }

protected:
    bool setUp() override
    {
        if (REQUEST == InsertRecord)
            window().setTitle(QStringLiteral("Adding a Special Day"));
        else if (REQUEST == ChangeRecord)
            window().setTitle(QStringLiteral("Changing a Special Day"));
        if (!RecordForm::setUp())
            return false;
        DateField::attach(*this, QStringLiteral("Date"), QStringLiteral("Select Special Date"));
        return true;
    }

    void primeFields(bool copy) override
    {
        if (copy)
            return;
        Record& r = primary().rec();
        r.set(DAY::DATE, int64_t(SelectedDate));
        r.set(DAY::SHOW, int(ShowFrom));
        r.set(DAY::DAYSB, 0);
        r.set(DAY::DAYSA, 0);
    }

    void windowEvent(Event e) override
    {
        RecordForm::windowEvent(e);
        if (e == Event::OpenWindow) {
            keepDate();
            applyLayout();
        } else if (e == Event::GainFocus || e == Event::Restore || e == Event::Maximized) {
            applyLayout();
        }
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        RecordForm::fieldEvent(c, e);
        if (c == QLatin1String("Date") && e != FieldEvent::Accepted && e != FieldEvent::NewSelection)
            keepDate();
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == QLatin1String("Date"))
            keepDate();
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Date")) {
            keepDate();
            Record& r = primary().rec();
            if (r.str(DAY::NAME).trimmed().isEmpty()) {
                r.set(DAY::NAME, formatDate(int32_t(r.num(DAY::DATE)), u"D06-B"));
                window().display(QStringLiteral("Name"));
            }
            return;
        }
        if (c == QLatin1String("Show"))
            return applyLayout();  // the limits follow the kind at once
        RecordForm::accepted(c);
    }

private:
    // A date below 5 (no date) becomes today.
    void keepDate()
    {
        Record& r = primary().rec();
        if (r.num(DAY::DATE) < 5) {
            r.set(DAY::DATE, int64_t(clock().today()));
            window().display(QStringLiteral("Date"));
        }
    }

    // "To" shows only "Before:", "From" only "After:", "Both" both.
    void applyLayout()
    {
        const int64_t show = primary().rec().num(DAY::SHOW);
        const bool before = show == ShowTo || show == ShowBoth, after = show == ShowFrom || show == ShowBoth;
        for (const char* c : {"Before", "BeforePrompt"})
            control(QString::fromUtf8(c)).show(before);
        for (const char* c : {"After", "AfterPrompt"})
            control(QString::fromUtf8(c)).show(after);
    }
};

} // namespace

std::unique_ptr<WindowController> makeSpecialDaysFr(const QString&)
{
    return std::make_unique<SpecialDaysFr>();
}

} // namespace ven
