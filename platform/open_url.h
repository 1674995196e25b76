// Handing a web address to the desktop, which opens it in the user's browser.
#pragma once

#include "platform/platform.h"

namespace lekta::plat {

// Asks the desktop to open url (UTF-16, zero-terminated); owner may be null. The address is
// handed over exactly as given. When the desktop cannot open it, a box shows the address for
// the user to copy; a page that fails to load is the browser's to report.
void open_url(Window* owner, const char16_t* url);

}  // namespace lekta::plat
