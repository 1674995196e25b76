// The About box: the program's name, picture, version and maker, with a link that opens the
// maker's home page. Opened by the About command and by the help key.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lekta {

// Runs the box modally over owner; its result (the button that closed it) is not used.
intptr_t show_about_box(plat::Window* owner);

intptr_t about_box_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam, intptr_t lparam);

}  // namespace lekta
