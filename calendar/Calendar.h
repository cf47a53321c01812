// The date picker: a month grid with year, month, week and day steps, a
// "Today's date" button and year and month drop lists. A date field calls
// it on its own thread with a caption and its date variable, and goes on
// when it has closed.
#pragma once

#include "platform/WindowController.h"

#include <QPointer>

#include <cstdint>
#include <functional>

namespace ven {

class Calendar : public WindowController {
public:
    // Opens on `date` when it is a valid day, else on today. OK writes the
    // chosen day into `date`; any other way of closing leaves it.
    Calendar(const QString& caption, int32_t& date);

    // True once OK has written the date.
    bool picked() const { return picked_; }
    // The date the picker shows and would write.
    int32_t workingDate() const { return working_; }

protected:
    bool setUp() override;
    void windowEvent(Event e) override;
    void fieldEvent(const QString& control, FieldEvent e) override;
    void accepted(const QString& control) override;
    void newSelection(const QString& control) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void step(int index);
    void moveTo(int32_t date);
    void fillMonthGrid();
    void showDateHeadings();
    void clickAt(QPoint windowPos);
    void accept();
    void setYearField(int year);

    QString caption_;
    int32_t& date_;
    int32_t working_ = 0;
    int selected_ = 0;  // the cell (1..42) that holds the working date, 0 none
    QPointer<WindowController> caller_;
    QPointer<QWidget> grid_;  // the hot region over the grid
    bool hadCaller_ = false;
    bool picked_ = false;
};

// Runs the date picker on the current thread; `done(picked)` runs when it
// has closed, after OK has written `date` (picked true) or not. The caller
// keeps `date` alive until then.
void pickDate(const QString& caption, int32_t& date, std::function<void(bool picked)> done = {});

} // namespace ven
