#include "state/current_day.h"

#include <gtest/gtest.h>

#include <climits>

#include "calendar/hebrew_calendar.h"
#include "platform/test/test_system.h"
#include "state/reader.h"
#include "state/settings.h"

namespace lekta {
namespace {

class SelectDay : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();  // today: 7 December 2026, 27 Kislev 5787, a leap cycle
        g_settings = Settings{};
        g_reader = Reader{};
    }
    const int32_t today = day_number_from_civil(12, 7, 2026);
};

TEST_F(SelectDay, MakesADayCurrent) {
    g_settings.last_position = 12;
    const int32_t day = day_number_from_civil(4, 20, 2008);
    select_day(day, false);
    EXPECT_EQ(g_settings.current_day, day);
    EXPECT_EQ(g_reader.hebrew_date, (DateRecord{1, 15, 5768}));
    EXPECT_TRUE(is_leap_cycle());
    EXPECT_EQ(g_settings.current_lesson, 0x110F);
    EXPECT_EQ(g_settings.last_position, 0);
    EXPECT_NE(g_settings.flags & FLAG_DAY_PINNED, 0u);
    EXPECT_EQ(g_reader.date_text_length, 14);
    EXPECT_STREQ(reinterpret_cast<const char*>(g_reader.date_text), "hrz{'e prjq fi");
    // A shorter date before it must not cut this one short in the strip.
    EXPECT_EQ(g_reader.date_count, 14);
}

TEST_F(SelectDay, TodayPinAndPosition) {
    g_settings.flags = FLAG_DAY_PINNED | 0x40;
    g_settings.current_day = 700000;
    g_settings.last_position = 9;
    select_day(0, false);  // a pinned day survives a plain start
    EXPECT_EQ(g_settings.current_day, 700000);

    select_day(0, true);  // forced: today, unpinned, position kept
    EXPECT_EQ(g_settings.current_day, today);
    EXPECT_EQ(g_settings.flags, 0x40u);
    EXPECT_EQ(g_settings.last_position, 9);
    EXPECT_EQ(g_settings.current_lesson, 0x191B);

    // The same day again changes only the pin.
    g_settings.current_lesson = 0x0101;
    select_day(today, false);
    EXPECT_NE(g_settings.flags & FLAG_DAY_PINNED, 0u);
    EXPECT_EQ(g_settings.last_position, 9);
    EXPECT_EQ(g_settings.current_lesson, 0x0101);

    // Unpinned, a plain start moves to today from the lesson's start.
    g_settings.flags = 0;
    g_settings.current_day = 700000;
    select_day(0, false);
    EXPECT_EQ(g_settings.current_day, today);
    EXPECT_EQ(g_settings.last_position, 0);
}

TEST_F(SelectDay, AnyDayNumber) {
    for (int32_t day : {-1, 1, INT32_MAX, INT32_MIN}) {
        select_day(day, true);
        EXPECT_EQ(g_settings.current_day, day);
        EXPECT_EQ(g_reader.date_text[g_reader.date_text_length], 0);
    }
    // Before the first Hebrew year there is no numeral: the text is empty.
    EXPECT_EQ(g_reader.date_text_length, 0);
}

}  // namespace
}  // namespace lekta
