#include "font_chooser/font_command.h"

#include "font_chooser/font_chooser.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/frame.h"
#include "view/text_view.h"

namespace lekta {

void choose_font_command(plat::Window* window) {
    Settings& s = g_settings;
    Reader& r = g_reader;
    if (choose_font(window, &s.font_spec) != FONT_CHOSEN) return;
    make_strip_font();
    if (plat::Dc* dc = plat::get_dc(window)) {
        plat::set_bk_transparent(dc, true);
        draw_date_strip(dc);
        plat::release_dc(window, dc);
    }
    change_font(r.view, s.font_spec);
    update_scroll_bar(window);
}

void choose_start_font(plat::Window* main_window) {
    choose_font(main_window, &g_settings.font_spec);
    // Whatever closed the dialog: the view takes the font as it now stands.
    change_font(g_reader.view, g_settings.font_spec);
    update_scroll_bar(main_window);
}

}  // namespace lekta
