// Where the keyboard focus goes when the user taps a dialog's client area.
#pragma once

#include "platform/platform.h"

namespace lekta::plat {

// By default a tap on the client area takes the focus (its keys then arrive as WM_KEYDOWN).
// With keep set, the focus and the selection of an edit box stay as they are: a tap on a
// picture of keys types into the edit box, so typing on the picture never moves the caret.
void set_tap_keeps_focus(Window* dialog, bool keep);

}  // namespace lekta::plat
