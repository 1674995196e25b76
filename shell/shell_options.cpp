#include <algorithm>

#include "shell/startup.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"

namespace lekta {

ShellOptions g_shell_options;

namespace {
// Beyond any screen; also keeps the frame's doubled gutter inside 32 bits.
constexpr int32_t GUTTER_MAX = 0xFFFF;

}  // namespace

void read_shell_options() {
    ShellOptions& o = g_shell_options;
    o.full_screen = read_int_value(VENDOR_KEY, u"FullScreen", 0);
    o.menu_bar_on_bottom = read_int_value(VENDOR_KEY, u"MenuBarOnBottom", 0);
    // A negative margin would put the text outside the window.
    o.surrounding_gutter =
        std::clamp(read_int_value(VENDOR_KEY, u"SurroundingGutter", 0), 0, GUTTER_MAX);
    g_reader.menu_bar_mode = o.menu_bar_on_bottom;
    g_reader.gutter = o.surrounding_gutter;
}

}  // namespace lekta
