// The day calendar: one day at a time, with its date line, daily note,
// special days, anniversaries, feasts and memorial days and the church
// year's letters; the readings of the day's feast and memorial on two tabs,
// editable; date moves by day, week, month and year and by the date picker;
// the day's summary on the clipboard and the day's extra-notes file.
//
// GUI thread only. Started by the frame on a thread of its own; one
// instance at a time (Running:CalendarWnd).
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowController.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace ven {

// The date the day calendar shows; today when it opens. The daily-note
// forms and lists and the special-day form take a new record's date here;
// 0 until the day calendar has opened.
inline int32_t SelectedDate = 0;

// What the calendar shows for one day, built from the files.
struct CalendarDay {
    QString title;        // "Tuesday 05 March 2024 Week 10"
    QString yearLetters;  // "Year B II"
    QString special;      // special days and anniversaries, one a line; " " when none
    QString feasts;       // feast and memorial names, one a line; " " when none
    bool feastFound = false, memorialFound = false;
    int feastLow = 255, feastHigh = 0;        // the languages found
    int memorialLow = 255, memorialHigh = 0;  // the levels found
};

// The four files the day is read from (instances open in one context).
struct CalendarFiles {
    KeyedFile& days;   // VenDays
    KeyedFile& birth;  // VenBirth
    KeyedFile& lit;    // VenLit
    KeyedFile& saint;  // VenSaint
};

// Every special day in DAY:DATE_KEY order.
std::vector<Record> readSpecialDays(KeyedFile& days);

// Builds the day's texts (the files' buffers are used); `specialDays` are
// the special days read before (all are read from the file when null).
CalendarDay readCalendarDay(CalendarFiles files, int32_t date, const std::vector<Record>* specialDays = nullptr);

// "Wednesday 09 December 2026 Week 49".
QString dayTitle(int32_t date);
// "Year A  I": the church year (from the First Sunday of Advent) in the
// three-year and two-year cycles.
QString yearLetters(int32_t date);
// Reads the feast of `language` for the date's church-day code into the
// file's buffer (language 0 of code 0 too, which the optional key leaves
// out); false and a blank buffer when there is none.
bool fetchFeast(KeyedFile& lit, int32_t date, int language);
// Reads the memorial of `level` for the date's day number; false and a
// blank buffer when there is none.
bool fetchMemorial(KeyedFile& saint, int32_t date, int level);

std::unique_ptr<WindowController> makeCalendarWnd(const QString& parameter = {});

} // namespace ven
