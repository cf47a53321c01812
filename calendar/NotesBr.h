// The daily-notes register: the notes within a From-To range of dates,
// counted, with the note form for Insert, Copy, Change and Delete.
//
// GUI thread only. Started by the frame; one running instance
// (Running:NotesBr).
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Reads and writes SelectedDate (today when no day was chosen yet).
std::unique_ptr<WindowController> makeNotesBr(const QString& parameter = {});

} // namespace ven
