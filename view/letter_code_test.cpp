#include "view/letter_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/reader.h"
#include "state/settings.h"
#include "view/reading_order.h"

namespace lekta {
namespace {

class LetterCodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_settings = Settings{};
        g_reader = Reader{};
    }
    void TearDown() override {
        g_settings = Settings{};
        g_reader = Reader{};
    }

    std::u16string convert(std::string_view bytes, int32_t count = -1) {
        if (count < 0) count = static_cast<int32_t>(bytes.size());
        const char16_t* run =
            to_display_text(reinterpret_cast<const uint8_t*>(bytes.data()), count);
        return run ? std::u16string(run) : u"<null>";
    }
};

TEST_F(LetterCodeTest, ConvertsLettersBraceAndPassThrough) {
    EXPECT_EQ(convert("\x61\x7B"), u"\u05D0\u05EA");
    EXPECT_EQ(convert("\x7E\x7C\x7D"), u"{|}");
    EXPECT_EQ(convert("\x01 :\x60\x7F\xFF"), u"\u0001 :`\u007F\u00FF");
    g_settings.font_spec.font_ascii_base = 224;
    EXPECT_EQ(convert("\x61\x7B"), u"\u00E0\u00FA");
    g_settings.font_spec.font_ascii_base = 97;
    EXPECT_EQ(convert("az{"), u"az{");
}

// Mirroring in the letter code and after conversion must agree byte for byte, or text turned
// round before conversion (the packer, search) and after it (the view) would differ.
TEST_F(LetterCodeTest, MirroringAgreesBeforeAndAfterConversion) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string mirrored(1, static_cast<char>(mirror_byte(static_cast<uint8_t>(b))));
        const std::u16string shown = convert(one);
        EXPECT_EQ(convert(mirrored), std::u16string(1, mirror_char(shown[0]))) << b;
        EXPECT_EQ(mirror_byte(mirror_byte(static_cast<uint8_t>(b))), b) << b;
    }
}

TEST_F(LetterCodeTest, StopsAtZeroAndCount) {
    EXPECT_EQ(convert(std::string_view("ab\0cd", 5)), u"\u05D0\u05D1");
    EXPECT_EQ(convert("abcd", 2), u"\u05D0\u05D1");
    EXPECT_EQ(convert("abcd", 0), u"");
}

TEST_F(LetterCodeTest, ReverseTurnsRunsAndMirrorsBrackets) {
    g_settings.flags = FLAG_REVERSE;
    EXPECT_EQ(convert("(a] ~"), u"} [\u05D0)");
    EXPECT_EQ(convert("", 0), u"");
    g_settings.font_spec.font_ascii_base = 224;
    EXPECT_EQ(convert("ab("), u")\u00E1\u00E0");
    // A font with the letters at their ASCII places draws the stored order.
    g_settings.font_spec.font_ascii_base = 97;
    EXPECT_EQ(convert("ab("), u"ab(");
}

TEST_F(LetterCodeTest, ReverseKeepsLatinWordsAndNumbersInTheirOrder) {
    g_settings.flags = FLAG_REVERSE;
    // Stored "ba ABC 123 (dc)" is read "(cd) ABC 123 ab".
    EXPECT_EQ(convert("ba ABC 123 (dc)"), u"(\u05D2\u05D3) ABC 123 \u05D0\u05D1");
    EXPECT_EQ(convert("12:30 a"), u"\u05D0 12:30");
    EXPECT_EQ(convert("34 12 a"), u"\u05D0 12 34");  // numbers apart are read right to left
    EXPECT_EQ(convert("(5$) a"), u"\u05D0 (5$)");
    EXPECT_EQ(convert("A (5)"), u"A (5)");
    // Stored bytes, not what they look like, decide: at base 224 the letters look Latin.
    g_settings.font_spec.font_ascii_base = 224;
    EXPECT_EQ(convert("AB ba"), u"\u00E0\u00E1 AB");
}

TEST_F(LetterCodeTest, ReverseTurnsOnlyWhatWasConverted) {
    g_settings.flags = FLAG_REVERSE;
    EXPECT_EQ(convert(std::string_view("ab\0cd", 5)), u"\u05D1\u05D0");
    int32_t converted = 0;
    const char16_t* run =
        to_display_run(reinterpret_cast<const uint8_t*>("ab("), 3, false, &converted);
    EXPECT_EQ(std::u16string(run), u"\u05D0\u05D1(");
    EXPECT_EQ(converted, 3);
}

TEST(ParagraphWalk, ReadsRecordsAndStopsSafely) {
    const uint8_t text[] = {0xB1, 0x05, 'a', 'b', 0, 0xC7, 0xAC, 0, 0, 0};
    std::span<const uint8_t> span(text);
    uint32_t cursor = 0;
    ParagraphRecord rec;
    ASSERT_TRUE(next_paragraph(span, cursor, rec));
    EXPECT_EQ(rec.style, 0xB1);
    EXPECT_EQ(rec.measure, 0x05);
    EXPECT_EQ(rec.offset, 2u);
    EXPECT_EQ(rec.length, 2u);
    ASSERT_TRUE(next_paragraph(span, cursor, rec));
    EXPECT_EQ(rec.style, 0xC7);
    EXPECT_EQ(rec.length, 0u);
    EXPECT_FALSE(next_paragraph(span, cursor, rec));

    // Unterminated text ends at the buffer's end; a lone style byte is no record.
    std::vector<uint8_t> cut = {0x81, 0x00, 'a', 'b'};
    cursor = 0;
    ASSERT_TRUE(next_paragraph(cut, cursor, rec));
    EXPECT_EQ(rec.length, 2u);
    EXPECT_FALSE(next_paragraph(cut, cursor, rec));
    std::vector<uint8_t> lone = {0x81};
    cursor = 0;
    EXPECT_FALSE(next_paragraph(lone, cursor, rec));
}

TEST(ReadTitle, TitleAndSubtitleRules) {
    auto title_of = [](std::vector<uint8_t> bytes) {
        bytes.insert(bytes.end(), {0, 0, 0, 0});
        TitleInfo t = read_title(bytes);
        std::string title = t.title ? std::string(t.title, t.title + t.title_length) : "-";
        std::string sub =
            t.subtitle ? std::string(t.subtitle, t.subtitle + t.subtitle_length) : "-";
        return title + "/" + sub;
    };
    EXPECT_EQ(title_of({0xDC, 0, 'a', 'b', 0, 0xD1, 0, 'c', 0}), "ab/c");
    EXPECT_EQ(title_of({0xDC, 0, 'a', 0, 0xB1, 0, 'c', 0}), "a/-");
    EXPECT_EQ(title_of({0xD1, 0, 'c', 0}), "-/c");
    EXPECT_EQ(title_of({0xB1, 0, 'a', 0, 0xD1, 0, 'c', 0}), "-/-");
    EXPECT_EQ(title_of({}), "-/-");
}

}  // namespace
}  // namespace lekta
