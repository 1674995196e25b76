#include "calendar/date_text.h"

#include <cstring>

namespace lekta {

namespace {

constexpr const char* UNITS[10] = {"", "a", "b", "c", "d", "e", "f", "g", "h", "i"};
constexpr const char* TENS[10] = {"", "j", "l", "m", "o", "q", "r", "s", "u", "w"};
// Index 10 serves years whose last three digits are 000.
constexpr const char* HUNDREDS[11] = {"", "x", "y", "z", "{", "x{", "y{", "z{", "{{", "x{{", "y{{"};

constexpr const char* FIFTEEN = "fi";
constexpr const char* SIXTEEN = "gi";

struct YearException {
    int32_t last_digits;
    const char* text;
};
// Hundreds-tens-units groups written otherwise than letter by letter.
constexpr YearException YEAR_EXCEPTIONS[] = {
    {270, "ys"}, {272, "bys"}, {274, "yds"}, {275, "eys"}, {298, "why"}, {304, "dz"}, {344, "odz"},
};

constexpr const char* MONTH_NAMES[2][14] = {
    {nullptr, "prjq", "yjja", "pfjr", "gfo{", "ba", "mfma", "jyz{", "pfzh", "fmrl", "{bi", "ibz",
     "yda", nullptr},
    {nullptr, "prjq", "yjja", "pfjr", "gfo{", "ba", "mfma", "jyz{", "pfzh", "fmrl", "{bi", "ibz",
     "'a yda", "'b yda"},
};

// Appends a table string; the tables hold nothing longer than the text's bound allows.
uint8_t* put(uint8_t* p, const char* s) {
    const size_t n = std::strlen(s);
    std::memcpy(p, s, n);
    return p + n;
}

}  // namespace

int hebrew_date_text(const DateRecord* date, uint8_t* out) {
    if (date == nullptr || out == nullptr) return 0;
    const bool leap = is_hebrew_leap_year(date->year);
    const int32_t month = date->month;
    if (month < 1 || month > (leap ? 13 : 12)) return 0;
    // Years from 1 on and days of a Hebrew month are all the numerals can write.
    if (date->day < 1 || date->day > 30 || date->year < 1) return 0;

    int32_t k = date->year / 1000;
    int32_t r = date->year % 1000;
    if (r == 0 && k > 0) {
        k -= 1;
        r = 1000;
    }
    const char* group = "";
    for (const YearException& e : YEAR_EXCEPTIONS) {
        if (r == e.last_digits) {
            group = e.text;
            r = 0;
            break;
        }
    }
    const int32_t h = r / 100;
    const int32_t t = r % 100;
    int32_t tens = t / 10;
    int32_t units = t % 10;
    if (t == 16 || t == 15) {
        group = t == 16 ? SIXTEEN : FIFTEEN;
        tens = units = 0;
    }

    uint8_t* p = out;
    p = put(p, group);
    p = put(p, UNITS[units]);
    p = put(p, TENS[tens]);
    p = put(p, HUNDREDS[h]);
    if (k > 0) {
        // A year of 10000 or more shows only the last digit of its thousands.
        *p++ = '\'';
        p = put(p, UNITS[k % 10]);
    }
    *p++ = ' ';
    p = put(p, MONTH_NAMES[leap ? 1 : 0][month]);
    *p++ = ' ';
    const int32_t d = date->day;
    if (d == 15 || d == 16) {
        p = put(p, d == 16 ? SIXTEEN : FIFTEEN);
    } else {
        p = put(p, UNITS[d % 10]);
        p = put(p, TENS[d / 10]);
    }
    *p = 0;
    return static_cast<int>(p - out);
}

}  // namespace lekta
