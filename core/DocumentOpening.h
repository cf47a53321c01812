// Opening a document filed under a record (a diary entry, a name): with its
// chosen program from the program register, or handed to the desktop; the
// opening is written to the activity log.
#pragma once

#include "platform/KeyedFile.h"

class QObject;

namespace ven {

// Opens the VenDoc record `doc` from `window`, and logs it unless the
// activity log is off.
void OpenFiledDocument(const Record& doc, QObject* window);

} // namespace ven
