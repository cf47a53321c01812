// DiaryPhoRp: the telephone and fax report, each call with the caller's and
// the customer's contact lines.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowController.h"

#include <QStringList>

#include <memory>

namespace ven {

// The four contact lines of a names record: name, telephone, address and
// e-mail, each of the non-blank parts only.
QStringList contactLines(const Record& name);

std::unique_ptr<WindowController> makeDiaryPhoRp(const QString& parameters);

} // namespace ven
