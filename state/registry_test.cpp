#include "state/registry.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/test/test_system.h"

namespace lekta {
namespace {

using plat::RegValue;

RegValue utf16_value(std::u16string_view text, bool terminated = true,
                     uint32_t type = plat::REG_SZ) {
    RegValue v{type, {}};
    for (char16_t c : text) {
        v.bytes.push_back(static_cast<uint8_t>(c));
        v.bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (terminated) v.bytes.insert(v.bytes.end(), {0, 0});
    return v;
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { testplat::reset_system(); }
    void TearDown() override { testplat::reset_system(); }

    static void put(const char16_t* key, const char16_t* name, RegValue value) {
        testplat::registry()[key][name] = std::move(value);
    }
    static int32_t read(const char16_t* name, int32_t fallback = -7) {
        return read_int_value(SETTINGS_KEY, name, fallback);
    }
};

TEST_F(RegistryTest, IntegersFromDwordsAndDecimalStrings) {
    put(SETTINGS_KEY, u"A", {plat::REG_DWORD, {0x0E, 0, 0, 0}});
    put(SETTINGS_KEY, u"B", {plat::REG_DWORD, {0x40, 0, 0x14, 0xD1}});
    put(SETTINGS_KEY, u"C", utf16_value(u"14"));
    put(SETTINGS_KEY, u"D", utf16_value(u"1a"));  // no number: the default
    put(SETTINGS_KEY, u"E", utf16_value(u""));
    put(SETTINGS_KEY, u"F", utf16_value(u"14", false));
    put(SETTINGS_KEY, u"G", utf16_value(u"3", true, plat::REG_BINARY));
    put(SETTINGS_KEY, u"H", utf16_value(u"7\u00009"));  // stops at the terminator
    EXPECT_EQ(14, read(u"A"));
    EXPECT_EQ(static_cast<int32_t>(0xD1140040u), read(u"B"));
    EXPECT_EQ(14, read(u"C"));
    EXPECT_EQ(-7, read(u"D"));
    EXPECT_EQ(-7, read(u"E"));
    EXPECT_EQ(14, read(u"F"));
    EXPECT_EQ(3, read(u"G"));
    EXPECT_EQ(7, read(u"H"));
    EXPECT_EQ(-7, read(u"Missing"));
    EXPECT_EQ(-7, read_int_value(u"No\\Such\\Key", u"A", -7));
}

TEST_F(RegistryTest, TextThatIsNoNumberFallsBack) {
    put(SETTINGS_KEY, u"Flags", utf16_value(u"3507748928"));  // 0xD1140040 written in decimal
    put(SETTINGS_KEY, u"Top", utf16_value(u"4294967295"));
    put(SETTINGS_KEY, u"Big", utf16_value(u"4294967296"));
    put(SETTINGS_KEY, u"Minus", utf16_value(u"-1"));
    put(SETTINGS_KEY, u"Long", utf16_value(std::u16string(200, u'9')));
    put(SETTINGS_KEY, u"Word", utf16_value(u"abc"));
    put(SETTINGS_KEY, u"Space", utf16_value(u" 12"));
    put(SETTINGS_KEY, u"Short", {plat::REG_DWORD, {1, 2, 3}});
    put(SETTINGS_KEY, u"Wide", {plat::REG_DWORD, {1, 2, 3, 4, 5}});
    put(SETTINGS_KEY, u"Empty", {plat::REG_DWORD, {}});
    put(SETTINGS_KEY, u"Odd", {plat::REG_SZ, {'4', 0, '2'}});  // the half unit is no unit
    EXPECT_EQ(static_cast<int32_t>(0xD1140040u), read(u"Flags"));
    EXPECT_EQ(-1, read(u"Top"));
    const char16_t* const no_numbers[] = {u"Big",   u"Minus", u"Long", u"Word",
                                          u"Space", u"Short", u"Wide", u"Empty"};
    for (size_t i = 0; i < std::size(no_numbers); ++i)
        EXPECT_EQ(-7, read(no_numbers[i])) << i;
    EXPECT_EQ(4, read(u"Odd"));
}

TEST_F(RegistryTest, VendorAndSettingsKeysAreApart) {
    put(VENDOR_KEY, u"FullScreen", {plat::REG_DWORD, {1, 0, 0, 0}});
    EXPECT_EQ(1, read_int_value(VENDOR_KEY, u"FullScreen", 0));
    EXPECT_EQ(0, read_int_value(SETTINGS_KEY, u"FullScreen", 0));
    ASSERT_TRUE(write_int_value(u"Day", -2));
    const auto& stored = testplat::registry()[u"Halvern\\Lekta-Hebrew"][u"Day"];
    EXPECT_EQ(plat::REG_DWORD, stored.type);
    EXPECT_EQ((std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}), stored.bytes);
    EXPECT_EQ(0u, testplat::registry().count(u"software\\Halvern\\Lekta-Hebrew"));
}

TEST_F(RegistryTest, StringsRoundTripAndStayInsideTheirBytes) {
    ASSERT_TRUE(write_string_value(u"FontName", u"David"));
    const auto& stored = testplat::registry()[SETTINGS_KEY][u"FontName"];
    EXPECT_EQ(plat::REG_SZ, stored.type);
    EXPECT_EQ(12u, stored.bytes.size());  // (5 + 1) * 2
    EXPECT_EQ(u"David", read_string_value(u"FontName"));

    put(SETTINGS_KEY, u"Open", utf16_value(u"Arial", false));
    put(SETTINGS_KEY, u"Odd", {plat::REG_SZ, {'A', 0, 'B'}});
    put(SETTINGS_KEY, u"Inner", utf16_value(u"ab\u0000cd"));
    put(SETTINGS_KEY, u"Binary", utf16_value(u"Arial", true, plat::REG_BINARY));
    EXPECT_EQ(u"Arial", read_string_value(u"Open"));
    EXPECT_EQ(u"A", read_string_value(u"Odd"));
    EXPECT_EQ(u"ab", read_string_value(u"Inner"));
    EXPECT_FALSE(read_string_value(u"Binary"));
    EXPECT_FALSE(read_string_value(u"Missing"));
}

TEST_F(RegistryTest, BytesRoundTripExactly) {
    const uint8_t bytes[] = {0x61, 0x62, 0, 0xFF};
    ASSERT_TRUE(write_bytes_value(u"SearchString", bytes));
    EXPECT_EQ(plat::REG_BINARY, testplat::registry()[SETTINGS_KEY][u"SearchString"].type);
    EXPECT_EQ((std::vector<uint8_t>{0x61, 0x62, 0, 0xFF}), read_bytes_value(u"SearchString"));
    ASSERT_TRUE(write_bytes_value(u"Nothing", {}));
    EXPECT_EQ(std::vector<uint8_t>{}, read_bytes_value(u"Nothing"));
    EXPECT_FALSE(read_bytes_value(u"Missing"));
}

TEST_F(RegistryTest, WriteFailuresAreReported) {
    testplat::set_registry_fails(true);
    EXPECT_FALSE(write_int_value(u"Day", 1));
    EXPECT_FALSE(write_string_value(u"FontName", u"x"));
    EXPECT_FALSE(write_bytes_value(u"SearchString", {}));
}

// Random bytes of random types and lengths (under the sanitizers this checks that no reader strays
// outside them).
TEST_F(RegistryTest, RandomValuesReadSafely) {
    std::mt19937 random(12345);
    for (int round = 0; round < 2000; ++round) {
        RegValue v;
        v.type = static_cast<uint32_t>(random() % 6);
        v.bytes.resize(random() % 12);
        for (uint8_t& b : v.bytes)
            b = static_cast<uint8_t>(random() % 4 ? 0x30 + random() % 10 : random());
        put(SETTINGS_KEY, u"X", v);

        const int32_t n = read(u"X");
        if (v.type == plat::REG_DWORD && v.bytes.size() != 4) {
            EXPECT_EQ(-7, n);
        }
        const auto s = read_string_value(u"X");
        EXPECT_EQ(v.type == plat::REG_SZ, s.has_value());
        if (s) {
            EXPECT_LE(s->size() * 2, v.bytes.size());
        }
        EXPECT_EQ(v.bytes, read_bytes_value(u"X"));
    }
}

}  // namespace
}  // namespace lekta
