// The font families installed on the system, for the font chooser's list.
#pragma once

#include <cstdint>

namespace lekta::plat {

// Called once per family in the system's order with the family's name (zero-terminated) and
// its character set: HEBREW_CHARSET when the family covers Hebrew, 0 otherwise. Returning
// false stops the enumeration.
using FontFamilyCallback = bool (*)(void* context, const char16_t* face, uint8_t charset);
void enum_font_families(FontFamilyCallback callback, void* context);

}  // namespace lekta::plat
