// The reader's desktop commands over the test backend: the window's title through day changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>

#include "export/flat_text.h"
#include "export/ics.h"
#include "platform/test/test_file_dialog.h"
#include "shell/reader_test_support.h"
#include "shell/startup.h"
#include "shell/window_title.h"
#include "shell/zoom.h"
#include "state/reader.h"
#include "state/registry.h"
#include "view/palette.h"

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
        if (c > 0x7F && c != 0x2014 && c != 0x200E && c != 0x05F3 && c != 0x05F4 &&
            (c < 0x05D0 || c > 0x05EA))
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
        const std::u16string sep = TITLE_SEPARATOR;
        EXPECT_EQ(title.rfind(u"\u200E" + heading.title + sep, 0), 0u);
        const std::u16string date =
            unicode_date_text(g_reader.date_text, g_reader.date_text_length);
        EXPECT_NE(title.find(sep + date + sep), std::u16string::npos);
        EXPECT_NE(title.find(std::u16string(c.civil) + sep + u"Lekta"), std::u16string::npos);
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

// WCAG contrast of two 0x00BBGGRR colours.
double contrast(plat::Colorref a, plat::Colorref b) {
    auto luminance = [](plat::Colorref c) {
        double sum = 0;
        const double weights[3] = {0.2126, 0.7152, 0.0722};  // red, green, blue
        for (int i = 0; i < 3; ++i) {
            const double v = ((c >> (8 * i)) & 0xFF) / 255.0;
            sum += weights[i] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Both palettes keep every pair of text and ground readable; the dark one is dark.
TEST_F(DesktopCommandsTest, BothPalettesAreReadable) {
    EXPECT_EQ(LIGHT_PALETTE.ground, COLOR_WHITE);  // the reader's own colours
    EXPECT_EQ(LIGHT_PALETTE.strip_ground, COLOR_CYAN);
    EXPECT_EQ(LIGHT_PALETTE.highlight_ground, COLOR_YELLOW);
    for (const Palette* p : {&LIGHT_PALETTE, &DARK_PALETTE}) {
        EXPECT_GE(contrast(p->text, p->ground), 7.0);
        EXPECT_GE(contrast(p->large_text, p->ground), 4.5);
        EXPECT_GE(contrast(p->small_text, p->ground), 4.5);
        EXPECT_GE(contrast(p->highlight_text, p->highlight_ground), 4.5);
        EXPECT_GE(contrast(p->strip_text, p->strip_ground), 4.5);
        EXPECT_GE(contrast(p->caption_text, p->caption_ground), 3.5);
        EXPECT_GE(contrast(p->selection_text, p->selection_ground), 4.5);
        EXPECT_GE(contrast(p->selection_ground, p->ground), 1.5);
        EXPECT_NE(p->selection_ground, p->highlight_ground);
    }
    // The highlight stands out of the dark ground by lightness (yellow on white, by hue).
    EXPECT_GE(contrast(DARK_PALETTE.highlight_ground, DARK_PALETTE.ground), 1.5);
    EXPECT_LT(contrast(DARK_PALETTE.ground, 0x000000), 1.5);
}

// Night follows the desktop until chosen by hand; from then on the choice is kept.
TEST_F(DesktopCommandsTest, NightFollowsTheDesktopOrTheUsersChoice) {
    struct Case {
        bool desktop_dark;
        int32_t stored;  // -1: none
        bool dark_at_start;
        int32_t night_after_toggle;
    };
    const Case cases[] = {{false, -1, false, 1},
                          {true, -1, true, 2},
                          {false, 1, true, 2},
                          {true, 2, false, 1},
                          {false, 7, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        testplat::desktop_dark() = c.desktop_dark;
        auto& stored = testplat::registry()[SETTINGS_KEY];
        stored.erase(u"Night");
        if (c.stored >= 0) stored[u"Night"] = testing_support::dword(uint32_t(c.stored));
        stored[u"FontName"] = {plat::REG_SZ, {'A', 0, 0, 0}};
        g_settings = Settings{};
        g_reader = Reader{};
        use_test_book(book);
        window = init_instance(civil_day(2012, 11, 13), "");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(dark_palette_in_use(), c.dark_at_start);
        EXPECT_EQ(testplat::widgets_dark(), c.dark_at_start);
        EXPECT_EQ(plat::menu_item_checked(main_menu(), CMD_NIGHT), c.dark_at_start);
        dispatch_command(window, CMD_NIGHT);
        EXPECT_EQ(dark_palette_in_use(), !c.dark_at_start);
        EXPECT_EQ(g_settings.night, c.night_after_toggle);
        dispatch_command(window, CMD_EXIT);
        window = nullptr;
        EXPECT_EQ(stored[u"Night"].bytes,
                  testing_support::dword(uint32_t(c.night_after_toggle)).bytes);
        if (g_reader.view) destroy_view(g_reader.view, true);
        g_reader = Reader{};
        use_dark_palette(false);
    }
}

// Export Year to Calendar writes the year of the current day where the user chose, and
// nothing when the dialog is cancelled.
TEST_F(DesktopCommandsTest, ExportYearWritesTheChosenFile) {
    start(book, civil_day(2026, 12, 8));
    const std::string path = ::testing::TempDir() + "lekta-export-test.ics";
    std::remove(path.c_str());
    dispatch_command(window, CMD_EXPORT_YEAR);  // cancelled
    EXPECT_EQ(testplat::save_dialog().opened, 1);
    EXPECT_EQ(testplat::save_dialog().suggested_name, u"lekta-5787.ics");
    EXPECT_FALSE(std::ifstream(path).good());
    testplat::save_dialog().answer = path;
    dispatch_command(window, CMD_EXPORT_YEAR);
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, year_calendar(5787, text.substr(text.find("DTSTAMP:") + 8, 16)));
    size_t events = 0;
    for (size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos;
         at = text.find("BEGIN:VEVENT", at + 1))
        ++events;
    EXPECT_EQ(events, 385u);
    EXPECT_TRUE(boxes().empty());
    testplat::save_dialog().answer = "/nonexistent-folder/x.ics";
    dispatch_command(window, CMD_EXPORT_YEAR);
    EXPECT_EQ(boxes().size(), 1u);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace lekta
