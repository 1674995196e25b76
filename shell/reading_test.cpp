// The reading window as a user meets it: paging there and back, where a lesson opens, settings
// that lie, Reverse, the menu keys and the window's place.
#include <gtest/gtest.h>

#include <random>

#include "calendar/date_text.h"
#include "shell/reader_test_support.h"
#include "shell/startup.h"
#include "state/reader.h"
#include "state/registry.h"
#include "view/frame.h"

namespace lekta {
namespace {

using testing_support::dword;

plat::RegValue sz(std::u16string_view text) {
    plat::RegValue v{plat::REG_SZ, {}};
    for (char16_t c : text)
        v.bytes.insert(v.bytes.end(), {uint8_t(c), uint8_t(c >> 8)});
    v.bytes.insert(v.bytes.end(), {0, 0});
    return v;
}

class ReadingTest : public testing_support::ReaderTest {
  protected:
    // 8 paragraphs: 17 rows, one more than the default window's text area shows.
    void SetUp() override {
        ReaderTest::SetUp();
        g_shell_options = ShellOptions{};
        book = testing_support::make_test_book(true, [this](uint16_t) { return paragraphs; });
        testing_support::use_test_book(book);
    }

    static std::map<std::u16string, plat::RegValue>& stored() {
        return testplat::registry()[SETTINGS_KEY];
    }

    // Starts as the program does, from what the settings key holds.
    void start_from_settings(int32_t start_day = 0, bool today_flag = false) {
        g_settings = Settings{};
        g_reader = Reader{};
        g_reader.today_flag = today_flag;
        stored()[u"FontName"] = sz(u"A");  // no font chooser
        window = init_instance(start_day, "");
        ASSERT_NE(window, nullptr);
        send(plat::WM_PAINT);
    }
    void exit_reader() {
        command(CMD_EXIT);
        window = nullptr;
    }

    // The view shows the current day's lesson under the current day's date.
    void expect_readable() {
        const Settings& s = g_settings;
        const Reader& r = g_reader;
        EXPECT_TRUE(boxes().empty()) << (boxes().empty() ? "" : "a message box");
        ASSERT_TRUE(is_exact_day(s.current_day)) << s.current_day;
        const DateRecord date = hebrew_from_day_number(s.current_day);
        EXPECT_EQ(date, r.hebrew_date);
        EXPECT_EQ(lesson_key_of_date(date), s.current_lesson);
        EXPECT_EQ(s.current_lesson, shown_key());
        uint8_t text[DATE_TEXT_CAPACITY] = {};
        EXPECT_EQ(hebrew_date_text(&date, text), r.date_text_length);
        EXPECT_GT(r.date_count, 0);
    }

    std::vector<std::u16string> repaint_texts() {
        window->dc->calls.clear();
        send(plat::WM_PAINT);
        return testplat::drawn_texts(window->dc);
    }

    int paragraphs = 8;
    testing_support::TestBook book;
};

TEST_F(ReadingTest, APageThereAndBackIsTheSameView) {
    start(book, civil_day(2026, 11, 20));
    send(plat::WM_PAINT);
    TextView* v = view();
    ASSERT_GT(v->total_rows, v->rows_drawn);  // the lesson is a little longer than the view
    const std::vector<std::u16string> first = repaint_texts();

    const int32_t page = rows_fitting(*v, 0) - 1;
    EXPECT_EQ(page, v->rows_drawn - 1);  // the last row in sight stays in sight
    key(plat::VK_NEXT);
    EXPECT_EQ(v->top_row, page);
    key(plat::VK_PRIOR);
    EXPECT_EQ(v->top_row, 0);
    EXPECT_EQ(repaint_texts(), first);

    // The scroll bar's page requests and taps move by the same page.
    send(plat::WM_VSCROLL, plat::SB_PAGEDOWN);
    EXPECT_EQ(v->top_row, page);
    send(plat::WM_VSCROLL, plat::SB_PAGEUP);
    EXPECT_EQ(v->top_row, 0);
    const intptr_t x = v->left + v->width / 2;
    const intptr_t low = x | intptr_t(v->top + v->height - 4) << 16;
    send(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, low);
    send(plat::WM_LBUTTONUP, 0, low);
    EXPECT_EQ(v->top_row, page);
    const intptr_t high = x | intptr_t(v->top + 4) << 16;
    send(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, high);
    send(plat::WM_LBUTTONUP, 0, high);
    EXPECT_EQ(v->top_row, 0);
    EXPECT_EQ(repaint_texts(), first);

    // Half pages, as the page mode asks.
    g_settings.flags = (g_settings.flags & ~KEY_PAGE_MODE) | (2u << 20);
    key(plat::VK_NEXT);
    EXPECT_EQ(v->top_row, (page + 1) / 2);
    // Down stops at the last full page; End's rule stands.
    key(plat::VK_HOME);
    for (int i = 0; i < 40; ++i)
        key(plat::VK_DOWN);
    EXPECT_EQ(v->top_row, v->max_top_row);
}

TEST_F(ReadingTest, AStoredRowOpensOnlyTheLessonItWasSavedOn) {
    const int32_t day = civil_day(2026, 11, 20);
    const uint16_t lesson = lesson_key_of_date(hebrew_from_day_number(day));
    auto left_paged_down = [&] {
        testplat::reset_system();
        stored()[u"Day"] = dword(static_cast<uint32_t>(day));
        stored()[u"Flags"] = dword(DEFAULT_FLAGS | FLAG_DAY_PINNED);
        stored()[u"Lesson"] = dword(lesson);
        stored()[u"LastPosition"] = dword(6);
    };

    left_paged_down();
    start_from_settings();
    EXPECT_EQ(view()->top_row, 6);  // the same lesson: where the reader left it
    exit_reader();

    left_paged_down();
    start_from_settings(0, true);  // "/today": today's lesson, from its top
    EXPECT_EQ(g_settings.current_day, civil_day(2026, 12, 7));
    EXPECT_EQ(view()->top_row, 0);
    exit_reader();

    left_paged_down();
    start_from_settings(civil_day(2026, 12, 1));  // --date
    EXPECT_EQ(view()->top_row, 0);
    exit_reader();

    left_paged_down();
    stored()[u"Flags"] = dword(DEFAULT_FLAGS);  // the next day's plain start
    start_from_settings();
    EXPECT_EQ(view()->top_row, 0);
    expect_readable();
}

TEST_F(ReadingTest, SettingsThatLieStartOnTheDaysLesson) {
    const int32_t today = civil_day(2026, 12, 7);
    const int32_t day = civil_day(2026, 11, 20);
    const uint32_t pinned = DEFAULT_FLAGS | FLAG_DAY_PINNED;
    struct Case {
        const char* what;
        uint32_t flags;
        plat::RegValue day, lesson;
        int32_t start_day;
    };
    const Case cases[] = {
        {"no lesson", pinned, dword(day), dword(0xFFFFFFFF), day},
        {"another day's lesson", pinned, dword(day), dword(0x0101), day},
        {"a day of 0", pinned, dword(0), dword(0x0101), today},
        {"the largest day", pinned, dword(0x7FFFFFFF), dword(0x0101), today},
        {"a day of -1", pinned, dword(0xFFFFFFFF), dword(0x0101), today},
        {"a day of -1, not pinned", DEFAULT_FLAGS, dword(0xFFFFFFFF), dword(0x0101), today},
        {"a day in words", pinned, sz(u"abc"), dword(0x0101), today},
        {"a lesson in words", pinned, dword(day), sz(u"x1"), day},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testplat::reset_system();
        stored()[u"Flags"] = dword(c.flags);
        stored()[u"Day"] = c.day;
        stored()[u"Lesson"] = c.lesson;
        stored()[u"FontSize"] = dword(12);
        stored()[u"LastPosition"] = dword(5);
        start_from_settings();
        expect_readable();
        EXPECT_EQ(g_settings.current_day, c.start_day);
        EXPECT_EQ(g_settings.font_spec.font_size, 12);  // what was fine stays
        EXPECT_EQ(view()->top_row, 0);
        exit_reader();
        // What was written back starts the same way.
        start_from_settings();
        expect_readable();
        EXPECT_EQ(g_settings.current_day, c.start_day);
        exit_reader();
        if (HasFailure()) return;
    }
}

// A leap-cycle day pinned with a book that has its lesson, started with one that has not.
TEST_F(ReadingTest, APinnedDayThisBookCannotShowGivesWayToToday) {
    testing_support::use_test_book(
        testing_support::make_test_book(false, [](uint16_t) { return 8; }));
    testplat::set_local_date(2025, 12, 7);  // a regular cycle, as 2026 is not
    stored()[u"Day"] = dword(static_cast<uint32_t>(civil_day(2008, 10, 1)));  // 2 Tishri 5769
    stored()[u"Flags"] = dword(DEFAULT_FLAGS | FLAG_DAY_PINNED);
    start_from_settings();
    expect_readable();
    EXPECT_EQ(g_settings.current_day, civil_day(2025, 12, 7));
    EXPECT_EQ(g_settings.flags & FLAG_DAY_PINNED, 0u);
    exit_reader();
    // Asked for by --date, the day is tried and refused as the user expects.
    start_from_settings(civil_day(2008, 10, 1));
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(shown_key(), 0);
}

// Whatever the file holds, the reader starts on a readable lesson without a message box.
TEST_F(ReadingTest, RandomSettingsNeverStopTheReader) {
    std::mt19937 random(7);
    const int32_t first = civil_day(1583, 1, 1), last = civil_day(6773, 12, 31);
    auto random_value = [&](bool day) -> plat::RegValue {
        switch (random() % 5) {
            case 0:
                return dword(static_cast<uint32_t>(random()));
            case 1:  // a day the calendar knows
                return dword(static_cast<uint32_t>(
                    day ? first + int32_t(random() % uint32_t(last - first + 1)) : random() % 300));
            case 2: {
                std::u16string digits;
                for (int n = int(random() % 12); n > 0; --n)
                    digits.push_back(char16_t(u'0' + random() % 10));
                return sz(digits);
            }
            case 3: {
                std::u16string junk;
                for (int n = int(random() % 8); n > 0; --n)
                    junk.push_back(char16_t(random() % 0x80));
                return sz(junk);
            }
            default: {
                plat::RegValue v{static_cast<uint32_t>(random() % 5), {}};
                v.bytes.resize(random() % 9);
                for (uint8_t& b : v.bytes)
                    b = static_cast<uint8_t>(random());
                return v;
            }
        }
    };
    const char16_t* names[] = {u"Day",          u"Lesson",       u"Flags",     u"LastPosition",
                               u"FontSize",     u"WindowLeft",   u"WindowTop", u"WindowWidth",
                               u"WindowHeight", u"FontAsciiBase"};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        testplat::reset_system();
        for (const char16_t* name : names)
            if (random() % 4) stored()[name] = random_value(std::u16string_view(name) == u"Day");
        start_from_settings();
        expect_readable();
        key(plat::VK_END);
        exit_reader();
        if (HasFailure()) return;
    }
}

TEST_F(ReadingTest, ReverseTurnsTheDateWithTheText) {
    start(book, civil_day(2026, 11, 20));
    const std::vector<std::u16string> before = repaint_texts();
    window->dc->calls.clear();
    command(CMD_REVERSE);
    const std::vector<std::u16string> after = testplat::drawn_texts(window->dc);
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    // The strip is drawn last; its date now reads the other way, as the lines do.
    EXPECT_EQ(after.back(), std::u16string(before.back().rbegin(), before.back().rend()));
    EXPECT_EQ(window->dc->calls.back().rect.top, g_reader.strip_top + 1);
    EXPECT_EQ(after, repaint_texts());  // the window as a fresh paint shows it
}

TEST_F(ReadingTest, MenuKeysOpenTheGoMenu) {
    start(book, civil_day(2026, 11, 20));
    std::vector<std::string> keys;
    for (const auto& a : window->accelerators)
        if (a.command == CMD_MENU) keys.push_back(a.keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"F10", "Alt+G"}));
    EXPECT_EQ(command(CMD_MENU), 0);
    EXPECT_EQ(g_reader.bar_window->menu_opens, 1);
}

TEST_F(ReadingTest, TheWindowKeepsItsPlace) {
    stored()[u"WindowLeft"] = dword(30);
    stored()[u"WindowTop"] = dword(40);
    stored()[u"WindowWidth"] = dword(300);
    stored()[u"WindowHeight"] = dword(500);
    start_from_settings();
    EXPECT_EQ(window->placement.left, 30);
    EXPECT_EQ(window->placement.bottom, 540);
    window->placement = {-5, 6, 405, 606};  // the user moves and sizes it
    exit_reader();
    EXPECT_EQ(stored()[u"WindowLeft"].bytes, dword(static_cast<uint32_t>(-5)).bytes);
    EXPECT_EQ(stored()[u"WindowWidth"].bytes, dword(410).bytes);
    EXPECT_EQ(stored()[u"WindowHeight"].bytes, dword(600).bytes);
    start_from_settings();
    EXPECT_EQ(window->placement.right, 405);
    exit_reader();

    // A size no screen has, or a missing value, is no place: the platform's choice.
    for (const plat::RegValue& width : {dword(0), dword(0x7FFFFFFF), sz(u"wide")}) {
        stored()[u"WindowWidth"] = width;
        start_from_settings();
        EXPECT_EQ(window->placement.left, 20);
        exit_reader();
    }
}

}  // namespace
}  // namespace lekta
