// Process-wide state shared by the diary windows (selection, browse, form):
// the current category, the chosen date window, the times of the entry last
// handled and the copy request. The document-owner globals that the form
// sets are the system's (core/Globals.h).
// GUI thread only, like every global of the system.
#pragma once

#include "core/Globals.h"

#include <QString>
#include <cstdint>

namespace ven {

// The current diary category: 0 Phone/Fax, 1 Project, 2 Notes, 3 Meeting,
// 4 Extra, 5 all. Set by the diary and project selections.
inline uint8_t GCategory = 0;

// The date window chosen in the diary selection (day numbers, time values).
inline int32_t DiaryBeginDate = 0;
inline int32_t DiaryBeginTime = 0;
inline int32_t DiaryEndDate = 0;
inline int32_t DiaryEndTime = 0;

// Begin and end of the diary entry last handled, kept for the next new
// meeting or extra entry.
inline int32_t LastBeginDate = 0;
inline int32_t LastBeginTime = 0;
inline int32_t LastEndDate = 0;
inline int32_t LastEndTime = 0;

// Set while the diary browse's Copy opens the form on a copied entry.
inline uint8_t DiaryCopyRequested = 0;

} // namespace ven
