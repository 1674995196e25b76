#include "state/settings_store.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "calendar/date_text.h"
#include "calendar/hebrew_calendar.h"
#include "platform/platform.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "state/settings_table.h"
#include "state/utf8.h"

namespace lekta {
namespace {

// Set while load_settings runs.
bool g_loading = false;

std::vector<uint8_t> bytes_of_units(std::u16string_view units) {
    std::vector<uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string units_of_bytes(std::span<const uint8_t> bytes) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    return units;
}

// A stored number, or the value's fallback when it is missing, no number or not usable.
int32_t read_number(const StoredValue& v) {
    const char16_t* key = v.key == ValueKey::OPTIONS ? VENDOR_KEY : SETTINGS_KEY;
    const int32_t value = read_int_value(key, v.name, v.fallback);
    return v.usable && !v.usable(value) ? v.fallback : value;
}

// Whether the stored number is there and usable; the window's place needs all four.
bool number_is_set(const StoredValue& v, int32_t* value) {
    const char16_t* key = v.key == ValueKey::OPTIONS ? VENDOR_KEY : SETTINGS_KEY;
    // Two fallbacks that differ: a value both reads give is the stored one.
    const int32_t a = read_int_value(key, v.name, 0);
    const int32_t b = read_int_value(key, v.name, 1);
    if (a != b) return false;
    if (v.usable && !v.usable(a)) return false;
    *value = a;
    return true;
}

void load_value(const StoredValue& v, StoredRecords& records) {
    switch (v.type) {
        case ValueType::INTEGER:
            v.set(records, read_number(v));
            return;
        case ValueType::TEXT: {
            const std::optional<std::u16string> text = read_string_value(v.name);
            v.take(records.settings, text ? bytes_of_units(*text) : std::vector<uint8_t>{});
            return;
        }
        case ValueType::BYTES: {
            const std::optional<std::vector<uint8_t>> bytes = read_bytes_value(v.name);
            v.take(records.settings, bytes ? *bytes : std::vector<uint8_t>{});
            return;
        }
    }
}

// The window's place, all four values or none: a part of a place is no place the window was.
void load_window_place(StoredRecords& records) {
    int32_t values[4] = {};
    size_t n = 0;
    for (const StoredValue& v : stored_values()) {
        if (!v.window_place) continue;
        if (n == 4 || !number_is_set(v, &values[n])) return;
        ++n;
    }
    n = 0;
    for (const StoredValue& v : stored_values())
        if (v.window_place) v.set(records, values[n++]);
}

bool write_value(const StoredValue& v, const StoredRecords& records) {
    switch (v.type) {
        case ValueType::INTEGER:
            return write_int_value(v.name, v.get(records));
        case ValueType::TEXT:
            return write_string_value(v.name, units_of_bytes(v.bytes_of(records.settings)));
        case ValueType::BYTES:
            return write_bytes_value(v.name, v.bytes_of(records.settings));
    }
    return false;
}

// The current day's date as the date strip shows it.
void derive_date(Reader& r, const Settings& s) {
    if (s.current_day == 0) return;
    r.hebrew_date = hebrew_from_day_number(s.current_day);
    std::memset(r.date_text, 0, sizeof r.date_text);
    r.date_text_length = hebrew_date_text(&r.hebrew_date, r.date_text);
    if (r.date_text_length <= 0) {
        r.date_text_length = 0;
        r.date_text[0] = 0;
    }
}

}  // namespace

void read_shell_options() {
    StoredRecords records{g_settings, g_shell_options};
    for (const StoredValue& v : stored_values())
        if (v.key == ValueKey::OPTIONS) load_value(v, records);
    g_reader.menu_bar_mode = g_shell_options.menu_bar_on_bottom;
    g_reader.gutter = g_shell_options.surrounding_gutter;
}

void load_settings(std::string_view program_path) {
    g_loading = true;
    StoredRecords records{g_settings, g_shell_options};
    for (const StoredValue& v : stored_values()) {
        if (v.key == ValueKey::START) {
            // Kept up to date for whoever looks for the program; the reader itself never reads it.
            // Written only when it moved: a write makes the start save the settings file.
            if (!program_path.empty()) {
                const std::u16string path = utf16_of(program_path);
                if (read_string_value(v.name) != path) write_string_value(v.name, path);
            }
        } else if (v.key == ValueKey::SETTINGS && !v.window_place) {
            load_value(v, records);
        }
    }
    load_window_place(records);
    derive_date(g_reader, g_settings);
    g_reader.position_lesson = g_settings.current_lesson;
    g_reader.bookmarks_released = false;
    g_reader.save_failure_said = false;
    g_loading = false;
}

bool settings_loading() {
    return g_loading;
}

bool write_settings() {
    const StoredRecords records{g_settings, g_shell_options};
    bool ok = true;
    for (const StoredValue& v : stored_values()) {
        if (v.key != ValueKey::SETTINGS) continue;
        if (v.written && !v.written(g_settings)) continue;
        // A text or list that holds nothing keeps what the registry held.
        if (v.type != ValueType::INTEGER && v.bytes_of(g_settings).empty()) continue;
        ok &= write_value(v, records);
    }
    ok &= plat::registry_flush();
    return ok;
}

}  // namespace lekta
