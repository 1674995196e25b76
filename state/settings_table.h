// Every value the reader keeps in the registry, declared once: its name, where it lives, its
// type, its default and the check that makes a stored value count as not set. Loading and
// saving (state/settings_store.cpp), the settings fuzz target and the settings fault test all
// walk this table, so a new value is added here and nowhere else.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "state/settings.h"

namespace lekta {

enum class ValueKey : uint8_t {
    SETTINGS,  // under SETTINGS_KEY: read at start, written at the end of a run
    START,     // under SETTINGS_KEY: written at start for others to read, never read back
    OPTIONS,   // under VENDOR_KEY: read once at start, never written
};

enum class ValueType : uint8_t {
    INTEGER,  // REG_DWORD; text of decimal digits is read as its number too
    TEXT,     // REG_SZ: UTF-16 units and a terminator
    BYTES,    // REG_BINARY
};

// The records a value's field lives in.
struct StoredRecords {
    Settings& settings;
    ShellOptions& options;
};

struct StoredValue {
    const char16_t* name;
    ValueKey key;
    ValueType type;
    // INTEGER: the field's value when the stored one is missing, no number, or not usable.
    int32_t fallback = 0;
    // INTEGER: false when a stored number counts as not set; null: every number is usable.
    bool (*usable)(int32_t value) = nullptr;
    // INTEGER: the field, as a 32-bit number.
    int32_t (*get)(const StoredRecords& records) = nullptr;
    void (*set)(StoredRecords& records, int32_t value) = nullptr;
    // TEXT and BYTES: the field as its stored bytes (text as UTF-16LE units, no terminator);
    // empty when the field holds nothing to store. take is given the stored bytes (a text's up
    // to its terminator; none when the value is missing or of another type).
    std::vector<uint8_t> (*bytes_of)(const Settings& settings) = nullptr;
    void (*take)(Settings& settings, std::span<const uint8_t> bytes) = nullptr;
    // Whether the end of a run writes the value: a value left out keeps what the registry held.
    // Null: always.
    bool (*written)(const Settings& settings) = nullptr;
    // The window's place: all four values, or none of them.
    bool window_place = false;
};

// Every value, in the order they are read and written.
std::span<const StoredValue> stored_values();

// The bookmark list as its stored value: 16-bit little-endian keys, a zero key ending them. A
// value without its zero key ends after its last whole key; an odd last byte is ignored.
std::vector<uint16_t> keys_of_value(std::span<const uint8_t> bytes);
std::vector<uint8_t> value_of_keys(std::span<const uint16_t> keys);

}  // namespace lekta
