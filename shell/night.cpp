#include "shell/night.h"

#include "platform/colour_scheme.h"
#include "shell/main_window.h"
#include "state/settings.h"
#include "view/frame.h"
#include "view/palette.h"

namespace lekta {

bool night_wanted() {
    const int32_t night = g_settings.night;
    return night == 1 || (night == 0 && plat::desktop_prefers_dark());
}

void apply_night() {
    const bool dark = night_wanted();
    use_dark_palette(dark);
    plat::use_dark_widgets(dark);
    set_menu_check(main_menu(), CHECK_SET, CMD_NIGHT, dark);
}

void toggle_night(plat::Window* window) {
    // From now on the reader keeps the user's choice, whatever the desktop does.
    g_settings.night = dark_palette_in_use() ? 2 : 1;
    apply_night();
    repaint_window(window, PAINT_EVERYTHING);
}

}  // namespace lekta
