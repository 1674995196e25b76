#include "export/flat_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/reader.h"
#include "state/settings.h"

namespace lekta {
namespace {

std::vector<uint8_t> lesson(std::initializer_list<std::pair<uint8_t, std::string>> records) {
    std::vector<uint8_t> text;
    for (const auto& [style, bytes] : records) {
        text.push_back(style);
        text.push_back(0);
        text.insert(text.end(), bytes.begin(), bytes.end());
        text.push_back(0);
    }
    text.insert(text.end(), 4, 0);
    return text;
}

// Reading order gives the source text back, Latin words and numbers included, whatever the
// Reverse setting; reading-order records stay as they are.
TEST(FlatText, ReadingOrderGivesTheSourceText) {
    g_settings = Settings{};
    g_reader = Reader{};
    const std::vector<uint8_t> text =
        lesson({{0xB1, "fed ABC 123 (cba)"}, {0x31, "(b] a"}, {0x01, "ab 12"}});
    const std::u16string expected =
        u"(\u05D0\u05D1\u05D2) ABC 123 \u05D3\u05D4\u05D5\r\n\r\n"
        u"\u05D0 [\u05D1)\r\n"
        u"\u05D0\u05D1 12\r\n";
    EXPECT_EQ(expected, flatten_lesson(text, FlatOrder::Reading));
    g_settings.flags = FLAG_REVERSE;
    EXPECT_EQ(expected, flatten_lesson(text, FlatOrder::Reading));
    EXPECT_EQ(FLAG_REVERSE, g_settings.flags);
    g_settings = Settings{};
    g_reader = Reader{};
}

}  // namespace
}  // namespace lekta
