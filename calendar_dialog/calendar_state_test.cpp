// The calendar's arithmetic without a window: stepping, clamping, layout and hit-testing.
#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"
#include "calendar_dialog/calendar_state.h"

using namespace lekta;

namespace {

constexpr int32_t NISAN = 1, ELUL = 6, TISHRI = 7, KISLEV = 9, ADAR = 12, ADAR_II = 13;

CalendarState opened_on(int32_t month, int32_t day, int32_t year) {
    CalendarState s;
    show_date(s, day_number_from_hebrew(month, day, year), true);
    return s;
}

int32_t first_year(bool (*test)(int32_t)) {
    for (int32_t y = 5780; y < 5900; ++y)
        if (test(y)) return y;
    ADD_FAILURE() << "no such year";
    return 5780;
}

bool is_common_year(int32_t y) {
    return !is_hebrew_leap_year(y);
}

// A client area of 321 x 321 pixels (right and bottom inclusive) and a 14-pixel bold font.
CalendarState laid_out(bool leap) {
    CalendarState s = opened_on(NISAN, 1, first_year(leap ? is_hebrew_leap_year : is_common_year));
    s.client = {0, 0, 320, 320};
    calendar_layout(s, 14);
    return s;
}

TEST(CalendarModel, OpeningMarksTheDayAndPicksTheButtonVariant) {
    const int32_t leap = first_year(is_hebrew_leap_year);
    CalendarState s = opened_on(ADAR_II, 14, leap);
    EXPECT_EQ(DateRecord({ADAR_II, 14, leap}), s.marked);
    EXPECT_EQ(day_number_from_hebrew(ADAR_II, 14, leap), s.selected_day);
    EXPECT_EQ(1, s.leap);
    EXPECT_EQ(REDRAW_BUTTONS | REDRAW_ADAR_GAP, s.redraw);
    EXPECT_NE(nullptr, s.buttons[13].label);
    EXPECT_EQ(weekday(day_number_from_hebrew(ADAR_II, 1, leap)), s.first_weekday);
    EXPECT_EQ(29, s.month_length);

    s = opened_on(ADAR, 1, leap + 1);  // a common year follows a leap year
    EXPECT_EQ(nullptr, s.buttons[13].label);
    EXPECT_EQ(REDRAW_BUTTONS, s.redraw);
}

TEST(CalendarModel, DayZeroOpensOnToday) {
    CalendarState s;
    show_date(s, 0, true);
    const DateRecord today = today_civil();
    EXPECT_EQ(day_number_from_civil(today.month, today.day, today.year), s.selected_day);
    EXPECT_EQ(hebrew_from_day_number(s.selected_day), s.marked);
}

TEST(CalendarModel, MonthStepsCrossTheYearBetweenElulAndTishri) {
    const int32_t common = first_year(is_common_year);
    CalendarState s = opened_on(TISHRI, 10, common);
    s.redraw = 0;
    step_month(s, -1);
    EXPECT_EQ(DateRecord({ELUL, 10, common - 1}), s.displayed);
    EXPECT_EQ(REDRAW_ALL, s.redraw & REDRAW_ALL);
    step_month(s, 1);
    EXPECT_EQ(DateRecord({TISHRI, 10, common}), s.displayed);
    EXPECT_EQ(day_number_from_hebrew(TISHRI, 10, common), s.selected_day);

    // Nisan's neighbour before it is the last Adar of the same year, and back.
    s = opened_on(NISAN, 5, common);
    step_month(s, -1);
    EXPECT_EQ(DateRecord({ADAR, 5, common}), s.displayed);
    const int32_t leap = first_year(is_hebrew_leap_year);
    s = opened_on(NISAN, 5, leap);
    step_month(s, -1);
    EXPECT_EQ(DateRecord({ADAR_II, 5, leap}), s.displayed);
    step_month(s, 1);
    EXPECT_EQ(DateRecord({NISAN, 5, leap}), s.displayed);
    s.redraw = 0;
    step_month(s, 1);  // within the year: the year line stays
    EXPECT_EQ(0, s.redraw & REDRAW_YEAR);
}

TEST(CalendarModel, Day30BecomesDay29InAShorterMonth) {
    const int32_t y = first_year(
        [](int32_t year) { return !is_short_kislev(year) && is_short_kislev(year + 1); });
    CalendarState s = opened_on(KISLEV, 30, y);
    step_year_by_key(s, 1);
    EXPECT_EQ(DateRecord({KISLEV, 29, y + 1}), s.displayed);
    EXPECT_EQ(day_number_from_hebrew(KISLEV, 29, y + 1), s.selected_day);

    s = opened_on(KISLEV, 30, y);
    step_year_by_arrow(s, 1);
    EXPECT_EQ(DateRecord({KISLEV, 29, y + 1}), s.displayed);

    // Adar I has 30 days; the next month has 29.
    const int32_t leap = first_year(is_hebrew_leap_year);
    s = opened_on(ADAR, 30, leap);
    step_month(s, 1);
    EXPECT_EQ(DateRecord({ADAR_II, 29, leap}), s.displayed);
}

TEST(CalendarModel, AdarIIInTheOtherYear) {
    const int32_t leap = first_year(is_hebrew_leap_year);
    CalendarState s = opened_on(ADAR_II, 3, leap);
    step_year_by_arrow(s, 1);
    EXPECT_EQ(DateRecord({ADAR, 3, leap + 1}), s.displayed);
    EXPECT_EQ(0, s.leap);

    // The arrows leave Adar II even for another leap year; the keys keep it there.
    int32_t next_leap = leap + 1;
    while (!is_hebrew_leap_year(next_leap))
        ++next_leap;
    s = opened_on(ADAR_II, 3, leap);
    step_year_by_arrow(s, next_leap - leap);
    EXPECT_EQ(ADAR, s.displayed.month);
    s = opened_on(ADAR_II, 3, leap);
    step_year_by_key(s, next_leap - leap);
    EXPECT_EQ(DateRecord({ADAR_II, 3, next_leap}), s.displayed);
    step_year_by_key(s, 1);
    EXPECT_EQ(DateRecord({ADAR, 3, next_leap + 1}), s.displayed);
}

TEST(CalendarModel, NoYearBeforeTheFirst) {
    CalendarState s = opened_on(TISHRI, 1, 1);
    step_year_by_key(s, -1);
    step_year_by_arrow(s, -1);
    EXPECT_EQ(1, s.displayed.year);
}

TEST(CalendarModel, SixWeekRowsOnlyForA30DayMonthFromSaturday) {
    CalendarState s;
    bool found = false;
    for (int32_t y = 5780; y < 5800 && !found; ++y)
        for (int32_t m = 1; m <= 12 && !found; ++m) {
            s = opened_on(m, 1, y);
            found = s.first_weekday == 6 && s.month_length == 30;
        }
    ASSERT_TRUE(found);
    EXPECT_EQ(6, week_rows_needed(s));
    EXPECT_EQ(Cell({0, 6}), day_cell(s, 30));
    s.month_length = 29;
    EXPECT_EQ(5, week_rows_needed(s));
}

TEST(CalendarModel, LayoutFollowsTheClientArea) {
    CalendarState s = laid_out(false);
    const CalendarLayout& l = s.layout;
    EXPECT_EQ(40, l.cell_width);
    EXPECT_EQ(107, l.grid_top);
    EXPECT_EQ(30, l.cell_height);
    EXPECT_EQ(281, l.grid_width);
    EXPECT_EQ(20, l.grid_left);
    EXPECT_EQ(2, l.year_top);
    EXPECT_EQ(14, l.year_height);
    EXPECT_EQ(70, l.button_width);
    EXPECT_EQ(20, l.buttons_top);
    EXPECT_EQ(27, l.button_height);
    EXPECT_EQ(20, l.buttons_left);
    // Right to left, four to a row, month 1 at the top right.
    EXPECT_EQ(MonthButton({20, 230, 47, 300, s.buttons[1].label}), s.buttons[1]);
    EXPECT_EQ(MonthButton({47, 230, 74, 300, s.buttons[5].label}), s.buttons[5]);
    EXPECT_EQ(MonthButton({74, 20, 101, 90, s.buttons[12].label}), s.buttons[12]);
    EXPECT_EQ(nullptr, s.buttons[13].label);

    s = laid_out(true);
    EXPECT_EQ(MonthButton({74, 37, 101, 90, s.buttons[12].label}), s.buttons[12]);
    EXPECT_EQ(MonthButton({74, 20, 101, 37, s.buttons[13].label}), s.buttons[13]);
    EXPECT_EQ(nullptr, s.buttons[14].label);
}

TEST(CalendarModel, TapsHitButtonsInMonthOrderEdgesIncluded) {
    CalendarState s = laid_out(true);
    EXPECT_EQ(1, month_button_at(s, 230, 20));  // shared with month 2: the first wins
    EXPECT_EQ(1, month_button_at(s, 300, 47));
    EXPECT_EQ(2, month_button_at(s, 229, 30));
    EXPECT_EQ(12, month_button_at(s, 37, 80));  // the edge between the Adars
    EXPECT_EQ(13, month_button_at(s, 36, 80));
    EXPECT_EQ(0, month_button_at(s, 19, 80));
    EXPECT_EQ(0, month_button_at(s, 100, 102));
}

TEST(CalendarModel, TheArrowsButNotTheYearBetweenThem) {
    CalendarState s = laid_out(false);
    EXPECT_EQ(0, year_arrow_at(s, 100, 5));  // not placed before the first paint
    s.arrows_placed = true;
    s.left_arrow = 100;
    s.arrow_width = 60;
    s.right_arrow = 200;
    EXPECT_EQ(-1, year_arrow_at(s, 100, 2));
    EXPECT_EQ(-1, year_arrow_at(s, 160, 16));
    EXPECT_EQ(0, year_arrow_at(s, 161, 5));  // the year itself
    EXPECT_EQ(0, year_arrow_at(s, 199, 5));
    EXPECT_EQ(1, year_arrow_at(s, 200, 5));
    EXPECT_EQ(1, year_arrow_at(s, 260, 5));
    EXPECT_EQ(0, year_arrow_at(s, 261, 5));
    EXPECT_EQ(0, year_arrow_at(s, 99, 5));
    EXPECT_EQ(0, year_arrow_at(s, 120, 1));
    EXPECT_EQ(0, year_arrow_at(s, 120, 17));
}

TEST(CalendarModel, DayCellsUpToTheGridsRightBorder) {
    CalendarState s = laid_out(false);
    s.first_weekday = 3;
    s.month_length = 29;
    s.week_rows = 5;
    const int32_t first_row = 107 + 30;
    EXPECT_EQ(1, day_at(s, 20 + 3 * 40, first_row));
    EXPECT_EQ(0, day_at(s, 20 + 2 * 40 + 39, first_row));  // before day 1
    EXPECT_EQ(4, day_at(s, 299, first_row + 29));
    EXPECT_EQ(0, day_at(s, 300, first_row));  // the border line: v = 7 cw
    EXPECT_EQ(0, day_at(s, 301, first_row));
    EXPECT_EQ(0, day_at(s, 19, first_row));
    EXPECT_EQ(0, day_at(s, 100, first_row - 1));  // the header row
    EXPECT_EQ(29, day_at(s, 20 + 3 * 40, first_row + 4 * 30));
    EXPECT_EQ(0, day_at(s, 20 + 4 * 40, first_row + 4 * 30));  // past the month's end
    EXPECT_EQ(0, day_at(s, 20, first_row + 5 * 30 + 1));
}

}  // namespace
