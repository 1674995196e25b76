// The colours the reader draws with, in one record: the light palette is the reader's own
// colours; the dark one serves dark desktops (or Go ▸ Night). Everything drawn in colour asks
// palette() rather than naming a colour, so switching is one assignment.
#pragma once

#include "platform/platform.h"

namespace lekta {

struct Palette {
    plat::Colorref ground;  // the reading area, index, calendar cells, keyboard, font preview
    plat::Colorref text;    // body text, rules, grid lines, keyboard letters
    plat::Colorref large_text;
    plat::Colorref small_text;
    plat::Colorref highlight_text, highlight_ground;
    plat::Colorref strip_ground, strip_text;
    // The caption box: its rings from the outside in, its ground and its text.
    plat::Colorref caption_outer, caption_middle, caption_inner, caption_ground, caption_text;
    // A selected passage: unlike the search hit, in the desktop's usual blue.
    plat::Colorref selection_text, selection_ground;
};

extern const Palette LIGHT_PALETTE;
extern const Palette DARK_PALETTE;

// The palette in use; the light one until use_dark_palette(true).
const Palette& palette();
void use_dark_palette(bool dark);
bool dark_palette_in_use();

}  // namespace lekta
