#include "shell/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bookmarks/bookmarks.h"
#include "calendar/date_text.h"
#include "calendar/hebrew_calendar.h"
#include "platform/platform.h"
#include "state/registry.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// Set while load_settings runs.
bool g_loading = false;
// A failed save is reported once a run, however often the end runs.
bool g_warned = false;

constexpr int FACE_NAME_MAX = 31;
constexpr int SEARCH_STRING_MAX = SEARCH_STRING_CAPACITY - 1;

// Sizes beyond this are no font size anybody chose; the view scales sizes up, and a stray billion
// would overflow there. Such a value counts as "none chosen".
constexpr int32_t FONT_SIZE_LIMIT = 1000;
// The base plus the last letter must stay a UTF-16 unit.
constexpr int32_t FONT_ASCII_BASE_MAX = 0xFFFF - 26;

// A path is bytes; what isn't UTF-8 shows as U+FFFD rather than being dropped.
std::u16string utf16_of(std::string_view utf8) {
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        int extra = 0;
        uint32_t cp = 0, min = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1Fu, min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0Fu, min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07u, min = 0x10000;
        } else {
            extra = -1;
        }
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + static_cast<size_t>(k)]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void load_face_name(FontSpec& params) {
    const std::optional<std::u16string> name = read_string_value(u"FontName");
    if (!name || name->empty()) return;
    const size_t n = std::min<size_t>(name->size(), FACE_NAME_MAX);
    std::fill(std::begin(params.face_name), std::end(params.face_name), u'\0');
    std::copy_n(name->begin(), n, params.face_name);
}

void load_search_string(Settings& s) {
    const std::optional<std::vector<uint8_t>> bytes = read_bytes_value(u"SearchString");
    if (!bytes || bytes->empty() || (*bytes)[0] == 0) return;
    std::fill(std::begin(s.search_string), std::end(s.search_string), uint8_t{0});
    for (size_t i = 0; i < bytes->size() && i < SEARCH_STRING_MAX && (*bytes)[i] != 0; ++i)
        s.search_string[i] = (*bytes)[i];
}

// The window's place, all four values or none. Sizes beyond any screen, or places far off every
// screen, are no place the window was.
// Go ▸ Night: 0, 1 or 2; anything else follows the desktop.
void load_night(Settings& s) {
    const int32_t night = read_int_value(SETTINGS_KEY, u"Night", 0);
    s.night = night >= 0 && night <= 2 ? night : 0;
}

void load_window_place(Settings& s) {
    constexpr int32_t LIMIT = 0x7FFF;
    const int32_t left = read_int_value(SETTINGS_KEY, u"WindowLeft", INT32_MIN);
    const int32_t top = read_int_value(SETTINGS_KEY, u"WindowTop", INT32_MIN);
    const int32_t width = read_int_value(SETTINGS_KEY, u"WindowWidth", 0);
    const int32_t height = read_int_value(SETTINGS_KEY, u"WindowHeight", 0);
    const auto within = [](int32_t v, int32_t low) { return v >= low && v <= LIMIT; };
    if (!within(left, -LIMIT) || !within(top, -LIMIT) || !within(width, 1) || !within(height, 1))
        return;
    s.window_left = left;
    s.window_top = top;
    s.window_width = width;
    s.window_height = height;
}

size_t face_name_length(const FontSpec& params) {
    size_t n = 0;
    while (n < FACE_NAME_MAX && params.face_name[n])
        ++n;
    return n;
}

size_t search_string_length(const Settings& s) {
    size_t n = 0;
    while (n < SEARCH_STRING_MAX && s.search_string[n])
        ++n;
    return n;
}

}  // namespace

void load_settings(std::string_view program_path) {
    Settings& s = g_settings;
    g_loading = true;
    g_warned = false;
    // Kept up to date for whoever looks for the program; the reader itself never reads it.
    if (!program_path.empty()) write_string_value(u"Program Path", utf16_of(program_path));

    load_face_name(s.font_spec);
    load_search_string(s);

    int32_t size = read_int_value(SETTINGS_KEY, u"FontSize", 0);
    if (size > FONT_SIZE_LIMIT || size < -FONT_SIZE_LIMIT) size = 0;
    s.font_spec.font_size = size;
    int32_t base = read_int_value(SETTINGS_KEY, u"FontAsciiBase", DEFAULT_FONT_ASCII_BASE);
    if (base < 0 || base > FONT_ASCII_BASE_MAX) base = DEFAULT_FONT_ASCII_BASE;
    s.font_spec.font_ascii_base = base;
    s.last_position = static_cast<uint16_t>(read_int_value(SETTINGS_KEY, u"LastPosition", 0));
    s.flags = static_cast<uint32_t>(
        read_int_value(SETTINGS_KEY, u"Flags", static_cast<int32_t>(DEFAULT_FLAGS)));
    s.current_day = read_int_value(SETTINGS_KEY, u"Day", 0);
    // A day the calendar cannot convert exactly is no day anybody left the reader on.
    if (!is_exact_day(s.current_day)) s.current_day = 0;

    if (s.current_day != 0) {
        s.hebrew_date = hebrew_from_day_number(s.current_day);
        std::memset(s.date_text, 0, sizeof s.date_text);
        s.date_text_length = hebrew_date_text(&s.hebrew_date, s.date_text);
        if (s.date_text_length <= 0) {
            s.date_text_length = 0;
            s.date_text[0] = 0;
        }
    }

    s.current_lesson = static_cast<uint16_t>(read_int_value(SETTINGS_KEY, u"Lesson", 0));
    s.position_lesson = s.current_lesson;
    load_window_place(s);
    load_night(s);

    load_bookmarks();
    g_loading = false;
}

bool settings_loading() {
    return g_loading;
}

bool write_settings() {
    const Settings& s = g_settings;
    bool ok = true;
    // Values left out keep what the registry held: an emptied search string or a zero lesson never
    // overwrites a stored one.
    if (const size_t n = search_string_length(s); n > 0) {
        uint8_t bytes[SEARCH_STRING_CAPACITY] = {};
        std::memcpy(bytes, s.search_string, n);
        ok &= write_bytes_value(u"SearchString", std::span<const uint8_t>(bytes, n + 1));
    }
    if (const size_t n = face_name_length(s.font_spec); n > 0)
        ok &= write_string_value(u"FontName", std::u16string_view(s.font_spec.face_name, n));
    if (s.font_spec.font_size != 0) ok &= write_int_value(u"FontSize", s.font_spec.font_size);
    if (s.font_spec.font_ascii_base != 0)
        ok &= write_int_value(u"FontAsciiBase", s.font_spec.font_ascii_base);
    if (s.view) ok &= write_int_value(u"LastPosition", s.view->top_row);
    ok &= write_int_value(u"Flags", static_cast<int32_t>(s.flags));
    ok &= write_int_value(u"Day", s.current_day);
    if (s.current_lesson != 0) ok &= write_int_value(u"Lesson", s.current_lesson);
    // Only a choice made by hand is kept, and its undoing.
    if (s.night != 0 || plat::registry_read(SETTINGS_KEY, u"Night"))
        ok &= write_int_value(u"Night", s.night);
    if (s.window_width > 0 && s.window_height > 0) {
        ok &= write_int_value(u"WindowLeft", s.window_left);
        ok &= write_int_value(u"WindowTop", s.window_top);
        ok &= write_int_value(u"WindowWidth", s.window_width);
        ok &= write_int_value(u"WindowHeight", s.window_height);
    }
    write_bookmarks();
    ok &= plat::registry_flush();
    return ok;
}

void save_settings_and_quit() {
    Settings& s = g_settings;
    if (!write_settings() && !g_warned) {
        // The reader has no window left to say it in; a terminal may be listening.
        g_warned = true;
        std::fprintf(stderr, "lekta: could not save the settings to %s\n",
                     plat::registry_location().c_str());
    }
    if (TextView* view = s.view) {
        s.view = nullptr;
        destroy_view(view, true);
    }
    // The date strip's font lives as long as the view.
    plat::delete_font(s.strip_font);
    s.strip_font = nullptr;
    free_bookmarks();
    plat::post_quit_message(0);
}

}  // namespace lekta
