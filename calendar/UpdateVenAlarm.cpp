// The alarm form: its window, the three checks and when they run, a new
// alarm's values, the layout of the two kinds, the file buttons and OK.
#include "calendar/UpdateVenAlarm.h"

#include "core/AlarmScan.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialogs.h"
#include "platform/Ini.h"
#include "platform/RecordForm.h"
#include "platform/SettingsFile.h"

#include <QComboBox>

#include <algorithm>
#include <cmath>

namespace ven {

const char* const kDefaultAlarmMessage =
    "Gloria Patri, et Filio, et Spiritui Sancto. Sicut erat in principio, et nunc, et semper, et in saecula saeculorum. Amen.";

namespace {

constexpr int32_t kLastAlarmDay = 109211;  // 31 December 2099
constexpr int32_t kLowTime = 100;
constexpr int32_t kHighTime = 8637001;     // 23:59:30
constexpr int32_t kEndOfDay = 8640001;
constexpr int32_t kMinute = 6000;
constexpr int32_t kFiveMinutes = 30000;
constexpr int32_t kThirtySeconds = 3000;
constexpr int32_t kMessageLead = 6200;
constexpr int64_t kDay = 8640000;
constexpr int kSoundSize = 128;

// Shift, Alt and Ctrl with Up or Down: 5 and 10 minutes and an hour, on the five minutes.
const StepKeys kAlarmTimeKeys{.shift = 30000, .alt = 60000, .ctrl = 360000, .snap = kFiveMinutes, .cap = kHighTime};

const char* const kDateTip =
    "Right Click for Calendar\nCtrl   - Up/Down - Year\nAlt    - Up/Down - Month\nShift - Up/Down - Week";
const char* const kSoundTip =
    "Select Sound Effect.\n\nGo to Registers -> Sound Effects\nto add or change Sound Effects.";

const WindowDef kUpdateVenAlarmDef{
    .title = "Update Alarms",
    .w = 344,
    .h = 128,
    .icon = "AlarmClock.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 2, .w = 340, .h = 108},
        {.name = "AlarmTab", .kind = Kind::Tab, .text = "Alarm", .parent = "Sheet"},
        {.name = "Kind", .kind = Kind::Option, .text = "Message or Action", .x = 6, .y = 16, .w = 92, .h = 22, .parent = "AlarmTab",
         .use = "ALA:MESSAGE"},
        {.name = "KindMessage", .kind = Kind::Radio, .text = " Message", .x = 10, .y = 25, .w = 42, .h = 10, .parent = "Kind", .use = "M"},
        {.name = "KindAction", .kind = Kind::Radio, .text = " Action", .x = 54, .y = 25, .w = 40, .h = 10, .parent = "Kind", .use = "A"},
        {.name = "Importance", .kind = Kind::Option, .x = 102, .y = 16, .w = 148, .h = 22, .parent = "AlarmTab",
         .tip = "Show at Start Up even if passed", .use = "ALA:IMPORTANT"},
        {.name = "Normal", .kind = Kind::Radio, .text = " Normal", .x = 106, .y = 25, .w = 40, .h = 10, .parent = "Importance", .use = "0"},
        {.name = "Important", .kind = Kind::Radio, .text = " Important", .x = 148, .y = 25, .w = 50, .h = 10, .parent = "Importance", .use = "1"},
        {.name = "Disabled", .kind = Kind::Radio, .text = " Disabled", .x = 200, .y = 25, .w = 46, .h = 10, .parent = "Importance", .use = "9"},
        {.name = "Log", .kind = Kind::Check, .text = " Log", .x = 256, .y = 25, .w = 28, .h = 10, .parent = "AlarmTab", .tip = "Log It?",
         .use = "ALA:LOG"},
        {.name = "Nbr", .kind = Kind::String, .x = 288, .y = 20, .w = 48, .h = 14, .parent = "AlarmTab", .picture = "n_6",
         .use = "ALA:NBR", .flags = AlignRight, .font = {.points = 12, .bold = true}, .color = 0x000080},

        {.name = "DatePrompt", .kind = Kind::Prompt, .text = "Date:", .x = 6, .y = 44, .w = 20, .h = 10, .parent = "AlarmTab"},
        {.name = "Date", .kind = Kind::Spin, .x = 28, .y = 42, .w = 56, .h = 12, .parent = "AlarmTab", .picture = "D06-B", .tip = kDateTip,
         .use = "ALA:DATE", .low = 1, .high = kLastAlarmDay},
        {.name = "Weekday", .kind = Kind::String, .x = 88, .y = 42, .w = 66, .h = 12, .parent = "AlarmTab", .picture = "s9",
         .font = {.family = "Tahoma", .points = 12, .bold = true}},
        {.name = "TimePrompt", .kind = Kind::Prompt, .text = "Time:", .x = 158, .y = 44, .w = 20, .h = 10, .parent = "AlarmTab"},
        {.name = "Time", .kind = Kind::Spin, .x = 180, .y = 42, .w = 40, .h = 12, .parent = "AlarmTab", .picture = "T01.B",
         .use = "ALA:TIME", .low = 1, .high = 8640000, .step = kMinute, .keys = &kAlarmTimeKeys},
        {.name = "WarningPrompt", .kind = Kind::Prompt, .text = "Warning:", .x = 228, .y = 44, .w = 32, .h = 10, .parent = "AlarmTab"},
        {.name = "Warning", .kind = Kind::Spin, .x = 262, .y = 42, .w = 40, .h = 12, .parent = "AlarmTab", .picture = "T1.B",
         .tip = "Time Before Alarm", .use = "ALA:WARNING", .low = 1, .high = 72001000, .step = kMinute, .keys = &kAlarmTimeKeys},

        {.name = "SoundLabel", .kind = Kind::Prompt, .text = "Sound Effect:", .x = 6, .y = 60, .w = 48, .h = 10, .parent = "AlarmTab"},
        {.name = "Command", .kind = Kind::Entry, .x = 56, .y = 58, .w = 262, .h = 12, .parent = "AlarmTab", .picture = "s128",
         .tip = "Sound Effect", .use = "ALA:SOUND"},
        {.name = "Sound", .kind = Kind::Combo, .x = 56, .y = 58, .w = 262, .h = 12, .parent = "AlarmTab", .tip = kSoundTip},
        {.name = "CommandFind", .kind = Kind::Button, .x = 320, .y = 58, .w = 14, .h = 12, .parent = "AlarmTab", .icon = "WizFind.ico"},
        {.name = "ActionLabel", .kind = Kind::Prompt, .text = "Message:", .x = 6, .y = 76, .w = 48, .h = 10, .parent = "AlarmTab"},
        {.name = "Action", .kind = Kind::Entry, .x = 56, .y = 74, .w = 262, .h = 12, .parent = "AlarmTab", .picture = "s128",
         .tip = "Alarm Message", .use = "ALA:ACTION"},
        {.name = "ActionFind", .kind = Kind::Button, .x = 320, .y = 74, .w = 14, .h = 12, .parent = "AlarmTab", .icon = "WizFind.ico"},

        {.name = "Repeat", .kind = Kind::Option, .text = "Repeat this alarm ?", .x = 6, .y = 84, .w = 332, .h = 24, .parent = "AlarmTab",
         .use = "ALA:DOW"},
        {.name = "RepNo", .kind = Kind::Radio, .text = " No", .x = 10, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "N"},
        {.name = "RepDaily", .kind = Kind::Radio, .text = " Daily", .x = 64, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "0"},
        {.name = "RepWeekdays", .kind = Kind::Radio, .text = " Mon - Fri", .x = 118, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "8"},
        {.name = "RepWeekend", .kind = Kind::Radio, .text = " Sat - Sun", .x = 172, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "9"},
        {.name = "RepSun", .kind = Kind::Radio, .text = " Sundays", .x = 226, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "1"},
        {.name = "RepMon", .kind = Kind::Radio, .text = " Mondays", .x = 280, .y = 93, .w = 52, .h = 8, .parent = "Repeat", .use = "2"},
        {.name = "RepTue", .kind = Kind::Radio, .text = " Tuesdays", .x = 10, .y = 101, .w = 60, .h = 8, .parent = "Repeat", .use = "3"},
        {.name = "RepWed", .kind = Kind::Radio, .text = " Wednesdays", .x = 74, .y = 101, .w = 60, .h = 8, .parent = "Repeat", .use = "4"},
        {.name = "RepThu", .kind = Kind::Radio, .text = " Thursdays", .x = 138, .y = 101, .w = 60, .h = 8, .parent = "Repeat", .use = "5"},
        {.name = "RepFri", .kind = Kind::Radio, .text = " Fridays", .x = 202, .y = 101, .w = 60, .h = 8, .parent = "Repeat", .use = "6"},
        {.name = "RepSat", .kind = Kind::Radio, .text = " Saturdays", .x = 266, .y = 101, .w = 60, .h = 8, .parent = "Repeat", .use = "7"},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 200, .y = 112, .w = 44, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 248, .y = 112, .w = 44, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 296, .y = 112, .w = 44, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding an Alarm"}, {ChangeRecord, "Changing this Alarm"}, {DeleteRecord, "Deleting this Alarm"}};

const char* const kCommandFilter =
    "Wav-Files (*.wav);;Executables (*.exe *.com *.bat);;Office Documents (*.doc *.xls *.mdb);;"
    "Hypertext Documents (*.htm*);;Pictures (*.bmp *.gif *.jpg);;Text Files (*.txt *.log);;Music (*.mid *.m3u);;"
    "Application Files (*.app *.dct);;All Files (*)";

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

int lastSeparator(const QString& path)
{
    for (int i = int(path.size()) - 1; i >= 0; --i)
        if (isSeparator(path[i]))
            return i;
    return -1;
}

// The default sound of new alarms, as one path.
QString defaultSound()
{
    const QString folder = Sound_Path.trimmed(), name = Sound_File.trimmed();
    if (folder.isEmpty())
        return name;
    return joinPath(folder, name);
}

class UpdateVenAlarm : public RecordForm {
public:
    UpdateVenAlarm() : RecordForm(QStringLiteral("UpdateVenAlarm"), kUpdateVenAlarmDef, VenAlarm)
    {
        OKCONTROL = QStringLiteral("OK");
        FIRSTFIELD = QStringLiteral("Date");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!openFile(VenWav)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        if (!RecordForm::setUp())
            return false;
        window().bind(QStringLiteral("Weekday"), bindTo(weekday_));
        DateField::attach(*this, QStringLiteral("Date"), QStringLiteral("Select Alarm Date"));
        // The sound list starts on the alarm's own sound (a new one's: the default).
        const QString sound = REQUEST == InsertRecord && !copy_ ? defaultSound() : alarm().str(ALA::SOUND).trimmed();
        const int sep = lastSeparator(sound);
        soundFile_ = sound.mid(sep + 1);
        soundFolder_ = sep >= 0 ? sound.left(sep + 1) : QString();
        fillSounds();
        checkDate();
        applyKindLayout();
        window().display();
        return true;
    }

    void primeFields(bool copy) override
    {
        copy_ = copy;
        if (copy)
            return;
        const QDateTime now = clock().now();
        Record& r = alarm();
        r.set(ALA::DATE, int64_t(dayNumber(now)));
        const int64_t t = std::llround(double(timeValue(now) + 360001 - 1) / kFiveMinutes) * kFiveMinutes + 1;
        r.set(ALA::TIME, std::clamp<int64_t>(t, kLowTime, kHighTime));
        r.set(ALA::WARNING, int64_t(6001));
        r.set(ALA::MESSAGE, "M");
        r.set(ALA::DOW, "N");
        r.set(ALA::LOG, int64_t(1));
        r.set(ALA::IMPORTANT, int64_t(0));
        r.set(ALA::ACTION, QString());
        r.set(ALA::SOUND, defaultSound());
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        const bool selected = e == FieldEvent::Selected;
        if (control == u"Date" && (selected || e == FieldEvent::NewSelection))
            checkDate();
        else if (control == u"Time" && (selected || e == FieldEvent::NewSelection))
            checkTime();
        else if (control == u"Warning" && e == FieldEvent::NewSelection)
            checkWarning();
        if ((control == u"Date" || control == u"Time") && selected)
            applyKindLayout();
        if (control == u"Command" || control == u"CommandFind" || control == u"Action")
            applyKindLayout();
        window().display();
        RecordForm::fieldEvent(control, e);
    }

    void newSelection(const QString& control) override
    {
        if (control == u"Sound")
            chooseSound();
        RecordForm::newSelection(control);
    }

    void accepted(const QString& control) override
    {
        if (control == u"Date")
            checkDate();
        else if (control == u"Time")
            checkTime();
        else if (control == u"Warning")
            checkWarning();
        else if (control == u"Kind")
            applyKindLayout();
        else if (control == u"Command" && alarm().str(ALA::SOUND).trimmed().isEmpty())
            alarm().set(ALA::SOUND, kind() == u"A" ? QStringLiteral("VIEW") : defaultSound());
        else if (control == u"CommandFind")
            return chooseCommand();
        else if (control == u"ActionFind")
            return chooseParameter();
        else if (control == u"OK")
            return ok();
        window().display();
        RecordForm::accepted(control);
    }

private:
    Record& alarm() { return primary().rec(); }
    QString kind() { return alarm().str(ALA::MESSAGE).trimmed().toUpper(); }
    int32_t today() const { return dayNumber(clock().now()); }
    int32_t now() const { return timeValue(clock().now()); }

    void checkDate()
    {
        Record& r = alarm();
        r.set(ALA::DATE, int64_t(CheckAlarmDate(int32_t(r.num(ALA::DATE)), today())));
        weekday_ = WeekdayName(int32_t(r.num(ALA::DATE)));
    }
    void checkTime()
    {
        Record& r = alarm();
        r.set(ALA::TIME, int64_t(CheckAlarmTime(int32_t(r.num(ALA::DATE)), int32_t(r.num(ALA::TIME)), today(), now())));
    }
    void checkWarning()
    {
        Record& r = alarm();
        r.set(ALA::WARNING, int64_t(CheckWarningTime(int32_t(r.num(ALA::DATE)), int32_t(r.num(ALA::TIME)),
                                                     int32_t(r.num(ALA::WARNING)), kind(), today(), now())));
    }

    void applyKindLayout()
    {
        const bool command = kind() == u"A";
        control("SoundLabel").setText(command ? QStringLiteral("Execute:") : QStringLiteral("Sound Effect:"));
        control("ActionLabel").setText(command ? QStringLiteral("Parameters:") : QStringLiteral("Message:"));
        control("Sound").show(!command);
        control("Command").show(command);
        control("CommandFind").show(command);
        control("ActionFind").show(command);
        if (command && REQUEST == InsertRecord && !copy_ && alarm().str(ALA::SOUND).trimmed().isEmpty())
            alarm().set(ALA::SOUND, QStringLiteral("VIEW"));
    }

    // The registered sounds by name; a sound of the alarm that is not
    // registered is offered too, so that a change keeps it.
    void fillSounds()
    {
        sounds_.clear();
        KeyedFile& wav = file(VenWav);
        for (wav.set(WAV::NAME_KEY); wav.next();)
            sounds_.emplace_back(wav.rec().str(WAV::FILENAME).trimmed(), wav.rec().str(WAV::FILEPATH).trimmed());
        auto* combo = control("Sound").as<QComboBox>();
        if (!combo)
            return;
        combo->clear();
        int current = -1;
        for (size_t i = 0; i < sounds_.size(); ++i) {
            combo->addItem(sounds_[i].first);
            if (current < 0 && sounds_[i].first.compare(soundFile_, Qt::CaseInsensitive) == 0)
                current = int(i);
        }
        if (current < 0 && !soundFile_.isEmpty()) {
            sounds_.emplace_back(soundFile_, soundFolder_);
            combo->addItem(soundFile_);
            current = int(sounds_.size()) - 1;
        }
        combo->setCurrentIndex(current);
    }

    void chooseSound()
    {
        auto* combo = control("Sound").as<QComboBox>();
        const int i = combo ? combo->currentIndex() : -1;
        if (i < 0 || i >= int(sounds_.size()))
            return;
        soundFile_ = sounds_[size_t(i)].first;
        soundFolder_ = sounds_[size_t(i)].second;
    }

    void chooseCommand()
    {
        const QString chosen = chooseFile(&window(), QStringLiteral("Sound File"), Sound_Path.trimmed(),
                                          QString::fromUtf8(kCommandFilter));
        if (!chosen.isEmpty())
            alarm().set(ALA::SOUND, chosen.left(kSoundSize));
        applyKindLayout();
        window().display();
    }

    void chooseParameter()
    {
        const QString chosen = chooseFile(&window(), QStringLiteral("Select File"), {}, QStringLiteral("All Files (*)"));
        if (!chosen.isEmpty())
            alarm().set(ALA::ACTION, chosen.left(kSoundSize));
        window().display();
    }

    void ok()
    {
        acceptControls([this] {
            if (REQUEST != DeleteRecord && !prepareStore())
                return;
            window().display();
            // Shown without trailing blanks, the one blank of empty
            // parameters would be read back as nothing.
            if (REQUEST != DeleteRecord && alarm().str(ALA::ACTION) == u" ")
                control("Action").setText(QStringLiteral(" "));
            complete();
        });
    }

    // OK's steps before the store; false keeps the form open.
    bool prepareStore()
    {
        checkDate();
        checkTime();
        checkWarning();
        Record& r = alarm();
        const bool message = kind() != u"A";
        if (r.str(ALA::ACTION).trimmed().isEmpty())
            r.set(ALA::ACTION, message ? QString::fromUtf8(kDefaultAlarmMessage) : QStringLiteral(" "));
        if (!message)
            return true;
        const QString sound = soundFolder_.isEmpty() ? soundFile_ : joinPath(soundFolder_, soundFile_);
        // A longer name would be cut and name another file.
        if (sound.size() > kSoundSize) {
            messageBox(QStringLiteral("The sound file's folder and name are longer than %1 characters.|"
                                      "Choose a sound in a shorter folder.")
                           .arg(kSoundSize),
                       QStringLiteral("Error!"), Icon::Exclamation);
            control("Sound").select();
            return false;
        }
        r.set(ALA::SOUND, sound);
        const int dot = int(sound.lastIndexOf(u'.'));
        const int sep = lastSeparator(sound);
        if (dot >= 0 && sound.mid(dot + 1).compare(u"WAV", Qt::CaseInsensitive) == 0 && sep >= 0) {
            Sound_Path = sound.left(sep);
            Sound_File = sound.mid(sep + 1);
            writeIni(SettingsFile::programFile(), QStringLiteral("Paths"), QStringLiteral("Sound_Path"), Sound_Path);
            writeIni(SettingsFile::programFile(), QStringLiteral("Paths"), QStringLiteral("Sound_File"), Sound_File);
        }
        return true;
    }

    void tearDown() override
    {
        ++AlarmsChanged;
        CopyRequested = 0;
        RecordForm::tearDown();
    }

    QString weekday_;
    QString soundFile_, soundFolder_;
    std::vector<std::pair<QString, QString>> sounds_;
    bool copy_ = false;
};

} // namespace

int32_t CheckAlarmDate(int32_t date, int32_t today)
{
    return std::max(std::min(date, kLastAlarmDay), today);
}

int32_t CheckAlarmTime(int32_t date, int32_t time, int32_t today, int32_t now)
{
    int64_t t = std::clamp<int64_t>(time, kLowTime, kHighTime);
    if (date == today)
        t = std::max<int64_t>(t, int64_t(now) + 18000);
    t = std::llround(double(t) / kMinute) * kMinute + 1;
    return int32_t(std::min<int64_t>(t, kEndOfDay));
}

int32_t CheckWarningTime(int32_t date, int32_t time, int32_t warning, const QString& kind, int32_t today, int32_t now)
{
    int64_t w = std::clamp<int64_t>(warning, kLowTime, kHighTime);
    // A message alarm's window opens a further 62 seconds earlier. Counted
    // from today, so that an advance reaching back over midnight is held too.
    const int64_t lead = kind.trimmed() == u"M" ? kMessageLead : 0;
    const int64_t at = int64_t(date - today) * kDay + time - lead;
    while (w > 0 && at - w < int64_t(now) + kThirtySeconds)
        w -= kThirtySeconds;
    w = std::max<int64_t>(w, 0);
    return int32_t(w / kMinute * kMinute + 1);
}

std::unique_ptr<WindowController> makeUpdateVenAlarm(const QString&)
{
    return std::make_unique<UpdateVenAlarm>();
}

} // namespace ven
