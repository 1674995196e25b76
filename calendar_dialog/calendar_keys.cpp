// Choosing a day from the keyboard: a day's number typed in digits or as a Hebrew numeral.
#include <array>

#include "calendar_dialog/calendar_state.h"

namespace lekta {
namespace {

constexpr char16_t ALEF = 0x05D0;
constexpr char16_t TAV = 0x05EA;

bool is_geresh(char16_t c) {
    return c == u'\'' || c == u'"' || c == 0x05F3 || c == 0x05F4;
}

// The numeral of a day, 1..30, as Unicode letters in reading order: tens then units, with 15
// and 16 written 9 + 6 and 9 + 7.
std::array<char16_t, 2> numeral(int32_t day) {
    constexpr char16_t TENS[] = {0, 0x05D9, 0x05DB, 0x05DC};  // י כ ל
    const int32_t tens = day / 10;
    const int32_t units = day % 10;
    if (day == 15 || day == 16) return {char16_t(ALEF + 8), char16_t(ALEF + day - 10)};
    std::array<char16_t, 2> out{};
    int n = 0;
    if (tens) out[size_t(n++)] = TENS[tens];
    if (units) out[size_t(n++)] = char16_t(ALEF + units - 1);
    return out;
}

// The day whose number the characters spell, 0 for none.
int32_t day_of(const char16_t* chars, int count, int32_t month_length) {
    if (count <= 0) return 0;
    if (chars[0] >= u'0' && chars[0] <= u'9') {
        int32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (chars[i] < u'0' || chars[i] > u'9') return 0;
            value = value * 10 + (chars[i] - u'0');
        }
        return value >= 1 && value <= month_length ? value : 0;
    }
    for (int32_t day = 1; day <= month_length; ++day) {
        const std::array<char16_t, 2> n = numeral(day);
        const int length = n[1] ? 2 : 1;
        if (length == count && n[0] == chars[0] && (count == 1 || n[1] == chars[1])) return day;
    }
    return 0;
}

}  // namespace

int32_t typed_day(CalendarState& s, char16_t c) {
    if (is_geresh(c)) return 0;
    const bool digit = c >= u'0' && c <= u'9';
    if (!digit && (c < ALEF || c > TAV)) return 0;
    const int32_t length = s.month_length;
    // Added to what was typed when the two spell a day; otherwise the start of a new one.
    if (s.typed_count == 1) {
        const char16_t pair[2] = {s.typed[0], c};
        if (const int32_t day = day_of(pair, 2, length)) {
            s.typed_count = 0;
            return day;
        }
    }
    s.typed[0] = c;
    s.typed_count = 1;
    return day_of(&c, 1, length);
}

void mark_day(CalendarState& s, int32_t day) {
    if (day < 1 || day > s.month_length) return;
    s.displayed.day = day;
    s.key_marked = true;
    clamp_and_show(s);
}

plat::Rect day_cell_rect(const CalendarState& s, int32_t day) {
    const Cell cell = day_cell(s, day);
    const CalendarLayout& l = s.layout;
    const int32_t x = l.grid_left + cell.column * l.cell_width;
    const int32_t y = l.grid_top + cell.row * l.cell_height;
    return {x, y, x + l.cell_width + 1, y + l.cell_height + 1};
}

}  // namespace lekta
