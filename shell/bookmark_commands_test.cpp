// The Index and Bookmark commands on the main window, over the headless dialogs.
#include <gtest/gtest.h>

#include "bookmarks/bookmarks.h"
#include "index/index_test_support.h"
#include "platform/dialog.h"
#include "platform/test/test_dialog.h"
#include "shell/quit.h"
#include "shell/reader_test_support.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings_store.h"

namespace lekta::testing_support {
namespace {

class IndexCommands : public ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        book_ = make_test_book(true);
        book_.index = index_list(small_index());
    }
    bool checked() { return plat::menu_item_checked(main_menu(), CMD_BOOKMARK); }
    TestBook book_;
};

TEST_F(IndexCommands, BookmarkCheckFollowsTheLesson) {
    start(book_, 0);
    const uint16_t today = g_settings.current_lesson;
    EXPECT_FALSE(checked());
    EXPECT_EQ(command(CMD_BOOKMARK), 0);
    EXPECT_TRUE(checked());
    EXPECT_EQ(g_settings.bookmarks, std::vector<uint16_t>{today});
    command(CMD_NEXT_DAY);
    EXPECT_FALSE(checked());
    command(CMD_PREVIOUS_DAY);
    EXPECT_TRUE(checked());

    testplat::push_message_box_answer(plat::IDNO);
    command(CMD_BOOKMARK);
    EXPECT_TRUE(checked());
    testplat::push_message_box_answer(plat::IDYES);
    command(CMD_BOOKMARK);
    EXPECT_FALSE(checked());
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].owner, window);
}

TEST_F(IndexCommands, IndexGoesToTheChosenSection) {
    start(book_, 0);
    const uint16_t today = shown_key();
    testplat::push_dialog_script(
        [](plat::Window* d) { testplat::send_command(d, plat::IDCANCEL); });
    command(CMD_INDEX);
    EXPECT_EQ(shown_key(), today);

    // The dialog is 320 pixels wide, 307 without its scroll bar: open a, then bb, then pick
    // the section of 1 Nisan.
    testplat::push_dialog_script([](plat::Window* d) {
        testplat::tap(d, 290, 10);
        testplat::tap(d, 270, 28);
        testplat::tap(d, 230, 40);
    });
    EXPECT_EQ(command(CMD_INDEX), 0);
    EXPECT_EQ(shown_key(), 0x0101);
    EXPECT_EQ(g_settings.current_lesson, 0x0101);
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(testplat::dialog_runs().size(), 2u);
    EXPECT_EQ(testplat::dialog_runs()[1].owner, window);
}

TEST_F(IndexCommands, ABookmarkSurvivesARestartAndLeadsBack) {
    use_test_book(book_);
    load_settings("");
    start(book_, 0);
    const uint16_t marked = g_settings.current_lesson;  // no section begins here
    command(CMD_BOOKMARK);
    plat::destroy_window(window);  // the end of the run: settings and bookmarks are written
    const plat::RegValue stored = testplat::registry()[SETTINGS_KEY][u"Bookmarks"];
    EXPECT_EQ(stored.type, plat::REG_BINARY);
    EXPECT_EQ(stored.bytes,
              (std::vector<uint8_t>{uint8_t(marked & 0xFF), uint8_t(marked >> 8), 0, 0}));

    g_settings = Settings{};
    g_reader = Reader{};
    load_settings("");
    EXPECT_EQ(g_settings.bookmarks, std::vector<uint16_t>{marked});
    start(book_, 0);
    command(CMD_NEXT_DAY);
    command(CMD_NEXT_DAY);
    ASSERT_NE(shown_key(), marked);
    EXPECT_FALSE(checked());
    // The branch header (0..20), then the bookmark (20..36), titled from its lesson: five
    // letters at level 2, x 231..281.
    testplat::push_dialog_script([](plat::Window* d) { testplat::tap(d, 250, 28); });
    command(CMD_INDEX);
    EXPECT_EQ(shown_key(), marked);
    EXPECT_TRUE(checked());

    // Nothing changed: the value is written back as it was read.
    plat::destroy_window(window);
    EXPECT_EQ(testplat::registry()[SETTINGS_KEY][u"Bookmarks"].bytes, stored.bytes);
}

TEST_F(IndexCommands, NoBookmarksAreStoredAsTwoZeroBytes) {
    start(book_, 0);
    plat::destroy_window(window);
    EXPECT_EQ(testplat::registry()[SETTINGS_KEY][u"Bookmarks"].bytes, (std::vector<uint8_t>{0, 0}));
    // A second end of the run (after the out-of-memory stop) leaves the stored list alone.
    testplat::registry()[SETTINGS_KEY][u"Bookmarks"].bytes = {1, 9, 0, 0};
    save_settings_and_quit();
    EXPECT_EQ(testplat::registry()[SETTINGS_KEY][u"Bookmarks"].bytes,
              (std::vector<uint8_t>{1, 9, 0, 0}));
}

}  // namespace
}  // namespace lekta::testing_support
