// Fonts and text measuring. Every character is measured once per font: its glyph and integer
// advance are cached in 256-character pages, and a run's width is the sum of its advances. The
// drawing code places glyphs at exactly these advances, so what is measured is what is drawn.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

constexpr int DEFAULT_PIXEL_HEIGHT = 16;

plat::Font* g_stock_font = nullptr;  // made when first drawn or measured with

std::vector<plat::Dc*>& all_dcs() {
    static std::vector<plat::Dc*> dcs;
    return dcs;
}

QString default_face() {
#ifdef _WIN32
    return QStringLiteral("Arial");
#else
    return QStringLiteral("DejaVu Sans");
#endif
}

// Looks up one character's glyph and advance; pages fill lazily, a character at a time, so a
// new font costs only the characters it is asked for.
void fill_char(plat::Font* font, GlyphPage& page, char16_t c) {
    const int i = c & 0xFF;
    page.advance[i] = 0;
    page.glyph[i] = 0;
    page.face[i] = 0;
    // Control characters and unpaired surrogates have nothing to draw.
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0xD800 && c < 0xE000)) return;
    const QChar ch(c);
    uint32_t glyphs[2] = {};
    QPointF advances[2];
    for (int f = 0; f < 2; ++f) {
        if (f == 1 && !font->fallback_ready) {
            // Only a character the font lacks needs the fallback; most fonts never do.
            font->faces[1] = QRawFont::fromFont(font->qfont, QFontDatabase::Hebrew);
            font->fallback_ready = true;
        }
        if (!font->faces[f].isValid()) continue;
        int n = 1;
        font->faces[f].glyphIndexesForChars(&ch, 1, &glyphs[f], &n);
        font->faces[f].advancesForGlyphIndexes(&glyphs[f], &advances[f], 1);
        if (f == 0 && glyphs[0] != 0) break;
    }
    const int f = glyphs[0] != 0 || glyphs[1] == 0 ? 0 : 1;
    double advance = advances[f].x();
    if (!std::isfinite(advance)) advance = 0;
    page.glyph[i] = glyphs[f];
    page.face[i] = uint8_t(f);
    page.advance[i] = int16_t(std::clamp(std::lround(advance), 0L, 4000L));
}

// The widest of the characters a lesson may be drawn with (ASCII, Latin-1 and the Hebrew
// letters), rather than the widest glyph of the whole font, which may be a rare symbol.
int32_t widest_used_character(plat::Font* font) {
    int32_t widest = 1;
    auto scan = [&](char16_t from, char16_t to) {
        for (char16_t c = from; c <= to; ++c)
            widest = std::max<int32_t>(widest, glyph_page(font, c).advance[c & 0xFF]);
    };
    scan(0x21, 0x7E);
    scan(0xC0, 0xFF);
    scan(0x5D0, 0x5EA);
    return widest;
}

void init_font(plat::Font* font, const plat::FontDesc& desc) {
    size_t len = 0;
    while (len < std::size(desc.face) && desc.face[len])
        ++len;
    QString face = QString::fromUtf16(desc.face, qsizetype(len));
    QFont& q = font->qfont;
    q.setFamily(face.isEmpty() ? default_face() : face);
    q.setStyleHint(QFont::SansSerif);
    // The height is the em size in pixels (a negative one, GDI's character height, likewise).
    int32_t height = desc.height == INT32_MIN ? 0 : std::abs(desc.height);
    q.setPixelSize(height > 0 ? std::min(height, 1000) : DEFAULT_PIXEL_HEIGHT);
    q.setWeight(QFont::Weight(std::clamp(desc.weight > 0 ? desc.weight : 400, 100, 900)));
    q.setKerning(false);
    font->faces[0] = QRawFont::fromFont(q);
    QFontMetrics metrics(q);
    font->ascent = metrics.ascent();
    font->height = std::max(1, metrics.ascent() + metrics.descent());
    if (desc.underline) {
        font->underline_pos = std::max(1, metrics.underlinePos());
        font->underline_width = std::max(1, metrics.lineWidth());
    }
}

}  // namespace

bool gui_available() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

plat::Font* stock_font() {
    // Fonts need the GUI application's font database; without one there is no stock font.
    if (!g_stock_font && gui_available()) {
        g_stock_font = new plat::Font;
        init_font(g_stock_font, plat::FontDesc{});
    }
    return g_stock_font;
}

plat::Font* dc_font(const plat::Dc* dc) {
    return dc && dc->font ? dc->font : stock_font();
}

const GlyphPage& glyph_page(plat::Font* font, char16_t c) {
    auto& page = font->pages[c >> 8];
    if (!page) page = std::make_unique<GlyphPage>();
    if (page->advance[c & 0xFF] < 0) fill_char(font, *page, c);
    return *page;
}

void register_dc(plat::Dc* dc) {
    all_dcs().push_back(dc);
}
void unregister_dc(plat::Dc* dc) {
    std::erase(all_dcs(), dc);
}

plat::Dc* create_image_dc(QImage* image) {
    auto* dc = new plat::Dc;
    dc->image = image;
    register_dc(dc);
    return dc;
}

void delete_image_dc(plat::Dc* dc) {
    if (!dc) return;
    unregister_dc(dc);
    delete dc;
}

}  // namespace lekta::qtplat

namespace lekta::plat {

Font* create_font(const FontDesc& desc) {
    if (!qtplat::gui_available()) return nullptr;
    auto* font = new Font;
    qtplat::init_font(font, desc);
    return font;
}

void delete_font(Font* font) {
    if (!font || font == qtplat::g_stock_font) return;
    // A dc that still has it selected falls back to the stock font.
    for (Dc* dc : qtplat::all_dcs())
        if (dc->font == font) dc->font = nullptr;
    delete font;
}

Font* select_font(Dc* dc, Font* font) {
    if (!dc) return nullptr;
    Font* previous = dc->font;
    dc->font = font == qtplat::g_stock_font ? nullptr : font;
    return previous;
}

TextMetrics text_metrics(Dc* dc) {
    Font* font = qtplat::dc_font(dc);
    if (!font) return {};
    return {font->height};
}

int32_t widest_character(Dc* dc) {
    Font* font = qtplat::dc_font(dc);
    if (!font) return 0;
    if (font->max_char_width < 0) font->max_char_width = qtplat::widest_used_character(font);
    return font->max_char_width;
}

TextExtent text_extent(Dc* dc, const char16_t* text, int32_t count, int32_t max_width) {
    Font* font = qtplat::dc_font(dc);
    if (!text || count <= 0 || !font) return {};
    int32_t width = 0;
    int32_t fit = 0;
    bool fitting = max_width >= 0;
    for (int32_t i = 0; i < count; ++i) {
        char16_t c = text[i];
        const qtplat::GlyphPage* page = font->pages[c >> 8].get();
        if (!page || page->advance[c & 0xFF] < 0) page = &qtplat::glyph_page(font, c);
        width += page->advance[c & 0xFF];
        if (fitting) {
            if (width <= max_width)
                fit = i + 1;
            else
                fitting = false;
        }
    }
    return {fit, width};
}

InkRows text_ink(Dc* dc, const char16_t* text, int32_t count) {
    Font* font = qtplat::dc_font(dc);
    if (!text || count <= 0 || !font) return {};
    qreal top = 0, bottom = 0;
    bool any = false;
    for (int32_t i = 0; i < count; ++i) {
        const qtplat::GlyphPage& page = qtplat::glyph_page(font, text[i]);
        const uint32_t glyph = page.glyph[text[i] & 0xFF];
        if (glyph == 0) continue;
        // Relative to the baseline, y growing downwards.
        const QRectF box = font->faces[page.face[text[i] & 0xFF]].boundingRect(glyph);
        if (box.isEmpty()) continue;
        top = any ? std::min(top, box.top()) : box.top();
        bottom = any ? std::max(bottom, box.bottom()) : box.bottom();
        any = true;
    }
    if (!any) return {};
    return {font->ascent + int32_t(std::floor(top)), font->ascent + int32_t(std::ceil(bottom))};
}

}  // namespace lekta::plat
