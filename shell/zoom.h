// Zoom: Ctrl+Plus, Ctrl+Minus, Ctrl+0 and Ctrl+wheel step the text size through the sizes the
// font chooser offers, keeping the line at the top of the view in place.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lekta {

// Toward larger (step > 0) or smaller (step < 0) sizes: the next size the chooser offers, or
// size itself at either end of the list. A size of 0 (the platform's default) counts as 16.
int32_t zoom_size(int32_t size, int32_t step);
// The size Ctrl+0 goes back to: the size the reader started with, noted once the start-up
// font is settled.
void note_start_font_size(int32_t size);
// Steps the text size (step 0: back to the start size), lays the lesson out again and sets
// the scroll bar.
void zoom(plat::Window* window, int32_t step);

}  // namespace lekta
