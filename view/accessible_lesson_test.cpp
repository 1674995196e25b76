// The lesson as a screen reader gets it: the text in reading order, headings, and stored byte
// offsets (the top row, a search hit) carried over to offsets in that text.
#include "view/accessible_lesson.h"

#include <algorithm>

#include "calendar/hebrew_calendar.h"
#include "view/letter_code.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using testing_support::Lesson;
using testing_support::ViewTest;

constexpr uint8_t VISUAL_TEXT = STYLE_VISUAL | STYLE_BLANK_AFTER;
constexpr uint8_t READING_TEXT = 0x01;  // size 1, no flags

class AccessibleLessonTest : public ViewTest {};

// Title, subtitle, a rule, a labelled verse with a number (stored visually: "12 dcb a" reads
// "a bcd 12"), and a paragraph already in reading order.
Lesson sample() {
    Lesson lesson;
    lesson.add(STYLE_TITLE, 0, "ba")
        .add(STYLE_SUBTITLE, 0, "c")
        .add(STYLE_RULE, 50, "")
        .add(VISUAL_TEXT, 0x40, "12 dcb a")
        .add(READING_TEXT, 0, "ef 3");
    return lesson;
}

std::u16string hebrew(std::u16string_view letters) {
    std::u16string out(letters);
    for (char16_t& c : out)
        if (c >= u'a' && c <= u'z') c = char16_t(0x05D0 + (c - u'a'));
    return out;
}

TEST_F(AccessibleLessonTest, ReadingOrderHeadingsAndEveryByteInItsPlace) {
    ASSERT_EQ(LAYOUT_OK, show(sample()));
    const std::span<const uint8_t> stored = view->text.span();
    const AccessibleLesson lesson = accessible_lesson(stored);
    EXPECT_EQ(hebrew(u"ab\nc\na bcd 12\nef 3"), lesson.text);
    ASSERT_EQ(4u, lesson.paragraphs.size());  // the rule is left out
    EXPECT_EQ(ParagraphKind::title, lesson.paragraphs[0].kind);
    EXPECT_EQ(ParagraphKind::subtitle, lesson.paragraphs[1].kind);
    EXPECT_EQ(ParagraphKind::text, lesson.paragraphs[2].kind);
    // Every stored byte maps onto its own character, each place taken once.
    for (const AccessibleParagraph& p : lesson.paragraphs) {
        std::vector<int32_t> places;
        for (int32_t i = 0; i < p.length; ++i) {
            const int32_t at = text_offset(lesson, stored, p.byte_offset + uint32_t(i));
            ASSERT_GE(at, p.start);
            ASSERT_LT(at, p.start + p.length);
            const uint8_t b = stored[p.byte_offset + uint32_t(i)];
            EXPECT_EQ(hebrew(std::u16string(1, char16_t(b)))[0], lesson.text[size_t(at)]);
            places.push_back(at);
        }
        std::sort(places.begin(), places.end());
        EXPECT_TRUE(std::adjacent_find(places.begin(), places.end()) == places.end());
    }
    // A byte between records reads as the start of the next paragraph; past the end, the end.
    EXPECT_EQ(lesson.paragraphs[1].start,
              text_offset(lesson, stored, lesson.paragraphs[1].byte_offset - 1));
    EXPECT_EQ(int32_t(lesson.text.size()), text_offset(lesson, stored, uint32_t(stored.size())));
}

TEST_F(AccessibleLessonTest, TheTopRowIsTheCaretAndTheHitTheSelection) {
    ASSERT_EQ(LAYOUT_OK, show(sample()));
    const AccessibleLesson lesson = accessible_lesson(view->text.span());
    EXPECT_EQ(0, reading_state(*view).caret);
    EXPECT_EQ(0, reading_state(*view).selection_end);  // no hit
    // The verse's row: its reading starts at its label.
    int32_t row = 0;
    for (uint16_t i = 0;
         i < view->line_count && view->lines[i].offset < lesson.paragraphs[2].byte_offset; ++i)
        row += line_rows(view->lines[i]);
    view->top_row = uint16_t(row);
    EXPECT_EQ(lesson.paragraphs[2].start, reading_state(*view).caret);
    // A hit on "dcb" as stored reads "bcd": the selection covers it in the text.
    const uint32_t verse = lesson.paragraphs[2].byte_offset;
    view->hl_start = uint16_t(verse + 3);
    view->hl_end = uint16_t(verse + 6);
    const ReadingState state = reading_state(*view);
    EXPECT_EQ(hebrew(u"bcd"),
              state.lesson.text.substr(size_t(state.selection_start),
                                       size_t(state.selection_end - state.selection_start)));
    // A selected passage stands before the hit: reading positions, the label's included.
    view->sel_anchor = uint16_t(verse + 4);
    view->sel_caret = uint16_t(verse);
    const ReadingState selected = reading_state(*view);
    EXPECT_EQ(
        lesson.text.substr(size_t(lesson.paragraphs[2].start), 4),
        selected.lesson.text.substr(size_t(selected.selection_start),
                                    size_t(selected.selection_end - selected.selection_start)));
}

TEST(SpokenDate, HebrewThenCivilWithOrWithoutTheYears) {
    const int32_t day = day_number_from_civil(12, 8, 2026);  // 28 Kislev 5787
    EXPECT_EQ(u"\u05DB\u05D7 \u05DB\u05E1\u05DC\u05D5, Tuesday 8 December",
              spoken_date(day, false));
    const std::u16string full = spoken_date(day, true);
    EXPECT_EQ(u", Tuesday 8 December 2026", full.substr(full.find(u',')));
}

}  // namespace
}  // namespace lekta
