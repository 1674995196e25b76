// Which families the chooser offers at a character base: only those whose character map draws
// the lesson's letters there, so that no choice turns the text into boxes or pictures.
#pragma once

#include <cstdint>

namespace lekta {

// The 27 letters at base; at the Unicode Hebrew base also the maqaf and geresh (drawn as "-"
// and "'"); at base 224 a Latin-1 font is out, since its 0xE0..0xFA are accented Latin
// letters. Symbol and picture fonts are never offered.
bool family_fits_base(const char16_t* face, int32_t base);

}  // namespace lekta
