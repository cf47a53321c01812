// The name form: one person or organisation of the address register, with
// its country's prefixes put on what is typed, the proposed e-mail address,
// Dial, Mail, Surf, the address card and the documents filed under it.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeNameFr(const QString& parameter);

// The number a new name gets: the record count plus one, raised while taken,
// and above every number a name ever had (the highest stored, the highest
// that labels, diary entries and anniversaries point at, and the highest
// given before), so that a deleted name's number is never given again.
int64_t NewNameNumber();

} // namespace ven
