#include "font_chooser/font_command.h"

#include <algorithm>
#include <iterator>

#include "font_chooser/font_chooser.h"
#include "font_chooser/font_sizes.h"
#include "platform/font_families.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/fonts.h"
#include "view/frame.h"
#include "view/text_view.h"

namespace lekta {

namespace {

// The new font on the date strip and the lesson.
void apply_chosen_font(plat::Window* window) {
    Settings& s = g_settings;
    Reader& r = g_reader;
    make_strip_font();
    if (plat::Dc* dc = plat::get_dc(window)) {
        plat::set_bk_transparent(dc, true);
        draw_date_strip(dc);
        plat::release_dc(window, dc);
    }
    change_font(r.view, s.font_spec);
    update_scroll_bar(window);
}

}  // namespace

void choose_font_command(plat::Window* window) {
    if (choose_font(window, &g_settings.font_spec) != FONT_CHOSEN) return;
    apply_chosen_font(window);
}

void choose_start_font(plat::Window* main_window) {
    FontSpec& font_spec = g_settings.font_spec;
    // The chooser opens on the face and size the lesson was just drawn with, so that Done with
    // no change changes nothing.
    const FontSpec before = font_spec;
    const plat::DrawnFace drawn = plat::drawn_face(font_for_key(font_spec, 0));
    if (!drawn.family.empty() && drawn.family.size() < std::size(font_spec.face_name))
        std::copy(drawn.family.begin(), drawn.family.end(), font_spec.face_name);
    if (font_spec.font_size == 0) font_spec.font_size = nearest_size(drawn.height);
    if (choose_font(main_window, &font_spec) != FONT_CHOSEN) {
        // Nothing was chosen: the next start asks again.
        std::copy(std::begin(before.face_name), std::end(before.face_name), font_spec.face_name);
        font_spec.font_size = before.font_size;
    }
    // Whatever closed the dialog: the strip and the view take the font as it now stands.
    apply_chosen_font(main_window);
}

}  // namespace lekta
