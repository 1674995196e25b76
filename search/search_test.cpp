#include "search/search.h"

#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using testing_support::Lesson;
using testing_support::ViewTest;

// Paragraphs of one line each (a blank row after each), ten rows to a page.
class ResumeTest : public ViewTest {
  protected:
    void SetUp() override {
        ViewTest::SetUp();
        Lesson lesson;
        for (const char* p : {"aaaa", "bbbb", "cccc", "dddd", "eeee", "ffff", "gggg", "hhhh"})
            lesson.add(0xB1, 0, p);
        ASSERT_EQ(show(lesson), LAYOUT_OK);
        ASSERT_GT(view->max_top_row, 2);
    }
    // Paragraph i's text starts at 2 + 7 i.
    static uint16_t first_byte(int i) { return static_cast<uint16_t>(2 + 7 * i); }
    void highlight(uint16_t start, uint16_t end) {
        view->hl_start = start;
        view->hl_end = end;
    }
};

TEST_F(ResumeTest, NothingHighlightedStartsWithTheTopLine) {
    EXPECT_EQ(resume_position(*view), first_byte(0) + 3u);
    view->top_row = 4;
    EXPECT_EQ(resume_position(*view), first_byte(2) + 3u);
    // On the last page too (the current lesson is searched, not passed over).
    view->top_row = view->max_top_row;
    const uint32_t top = first_byte((view->max_top_row + 1) / 2) + 3u;
    EXPECT_EQ(resume_position(*view), top);
}

TEST_F(ResumeTest, TopRowOnABlankRowStartsWithTheNextLine) {
    view->top_row = 3;
    EXPECT_EQ(resume_position(*view), first_byte(2) + 3u);
}

TEST_F(ResumeTest, HitOffThePageStartsWithTheTopLine) {
    highlight(first_byte(0), first_byte(0) + 2);
    view->top_row = 2;
    EXPECT_EQ(resume_position(*view), first_byte(1) + 3u);
}

TEST_F(ResumeTest, HitOnTheTopLineGoesOnPastIt) {
    // A hit inside the line: just below its first byte.
    highlight(first_byte(1) + 2, first_byte(1) + 4);
    view->top_row = 2;
    EXPECT_EQ(resume_position(*view), first_byte(1) + 1u);
    // A hit that starts the top line: from the end of the line after it.
    highlight(first_byte(1), first_byte(1) + 2);
    EXPECT_EQ(resume_position(*view), first_byte(2) + 4u);
}

TEST_F(ResumeTest, HitStartingItsParagraphBelowTheTopLine) {
    // On the last page the hit need not be on top; resuming before the paragraph would find
    // the same hit again.
    view->top_row = view->max_top_row;
    const int last = 7;
    highlight(first_byte(last), first_byte(last) + 1);
    EXPECT_EQ(resume_position(*view), first_byte(last) + 5u);
    EXPECT_FALSE(search_text(view->text.span(), resume_position(*view),
                             std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("h"), 1)));
}

TEST_F(ResumeTest, PageBeyondTheTextResumesPastItsEnd) {
    view->top_row = 40;
    EXPECT_EQ(resume_position(*view), view->text.length);
}

class LessonDateTest : public ::testing::Test {
  protected:
    void SetUp() override { g_settings = Settings{}; }
    void TearDown() override { g_settings = Settings{}; }
    static DateRecord date_of(int32_t day) { return hebrew_from_day_number(day); }
    static uint16_t key(int32_t month, int32_t day, bool leap) {
        return static_cast<uint16_t>((leap ? 0x1000 : 0) | month << 8 | day);
    }
};

// From start days in both kinds of year, before and after Tishri, in short and long months:
// a hit in any lesson is dated on the first day from the current one that reads that lesson.
TEST_F(LessonDateTest, HitIsDatedOnTheFirstDayThatReadsItsLesson) {
    const DateRecord starts[] = {{8, 5, 5785},  {3, 10, 5785}, {10, 1, 5774},
                                 {8, 28, 5773}, {9, 19, 5787}, {12, 15, 5784}};
    for (const DateRecord& start : starts) {
        g_settings.hebrew_date = start;
        const int32_t from = day_number_from_hebrew(start.month, start.day, start.year);
        for (int32_t month = 1; month <= 13; ++month) {
            for (int32_t slot : {1, 18, 19, 29, 30, 31}) {
                if (slot == 31 && month != 8 && month != 9) continue;
                for (bool leap : {false, true}) {
                    if (month == 13 && !leap) continue;
                    const uint16_t k = key(month, slot, leap);
                    if (first_day_reading(k, from) == 0) continue;  // no month has that day
                    const int32_t day = day_of_lesson_ahead(k);
                    ASSERT_GE(day, from) << std::hex << k;
                    ASSERT_EQ(lesson_key_of_date(date_of(day)), k) << std::hex << k;
                    ASSERT_EQ(first_day_reading(k, from), day);
                    // No earlier day of the same month reads it.
                    for (int32_t y = start.year - 1; date_of(day).year > y; ++y) {
                        const int32_t d = day_number_from_hebrew(month, slot == 31 ? 29 : slot, y);
                        if (d >= from && d < day) {
                            EXPECT_NE(lesson_key_of_date(date_of(d)), k) << std::hex << k;
                        }
                    }
                }
            }
        }
    }
    // A lesson after Adar, seen from 1 Tevet of a year with two Adars, is read in that very
    // schedule year (not on the same month and day of the Hebrew year's other part).
    g_settings.hebrew_date = {10, 1, 5774};
    EXPECT_EQ(day_of_lesson_ahead(key(7, 19, true)), day_number_from_hebrew(7, 19, 5775));
}

}  // namespace
}  // namespace lekta
