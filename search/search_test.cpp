#include "search/search.h"

#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "state/reader.h"
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
    void SetUp() override {
        g_settings = Settings{};
        g_reader = Reader{};
    }
    void TearDown() override {
        g_settings = Settings{};
        g_reader = Reader{};
    }
    static DateRecord date_of(int32_t day) { return hebrew_from_day_number(day); }
    static uint16_t key(int32_t month, int32_t day, bool leap) {
        return static_cast<uint16_t>((leap ? 0x1000 : 0) | month << 8 | day);
    }
};

TEST_F(LessonDateTest, LaterInTheCycleIsThisYear) {
    g_reader.hebrew_date = {8, 5, 5785};
    const DateRecord d = date_of(day_of_lesson_ahead(key(8, 10, false)));
    EXPECT_EQ(d.month, 8);
    EXPECT_EQ(d.day, 10);
    EXPECT_EQ(d.year, 5785);
    // Adar comes later in the schedule year than Heshvan.
    EXPECT_EQ(date_of(day_of_lesson_ahead(key(12, 3, false))).year, 5785);
}

TEST_F(LessonDateTest, EarlierInTheCycleIsTheFirstYearOfTheKeysKind) {
    g_reader.hebrew_date = {8, 5, 5785};
    for (bool leap : {false, true}) {
        const DateRecord d = date_of(day_of_lesson_ahead(key(8, 1, leap)));
        EXPECT_EQ(d.month, 8);
        EXPECT_EQ(d.day, 1);
        EXPECT_GE(d.year, 5785);
        EXPECT_EQ(is_leap_cycle_date(d), leap);
        for (int32_t y = 5785; y < d.year; ++y)
            EXPECT_NE(is_leap_cycle_date(DateRecord{8, 1, y}), leap);
    }
}

TEST_F(LessonDateTest, AutumnLessonSeenFromSpringIsNextYear) {
    g_reader.hebrew_date = {3, 10, 5785};
    for (bool leap : {false, true}) {
        const DateRecord d = date_of(day_of_lesson_ahead(key(7, 1, leap)));
        EXPECT_EQ(d.month, 7);
        EXPECT_GT(d.year, 5785);
        EXPECT_EQ(is_leap_cycle_date(d), leap);
    }
}

TEST_F(LessonDateTest, DaySlot31IsTheDayNumberOfDay31) {
    g_reader.hebrew_date = {7, 1, 5785};
    EXPECT_EQ(day_of_lesson_ahead(key(9, 31, false)), day_number_from_hebrew(9, 31, 5785));
}

}  // namespace
}  // namespace lekta
