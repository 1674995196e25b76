#include "font_chooser/font_coverage.h"

#include <array>

#include "font_chooser/font_chooser.h"
#include "platform/font_families.h"

namespace lekta {

bool family_fits_base(const char16_t* face, int32_t base) {
    std::array<char32_t, 29> wanted{};
    for (int32_t i = 0; i < 27; ++i)
        wanted[static_cast<size_t>(i)] = static_cast<char32_t>(base + i);
    int32_t count = 27;
    if (base == BASE_UNICODE_HEBREW) {
        wanted[27] = U'-';
        wanted[28] = U'\'';
        count = 29;
    }
    if (!plat::family_has_glyphs(face, wanted.data(), count)) return false;
    if (base != BASE_HIGH_HEBREW) return true;
    // Capitals that a single-byte Hebrew font leaves empty and every Latin-1 font has.
    constexpr std::array<char32_t, 6> latin_capitals = {0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE};
    return !plat::family_has_glyphs(face, latin_capitals.data(), int32_t(latin_capitals.size()));
}

}  // namespace lekta
