// Date fields: their step keys and the date picker they open.
#include "platform/DateField.h"

#include "platform/DateSteps.h"
#include "platform/Clock.h"
#include "platform/Picture.h"

#include <QPointer>

#include <algorithm>

namespace ven {
namespace {

// The keys of a date field and the step each gives.
struct KeyStep {
    int key;
    int days;
    int months;
};
const KeyStep kKeys[] = {
    {Qt::Key_Up, 1, 0},
    {Qt::Key_Down, -1, 0},
    {(Qt::SHIFT | Qt::Key_Up).toCombined(), 7, 0},
    {(Qt::SHIFT | Qt::Key_Down).toCombined(), -7, 0},
    {(Qt::ALT | Qt::Key_Up).toCombined(), 0, 1},
    {(Qt::ALT | Qt::Key_Down).toCombined(), 0, -1},
    {(Qt::CTRL | Qt::Key_Up).toCombined(), 0, 12},
    {(Qt::CTRL | Qt::Key_Down).toCombined(), 0, -12},
};

DatePicker& picker()
{
    static DatePicker p;
    return p;
}

} // namespace

void setDatePicker(DatePicker p) { picker() = std::move(p); }

DateField& DateField::attach(WindowController& owner, const QString& control, const QString& caption)
{
    auto part = std::make_unique<DateField>(owner, control, caption);
    DateField& f = *part;
    owner.addPart(std::move(part));
    return f;
}

DateField& DateField::attach(WindowController& owner, const QString& control, int32_t* date, const QString& caption)
{
    if (date)
        owner.window().bind(control, bindTo(*date));
    return attach(owner, control, caption);
}

DateField::DateField(WindowController& owner, const QString& control, const QString& caption)
    : WindowPart(owner)
    , control_(control)
    , caption_(caption)
    , low_(kFirstDay)
    , high_(kLastDay)
{
    if (const ControlDef* d = owner.window().controlDef(control); d && d->high > d->low) {
        low_ = clampDay(std::max<int64_t>(d->low, kFirstDay));
        high_ = clampDay(std::min<int64_t>(d->high, kLastDay));
        if (low_ > high_)
            low_ = kFirstDay, high_ = kLastDay;  // a range that holds no valid day is no range
    }
    for (const KeyStep& k : kKeys)
        owner.armAlertKey(k.key, control);
}

bool DateField::fieldEvent(const QString& control, FieldEvent e)
{
    if (control != control_)
        return false;
    switch (e) {
    case FieldEvent::AlertKey: {
        const int key = owner().alertKey();
        for (const KeyStep& k : kKeys) {
            if (k.key != key)
                continue;
            const int32_t from = current();
            set(k.months ? addMonths(from, k.months) : clampDay(int64_t(from) + k.days));
            return true;
        }
        return false;
    }
    case FieldEvent::RightClick:
    case FieldEvent::DoubleClick:
        openPicker();
        return true;
    default:
        return false;
    }
}

// The date the field shows, typed but not yet accepted included; a field
// without a valid date counts from today, as the picker does.
int32_t DateField::current() const
{
    Control c = owner().control(control_);
    int32_t date = int32_t(c.value().toLongLong());
    if (const ControlDef* d = owner().window().controlDef(control_)) {
        const Picture pic = Picture::parse(QString::fromUtf8(d->picture));
        if (pic.kind == Picture::Kind::Date)
            if (auto typed = parse(pic, c.text()))
                date = int32_t(typed->toLongLong());
    }
    return isValidDay(date) ? date : clock().today();
}

// Shows the date in the field, writes it to the bound variable and lets
// the window hear the change as it hears a spin's step.
void DateField::set(int32_t date)
{
    Control c = owner().control(control_);
    c.setValue(clampDay(date, low_, high_));
    owner().window().update(control_);
    owner().raiseFieldEvent(control_, FieldEvent::NewSelection);
}

void DateField::openPicker()
{
    if (picking_ || !picker())
        return;  // one picker per field at a time
    picking_ = true;
    picked_ = current();
    QPointer<WindowController> owner = &this->owner();
    picker()(caption_, picked_, [this, owner](bool picked) {
        if (!owner)
            return;  // the window (and this part with it) has gone
        picking_ = false;
        if (picked && owner->isOpen())
            set(picked_);
    });
}

} // namespace ven
