// The anniversary form: a new anniversary's date, the day number and the
// next free line after each date change, the person from the address book,
// and the checks of OK.
#include "calendar/BirthFr.h"

#include "platform/DateField.h"
#include "platform/DateSteps.h"
#include "core/DateHelpers.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"

#include <QLineEdit>

namespace ven {
namespace {

const WindowDef kBirthFrDef{
    .title = "Update Anniversary",
    .w = 200,
    .h = 118,
    .icon = "calender.ico",
    .mdi = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 192, .h = 90},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 10, .y = 23, .w = 56, .h = 10, .parent = "General"},
        {.name = "Date", .kind = Kind::Spin, .x = 68, .y = 21, .w = 60, .h = 13, .parent = "General", .picture = "D06-b",
         .tip = "Right Click for Calendar\nCtrl   - Up/Down - Year\nAlt    - Up/Down - Month\nShift - Up/Down - Week",
         .use = "BTH:DATE", .low = 1, .high = 109211},
        {.name = "ClinoPrompt", .kind = Kind::Prompt, .text = "Address Book #:", .x = 10, .y = 39, .w = 56, .h = 10,
         .parent = "General"},
        {.name = "Clino", .kind = Kind::Entry, .x = 68, .y = 37, .w = 60, .h = 12, .parent = "General", .picture = "n-14B",
         .tip = "Address Book Entry Number", .use = "BTH:CLINO"},
        {.name = "PickPerson", .kind = Kind::Button, .text = "...", .x = 130, .y = 37, .w = 14, .h = 12, .parent = "General",
         .tip = "Select a Person from Address Book", .icon = "Names.ico"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 55, .w = 56, .h = 10, .parent = "General"},
        {.name = "Name", .kind = Kind::Entry, .x = 68, .y = 53, .w = 122, .h = 12, .parent = "General", .picture = "s39",
         .tip = "Anniversary", .use = "BTH:NAME"},
        {.name = "DaynoPrompt", .kind = Kind::Prompt, .text = "Day No:", .x = 10, .y = 71, .w = 30, .h = 10, .parent = "General"},
        {.name = "Dayno", .kind = Kind::Entry, .x = 42, .y = 69, .w = 24, .h = 12, .parent = "General", .picture = "n03B",
         .use = "BTH:DAYNO", .flags = ReadOnly, .font = {.bold = true}},
        {.name = "LinePrompt", .kind = Kind::Prompt, .text = "Line:", .x = 74, .y = 71, .w = 20, .h = 10, .parent = "General"},
        {.name = "Line", .kind = Kind::Entry, .x = 96, .y = 69, .w = 20, .h = 12, .parent = "General", .picture = "n1",
         .tip = "Linel Number", .use = "BTH:LINE"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 68, .y = 99, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 112, .y = 99, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 156, .y = 99, .w = 40, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {{InsertRecord, "Adding an Anniversary"},
                                                   {ChangeRecord, "Changing this Anniversary"},
                                                   {DeleteRecord, "Deleting this Anniversary"}};

class BirthFr : public RecordForm {
public:
    BirthFr() : RecordForm(QStringLiteral("BirthFr"), kBirthFrDef, VenBirth)
    {
        FIRSTFIELD = QStringLiteral("Date");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        if (Status st = openFile(VenNam); !st) {
            errors().show(st);
            return false;
        }
        if (auto* e = control("Dayno").as<QLineEdit>())
            e->setFocusPolicy(Qt::NoFocus);  // computed from the date, never typed
        DateField::attach(*this, QStringLiteral("Date"), QStringLiteral("Select Birth Date"));
        return true;
    }

    void primeFields(bool copy) override
    {
        if (copy)
            return;
        // The same day and month as today, thirty years earlier.
        const auto ymd = calendarDateUnchecked(clock().today());
        primary().rec().set(BTH::DATE, int64_t(carriedDate(int(ymd.year()) - 30, unsigned(ymd.month()), unsigned(ymd.day()))));
    }

    void newSelection(const QString& c) override
    {
        RecordForm::newSelection(c);
        if (c == QLatin1String("Date"))
            dateTouched();
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        RecordForm::fieldEvent(c, e);
        // The person chosen or found in this form gives the name.
        if (c == QLatin1String("Name") && e == FieldEvent::Selected && personInHand_
            && primary().rec().num(BTH::CLINO) > 0) {
            primary().rec().set(BTH::NAME, personName());
            window().display(QStringLiteral("Name"));
        }
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Date"))
            return dateTouched();
        if (c == QLatin1String("Clino"))
            return clinoAccepted();
        if (c == QLatin1String("PickPerson"))
            return choosePerson([this] { window().display(); });
        if (c == QLatin1String("Name")) {
            if (lineTaken())
                lineInUse();
            return;
        }
        if (c == OKCONTROL && REQUEST != DeleteRecord && !checksPass())
            return;
        RecordForm::accepted(c);
    }

private:
    Record& rec() { return primary().rec(); }

    // The day number of the date, and the next free line of that day.
    void dateTouched()
    {
        rec().set(BTH::DAYNO, int(NameDayNumber(int32_t(rec().num(BTH::DATE)))));
        raiseWhileTaken(primary(), BTH::LINE, BTH::DAYNO_KEY);
        window().display(QStringLiteral("Dayno"));
        window().display(QStringLiteral("Line"));
    }

    // True when another anniversary holds the buffer's day number and line.
    bool lineTaken()
    {
        const int64_t line = rec().num(BTH::LINE);
        const bool taken = raiseWhileTaken(primary(), BTH::LINE, BTH::DAYNO_KEY) != line;
        rec().set(BTH::LINE, line);
        return taken;
    }

    void lineInUse()
    {
        messageBox(QStringLiteral("This Line Already in Use!"), QStringLiteral("Error"), Icon::Information);
        control("Line").select();
    }

    bool checksPass()
    {
        Window& w = window();
        for (const char* c : {"Date", "Clino", "Name", "Line"})
            w.update(QString::fromUtf8(c));
        if (rec().str(BTH::NAME).trimmed().isEmpty()) {
            messageBox(QStringLiteral("Name Missing!"), QStringLiteral("Error!"), Icon::Question);
            control("Name").select();
            return false;
        }
        if (rec().num(BTH::DATE) <= 0) {
            messageBox(QStringLiteral("Birth Date Missing"), QStringLiteral("Error"), Icon::Question);
            control("Date").select();
            return false;
        }
        rec().set(BTH::DAYNO, int(NameDayNumber(int32_t(rec().num(BTH::DATE)))));
        w.display(QStringLiteral("Dayno"));
        if (lineTaken()) {
            lineInUse();
            return false;
        }
        return true;
    }

    QString personName()
    {
        const Record& n = file(VenNam).rec();
        return n.str(NAM::FIRSTNAME).trimmed() + u' ' + n.str(NAM::LASTNAME).trimmed();
    }

    void clinoAccepted()
    {
        const int64_t clino = rec().num(BTH::CLINO);
        if (clino == 0 && control("Clino").text().trimmed().isEmpty())
            return;
        KeyedFile& names = file(VenNam);
        names.rec().clear();
        names.rec().set(NAM::RECNO, clino);
        if (names.get(NAM::RECNOKEY)) {
            personInHand_ = true;
            rec().set(BTH::NAME, personName());
            window().display();
            return;
        }
        choosePerson([this] {
            rec().set(BTH::NAME, personName());
            window().display();
        });
    }

    // The names list for selection; `chosen` runs after a person was chosen.
    void choosePerson(std::function<void()> chosen)
    {
        KeyedFile& names = file(VenNam);
        names.rec().clear();
        names.rec().set(NAM::RECNO, rec().num(BTH::CLINO));
        QPointer<BirthFr> self = this;
        callProcedure(QStringLiteral("NameBr"), SelectRecord, [self, chosen](uint8_t response) {
            if (!self || !self->isOpen())
                return;
            if (response != RequestCompleted) {
                self->control("Clino").select();
                return;
            }
            self->rec().set(BTH::CLINO, self->file(VenNam).rec().num(NAM::RECNO));
            self->personInHand_ = true;
            chosen();
        });
    }

    bool personInHand_ = false;  // a person found or chosen in this form stands in the VenNam buffer
};

} // namespace

std::unique_ptr<WindowController> makeBirthFr(const QString&)
{
    return std::make_unique<BirthFr>();
}

} // namespace ven
