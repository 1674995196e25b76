#include "index/index_dialog.h"

#include <gtest/gtest.h>

#include "bookmarks/bookmarks.h"
#include "index/index_actions.h"
#include "index/index_dialog_fixture.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/test_book_support.h"

namespace lekta {
namespace {

namespace ts = testing_support;

using ts::IndexDialogTest;

TEST_F(IndexDialogTest, OpenAGroupAndPickASection) {
    std::string after_first, after_second;
    const uint16_t key = run(0x0305, [&](plat::Window* d) {
        testplat::tap(d, 290, 10);  // a
        after_first = shown();
        testplat::tap(d, 270, 28);  // bb
        after_second = shown();
        testplat::tap(d, 230, 40);  // cc dd
    });
    EXPECT_EQ(after_first, "1100111");  // h, where 5 Sivan lies, is shown from the start
    EXPECT_EQ(after_second, "1111111");
    EXPECT_EQ(key, 0x0101);
    const auto& runs = testplat::dialog_runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].caption, u"Choose Section");
    EXPECT_EQ(runs[0].result, 1);
    EXPECT_EQ(runs[0].dialog->init_flags, plat::DIALOG_FULL_SCREEN);
    EXPECT_EQ(index_dialog_tree(), nullptr);  // destroyed with the dialog
    EXPECT_EQ(runs[0].dialog->dc_releases, 1);
}

TEST_F(IndexDialogTest, OkKeepsTheLessonCancelGivesNothing) {
    EXPECT_EQ(run(0x0305, [](plat::Window* d) { testplat::send_command(d, plat::IDOK); }), 0x0305);
    EXPECT_EQ(run(0x0305, [](plat::Window* d) { testplat::send_command(d, plat::IDCANCEL); }), 0);
    EXPECT_EQ(testplat::dialog_runs()[1].result, 2);
    // A tap that opens a group or misses keeps the dialog open.
    EXPECT_EQ(run(0x0305,
                  [](plat::Window* d) {
                      testplat::tap(d, 290, 10);
                      testplat::tap(d, 10, 10);
                      testplat::tap(d, 290, 300);
                      EXPECT_FALSE(d->ended);
                      testplat::send_command(d, plat::IDOK);
                  }),
              0x0305);
}

TEST_F(IndexDialogTest, OpensOnTheSectionOfTheDay) {
    std::string opened;
    run(0x0102, [&](plat::Window*) { opened = shown(); });
    EXPECT_EQ(opened, "1111110");
    run(0x0305, [&](plat::Window*) { opened = shown(); });
    EXPECT_EQ(opened, "1000011");
}

TEST_F(IndexDialogTest, KeysAndTheScrollBarScroll) {
    run(0x0305, [](plat::Window* d) {
        testplat::tap(d, 290, 10);
        testplat::tap(d, 270, 28);
        IndexTree* tree = index_dialog_tree();
        // Small enough to scroll: 60 pixels high.
        testplat::resize_dialog(d, 320, 60);
        EXPECT_EQ(shown(), "1111111");  // still open after the resize
        EXPECT_GT(tree->max_top, 0);
        const int32_t max_top = tree->max_top;
        testplat::press_key(d, plat::VK_NEXT);  // one row, like the arrow
        EXPECT_EQ(tree->top_row, 1);
        testplat::press_key(d, plat::VK_DOWN);
        EXPECT_EQ(tree->top_row, 2);
        testplat::press_key(d, plat::VK_PRIOR);
        EXPECT_EQ(tree->top_row, 1);
        const auto& bar = d->scroll_calls.back();
        EXPECT_EQ(bar.max, max_top);
        EXPECT_EQ(bar.pos, 1);
        plat::send_message(d, plat::WM_VSCROLL, plat::SB_PAGEDOWN, 0);
        EXPECT_EQ(tree->top_row, std::min(1 + tree->lines_drawn, max_top));
        plat::send_message(d, plat::WM_VSCROLL, plat::SB_TOP, 0);
        EXPECT_EQ(tree->top_row, 0);
        plat::send_message(d, plat::WM_VSCROLL, plat::SB_THUMBTRACK | 2u << 16, 0);
        EXPECT_EQ(tree->top_row, 2);
        EXPECT_EQ(d->scroll_calls.back().pos, 2);
        EXPECT_EQ(plat::send_message(d, plat::WM_KEYDOWN, 0x41, 0), 1);  // not a key of the tree
        testplat::send_command(d, plat::IDOK);
    });
}

TEST_F(IndexDialogTest, BookmarksComeFirstAndReachTheirLesson) {
    g_settings.bookmarks = {0x0102, 0x0305};
    // The branch (header, e, the lesson of 5 Kislev) stands before a and g: 20 + 16 + 16.
    std::string opened;
    const uint16_t key = run(0x0102, [&](plat::Window* d) {
        opened = shown();
        testplat::tap(d, 240, 45);  // the second bookmark: 5 letters at x 231..281
    });
    // The index opens on the lesson's section although the branch holds it.
    EXPECT_EQ(opened,
              "111"
              "1111110");
    EXPECT_EQ(key, 0x0305);
}

TEST_F(IndexDialogTest, AMissingIndexGivesAnEmptyDialog) {
    ts::TestBook book = ts::make_test_book(false);
    book.index = {0, 0, 0, 0, 0};
    ts::use_test_book(book);
    EXPECT_EQ(run(0x0305,
                  [](plat::Window* d) {
                      EXPECT_EQ(index_dialog_tree()->line_count, 0);
                      testplat::tap(d, 290, 10);
                      testplat::send_command(d, plat::IDOK);
                  }),
              0x0305);
}

}  // namespace
}  // namespace lekta
