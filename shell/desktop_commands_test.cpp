// The reader's desktop commands over the test backend: the window's title through day changes.
#include <gtest/gtest.h>

#include "export/flat_text.h"
#include "shell/reader_test_support.h"
#include "shell/window_title.h"

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

}  // namespace
}  // namespace lekta
