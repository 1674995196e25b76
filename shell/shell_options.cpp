#include <algorithm>

#include "shell/startup.h"
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
    o.ignore_activate = read_int_value(VENDOR_KEY, u"IgnoreActivate", 0);
    o.full_screen = read_int_value(VENDOR_KEY, u"FullScreen", 0);
    o.allow_sip_in_hebrew_search = read_int_value(VENDOR_KEY, u"AllowSipInHebrewSearch", 1);
    o.menu_bar_on_bottom = read_int_value(VENDOR_KEY, u"MenuBarOnBottom", 0);
    // A negative margin would put the text outside the window.
    o.surrounding_gutter =
        std::clamp(read_int_value(VENDOR_KEY, u"SurroundingGutter", 0), 0, GUTTER_MAX);
    g_settings.menu_bar_mode = o.menu_bar_on_bottom;
    g_settings.gutter = o.surrounding_gutter;
}

}  // namespace lekta
