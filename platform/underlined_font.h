// Underlined fonts, for text that works as a link.
#pragma once

#include "platform/platform.h"

namespace lekta::plat {

// As create_font, with every run drawn in it underlined. Delete it with delete_font.
Font* create_underlined_font(const FontDesc& desc);

}  // namespace lekta::plat
