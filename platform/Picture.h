// Display and entry pictures: how dates, times, numbers and texts are shown
// in windows and reports, and how typed text is read back.
//
// A picture is a short code such as "D06-B", "T01.", "N-_14.2" or "s20",
// optionally with a leading "@"; letter case does not matter (the text of a
// number's "~prefix~" and "~suffix~" is kept as written).
//   Dates  "D[0]f[sep][B]": f 6 dd/mm/yyyy, 10 yyyy/mm/dd, 12 yyyymmdd.
//   Times  "T[0]f[sep][B]": f 1 hh:mm, 4 hh:mm:ss, 5 hhmmss, 8 h:mm:ss.
//          sep "." point, "-" hyphen, "_" blank, "`" comma. Without "0" the
//          tens digit of a date's day (format 6) or of the hour is a blank.
//   Numbers "N[-][~prefix~][fill]size[_][.decimals][~suffix~][B]": fill "0",
//          "_" (blank) or "*"; "_" after the size groups thousands with
//          blanks, else with commas unless the fill is "0" or "_".
//   Texts  "Ssize".
// All functions are pure and may be called from any thread.
#pragma once
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

namespace ven {

struct Picture {
    enum class Kind { Invalid, Date, Time, Number, Text };

    Kind kind = Kind::Invalid;
    int format = 0;              // date 6, 10, 12; time 1, 4, 5, 8
    bool leadingZero = false;    // "0": day (format 6) and hour keep their 0
    QChar separator;             // date and time: the separator as shown
    bool blankWhenZero = false;  // "B": a zero number shows as ""
    bool minus = false;          // number: negative values may be entered
    QChar fill;                  // number: '0', ' ' or '*'; null for none
    QChar grouping;              // number: ',' or ' '; null for none
    int size = 0;                // number: positions; text: characters
    int decimals = 0;            // number: places after the point
    QString prefix, suffix;      // number: text before and after

    // Reads a picture code; a malformed code gives Kind::Invalid.
    static Picture parse(QStringView code);
    bool isValid() const { return kind != Kind::Invalid; }
    // The most characters a formatted value takes (for entry lengths).
    int width() const;
};

// Shows a value by its picture.
// - Dates and times: the value is a day number or a time value; no date or
//   time (0), and values outside the valid range, show as "" ("B" or not).
// - Numbers: rounded half away from zero to the picture's decimals; "B" shows
//   a value that rounds to zero as ""; a value whose digits do not fit shows
//   as a row of "#" of the picture's size. A negative value always shows its
//   leading minus, with or without "-" in the picture. Without a fill
//   character the number is not padded.
// - Texts: the text cut to the size.
// A malformed picture, or a value that is not of the picture's kind (a text
// that is no number for a number picture), gives the value as plain text.
QString format(const Picture& picture, const QVariant& value);
QString formatDate(int32_t day, QStringView picture);
QString formatTime(int32_t time, QStringView picture);
QString formatNumber(double value, QStringView picture);

// Reads typed text back by its picture, the inverse of format: a day number,
// a time value, a double or a text. Surrounding blanks are ignored; blank
// input gives 0 (no date, no time, zero). Text that is not a valid value
// (31/02/2026, 25:00, letters in a number, a minus where the picture has no
// "-", more digits than the picture's size, a text longer than its size) and
// any text for a malformed picture give nullopt. Extra decimals are rounded
// half away from zero.
std::optional<QVariant> parse(const Picture& picture, QStringView text);

// The longest text a date, time or number picture shows (its digits as they
// come, to be measured with each digit in turn); for a text of at most
// kWholeText characters as many digits; "" for longer texts and malformed
// pictures, whose widths are the window's to choose.
inline constexpr int kWholeText = 8;
QString longestText(const Picture& picture);
// What the user is told when typed text does not read by the picture:
// "\"31-02-2024\" is not a valid date.|Type the date as dd-mm-yyyy." ("|"
// starts a new line of a message box).
QString entryRefusal(const Picture& picture, const QString& typed);
std::optional<int32_t> parseDate(QStringView text, QStringView picture);
std::optional<int32_t> parseTime(QStringView text, QStringView picture);
std::optional<double> parseNumber(QStringView text, QStringView picture);

} // namespace ven
