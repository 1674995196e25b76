// The reader's desktop commands over the test backend: the window's title through day changes.
#include <gtest/gtest.h>

#include <functional>

#include "export/flat_text.h"
#include "shell/reader_test_support.h"
#include "shell/window_title.h"
#include "shell/zoom.h"

namespace lekta {
namespace {

class DesktopCommandsTest : public testing_support::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        book = testing_support::make_test_book(true);
    }
    testing_support::TestBook book;
};

bool all_hebrew_letters_unicode(const std::u16string& text) {
    for (char16_t c : text)
        if (c > 0x7F && c != 0x2014 && c != 0x05F3 && c != 0x05F4 && (c < 0x05D0 || c > 0x05EA))
            return false;
    return true;
}

// The title names the lesson, the Hebrew date, the civil date and the program, follows every
// day change, and stays Unicode Hebrew whatever base the window draws its letters at.
TEST_F(DesktopCommandsTest, TitleFollowsTheDay) {
    struct Case {
        int32_t font_base;
        uint16_t command;
        const char16_t* civil;
    };
    const Case cases[] = {{DEFAULT_FONT_ASCII_BASE, 0, u"13 November 2012"},
                          {DEFAULT_FONT_ASCII_BASE, CMD_NEXT_DAY, u"14 November 2012"},
                          {0xE0, CMD_PREVIOUS_DAY, u"13 November 2012"},
                          {0xE0, CMD_PREVIOUS_DAY, u"12 November 2012"}};
    g_settings.font_spec.font_ascii_base = cases[0].font_base;
    start(book, civil_day(2012, 11, 13));
    for (const Case& c : cases) {
        g_settings.font_spec.font_ascii_base = c.font_base;
        if (c.command) dispatch_command(window, c.command);
        const std::u16string& title = window->title;
        const LessonHeading heading = lesson_heading(view()->text.span());
        ASSERT_FALSE(heading.title.empty());
        EXPECT_EQ(title.rfind(heading.title + u" \u2014 ", 0), 0u);
        const std::u16string date =
            unicode_date_text(g_settings.date_text, g_settings.date_text_length);
        EXPECT_NE(title.find(u" \u2014 " + date + u" \u2014 "), std::u16string::npos);
        EXPECT_NE(title.find(std::u16string(c.civil) + u" \u2014 Lekta"), std::u16string::npos);
        EXPECT_TRUE(all_hebrew_letters_unicode(title));
    }
    EXPECT_EQ(window_title({}, u"", {}), u"Lekta");
}

// Zoom steps through the chooser's sizes from keys and Ctrl+wheel, Ctrl+0 goes back to the
// start size, the line at the top stays there and the scroll bar follows the new layout.
TEST_F(DesktopCommandsTest, ZoomStepsThroughTheOfferedSizes) {
    book = testing_support::make_test_book(true, [](uint16_t) { return 40; });
    g_settings.font_spec.font_size = 16;
    note_start_font_size(16);
    start(book, civil_day(2012, 11, 13));
    view()->top_row = 9;
    const uint32_t anchor = top_line_offset(*view());
    const auto wheel = [this](int notches) {
        plat::send_message(window, plat::WM_MOUSEWHEEL,
                           plat::MK_CONTROL | (uintptr_t(uint16_t(int16_t(notches * 120))) << 16),
                           0);
    };
    struct Step {
        std::function<void()> act;
        int32_t size;
    };
    const Step steps[] = {{[&] { dispatch_command(window, CMD_ZOOM_IN); }, 18},
                          {[&] { wheel(1); }, 20},
                          {[&] { dispatch_command(window, CMD_ZOOM_OUT); }, 18},
                          {[&] { wheel(-1); }, 16},
                          {[&] { wheel(-1); }, 14},
                          {[&] { dispatch_command(window, CMD_ZOOM_RESET); }, 16}};
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(g_settings.font_spec.font_size, step.size);
        EXPECT_EQ(view()->font_spec.font_size, step.size);
        EXPECT_EQ(view()->row_height, step.size);
        // The top line holds the byte that was at the top before.
        const uint32_t top = top_line_offset(*view());
        EXPECT_LE(top, anchor);
        EXPECT_GT(view()->top_row, 0);
        EXPECT_LE(view()->top_row, view()->max_top_row);
        ASSERT_FALSE(window->scroll_calls.empty());
        EXPECT_EQ(window->scroll_calls.back().max, view()->max_top_row);
        EXPECT_EQ(window->scroll_calls.back().pos, view()->top_row);
    }
    // The ends of the list, and the platform's default size.
    EXPECT_EQ(zoom_size(72, 1), 72);
    EXPECT_EQ(zoom_size(10, -1), 10);
    EXPECT_EQ(zoom_size(0, 1), 18);
    EXPECT_EQ(zoom_size(13, -1), 12);
    // A plain wheel message is the platform's scrolling, not a zoom.
    plat::send_message(window, plat::WM_MOUSEWHEEL, uintptr_t(120) << 16, 0);
    EXPECT_EQ(g_settings.font_spec.font_size, 16);
}

}  // namespace
}  // namespace lekta
