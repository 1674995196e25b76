// Text for a dialog control that is already in visual order: shown left to right exactly as
// given, where the control would otherwise reorder right-to-left letters itself.
#pragma once

#include <cstdint>

#include "platform/dialog.h"

namespace lekta::plat {

void set_control_visual_text(Window* dialog, uint16_t id, const char16_t* text);

}  // namespace lekta::plat
