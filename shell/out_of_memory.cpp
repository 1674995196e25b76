#include <cstdint>
#include <cstdlib>

#include "platform/platform.h"
#include "shell/quit.h"
#include "shell/startup.h"
#include "state/settings_store.h"

namespace lekta {

void out_of_memory_stop() {
    plat::message_box(nullptr, u"There is not enough memory, aborting", u"Error",
                      plat::MB_ICONHAND);
    // A half-loaded record would overwrite good stored values with defaults.
    if (!settings_loading()) save_settings();
    plat::post_quit_message(0);
}

}  // namespace lekta
