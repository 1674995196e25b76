#include "platform/test/test_text.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace lekta::testplat {
namespace {

int32_t g_char_width = 10;
int32_t g_default_height = 16;
std::map<char16_t, int32_t> g_widths;
int g_live_fonts = 0;
int g_font_ids = 0;
// Every dc made, kept until destroyed so that deleting a font can unselect it everywhere.
std::vector<std::unique_ptr<plat::Dc>> g_dcs;

int32_t char_width(char16_t c) {
    auto it = g_widths.find(c);
    return it == g_widths.end() ? g_char_width : it->second;
}

}  // namespace

plat::Dc* create_dc() {
    g_dcs.push_back(std::make_unique<plat::Dc>());
    return g_dcs.back().get();
}

void destroy_dc(plat::Dc* dc) {
    std::erase_if(g_dcs, [dc](const auto& p) { return p.get() == dc; });
}

void set_char_width(int32_t width) {
    g_char_width = width;
}
void set_char_width(char16_t c, int32_t width) {
    g_widths[c] = width;
}
void set_default_text_height(int32_t height) {
    g_default_height = height;
}

void reset_text() {
    g_char_width = 10;
    g_default_height = 16;
    g_widths.clear();
}

int live_fonts() {
    return g_live_fonts;
}

std::vector<std::u16string> drawn_texts(const plat::Dc* dc) {
    std::vector<std::u16string> texts;
    for (const auto& call : dc->calls)
        if (call.kind == plat::DrawCall::TEXT) texts.push_back(call.text);
    return texts;
}

}  // namespace lekta::testplat

namespace lekta::plat {

Font* create_font(const FontDesc& desc) {
    auto* font = new Font{desc, ++testplat::g_font_ids};
    ++testplat::g_live_fonts;
    return font;
}

void delete_font(Font* font) {
    if (!font) return;
    for (auto& dc : testplat::g_dcs)
        if (dc->font == font) dc->font = nullptr;
    --testplat::g_live_fonts;
    delete font;
}

Font* select_font(Dc* dc, Font* font) {
    if (!dc) return nullptr;
    Font* previous = dc->font;
    dc->font = font;
    dc->selected.push_back(font);
    return previous;
}

TextMetrics text_metrics(Dc* dc) {
    int32_t height = dc && dc->font ? std::abs(dc->font->desc.height) : 0;
    if (height == 0) height = testplat::g_default_height;
    return {height};
}

int32_t widest_character(Dc*) {
    int32_t widest = testplat::g_char_width;
    for (const auto& [c, w] : testplat::g_widths)
        widest = std::max(widest, w);
    return widest;
}

// The letters cover the lower three quarters of the row.
InkRows text_ink(Dc* dc, const char16_t* text, int32_t count) {
    if (!text || count <= 0) return {};
    const int32_t height = text_metrics(dc).height;
    return {height / 4, height};
}

TextExtent text_extent(Dc* dc, const char16_t* text, int32_t count, int32_t max_width) {
    if (!text || count <= 0) return {};
    if (dc) dc->measured.emplace_back(text, static_cast<size_t>(count));
    TextExtent extent;
    bool fitting = max_width >= 0;
    for (int32_t i = 0; i < count; ++i) {
        extent.width += testplat::char_width(text[i]);
        if (fitting && extent.width <= max_width)
            extent.fit = i + 1;
        else
            fitting = false;
    }
    return extent;
}

void draw_text(Dc* dc, const char16_t* text, int32_t count, const Rect& rect, uint32_t format) {
    if (!dc) return;
    DrawCall call;
    call.kind = DrawCall::TEXT;
    if (text && count > 0) call.text.assign(text, static_cast<size_t>(count));
    call.rect = rect;
    call.format = format;
    call.color = dc->text_color;
    call.background = dc->bk_color;
    call.transparent = dc->transparent;
    if (dc->font) {
        call.font = dc->font->desc;
        call.font_id = dc->font->id;
    }
    dc->calls.push_back(call);
}

Colorref get_text_color(Dc* dc) {
    return dc ? dc->text_color : 0;
}

Colorref set_text_color(Dc* dc, Colorref color) {
    if (!dc) return 0;
    return std::exchange(dc->text_color, color);
}

Colorref set_bk_color(Dc* dc, Colorref color) {
    if (!dc) return 0;
    return std::exchange(dc->bk_color, color);
}

void set_bk_transparent(Dc* dc, bool transparent) {
    if (dc) dc->transparent = transparent;
}

void fill_rect(Dc* dc, const Rect& rect, Colorref color) {
    if (!dc) return;
    DrawCall call;
    call.kind = DrawCall::FILL;
    call.rect = rect;
    call.color = color;
    dc->calls.push_back(call);
}

void draw_rectangle(Dc* dc, const Rect& rect, Colorref pen_color, std::optional<Colorref> fill) {
    if (!dc) return;
    DrawCall call;
    call.kind = DrawCall::RECTANGLE;
    call.rect = rect;
    call.color = pen_color;
    call.fill = fill;
    dc->calls.push_back(call);
}

}  // namespace lekta::plat
