// Day numbers, time values and the packed four-byte TIME of the data files.
//
// A date is a day number: 1 January 1801 is day 4, 0 means no date, 2994626
// is the last valid day; day % 7 is the weekday, 0 Sunday. A time value is
// hundredths of a second since midnight plus one (1 midnight, 8640000 the
// last hundredth); 0 means no time.
#pragma once
#include <cstdint>

namespace ven {

inline constexpr int32_t kNoDate = 0;
inline constexpr int32_t kFirstDay = 4;
inline constexpr int32_t kLastDay = 2994626;
inline constexpr int32_t kNoTime = 0;
inline constexpr int32_t kLastTime = 8640000;

// Packs a time value into the four bytes hundredths, seconds, minutes, hours
// (lowest byte first). Midnight (1) and no time (0) both pack to 0; values
// outside 1..8640000 pack to 0.
uint32_t packTime(int32_t time);
// The inverse of packTime: 0 (all four bytes zero) reads as no time.
int32_t unpackTime(uint32_t packed);

} // namespace ven
