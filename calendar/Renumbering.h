// Renumbering the languages of the feasts or the levels of the memorial
// days as a permutation: the window of ten new numbers and its two passes.
// The first pass moves every number k below 10 to 10 + k, the second
// hands out the new numbers; both run in one transaction, so a Cancel or
// a failure in either changes nothing.
#pragma once

#include "platform/WindowController.h"

#include <array>
#include <memory>

namespace ven {

// What differs between the feasts and the memorial days.
struct RenumberFamily {
    const char* window;  // the window's procedure
    const char* title;
    const char* firstPass;
    const char* secondPass;
    const FileDef& file;
    uint16_t field;      // the language or level
};

using NewNumbers = std::array<uint8_t, 10>;

std::unique_ptr<WindowController> makeRenumberWnd(const RenumberFamily& family);
// The passes on their own: the first raises 0..9 to 10..19, the second
// gives 10 + k the number new(k). Other numbers stay.
std::unique_ptr<WindowController> makeRenumberPass(const RenumberFamily& family, int pass, const NewNumbers& numbers = {});

} // namespace ven
