// The date picker (steps, opening date, grid, lists, closing) and the date
// field's keys and gestures, used through their widgets.
#include "WindowKit.h"

#include "calendar/Calendar.h"
#include "platform/DateField.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLocale>

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }

// The date line the picker shows for a day, e.g. "05 March 2024".
QString dateLine(int32_t d)
{
    const auto ymd = calendarDateUnchecked(d);
    return QLocale::c().toString(QDate(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))), "dd MMMM yyyy");
}

// A picker opened on the frame's thread, as a caller without a window would.
struct Picker {
    WindowKit& kit;
    int32_t date = 0;
    bool ended = false, picked = false;

    void open(int32_t d, const QString& caption = "Select Date")
    {
        date = d;
        ended = picked = false;
        pickDate(caption, date, [this](bool p) {
            ended = true;
            picked = p;
        });
        kit.settle();
        ASSERT_TRUE(kit.isOpen("Calendar"));
    }
    Window& window() { return kit.window("Calendar").window(); }
    QString line() { return kit.text("Calendar", "DateLine"); }
    QColor color(int cell)
    {
        return kit.control("Calendar", QString("Day%1").arg(cell)).widget()->palette().color(QPalette::WindowText);
    }
    // A mouse action on the grid, at a point given in the window's dialog units.
    void mouse(QPoint units, bool twice = false)
    {
        QWidget* grid = kit.control("Calendar", "Grid").widget();
        const QPoint at = grid->mapFrom(&window(), QPoint(window().units().x(units.x()), window().units().y(units.y())));
        if (twice)
            QTest::mouseDClick(grid, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(grid, Qt::LeftButton, {}, at);
        kit.settle();
    }
    // The middle of day cell k (1..42).
    static QPoint cell(int k) { return {9 + 12 * ((k - 1) % 7) + 4, 37 + 10 * ((k - 1) / 7) + 4}; }
};

TEST(Calendar, StepsByButtonAndKeyCarryTheDayAndKeepToTheValidDays)
{
    struct Case {
        int32_t from;
        const char* button;  // or nullptr and a key
        int key;
        int32_t expected;
    };
    const int32_t last = kLastDay;
    const Case cases[] = {
        {day(2023, 3, 31), "MonthMinus", 0, day(2023, 3, 3)},  // 31 February carries forward
        {day(2024, 3, 31), nullptr, Qt::Key_PageUp, day(2024, 3, 2)},
        {day(2023, 1, 31), "MonthPlus", 0, day(2023, 3, 3)},
        {day(2024, 1, 31), nullptr, Qt::Key_PageDown, day(2024, 3, 2)},
        {day(2026, 12, 15), "MonthPlus", 0, day(2027, 1, 15)},
        {day(2026, 1, 15), "MonthMinus", 0, day(2025, 12, 15)},
        {day(2024, 2, 29), "YearPlus", 0, day(2025, 3, 1)},
        {day(2024, 2, 29), nullptr, (Qt::CTRL | Qt::Key_PageUp).toCombined(), day(2023, 3, 1)},
        {day(2023, 5, 10), nullptr, (Qt::CTRL | Qt::Key_PageDown).toCombined(), day(2024, 5, 10)},
        {day(2023, 2, 28), "DayPlus", 0, day(2023, 3, 1)},
        {day(2024, 2, 29), nullptr, Qt::Key_Right, day(2024, 3, 1)},
        {day(2024, 3, 1), nullptr, Qt::Key_Left, day(2024, 2, 29)},
        {day(2026, 12, 31), nullptr, Qt::Key_Down, day(2027, 1, 7)},
        {day(2027, 1, 3), "WeekMinus", 0, day(2026, 12, 27)},
        {day(2000, 1, 1), nullptr, Qt::Key_Home, day(2026, 12, 9)},  // the kit's today
        {day(2000, 1, 1), "Today", 0, day(2026, 12, 9)},
        {day(9998, 12, 31), "YearPlus", 0, last},
        // The ends of the valid days hold.
        {kFirstDay, "DayMinus", 0, kFirstDay},
        {kFirstDay, nullptr, Qt::Key_Up, kFirstDay},
        {kFirstDay, "MonthMinus", 0, kFirstDay},
        {day(1801, 1, 15), "YearMinus", 0, kFirstDay},
        {last, "DayPlus", 0, last},
        {last, nullptr, Qt::Key_Down, last},
        {last, "MonthPlus", 0, last},
        {last, nullptr, (Qt::CTRL | Qt::Key_PageDown).toCombined(), last},
    };
    WindowKit kit;
    Picker p{kit};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button ? c.button : QKeySequence(c.key).toString().toStdString());
        SCOPED_TRACE(dateLine(c.from).toStdString());
        p.open(c.from);
        if (c.button)
            kit.press("Calendar", c.button);
        else
            kit.key("Calendar", c.key, "OK");
        EXPECT_EQ(p.line(), dateLine(c.expected));
        EXPECT_EQ(p.date, c.from);  // nothing is written before OK
        kit.press("Calendar", "OK");
        EXPECT_TRUE(p.ended);
        EXPECT_TRUE(p.picked);
        EXPECT_EQ(p.date, c.expected);
    }
}

TEST(Calendar, OpensOnTheCallersDateWhenItIsAValidDayElseOnToday)
{
    const int32_t today = day(2026, 12, 9);
    const std::pair<int32_t, int32_t> cases[] = {
        {kFirstDay, kFirstDay},
        {day(2000, 11, 10), day(2000, 11, 10)},  // after 9 November 2000
        {day(2099, 12, 31), day(2099, 12, 31)},
        {kLastDay, kLastDay},
        {0, today},
        {-5, today},
        {3, today},
        {kLastDay + 1, today},
    };
    WindowKit kit;
    Picker p{kit};
    for (const auto& [from, shown] : cases) {
        SCOPED_TRACE(from);
        p.open(from, "Select Begin Date");
        EXPECT_EQ(p.window().title(), "Select Begin Date");
        EXPECT_EQ(p.line(), dateLine(shown));
        kit.press("Calendar", "OK");
        EXPECT_EQ(p.date, shown);
    }
}

TEST(Calendar, EscCancelAndTheCloseBoxLeaveTheDateOkWritesTheLastShown)
{
    WindowKit kit;
    Picker p{kit};
    const int32_t start = day(2024, 5, 17);
    const std::function<void()> closings[] = {
        [&] { kit.key("Calendar", Qt::Key_Escape, "OK"); },
        [&] { kit.press("Calendar", "Cancel"); },
        [&] {
            p.window().outer()->close();
            kit.settle();
        },
    };
    for (const auto& closeIt : closings) {
        p.open(start);
        kit.press("Calendar", "YearPlus");
        kit.key("Calendar", Qt::Key_Right, "OK");
        closeIt();
        EXPECT_FALSE(kit.isOpen("Calendar"));
        EXPECT_TRUE(p.ended);
        EXPECT_FALSE(p.picked);
        EXPECT_EQ(p.date, start);
        EXPECT_EQ(CallResponse, RequestCancelled);
    }
    p.open(start);
    kit.press("Calendar", "YearPlus");
    kit.press("Calendar", "WeekPlus");
    kit.press("Calendar", "OK");
    EXPECT_EQ(p.date, day(2025, 5, 24));
    EXPECT_EQ(CallResponse, RequestCancelled);  // the picker sets no response of its own
    // Its placement is kept under "Calendar".
    EXPECT_TRUE(QFile::exists(kit.ini()));
    QFile ini(kit.ini());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(ini.readAll()).contains("[Calendar]"));
}

TEST(Calendar, GridLinesUpWeekdaysAndTheMouseSelectsDays)
{
    WindowKit kit;
    Picker p{kit};
    // March 2025 starts on a Saturday: its 31 days fill cells 7 to 37.
    p.open(day(2025, 3, 15));
    EXPECT_EQ(kit.text("Calendar", "Day6"), "");
    EXPECT_EQ(kit.text("Calendar", "Day7"), "1");
    EXPECT_EQ(kit.text("Calendar", "Day37"), "31");
    EXPECT_EQ(kit.text("Calendar", "Day38"), "");
    kit.press("Calendar", "Cancel");

    // September 2024 starts on a Sunday: day 1 in the top-left cell, shown inverted (red to cyan).
    p.open(day(2024, 9, 1));
    EXPECT_EQ(kit.text("Calendar", "Day1"), "1");
    EXPECT_EQ(kit.text("Calendar", "Day30"), "30");
    EXPECT_EQ(p.color(1), QColor(0, 255, 255));
    EXPECT_TRUE(kit.control("Calendar", "Highlight").isVisible());

    // A click on 10 September (a Tuesday): selected in light yellow, day 1 red again.
    p.mouse(Picker::cell(10));
    EXPECT_EQ(p.line(), "10 September 2024");
    EXPECT_EQ(p.color(10), QColor(255, 255, 127));
    EXPECT_EQ(p.color(1), QColor(255, 0, 0));
    const QRect cell10 = kit.control("Calendar", "Day10").widget()->geometry();
    EXPECT_TRUE(kit.control("Calendar", "Highlight").widget()->geometry().contains(cell10.center()));
    // A blank cell and the region's margin left of the first column change nothing.
    p.mouse(Picker::cell(31));
    p.mouse({7, 60});
    EXPECT_EQ(p.line(), "10 September 2024");
    EXPECT_EQ(p.color(10), QColor(255, 255, 127));
    EXPECT_EQ(p.color(31), QColor(0, 0, 128));

    // A double click picks the day and closes.
    p.mouse(Picker::cell(12), true);
    EXPECT_FALSE(kit.isOpen("Calendar"));
    EXPECT_TRUE(p.picked);
    EXPECT_EQ(p.date, day(2024, 9, 12));

    // The weekday line of a Wednesday fills its 21 characters.
    p.open(day(2026, 12, 9));
    EXPECT_EQ(kit.text("Calendar", "WeekdayLine"), "Wednesday,    Week 49");
}

TEST(Calendar, YearAndMonthListsMoveTheDateAndCarryTheDay)
{
    WindowKit kit;
    Picker p{kit};
    p.open(day(2023, 1, 31));
    auto* years = kit.control("Calendar", "Year").as<QComboBox>();
    ASSERT_NE(years, nullptr);
    // The years of the days a hundred years of 365 days either way, each once.
    const int first = QDate(2023, 1, 31).addDays(-36500).year(), last = QDate(2023, 1, 31).addDays(36500).year();
    EXPECT_EQ(years->itemText(0), QString::number(first));
    EXPECT_EQ(years->itemText(years->count() - 1), QString::number(last));
    EXPECT_EQ(years->count(), last - first + 1);
    EXPECT_EQ(years->currentText(), "2023");
    kit.choose("Calendar", "Month", "02");
    EXPECT_EQ(p.line(), "03 March 2023");
    EXPECT_EQ(kit.text("Calendar", "Month"), "03");
    kit.press("Calendar", "Cancel");

    p.open(day(2024, 2, 29));
    kit.choose("Calendar", "Year", "2025");
    EXPECT_EQ(p.line(), "01 March 2025");
    kit.press("Calendar", "Cancel");

    // Near the first valid day the list starts at 1801; a year stepped past
    // the list's end is added to it, so the list shows the date's year.
    p.open(day(1850, 6, 1));
    EXPECT_EQ(kit.control("Calendar", "Year").as<QComboBox>()->itemText(0), "1801");
    kit.press("Calendar", "Cancel");
    p.open(day(2000, 1, 1));
    years = kit.control("Calendar", "Year").as<QComboBox>();
    const QString lastListed = years->itemText(years->count() - 1);
    EXPECT_EQ(lastListed, "2099");
    kit.choose("Calendar", "Year", lastListed);
    kit.press("Calendar", "YearPlus");
    EXPECT_EQ(p.line(), "01 January 2100");
    EXPECT_EQ(years->currentText(), "2100");
}

// A window with two date fields, one with a declared range.
const WindowDef& datesDef()
{
    static const WindowDef def{
        .title = "Dates",
        .w = 160,
        .h = 60,
        .controls = {
            {.name = "BDate", .kind = Kind::Spin, .x = 10, .y = 10, .w = 60, .h = 12, .picture = "D06-B"},
            {.name = "Due", .kind = Kind::Spin, .x = 10, .y = 26, .w = 60, .h = 12, .picture = "D06-B", .low = 36163, .high = 109211},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 100, .y = 40, .w = 50, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

class DatesWnd : public WindowController {
public:
    DatesWnd() : WindowController("DatesWnd", datesDef(), ProcedureTraits{})
    {
        DateField::attach(*this, "BDate", &begin, "Select Begin Date");
        DateField::attach(*this, "Due", &due, "Select Date");
    }
    int32_t begin = 0, due = 0;
    int changes = 0;  // the field's changes that the window heard

protected:
    void newSelection(const QString& control) override
    {
        ++changes;
        WindowController::newSelection(control);
    }
};

struct DateFieldKit {
    WindowKit kit;
    DatesWnd* w = nullptr;
    DateFieldKit()
    {
        kit.start([] { return std::make_unique<DatesWnd>(); });
        w = static_cast<DatesWnd*>(&kit.window("DatesWnd"));
    }
    void set(int32_t d)
    {
        w->begin = d;
        w->window().display("BDate");
    }
    QWidget* edit() { return w->control("BDate").widget()->findChild<QLineEdit*>(); }
};

TEST(DateField, KeysStepDaysWeeksMonthsAndYearsWithinTheValidDays)
{
    struct Case {
        int32_t from;
        QKeyCombination key;
        int32_t expected;
    };
    const int32_t today = day(2026, 12, 9);
    const Case cases[] = {
        {day(2026, 12, 31), Qt::Key_Up, day(2027, 1, 1)},
        {day(2024, 3, 1), Qt::Key_Down, day(2024, 2, 29)},
        {day(2026, 12, 28), Qt::SHIFT | Qt::Key_Up, day(2027, 1, 4)},
        {day(2024, 3, 3), Qt::SHIFT | Qt::Key_Down, day(2024, 2, 25)},
        {day(2023, 1, 31), Qt::ALT | Qt::Key_Up, day(2023, 3, 3)},
        {day(2024, 1, 31), Qt::ALT | Qt::Key_Up, day(2024, 3, 2)},
        {day(2023, 3, 31), Qt::ALT | Qt::Key_Down, day(2023, 3, 3)},
        {day(2026, 12, 15), Qt::ALT | Qt::Key_Up, day(2027, 1, 15)},
        {day(2026, 1, 15), Qt::ALT | Qt::Key_Down, day(2025, 12, 15)},
        {day(2024, 2, 29), Qt::CTRL | Qt::Key_Up, day(2025, 3, 1)},
        {day(2024, 2, 29), Qt::CTRL | Qt::Key_Down, day(2023, 3, 1)},
        {kFirstDay, Qt::Key_Down, kFirstDay},
        {kFirstDay + 3, Qt::SHIFT | Qt::Key_Down, kFirstDay},
        {kFirstDay, Qt::ALT | Qt::Key_Down, kFirstDay},
        {kFirstDay, Qt::CTRL | Qt::Key_Down, kFirstDay},
        {kLastDay, Qt::Key_Up, kLastDay},
        {kLastDay - 2, Qt::SHIFT | Qt::Key_Up, kLastDay},
        {kLastDay, Qt::ALT | Qt::Key_Up, kLastDay},
        {day(9999, 2, 28), Qt::CTRL | Qt::Key_Up, kLastDay},
        {0, Qt::SHIFT | Qt::Key_Up, today + 7},  // a blank field counts from today
    };
    DateFieldKit f;
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString() + " from " + std::to_string(c.from));
        f.set(c.from);
        const int heard = f.w->changes;
        f.kit.key("DatesWnd", c.key.toCombined(), "BDate");
        EXPECT_EQ(f.w->begin, c.expected);
        EXPECT_EQ(f.kit.text("DatesWnd", "BDate"), formatDate(c.expected, u"D06-B"));
        EXPECT_EQ(f.w->changes, heard + 1);  // the window hears it as a spin step
    }
    // A typed date not yet accepted is stepped from what it shows.
    f.set(day(2026, 1, 1));
    f.w->control("BDate").setText("10-05-2026");
    f.kit.key("DatesWnd", (Qt::SHIFT | Qt::Key_Up).toCombined(), "BDate");
    EXPECT_EQ(f.w->begin, day(2026, 5, 17));
    // A field's declared range narrows the valid days.
    f.w->due = day(2099, 12, 31);
    f.w->window().display("Due");
    f.kit.key("DatesWnd", (Qt::CTRL | Qt::Key_Up).toCombined(), "Due");
    EXPECT_EQ(f.w->due, day(2099, 12, 31));
}

TEST(DateField, RightAndDoubleClickOpenThePickerOnTheFieldsDate)
{
    DateFieldKit f;
    f.set(day(2024, 1, 31));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), f.edit()->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(f.edit(), &menu);
    f.kit.settle();
    ASSERT_TRUE(f.kit.isOpen("Calendar"));
    EXPECT_EQ(f.kit.window("Calendar").window().title(), "Select Begin Date");
    EXPECT_EQ(f.kit.text("Calendar", "DateLine"), "31 January 2024");
    EXPECT_FALSE(f.w->window().outer()->isEnabled());  // the field's window waits
    const int heard = f.w->changes;
    f.kit.press("Calendar", "MonthPlus");
    f.kit.press("Calendar", "OK");
    EXPECT_FALSE(f.kit.isOpen("Calendar"));
    EXPECT_TRUE(f.w->window().outer()->isEnabled());
    EXPECT_EQ(f.w->begin, day(2024, 3, 2));
    EXPECT_EQ(f.kit.text("DatesWnd", "BDate"), "02-03-2024");
    EXPECT_EQ(f.w->changes, heard + 1);

    // A double click opens it too; Esc leaves the field as it was.
    QTest::mouseDClick(f.edit(), Qt::LeftButton);
    f.kit.settle();
    ASSERT_TRUE(f.kit.isOpen("Calendar"));
    EXPECT_EQ(f.kit.openCount("Calendar"), 1);
    f.kit.press("Calendar", "YearPlus");
    f.kit.key("Calendar", Qt::Key_Escape, "OK");
    EXPECT_FALSE(f.kit.isOpen("Calendar"));
    EXPECT_EQ(f.w->begin, day(2024, 3, 2));
    EXPECT_EQ(f.w->changes, heard + 1);

    // The picker's date stays within the field's own range.
    f.w->due = day(2099, 12, 20);
    f.w->window().display("Due");
    QTest::mouseDClick(f.w->control("Due").widget()->findChild<QLineEdit*>(), Qt::LeftButton);
    f.kit.settle();
    ASSERT_TRUE(f.kit.isOpen("Calendar"));
    f.kit.press("Calendar", "MonthPlus");
    f.kit.press("Calendar", "OK");
    EXPECT_EQ(f.w->due, day(2099, 12, 31));
}

} // namespace
} // namespace ven::test
