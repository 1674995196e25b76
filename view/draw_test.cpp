#include <gtest/gtest.h>

#include <random>

#include "platform/test/test_window.h"
#include "state/reader.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using testing_support::Lesson;
using testing_support::ViewTest;

using plat::DrawCall;

class DrawTest : public ViewTest {
  protected:
    std::vector<DrawCall> texts() const {
        std::vector<DrawCall> out;
        for (const auto& c : dc->calls)
            if (c.kind == DrawCall::TEXT) out.push_back(c);
        return out;
    }
    static std::string rect_of(const DrawCall& c) {
        return std::to_string(c.rect.left) + "," + std::to_string(c.rect.top) + "," +
               std::to_string(c.rect.right) + "," + std::to_string(c.rect.bottom);
    }
    void lines_of(int n, uint8_t style = 0x01) {
        Lesson lesson;
        for (int i = 0; i < n; ++i)
            lesson.add(style, 0, "ab");
        ASSERT_EQ(show(lesson), 0);
    }
};

TEST_F(DrawTest, PaintsLinesRulesAndStyleColours) {
    ASSERT_EQ(
        show(Lesson().add(0x81, 0, "ab").add(0x8C, 0, "cd").add(0xC7, 50, "").add(0x02, 0, "ef")),
        0);
    dc->text_color = 0x123456;
    ASSERT_EQ(draw_view(view, DRAW_ERASE), 0);
    ASSERT_GE(dc->calls.size(), 5u);
    EXPECT_EQ(dc->calls[0].kind, DrawCall::FILL);
    EXPECT_EQ(rect_of(dc->calls[0]), "0,0,100,160");
    EXPECT_EQ(dc->calls[0].color, COLOR_WHITE);
    auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].text, u"ab");
    EXPECT_EQ(rect_of(t[0]), "0,0,20,16");
    EXPECT_EQ(t[0].color, COLOR_BLACK);
    EXPECT_EQ(t[0].format, 0x825u);
    EXPECT_EQ(rect_of(t[1]), "0,32,20,52");  // after a blank row; large bold is blue
    EXPECT_EQ(t[1].color, COLOR_BLUE);
    EXPECT_EQ(t[1].font.weight, 700);
    EXPECT_EQ(rect_of(t[2]), "0,112,20,126");  // small, dark blue
    EXPECT_EQ(t[2].color, COLOR_DARK_BLUE);
    // The rule: a 1-pixel line across its width in the middle of its 20-pixel row.
    const DrawCall& rule = dc->calls[3];
    EXPECT_EQ(rule.kind, DrawCall::RECTANGLE);
    EXPECT_EQ(rect_of(rule), "25,82,75,83");
    EXPECT_EQ(view->rows_drawn, 7);
    // The dc is left as it was found.
    EXPECT_EQ(dc->text_color, 0x123456u);
    EXPECT_EQ(dc->font, nullptr);
}

TEST_F(DrawTest, PartialLinesAreNotDrawn) {
    view->height = 40;
    lines_of(3, 0x81);
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    EXPECT_EQ(texts().size(), 1u);  // the second line would end at 48
    EXPECT_EQ(view->rows_drawn, 2);
    EXPECT_EQ(dc->calls[0].kind, DrawCall::TEXT);  // no erase
}

TEST_F(DrawTest, TopRowOnABlankRowStartsOneRowLower) {
    ASSERT_EQ(show(Lesson().add(0x81, 0, "a").add(0x81, 0, "b").add(0x81, 0, "c")), 0);
    view->top_row = 1;
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, u"b");
    EXPECT_EQ(t[0].rect.top, 16);
    // Beyond the lesson, drawing pulls the top row back to the last full page.
    view->top_row = 9;
    draw_view(view, DRAW_OVER);
    EXPECT_EQ(view->top_row, view->max_top_row);
}

TEST_F(DrawTest, LabelsBesideTheFirstLine) {
    ASSERT_EQ(show(Lesson().add(0x31, 0x40, "lkji hgfe dcba 1")), 0);
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].text, u"1");  // right-aligned in the hanging area
    EXPECT_EQ(rect_of(t[0]), "90,0,100,16");
    EXPECT_EQ(t[1].text, u"hgfe dcba");
    EXPECT_EQ(rect_of(t[1]), "0,0,90,16");
    EXPECT_EQ(t[2].text, u"lkji");
    EXPECT_EQ(t[2].rect.left, 50);

    dc->calls.clear();
    ASSERT_EQ(show(Lesson().add(0x01, 0xC4, "12 abcd efgh ijkl")), 0);
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    t = texts();
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[0].text, u"12");
    EXPECT_EQ(rect_of(t[0]), "4,0,24,16");
    EXPECT_EQ(t[1].text, u"abcd");
    EXPECT_EQ(t[1].rect.left, 24);
}

TEST_F(DrawTest, HighlightAcrossTwoLines) {
    ASSERT_EQ(show(Lesson().add(0x01, 0, "abcd efgh ijkl")), 0);
    view->hl_start = 8;  // "fgh" on the first line, "ij" on the second
    view->hl_end = 14;
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    std::vector<DrawCall> marked;
    for (const auto& c : dc->calls)
        if (c.kind == DrawCall::TEXT && c.color == COLOR_BLUE) marked.push_back(c);
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0].text, u"fgh");
    EXPECT_EQ(rect_of(marked[0]), "60,0,90,16");
    EXPECT_EQ(marked[1].text, u"ij");
    EXPECT_EQ(rect_of(marked[1]), "0,16,20,32");
    int yellow = 0;
    for (const auto& c : dc->calls)
        yellow += c.kind == DrawCall::FILL && c.color == COLOR_YELLOW;
    EXPECT_EQ(yellow, 2);
    EXPECT_EQ(dc->text_color, COLOR_BLACK);
}

TEST_F(DrawTest, HighlightShowsTheWholeVisualLabel) {
    ASSERT_EQ(show(Lesson().add(0x31, 0x40, "lkji hgfe dcba 1")), 0);
    view->hl_start = 10;  // inside the first line's segment
    view->hl_end = 11;
    ASSERT_EQ(draw_highlight(view), 0);
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, u"1");
    EXPECT_EQ(t[0].color, COLOR_BLUE);
    EXPECT_EQ(t[1].text, u"e");
    EXPECT_EQ(rect_of(t[1]), "30,0,40,16");
}

TEST_F(DrawTest, ReverseTurnsDrawnRunsButNeverMeasuredOnes) {
    g_settings.font_spec.font_ascii_base = DEFAULT_FONT_ASCII_BASE;
    g_settings.flags = FLAG_REVERSE;
    ASSERT_EQ(show(Lesson().add(0x01, 0, "(12] 345678 9")), 0);
    ASSERT_FALSE(dc->measured.empty());
    EXPECT_EQ(dc->measured[0], u"(12] 345678 9");
    ASSERT_EQ(view->lines[0].count, 4);  // fit 10, broken back at the space
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    // Turned round and mirrored, numbers kept in their own order.
    EXPECT_EQ(t[0].text, u"[12)");
    EXPECT_EQ(t[1].text, u"9 345678");
    dc->calls.clear();
    g_settings.font_spec.font_ascii_base = 97;
    ASSERT_EQ(draw_view(view, DRAW_OVER), 0);
    EXPECT_EQ(texts()[0].text, u"(12]");
}

TEST_F(DrawTest, ScrollBy) {
    lines_of(3);  // shorter than the view
    EXPECT_EQ(view->max_top_row, 0);
    EXPECT_EQ(scroll_by(view, 9, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE), 1);
    EXPECT_EQ(view->top_row, 0);

    lines_of(30);  // 10 rows fit: max_top_row 20
    EXPECT_EQ(view->max_top_row, 20);
    view->top_row = 2;
    EXPECT_EQ(scroll_by(view, -9, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE), 0);
    EXPECT_EQ(view->top_row, 0);
    EXPECT_EQ(view->rows_drawn, 10);
    EXPECT_EQ(scroll_by(view, 0, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE), 1);
    EXPECT_EQ(scroll_by(view, 25, SCROLL_ONLY, STOP_AT_LAST_PAGE),
              3);  // with clamp a page step may pass the last page
    EXPECT_EQ(view->top_row, 25);
    EXPECT_EQ(scroll_by(view, 1, SCROLL_ONLY, STOP_AT_LAST_PAGE), 1);  // already at the end
    view->top_row = 10;
    EXPECT_EQ(scroll_by(view, 40, SCROLL_ONLY, STOP_AT_TEXT_END),
              3);  // past the end: the last full page
    EXPECT_EQ(view->top_row, 20);
    EXPECT_EQ(scroll_by(view, 0, SCROLL_ONLY, STOP_AT_TEXT_END), 1);
    EXPECT_EQ(scroll_by(nullptr, 1, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE), VIEW_MISSING);
}

TEST_F(DrawTest, TapsPageByHalvesOfTheView) {
    g_settings.flags = DEFAULT_FLAGS;
    lines_of(30);
    draw_view(view, DRAW_ERASE);
    ASSERT_EQ(view->rows_drawn, 10);
    EXPECT_EQ(tap_scroll(nullptr, view, 50, 100, SCROLL_ONLY),
              1);  // lower half: a page less one row
    EXPECT_EQ(view->top_row, 9);
    EXPECT_EQ(tap_scroll(nullptr, view, 50, 79, SCROLL_ONLY), 1);
    EXPECT_EQ(view->top_row, 0);
    EXPECT_EQ(tap_scroll(nullptr, view, 50, 170, SCROLL_ONLY), 0);  // outside the text
    g_reader.gutter = 10;
    EXPECT_EQ(tap_scroll(nullptr, view, 50, 170, SCROLL_ONLY), 1);  // inside the gutter
    g_settings.flags = (DEFAULT_FLAGS & ~FLAG_TAP_VERTICAL & ~TAP_PAGE_MODE) | (2u << 24);
    view->top_row = 0;
    EXPECT_EQ(tap_scroll(nullptr, view, 60, 10, SCROLL_ONLY), 1);  // right half, half a page
    EXPECT_EQ(view->top_row, 5);
    g_settings.flags &= ~FLAG_TAP_PAGING;
    EXPECT_EQ(tap_scroll(nullptr, view, 60, 10, SCROLL_ONLY), 0);
}

// A page step moves by the rows the view's height holds, whatever the last draw fitted: near the
// end of a lesson that is only the rows left.
TEST_F(DrawTest, APageIsTheRowsTheViewHolds) {
    g_settings.flags = DEFAULT_FLAGS;
    lines_of(11);  // one line longer than the view's 10 rows
    EXPECT_EQ(rows_in_view(*view), 10);
    EXPECT_EQ(rows_fitting(*view, 0), 10);
    EXPECT_EQ(rows_fitting(*view, 9), 10);  // 2 rows of text, 8 below its end
    ASSERT_EQ(scroll_by(view, page_step(*view, true, 1), SCROLL_AND_DRAW, STOP_AT_LAST_PAGE), 0);
    EXPECT_EQ(view->top_row, 9);  // a page step may leave room below the end
    EXPECT_EQ(view->rows_drawn, 2);
    // A tap in the upper half comes all the way back, and again from a cold start.
    EXPECT_EQ(tap_scroll(nullptr, view, 50, 10, SCROLL_AND_DRAW), 1);
    EXPECT_EQ(view->top_row, 0);
    view->top_row = 9;
    view->last_page = {};
    EXPECT_EQ(page_step(*view, false, 1), -9);
    EXPECT_EQ(page_step(*view, true, 2), 5);  // half pages

    // Large rows on screen: fewer rows fit, and the step keeps the last one in sight.
    Lesson mixed;
    for (int i = 0; i < 20; ++i)
        mixed.add(i % 2 ? 0x01 : 0x0C, 0, "ab");
    ASSERT_EQ(show(mixed), 0);
    view->top_row = 0;
    draw_view(view, DRAW_ERASE);
    EXPECT_EQ(view->rows_drawn, 8);  // 20 + 16 pixels a pair
    EXPECT_EQ(rows_fitting(*view, 0), 8);
    EXPECT_EQ(page_step(*view, true, 1), 7);
    EXPECT_EQ(rows_in_view(*view), 10);         // the thumb's share is of body rows
    ASSERT_EQ(set_view_size(view, 100, 7), 0);  // less than a row: still a step of one
    EXPECT_EQ(rows_in_view(*view), 1);
    EXPECT_EQ(rows_fitting(*view, 0), 0);
    EXPECT_EQ(page_step(*view, true, 1), 1);
}

// Over lessons of mixed row heights: a step forward never skips a row and keeps the last whole
// row in sight; a step back from there returns to the same top row.
TEST_F(DrawTest, PageStepsNeverSkipARowAndComeBack) {
    std::mt19937 random(11);
    const uint8_t styles[] = {0x01, 0x81, 0x0C, 0x8C, 0x02, 0x82};
    for (int round = 0; round < 20; ++round) {
        Lesson lesson;
        for (int i = 0; i < 40; ++i)
            lesson.add(styles[random() % 6], 0, "ab");
        ASSERT_EQ(show(lesson), 0);
        for (uint32_t mode : {1u, 2u}) {
            for (int top = 0; top <= view->total_rows; ++top) {
                view->top_row = static_cast<uint16_t>(top);
                view->last_page = {};
                const int32_t fit = rows_fitting(*view, top);
                const int32_t step = page_step(*view, true, mode);
                ASSERT_GE(step, 1);
                ASSERT_LE(step, std::max(fit - 1, 1)) << round << " " << top;
                view->top_row = static_cast<uint16_t>(top + step);
                ASSERT_EQ(page_step(*view, false, mode), -step) << round << " " << top;
                // Without the step remembered, back still shows the row it left at the bottom.
                view->last_page = {};
                const int32_t back = top + step + page_step(*view, false, mode);
                ASSERT_LE(back, top);
                ASSERT_GE(back + rows_fitting(*view, back) - 1, top + step);
            }
        }
    }
}

TEST_F(DrawTest, TheThumbShowsThePage) {
    plat::Window window;
    g_reader.main_window = &window;
    g_settings.flags = DEFAULT_FLAGS;
    lines_of(30);
    view->top_row = 4;
    update_scroll_bar(nullptr);
    ASSERT_EQ(window.scroll_calls.size(), 1u);
    EXPECT_EQ(window.scroll_calls[0].min, 0);
    EXPECT_EQ(window.scroll_calls[0].max, 20);
    EXPECT_EQ(window.scroll_calls[0].pos, 4);
    EXPECT_EQ(window.scroll_calls[0].page, 10);
    g_reader.main_window = nullptr;
}

TEST(PageAmount, ByMode) {
    EXPECT_EQ(page_amount(12, 1), 11);
    EXPECT_EQ(page_amount(12, 2), 6);
    EXPECT_EQ(page_amount(11, 4), 5);
    EXPECT_EQ(page_amount(11, 3), 10);
    EXPECT_EQ(page_amount(0, 1), 1);  // a magnitude: never a step the wrong way
    EXPECT_EQ(page_amount(1, 1), 1);  // nor none at all
    EXPECT_EQ(page_amount(1, 2), 1);
}

}  // namespace
}  // namespace lekta
