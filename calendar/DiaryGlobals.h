// Process-wide state shared by the diary windows (selection, browse, form):
// the current category, the chosen date window, the times of the entry last
// handled, the copy request, and the document-owner globals the form sets.
// GUI thread only, like every global of the system.
#pragma once

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

// The document owner pair ("D" and the entry's number for the diary) and
// the values a new document starts with.
inline QString GCatId;
inline uint32_t GCatNum = 0;
inline QString GDocPath;
inline QString GDocDescription;

} // namespace ven
