// The test backend's font families: a fixed list unless a test sets its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lekta::testplat {

struct TestFontFamily {
    std::u16string face;
    uint8_t charset = 0;
};

// The families enum_font_families reports, in that order.
void set_font_families(std::vector<TestFontFamily> families);
// Back to the fixed list: "Tahoma", "David" (Hebrew), "Courier New", "Frank Ruehl" (Hebrew),
// "Arial".
void reset_font_families();

}  // namespace lekta::testplat
