// Registry access: small typed readers and writers over the platform's registry. Values come
// from a file the user can edit, so every reader takes whatever bytes it finds, stays inside
// them, and falls back to its default (or "missing") when they make no sense.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lekta {

// The start-up options; read once, never written.
constexpr const char16_t* VENDOR_KEY = u"software\\Halvern";
// Everything else (directly under the user's root, not under "software").
constexpr const char16_t* SETTINGS_KEY = u"Halvern\\Lekta-Hebrew";

// Called when a value's bytes cannot be held in memory; the reader then stops (the shell sets
// it). The read gives its default either way.
extern void (*g_registry_out_of_memory)();

// A REG_DWORD of four bytes is the number itself; a value of any other type is taken as UTF-16
// decimal digits, so "14" is 14. Text that is no number ("1a", "abc", "-1", "", more than 32
// bits) counts as no value: the default, like a DWORD of the wrong size.
int32_t read_int_value(const char16_t* key_path, const char16_t* name, int32_t default_value);
// A REG_DWORD under the settings key. false when the write failed.
bool write_int_value(const char16_t* name, int32_t value);

// The text of a REG_SZ value up to its terminator (or its last whole unit when it has none);
// empty optional when the value is missing or not a string.
std::optional<std::u16string> read_string_value(const char16_t* name);
// REG_SZ with the terminator: (length + 1) * 2 bytes.
bool write_string_value(const char16_t* name, std::u16string_view text);

// The value's bytes, whatever its type; empty optional when it is missing.
std::optional<std::vector<uint8_t>> read_bytes_value(const char16_t* name);
// REG_BINARY of exactly these bytes.
bool write_bytes_value(const char16_t* name, std::span<const uint8_t> bytes);

// The number a value's bytes spell as UTF-16LE decimal digits up to the terminator, as an
// unsigned 32-bit value; none when they spell no number (see read_int_value).
std::optional<int32_t> parse_decimal_units(std::span<const uint8_t> bytes);

}  // namespace lekta
