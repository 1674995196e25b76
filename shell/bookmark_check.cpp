#include "bookmarks/bookmarks.h"
#include "shell/main_window.h"
#include "state/settings.h"

namespace lekta {

void update_bookmark_check() {
    if (plat::Menu* menu = main_menu())
        set_menu_check(menu, CHECK_SET, CMD_BOOKMARK, is_bookmarked(g_settings.current_lesson));
}

}  // namespace lekta
