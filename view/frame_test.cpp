#include "view/frame.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/test/test_window.h"
#include "state/reader.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using plat::DrawCall;
using testing_support::Lesson;
using testing_support::ViewTest;

std::string rect_of(const plat::Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class FrameTest : public ViewTest {
  protected:
    void TearDown() override {
        plat::delete_font(g_reader.strip_font);
        g_choose_date = nullptr;
        g_go_to_day = nullptr;
        ViewTest::TearDown();
    }
    // The frame of a 240 x 268 client area, and a view over what it leaves for the text.
    plat::Rect open_frame(int32_t gutter, int32_t bar, int32_t bar_at_bottom) {
        g_reader.gutter = gutter;
        g_reader.bar_height = bar;
        g_reader.menu_bar_mode = bar_at_bottom;
        plat::Rect rect = init_frame(dc, {0, 0, 240, 268});
        destroy_view(view, true);
        view = create_view(dc, &rect, g_settings.font_spec, 100);
        g_reader.view = view;
        LessonText text = Lesson().add(0x81, 0, "abc").build();
        set_text(view, &text, TAKE_TEXT);
        return rect;
    }
    std::string strip() const {
        const Reader& r = g_reader;
        return rect_of({r.strip_left, r.strip_top, r.strip_left + r.strip_width,
                        r.strip_top + r.strip_height});
    }
    std::string view_rect() const {
        return rect_of({view->left, view->top, view->left + view->width, view->top + view->height});
    }
};

TEST_F(FrameTest, GeometryWithTheBarOnTop) {
    EXPECT_EQ(rect_of(open_frame(0, 26, 0)), "0,26,240,252");
    EXPECT_EQ(strip(), "0,252,240,268");  // the 14-pixel font and a pixel above and below
    EXPECT_EQ(g_reader.strip_font != nullptr, true);
    EXPECT_EQ(dc->font, nullptr);
    resize_frame(nullptr, 240, 268);  // the same size: nothing moves
    EXPECT_EQ(view_rect(), "0,26,240,252");
    resize_frame(nullptr, 200, 300);
    EXPECT_EQ(strip(), "0,284,200,300");
    EXPECT_EQ(view_rect(), "0,26,200,284");
}

TEST_F(FrameTest, WithTheBarAtTheBottomTheStripMovesAboveTheText) {
    EXPECT_EQ(rect_of(open_frame(0, 26, 1)), "0,0,240,226");
    EXPECT_EQ(strip(), "0,226,240,242");
    resize_frame(nullptr, 240, 268);
    EXPECT_EQ(g_reader.strip_top, 0);
    EXPECT_EQ(view_rect(), "0,16,240,242");
}

TEST_F(FrameTest, GutterIsTheSameAtCreationAndOnResize) {
    EXPECT_EQ(rect_of(open_frame(4, 26, 0)), "4,30,236,248");
    EXPECT_EQ(strip(), "0,252,240,268");
    resize_frame(nullptr, 240, 268);
    EXPECT_EQ(strip(), "0,252,240,268");
    EXPECT_EQ(view_rect(), "4,30,236,248");
}

TEST_F(FrameTest, DateTextIsFittedAndPaintedInTheStrip) {
    std::memset(g_reader.date_text, 'a', 30);
    g_reader.date_text_length = 30;
    open_frame(0, 26, 0);
    EXPECT_EQ(g_reader.date_count, 24);  // 240 pixels of 10-pixel characters
    dc->calls.clear();
    paint_window(dc, nullptr, PAINT_EVERYTHING);
    ASSERT_GE(dc->calls.size(), 4u);
    EXPECT_EQ(dc->calls[0].kind, DrawCall::FILL);  // the view, erased
    EXPECT_EQ(rect_of(dc->calls[0].rect), "0,26,240,252");
    const DrawCall& ground = dc->calls[dc->calls.size() - 2];
    EXPECT_EQ(ground.color, COLOR_CYAN);
    EXPECT_EQ(rect_of(ground.rect), "0,252,240,268");
    const DrawCall& date = dc->calls.back();
    EXPECT_EQ(date.text, std::u16string(24, u'a'));
    EXPECT_EQ(rect_of(date.rect), "1,253,239,267");
    EXPECT_TRUE(date.transparent);
    EXPECT_EQ(date.font.height, 14);
    dc->calls.clear();
    paint_window(dc, nullptr, 0);  // the strip alone
    EXPECT_EQ(dc->calls.size(), 2u);
}

TEST_F(FrameTest, RepaintDrawsThroughTheWindowAndSetsTheScrollBar) {
    plat::Window window;
    window.dc = dc;
    g_reader.main_window = &window;
    g_settings.flags = 0x40;
    open_frame(0, 26, 0);
    Lesson lesson;
    for (int i = 0; i < 20; ++i)
        lesson.add(0x01, 0, "ab");
    LessonText text = lesson.build();
    ASSERT_EQ(set_text(view, &text, TAKE_TEXT), 0);
    ASSERT_EQ(view->max_top_row, 6);  // 14 rows of 16 pixels fit 226
    view->top_row = 2;
    dc->calls.clear();
    repaint_window(nullptr, PAINT_EVERYTHING);
    EXPECT_EQ(window.dc_gets, 1);
    EXPECT_EQ(window.dc_releases, 1);
    EXPECT_EQ(dc->calls.front().color, COLOR_WHITE);
    EXPECT_EQ(dc->calls.back().color, COLOR_CYAN);  // the strip, last
    ASSERT_EQ(window.scroll_calls.size(), 1u);
    EXPECT_EQ(window.scroll_calls[0].max, 6);
    EXPECT_EQ(window.scroll_calls[0].pos, 2);
    paint_window(nullptr, &window, 0);
    EXPECT_EQ(window.dc_releases, 2);
    g_settings.flags = 0;  // no scroll bar
    repaint_window(&window, PAINT_EVERYTHING);
    EXPECT_EQ(window.scroll_calls.size(), 1u);
}

int32_t g_picked = 0;
int32_t g_asked_with = 0;
int32_t g_went_to = 0;

TEST_F(FrameTest, StripTapOpensTheCalendarTextTapPages) {
    g_settings.flags = DEFAULT_FLAGS;
    g_settings.current_day = 700000;
    open_frame(0, 26, 0);
    handle_tap(nullptr, 5, 260);  // no calendar yet: nothing
    g_choose_date = [](plat::Window*, int32_t day) {
        g_asked_with = day;
        return g_picked;
    };
    g_go_to_day = [](plat::Window*, int32_t day) {
        g_went_to = day;
        return 0;
    };
    g_picked = 700000;
    handle_tap(nullptr, 5, 260);
    EXPECT_EQ(g_asked_with, 700000);
    EXPECT_EQ(g_went_to, 0);  // the same day
    g_picked = 700005;
    handle_tap(nullptr, 239, 268);
    EXPECT_EQ(g_went_to, 700005);
    g_asked_with = 0;
    handle_tap(nullptr, 5, 100);  // in the text: pages, no calendar
    EXPECT_EQ(g_asked_with, 0);
}

TEST_F(FrameTest, CaptionBox) {
    auto box_of = [&](const Lesson& lesson) {
        LessonText text = lesson.build();
        set_text(view, &text, TAKE_TEXT);
        dc->calls.clear();
        draw_caption_box(view);
        std::vector<std::string> out;
        for (const auto& c : dc->calls) {
            std::string s = rect_of(c.rect);
            if (c.kind == DrawCall::TEXT) s += " " + std::string(c.text.begin(), c.text.end());
            out.push_back(s);
        }
        return out;
    };
    auto both = box_of(Lesson().add(0xDC, 0, "abc").add(0xD1, 0, "de").add(0xB1, 0, "f"));
    std::vector<std::string> expected = {"17,120,83,158",     "18,121,82,157",   "19,122,81,156",
                                         "20,123,80,155",     "21,124,79,154",   "22,125,78,153",
                                         "35,125,65,139 abc", "40,139,60,153 de"};
    EXPECT_EQ(both, expected);
    EXPECT_EQ(dc->calls[0].color, COLOR_RED);
    EXPECT_EQ(dc->calls[2].color, COLOR_WHITE);
    EXPECT_EQ(dc->calls[4].color, COLOR_BLUE);
    EXPECT_EQ(dc->calls[5].color, COLOR_YELLOW);
    EXPECT_EQ(dc->calls[6].color, COLOR_RED);
    EXPECT_EQ(dc->font, nullptr);

    auto title = box_of(Lesson().add(0xDC, 0, "abc").add(0xB1, 0, "f"));
    ASSERT_EQ(title.size(), 7u);
    EXPECT_EQ(title[0], "17,134,83,158");
    EXPECT_EQ(title[6], "35,139,65,153 abc");
    auto subtitle = box_of(Lesson().add(0xD1, 0, "de").add(0xB1, 0, "f"));
    ASSERT_EQ(subtitle.size(), 7u);
    EXPECT_EQ(subtitle[6], "40,139,60,153 de");
    EXPECT_TRUE(box_of(Lesson().add(0xB1, 0, "abc")).empty());
    // A title as wide as the view overhangs the narrower box evenly.
    auto wide = box_of(Lesson().add(0xDC, 0, "abcdefghijkl"));
    EXPECT_EQ(wide.back(), "0,139,100,153 abcdefghij");
}

}  // namespace
}  // namespace lekta
