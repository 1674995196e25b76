#include "platform/test/test_font_families.h"

#include "platform/font_families.h"
#include "platform/platform.h"

namespace lekta::testplat {
namespace {

std::vector<TestFontFamily> fixed_families() {
    return {{u"Tahoma", 0},
            {u"David", plat::HEBREW_CHARSET},
            {u"Courier New", 0},
            {u"Frank Ruehl", plat::HEBREW_CHARSET},
            {u"Arial", 0}};
}

std::vector<TestFontFamily>& families() {
    static std::vector<TestFontFamily> list = fixed_families();
    return list;
}

}  // namespace

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

}  // namespace lekta::plat
