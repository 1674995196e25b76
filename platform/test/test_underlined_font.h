// The test backend's underlined fonts: a font tells whether it was made underlined.
#pragma once

#include "platform/platform.h"

namespace lekta::testplat {

bool is_underlined(const plat::Font* font);

}  // namespace lekta::testplat
