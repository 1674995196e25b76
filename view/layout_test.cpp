#include <gtest/gtest.h>

#include <random>

#include "view/fonts.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using testing_support::Lesson;
using testing_support::ViewTest;

using LayoutTest = ViewTest;

TEST_F(LayoutTest, WrapsAtTheLastSpaceThatFits) {
    // 14 bytes in a 100-pixel view: the fit is 10, the 11th byte is a letter, so the line
    // breaks at the space at 9; the next paragraph shows the blank row that 0x80 asks for.
    ASSERT_EQ(show(Lesson().add(0x81, 0, "abcd efgh ijkl").add(0x81, 0, "mn")), 0);
    auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].offset, 2);
    EXPECT_EQ(l[0].count, 9);
    EXPECT_EQ(l[0].width, 90);
    EXPECT_EQ(l[0].style, 0x01);
    EXPECT_EQ(l[1].offset, 12);
    EXPECT_EQ(l[1].count, 4);
    EXPECT_EQ(l[1].style, 0x81);
    EXPECT_EQ(l[1].height, 16);
    // No blank row after the end of the lesson.
    EXPECT_EQ(l[2].style, 0x01);
    EXPECT_EQ(view->total_rows, 4);
    EXPECT_EQ(view->lines[3].style, 0);
}

TEST_F(LayoutTest, VisualOrderLinesMapBackToStoredOffsets) {
    // Stored reversed: the reading-order first line is the stored end.
    ASSERT_EQ(show(Lesson().add(0x91, 0, "lkji hgfe dcba")), 0);
    auto l = lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].offset, 2 + 5);
    EXPECT_EQ(l[0].count, 9);
    EXPECT_EQ(l[1].offset, 2);
    EXPECT_EQ(l[1].count, 4);
}

TEST_F(LayoutTest, LatinRunGoesWholeToTheNextLine) {
    // Stored "fed AB CD EF cba": in reading order "abc", "AB CD EF", "def". The fit of 10
    // would cut the run after "AB CD" (whose stored stretch would draw "CD EF" on the first
    // line): the run moves down whole, and every line is a stretch of the stored text.
    ASSERT_EQ(show(Lesson().add(0x91, 0, "fed AB CD EF cba")), 0);
    auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].offset, 2 + 13);
    EXPECT_EQ(l[0].count, 3);  // "cba"
    EXPECT_EQ(l[1].offset, 2 + 4);
    EXPECT_EQ(l[1].count, 8);  // "AB CD EF"
    EXPECT_EQ(l[2].offset, 2);
    EXPECT_EQ(l[2].count, 3);  // "fed"
    // A run longer than a line is cut where it must.
    ASSERT_EQ(show(Lesson().add(0x91, 0, "ABCD EFGH IJKL cba")), 0);
    l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].count, 3);
    EXPECT_EQ(l[1].count, 9);
}

TEST_F(LayoutTest, BreaksAfterHyphenDropsSpacesCutsLongWords) {
    ASSERT_EQ(show(Lesson()
                       .add(0x01, 0, "abcd-efghijk")
                       .add(0x01, 0, "abcdefghij   klm")
                       .add(0x01, 0, "abcdefghijklmno")),
              0);
    auto l = lines();
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0].count, 5);  // the hyphen stays on the first line
    EXPECT_EQ(l[0].width, 50);
    EXPECT_EQ(l[1].offset, 2 + 5);
    EXPECT_EQ(l[2].count, 10);
    EXPECT_EQ(l[3].offset, 17 + 13);  // the spaces at the break are dropped
    EXPECT_EQ(l[3].count, 3);
    EXPECT_EQ(l[4].count, 10);  // a word wider than the view is cut
    EXPECT_EQ(l[5].count, 5);
}

TEST_F(LayoutTest, AlignsTextAndRules) {
    plat::Rect rect{10, 0, 210, 100};
    destroy_view(view, true);
    view = create_view(dc, &rect, g_settings.font_spec, 0);
    ASSERT_EQ(show(Lesson()
                       .add(0xC7, 0xAC, "")
                       .add(0x27, 100, "ignored")
                       .add(0x07, 0, "")
                       .add(0x27, 250, "")
                       .add(0x21, 0, "abc")
                       .add(0x41, 5, "abc")
                       .add(0x01, 5, "abc")),
              0);
    auto l = lines();
    ASSERT_EQ(l.size(), 6u);    // a rule of width 0 gives nothing
    EXPECT_EQ(l[0].width, 48);  // 24 percent of 200
    EXPECT_EQ(l[0].x, 10 + 76);
    EXPECT_EQ(l[0].count, 0);
    EXPECT_EQ(l[0].offset, 2);
    EXPECT_EQ(l[0].style, 0xC7);
    EXPECT_EQ(l[1].x, 10 + 200 - 100);
    EXPECT_EQ(l[2].width, 200);  // wider than the view: cut
    EXPECT_EQ(l[3].x, 10 + 200 - 30);
    EXPECT_EQ(l[4].x, 10 + 5 + (200 - 5 - 30) / 2);
    EXPECT_EQ(l[5].x, 10 + 5);
    EXPECT_EQ(view->total_rows, 7);  // the first rule's blank row
}

TEST_F(LayoutTest, HangingLabels) {
    // Reading order, level 3: the hang is 10 * 4 / 2 pixels; the label is not counted, and
    // later lines keep the label column free.
    ASSERT_EQ(show(Lesson().add(0x01, 0xC0 | 4, "12 abcd efgh ijkl")), 0);
    auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].offset, 2);
    EXPECT_EQ(l[0].count, 4);  // 100 - 4 - 20 leaves room for 7 characters
    EXPECT_EQ(l[0].hang, 20);
    EXPECT_EQ(l[0].x, 4 + 20);
    EXPECT_EQ(l[1].offset, 2 + 8);
    EXPECT_EQ(l[1].hang, 0);
    EXPECT_EQ(l[1].x, 24);

    // Visual order, right-aligned, level 1: the label is the stored text after the segment.
    ASSERT_EQ(show(Lesson().add(0x31, 0x40, "lkji hgfe dcba 1")), 0);
    l = lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].offset, 2 + 5);
    EXPECT_EQ(l[0].count, 9);
    EXPECT_EQ(l[0].hang, 10);
    EXPECT_EQ(l[0].x, 100 - 10 - 90);
    EXPECT_EQ(l[1].offset, 2);
    EXPECT_EQ(l[1].x, 100 - 10 - 40);
}

TEST_F(LayoutTest, ContinuationKeepsTheRunningIndent) {
    ASSERT_EQ(show(Lesson()
                       .add(0x01, 0x40 | 4, "1 abc")
                       .add(0x01, 0x40 | 8, " def")
                       .add(0x01, 0x40 | 8, " ghi")
                       .add(0x01, 0x40 | 2, " jkl")),
              0);
    auto l = lines();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].x, 4 + 10);
    EXPECT_EQ(l[1].x, 14 + 4);  // no label; indent grows by 8 - 4
    EXPECT_EQ(l[1].hang, 0);
    EXPECT_EQ(l[2].x, 18);
    EXPECT_EQ(l[3].x, 12);
    // The first record of a lesson is never a continuation.
    ASSERT_EQ(show(Lesson().add(0x01, 0x40, " 1 abc")), 0);
    EXPECT_EQ(view->lines[0].hang, 10);
}

TEST_F(LayoutTest, FontHeightsBySizeClass) {
    ASSERT_EQ(show(Lesson().add(0x84, 0, "a").add(0x82, 0, "b").add(0x81, 0, "c")), 0);
    auto l = lines();
    EXPECT_EQ(l[0].height, 20);
    EXPECT_EQ(l[1].height, 14);
    EXPECT_EQ(l[2].height, 16);  // the platform's default
    FontSpec font_spec;
    font_spec.font_size = 16;
    EXPECT_EQ(font_for_key(font_spec, 0x0C).height, 20);
    EXPECT_EQ(font_for_key(font_spec, 0x0C).weight, 700);
    EXPECT_EQ(font_for_key(font_spec, 0x03).height, 12);
}

TEST_F(LayoutTest, MaxTopRowAndFindOffset) {
    Lesson lesson;
    for (int i = 0; i < 6; ++i)
        lesson.add(0x01, 0, "abc");
    view->height = 50;
    ASSERT_EQ(show(lesson), 0);
    EXPECT_EQ(view->max_top_row, 3);  // three 16-pixel rows fill 50 pixels
    // Record i's text starts at 2 + 6 * i.
    EXPECT_EQ(find_offset(view, 8 + 1), 1);
    EXPECT_EQ(view->top_row, 1);
    EXPECT_EQ(find_offset(view, 2 + 6 * 4 + 3), 1);
    EXPECT_EQ(view->top_row, 3);  // at most max_top_row
    EXPECT_EQ(find_offset(view, 500), 0);

    // Only the blank row after a line fits: that blank row is the top row.
    view->height = 40;
    ASSERT_EQ(show(Lesson().add(0x81, 0, "a").add(0x81, 0, "b").add(0x81, 0, "c")), 0);
    EXPECT_EQ(view->total_rows, 5);
    EXPECT_EQ(view->max_top_row, 3);
    ASSERT_EQ(show(Lesson().add(0x81, 0, "a")), 0);
    EXPECT_EQ(view->max_top_row, 0);
}

TEST_F(LayoutTest, StatusCodesAndOwnership) {
    ASSERT_EQ(show(Lesson().add(0x81, 0, "abc")), 0);
    view->hl_start = 2;
    view->hl_end = 3;
    view->top_row = 7;
    LessonText bad = Lesson::make({0x00, 0x00});
    EXPECT_EQ(set_text(view, &bad, TAKE_TEXT), LAYOUT_MALFORMED);
    EXPECT_TRUE(bad.bytes);  // refused, so still the caller's
    LessonText empty_first = Lesson().add(0x81, 0, "").add(0x81, 0, "a").build();
    EXPECT_EQ(set_text(view, &empty_first, TAKE_TEXT), LAYOUT_MALFORMED);
    // The previous text and lines stay; the highlight and row counts are cleared.
    EXPECT_EQ(view->line_count, 1);
    EXPECT_EQ(view->text.bytes[2], 'a');
    EXPECT_EQ(view->hl_start + view->hl_end + view->total_rows, 0);
    EXPECT_EQ(view->top_row, 7);

    EXPECT_EQ(show(Lesson().add(0xC7, 0x10, "")), 0);  // a rule may come first
    EXPECT_EQ(set_text(view, nullptr, RELAYOUT), LAYOUT_NO_TEXT);
    EXPECT_TRUE(view->text.bytes);
    EXPECT_EQ(set_text(view, nullptr, TAKE_TEXT), LAYOUT_NO_TEXT);
    EXPECT_FALSE(view->text.bytes);
    EXPECT_EQ(view->line_count, 0);
    EXPECT_EQ(draw_view(view, DRAW_ERASE), VIEW_MISSING);
    EXPECT_EQ(set_text(nullptr, nullptr, RELAYOUT), VIEW_MISSING);

    std::vector<uint8_t> huge(70000, 'a');
    huge[0] = 0x81;
    LessonText too_long = Lesson::make(huge);
    EXPECT_EQ(set_text(view, &too_long, TAKE_TEXT), LAYOUT_MALFORMED);
}

TEST_F(LayoutTest, EachLineIsFittedAndMeasuredOnce) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "abcd ";
    ASSERT_EQ(show(Lesson().add(0x91, 0, text)), 0);
    ASSERT_EQ(view->line_count, 50);
    EXPECT_LE(dc->measured.size(), 2u * 50 + 2);
}

TEST_F(LayoutTest, BareBlankRowStyleNeverEndsTheTable) {
    ASSERT_EQ(show(Lesson().add(0x80, 0, "abcd efgh ijkl").add(0x80, 0, "x")), 0);
    auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].style, 0x01);
    EXPECT_EQ(l[1].style, 0x80);
    EXPECT_EQ(l[2].style, 0x01);
    EXPECT_EQ(view->total_rows, 4);
    draw_view(view, DRAW_OVER);
    EXPECT_EQ(testplat::drawn_texts(dc).size(), 3u);
}

TEST_F(LayoutTest, ResizeLaysOutAgainAndKeepsTopRow) {
    ASSERT_EQ(show(Lesson().add(0x81, 0, "abcd efgh ijkl")), 0);
    view->top_row = 5;
    EXPECT_EQ(set_view_size(view, 0, 10), VIEW_BAD_SIZE);
    EXPECT_EQ(set_view_size(view, 200, 10), 0);
    EXPECT_EQ(view->line_count, 1);
    EXPECT_EQ(view->top_row, 5);
    EXPECT_EQ(set_view_size(nullptr, 1, 1), VIEW_MISSING);
}

TEST_F(LayoutTest, FontsAreCachedRecreatedAndFreed) {
    const int before = testplat::live_fonts();
    ASSERT_EQ(show(Lesson().add(0x81, 0, "a").add(0x84, 0, "b").add(0x9C, 0, "c")), 0);
    EXPECT_EQ(testplat::live_fonts(), before + 3);
    EXPECT_EQ(apply_font(view, nullptr), 0);
    EXPECT_EQ(testplat::live_fonts(), before);
    FontSpec font_spec = g_settings.font_spec;
    font_spec.font_size = 30;
    EXPECT_EQ(apply_font(view, &font_spec), 0);
    EXPECT_EQ(testplat::live_fonts(), before + 3);
    EXPECT_EQ(view->lines[0].height, 30);
    EXPECT_EQ(view->lines[1].height, 37);
    EXPECT_FALSE(dc->calls.empty());  // redrawn
    destroy_view(view, false);
    EXPECT_EQ(testplat::live_fonts(), before);
    EXPECT_EQ(dc->font, nullptr);
}

// Hostile lessons: every line stays inside the text and layout always ends.
void expect_sound(const TextView& view) {
    for (int i = 0; i < view.line_count; ++i) {
        const LineRecord& line = view.lines[i];
        EXPECT_LE(uint32_t{line.offset} + line.count, view.text.length);
        EXPECT_NE(line.style, 0);
    }
    EXPECT_EQ(view.lines[view.line_count].style, 0);
    EXPECT_LE(view.max_top_row, view.total_rows);
}

TEST_F(LayoutTest, NarrowViewsAndWideLabelsStillAdvance) {
    view->width = 5;  // narrower than a character
    ASSERT_EQ(show(Lesson().add(0x81, 0xC0 | 63, "abc def").add(0x91, 0x40, "gh")), 0);
    expect_sound(*view);
    EXPECT_EQ(view->line_count, 5);       // a label alone, then one letter a line
    testplat::set_char_width(u'x', 400);  // a very wide character makes a very wide hang
    view->width = 100;
    ASSERT_EQ(show(Lesson().add(0x21, 0xC0, "label a b c").add(0x01, 0, "x")), 0);
    expect_sound(*view);
}

TEST_F(LayoutTest, RandomBytesNeverHangOrReadOutside) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes(rng() % 300 + 1);
        for (auto& b : bytes) {
            auto r = rng() % 10;
            b = r < 3 ? ' ' : r < 4 ? 0 : r < 5 ? '-' : static_cast<uint8_t>(rng());
        }
        LessonText text = Lesson::make(bytes);  // often without any terminator
        view->width = static_cast<int32_t>(rng() % 120) + 1;
        view->height = static_cast<int32_t>(rng() % 200) + 1;
        int status = set_text(view, &text, TAKE_TEXT);
        ASSERT_TRUE(status == 0 || status == LAYOUT_MALFORMED) << status;
        expect_sound(*view);
        view->top_row = static_cast<uint16_t>(rng() % 40);
        view->hl_start = static_cast<uint16_t>(rng() % 300);
        view->hl_end = static_cast<uint16_t>(view->hl_start + rng() % 20);
        draw_view(view, DRAW_ERASE);
        dc->calls.clear();
        dc->measured.clear();
        dc->selected.clear();
    }
}

}  // namespace
}  // namespace lekta
