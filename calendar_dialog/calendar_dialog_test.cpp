// The calendar dialog run headless: what it draws, the keys and taps a user gives it, and
// what it returns.
#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/hebrew_calendar.h"
#include "calendar_dialog/calendar_dialog.h"
#include "calendar_dialog/calendar_state.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_text.h"
#include "state/reader.h"

using namespace lekta;

namespace {

constexpr int32_t ADAR = 12, ADAR_II = 13;
constexpr plat::Colorref BLACK = 0x000000;

// The test backend's dialog is 320 x 320 pixels: cells 40 x 30 from (20, 107), buttons 70 x 27
// from (20, 20); text 14 pixels high in the calendar's fonts.
constexpr int32_t GRID_LEFT = 20, GRID_TOP = 107, CELL_W = 40, CELL_H = 30;

struct Point {
    int32_t x = 0, y = 0;
};

class CalendarDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_windows();
        testplat::reset_text();
        g_settings = Settings{};
        g_reader = Reader{};
        g_settings.font_spec.font_ascii_base = 97;  // labels drawn as their letter codes
    }
    void TearDown() override {
        testplat::reset_windows();
        g_settings = Settings{};
        g_reader = Reader{};
    }

    static plat::Dc* dc() { return g_calendar.dc; }
    // Where a day's number would be drawn in the current month.
    static Point centre_of(int32_t day) {
        const Cell c = day_cell(g_calendar, day);
        return {GRID_LEFT + c.column * CELL_W + CELL_W / 2, GRID_TOP + c.row * CELL_H + CELL_H / 2};
    }
    static int32_t first_leap_year() {
        int32_t y = 5785;
        while (!is_hebrew_leap_year(y))
            ++y;
        return y;
    }
};

std::vector<plat::DrawCall> calls_since(const plat::Dc* dc, size_t from) {
    return {dc->calls.begin() + static_cast<std::ptrdiff_t>(from), dc->calls.end()};
}

bool has_fill(const std::vector<plat::DrawCall>& calls, const plat::Rect& r, plat::Colorref c) {
    return std::any_of(calls.begin(), calls.end(), [&](const plat::DrawCall& call) {
        return call.kind == plat::DrawCall::FILL && call.rect == r && call.color == c;
    });
}

int count_text(const std::vector<plat::DrawCall>& calls, const std::u16string& text) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
        return call.kind == plat::DrawCall::TEXT && call.text == text;
    }));
}

TEST_F(CalendarDialogTest, ATappedDayIsReturnedAndItsCellHighlighted) {
    const int32_t start = day_number_from_hebrew(ADAR, 10, 5787);
    testplat::push_dialog_script([](plat::Window* d) {
        EXPECT_EQ(u"Hebrew Calendar", d->title);
        EXPECT_EQ(plat::DIALOG_FULL_SCREEN, d->init_flags);
        EXPECT_TRUE(d->done_button);
        const size_t before = dc()->calls.size();
        const Point p = centre_of(20);
        testplat::tap(d, p.x, p.y);
        const Cell c = day_cell(g_calendar, 20);
        const int32_t x = GRID_LEFT + c.column * CELL_W + 1, y = GRID_TOP + c.row * CELL_H + 1;
        EXPECT_TRUE(has_fill(calls_since(dc(), before), {x, y, x + 39, y + 29}, BLACK));
        EXPECT_EQ(DateRecord({ADAR, 20, 5787}), g_calendar.marked);
    });
    EXPECT_EQ(day_number_from_hebrew(ADAR, 20, 5787), choose_date(nullptr, start, {}));
    EXPECT_EQ(plat::IDOK, testplat::dialog_runs().back().result);
    EXPECT_EQ(0, testplat::live_fonts());
}

TEST_F(CalendarDialogTest, OkAndCancelChooseNothingWhereverTheUserWent) {
    const int32_t start = day_number_from_hebrew(ADAR, 10, 5787);
    testplat::push_dialog_script([](plat::Window* d) {
        testplat::press_key(d, plat::VK_DOWN);
        testplat::press_key(d, plat::VK_RIGHT);
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(0, choose_date(nullptr, start, {}));
    testplat::push_dialog_script([](plat::Window* d) {
        testplat::press_key(d, plat::VK_UP);
        testplat::send_command(d, 1234);  // not a command of the calendar
        testplat::send_command(d, plat::IDCANCEL);
    });
    EXPECT_EQ(0, choose_date(nullptr, start, {}));
    EXPECT_EQ(plat::IDCANCEL, testplat::dialog_runs().back().result);
    // A run nobody acts on is closed: still nothing chosen.
    EXPECT_EQ(0, choose_date(nullptr, start, {}));
}

TEST_F(CalendarDialogTest, StepsThenATapLandOnTheShownMonth) {
    const int32_t start = day_number_from_hebrew(ADAR, 10, 5786);
    testplat::push_dialog_script([](plat::Window* d) {
        testplat::press_key(d, plat::VK_NEXT);   // Nisan
        testplat::press_key(d, plat::VK_RIGHT);  // Nisan of the next year
        testplat::press_key(d, plat::VK_HOME);   // not a calendar key
        EXPECT_EQ(DateRecord({1, 10, 5787}), g_calendar.displayed);
        const Point p = centre_of(3);
        testplat::tap(d, p.x, p.y);
    });
    EXPECT_EQ(day_number_from_hebrew(1, 3, 5787), choose_date(nullptr, start, {}));
}

TEST_F(CalendarDialogTest, MonthButtonsAndArrowsMoveWithoutClosing) {
    const int32_t leap = first_leap_year();
    testplat::push_dialog_script([leap](plat::Window* d) {
        testplat::tap(d, 25, 80);  // Adar II, the quarter button at the far left
        EXPECT_EQ(DateRecord({ADAR_II, 10, leap}), g_calendar.displayed);
        testplat::tap(d, g_calendar.right_arrow, 5);
        EXPECT_EQ(DateRecord({ADAR, 10, leap + 1}), g_calendar.displayed);
        testplat::tap(d, g_calendar.left_arrow + g_calendar.arrow_width, 5);
        EXPECT_EQ(DateRecord({ADAR, 10, leap}), g_calendar.displayed);
        testplat::tap(d, 160, 5);  // the year number itself
        testplat::tap(d, 5, 5);
        EXPECT_EQ(DateRecord({ADAR, 10, leap}), g_calendar.displayed);
        EXPECT_FALSE(d->ended);
    });
    EXPECT_EQ(0, choose_date(nullptr, day_number_from_hebrew(1, 10, leap), {}));
}

TEST_F(CalendarDialogTest, ALeapYearSplitsTheLastButton) {
    const int32_t leap = first_leap_year();
    testplat::push_dialog_script([](plat::Window*) {
        const auto calls = calls_since(dc(), 0);
        // The strip between the two Adar buttons, then thirteen buttons and their labels.
        EXPECT_TRUE(has_fill(calls, {36, 75, 38, 100}, plat::system_color(plat::COLOR_BTNFACE)));
        EXPECT_EQ(1, count_text(calls, u"'a yda"));
        EXPECT_EQ(2, count_text(calls, u"'b"));  // its button, and highlighted
        const auto frame = std::find_if(calls.begin(), calls.end(), [](const auto& c) {
            return c.kind == plat::DrawCall::RECTANGLE && c.rect == plat::Rect{21, 75, 36, 100};
        });
        EXPECT_NE(calls.end(), frame);
    });
    choose_date(nullptr, day_number_from_hebrew(ADAR_II, 1, leap), {});

    testplat::push_dialog_script([](plat::Window*) {
        const auto calls = calls_since(dc(), 0);
        EXPECT_EQ(0, count_text(calls, u"'b"));
        EXPECT_EQ(2, count_text(calls, u"yda"));  // its button, and highlighted
    });
    choose_date(nullptr, day_number_from_hebrew(ADAR, 1, leap + 1), {});
}

TEST_F(CalendarDialogTest, TheMarkedDayOnlyInItsOwnMonth) {
    const int32_t start = day_number_from_hebrew(ADAR, 10, 5787);
    testplat::push_dialog_script([](plat::Window* d) {
        const Cell c = day_cell(g_calendar, 10);
        const int32_t x = GRID_LEFT + c.column * CELL_W + 1, y = GRID_TOP + c.row * CELL_H + 1;
        const plat::Rect marked{x, y, x + 39, y + 29};
        EXPECT_TRUE(has_fill(calls_since(dc(), 0), marked, BLACK));
        size_t before = dc()->calls.size();
        testplat::press_key(d, plat::VK_DOWN);
        EXPECT_FALSE(has_fill(calls_since(dc(), before), marked, BLACK));
        before = dc()->calls.size();
        testplat::press_key(d, plat::VK_UP);
        EXPECT_TRUE(has_fill(calls_since(dc(), before), marked, BLACK));
    });
    choose_date(nullptr, start, {});
}

TEST_F(CalendarDialogTest, LeavingASixRowMonthClearsTheSixthRow) {
    int32_t start = 0;
    for (int32_t y = 5780; y < 5800 && !start; ++y)
        for (int32_t m = 1; m <= 12 && !start; ++m)
            if (weekday(day_number_from_hebrew(m, 1, y)) == 6 && hebrew_month_length(m, y) == 30)
                start = day_number_from_hebrew(m, 1, y);
    ASSERT_NE(0, start);
    testplat::push_dialog_script([](plat::Window* d) {
        EXPECT_EQ(6, g_calendar.week_rows);
        EXPECT_EQ(1, count_text(calls_since(dc(), 0), u"30"));
        const size_t before = dc()->calls.size();
        testplat::press_key(d, plat::VK_DOWN);  // the next month starts on a Monday
        EXPECT_EQ(5, g_calendar.week_rows);
        EXPECT_TRUE(has_fill(calls_since(dc(), before), {20, 288, 301, 318},
                             plat::system_color(plat::COLOR_BTNFACE)));
    });
    choose_date(nullptr, start, {});
}

TEST_F(CalendarDialogTest, FontsInTheReadersFaceOrTheCalendarsOwn) {
    testplat::push_dialog_script([](plat::Window*) {
        const auto calls = calls_since(dc(), 0);
        ASSERT_FALSE(calls.empty());
        for (const auto& c : calls)
            if (c.kind == plat::DrawCall::TEXT) {
                EXPECT_EQ(std::u16string(u"David"), std::u16string(c.font.face));
                EXPECT_EQ(14, c.font.height);
            }
        EXPECT_EQ(2, count_text(calls, u"S"));  // Sunday and Saturday in the header
    });
    choose_date(nullptr, 0, {});
    FontSpec font_spec;
    std::copy_n(u"Tahoma", 7, font_spec.face_name);
    testplat::push_dialog_script([](plat::Window*) {
        const auto& calls = dc()->calls;
        const auto header = std::find_if(calls.begin(), calls.end(), [](const auto& c) {
            return c.kind == plat::DrawCall::TEXT && c.text == u"S";
        });
        ASSERT_NE(calls.end(), header);
        EXPECT_EQ(std::u16string(u"Tahoma"), std::u16string(header->font.face));
        EXPECT_EQ(700, header->font.weight);
    });
    choose_date(nullptr, 0, font_spec);
    EXPECT_EQ(0, testplat::live_fonts());
}

TEST_F(CalendarDialogTest, TheYearLineFramesTheYearAndItsArrows) {
    testplat::push_dialog_script([](plat::Window*) {
        // " 5787 " is 60 pixels wide, "  <<  " 60: the year at 130, the arrows 10 pixels away.
        EXPECT_EQ(130, g_calendar.year_left);
        EXPECT_EQ(60, g_calendar.left_arrow);
        EXPECT_EQ(200, g_calendar.right_arrow);
        const auto calls = calls_since(dc(), 0);
        EXPECT_TRUE(has_fill(calls, {129, 1, 191, 17}, BLACK));
        EXPECT_EQ(1, count_text(calls, u" 5787 "));
        EXPECT_EQ(1, count_text(calls, u"  >>  "));
    });
    choose_date(nullptr, day_number_from_hebrew(ADAR, 10, 5787), {});
}

}  // namespace
