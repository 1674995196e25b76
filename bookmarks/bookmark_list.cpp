#include <algorithm>

#include "bookmarks/bookmarks.h"
#include "platform/dialog.h"
#include "state/reader.h"
#include "state/settings.h"

namespace lekta {

void set_bookmarks_from_value(std::optional<std::span<const uint8_t>> value) {
    std::vector<uint16_t>& keys = g_settings.bookmarks;
    keys.clear();
    if (!value) return;
    const std::span<const uint8_t> bytes = *value;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto key = static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8);
        if (key == 0) break;
        keys.push_back(key);
    }
}

std::vector<uint8_t> bookmarks_value() {
    std::vector<uint8_t> bytes;
    bytes.reserve((g_settings.bookmarks.size() + 1) * 2);
    for (uint16_t key : g_settings.bookmarks) {
        bytes.push_back(static_cast<uint8_t>(key & 0xFF));
        bytes.push_back(static_cast<uint8_t>(key >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
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
