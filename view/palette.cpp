#include "view/palette.h"

namespace lekta {

// Colours are 0x00BBGGRR.
const Palette LIGHT_PALETTE{
    .ground = 0xFFFFFF,
    .text = 0x000000,
    .large_text = 0xFF0000,
    .small_text = 0x800000,
    .highlight_text = 0xFF0000,
    .highlight_ground = 0x00FFFF,
    .strip_ground = 0xFFFF00,
    .strip_text = 0x000000,
    .caption_outer = 0x0000FF,
    .caption_middle = 0xFFFFFF,
    .caption_inner = 0xFF0000,
    .caption_ground = 0x00FFFF,
    .caption_text = 0x0000FF,
    .selection_text = 0xFFFFFF,
    .selection_ground = 0xB85F00,
};

// The same roles on a dark ground: light text, the blues lightened, the yellow and cyan grounds
// darkened so that light text stays readable on them.
const Palette DARK_PALETTE{
    .ground = 0x1E1E1E,
    .text = 0xE6E6E6,
    .large_text = 0xFFB98A,
    .small_text = 0xF5CBA8,
    .highlight_text = 0x9CF0FF,
    .highlight_ground = 0x005A6E,
    .strip_ground = 0x5A4A00,
    .strip_text = 0xF0F0F0,
    .caption_outer = 0x6B6BFF,
    .caption_middle = 0x1E1E1E,
    .caption_inner = 0xFFB98A,
    .caption_ground = 0x004A5C,
    .caption_text = 0xA8A8FF,
    .selection_text = 0xFFFFFF,
    .selection_ground = 0x8A5A1F,
};

namespace {
const Palette* g_palette = &LIGHT_PALETTE;
}

const Palette& palette() {
    return *g_palette;
}

void use_dark_palette(bool dark) {
    g_palette = dark ? &DARK_PALETTE : &LIGHT_PALETTE;
}

bool dark_palette_in_use() {
    return g_palette == &DARK_PALETTE;
}

}  // namespace lekta
