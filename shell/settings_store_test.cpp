#include "state/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "calendar/date_text.h"
#include "calendar/hebrew_calendar.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "shell/quit.h"
#include "shell/reader_test_support.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

using testing_support::dword;

using plat::RegValue;

RegValue sz(std::u16string_view text) {
    RegValue v{plat::REG_SZ, {}};
    for (char16_t c : text)
        v.bytes.insert(v.bytes.end(), {uint8_t(c), uint8_t(c >> 8)});
    v.bytes.insert(v.bytes.end(), {0, 0});
    return v;
}
RegValue binary(std::vector<uint8_t> bytes) {
    return {plat::REG_BINARY, std::move(bytes)};
}

class SettingsStoreTest : public testing_support::ShellTest {
  protected:
    static std::map<std::u16string, RegValue>& stored() {
        return testplat::registry()[SETTINGS_KEY];
    }
    static void put(const char16_t* name, RegValue value) { stored()[name] = std::move(value); }
    static bool has(const char16_t* name) { return stored().count(name) != 0; }
    static const RegValue& at(const char16_t* name) { return stored().at(name); }

    // A full set of good values, as a previous run leaves them.
    static void put_good_values() {
        put(u"FontName", sz(u"David"));
        put(u"SearchString", binary({0x61, 0x62, 0x63, 0}));
        put(u"FontSize", dword(12));
        put(u"FontAsciiBase", dword(224));
        put(u"LastPosition", dword(9));
        put(u"Flags", dword(0x80000844));
        put(u"Day", dword(739957));
        put(u"Lesson", dword(0x0907));
    }
    static void expect_good_values(const char16_t* except = u"") {
        const Settings& s = g_settings;
        const std::u16string_view skip = except;
        if (skip != u"FontName") {
            EXPECT_EQ(u"David", std::u16string(s.font_spec.face_name));
        }
        if (skip != u"SearchString") {
            EXPECT_STREQ("abc", reinterpret_cast<const char*>(s.search_string));
        }
        if (skip != u"FontSize") {
            EXPECT_EQ(12, s.font_spec.font_size);
        }
        if (skip != u"FontAsciiBase") {
            EXPECT_EQ(224, s.font_spec.font_ascii_base);
        }
        if (skip != u"LastPosition") {
            EXPECT_EQ(9, s.last_position);
        }
        if (skip != u"Flags") {
            EXPECT_EQ(0x80000844u, s.flags);
        }
        if (skip != u"Day") {
            EXPECT_EQ(739957, s.current_day);
        }
        if (skip != u"Lesson") {
            EXPECT_EQ(0x0907, s.current_lesson);
        }
    }
};

TEST_F(SettingsStoreTest, NoSettingsKeyGivesTheDefaults) {
    g_settings.font_spec.font_ascii_base = 0;
    load_settings("");
    const Settings& s = g_settings;
    const Reader& r = g_reader;
    EXPECT_EQ(0, s.font_spec.face_name[0]);
    EXPECT_EQ(0, s.font_spec.font_size);
    EXPECT_EQ(0x5D0, s.font_spec.font_ascii_base);
    EXPECT_EQ(0, s.last_position);
    EXPECT_EQ(0xD1140040u, s.flags);
    EXPECT_EQ(0, s.current_day);
    EXPECT_EQ(0, s.current_lesson);
    EXPECT_EQ(0, s.search_string[0]);
    EXPECT_EQ(0, r.date_text_length);
    // Nothing is written at start but the program's path, and an empty one is skipped.
    EXPECT_TRUE(testplat::registry().empty());
}

TEST_F(SettingsStoreTest, StoredValuesAndTheDayTheyName) {
    put_good_values();
    put(u"FontSize", sz(u"14"));
    load_settings("");
    expect_good_values(u"FontSize");
    EXPECT_EQ(14, g_settings.font_spec.font_size);
    const DateRecord hebrew = hebrew_from_day_number(739957);
    EXPECT_EQ(hebrew, g_reader.hebrew_date);
    uint8_t text[DATE_TEXT_CAPACITY] = {};
    const int length = hebrew_date_text(&hebrew, text);
    ASSERT_GT(length, 0);
    EXPECT_EQ(length, g_reader.date_text_length);
    EXPECT_EQ(0, std::memcmp(text, g_reader.date_text, sizeof text));

    put(u"FontSize", sz(u"1a"));  // no number: none chosen
    load_settings("");
    EXPECT_EQ(0, g_settings.font_spec.font_size);
}

TEST_F(SettingsStoreTest, LongTextsAreCutToTheirFields) {
    put(u"FontName", sz(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij"));  // 36 letters
    std::vector<uint8_t> forty(40, 0x62);
    forty.push_back(0);
    put(u"SearchString", binary(forty));
    put(u"LastPosition", dword(70000));
    load_settings("");
    EXPECT_EQ(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", std::u16string(g_settings.font_spec.face_name));
    EXPECT_EQ(std::string(33, 'b'), reinterpret_cast<const char*>(g_settings.search_string));
    EXPECT_EQ(70000 & 0xFFFF, g_settings.last_position);
}

TEST_F(SettingsStoreTest, SearchStringStopsAtItsOwnEnd) {
    put(u"SearchString", binary({0x61, 0x62}));  // no terminator
    load_settings("");
    EXPECT_STREQ("ab", reinterpret_cast<const char*>(g_settings.search_string));

    g_settings = Settings{};
    g_reader = Reader{};
    put(u"SearchString", binary({0, 0x61}));  // empty: the field stays as it was
    load_settings("");
    EXPECT_EQ(0, g_settings.search_string[0]);
}

TEST_F(SettingsStoreTest, ProgramPathIsRewrittenAtEveryStart) {
    put(u"Program Path", sz(u"/old/place/lekta"));
    load_settings("/opt/\xD7\x93\xD7\x95\xD7\x93/lekta");
    EXPECT_EQ(sz(u"/opt/\u05D3\u05D5\u05D3/lekta").bytes, at(u"Program Path").bytes);
    // Bytes that are not UTF-8 still leave a path of the same shape.
    load_settings("/x\xFF/lekta");
    EXPECT_EQ(sz(u"/x\uFFFD/lekta").bytes, at(u"Program Path").bytes);
}

TEST_F(SettingsStoreTest, UnusableFontValuesCountAsUnset) {
    put(u"FontSize", dword(2000000000));
    put(u"FontAsciiBase", dword(0xFFFFFFF0));
    load_settings("");
    EXPECT_EQ(0, g_settings.font_spec.font_size);
    EXPECT_EQ(0x5D0, g_settings.font_spec.font_ascii_base);

    put(u"FontSize", dword(static_cast<uint32_t>(-14)));  // a character height, as GDI has it
    put(u"FontAsciiBase", dword(97));
    load_settings("");
    EXPECT_EQ(-14, g_settings.font_spec.font_size);
    EXPECT_EQ(97, g_settings.font_spec.font_ascii_base);
}

TEST_F(SettingsStoreTest, EmptyOrZeroValuesKeepWhatWasStored) {
    put_good_values();
    load_settings("");
    Settings& s = g_settings;
    s.search_string[0] = 0;
    s.font_spec.face_name[0] = 0;
    s.font_spec.font_size = 0;
    s.font_spec.font_ascii_base = 0;
    s.current_lesson = 0;
    s.flags = 0;
    s.current_day = 0;
    save_settings_and_quit();
    EXPECT_EQ(binary({0x61, 0x62, 0x63, 0}).bytes, at(u"SearchString").bytes);
    EXPECT_EQ(sz(u"David").bytes, at(u"FontName").bytes);
    EXPECT_EQ(dword(12).bytes, at(u"FontSize").bytes);
    EXPECT_EQ(dword(224).bytes, at(u"FontAsciiBase").bytes);
    EXPECT_EQ(dword(0x0907).bytes, at(u"Lesson").bytes);
    EXPECT_EQ(dword(9).bytes, at(u"LastPosition").bytes);  // no view: not written
    // Always written, zero or not.
    EXPECT_EQ(dword(0).bytes, at(u"Flags").bytes);
    EXPECT_EQ(dword(0).bytes, at(u"Day").bytes);
    EXPECT_EQ(std::vector<int>{0}, testplat::posted_quits());
}

TEST_F(SettingsStoreTest, SavedValuesReadBackTheSame) {
    load_settings("");
    Settings& s = g_settings;
    Reader& r = g_reader;
    const char16_t face[] = u"Frank Ruehl CLM";
    std::copy(std::begin(face), std::end(face), s.font_spec.face_name);
    std::memcpy(s.search_string, "xyz", 4);
    s.font_spec.font_size = 18;
    s.font_spec.font_ascii_base = 224;
    s.flags = 0x12345678;
    s.current_day = 739958;
    s.current_lesson = 0x0A01;
    plat::Dc* dc = testplat::create_dc();
    r.view = create_view(dc, nullptr, s.font_spec, 0);
    ASSERT_NE(nullptr, r.view);
    r.view->top_row = 31;
    save_settings_and_quit();
    EXPECT_EQ(nullptr, r.view);

    EXPECT_EQ(plat::REG_BINARY, at(u"SearchString").type);
    EXPECT_EQ(4u, at(u"SearchString").bytes.size());  // with the terminator
    EXPECT_EQ(plat::REG_SZ, at(u"FontName").type);
    for (const char16_t* name :
         {u"FontSize", u"FontAsciiBase", u"LastPosition", u"Flags", u"Day", u"Lesson"})
        EXPECT_EQ(plat::REG_DWORD, at(name).type) << std::u16string(name).size();

    g_settings = Settings{};
    g_reader = Reader{};
    load_settings("");
    EXPECT_EQ(u"Frank Ruehl CLM", std::u16string(g_settings.font_spec.face_name));
    EXPECT_STREQ("xyz", reinterpret_cast<const char*>(g_settings.search_string));
    EXPECT_EQ(18, g_settings.font_spec.font_size);
    EXPECT_EQ(224, g_settings.font_spec.font_ascii_base);
    EXPECT_EQ(31, g_settings.last_position);
    EXPECT_EQ(0x12345678u, g_settings.flags);
    EXPECT_EQ(739958, g_settings.current_day);
    EXPECT_EQ(0x0A01, g_settings.current_lesson);
    testplat::destroy_dc(dc);
}

TEST_F(SettingsStoreTest, SavingTwiceIsHarmless) {
    load_settings("");
    plat::Dc* dc = testplat::create_dc();
    g_reader.view = create_view(dc, nullptr, g_settings.font_spec, 4);
    g_reader.view->top_row = 5;
    save_settings_and_quit();
    g_settings.current_day = 77;
    save_settings_and_quit();  // the view is gone: no second free, and its row stays stored
    EXPECT_EQ(dword(5).bytes, at(u"LastPosition").bytes);
    EXPECT_EQ(dword(77).bytes, at(u"Day").bytes);
    EXPECT_EQ((std::vector<int>{0, 0}), testplat::posted_quits());
    testplat::destroy_dc(dc);
}

TEST_F(SettingsStoreTest, AFailedSaveIsSaidOnceOnStandardError) {
    load_settings("");
    testplat::set_registry_fails(true);
    g_settings.current_day = 3;
    ::testing::internal::CaptureStderr();
    save_settings_and_quit();
    save_settings_and_quit();  // the out-of-memory stop, then the window's end
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "lekta: could not save the settings to the test registry\n");
    EXPECT_FALSE(has(u"Day"));
    EXPECT_EQ((std::vector<int>{0, 0}), testplat::posted_quits());
    testplat::set_registry_fails(false);
    ::testing::internal::CaptureStderr();
    save_settings_and_quit();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(SettingsStoreTest, DaysTheCalendarCannotConvertAreNoDay) {
    for (uint32_t day : {0u, 0x7FFFFFFFu, 0xFFFFFFFFu, 577813u, 2473788u}) {
        put(u"Day", dword(day));
        load_settings("");
        EXPECT_EQ(0, g_settings.current_day) << day;
        EXPECT_EQ(0, g_reader.date_text_length) << day;
    }
    put(u"Day", dword(577814));  // 1 January 1583
    load_settings("");
    EXPECT_EQ(577814, g_settings.current_day);
    put(u"Day", sz(u"abc"));
    load_settings("");
    EXPECT_EQ(0, g_settings.current_day);
}

// Every value in turn holds random bytes of a random type: loading never strays outside them, and
// the other values still load as stored.
TEST_F(SettingsStoreTest, GarbageInOneValueLeavesTheOthers) {
    const char16_t* names[] = {u"FontName",     u"SearchString", u"FontSize", u"FontAsciiBase",
                               u"LastPosition", u"Flags",        u"Day",      u"Lesson"};
    std::mt19937 random(2026);
    for (const char16_t* name : names) {
        for (int round = 0; round < 300; ++round) {
            testplat::reset_system();
            g_settings = Settings{};
            g_reader = Reader{};
            put_good_values();
            RegValue v;
            v.type = static_cast<uint32_t>(random() % 5);
            v.bytes.resize(random() % (round < 150 ? 8 : 80));
            for (uint8_t& b : v.bytes)
                b = static_cast<uint8_t>(random());
            put(name, v);
            load_settings("");
            expect_good_values(name);
            const Settings& s = g_settings;
            const Reader& r = g_reader;
            EXPECT_EQ(0, s.font_spec.face_name[31]);
            EXPECT_EQ(0, s.search_string[33]);
            EXPECT_LE(std::abs(s.font_spec.font_size), 1000);
            EXPECT_LE(r.date_text_length, DATE_TEXT_CAPACITY - 1);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace lekta
