#include "shell/quit.h"

#include <cstdio>

#include "bookmarks/bookmarks.h"
#include "platform/platform.h"
#include "state/reader.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "view/text_view.h"

namespace lekta {

bool save_settings() {
    if (const TextView* view = g_reader.view) g_settings.last_position = view->top_row;
    return write_settings();
}

void save_settings_and_quit() {
    Reader& r = g_reader;
    // A failed save is said once a run, however often the end runs.
    if (!save_settings() && !r.save_failure_said) {
        // The reader has no window left to say it in; a terminal may be listening.
        r.save_failure_said = true;
        std::fprintf(stderr, "lekta: could not save the settings to %s\n",
                     plat::registry_location().c_str());
    }
    if (TextView* view = r.view) {
        r.view = nullptr;
        destroy_view(view, true);
    }
    // The date strip's font lives as long as the view.
    plat::delete_font(r.strip_font);
    r.strip_font = nullptr;
    free_bookmarks();
    plat::post_quit_message(0);
}

}  // namespace lekta
