// The keys and mouse gestures that every date field with a spin shares:
// Up/Down a day, Shift a week, Alt a month, Ctrl a year (a day that the
// target month lacks carries into the next month), and the date picker on
// a right click or a double click. Attached to a window's control by name.
// The picker is the calendar's, installed by the program (setDatePicker).
#pragma once

#include "platform/WindowController.h"

#include <cstdint>
#include <functional>

namespace ven {

// The date picker a date field opens: its caption, the date it starts at
// and writes when OK is pressed, and `done(picked)` once it has closed.
// None installed: fields step by their keys and open no picker.
using DatePicker = std::function<void(const QString& caption, int32_t& date, std::function<void(bool picked)> done)>;
void setDatePicker(DatePicker picker);

class DateField : public WindowPart {
public:
    // Attaches the behaviour to `control`, whose bound variable holds the
    // date (a record field of a form, or a variable bound earlier or
    // later); `caption` is the date picker's title. Returns the part,
    // owned by the window.
    static DateField& attach(WindowController& owner, const QString& control, const QString& caption);
    // The same, binding `date` to the control first.
    static DateField& attach(WindowController& owner, const QString& control, int32_t* date, const QString& caption);

    DateField(WindowController& owner, const QString& control, const QString& caption);

    const QString& control() const { return control_; }
    // The lowest and highest date the field takes: the valid days, narrowed
    // by the control's declared range.
    int32_t low() const { return low_; }
    int32_t high() const { return high_; }
    // True while the date picker it opened is open.
    bool picking() const { return picking_; }

    bool fieldEvent(const QString& control, FieldEvent e) override;

private:
    int32_t current() const;
    void set(int32_t date);
    void openPicker();

    QString control_, caption_;
    int32_t low_, high_;
    int32_t picked_ = 0;  // the picker's date variable
    bool picking_ = false;
};

} // namespace ven
