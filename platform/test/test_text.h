// The test backend's text and drawing: fixed-width metrics and every drawing call recorded.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lekta::plat {

struct Font {
    FontDesc desc;
    int id = 0;  // in order of creation, from 1
};

// What a test dc draws, in order.
struct DrawCall {
    enum Kind { TEXT, FILL, RECTANGLE, IMAGE };
    Kind kind = TEXT;
    std::u16string text;  // TEXT: the characters drawn
    Rect rect;
    uint32_t format = 0;             // TEXT
    Colorref color = 0;              // TEXT: text colour; FILL: the fill; RECTANGLE: the pen
    Colorref background = 0;         // TEXT: background colour
    bool transparent = false;        // TEXT: background mode
    std::optional<Colorref> fill;    // RECTANGLE
    FontDesc font;                   // TEXT: the selected font (default desc for the stock font)
    int font_id = 0;                 // TEXT: 0 for the stock font
    const uint8_t* image = nullptr;  // IMAGE: the picture's bits (rect: where it was drawn)
};

struct Dc {
    Font* font = nullptr;
    Colorref text_color = 0;
    Colorref bk_color = 0xFFFFFF;
    bool transparent = false;
    std::vector<DrawCall> calls;
    std::vector<Font*> selected;           // every font selected, in order
    std::vector<std::u16string> measured;  // every run given to text_extent
};

}  // namespace lekta::plat

namespace lekta::testplat {

// A fresh dc; it lives until destroy_dc or the end of the program.
plat::Dc* create_dc();
void destroy_dc(plat::Dc* dc);

// Metrics: every character char_width pixels wide unless given a width of its own; a font's
// text height is its height when nonzero, else the default text height.
void set_char_width(int32_t width);
void set_char_width(char16_t c, int32_t width);
void set_default_text_height(int32_t height);
// Back to 10-pixel characters, 16-pixel text and no per-character widths.
void reset_text();

// Fonts created and not yet deleted.
int live_fonts();

// The text of the TEXT calls of a dc, in order.
std::vector<std::u16string> drawn_texts(const plat::Dc* dc);

}  // namespace lekta::testplat
