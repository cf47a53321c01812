// The names list: the address register in three orders, with the name form,
// Copy, Dial, Mail, Home, Sticker (the name's mailing label) and the names
// report; select mode for the diary and anniversary forms.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeNameBr(const QString& parameter);

} // namespace ven
