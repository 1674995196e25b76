// The font families installed on the system, for the font chooser's list.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace lekta::plat {

// Called once per family in the system's order with the family's name (zero-terminated) and
// its character set: HEBREW_CHARSET when the family covers Hebrew, 0 otherwise. Returning
// false stops the enumeration.
using FontFamilyCallback = bool (*)(void* context, const char16_t* face, uint8_t charset);
void enum_font_families(FontFamilyCallback callback, void* context);

// Whether the family's own character map (never its name) has a glyph for each of the count
// code points. False for a symbol or picture font, whose glyphs are pictures whatever code
// points they sit at, and for a name that draws another family.
bool family_has_glyphs(const char16_t* face, const char32_t* code_points, int32_t count);

// The family and em height in pixels that a font made from desc draws its text with, after
// the platform's own choice for an empty or unknown face and a height of 0.
struct DrawnFace {
    std::u16string family;
    int32_t height = 0;
};
DrawnFace drawn_face(const FontDesc& desc);

}  // namespace lekta::plat
