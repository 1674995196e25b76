// The test backend's accessibility: the source is kept on the window and every change recorded,
// as if an assistive program were always listening.
#include "platform/accessible.h"
#include "platform/test/test_window.h"

namespace lekta::plat {

void set_accessible_source(Window* window, AccessibleSource source) {
    if (window) window->accessible_source = source;
}

void accessible_changed(Window* window, AccessibleChange change, int32_t node,
                        const std::u16string& announcement) {
    if (window) window->accessible_notices.push_back({change, node, announcement});
}

bool accessibility_active() {
    return true;
}

}  // namespace lekta::plat
