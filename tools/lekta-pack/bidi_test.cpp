// The packer's visual order (ICU's bidirectional algorithm) against the reader's way back.
#include "tools/lekta-pack/bidi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "view/reading_order.h"

namespace lekta::pack {
namespace {

using Bytes = std::vector<uint8_t>;

// UTF-8 with Hebrew letters to letter code; other characters are ASCII here.
Bytes code(const std::string& text) {
    Bytes out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == 0xD7 && i + 1 < text.size()) {
            out.push_back(static_cast<uint8_t>(0x61 + (0x5C0 + (text[++i] & 0x3F) - 0x5D0)));
        } else {
            out.push_back(c);
        }
    }
    return out;
}

Bytes reading_of(const Bytes& visual) {
    Bytes reading(visual.size());
    visual_to_reading(visual.data(), static_cast<int32_t>(visual.size()), reading.data());
    return reading;
}

// What the reader did before it knew of left-to-right runs: reverse, mirror ( ) [ ] { }.
Bytes reversed_and_mirrored(Bytes text) {
    std::reverse(text.begin(), text.end());
    for (uint8_t& b : text) {
        const char* pairs = "()[]~}";  // 0x7E stands for '{'
        for (int k = 0; k < 6; ++k) {
            if (b == static_cast<uint8_t>(pairs[k])) {
                b = static_cast<uint8_t>(pairs[k ^ 1]);
                break;
            }
        }
    }
    return text;
}

Bytes random_text(std::mt19937& rng, const std::string& alphabet, size_t max_length) {
    const size_t n = std::uniform_int_distribution<size_t>(0, max_length)(rng);
    Bytes text;
    for (size_t i = 0; i < n; ++i) {
        const size_t k = std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng);
        text.push_back(static_cast<uint8_t>(alphabet[k]));
    }
    return text;
}

// Hebrew letters and every mark a lesson may hold: both ways are exactly the plain reversal
// with mirrored brackets, byte for byte.
TEST(Bidi, RightToLeftTextIsExactlyReversedAndMirrored) {
    std::string alphabet = " \"'()*.:[]-,;!?<>}~|";
    for (char c = 0x61; c <= 0x7B; ++c)
        alphabet += c;
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const Bytes text = random_text(rng, alphabet, 40);
        const Bytes visual = visual_order(text);
        ASSERT_EQ(reversed_and_mirrored(text), visual) << i;
        ASSERT_EQ(reversed_and_mirrored(visual), reading_of(visual)) << i;
        ASSERT_TRUE(ltr_runs(visual.data(), static_cast<int32_t>(visual.size())).empty());
    }
}

TEST(Bidi, LatinWordsAndNumbersKeepTheirOrder) {
    EXPECT_EQ(code("והד ABC 123 גבא"), visual_order(code("אבג ABC 123 דהו")));
    EXPECT_EQ(code("21:03 העשב"), visual_order(code("בשעה 21:03")));
    EXPECT_EQ(code("(ABC) רבד"), visual_order(code("דבר (ABC)")));
    // Round trips of what books are likely to hold.
    for (const char* text : {"אבג ABC 123 דהו",
                             "ABC",
                             "123",
                             "פרק 12",
                             "בשעה 21:03",
                             "3.5% מהם",
                             "עלה $5",
                             "דבר (ABC)",
                             "ABC (5) דבר",
                             "ABC DEF GHI",
                             "א 12 34 ב",
                             "(12) [34]",
                             "[ABC] דבר",
                             "ABC-DEF א",
                             "WORD, 5 מילים",
                             "ABC 5% ד",
                             "ABC (DEF) ג",
                             "כ-20 איש",
                             "ע\"פ ISO 8601: 2026-12-07",
                             "ראה NOTE 3.",
                             "1,000,000 ש\"ח",
                             "(א) ABC"}) {
        const Bytes logical = code(text);
        EXPECT_EQ(logical, reading_of(visual_order(logical))) << text;
    }
}

// Where the stored order fits two readings (a number before a Latin word draws exactly as
// the word before the number), the reader's reading still draws the same: the packer refuses
// such text rather than print something other than its source. (Brackets that pair across
// Hebrew and Latin text are beyond the reader's way back; the packer refuses those too.)
TEST(Bidi, AnyReadingBackDrawsTheSame) {
    const std::string alphabet = "abcdeAB12  .,-:%$";
    std::mt19937 rng(11);
    int exact = 0;
    const int rounds = 20000;
    for (int i = 0; i < rounds; ++i) {
        const Bytes text = random_text(rng, alphabet, 16);
        const Bytes visual = visual_order(text);
        const Bytes back = reading_of(visual);
        exact += back == text;
        ASSERT_EQ(visual, visual_order(back)) << std::string(text.begin(), text.end());
    }
    EXPECT_GT(exact, rounds / 2);
}

}  // namespace
}  // namespace lekta::pack
