#include "calendar/date_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace lekta {
namespace {

// The text as a string, or "<none>" when nothing is written.
std::string text_of(int32_t month, int32_t day, int32_t year) {
    const DateRecord date{month, day, year};
    uint8_t out[64];
    std::memset(out, 0xAA, sizeof out);
    const int n = hebrew_date_text(&date, out);
    if (n == 0) {
        EXPECT_EQ(out[0], 0xAA) << "wrote on refusal";
        return "<none>";
    }
    EXPECT_EQ(out[n], 0);
    return std::string(reinterpret_cast<const char*>(out), static_cast<size_t>(n));
}

// The year numeral alone: the text before the first space.
std::string year_of(int32_t year) {
    const std::string t = text_of(7, 1, year);
    return t.substr(0, t.find(' '));
}

TEST(DateText, Examples) {
    EXPECT_EQ(text_of(10, 11, 5767), "\x67\x72\x7A\x7B\x27\x65\x20\x7B\x62\x69\x20\x61\x6A");
    EXPECT_EQ(text_of(1, 15, 5768), "\x68\x72\x7A\x7B\x27\x65\x20\x70\x72\x6A\x71\x20\x66\x69");
    EXPECT_EQ(year_of(5270), "\x79\x73\x27\x65");
    EXPECT_EQ(year_of(5716), "\x67\x69\x7A\x7B\x27\x65");
    EXPECT_EQ(year_of(6000), "\x79\x7B\x7B\x27\x65");
}

TEST(DateText, Numerals) {
    EXPECT_EQ(text_of(7, 16, 5767), "grz{'e jyz{ gi");
    EXPECT_EQ(text_of(7, 10, 5767), "grz{'e jyz{ j");
    EXPECT_EQ(text_of(7, 20, 5767), "grz{'e jyz{ l");
    EXPECT_EQ(text_of(7, 30, 5767), "grz{'e jyz{ m");
    EXPECT_EQ(text_of(7, 29, 5767), "grz{'e jyz{ il");
    EXPECT_EQ(year_of(5715), "fiz{'e");
    const char* exceptions[] = {"bys'e", "yds'e", "eys'e", "why'e", "dz'e", "odz'e"};
    const int32_t years[] = {5272, 5274, 5275, 5298, 5304, 5344};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(year_of(years[i]), exceptions[i]);
    EXPECT_EQ(year_of(999), "iwx{{");  // no thousands, no apostrophe
    EXPECT_EQ(year_of(1000), "y{{");
    EXPECT_EQ(year_of(15767), "grz{'e");  // only the last thousands digit
    EXPECT_EQ(year_of(10767), "grz{'");
}

TEST(DateText, MonthNamesAndRefusals) {
    EXPECT_EQ(text_of(12, 1, 5767), "grz{'e yda a");
    EXPECT_EQ(text_of(12, 1, 5768), "hrz{'e 'a yda a");
    EXPECT_EQ(text_of(13, 1, 5768), "hrz{'e 'b yda a");
    EXPECT_EQ(text_of(13, 1, 5767), "<none>");
    EXPECT_EQ(text_of(14, 1, 5768), "<none>");
    uint8_t out[DATE_TEXT_MAX];
    const DateRecord ok{7, 1, 5767};
    EXPECT_EQ(hebrew_date_text(nullptr, out), 0);
    EXPECT_EQ(hebrew_date_text(&ok, nullptr), 0);
    for (int32_t v : {INT32_MIN, -1, 0, 31, INT32_MAX}) {
        EXPECT_EQ(text_of(7, v, 5767), "<none>") << v;
        EXPECT_EQ(text_of(v, 1, 5767), "<none>") << v;
        if (v < 1) {
            EXPECT_EQ(text_of(7, 1, v), "<none>") << v;
        }
    }
}

// The numeral depends on the year's last three digits and its thousands digit, so 1..20999 and
// the largest years reach every text; none needs more than DATE_TEXT_MAX bytes.
TEST(DateText, NeverLongerThanTheBound) {
    int longest = 0;
    uint8_t out[DATE_TEXT_MAX + 8];
    auto check = [&](int32_t year) {
        const int32_t last = is_hebrew_leap_year(year) ? 13 : 12;
        for (int32_t month = 1; month <= last; ++month) {
            for (int32_t day = 1; day <= 30; ++day) {
                const DateRecord d{month, day, year};
                const int n = hebrew_date_text(&d, out);
                ASSERT_TRUE(n > 0 && n < DATE_TEXT_MAX) << year;
                if (n > longest) longest = n;
            }
        }
    };
    for (int32_t year = 1; year <= 20999; ++year)
        check(year);
    for (int32_t year = INT32_MAX - 1000; year != INT32_MAX; ++year)
        check(year);
    check(INT32_MAX);
    EXPECT_EQ(longest, DATE_TEXT_MAX - 1);
}

}  // namespace
}  // namespace lekta
