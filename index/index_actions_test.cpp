#include "index/index_actions.h"

#include <gtest/gtest.h>

#include "index/index_icons.h"
#include "index/index_test_support.h"
#include "platform/test/test_text.h"

namespace lekta {
namespace {

namespace ts = testing_support;

// The small index in a 200 x 100 tree: lines (x, width, height) are
//   0 a      177 10 20   shown      4 f   164 10 16
//   1 bb     154 20 16              5 g   177 10 20   shown
//   2 cc dd  111 50 16              6 h   164 10 16
//   3 e      151 10 16
class IndexTreeActions : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_text();
        dc_ = testplat::create_dc();
        tree_ = create_index_tree(dc_, {0, 0, 200, 100}, FontSpec{}, INDEX_DIALOG_CAPACITY);
        LessonText list = ts::as_text(ts::index_list(ts::small_index()));
        ASSERT_EQ(layout_index(tree_, &list, RELAYOUT_LIST), INDEX_OK);
    }
    void TearDown() override {
        destroy_index_tree(tree_);
        testplat::destroy_dc(dc_);
        testplat::reset_text();
    }
    // Which lines are shown, as a string of 0 and 1.
    std::string shown() const {
        std::string s;
        for (int i = 0; i < tree_->line_count; ++i)
            s += line_visible(tree_->lines[i]) ? '1' : '0';
        return s;
    }
    bool expanded(int line) const { return tree_->lines[line].attribute & INDEX_EXPANDED; }
    std::vector<std::u16string> drawn() {
        dc_->calls.clear();
        draw_index(tree_, DRAW_ERASE);
        return testplat::drawn_texts(dc_);
    }
    plat::Dc* dc_ = nullptr;
    IndexTree* tree_ = nullptr;
};

TEST_F(IndexTreeActions, DrawsShownLinesWithAnIconBesideEachEntry) {
    const auto texts = drawn();
    ASSERT_EQ(texts.size(), 2u);  // the two parts
    EXPECT_EQ(tree_->lines_drawn, 2);
    std::vector<plat::DrawCall> images, text_calls;
    for (const auto& call : dc_->calls) {
        if (call.kind == plat::DrawCall::IMAGE) images.push_back(call);
        if (call.kind == plat::DrawCall::TEXT) text_calls.push_back(call);
    }
    ASSERT_EQ(images.size(), 2u);
    // Right of the text by 4 pixels, centred on the 20-pixel line.
    EXPECT_EQ(images[0].rect, (plat::Rect{191, 5, 200, 14}));
    EXPECT_EQ(images[0].image, index_art::COLLAPSED_BITS);
    EXPECT_EQ(images[1].rect, (plat::Rect{191, 25, 200, 34}));
    EXPECT_EQ(text_calls[0].rect, (plat::Rect{177, 0, 187, 20}));
    EXPECT_EQ(text_calls[0].color, COLOR_BLUE);  // large bold
    EXPECT_EQ(dc_->calls[0].kind, plat::DrawCall::FILL);

    index_tap(tree_, 180, 10);  // open a
    index_tap(tree_, 160, 30);  // open bb
    dc_->calls.clear();
    draw_index(tree_, DRAW_ERASE);
    images.clear();
    for (const auto& call : dc_->calls)
        if (call.kind == plat::DrawCall::IMAGE) images.push_back(call);
    // a, bb (open), cc dd, e, f; g no longer fits below them.
    ASSERT_EQ(images.size(), 5u);
    EXPECT_EQ(images[0].image, index_art::EXPANDED_BITS);
    EXPECT_EQ(images[1].image, index_art::EXPANDED_BITS);
    EXPECT_EQ(images[2].image, index_art::SECTION_BITS);
    EXPECT_EQ(images[2].rect, (plat::Rect{165, 39, 174, 48}));
    EXPECT_EQ(tree_->lines_drawn, 5);
    for (const auto& call : dc_->calls) {
        if (call.kind == plat::DrawCall::TEXT && call.rect.left != 177) {
            EXPECT_EQ(call.color, COLOR_BLACK);
        }
    }
}

TEST_F(IndexTreeActions, GroupsOpenToTheirChildrenAndCloseTheirWholeSubtree) {
    EXPECT_EQ(index_tap(tree_, 180, 10), -0x3FFE);
    EXPECT_EQ(shown(), "1100110");
    EXPECT_TRUE(expanded(0));
    EXPECT_EQ(index_tap(tree_, 160, 30), -0x3FFD);  // bb
    EXPECT_EQ(shown(), "1111110");
    EXPECT_EQ(tree_->visible_count, 6);
    EXPECT_EQ(index_tap(tree_, 180, 10), -0x3FFE);  // a closes: everything under it
    EXPECT_EQ(shown(), "1000010");
    EXPECT_EQ(tree_->visible_count, 2);
    // Opened again, a shows its children only; bb keeps its own open bit.
    index_tap(tree_, 180, 10);
    EXPECT_EQ(shown(), "1100110");
    EXPECT_TRUE(expanded(1));
}

TEST_F(IndexTreeActions, TapsOnTitlesIconsAndTheSpaceBesideThem) {
    index_tap(tree_, 180, 10);
    index_tap(tree_, 160, 30);
    // Shown: a 0-20, bb 20-36, cc dd 36-52, e 52-68, f 68-84; g does not fit.
    EXPECT_EQ(index_tap(tree_, 120, 40), 0x0101);  // title
    EXPECT_EQ(index_tap(tree_, 174, 52), 0x0101);  // icon, bottom edge
    EXPECT_EQ(index_tap(tree_, 50, 40), 0);        // left of a section
    EXPECT_EQ(index_tap(tree_, 153, 60), 0x0102);
    EXPECT_EQ(index_tap(tree_, 100, 25), 0);  // left of a group: nothing
    EXPECT_EQ(shown(), "1111110");
    EXPECT_EQ(index_tap(tree_, 195, 25), -0x3FFD);  // right of bb's icon: closes it
    EXPECT_EQ(shown(), "1100110");
    EXPECT_EQ(index_tap(tree_, 180, 99), -1);  // below the last line
    EXPECT_EQ(index_tap(tree_, 201, 10), 0);   // outside the tree
    EXPECT_EQ(index_tap(tree_, -1, 10), 0);
}

TEST_F(IndexTreeActions, ClosingAGroupWithoutChildrenLeavesItsSiblings) {
    LessonText list = ts::as_text(
        ts::index_list({{0xBFFE, 0x81, 1, "a"}, {0xBFFD, 0x81, 1, "b"}, {0x4101, 0x81, 1, "c"}}));
    ASSERT_EQ(layout_index(tree_, &list, RELAYOUT_LIST), INDEX_OK);
    toggle_group(tree_, 0);  // opens (nothing to show)
    toggle_group(tree_, 0);  // closes
    EXPECT_EQ(shown(), "111");
}

TEST_F(IndexTreeActions, RevealOpensTheChainDownToTheLesson) {
    reveal_lesson(tree_, 0x0102);   // e
    EXPECT_EQ(shown(), "1101110");  // a, bb, e, f (the entry after), g
    EXPECT_FALSE(expanded(1));      // bb shows closed although e is shown
    EXPECT_EQ(tree_->visible_count, 5);
    // The first tap shows all of bb's children, the second hides them.
    toggle_group(tree_, 1);
    EXPECT_EQ(shown(), "1111110");
    toggle_group(tree_, 1);
    EXPECT_EQ(shown(), "1100110");

    const std::string before = shown();
    reveal_lesson(tree_, 0x0109);  // no such section
    reveal_lesson(tree_, 0x3FFE);  // a group's low bits never match
    EXPECT_EQ(shown(), before);
}

TEST_F(IndexTreeActions, ScrollStaysWithinTheRange) {
    index_tap(tree_, 180, 10);
    index_tap(tree_, 160, 30);
    // From the end: g (20), f, e, cc dd, bb (16 each) make 84 of 100; a (20) would not fit.
    EXPECT_EQ(tree_->visible_count, 6);
    EXPECT_EQ(tree_->max_top, 1);
    EXPECT_EQ(scroll_index(tree_, 5, SCROLL_AND_DRAW, true), 0);
    EXPECT_EQ(tree_->top_row, 1);
    EXPECT_EQ(scroll_index(tree_, 1, SCROLL_AND_DRAW, true), 1);  // nothing moved
    EXPECT_EQ(drawn().front(), u"\u05D1\u05D1");                  // bb, drawn as Hebrew letters
    EXPECT_EQ(scroll_index(tree_, -9, SCROLL_ONLY, true), 0);
    EXPECT_EQ(tree_->top_row, 0);
    // Without clamp a step may pass the max top row but never the visible count.
    scroll_index(tree_, 3, SCROLL_ONLY, false);
    EXPECT_EQ(tree_->top_row, 3);
    scroll_index(tree_, 30, SCROLL_ONLY, false);
    EXPECT_EQ(tree_->top_row, 1);
}

TEST_F(IndexTreeActions, OpenStateSurvivesANewLayout) {
    index_tap(tree_, 180, 10);  // a open
    index_tap(tree_, 180, 60);  // g open: a, bb, f, then g at 52..72
    const std::string before = shown();
    const auto open = save_open_state(*tree_);
    ASSERT_EQ(resize_index(tree_, 150, 100), INDEX_OK);
    EXPECT_EQ(shown(), "1000010");  // the stored attributes
    restore_open_state(tree_, open);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(expanded(0));
}

}  // namespace
}  // namespace lekta
