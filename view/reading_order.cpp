#include "view/reading_order.h"

#include <algorithm>

namespace lekta {
namespace {

// Bidirectional classes of the letter code that matter on the way back.
enum class Kind : uint8_t {
    hebrew,      // strong right-to-left: the 27 letters
    latin,       // strong left-to-right
    digit,       // European digits
    separator,   // + - , . / : and no-break space: join digits when single between them
    terminator,  // # $ % and the like: join the digits they touch
    neutral,
};

constexpr uint8_t FIRST_LETTER = 0x61;
constexpr uint8_t LAST_LETTER = 0x7B;

Kind kind_of(uint8_t b) {
    if (b >= FIRST_LETTER && b <= LAST_LETTER) return Kind::hebrew;
    if (is_latin_letter(b)) return Kind::latin;
    if (is_digit_byte(b)) return Kind::digit;
    switch (b) {
        case '+':
        case '-':
        case ',':
        case '.':
        case '/':
        case ':':
        case 0xA0:
            return Kind::separator;
        case '#':
        case '$':
        case '%':
        case 0xA2:
        case 0xA3:
        case 0xA4:
        case 0xA5:
        case 0xB0:
        case 0xB1:
            return Kind::terminator;
        default:
            return Kind::neutral;
    }
}

bool is_closing(uint8_t b) {
    return b == ')' || b == ']' || b == 0x7D;
}

uint8_t opening_of(uint8_t b) {
    return b == ')' ? '(' : b == ']' ? '[' : 0x7E;  // 0x7E stands for '{'
}

// Numbers in [begin, end): digits, a single separator between digits, and the terminators
// touching them, each number one run.
void add_numbers(const uint8_t* bytes, int32_t begin, int32_t end, std::vector<LtrRun>& runs) {
    int32_t i = begin;
    while (i < end) {
        if (kind_of(bytes[i]) != Kind::digit) {
            ++i;
            continue;
        }
        int32_t first = i;
        int32_t last = i + 1;
        for (;;) {
            while (last < end && kind_of(bytes[last]) == Kind::digit)
                ++last;
            if (last + 1 < end && kind_of(bytes[last]) == Kind::separator &&
                kind_of(bytes[last + 1]) == Kind::digit) {
                last += 2;
                continue;
            }
            while (last < end && kind_of(bytes[last]) == Kind::terminator)
                ++last;
            if (last < end && kind_of(bytes[last]) == Kind::digit) continue;
            break;
        }
        const int32_t floor = runs.empty() ? begin : std::max(begin, runs.back().end);
        while (first > floor && kind_of(bytes[first - 1]) == Kind::terminator)
            --first;
        runs.push_back({first, last});
        i = last;
    }
}

// One stretch between Hebrew letters. In stored order it holds, left to right: the marks
// that followed the Latin text, the Latin text itself in its own order (from its first
// letter, or a number touching it, to its last letter or digit), then what came before it,
// turned round.
void add_stretch(const uint8_t* bytes, int32_t begin, int32_t end, std::vector<LtrRun>& runs) {
    int32_t first = begin;
    while (first < end && kind_of(bytes[first]) != Kind::latin)
        ++first;
    if (first == end) {
        add_numbers(bytes, begin, end, runs);
        return;
    }
    add_numbers(bytes, begin, first, runs);
    // A number touching the first letter is drawn with it, in one run.
    if (!runs.empty() && runs.back().end == first && runs.back().first >= begin) {
        first = runs.back().first;
        runs.pop_back();
    }
    int32_t last = end - 1;
    while (kind_of(bytes[last]) != Kind::latin && kind_of(bytes[last]) != Kind::digit)
        --last;
    // Digits beyond the last letter join the run, unless what followed the run in reading
    // order is a terminator: touching the digits it would have joined them.
    const bool after_run_terminator =
        first > begin && kind_of(bytes[first - 1]) == Kind::terminator;
    if (kind_of(bytes[last]) == Kind::digit && after_run_terminator) {
        while (kind_of(bytes[last]) != Kind::latin)
            --last;
    }
    for (;;) {
        const uint8_t next = last + 1 < end ? bytes[last + 1] : 0;
        if (last + 1 >= end) break;
        if (kind_of(next) == Kind::terminator) {
            // Terminators join the run only when they touch its digits.
            int32_t back = last;
            while (back > first && kind_of(bytes[back]) == Kind::terminator)
                --back;
            if (kind_of(bytes[back]) != Kind::digit) break;
            ++last;
        } else if (is_closing(next)) {
            // A bracket closes within the run only when the run opened it.
            int32_t depth = 0;
            bool opened = false;
            for (int32_t k = last; k >= first && !opened; --k) {
                if (bytes[k] == next) ++depth;
                if (bytes[k] == opening_of(next)) {
                    if (depth == 0)
                        opened = true;
                    else
                        --depth;
                }
            }
            if (!opened) break;
            ++last;
        } else {
            break;
        }
    }
    runs.push_back({first, last + 1});
    add_numbers(bytes, last + 1, end, runs);
}

}  // namespace

bool is_latin_letter(uint8_t b) {
    return (b >= 'A' && b <= 'Z') || b == 0xAA || b == 0xB5 || b == 0xBA ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

bool is_digit_byte(uint8_t b) {
    return (b >= '0' && b <= '9') || b == 0xB2 || b == 0xB3 || b == 0xB9;
}

std::vector<LtrRun> ltr_runs(const uint8_t* bytes, int32_t count) {
    std::vector<LtrRun> runs;
    if (!bytes || count <= 0) return runs;
    if (std::none_of(bytes, bytes + count,
                     [](uint8_t b) { return is_latin_letter(b) || is_digit_byte(b); }))
        return runs;
    int32_t i = 0;
    while (i < count) {
        if (kind_of(bytes[i]) == Kind::hebrew) {
            ++i;
            continue;
        }
        int32_t end = i;
        while (end < count && kind_of(bytes[end]) != Kind::hebrew)
            ++end;
        add_stretch(bytes, i, end, runs);
        i = end;
    }
    return runs;
}

void visual_to_reading(const uint8_t* bytes, int32_t count, uint8_t* reading) {
    if (!bytes || !reading || count <= 0) return;
    for (int32_t i = 0; i < count; ++i)
        reading[count - 1 - i] = mirror_byte(bytes[i]);
    // Left-to-right runs were turned and mirrored with the rest: turn them back.
    for (const LtrRun& run : ltr_runs(bytes, count))
        std::copy(bytes + run.first, bytes + run.end, reading + (count - run.end));
}

int32_t reading_index(const std::vector<LtrRun>& runs, int32_t count, int32_t stored) {
    for (const LtrRun& run : runs)
        if (stored >= run.first && stored < run.end) return count - run.end + (stored - run.first);
    return count - 1 - stored;
}

void visual_to_reading_run(const uint8_t* bytes, int32_t count, char16_t* run) {
    if (!bytes || !run || count <= 0) return;
    const std::vector<LtrRun> runs = ltr_runs(bytes, count);
    std::reverse(run, run + count);
    for (int32_t i = 0; i < count; ++i)
        run[i] = mirror_char(run[i]);
    for (const LtrRun& r : runs) {
        char16_t* first = run + (count - r.end);
        char16_t* last = run + (count - r.first);
        std::reverse(first, last);
        for (char16_t* c = first; c != last; ++c)
            *c = mirror_char(*c);
    }
}

char16_t mirror_char(char16_t c) {
    switch (c) {
        case u'(':
            return u')';
        case u')':
            return u'(';
        case u'[':
            return u']';
        case u']':
            return u'[';
        case u'{':
            return u'}';
        case u'}':
            return u'{';
        default:
            return c;
    }
}

uint8_t mirror_byte(uint8_t b) {
    // In the letter code 0x7E stands for '{', and 0x7B is a letter.
    if (b == 0x7E) return '}';
    if (b == '}') return 0x7E;
    return b == '{' ? b : static_cast<uint8_t>(mirror_char(b));
}

}  // namespace lekta
