#include "view/fonts.h"

#include <new>

#include "view/letter_code.h"
#include "view/palette.h"

namespace lekta {

plat::FontDesc font_for_key(const FontSpec& font_spec, uint8_t key) {
    plat::FontDesc desc;
    for (int i = 0; i < 31 && font_spec.face_name[i]; ++i)
        desc.face[i] = font_spec.face_name[i];
    desc.height = font_spec.font_size;
    desc.weight = (key & STYLE_BOLD) ? 700 : 400;
    if (key & STYLE_LARGE)
        desc.height = font_spec.font_size ? font_spec.font_size * 5 / 4 : 20;
    else if (key & STYLE_SMALL)
        desc.height = font_spec.font_size ? font_spec.font_size * 6 / 8 : 14;
    return desc;
}

void delete_view_fonts(TextView* view, bool free_nodes) {
    FontNode* node = view->fonts;
    while (node) {
        FontNode* next = node->next;
        plat::delete_font(node->font);
        node->font = nullptr;
        if (free_nodes) delete node;
        node = next;
    }
    if (free_nodes) view->fonts = nullptr;
}

plat::Font* select_style(TextView* view, int style) {
    if (!view) return nullptr;
    const auto key = static_cast<uint8_t>(style & FONT_KEY_MASK);
    FontNode* node = view->fonts;
    while (node && node->key != key)
        node = node->next;
    if (!node) {
        node = new (std::nothrow) FontNode;
        if (node) {
            node->key = key;
            node->next = view->fonts;
            view->fonts = node;
        }
    }
    // A node left without its font (fonts dropped, or creation failed) gets a fresh one.
    plat::Font* font = nullptr;
    if (node) {
        if (!node->font) node->font = plat::create_font(font_for_key(view->font_spec, key));
        font = node->font;
    }
    plat::Font* previous = plat::select_font(view->dc, font);
    if (style & STYLE_WITH_COLOR) {
        const Palette& colors = palette();
        plat::Colorref color = colors.text;
        if (style & STYLE_SMALL)
            color = colors.small_text;
        else if ((style & (STYLE_LARGE | STYLE_BOLD)) == (STYLE_LARGE | STYLE_BOLD))
            color = colors.large_text;
        plat::set_text_color(view->dc, color);
    }
    return previous;
}

int apply_font(TextView* view, const FontSpec* font_spec) {
    if (!view) return VIEW_MISSING;
    delete_view_fonts(view, false);
    if (!font_spec) return 0;
    view->font_spec = *font_spec;
    for (FontNode* node = view->fonts; node; node = node->next)
        node->font = plat::create_font(font_for_key(view->font_spec, node->key));
    if (set_text(view, &view->text, RELAYOUT) != LAYOUT_OK) return 1;
    return draw_view(view, DRAW_ERASE);
}

}  // namespace lekta
