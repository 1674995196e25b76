#include "search/search.h"

#include <cstring>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/lesson_store.h"
#include "view/frame.h"
#include "view/letter_code.h"

namespace lekta {

void (*g_search_shown_hook)() = nullptr;

namespace {

constexpr uint16_t KEY_SLOT_MASK = 0x00FF;
constexpr int32_t FIRST_SLOT_PAST_MONTH = 32;
constexpr int32_t LAST_MONTH = 13;
// Month 1..13 times slot 1..31: every key the walk can meet, and then some.
constexpr int32_t MAX_KEYS_WALKED = LAST_MONTH * FIRST_SLOT_PAST_MONTH + 1;
constexpr int32_t CYCLE_YEARS = 19;

int32_t key_month(uint16_t key) {
    return (key >> 8) & 0x0F;
}

// A key whose slot runs past the month's records goes on with slot 1 of the next month.
uint16_t normalize_key(uint16_t key) {
    if ((key & KEY_SLOT_MASK) < FIRST_SLOT_PAST_MONTH) return key;
    const int32_t month = key_month(key);
    const int32_t next = month < LAST_MONTH ? month + 1 : 1;
    return static_cast<uint16_t>((key & LESSON_KEY_LEAP_CYCLE) | next << 8 | 1);
}

// Place in the schedule year, which runs from 19 Kislev to 18 Kislev.
int32_t cycle_position(int32_t month, int32_t day) {
    int32_t pos = ((month + 4) % 13) * 30 + day;
    if (month == 9 && day < 19) pos += 390;
    return pos;
}

bool leap_cycle_in(int32_t month, int32_t day, int32_t year) {
    return is_leap_cycle_date(DateRecord{month, day, year});
}

// The first year from `from` on whose kind of cycle is `leap`; a 19-year cycle holds both.
int32_t year_of_kind(int32_t month, int32_t day, int32_t from, bool leap) {
    for (int32_t y = from; y < from + CYCLE_YEARS; ++y)
        if (leap_cycle_in(month, day, y) == leap) return y;
    return from;
}

// The paragraph whose text holds offset: its first text byte and its zero byte.
struct ParagraphBounds {
    uint32_t first = 0, zero = 0;
};
ParagraphBounds paragraph_at(const TextView& view, uint32_t offset) {
    uint32_t cursor = 0;
    ParagraphRecord record;
    const auto text = view.text.span();
    while (next_paragraph(text, cursor, record)) {
        if (offset <= record.offset + record.length) {
            if (offset < record.offset) break;
            return {record.offset, record.offset + record.length};
        }
    }
    return {};
}

// Past the hit in reading order. A hit that begins with its paragraph's first byte would leave
// the resume position before the paragraph's text, and the scan would meet the same hit again:
// the search goes on with the next paragraph instead.
uint32_t past_hit(const TextView& view) {
    const ParagraphBounds p = paragraph_at(view, view.hl_start);
    if (p.zero != 0 && p.first == view.hl_start) return p.zero + 1;
    return static_cast<uint16_t>(view.hl_start - 1);
}

}  // namespace

std::span<const uint8_t> search_string() {
    const auto& s = g_settings.search_string;
    const void* end = std::memchr(s, 0, sizeof s);
    const size_t n = end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - s) : sizeof s - 1;
    return {s, n};
}

uint32_t resume_position(const TextView& view) {
    const uint32_t past_end = view.text.length;
    if (!view.lines) return past_end;
    // The line on top of the page. A top row on the blank row after a paragraph starts the
    // page with the next line.
    const LineRecord* line = view.lines;
    uint16_t rows = view.top_row;
    while (line->style != 0 && rows != 0) {
        --rows;
        if (line->style & STYLE_BLANK_AFTER) {
            if (rows == 0) {
                ++line;
                break;
            }
            --rows;
        }
        ++line;
    }
    if (line->style == 0) return past_end;  // the page shows nothing of the text
    const uint32_t s = line->offset, count = line->count;
    const bool highlighted = view.hl_start != 0 || view.hl_end != 0;
    // Nothing highlighted, or the hit is off the page: from the top line, in reading order.
    if (!highlighted ||
        ((view.hl_end < s || view.hl_end > s + count) && view.top_row < view.max_top_row))
        return static_cast<uint16_t>(s + count - 1);
    if (view.hl_start != s) return past_hit(view);
    const LineRecord& next = line[1];
    if (next.style == 0) return past_end;
    const uint32_t position = static_cast<uint16_t>(next.offset + next.count);
    // A scan from there that still covers the hit's last byte would meet the same hit again.
    const ParagraphBounds p = paragraph_at(view, view.hl_start);
    if (position + 1 >= view.hl_end && position <= p.zero) return past_hit(view);
    return position;
}

int32_t day_of_lesson_ahead(uint16_t key) {
    const int32_t m = key_month(key), d = key & KEY_SLOT_MASK;
    const bool leap = (key & LESSON_KEY_LEAP_CYCLE) != 0;
    const DateRecord& now = g_reader.hebrew_date;
    int32_t year;
    if (m >= 7 && now.month < 7)
        year = year_of_kind(m, d, now.year + 1, leap);
    else if (cycle_position(m, d) >= cycle_position(now.month, now.day))
        year = now.year;
    else
        year = year_of_kind(m, d, now.year, leap);
    return day_number_from_hebrew(m, d, year);
}

int show_hit(TextView* view, Hit hit) {
    if (!view || !hit) return 0;
    // The hit lies inside the text it was found in; refuse anything else rather than
    // highlight outside it.
    if (hit.offset >= view->text.length || hit.length == 0 || hit.length > hit.offset + 1u)
        return 0;
    find_offset(view, hit.offset);
    repaint_window(g_reader.main_window, PAINT_EVERYTHING);
    view->hl_start = static_cast<uint16_t>(hit.offset - hit.length + 1);
    view->hl_end = static_cast<uint16_t>(hit.offset + 1);
    draw_view(view, DRAW_ERASE);
    if (g_search_shown_hook) g_search_shown_hook();
    draw_caption_box(view);
    return 1;
}

int search_next(plat::Window* owner) {
    const auto pattern = search_string();
    if (pattern.empty()) return 0;
    Settings& s = g_settings;
    Reader& r = g_reader;
    TextView* view = r.view;
    const bool has_text = view && view->text;
    if (has_text) {
        const Hit hit = search_text(view->text.span(), resume_position(*view), pattern);
        if (hit) return show_hit(view, hit);
    }

    const uint16_t first = s.current_lesson;
    uint16_t key = static_cast<uint16_t>(first + 1);
    // A current key the walk never meets (no month, slot 0, stray bits) still ends the walk.
    for (int32_t walked = 0;; ++walked, ++key) {
        key = normalize_key(key);
        if (key == first || walked > MAX_KEYS_WALKED) {
            if (has_text) {
                const Hit hit = search_text(view->text.span(), 0, pattern);
                if (hit) return show_hit(view, hit);
            }
            plat::message_box(owner, u"Not Found!", u"Lekta", plat::MB_OK);
            return 0;
        }
        LessonText text = fetch_lesson_text(key);
        if (!text) continue;
        const Hit hit = search_text(text.span(), 0, pattern);
        if (!hit) continue;

        select_day(day_of_lesson_ahead(key), true);
        if (!view) {
            repaint_window(r.main_window, PAINT_EVERYTHING);
            return 1;
        }
        set_text(view, &text, TAKE_TEXT);
        view->top_row = 0;
        return show_hit(view, hit);
    }
}

}  // namespace lekta
