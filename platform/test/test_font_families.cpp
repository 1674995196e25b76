#include "platform/test/test_font_families.h"

#include <algorithm>

#include "platform/font_families.h"
#include "platform/platform.h"

namespace lekta::testplat {
namespace {

std::u32string range(char32_t from, char32_t to) {
    std::u32string out;
    for (char32_t c = from; c <= to; ++c)
        out += c;
    return out;
}

std::vector<TestFontFamily> fixed_families() {
    return {{u"Tahoma", 0, latin_glyphs()},
            {u"David", plat::HEBREW_CHARSET, unicode_hebrew_glyphs()},
            {u"Courier New", 0, latin_glyphs()},
            {u"Frank Ruehl", plat::HEBREW_CHARSET, unicode_hebrew_glyphs()},
            {u"Arial", 0, latin_glyphs()},
            {u"Web Hebrew", 0, single_byte_hebrew_glyphs()}};
}

std::vector<TestFontFamily>& families() {
    static std::vector<TestFontFamily> list = fixed_families();
    return list;
}

}  // namespace

std::u32string latin_glyphs() {
    return range(0x20, 0x7E) + range(0xA0, 0xFF);
}

std::u32string unicode_hebrew_glyphs() {
    return range(0x20, 0x7E) + range(0x5D0, 0x5EA);
}

std::u32string single_byte_hebrew_glyphs() {
    return range(0x20, 0x7E) + range(0xE0, 0xFA);
}

void set_font_families(std::vector<TestFontFamily> list) {
    families() = std::move(list);
}

void reset_font_families() {
    families() = fixed_families();
}

}  // namespace lekta::testplat

namespace lekta::plat {

void enum_font_families(FontFamilyCallback callback, void* context) {
    // A copy: a callback may not change the list under the loop.
    const std::vector<testplat::TestFontFamily> list = testplat::families();
    for (const testplat::TestFontFamily& f : list)
        if (!callback(context, f.face.c_str(), f.charset)) return;
}

bool family_has_glyphs(const char16_t* face, const char32_t* code_points, int32_t count) {
    if (!face) return false;
    for (const testplat::TestFontFamily& f : testplat::families()) {
        if (f.face != face) continue;
        if (f.symbol) return false;
        return std::all_of(code_points, code_points + std::max(0, count),
                           [&](char32_t c) { return f.glyphs.find(c) != std::u32string::npos; });
    }
    return false;
}

DrawnFace drawn_face(const FontDesc& desc) {
    const std::u16string face(desc.face);
    return {face.empty() ? u"David" : face, desc.height > 0 ? desc.height : 16};
}

}  // namespace lekta::plat
