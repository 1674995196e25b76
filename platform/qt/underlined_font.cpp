#include "platform/underlined_font.h"
#include "platform/qt/qt_internal.h"

namespace lekta::plat {

Font* create_underlined_font(const FontDesc& desc) {
    Font* font = create_font(desc);
    // The glyph runs carry no decoration: draw_text adds the line for such a font.
    if (font) font->qfont.setUnderline(true);
    return font;
}

}  // namespace lekta::plat
