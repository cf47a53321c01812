// The record form of the daily-notes register: one note (VenNote) added,
// changed or deleted, its date moved by the date keys and the picker.
//
// GUI thread only. Called by the register with the request in CallRequest;
// Busy:DailyNote while it is open.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Reads: SelectedDate (a new note's date; tomorrow when it is 0).
std::unique_ptr<WindowController> makeNotesFr(const QString& parameter = {});

} // namespace ven
