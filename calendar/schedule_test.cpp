#include "calendar/schedule.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "platform/test/test_system.h"
#include "shell/settings.h"

namespace lekta {
namespace {

uint16_t key_on(int32_t month, int32_t day, int32_t year) {
    return lesson_key_of_date(hebrew_from_day_number(day_number_from_civil(month, day, year)));
}

TEST(Schedule, LessonKeys) {
    // 29 Heshvan / Kislev of a 29-day month read the extra slot 31.
    EXPECT_EQ(key_on(11, 14, 2012), 0x081F);
    EXPECT_EQ(key_on(12, 13, 2012), 0x091F);
    EXPECT_EQ(key_on(11, 6, 2010), 0x081D);  // 30-day Heshvan of 5771
    EXPECT_EQ(key_on(11, 7, 2010), 0x081E);
    // The schedule year turns on 19 Kislev: 5768 is a leap year, 5769 is not.
    EXPECT_EQ(key_on(12, 15, 2008), 0x1000 | 0x0912);
    EXPECT_EQ(key_on(12, 16, 2008), 0x0913);
    EXPECT_EQ(key_on(10, 1, 2008), 0x1702);
    EXPECT_EQ(key_on(4, 20, 2008), 0x110F);
    EXPECT_EQ(key_on(9, 23, 2006), 0x0701);
    EXPECT_EQ(key_on(4, 3, 2007), 0x010F);
    // Adar II of a leap year.
    EXPECT_EQ(lesson_key_of_date({13, 14, 5784}), 0x1D0E);
}

TEST(Schedule, LeapCycleFollowsTheCurrentDate) {
    g_settings.hebrew_date = {9, 18, 5769};
    EXPECT_TRUE(is_leap_cycle());
    g_settings.hebrew_date = {9, 19, 5769};
    EXPECT_FALSE(is_leap_cycle());
    g_settings.hebrew_date = {7, 1, 5769};
    EXPECT_TRUE(is_leap_cycle());
    EXPECT_EQ(current_lesson_key(), 0x1701);
    g_settings.hebrew_date = {1, 15, 5768};
    EXPECT_TRUE(is_leap_cycle());
}

TEST(Schedule, NonsenseDatesStillGiveAKey) {
    for (int32_t v : {INT32_MIN, -1, 0, 29, INT32_MAX}) {
        for (int32_t month : {INT32_MIN, 0, 8, 9, 13, INT32_MAX}) {
            (void)lesson_key_of_date({month, v, v});
            (void)lesson_key_of_date({month, 29, v});
            (void)is_leap_cycle_date({month, 18, v});
        }
    }
    EXPECT_EQ(is_leap_cycle_date({8, 1, INT32_MIN}), is_leap_cycle_date({8, 1, INT32_MIN + 19}));
}

class SelectDay : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();  // today: 7 December 2026, 27 Kislev 5787
        g_settings = Settings{};
        today = day_number_from_civil(12, 7, 2026);
    }
    int32_t today = 0;
};

TEST_F(SelectDay, MakesADayCurrent) {
    g_settings.last_position = 12;
    const int32_t day = day_number_from_civil(4, 20, 2008);
    select_day(day, false);
    EXPECT_EQ(g_settings.current_day, day);
    EXPECT_EQ(g_settings.hebrew_date, (DateRecord{1, 15, 5768}));
    EXPECT_EQ(g_settings.current_lesson, 0x110F);
    EXPECT_EQ(g_settings.last_position, 0);
    EXPECT_NE(g_settings.flags & FLAG_DAY_PINNED, 0u);
    const uint8_t text[] = {0x68, 0x72, 0x7A, 0x7B, 0x27, 0x65, 0x20, 0x70,
                            0x72, 0x6A, 0x71, 0x20, 0x66, 0x69, 0x00};
    EXPECT_EQ(g_settings.date_text_length, 14);
    EXPECT_EQ(std::memcmp(g_settings.date_text, text, sizeof text), 0);
}

TEST_F(SelectDay, TodayUnpinsAndForceKeepsThePosition) {
    g_settings.flags = FLAG_DAY_PINNED | 0x40;
    g_settings.current_day = 700000;
    g_settings.last_position = 9;
    select_day(0, false);  // pinned: a plain start stays
    EXPECT_EQ(g_settings.current_day, 700000);
    EXPECT_EQ(g_settings.last_position, 9);

    select_day(0, true);
    EXPECT_EQ(g_settings.current_day, today);
    EXPECT_EQ(g_settings.flags, 0x40u);
    EXPECT_EQ(g_settings.last_position, 9);
    EXPECT_EQ(g_settings.hebrew_date, (DateRecord{9, 27, 5787}));
    EXPECT_EQ(g_settings.current_lesson, 0x191B);  // 5787 is a leap year
}

TEST_F(SelectDay, UnpinnedStartMovesToTodayFromTheStart) {
    g_settings.current_day = 700000;
    g_settings.last_position = 9;
    select_day(0, false);
    EXPECT_EQ(g_settings.current_day, today);
    EXPECT_EQ(g_settings.last_position, 0);
}

TEST_F(SelectDay, SameDayChangesOnlyThePin) {
    select_day(today, true);
    g_settings.last_position = 5;
    g_settings.current_lesson = 0x0101;
    select_day(0, true);
    EXPECT_EQ(g_settings.flags & FLAG_DAY_PINNED, 0u);
    EXPECT_EQ(g_settings.last_position, 5);
    EXPECT_EQ(g_settings.current_lesson, 0x0101);
    select_day(today, false);
    EXPECT_NE(g_settings.flags & FLAG_DAY_PINNED, 0u);
    EXPECT_EQ(g_settings.last_position, 5);
}

TEST_F(SelectDay, AnyDayNumber) {
    for (int32_t day : {INT32_MIN, -1, 1, INT32_MAX}) {
        select_day(day, true);
        EXPECT_EQ(g_settings.current_day, day);
        EXPECT_LT(g_settings.date_text_length, DATE_TEXT_CAPACITY);
        EXPECT_EQ(g_settings.date_text[g_settings.date_text_length], 0);
    }
    // Before the first Hebrew year there is no numeral: the text is empty.
    select_day(INT32_MIN, true);
    EXPECT_EQ(g_settings.date_text_length, 0);
    EXPECT_EQ(g_settings.date_text[0], 0);
}

}  // namespace
}  // namespace lekta
