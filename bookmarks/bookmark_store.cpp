#include "bookmarks/bookmarks.h"
#include "state/registry.h"
#include "state/settings.h"

namespace lekta {

void load_bookmarks() {
    const std::optional<std::vector<uint8_t>> value = read_bytes_value(BOOKMARKS_VALUE);
    if (value)
        set_bookmarks_from_value(std::span<const uint8_t>(*value));
    else
        set_bookmarks_from_value(std::nullopt);
    g_settings.bookmarks_released = false;
}

void write_bookmarks() {
    if (g_settings.bookmarks_released) return;
    write_bytes_value(BOOKMARKS_VALUE, bookmarks_value());
}

void free_bookmarks() {
    g_settings.bookmarks = {};
    g_settings.bookmarks_released = true;
}

}  // namespace lekta
