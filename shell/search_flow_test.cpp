// Search Again and Enter over a whole test book: hits in the lesson shown, in later lessons and
// across the year's end, wrapping round, and a word that is nowhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "search/search.h"
#include "shell/reader_test_support.h"
#include "view/frame.h"

namespace lekta {
namespace {

using testing_support::lesson_with_word;
using testing_support::make_test_book;
using testing_support::ReaderTest;
using testing_support::TestBook;

constexpr int32_t YEAR = 5785;  // regular from Nisan on

class SearchFlowTest : public ReaderTest {
  protected:
    void start_on(const TestBook& book, int32_t month, int32_t day, int32_t year = YEAR) {
        start(book, day_number_from_hebrew(month, day, year));
    }
    static void set_search(const char* word) {
        std::memset(g_settings.search_string, 0, sizeof g_settings.search_string);
        std::memcpy(g_settings.search_string, word, std::strlen(word));
    }
    // The highlighted bytes of the shown lesson.
    std::string highlighted() const {
        const TextView* v = view();
        return std::string(reinterpret_cast<const char*>(v->text.bytes.get()) + v->hl_start,
                           v->hl_end - v->hl_start);
    }
    bool drew_highlight_and_caption_box() const {
        const auto& calls = window->dc->calls;
        const bool highlight = std::any_of(calls.begin(), calls.end(), [](const auto& c) {
            return c.kind == plat::DrawCall::TEXT && c.color == COLOR_BLUE &&
                   c.background == COLOR_YELLOW;
        });
        const bool frame = std::any_of(calls.begin(), calls.end(), [](const auto& c) {
            return c.kind == plat::DrawCall::RECTANGLE && c.color == COLOR_RED;
        });
        return highlight && frame;
    }
};

TEST_F(SearchFlowTest, HitInALaterLessonMovesTheDayAndShowsIt) {
    TestBook book = make_test_book(false);
    book.lessons[0x0314] = lesson_with_word(0x0314, "wxyz");
    start_on(book, 3, 10);
    set_search("xy");
    window->dc->calls.clear();
    command(CMD_SEARCH_AGAIN);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(0x0314, shown_key());
    EXPECT_EQ(0x0314, g_settings.current_lesson);
    EXPECT_EQ(day_number_from_hebrew(3, 20, YEAR), g_settings.current_day);
    EXPECT_EQ("xy", highlighted());
    EXPECT_TRUE(drew_highlight_and_caption_box());
    // The hit's line is the top line as far as the view scrolls.
    EXPECT_EQ(std::min<uint16_t>(8, view()->max_top_row), view()->top_row);
}

TEST_F(SearchFlowTest, OnlyOccurrenceIsFoundAgainAfterTheWholeYear) {
    TestBook book = make_test_book(false);
    book.lessons[0x0314] = lesson_with_word(0x0314, "wxyz");
    start_on(book, 3, 10);
    set_search("wx");
    key(plat::VK_RETURN);
    ASSERT_EQ(0x0314, shown_key());
    const uint16_t start = view()->hl_start, end = view()->hl_end;
    key(plat::VK_RETURN);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(0x0314, shown_key());
    EXPECT_EQ(start, view()->hl_start);
    EXPECT_EQ(end, view()->hl_end);
    EXPECT_EQ(day_number_from_hebrew(3, 20, YEAR), g_settings.current_day);
}

TEST_F(SearchFlowTest, EarlierHitInTheShownLessonComesAfterAllOthers) {
    TestBook book = make_test_book(false);
    book.lessons[0x030A] = lesson_with_word(0x030A, "xyz");
    book.lessons[0x0402] = lesson_with_word(0x0402, "xyz");
    start_on(book, 3, 10);
    set_search("?z");
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(0x030A, shown_key());
    EXPECT_EQ("yz", highlighted());
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(0x0402, shown_key());
    EXPECT_EQ(day_number_from_hebrew(4, 2, YEAR), g_settings.current_day);
    // Round the year, back to the first lesson, on the next day that reads it.
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(0x030A, shown_key());
    EXPECT_EQ(day_number_from_hebrew(3, 10, YEAR + 1), g_settings.current_day);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchFlowTest, HitPastTheYearsEndIsDatedInTheNextYear) {
    TestBook book = make_test_book(false);
    book.lessons[0x0702] = lesson_with_word(0x0702, "xyz");
    start_on(book, 6, 20);
    set_search("xyz");
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(0x0702, shown_key());
    const DateRecord date = hebrew_from_day_number(g_settings.current_day);
    EXPECT_EQ(7, date.month);
    EXPECT_EQ(2, date.day);
    EXPECT_EQ(YEAR + 1, date.year);
}

TEST_F(SearchFlowTest, NoHitChangesNothing) {
    TestBook book = make_test_book(false);
    start_on(book, 3, 10);
    set_search("qq");
    view()->top_row = 2;
    const int32_t day = g_settings.current_day;
    window->dc->calls.clear();
    command(CMD_SEARCH_AGAIN);
    ASSERT_EQ(1u, boxes().size());
    EXPECT_EQ(u"Not Found!", boxes()[0].text);
    EXPECT_EQ(u"Lekta", boxes()[0].caption);
    EXPECT_EQ(plat::MB_OK, boxes()[0].style);
    EXPECT_EQ(window, boxes()[0].owner);
    EXPECT_EQ(day, g_settings.current_day);
    EXPECT_EQ(0x030A, shown_key());
    EXPECT_EQ(2, view()->top_row);
    EXPECT_EQ(0, view()->hl_end);
    EXPECT_TRUE(window->dc->calls.empty());
}

TEST_F(SearchFlowTest, EmptySearchStringDoesNothing) {
    start_on(make_test_book(false), 3, 10);
    key(plat::VK_RETURN);
    command(CMD_SEARCH_AGAIN);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(0x030A, shown_key());
}

TEST_F(SearchFlowTest, LeadingStarFindsNothing) {
    TestBook book = make_test_book(false);
    book.lessons[0x0314] = lesson_with_word(0x0314, "wxyz");
    start_on(book, 3, 10);
    set_search("*yz");
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(1u, boxes().size());
    set_search("w*z");
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(1u, boxes().size());
    EXPECT_EQ("wxyz", highlighted());
}

}  // namespace
}  // namespace lekta
