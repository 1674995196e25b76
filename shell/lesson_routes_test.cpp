// Every way to a lesson over the demo book, from days in both kinds of schedule year (a 29-day
// Heshvan in 5773, two Adars in 5774 and 5787, before and after Tishri).
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "search/search.h"
#include "shell/navigation.h"
#include "shell/reader_test_support.h"
#include "store/book.h"
#include "store/index_records.h"
#include "view/letter_code.h"

namespace lekta::testing_support {
namespace {

const DateRecord DAYS[] = {
    {8, 28, 5773}, {10, 1, 5774}, {3, 10, 5785}, {8, 5, 5786}, {9, 27, 5787}};

class LessonRoutes : public ReaderTest {
  protected:
    int32_t open_on(const DateRecord& d) {
        EXPECT_TRUE(use_embedded_book(nullptr));
        select_day(day_number_from_hebrew(d.month, d.day, d.year), true);
        if (!window)
            window = plat::create_main_window(
                {MAIN_CLASS_NAME, MAIN_TITLE, main_window_proc, true, false, {}});
        go_to_day(window, g_settings.current_day);
        return g_settings.current_day;
    }
};

TEST_F(LessonRoutes, ARoundOfSearchAgainVisitsEveryOccurrenceOnceAndComesBack) {
    // "טו" is also a verse label, which no line of the view holds; "מרחפת" occurs once.
    for (std::u16string_view word : {u"השמים", u"טו", u"נח*תבה", u"מרחפת"}) {
        std::fill(std::begin(g_settings.search_string), std::end(g_settings.search_string), 0);
        std::transform(word.rbegin(), word.rend(), g_settings.search_string,
                       [](char16_t c) { return uint8_t(c >= 0x05D0 ? c - 0x05D0 + 0x61 : c); });
        for (const DateRecord& start : DAYS) {
            const int32_t first_day = open_on(start);
            size_t n = 0;  // every occurrence of the arrangement, each paragraph from its start
            for (uint16_t key = 0x101; key < 0xE00; ++key) {
                const LessonText text =
                    fetch_lesson_text(uint16_t(key | (g_settings.current_lesson & 0x1000)));
                uint32_t at = 0;
                for (ParagraphRecord p; text && next_paragraph(text.span(), at, p);) {
                    for (int64_t q = p.offset + int64_t{p.length} - 1; q >= p.offset; ++n) {
                        const auto m =
                            match_backward(text.span(), p.offset, search_string(), uint32_t(q));
                        if (!m) break;
                        q = int64_t{m->position} - m->length;
                    }
                }
            }
            std::vector<std::tuple<uint16_t, uint16_t, uint16_t>> round;
            do {
                command(CMD_SEARCH_AGAIN);
                round.emplace_back(g_settings.current_lesson, view()->hl_start, view()->hl_end);
                ASSERT_EQ(current_lesson_key(), g_settings.current_lesson);  // a day that reads it
                ASSERT_GE(g_settings.current_day, first_day);
            } while (round.size() <= n && (round.size() == 1 || round.back() != round.front()));
            EXPECT_EQ(round.back(), round.front());
            std::sort(round.begin(), round.end() - 1);
            EXPECT_EQ(std::unique(round.begin(), round.end() - 1) - round.begin(), ptrdiff_t(n));
            EXPECT_TRUE(boxes().empty());
        }
    }
}

TEST_F(LessonRoutes, SectionsLeadIntoTheCycleBeingReadAndBookmarksToTheirOwnLesson) {
    for (const DateRecord& start : DAYS) {
        const int32_t day = open_on(start);
        const int32_t year = start.year - (start.month == 7 || start.month == 8 ||
                                           (start.month == 9 && start.day < 19));
        const LessonText index = fetch_index_text(is_leap_cycle());
        uint32_t at = 0;
        for (IndexRecord r;
             next_index_record({index.bytes.get(), index.length}, at, r) == RecordRead::record;) {
            const auto key = static_cast<uint16_t>(r.key & INDEX_LESSON_MASK);
            if (!(r.key & INDEX_SECTION_BIT) || go_to_day(window, day) ||
                go_to_section(window, key))
                continue;
            // The section's lesson, or where its month is short the one read in its place.
            const uint16_t shown = g_settings.current_lesson;
            EXPECT_TRUE(shown == key || (shown == (key | 0x1F) && (key & 0xFF) >= 29))
                << std::hex << key;
            EXPECT_GE(g_settings.current_day, day_number_from_hebrew(9, 19, year));
            EXPECT_LT(g_settings.current_day, day_number_from_hebrew(9, 19, year + 1));
        }
        for (uint16_t key :
             std::initializer_list<uint16_t>{0x081E, 0x081F, 0x091E, 0x091F, 0x181F, 0x191E}) {
            g_settings.bookmarks = {key};
            go_to_bookmark(window, key);
            EXPECT_TRUE(g_settings.current_lesson == key &&
                        plat::menu_item_checked(main_menu(), CMD_BOOKMARK));
        }
    }
}

}  // namespace
}  // namespace lekta::testing_support
