#include "index/index_tree.h"

#include <gtest/gtest.h>

#include "index/index_test_support.h"
#include "platform/test/test_text.h"

namespace lekta {
namespace {

namespace ts = testing_support;

class IndexLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_text();
        dc_ = testplat::create_dc();
    }
    void TearDown() override {
        destroy_index_tree(tree_);
        testplat::destroy_dc(dc_);
        testplat::reset_text();
    }
    int lay_out(const std::vector<ts::Entry>& entries, int32_t width, int32_t height) {
        destroy_index_tree(tree_);
        tree_ = create_index_tree(dc_, {0, 0, width, height}, FontSpec{}, INDEX_DIALOG_CAPACITY);
        LessonText list = ts::as_text(ts::index_list(entries));
        return layout_index(tree_, &list, RELAYOUT_LIST);
    }
    // The reading-order text of a line.
    std::string text_of(const IndexLine& line) const {
        std::string s(tree_->list.bytes.get() + line.offset,
                      tree_->list.bytes.get() + line.offset + line.count);
        return std::string(s.rbegin(), s.rend());
    }
    plat::Dc* dc_ = nullptr;
    IndexTree* tree_ = nullptr;
};

TEST_F(IndexLayout, TitlesRightAlignedAndIndentedByLevel) {
    ASSERT_EQ(lay_out(ts::small_index(), 200, 100), INDEX_OK);
    ASSERT_EQ(tree_->line_count, 7);  // "cc dd" takes one line at this width
    const IndexLine& part = tree_->lines[0];
    EXPECT_EQ(part.x, 200 - 13 - 10);
    EXPECT_EQ(part.width, 10);
    EXPECT_EQ(part.height, 20);  // large type at the default size
    EXPECT_EQ(part.key, 0xBFFE);
    EXPECT_EQ(part.attribute, 0x8C);
    const IndexLine& section = tree_->lines[2];
    EXPECT_EQ(text_of(section), "cc dd");
    EXPECT_EQ(section.x, 200 - 39 - 50);
    EXPECT_EQ(section.height, 16);
    EXPECT_EQ(tree_->visible_count, 2);       // the two parts
    EXPECT_EQ(tree_->lines[7].attribute, 0);  // the end of the table
    EXPECT_EQ(tree_->max_top, 0);
}

TEST_F(IndexLayout, LongTitlesWrapAtSpacesAndLongWordsAreCut) {
    // 60 - 13 leaves 47 pixels: four letters a line.
    ASSERT_EQ(lay_out({{0xBFFE, 0x81, 1, "ab cd ef"}, {0x4101, 0x81, 1, "abcdefghi"}}, 60, 100),
              INDEX_OK);
    ASSERT_EQ(tree_->line_count, 6);
    const char* expected[] = {"ab", "cd", "ef", "abcd", "efgh", "i"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(text_of(tree_->lines[i]), expected[i]) << i;
        EXPECT_EQ(tree_->lines[i].x + tree_->lines[i].width, 47) << i;
        EXPECT_EQ(tree_->lines[i].key, i < 3 ? 0xBFFE : 0x4101);
    }
    EXPECT_EQ(tree_->visible_count, 6);
}

TEST_F(IndexLayout, DeepEntriesInNarrowTreesLoseTheirIndent) {
    ASSERT_EQ(lay_out({{0x4101, 0x81, 3, "ab"}}, 30, 100), INDEX_OK);
    EXPECT_EQ(tree_->lines[0].x, 10);  // 39 >= 30: no indent
    // Narrower than one letter: one letter a line rather than no progress.
    ASSERT_EQ(lay_out({{0x4101, 0x81, 1, "abc"}}, 5, 100), INDEX_OK);
    EXPECT_EQ(tree_->line_count, 3);
}

TEST_F(IndexLayout, MaxTopCountsOnlyShownLines) {
    std::vector<ts::Entry> entries;
    for (int i = 0; i < 10; ++i)
        entries.push_back(
            {static_cast<uint16_t>(0x4101 + i), static_cast<uint8_t>(i % 2 ? 0x81 : 0x01), 1, "a"});
    // 16-pixel lines, 50 pixels: the last three shown lines fit (a hidden one takes no room).
    ASSERT_EQ(lay_out(entries, 100, 50), INDEX_OK);
    EXPECT_EQ(tree_->visible_count, 5);
    EXPECT_EQ(compute_index_max_top(tree_), 2);
    tree_->height = 10;  // not even one line fits
    EXPECT_EQ(compute_index_max_top(tree_), 5);
    for (int i = 0; i < tree_->line_count; ++i)
        tree_->lines[i].attribute &= ~INDEX_VISIBLE;
    tree_->visible_count = 0;
    EXPECT_EQ(compute_index_max_top(tree_), -1);
    EXPECT_EQ(tree_->max_top, 5);  // nothing stored
}

TEST_F(IndexLayout, MalformedListsLeaveTheTreeEmpty) {
    tree_ = create_index_tree(dc_, {0, 0, 200, 100}, FontSpec{}, INDEX_DIALOG_CAPACITY);
    LessonText none;
    EXPECT_EQ(layout_index(tree_, &none, RELAYOUT_LIST), INDEX_NO_LIST);
    EXPECT_EQ(layout_index(tree_, nullptr, TAKE_LIST), INDEX_NO_LIST);

    const std::vector<std::vector<uint8_t>> bad = {
        {0, 0, 0, 0, 0},                                // the terminator first
        {0xFE, 0xBF, 0x8C, 1, 0, 0, 0, 0, 0, 0},        // an empty first title
        {0xFE, 0xBF, 0x8C, 1, 0x61, 0},                 // no terminator
        {0xFE, 0xBF, 0x8C, 5, 0x61, 0, 0, 0, 0, 0, 0},  // level 5
        {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 0x01, 0x41},     // a record cut off
    };
    for (const auto& bytes : bad) {
        LessonText list = ts::as_text(bytes);
        EXPECT_EQ(layout_index(tree_, &list, RELAYOUT_LIST), INDEX_MALFORMED);
        EXPECT_EQ(tree_->line_count, 0);
        EXPECT_EQ(tree_->visible_count, 0);
        EXPECT_TRUE(list) << "a rejected list stays with the caller";
    }
}

TEST_F(IndexLayout, ResizeLaysOutAgainFromTheStoredAttributes) {
    ASSERT_EQ(lay_out({{0xBFFE, 0x81, 1, "ab cd ef"}}, 200, 100), INDEX_OK);
    EXPECT_EQ(tree_->line_count, 1);
    tree_->lines[0].attribute &= ~INDEX_VISIBLE;
    ASSERT_EQ(resize_index(tree_, 60, 100), INDEX_OK);
    EXPECT_EQ(tree_->line_count, 3);
    EXPECT_EQ(tree_->visible_count, 3);
    EXPECT_EQ(tree_->lines[0].x, 60 - 13 - 20);
}

TEST_F(IndexLayout, FontsFollowTheAttribute) {
    FontSpec font_spec;
    font_spec.font_size = 16;
    tree_ = create_index_tree(dc_, {0, 0, 200, 100}, font_spec, 0);
    LessonText list = ts::as_text(
        ts::index_list({{0xBFFE, 0x8C, 1, "a"}, {0xBFFD, 0x82, 1, "b"}, {0xBFFC, 0x88, 1, "c"}}));
    ASSERT_EQ(layout_index(tree_, &list, RELAYOUT_LIST), INDEX_OK);
    EXPECT_EQ(tree_->lines[0].height, 20);  // 16 * 5 / 4
    EXPECT_EQ(tree_->lines[1].height, 12);  // 16 * 6 / 8
    EXPECT_EQ(tree_->lines[2].height, 16);
    EXPECT_GE(tree_->capacity, 3);
}

}  // namespace
}  // namespace lekta
