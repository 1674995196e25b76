// What the dialog contract test needs of a backend: run a dialog while playing the user, and
// the user's tap and close box. Each backend's test program implements it.
#pragma once

#include <functional>

#include "platform/dialog.h"

namespace lekta::contract {

// Runs the dialog; user plays the user once it shows and must leave it ended.
intptr_t run(const plat::DialogTemplate& tmpl, plat::WindowProc proc, intptr_t param, void* data,
             std::function<void(plat::Window* dialog)> user);
void tap(plat::Window* dialog, int32_t x, int32_t y);
void close_box(plat::Window* dialog);

}  // namespace lekta::contract
