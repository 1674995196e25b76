#include <algorithm>

#include "bookmarks/bookmarks.h"
#include "platform/dialog.h"
#include "state/reader.h"
#include "state/settings.h"
#include "state/settings_table.h"

namespace lekta {

void set_bookmarks_from_value(std::optional<std::span<const uint8_t>> value) {
    g_settings.bookmarks = value ? keys_of_value(*value) : std::vector<uint16_t>{};
}

std::vector<uint8_t> bookmarks_value() {
    return value_of_keys(g_settings.bookmarks);
}

void free_bookmarks() {
    g_settings.bookmarks = {};
    g_reader.bookmarks_released = true;
}

bool is_bookmarked(uint16_t lesson_key) {
    const std::vector<uint16_t>& keys = g_settings.bookmarks;
    return lesson_key != 0 && std::find(keys.begin(), keys.end(), lesson_key) != keys.end();
}

void bookmark_add(uint16_t lesson_key) {
    // A zero key would end the stored list.
    if (lesson_key == 0 || is_bookmarked(lesson_key)) return;
    g_settings.bookmarks.push_back(lesson_key);
}

void bookmark_remove(uint16_t lesson_key) {
    std::erase(g_settings.bookmarks, lesson_key);
}

void bookmark_toggle(plat::Window* owner) {
    const uint16_t key = g_settings.current_lesson;
    if (!is_bookmarked(key)) {
        bookmark_add(key);
        return;
    }
    if (g_reader.bookmark_question_flags & BOOKMARK_NO_QUESTION) {
        bookmark_remove(key);
        return;
    }
    const int answer = plat::message_box(owner, u"Remove Bookmark?\n\nCancel - Don't ask again",
                                         u"Bookmark", plat::MB_YESNOCANCEL);
    if (answer == plat::IDNO) return;
    if (answer == plat::IDCANCEL) g_reader.bookmark_question_flags |= BOOKMARK_NO_QUESTION;
    if (answer == plat::IDYES || answer == plat::IDCANCEL) bookmark_remove(key);
}

}  // namespace lekta
