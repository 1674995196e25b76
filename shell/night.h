// Go ▸ Night: the dark palette by hand, or the desktop's colour scheme followed.
#pragma once

#include "platform/platform.h"

namespace lekta {

// Whether the reader draws dark: the Night setting, or the desktop's scheme when it is 0.
bool night_wanted();
// Takes the palette (and the widgets' colours) that night_wanted() says, and sets the menu's
// check; the caller repaints.
void apply_night();
// The Night command: the other palette, kept in the settings from then on.
void toggle_night(plat::Window* window);

}  // namespace lekta
