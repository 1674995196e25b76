#include "bookmarks/bookmarks.h"
#include "state/settings.h"

namespace lekta {

void show_bookmark_check(plat::Menu* menu, uint16_t item) {
    if (menu) plat::check_menu_item(menu, item, is_bookmarked(g_settings.current_lesson));
}

}  // namespace lekta
