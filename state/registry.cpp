#include "state/registry.h"

#include <cstdint>
#include <new>

#include "platform/platform.h"

namespace lekta {

void (*g_registry_out_of_memory)() = nullptr;

namespace {

// The whole UTF-16LE units of a value's bytes, up to the first terminator; an odd trailing
// byte is no unit and is dropped.
std::u16string units_of(std::span<const uint8_t> bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

}  // namespace

std::optional<int32_t> parse_decimal_units(std::span<const uint8_t> bytes) {
    uint64_t result = 0;
    size_t digits = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const uint32_t unit = bytes[i] | (uint32_t{bytes[i + 1]} << 8);
        if (unit == 0) break;
        if (unit < u'0' || unit > u'9') return std::nullopt;
        result = result * 10 + (unit - u'0');
        if (result > UINT32_MAX) return std::nullopt;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    // Unsigned 32-bit text, as a flag word written out in decimal is.
    return static_cast<int32_t>(static_cast<uint32_t>(result));
}

int32_t read_int_value(const char16_t* key_path, const char16_t* name, int32_t default_value) {
    try {
        const std::optional<plat::RegValue> value = plat::registry_read(key_path, name);
        if (!value) return default_value;
        const std::vector<uint8_t>& b = value->bytes;
        if (value->type == plat::REG_DWORD) {
            if (b.size() != 4) return default_value;
            const uint32_t n =
                b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
            return static_cast<int32_t>(n);
        }
        return parse_decimal_units(b).value_or(default_value);
    } catch (const std::bad_alloc&) {
        if (g_registry_out_of_memory) g_registry_out_of_memory();
        return default_value;
    }
}

bool write_int_value(const char16_t* name, int32_t value) {
    const auto n = static_cast<uint32_t>(value);
    plat::RegValue reg;
    reg.type = plat::REG_DWORD;
    reg.bytes = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                 static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
    return plat::registry_write(SETTINGS_KEY, name, reg);
}

std::optional<std::u16string> read_string_value(const char16_t* name) {
    try {
        const std::optional<plat::RegValue> value = plat::registry_read(SETTINGS_KEY, name);
        if (!value || value->type != plat::REG_SZ) return std::nullopt;
        return units_of(value->bytes);
    } catch (const std::bad_alloc&) {
        if (g_registry_out_of_memory) g_registry_out_of_memory();
        return std::nullopt;
    }
}

bool write_string_value(const char16_t* name, std::u16string_view text) {
    plat::RegValue reg;
    reg.type = plat::REG_SZ;
    reg.bytes.reserve((text.size() + 1) * 2);
    for (char16_t unit : text) {
        reg.bytes.push_back(static_cast<uint8_t>(unit));
        reg.bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    reg.bytes.push_back(0);
    reg.bytes.push_back(0);
    return plat::registry_write(SETTINGS_KEY, name, reg);
}

std::optional<std::vector<uint8_t>> read_bytes_value(const char16_t* name) {
    try {
        std::optional<plat::RegValue> value = plat::registry_read(SETTINGS_KEY, name);
        if (!value) return std::nullopt;
        return std::move(value->bytes);
    } catch (const std::bad_alloc&) {
        if (g_registry_out_of_memory) g_registry_out_of_memory();
        return std::nullopt;
    }
}

bool write_bytes_value(const char16_t* name, std::span<const uint8_t> bytes) {
    plat::RegValue reg;
    reg.type = plat::REG_BINARY;
    reg.bytes.assign(bytes.begin(), bytes.end());
    return plat::registry_write(SETTINGS_KEY, name, reg);
}

}  // namespace lekta
