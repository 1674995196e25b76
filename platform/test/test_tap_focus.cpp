#include "platform/tap_focus.h"
#include "platform/test/test_window.h"

namespace lekta::plat {

void set_tap_keeps_focus(Window* dialog, bool keep) {
    if (dialog && dialog->kind == Window::Kind::dialog) dialog->tap_keeps_focus = keep;
}

}  // namespace lekta::plat
