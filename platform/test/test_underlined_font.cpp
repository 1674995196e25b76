#include "platform/test/test_underlined_font.h"

#include <set>

#include "platform/test/test_text.h"
#include "platform/underlined_font.h"

namespace lekta::testplat {
namespace {
// By font id: ids are never reused, addresses may be.
std::set<int>& underlined_ids() {
    static std::set<int> ids;
    return ids;
}
}  // namespace

bool is_underlined(const plat::Font* font) {
    return font && underlined_ids().count(font->id) != 0;
}

}  // namespace lekta::testplat

namespace lekta::plat {

Font* create_underlined_font(const FontDesc& desc) {
    Font* font = create_font(desc);
    if (font) testplat::underlined_ids().insert(font->id);
    return font;
}

}  // namespace lekta::plat
