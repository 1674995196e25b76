#include "state/settings_table.h"

#include <algorithm>
#include <iterator>

#include "calendar/hebrew_calendar.h"
#include "state/reader.h"

namespace lekta {
namespace {

constexpr size_t FACE_NAME_MAX = 31;
constexpr size_t SEARCH_STRING_MAX = SEARCH_STRING_CAPACITY - 1;
// Sizes beyond this are no font size anybody chose; the view scales sizes up, and a stray billion
// would overflow there.
constexpr int32_t FONT_SIZE_LIMIT = 1000;
// The base plus the last letter must stay a UTF-16 unit.
constexpr int32_t FONT_ASCII_BASE_MAX = 0xFFFF - 26;
// Sizes beyond any screen, or places far off every screen, are no place the window was.
constexpr int32_t PLACE_LIMIT = 0x7FFF;
// Beyond any screen; also keeps the frame's doubled gutter inside 32 bits.
constexpr int32_t GUTTER_MAX = 0xFFFF;

bool font_size_usable(int32_t v) {
    return v >= -FONT_SIZE_LIMIT && v <= FONT_SIZE_LIMIT;
}
bool font_ascii_base_usable(int32_t v) {
    return v >= 0 && v <= FONT_ASCII_BASE_MAX;
}
bool place_usable(int32_t v) {
    return v >= -PLACE_LIMIT && v <= PLACE_LIMIT;
}
bool extent_usable(int32_t v) {
    return v >= 1 && v <= PLACE_LIMIT;
}
bool has_window_place(const Settings& s) {
    return s.window_width > 0 && s.window_height > 0;
}

std::vector<uint8_t> face_name_bytes(const Settings& s) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < FACE_NAME_MAX && s.font_spec.face_name[i]; ++i) {
        bytes.push_back(static_cast<uint8_t>(s.font_spec.face_name[i]));
        bytes.push_back(static_cast<uint8_t>(s.font_spec.face_name[i] >> 8));
    }
    return bytes;
}

void take_face_name(Settings& s, std::span<const uint8_t> bytes) {
    if (bytes.size() < 2) return;
    std::fill(std::begin(s.font_spec.face_name), std::end(s.font_spec.face_name), u'\0');
    for (size_t i = 0; i / 2 < FACE_NAME_MAX && i + 1 < bytes.size(); i += 2)
        s.font_spec.face_name[i / 2] = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
}

// The string and its terminator: a reader of the value finds where it ends.
std::vector<uint8_t> search_string_bytes(const Settings& s) {
    size_t n = 0;
    while (n < SEARCH_STRING_MAX && s.search_string[n])
        ++n;
    if (n == 0) return {};
    std::vector<uint8_t> bytes(s.search_string, s.search_string + n);
    bytes.push_back(0);
    return bytes;
}

void take_search_string(Settings& s, std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes[0] == 0) return;
    std::fill(std::begin(s.search_string), std::end(s.search_string), uint8_t{0});
    for (size_t i = 0; i < bytes.size() && i < SEARCH_STRING_MAX && bytes[i] != 0; ++i)
        s.search_string[i] = bytes[i];
}

std::vector<uint8_t> bookmark_bytes(const Settings& s) {
    return value_of_keys(s.bookmarks);
}

void take_bookmarks(Settings& s, std::span<const uint8_t> bytes) {
    s.bookmarks = keys_of_value(bytes);
}

constexpr ValueKey SETTINGS = ValueKey::SETTINGS;
constexpr ValueKey OPTIONS = ValueKey::OPTIONS;
constexpr ValueType INTEGER = ValueType::INTEGER;
constexpr ValueType TEXT = ValueType::TEXT;
constexpr ValueType BYTES = ValueType::BYTES;

const StoredValue VALUES[] = {
    {.name = u"Program Path", .key = ValueKey::START, .type = TEXT},
    {.name = u"FontName",
     .key = SETTINGS,
     .type = TEXT,
     .bytes_of = face_name_bytes,
     .take = take_face_name},
    {.name = u"SearchString",
     .key = SETTINGS,
     .type = BYTES,
     .bytes_of = search_string_bytes,
     .take = take_search_string},
    {.name = u"FontSize",
     .key = SETTINGS,
     .type = INTEGER,
     .fallback = 0,
     .usable = font_size_usable,
     .get = [](const StoredRecords& r) { return r.settings.font_spec.font_size; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.font_spec.font_size = v; },
     .written = [](const Settings& s) { return s.font_spec.font_size != 0; }},
    {.name = u"FontAsciiBase",
     .key = SETTINGS,
     .type = INTEGER,
     .fallback = DEFAULT_FONT_ASCII_BASE,
     .usable = font_ascii_base_usable,
     .get = [](const StoredRecords& r) { return r.settings.font_spec.font_ascii_base; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.font_spec.font_ascii_base = v; },
     .written = [](const Settings& s) { return s.font_spec.font_ascii_base != 0; }},
    // The view's top row, noted into the record at the end of a run; without a view there is no
    // row to keep.
    {.name = u"LastPosition",
     .key = SETTINGS,
     .type = INTEGER,
     .get = [](const StoredRecords& r) { return int32_t{r.settings.last_position}; },
     .set = [](StoredRecords& r,
               int32_t v) { r.settings.last_position = static_cast<uint16_t>(v); },
     .written = [](const Settings&) { return g_reader.view != nullptr; }},
    {.name = u"Flags",
     .key = SETTINGS,
     .type = INTEGER,
     .fallback = static_cast<int32_t>(DEFAULT_FLAGS),
     .get = [](const StoredRecords& r) { return static_cast<int32_t>(r.settings.flags); },
     .set = [](StoredRecords& r, int32_t v) { r.settings.flags = static_cast<uint32_t>(v); }},
    // A day the calendar cannot convert exactly is no day anybody left the reader on.
    {.name = u"Day",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = is_exact_day,
     .get = [](const StoredRecords& r) { return r.settings.current_day; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.current_day = v; }},
    {.name = u"Lesson",
     .key = SETTINGS,
     .type = INTEGER,
     .get = [](const StoredRecords& r) { return int32_t{r.settings.current_lesson}; },
     .set = [](StoredRecords& r,
               int32_t v) { r.settings.current_lesson = static_cast<uint16_t>(v); },
     .written = [](const Settings& s) { return s.current_lesson != 0; }},
    // Go ▸ Night: 1 dark, 2 light, chosen by hand; 0 (never chosen) follows the desktop.
    {.name = u"Night",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = [](int32_t v) { return v >= 0 && v <= 2; },
     .get = [](const StoredRecords& r) { return r.settings.night; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.night = v; },
     .written = [](const Settings& s) { return s.night != 0; }},
    {.name = u"WindowLeft",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = place_usable,
     .get = [](const StoredRecords& r) { return r.settings.window_left; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.window_left = v; },
     .written = has_window_place,
     .window_place = true},
    {.name = u"WindowTop",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = place_usable,
     .get = [](const StoredRecords& r) { return r.settings.window_top; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.window_top = v; },
     .written = has_window_place,
     .window_place = true},
    {.name = u"WindowWidth",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = extent_usable,
     .get = [](const StoredRecords& r) { return r.settings.window_width; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.window_width = v; },
     .written = has_window_place,
     .window_place = true},
    {.name = u"WindowHeight",
     .key = SETTINGS,
     .type = INTEGER,
     .usable = extent_usable,
     .get = [](const StoredRecords& r) { return r.settings.window_height; },
     .set = [](StoredRecords& r, int32_t v) { r.settings.window_height = v; },
     .written = has_window_place,
     .window_place = true},
    // The released list at the end of a run is empty: storing it would lose the real one.
    {.name = u"Bookmarks",
     .key = SETTINGS,
     .type = BYTES,
     .bytes_of = bookmark_bytes,
     .take = take_bookmarks,
     .written = [](const Settings&) { return !g_reader.bookmarks_released; }},
    {.name = u"FullScreen",
     .key = OPTIONS,
     .type = INTEGER,
     .get = [](const StoredRecords& r) { return r.options.full_screen; },
     .set = [](StoredRecords& r, int32_t v) { r.options.full_screen = v; }},
    {.name = u"MenuBarOnBottom",
     .key = OPTIONS,
     .type = INTEGER,
     .get = [](const StoredRecords& r) { return r.options.menu_bar_on_bottom; },
     .set = [](StoredRecords& r, int32_t v) { r.options.menu_bar_on_bottom = v; }},
    // A negative margin would put the text outside the window.
    {.name = u"SurroundingGutter",
     .key = OPTIONS,
     .type = INTEGER,
     .get = [](const StoredRecords& r) { return r.options.surrounding_gutter; },
     .set = [](StoredRecords& r,
               int32_t v) { r.options.surrounding_gutter = std::clamp(v, 0, GUTTER_MAX); }},
};

}  // namespace

std::span<const StoredValue> stored_values() {
    return VALUES;
}

std::vector<uint16_t> keys_of_value(std::span<const uint8_t> bytes) {
    std::vector<uint16_t> keys;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto key = static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8);
        if (key == 0) break;
        keys.push_back(key);
    }
    return keys;
}

std::vector<uint8_t> value_of_keys(std::span<const uint16_t> keys) {
    std::vector<uint8_t> bytes;
    bytes.reserve((keys.size() + 1) * 2);
    for (uint16_t key : keys) {
        bytes.push_back(static_cast<uint8_t>(key & 0xFF));
        bytes.push_back(static_cast<uint8_t>(key >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

}  // namespace lekta
