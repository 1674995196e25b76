// The test backend's font families: a fixed list unless a test sets its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lekta::testplat {

struct TestFontFamily {
    std::u16string face;
    uint8_t charset = 0;
    std::u32string glyphs;  // the code points its character map holds
    bool symbol = false;    // a picture font: no code point counts as drawn
};

// Character maps of the kinds of family a system has.
std::u32string latin_glyphs();               // ASCII and Latin-1
std::u32string unicode_hebrew_glyphs();      // ASCII and the Unicode Hebrew letters
std::u32string single_byte_hebrew_glyphs();  // ASCII and Hebrew letters at 0xE0..0xFA

// The families enum_font_families reports, in that order.
void set_font_families(std::vector<TestFontFamily> families);
// Back to the fixed list: "Tahoma", "David" (Hebrew), "Courier New", "Frank Ruehl" (Hebrew),
// "Arial", "Web Hebrew" (single-byte Hebrew). A font of no face and no height draws in
// "David" at 16 pixels.
void reset_font_families();

}  // namespace lekta::testplat
