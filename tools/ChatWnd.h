// ChatWnd: the users of several installations write to each other through
// the day's chat file in a shared folder. Each message is appended as one
// locked write; every open chat window rereads the file every 20 seconds.
#pragma once

#include "core/ActivityLog.h"
#include "platform/WindowController.h"

#include <cstdint>
#include <memory>

namespace ven {

// The day's chat file: the setting as stored, then "Chat yyyy-mm-dd.txt".
// A setting that names an existing folder without a closing separator
// gets one, so the file lies inside the chosen folder.
QString chatFileName(const QString& setting, int32_t day);

// The message's text as one line: line breaks and other control
// characters become blanks, cut to 127 characters.
QString chatMessageText(const QString& typed);

// Appends a message as one locked write: "hh.mm User:" and its text. A file
// still empty first gets `dateLine`.
LineResult writeChatMessage(const QString& file, int32_t time, const QString& user, const QString& text,
                            const QString& dateLine);

std::unique_ptr<WindowController> makeChatWnd(const QString& parameter);

} // namespace ven
