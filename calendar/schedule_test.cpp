#include "calendar/schedule.h"

#include <gtest/gtest.h>

#include <climits>

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
    EXPECT_EQ(key_on(12, 15, 2008), 0x1912);
    EXPECT_EQ(key_on(12, 16, 2008), 0x0913);
    EXPECT_EQ(key_on(10, 1, 2008), 0x1702);
    EXPECT_EQ(key_on(4, 20, 2008), 0x110F);
    EXPECT_EQ(key_on(9, 23, 2006), 0x0701);
    EXPECT_EQ(key_on(4, 3, 2007), 0x010F);
    EXPECT_EQ(lesson_key_of_date({13, 14, 5784}), 0x1D0E);  // Adar II
    for (int32_t v : {INT32_MIN, -1, 0, 29, INT32_MAX}) {
        for (int32_t month : {INT32_MIN, 8, 9, INT32_MAX})
            (void)lesson_key_of_date({month, v, v});
    }
}

}  // namespace
}  // namespace lekta
