#include "state/settings_table.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/test/test_system.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings_store.h"

namespace lekta {
namespace {

using plat::RegValue;

RegValue dword(int32_t n) {
    const auto u = static_cast<uint32_t>(n);
    return {plat::REG_DWORD, {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)}};
}

// A number each value takes as set and that differs from its fallback.
int32_t sample_number(const StoredValue& v) {
    for (int32_t n : {7, 100, 739957})
        if ((!v.usable || v.usable(n)) && n != v.fallback) return n;
    return 0;
}

// The bytes of a text or byte value's field once it holds something: a text's units, a byte
// value's bytes with their terminator (a zero byte, or a zero key).
std::vector<uint8_t> sample_bytes(const StoredValue& v) {
    if (v.type == ValueType::TEXT) return {'D', 0, 'a', 0, 'v', 0};
    if (std::u16string_view(v.name) == u"Bookmarks") return {1, 9, 2, 9, 0, 0};
    return {'a', 'b', 'c', 0};
}

RegValue stored_form(const StoredValue& v) {
    if (v.type == ValueType::INTEGER) return dword(sample_number(v));
    std::vector<uint8_t> bytes = sample_bytes(v);
    if (v.type == ValueType::BYTES) return {plat::REG_BINARY, bytes};
    bytes.insert(bytes.end(), {0, 0});
    return {plat::REG_SZ, bytes};
}

std::map<std::u16string, RegValue>& section(const StoredValue& v) {
    return testplat::registry()[v.key == ValueKey::OPTIONS ? VENDOR_KEY : SETTINGS_KEY];
}

void load_all() {
    read_shell_options();
    load_settings("");
}

class SettingsTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();
        g_settings = Settings{};
        g_reader = Reader{};
        g_shell_options = ShellOptions{};
    }
    void TearDown() override { SetUp(); }
    StoredRecords records{g_settings, g_shell_options};
};

// Every declared value, stored as a previous run leaves it, reaches its field, and the end of a
// run writes it back byte for byte.
TEST_F(SettingsTableTest, EveryValueRoundTrips) {
    for (const StoredValue& v : stored_values())
        if (v.key != ValueKey::START) section(v)[v.name] = stored_form(v);
    load_all();
    for (const StoredValue& v : stored_values()) {
        const std::u16string name = v.name;
        if (v.key == ValueKey::START) continue;
        if (v.type == ValueType::INTEGER)
            EXPECT_EQ(sample_number(v), v.get(records)) << name.size();
        else
            EXPECT_EQ(sample_bytes(v), v.bytes_of(g_settings)) << name.size();
    }
    const auto before = testplat::registry();
    testplat::registry().clear();
    ASSERT_TRUE(write_settings());
    for (const StoredValue& v : stored_values()) {
        if (v.key != ValueKey::SETTINGS || (v.written && !v.written(g_settings))) continue;
        EXPECT_EQ(before.at(SETTINGS_KEY).at(v.name).bytes, section(v)[v.name].bytes);
    }
}

// A value of the wrong size or type, or a number outside what it may be, counts as not set: its
// field takes the fallback, and the others still load.
TEST_F(SettingsTableTest, ADamagedValueCountsAsNotSet) {
    for (const StoredValue& damaged : stored_values()) {
        if (damaged.key == ValueKey::START) continue;
        std::vector<RegValue> forms = {{plat::REG_DWORD, {1, 2, 3}},
                                       {plat::REG_SZ, {'x', 0, 0, 0}}};
        if (damaged.usable)
            for (int32_t n : {INT32_MIN, INT32_MAX, -1, 0})
                if (!damaged.usable(n)) forms.push_back(dword(n));
        if (damaged.type != ValueType::INTEGER) forms = {{plat::REG_BINARY, {}}};
        if (damaged.type == ValueType::TEXT) forms.push_back({plat::REG_BINARY, {'x', 0, 0, 0}});
        for (const RegValue& form : forms) {
            SetUp();
            for (const StoredValue& v : stored_values())
                if (v.key != ValueKey::START) section(v)[v.name] = stored_form(v);
            section(damaged)[damaged.name] = form;
            load_all();
            for (const StoredValue& v : stored_values()) {
                if (v.key == ValueKey::START) continue;
                const bool hit = &v == &damaged || (v.window_place && damaged.window_place);
                const std::string what = std::to_string(&v - stored_values().data());
                if (v.type != ValueType::INTEGER)
                    EXPECT_EQ(hit ? v.bytes_of(Settings{}) : sample_bytes(v),
                              v.bytes_of(g_settings))
                        << what;
                else if (hit && v.window_place)
                    EXPECT_EQ(0, v.get(records)) << what;  // no place at all
                else
                    EXPECT_EQ(hit ? v.fallback : sample_number(v), v.get(records)) << what;
            }
        }
    }
}

}  // namespace
}  // namespace lekta
