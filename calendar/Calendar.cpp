// The date picker: its window as data, the month grid, the steps, the
// drop lists and the mouse on the grid.
#include "calendar/Calendar.h"

#include "platform/DateSteps.h"
#include "core/DateHelpers.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <array>
#include <string>

namespace ven {
namespace {

constexpr int kCells = 42;
constexpr uint32_t kWeekend = 0xFF0000, kWeekday = 0x000080, kGrey = 0xC0C0C0, kHighlight = 0x0080C0;

// Where day cell k (1..42) stands, in dialog units.
QPoint cellPlace(int k) { return {9 + 12 * ((k - 1) % 7), 37 + 10 * ((k - 1) / 7)}; }

enum class StepKind { Years, Months, Days, Today };

// The step buttons with their keys; `label` stands in when the icon file is missing.
struct StepDef {
    const char* control;
    int key;
    StepKind kind;
    int amount;
    const char* icon;
    const char* tip;
    const char* label;
    int x, y, w;
};
const StepDef kSteps[] = {
    {"YearMinus", (Qt::CTRL | Qt::Key_PageUp).toCombined(), StepKind::Years, -1, "YRMINUS.ICO", "Previous year.", "-Y", 96, 36, 13},
    {"YearPlus", (Qt::CTRL | Qt::Key_PageDown).toCombined(), StepKind::Years, 1, "YRPLUS.ICO", "Next year.", "+Y", 110, 36, 13},
    {"MonthMinus", Qt::Key_PageUp, StepKind::Months, -1, "MOMINUS.ICO", "Previous month.", "-M", 96, 49, 13},
    {"MonthPlus", Qt::Key_PageDown, StepKind::Months, 1, "MOPLUS.ICO", "Next month.", "+M", 110, 49, 13},
    {"WeekMinus", Qt::Key_Up, StepKind::Days, -7, "WKMINUS.ICO", "Previous week.", "-W", 96, 62, 13},
    {"WeekPlus", Qt::Key_Down, StepKind::Days, 7, "WKPLUS.ICO", "Next week.", "+W", 110, 62, 13},
    {"DayMinus", Qt::Key_Left, StepKind::Days, -1, "DYMINUS.ICO", "Previous Day.", "-D", 96, 75, 13},
    {"DayPlus", Qt::Key_Right, StepKind::Days, 1, "DYPLUS.ICO", "Next day.", "+D", 110, 75, 13},
    {"Today", Qt::Key_Home, StepKind::Today, 0, "TODAY.ICO", "Today's date.", "Today", 96, 88, 27},
};

const char* const kHeadings[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};

QString cellName(int k) { return QStringLiteral("Day%1").arg(k); }

const WindowDef& calendarDef()
{
    static const std::array<std::string, kCells> names = [] {
        std::array<std::string, kCells> n;
        for (int k = 1; k <= kCells; ++k)
            n[k - 1] = cellName(k).toStdString();
        return n;
    }();
    static const WindowDef def = [] {
        WindowDef d{.title = "Calendar", .w = 127, .h = 118, .icon = "calendar2.ico", .font = {"Tahoma", 12, true}, .controls = {}};
        auto& c = d.controls;
        // Panels first and the highlight under the cells, so that they stand beneath.
        c.push_back({.name = "GridPanel", .kind = Kind::Group, .x = 4, .y = 24, .w = 89, .h = 73});
        c.push_back({.name = "ButtonPanel", .kind = Kind::Group, .x = 94, .y = 33, .w = 31, .h = 83});
        c.push_back({.name = "ListPanel", .kind = Kind::Group, .x = 4, .y = 98, .w = 89, .h = 18});
        c.push_back({.name = "Highlight", .kind = Kind::Region, .x = 7, .y = 35, .w = 12, .h = 12, .flags = Hidden,
                     .background = kHighlight});
        c.push_back({.name = "Logo", .kind = Kind::Image, .x = 2, .y = 2, .w = 14, .h = 14, .icon = "Tarn-Vel.gif"});
        c.push_back({.name = "DateLine", .kind = Kind::String, .x = 18, .y = 2, .w = 88, .h = 10});
        c.push_back({.name = "WeekdayLine", .kind = Kind::String, .x = 18, .y = 13, .w = 88, .h = 9});
        c.push_back({.name = "OK", .kind = Kind::Button, .x = 108, .y = 2, .w = 16, .h = 14,
                     .tip = "Accept the date and close window"});
        c.push_back({.name = "Cancel", .kind = Kind::Button, .x = 96, .y = 101, .w = 27, .h = 13, .tip = "Exit without date.",
                     .closes = RequestCancelled});
        for (const StepDef& s : kSteps)
            c.push_back({.name = s.control, .kind = Kind::Button, .x = s.x, .y = s.y, .w = s.w, .h = 12, .tip = s.tip,
                         .icon = s.icon});
        for (int col = 0; col < 7; ++col)
            c.push_back({.name = kHeadings[col], .kind = Kind::Prompt, .text = kHeadings[col], .x = 9 + 12 * col, .y = 26,
                         .w = 11, .h = 9});
        for (int k = 1; k <= kCells; ++k) {
            const QPoint at = cellPlace(k);
            const int col = (k - 1) % 7;
            c.push_back({.name = names[k - 1].c_str(), .kind = Kind::String, .x = at.x(), .y = at.y(), .w = 8, .h = 8,
                         .flags = AlignRight, .color = col == 0 || col == 6 ? kWeekend : kWeekday});
        }
        c.push_back({.name = "Year", .kind = Kind::Combo, .x = 6, .y = 101, .w = 44, .h = 13, .picture = "s10"});
        c.push_back({.name = "Month", .kind = Kind::Combo, .text = "01|02|03|04|05|06|07|08|09|10|11|12", .x = 56,
                     .y = 101, .w = 34, .h = 13, .picture = "s2"});
        // The hot region over the grid comes last: it takes the grid's clicks.
        c.push_back({.name = "Grid", .kind = Kind::Region, .x = 7, .y = 36, .w = 83, .h = 59});
        return d;
    }();
    return def;
}

// The picker shows the fixed background image and none of the configured wallpapers.
ProcedureTraits calendarTraits()
{
    ProcedureTraits t = traitsOf(QStringLiteral("Calendar"));
    t.wallpaper = WallpaperKind::FixedTiled;
    return t;
}

void setTextColor(QWidget* w, QColor color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

QColor inverted(QColor c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); }

QColor cellColor(int k)
{
    const int col = (k - 1) % 7;
    return QColor::fromRgb(col == 0 || col == 6 ? kWeekend : kWeekday);
}

int yearOf(int32_t day) { return int(calendarDateUnchecked(day).year()); }
QString fourDigits(int year) { return QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')); }
QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

Calendar::Calendar(const QString& caption, int32_t& date)
    : WindowController(QStringLiteral("Calendar"), calendarDef(), calendarTraits())
    , caption_(caption)
    , date_(date)
{
    window().setAutoFillBackground(true);
    QPalette p = window().palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kGrey));
    window().setPalette(p);
    QStyle* style = QApplication::style();
    control("OK").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogOkButton));
    control("Cancel").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
    for (const StepDef& s : kSteps) {
        if (findPictureFile(QString::fromUtf8(s.icon)).isEmpty())
            control(s.control).setText(QString::fromUtf8(s.label));
        armAlertKey(s.key);
    }
    armAlertKey(Qt::Key_Escape);
    grid_ = control("Grid").widget();
    grid_->installEventFilter(this);
}

bool Calendar::setUp()
{
    caller_ = topOf(thread());
    hadCaller_ = caller_ != nullptr;
    working_ = isValidDay(date_) ? date_ : clock().today();
    working_ = clampDay(working_);
    // A hundred years either way, each year once and within the valid days.
    auto* years = control("Year").as<QComboBox>();
    years->clear();
    for (int y = yearOf(clampDay(int64_t(working_) - 36500)), to = yearOf(clampDay(int64_t(working_) + 36500)); y <= to; ++y)
        years->addItem(fourDigits(y));
    window().setTitle(caption_);
    fillMonthGrid();
    return true;
}

void Calendar::windowEvent(Event e)
{
    if (e == Event::AlertKey) {
        if (alertKey() == Qt::Key_Escape) {
            close(RequestCancelled);
            return;
        }
        for (size_t i = 0; i < std::size(kSteps); ++i)
            if (kSteps[i].key == alertKey())
                return step(int(i));
    }
    WindowController::windowEvent(e);
}

void Calendar::fieldEvent(const QString& control, FieldEvent e)
{
    if (control == QLatin1String("Grid") && e == FieldEvent::DoubleClick)
        return accept();  // its first click has selected the day
    WindowController::fieldEvent(control, e);
}

void Calendar::accepted(const QString& control)
{
    if (control == QLatin1String("OK"))
        return accept();
    for (size_t i = 0; i < std::size(kSteps); ++i)
        if (control == QLatin1String(kSteps[i].control))
            return step(int(i));
    WindowController::accepted(control);
}

void Calendar::newSelection(const QString& control)
{
    const auto ymd = calendarDateUnchecked(working_);
    const int day = int(unsigned(ymd.day()));
    if (control == QLatin1String("Year")) {
        bool ok = false;
        const int y = this->control("Year").text().toInt(&ok);
        if (ok)
            moveTo(carriedDate(y, unsigned(ymd.month()), day));
    } else if (control == QLatin1String("Month")) {
        bool ok = false;
        const int m = this->control("Month").text().toInt(&ok);
        if (ok)
            moveTo(carriedDate(int(ymd.year()), m, day));
    }
    WindowController::newSelection(control);
}

bool Calendar::eventFilter(QObject* watched, QEvent* e)
{
    // A double click selects its day too, before the window hears it as OK.
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    if (press && grid_ && watched == grid_) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton)
            clickAt(grid_->mapTo(&window(), me->position().toPoint()));
    }
    return WindowController::eventFilter(watched, e);
}

void Calendar::step(int index)
{
    const StepDef& s = kSteps[index];
    switch (s.kind) {
    case StepKind::Years: return moveTo(addMonths(working_, 12 * s.amount));
    case StepKind::Months: return moveTo(addMonths(working_, s.amount));
    case StepKind::Days: return moveTo(clampDay(int64_t(working_) + s.amount));
    case StepKind::Today: return moveTo(clock().today());
    }
}

void Calendar::moveTo(int32_t date)
{
    working_ = clampDay(date);
    fillMonthGrid();
}

// The cell whose box (12 x 10 units from its top-left corner) holds the
// point and shows a day becomes the selected one; elsewhere nothing changes.
void Calendar::clickAt(QPoint p)
{
    const DialogUnits& du = window().units();
    for (int k = 1; k <= kCells; ++k) {
        const QPoint at = cellPlace(k);
        const QRect box(QPoint(du.x(at.x()), du.y(at.y())), QPoint(du.x(at.x() + 12) - 1, du.y(at.y() + 10) - 1));
        if (!box.contains(p))
            continue;
        bool ok = false;
        const int day = control(cellName(k)).text().toInt(&ok);
        if (ok) {
            const auto ymd = calendarDateUnchecked(working_);
            moveTo(carriedDate(int(ymd.year()), unsigned(ymd.month()), day));
        }
        return;
    }
}

void Calendar::fillMonthGrid()
{
    using namespace std::chrono;
    const year_month_day ymd = calendarDateUnchecked(working_);
    const int32_t first = dayNumberUnchecked(ymd.year() / ymd.month() / 1);
    const int32_t end = dayNumberUnchecked(year_month_day(ymd.year() / ymd.month() / std::chrono::last));
    const int offset = first % 7 + 1;  // 1 Sunday .. 7 Saturday
    const int days = end - first + 1;
    for (int k = 1; k <= kCells; ++k) {
        const int n = k - offset + 1;
        Control cell = control(cellName(k));
        cell.setText(n >= 1 && n <= days ? QString::number(n) : QString());
        setTextColor(cell.widget(), cellColor(k));
    }
    // The selected cell shows inverted colours over the highlight square.
    selected_ = int(unsigned(ymd.day())) + offset - 1;
    Control cell = control(cellName(selected_));
    setTextColor(cell.widget(), inverted(cellColor(selected_)));
    const QPoint at = cellPlace(selected_);
    Control highlight = control(QStringLiteral("Highlight"));
    highlight.widget()->setGeometry(window().units().rect(at.x() - 2, at.y() - 2, 12, 12));
    highlight.show();
    setYearField(int(ymd.year()));
    control("Month").as<QComboBox>()->setCurrentIndex(int(unsigned(ymd.month())) - 1);
    showDateHeadings();
}

// Positions the year list on the year; a year that the list lacks (the
// date has moved far) is put in its sorted place, so the list never shows
// a year other than the date's.
void Calendar::setYearField(int year)
{
    auto* years = control("Year").as<QComboBox>();
    const QString text = fourDigits(year);
    int i = years->findText(text);
    if (i < 0) {
        i = 0;
        while (i < years->count() && years->itemText(i) < text)
            ++i;
        years->insertItem(i, text);
    }
    years->setCurrentIndex(i);
}

void Calendar::showDateHeadings()
{
    const auto ymd = calendarDateUnchecked(working_);
    control("DateLine").setText(twoDigits(int(unsigned(ymd.day()))) + ' ' + MonthName(working_) + ' '
                                + fourDigits(int(ymd.year())));
    control("WeekdayLine").setText((WeekdayName(working_) + ',').leftJustified(13) + QStringLiteral(" Week ")
                                   + twoDigits(WeekNumber(working_)));
}

void Calendar::accept()
{
    // The date goes to the caller only while the caller (whose variable it is) is still open.
    if (!hadCaller_ || (caller_ && caller_->isOpen())) {
        date_ = working_;
        picked_ = true;
    }
    close(NoResponse);  // the picker sets no response of its own: callers read 2
}

void pickDate(const QString& caption, int32_t& date, std::function<void(bool picked)> done)
{
    auto picker = std::make_unique<Calendar>(caption, date);
    Calendar* p = picker.get();  // lives until after its completion has run
    run(std::move(picker), [p, done = std::move(done)](uint8_t) {
        if (done)
            done(p->picked());
    });
}

} // namespace ven
