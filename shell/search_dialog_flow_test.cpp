// The Search command's dialog over the reader: typing on the on-screen keyboard and on the
// keyboard, OK showing the hit, "Not Found!" keeping the dialog open, then Search Again.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/test/test_dialog.h"
#include "search/keyboard.h"
#include "search/search_dialog.h"
#include "shell/reader_test_support.h"

namespace lekta {
namespace {

using testing_support::lesson_with_word;
using testing_support::make_test_book;
using testing_support::ReaderTest;
using testing_support::TestBook;

constexpr int32_t YEAR = 5785;

class SearchDialogFlowTest : public ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        TestBook book = make_test_book(false);
        book.lessons[0x0314] = lesson_with_word(0x0314, "wxyz");
        start(book, day_number_from_hebrew(3, 10, YEAR));
    }
    // A tap in the middle of key n, with the test backend's base units (8 x 16).
    static void tap_key(plat::Window* d, int key) {
        const int row = (key - 1) / 9, column = 9 * (row + 1) - key;
        testplat::tap(d, 14 + column * KEY_WIDTH + 8, 142 + row * KEY_HEIGHT + 12);
    }
    std::string highlighted() const {
        const TextView* v = view();
        return std::string(reinterpret_cast<const char*>(v->text.bytes.get()) + v->hl_start,
                           v->hl_end - v->hl_start);
    }
};

TEST_F(SearchDialogFlowTest, ThreeKeysAndOkShowTheHit) {
    testplat::push_dialog_script([](plat::Window* d) {
        // The word as it is read: its last stored letter first.
        tap_key(d, 26);  // z
        tap_key(d, 25);  // y
        tap_key(d, 24);  // x
        testplat::send_command(d, plat::IDOK);
    });
    command(CMD_SEARCH);
    ASSERT_EQ(1u, testplat::dialog_runs().size());
    EXPECT_EQ(1, testplat::dialog_runs()[0].result);
    EXPECT_EQ(window, testplat::dialog_runs()[0].owner);
    EXPECT_EQ(u"Lekta", testplat::dialog_runs()[0].caption);
    EXPECT_EQ(0x0314, shown_key());
    EXPECT_EQ("xyz", highlighted());
    EXPECT_EQ(day_number_from_hebrew(3, 20, YEAR), g_settings.current_day);
    EXPECT_TRUE(boxes().empty());

    // Search Again goes round the year to the same hit.
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ("xyz", highlighted());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchDialogFlowTest, WordTypedOnTheKeyboardWithReturn) {
    testplat::push_dialog_script([](plat::Window* d) {
        // z y x w read right to left: shin, resh, qof, tsadi.
        testplat::type_text(d, ID_SEARCH_EDIT, u"\u05E9\u05E8\u05E7\u05E6");
        testplat::press_key(d, plat::VK_RETURN);
        testplat::send_command(d, plat::IDOK);  // what Return sends to a dialog
    });
    command(CMD_SEARCH);
    EXPECT_EQ("wxyz", highlighted());
    EXPECT_EQ(0x0314, g_settings.current_lesson);
}

TEST_F(SearchDialogFlowTest, NotFoundKeepsTheDialogOpenWithItsTextSelected) {
    const int32_t day = g_settings.current_day;
    testplat::push_dialog_script([](plat::Window* d) {
        tap_key(d, 16);
        tap_key(d, 16);
        testplat::send_command(d, plat::IDOK);
        ASSERT_EQ(1u, testplat::message_boxes().size());
        EXPECT_EQ(d, testplat::message_boxes()[0].owner);
        EXPECT_EQ(u"Not Found!", testplat::message_boxes()[0].text);
        EXPECT_FALSE(d->ended);
        EXPECT_EQ(plat::TextSelection({0, 3}), plat::text_selection(d, ID_SEARCH_EDIT));
        // The next key replaces the whole text.
        tap_key(d, 24);
        EXPECT_EQ(u"\u202E\u05E7", plat::control_text(d, ID_SEARCH_EDIT));
        testplat::send_command(d, plat::IDOK);
    });
    command(CMD_SEARCH);
    EXPECT_EQ(1, testplat::dialog_runs()[0].result);
    EXPECT_EQ("x", highlighted());
    EXPECT_NE(day, g_settings.current_day);
}

TEST_F(SearchDialogFlowTest, NothingFoundAndCancelledLeavesTheReaderAsItWas) {
    const int32_t day = g_settings.current_day;
    testplat::push_dialog_script([](plat::Window* d) {
        tap_key(d, 16);
        testplat::send_command(d, plat::IDOK);
        testplat::send_command(d, plat::IDCANCEL);
    });
    command(CMD_SEARCH);
    EXPECT_EQ(2, testplat::dialog_runs()[0].result);
    EXPECT_EQ(day, g_settings.current_day);
    EXPECT_EQ(0, view()->hl_end);
    // The string stays for Search Again, which still finds nothing.
    EXPECT_STREQ("q", reinterpret_cast<const char*>(g_settings.search_string));
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(2u, boxes().size());
    EXPECT_EQ(window, boxes()[1].owner);
}

}  // namespace
}  // namespace lekta
