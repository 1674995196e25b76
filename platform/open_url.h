// Handing a web address to the desktop, which opens it in the user's browser.
#pragma once

#include "platform/platform.h"

namespace lekta::plat {

// Asks the desktop to open url (UTF-16, zero-terminated); owner may be null. The address is
// handed over exactly as given. Failures are silent: no browser or no network shows nothing.
void open_url(Window* owner, const char16_t* url);

}  // namespace lekta::plat
