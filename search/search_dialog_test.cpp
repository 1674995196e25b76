// The search dialog headless: the keyboard's arithmetic, typing on it and on the keyboard, what
// OK stores, and the edit box's text at the edges.
#include "search/search_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/test/test_dialog.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "search/keyboard.h"
#include "state/reader.h"
#include "state/settings.h"

namespace lekta {
namespace {

constexpr plat::BaseUnits TEST_UNITS{8, 16};  // the test backend's: the keyboard at (14, 142)
constexpr int32_t LEFT = 14, TOP = 142;

std::string stored() {
    return reinterpret_cast<const char*>(g_settings.search_string);
}

class SearchDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_windows();
        testplat::reset_text();
        testplat::reset_system();
        g_settings = Settings{};
        g_reader = Reader{};
    }
    void TearDown() override {
        testplat::reset_windows();
        g_settings = Settings{};
        g_reader = Reader{};
    }
    // Runs the dialog with the script; the result of the run.
    static intptr_t run(std::function<void(plat::Window*)> script) {
        testplat::push_dialog_script(std::move(script));
        return run_search_dialog(nullptr);
    }
    static void tap_key(plat::Window* d, int key) {
        const int row = key == 0 ? 3 : (key - 1) / 9;
        const int column = key == 0 ? 4 : 9 * (row + 1) - key;
        testplat::tap(d, LEFT + column * KEY_WIDTH + 8, TOP + row * KEY_HEIGHT + 12);
    }
    static std::u16string box(plat::Window* d) { return plat::control_text(d, ID_SEARCH_EDIT); }
    static std::u16string shown(plat::Window* d) { return shown_from_box_text(box(d)); }
};

TEST(KeyAt, TheGridByArithmetic) {
    EXPECT_EQ(9, key_at(TEST_UNITS, LEFT, TOP));                     // top left
    EXPECT_EQ(1, key_at(TEST_UNITS, LEFT + 8 * 17 + 16, TOP + 24));  // top right
    EXPECT_EQ(27, key_at(TEST_UNITS, LEFT, TOP + 50));               // bottom letter row, left
    EXPECT_EQ(8, key_at(TEST_UNITS, LEFT + 17, TOP));                // a grid line: the right
    EXPECT_EQ(18, key_at(TEST_UNITS, LEFT, TOP + 25));               // ... or the one below
    EXPECT_EQ(0, key_at(TEST_UNITS, LEFT + 34, TOP + 75));           // space bar, columns 2..6
    EXPECT_EQ(0, key_at(TEST_UNITS, LEFT + 118, TOP + 94));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT + 33, TOP + 80));  // row 3 outside the space bar
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT + 119, TOP + 80));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT - 1, TOP));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT, TOP - 1));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT + 154, TOP));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT, TOP + 95));
    EXPECT_FALSE(key_at(TEST_UNITS, LEFT + 153, TOP));  // the last pixel column names no key
    // Other base units move the keyboard: (7 * 6) / 4 = 10, (71 * 13) / 8 = 115.
    EXPECT_EQ(9, key_at({6, 13}, 10, 115));
    EXPECT_FALSE(key_at({6, 13}, 9, 115));
}

TEST(KeyLetters, RowsRightToLeft) {
    EXPECT_EQ(0x61, key_letter(1));
    EXPECT_EQ(0x6A, key_letter(10));
    EXPECT_EQ(0x6C, key_letter(11));  // the final forms stand beside their letters
    EXPECT_EQ(0x6B, key_letter(12));
    EXPECT_EQ(0x7B, key_letter(27));
    EXPECT_EQ(' ', key_letter(0));
}

TEST(KeyboardImage, GridLinesWhereTheKeysMeet) {
    const plat::MonoImage& image = keyboard_image();
    ASSERT_EQ(154, image.width);
    ASSERT_EQ(95, image.height);
    ASSERT_EQ(20u * 95u, image.bits.size());
    auto black = [&image](int x, int y) {
        return (image.bits[y * 20 + x / 8] & (0x80 >> x % 8)) != 0;
    };
    for (int x = 0; x <= 153; x += 17)
        EXPECT_TRUE(black(x, 12)) << x;
    for (int y : {0, 25, 50, 75})
        EXPECT_TRUE(black(5, y)) << y;
    EXPECT_FALSE(black(5, 85));  // no key left of the space bar
    EXPECT_TRUE(black(34, 85));
}

TEST_F(SearchDialogTest, ThreeKeysBuildFromRightToLeft) {
    const intptr_t result = run([](plat::Window* d) {
        tap_key(d, 1);
        tap_key(d, 2);
        tap_key(d, 3);
        // Shown left to right: the third, the second, the first.
        EXPECT_EQ(u"\u05D2\u05D1\u05D0", shown(d));
        EXPECT_EQ(u"\u202E\u05D0\u05D1\u05D2", box(d));
        testplat::send_command(d, plat::IDOK);  // a search for a string not in any book
    });
    EXPECT_EQ("cba", stored());
    // Nothing found (no book): the dialog stayed open until the script ended.
    EXPECT_EQ(plat::IDCANCEL, result);
}

TEST_F(SearchDialogTest, SpacesRunTogetherAndTheStringStopsAt33) {
    run([](plat::Window* d) {
        tap_key(d, 1);
        tap_key(d, 0);
        tap_key(d, 0);
        tap_key(d, 2);
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("b a", stored());
    run([](plat::Window* d) {
        for (int i = 0; i < 40; ++i)
            tap_key(d, 5);
        EXPECT_EQ(33u, shown(d).size());
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(std::string(33, 'e'), stored());
}

TEST_F(SearchDialogTest, TypedWordsInReadingOrderAreStoredInTextOrder) {
    // A Hebrew keyboard, the Latin keys, wildcards: the last character typed is the first
    // stored, as in the lesson text.
    run([](plat::Window* d) {
        testplat::type_text(d, ID_SEARCH_EDIT, u"\u05E9\u05DC\u05D5\u05DD");
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("nfmz", stored());  // final mem, vav, lamed, shin
    run([](plat::Window* d) {
        testplat::type_text(d, ID_SEARCH_EDIT, u"ab?c");
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("c?ba", stored());
    // The Latin keys show the letters they stand for: jsxb is yod, ayin, qof, bet.
    run([](plat::Window* d) {
        testplat::type_text(d, ID_SEARCH_EDIT, u"jsxb");
        EXPECT_EQ(u"\u202E\u05D9\u05E2\u05E7\u05D1", box(d));
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("bxsj", stored());
}

TEST_F(SearchDialogTest, OverrideMarkStaysFirst) {
    run([](plat::Window* d) {
        // Everything selected and typed over, the mark included.
        plat::select_text(d, ID_SEARCH_EDIT, 0, -1);
        testplat::type_text(d, ID_SEARCH_EDIT, u"ab");
        EXPECT_EQ(u"\u202E\u05D0\u05D1", box(d));
        EXPECT_EQ(plat::TextSelection({3, 3}), plat::text_selection(d, ID_SEARCH_EDIT));
        // A key with the caret in front of the mark.
        plat::select_text(d, ID_SEARCH_EDIT, 0, 0);
        tap_key(d, 1);
        EXPECT_EQ(u"\u202E\u05D0\u05D0\u05D1", box(d));
    });
}

TEST_F(SearchDialogTest, TheStoredStringFillsTheBoxAsTheViewShowsIt) {
    std::memcpy(g_settings.search_string, "abc(", 4);
    run([](plat::Window* d) {
        EXPECT_EQ(u"\u05D0\u05D1\u05D2(", shown(d));
        EXPECT_EQ(plat::TextSelection({0, 5}), plat::text_selection(d, ID_SEARCH_EDIT));
        EXPECT_TRUE(d->tap_keeps_focus);
        testplat::send_command(d, plat::IDCANCEL);
    });
    // Reverse with a base other than 97: shown reversed and mirrored, and stored so.
    g_settings.flags |= FLAG_REVERSE;
    run([](plat::Window* d) {
        EXPECT_EQ(u")\u05D2\u05D1\u05D0", shown(d));
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(")cba", stored());
}

TEST_F(SearchDialogTest, BaseOf97And224) {
    g_settings.font_spec.font_ascii_base = 97;
    std::memcpy(g_settings.search_string, "ab", 2);
    run([](plat::Window* d) {
        EXPECT_EQ(u"ab", shown(d));
        // The text starts selected: the first key replaces it, the next goes to its left.
        tap_key(d, 3);
        tap_key(d, 1);
        EXPECT_EQ(u"ac", shown(d));
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("ac", stored());
}

TEST_F(SearchDialogTest, CancelAndEmptyOk) {
    std::memcpy(g_settings.search_string, "ab", 2);
    EXPECT_EQ(2, run([](plat::Window* d) {
                  tap_key(d, 3);
                  testplat::send_command(d, plat::IDCANCEL);
              }));
    EXPECT_EQ("ab", stored());
    EXPECT_EQ(1, run([](plat::Window* d) {
                  plat::set_control_text(d, ID_SEARCH_EDIT, u"");
                  testplat::send_command(d, plat::IDOK);
              }));
    EXPECT_EQ("", stored());
    EXPECT_TRUE(testplat::message_boxes().empty());
}

TEST_F(SearchDialogTest, TheEditBoxTakesTheViewFontsFaceAndSize) {
    std::u16string face = u"Culmus";
    std::copy(face.begin(), face.end(), g_settings.font_spec.face_name);
    g_settings.font_spec.font_size = 21;
    run([](plat::Window* d) {
        const plat::FontDesc font = plat::control_font(d, ID_SEARCH_EDIT);
        EXPECT_EQ(std::u16string(u"Culmus"), font.face);
        EXPECT_EQ(21, font.height);
    });
    EXPECT_EQ(0, testplat::live_fonts());
}

}  // namespace
}  // namespace lekta

namespace lekta {
namespace {

// With the keyboard focused the arrows walk the keys (the focus frame on the key, each key found
// by its letter), Space presses one and Backspace takes the last letter back; every key's frame
// is where a tap would press that key.
TEST_F(SearchDialogTest, TheKeyboardFromTheKeysAlone) {
    run([](plat::Window* d) {
        testplat::focus_client(d, true);
        testplat::press_key(d, 0x20);           // key 1, top right: alef
        testplat::press_key(d, plat::VK_LEFT);  // key 2: bet
        testplat::press_key(d, 0x20);
        testplat::press_key(d, plat::VK_DOWN);   // key 11
        testplat::press_key(d, plat::VK_DOWN);   // key 20
        testplat::press_key(d, plat::VK_DOWN);   // the space bar
        testplat::press_key(d, plat::VK_RIGHT);  // stays on it
        testplat::press_key(d, 0x20);
        EXPECT_EQ(3u, shown(d).size());
        testplat::press_key(d, 0x08);
        testplat::press_key(d, 0x08);
        EXPECT_EQ(1u, shown(d).size());
        std::vector<plat::AccessibleNode> nodes;
        d->accessible_source(d, nodes);
        ASSERT_EQ(28u, nodes.size());
        EXPECT_EQ(u"\u05D0", nodes[0].name);
        EXPECT_EQ(u"space", nodes[27].name);
        EXPECT_TRUE(nodes[27].state & plat::ACC_FOCUSED);
        EXPECT_EQ(nodes[27].rect, d->focus_rect);
        for (int key = 0; key <= LAST_KEY; ++key) {
            const plat::Rect& r = nodes[size_t(key == 0 ? 27 : key - 1)].rect;
            EXPECT_EQ(key, key_at(TEST_UNITS, r.left + 1, r.top + 1)) << key;
            EXPECT_EQ(key, key_at(TEST_UNITS, r.right - 2, r.bottom - 2)) << key;
        }
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ("a", stored());
}

}  // namespace
}  // namespace lekta
