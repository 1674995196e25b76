#include "shell/zoom.h"

#include "font_chooser/font_sizes.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr int32_t DEFAULT_SIZE = 16;
int32_t g_start_size = 0;

}  // namespace

int32_t zoom_size(int32_t size, int32_t step) {
    const int32_t from = size > 0 ? size : DEFAULT_SIZE;
    if (step > 0) {
        for (int32_t offered : FONT_SIZES)
            if (offered > from) return offered;
    } else if (step < 0) {
        for (auto it = FONT_SIZES.rbegin(); it != FONT_SIZES.rend(); ++it)
            if (*it < from) return *it;
    }
    return size;
}

void note_start_font_size(int32_t size) {
    g_start_size = size;
}

void zoom(plat::Window* window, int32_t step) {
    Settings& s = g_settings;
    const int32_t size = step == 0 ? g_start_size : zoom_size(s.font_spec.font_size, step);
    if (size == s.font_spec.font_size) return;
    s.font_spec.font_size = size;
    change_font(g_reader.view, s.font_spec);
    update_scroll_bar(window);
}

}  // namespace lekta
