// Day numbers, time values and the packed TIME form.
#include "platform/DateTime.h"

namespace ven {

uint32_t packTime(int32_t time)
{
    if (time < 1 || time > kLastTime)
        return 0;
    int32_t h = time - 1;
    uint32_t cc = h % 100, ss = (h / 100) % 60, mm = (h / 6000) % 60, hh = h / 360000;
    return cc | (ss << 8) | (mm << 16) | (hh << 24);
}

int32_t unpackTime(uint32_t packed)
{
    if (packed == 0)
        return kNoTime;
    int32_t cc = packed & 0xff, ss = (packed >> 8) & 0xff, mm = (packed >> 16) & 0xff, hh = (packed >> 24) & 0xff;
    if (cc > 99 || ss > 59 || mm > 59 || hh > 23)
        return kNoTime;
    return ((hh * 60 + mm) * 60 + ss) * 100 + cc + 1;
}

} // namespace ven
