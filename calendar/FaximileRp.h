// FaximileRp: one telephone diary entry as a fax cover page on the fax
// printer named in the settings (TelefaxDevice): the owner as sender, the
// caller as recipient, the legend as subject and the memorandum as message.
// A blank or unknown fax printer is told and nothing prints.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// `parameter`: the diary number as a decimal text.
std::unique_ptr<WindowController> makeFaximileRp(const QString& parameter);

} // namespace ven
