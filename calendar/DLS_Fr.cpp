// The daylight-saving form: the date kept from the past, the sign by the
// season, the checks of OK and the two marks a stored change leaves in the
// calendar.
#include "calendar/DLS_Fr.h"

#include "calendar/DailyNoteLine.h"
#include "platform/DateField.h"
#include "calendar/SpecialDayRules.h"
#include "core/DaylightSaving.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Picture.h"
#include "platform/RecordForm.h"

#include <QTimeZone>

namespace ven {
namespace {

constexpr int32_t kThreeOClock = 1080001;
constexpr int32_t kOneHour = 360001;

const WindowDef kDLS_FrDef{
    .title = "Update Daylight-Saving Time",
    .w = 190,
    .h = 122,
    .icon = "calender.ico",
    .mdi = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 182, .h = 96},
        {.name = "DlsTab", .kind = Kind::Tab, .text = "DLS/STD Time", .parent = "Sheet"},
        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 10, .y = 23, .w = 54, .h = 10, .parent = "DlsTab"},
        {.name = "Date", .kind = Kind::Spin, .x = 66, .y = 21, .w = 60, .h = 13, .parent = "DlsTab", .picture = "D06-B",
         .tip = "Date for DLS or STD Time Change\nRight Click for Calendar", .use = "DLS:DATE", .low = 3, .high = 109211},
        {.name = "TimePrompt", .kind = Kind::Prompt, .text = "Move Clock at:", .x = 10, .y = 39, .w = 54, .h = 10,
         .parent = "DlsTab"},
        {.name = "Time", .kind = Kind::Spin, .x = 66, .y = 37, .w = 40, .h = 13, .parent = "DlsTab", .picture = "T01B",
         .tip = "Time for DLS or STD Time Change", .use = "DLS:TIME", .low = 1, .high = 8640000, .step = 180000},
        {.name = "ChangePrompt", .kind = Kind::Prompt, .text = "Move Clock:", .x = 10, .y = 55, .w = 54, .h = 10,
         .parent = "DlsTab"},
        {.name = "Change", .kind = Kind::Spin, .x = 66, .y = 53, .w = 40, .h = 13, .parent = "DlsTab", .picture = "T1.",
         .tip = "Change Time with", .use = "DLS:CHANGE", .low = 1, .high = 8640000, .step = 180000},
        {.name = "PlusMinus", .kind = Kind::Option, .text = "Plus/Minus", .x = 112, .y = 34, .w = 68, .h = 34,
         .parent = "DlsTab", .tip = "Forward in Spring and Backward in Autumn or vice versa", .use = "DLS:PLUSMINUS"},
        {.name = "Plus", .kind = Kind::Radio, .text = " Plus", .x = 118, .y = 44, .w = 56, .h = 10, .parent = "PlusMinus",
         .tip = "Forward in Spring and Backward in Autumn", .use = "+"},
        {.name = "Minus", .kind = Kind::Radio, .text = " Minus", .x = 118, .y = 55, .w = 56, .h = 10, .parent = "PlusMinus",
         .tip = "Backward in Spring and Forward in Autumn", .use = "-"},
        {.name = "ZoneNote", .kind = Kind::String, .x = 10, .y = 72, .w = 170, .h = 24, .parent = "DlsTab", .flags = Hidden,
         .color = 0x800000},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 58, .y = 104, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 102, .y = 104, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 146, .y = 104, .w = 40, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding  DLS"}, {ChangeRecord, "Changing  DLS"}, {DeleteRecord, "Deleting DLS"}};

int monthOf(int64_t date)
{
    const auto ymd = calendarDate(int32_t(date));
    return ymd ? int(unsigned(ymd->month())) : 0;
}

class DLS_Fr : public RecordForm {
public:
    DLS_Fr() : RecordForm(QStringLiteral("DLS_Fr"), kDLS_FrDef, Ven_DLS)
    {
        FIRSTFIELD = QStringLiteral("Date");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        for (const FileDef* f : {&VenDays, &VenNote})
            if (Status st = openFile(*f); !st) {
                errors().show(st);
                return false;
            }
        if (!RecordForm::setUp())
            return false;
        DateField::attach(*this, QStringLiteral("Date"), QStringLiteral("Select Date"));
        // A change of a stored record keeps its sign unless its date moves.
        const bool moved = keepFromPast();
        if (REQUEST == InsertRecord || moved)
            signBySeason();
        lastDate_ = rec().num(DLS::DATE);
        if (QTimeZone::systemTimeZone().hasDaylightTime()) {
            control("ZoneNote").setText(QStringLiteral(
                "This computer's time zone already moves the clock\nfor daylight-saving time by itself."));
            control("ZoneNote").show();
        }
        return true;
    }

    void primeFields(bool) override
    {
        rec().set(DLS::TIME, kThreeOClock);
        rec().set(DLS::CHANGE, kOneHour);
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        RecordForm::fieldEvent(c, e);
        if (c == QLatin1String("Date") && e == FieldEvent::Selected)
            dateEvent();
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == QLatin1String("Date"))
            dateEvent();
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Date"))
            return dateEvent();
        if (c == OKCONTROL)
            return ok();
        RecordForm::accepted(c);
    }

private:
    Record& rec() { return primary().rec(); }

    // A date before today becomes today; true when it moved.
    bool keepFromPast()
    {
        const int32_t today = clock().today();
        if (rec().num(DLS::DATE) >= today)
            return false;
        rec().set(DLS::DATE, int64_t(today));
        return true;
    }

    void signBySeason()
    {
        const int m = monthOf(rec().num(DLS::DATE));
        rec().set(DLS::PLUSMINUS, m >= 1 && m <= 6 ? "+" : "-");
    }

    // The date events: kept from the past; a new date proposes its season's
    // sign, which the user may change afterwards.
    void dateEvent()
    {
        window().update(QStringLiteral("Date"));
        keepFromPast();
        if (rec().num(DLS::DATE) != lastDate_) {
            signBySeason();
            lastDate_ = rec().num(DLS::DATE);
        }
        window().display();
    }

    void ok()
    {
        Window& w = window();
        for (const char* c : {"Date", "Time", "Change", "PlusMinus"})
            w.update(QString::fromUtf8(c));
        const bool removing = REQUEST == DeleteRecord;
        if (!removing) {
            const QDateTime now = clock().now();
            if (rec().num(DLS::DATE) < dayNumber(now)) {
                control("Date").select();
                return;
            }
            // Today's change at a time already passed would move the clock at once.
            if (rec().num(DLS::DATE) == dayNumber(now) && rec().num(DLS::TIME) <= timeValue(now)) {
                messageBox(QStringLiteral("The time of this change has already passed today."), QStringLiteral("Error"),
                           Icon::Exclamation);
                control("Time").select();
                return;
            }
        }
        const int32_t date = int32_t(rec().num(DLS::DATE));
        const int32_t time = int32_t(rec().num(DLS::TIME));
        const QString sign = rec().str(DLS::PLUSMINUS);
        if (!complete())
            return;  // not stored: no marks in the calendar
        DlsChanged = 1;
        if (removing)
            return;
        DlsMissing = 0;
        markInCalendar(date, time, sign);
    }

    // The special day on the change's date and the line in its note.
    void markInCalendar(int32_t date, int32_t time, const QString& sign)
    {
        KeyedFile& days = file(VenDays);
        Record& d = days.rec();
        d.clear();
        d.set(DAY::DATE, int64_t(date));
        d.set(DAY::SHOW, int(ShowBoth));
        const Status found = days.get(DAY::DATE_KEY);
        QString name = dlsDayName(sign);
        auto fill = [&] {
            d.set(DAY::DATE, int64_t(date));
            d.set(DAY::SHOW, int(ShowBoth));
            d.set(DAY::DAYSB, 7);
            d.set(DAY::DAYSA, 6);
            d.set(DAY::NAME, name);
        };
        Status st;
        if (found.code == Err::NotFound) {
            d.clear();
            fill();
            st = days.add();
        } else {
            const QString existing = found ? d.str(DAY::NAME).trimmed() : QString();
            const int answer = messageBox(formatDate(date, u"D06-B") + u' ' + existing + QStringLiteral("\nReplace?"),
                                          QStringLiteral("Replace?"), Icon::Question, QStringLiteral("&Yes|&No"), 1);
            if (answer == 1) {
                fill();
                st = found ? days.put() : days.add();
            } else if (found) {
                name = existing;
            }
        }
        if (!st)
            errors().show(st);
        if (Status n = AppendDailyNoteLine(file(VenNote), date, time, name); !n)
            errors().show(n);
    }

    int64_t lastDate_ = 0;
};

} // namespace

QString dlsDayName(const QString& plusMinus)
{
    return plusMinus.trimmed() == u"+" ? QStringLiteral("DLS Time") : QStringLiteral("STD Time");
}

std::unique_ptr<WindowController> makeDLS_Fr(const QString&)
{
    return std::make_unique<DLS_Fr>();
}

} // namespace ven
