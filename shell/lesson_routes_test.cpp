// Every way to a lesson over the demo book: a round of Search Again, the index's sections and
// the bookmarks on the short months' slots, from days in both kinds of schedule year.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "bookmarks/bookmarks.h"
#include "platform/test/test_dialog.h"
#include "search/match.h"
#include "shell/navigation.h"
#include "shell/reader_test_support.h"
#include "store/book.h"
#include "store/index_records.h"
#include "view/letter_code.h"

namespace lekta::testing_support {
namespace {

struct Day {
    int32_t month, day, year;
    int32_t number() const { return day_number_from_hebrew(month, day, year); }
};
// Both kinds of year, before and after Tishri, a 29-day Heshvan (5773), a year with two Adars
// (5774, 5787).
constexpr Day START_DAYS[] = {
    {8, 28, 5773}, {10, 1, 5774}, {3, 10, 5785}, {8, 5, 5786}, {9, 27, 5787}};

// A word in reading order as the search string holds it: letter code, in stored order.
std::string pattern_of(std::u16string_view word) {
    std::string pattern;
    for (auto it = word.rbegin(); it != word.rend(); ++it)
        pattern.push_back(*it >= 0x05D0 && *it <= 0x05EA ? static_cast<char>(0x61 + *it - 0x05D0)
                                                         : static_cast<char>(*it));
    return pattern;
}

// A hit as the view highlights it: the lesson and [start, end).
using Found = std::tuple<uint16_t, uint16_t, uint16_t>;

class LessonRoutes : public ReaderTest {
  protected:
    void open_on(const Day& day) {
        std::string error;
        ASSERT_TRUE(use_embedded_book(&error)) << error;
        select_day(day.number(), true);
        plat::WindowSpec spec;
        spec.class_name = MAIN_CLASS_NAME;
        spec.title = MAIN_TITLE;
        spec.proc = main_window_proc;
        spec.vscroll = true;
        window = plat::create_main_window(spec);
        ASSERT_NE(window, nullptr);
    }
    static void set_search(const std::string& pattern) {
        std::memset(g_settings.search_string, 0, sizeof g_settings.search_string);
        std::memcpy(g_settings.search_string, pattern.data(), pattern.size());
    }
    // Every occurrence in the lessons of one arrangement, each paragraph read from its start.
    static std::vector<Found> occurrences(const std::string& pattern, bool leap) {
        const std::span<const uint8_t> p(reinterpret_cast<const uint8_t*>(pattern.data()),
                                         pattern.size());
        std::vector<Found> all;
        for (int month = 1; month <= 13; ++month) {
            for (int slot = 1; slot <= 31; ++slot) {
                const auto key = static_cast<uint16_t>((leap ? 0x1000 : 0) | month << 8 | slot);
                const LessonText text = fetch_lesson_text(key);
                uint32_t cursor = 0;
                ParagraphRecord para;
                while (text && next_paragraph(text.span(), cursor, para)) {
                    for (int64_t q = int64_t{para.offset} + para.length - 1; q >= para.offset;) {
                        const auto m =
                            match_backward(text.span(), para.offset, p, static_cast<uint32_t>(q));
                        if (!m) break;
                        all.emplace_back(key, m->position - m->length + 1, m->position + 1);
                        q = int64_t{m->position} - m->length;
                    }
                }
            }
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    bool checked() { return plat::menu_item_checked(main_menu(), CMD_BOOKMARK); }
};

TEST_F(LessonRoutes, SearchAgainVisitsEveryOccurrenceOnceOnADayThatReadsIt) {
    const std::u16string_view words[] = {u"השמים", u"ו?רא", u"נח*תבה"};
    for (const Day& start : START_DAYS) {
        for (std::u16string_view word : words) {
            SCOPED_TRACE(std::to_string(start.day) + "/" + std::to_string(start.month) + "/" +
                         std::to_string(start.year) + " word " + std::to_string(word.size()));
            open_on(start);
            const std::string pattern = pattern_of(word);
            const bool leap = (g_settings.current_lesson & LESSON_KEY_LEAP_CYCLE) != 0;
            const std::vector<Found> expected = occurrences(pattern, leap);
            ASSERT_FALSE(expected.empty());
            set_search(pattern);
            std::vector<Found> round;
            for (size_t i = 0; i <= expected.size(); ++i) {
                command(CMD_SEARCH_AGAIN);
                const TextView* v = view();
                const Found hit{g_settings.current_lesson, v->hl_start, v->hl_end};
                if (!round.empty() && hit == round.front()) break;
                ASSERT_EQ(lesson_key_of_date(hebrew_from_day_number(g_settings.current_day)),
                          g_settings.current_lesson);
                ASSERT_GE(g_settings.current_day, start.number());
                round.push_back(hit);
            }
            EXPECT_TRUE(boxes().empty());
            std::sort(round.begin(), round.end());
            EXPECT_EQ(round, expected);
            plat::destroy_window(window);
        }
    }
    // A word found once in an arrangement is found again, not "Not Found!".
    open_on(START_DAYS[2]);
    set_search(pattern_of(u"מרחפת"));
    command(CMD_SEARCH_AGAIN);
    const Found first{g_settings.current_lesson, view()->hl_start, view()->hl_end};
    command(CMD_SEARCH_AGAIN);
    EXPECT_EQ(Found(g_settings.current_lesson, view()->hl_start, view()->hl_end), first);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(LessonRoutes, SearchFromALabelMovesOnAndLeavesTheLesson) {
    // א stands in verse labels: twenty hits from 28 Heshvan 5773 are twenty different ones.
    open_on(START_DAYS[0]);
    set_search(pattern_of(u"א"));
    std::vector<Found> seen;
    for (int i = 0; i < 20; ++i) {
        command(CMD_SEARCH_AGAIN);
        seen.emplace_back(g_settings.current_lesson, view()->hl_start, view()->hl_end);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
}

TEST_F(LessonRoutes, EverySectionLeadsIntoTheCycleBeingRead) {
    for (const Day& start : START_DAYS) {
        open_on(start);
        const bool leap = is_leap_cycle();
        const DateRecord now = g_settings.hebrew_date;
        const int32_t cycle_year =
            now.month == 7 || now.month == 8 || (now.month == 9 && now.day < 19) ? now.year - 1
                                                                                 : now.year;
        const int32_t first = day_number_from_hebrew(9, 19, cycle_year);
        const int32_t next = day_number_from_hebrew(9, 19, cycle_year + 1);
        const LessonText index = fetch_index_text(leap);
        const std::span<const uint8_t> list(index.bytes.get(), index.length);
        uint32_t cursor = 0;
        IndexRecord record;
        int sections = 0;
        while (next_index_record(list, cursor, record) == RecordRead::record) {
            if (!(record.key & INDEX_SECTION_BIT)) continue;
            ++sections;
            const auto key = static_cast<uint16_t>(record.key & INDEX_LESSON_MASK);
            go_to_day(window, start.number());
            ASSERT_EQ(go_to_section(window, key), 0);
            const uint16_t shown = g_settings.current_lesson;
            EXPECT_GE(g_settings.current_day, first) << std::hex << key;
            EXPECT_LT(g_settings.current_day, next) << std::hex << key;
            // The section's lesson, or the short month's one that holds it.
            const bool in_its_place = (shown & 0xFF) == SHORT_MONTH_SLOT &&
                                      (shown & 0xFF00) == (key & 0xFF00) && (key & 0xFF) >= 29;
            EXPECT_TRUE(shown == key || in_its_place) << std::hex << key << " " << shown;
        }
        EXPECT_EQ(sections, 187);
        plat::destroy_window(window);
    }
    // Chapter 8 of Genesis from 27 Kislev 5787: three days on, not thirteen months.
    open_on(START_DAYS[4]);
    go_to_section(window, 0x191E);
    EXPECT_EQ(g_settings.current_day, day_number_from_hebrew(9, 30, 5787));
    const TitleInfo title = read_title(view()->text.span());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(title.subtitle), title.subtitle_length),
              pattern_of(u"ז,טו - ח,ו"));
}

TEST_F(LessonRoutes, ShortMonthSlotsLeadToTheirOwnLesson) {
    const uint16_t keys[] = {0x081D, 0x081E, 0x081F, 0x091E, 0x091F,
                             0x181E, 0x181F, 0x191E, 0x191F};
    for (const Day& start : {START_DAYS[0], START_DAYS[4]}) {
        open_on(start);
        for (uint16_t key : keys) {
            g_settings.bookmarks = {key};
            go_to_day(window, start.number());
            ASSERT_EQ(go_to_bookmark(window, key), 0);
            EXPECT_EQ(g_settings.current_lesson, key) << std::hex << key;
            EXPECT_EQ(lesson_key_of_date(hebrew_from_day_number(g_settings.current_day)), key);
            EXPECT_TRUE(checked());
        }
        plat::destroy_window(window);
    }
    // A section on 30 Heshvan in a 29-day Heshvan: the lesson read in its place, this month.
    open_on(START_DAYS[0]);
    go_to_section(window, 0x081E);
    EXPECT_EQ(g_settings.current_day, day_number_from_hebrew(8, 29, 5773));
    EXPECT_EQ(g_settings.current_lesson, 0x081F);

    // Chosen in the index: the bookmarks branch's entry, under its header.
    g_settings.bookmarks = {0x091F};
    testplat::push_dialog_script([](plat::Window* d) { testplat::tap(d, 270, 28); });
    command(CMD_INDEX);
    EXPECT_EQ(g_settings.current_lesson, 0x091F);
    EXPECT_TRUE(checked());
}

}  // namespace
}  // namespace lekta::testing_support
