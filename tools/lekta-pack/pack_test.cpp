#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "store/book.h"
#include "store/book_file.h"
#include "store/lesson_store.h"
#include "tools/lekta-pack/book_source.h"
#include "tools/lekta-pack/book_writer.h"
#include "tools/lekta-pack/palmdoc.h"

namespace lekta::pack {
namespace {

std::vector<uint8_t> round_trip(const std::vector<uint8_t>& text) {
    const std::vector<uint8_t> packed = palmdoc_pack(text);
    LessonText out = unpack_record(packed, static_cast<uint16_t>(text.size()));
    if (!out) return {0xEE};
    return {out.bytes.get(), out.bytes.get() + out.length};
}

TEST(PalmDocPack, RoundTripsEveryKindOfInput) {
    std::mt19937 rng(7);
    std::vector<std::vector<uint8_t>> inputs = {{'a'}, {0}, {0x80}, {' ', 'A'}, {' '}};
    std::vector<uint8_t> all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<uint8_t>(i));
    inputs.push_back(all);
    inputs.push_back(std::vector<uint8_t>(5000, 'x'));
    inputs.push_back(std::vector<uint8_t>(3000, 0x85));
    std::vector<uint8_t> random(20000);
    for (auto& b : random)
        b = static_cast<uint8_t>(rng());
    inputs.push_back(random);
    std::vector<uint8_t> textlike;
    const char* words[] = {"abc ", "qrs ", "xyz{ ", "ab-c ", "  ", ": "};
    for (int i = 0; i < 6000; ++i) {
        for (const char* c = words[rng() % 6]; *c; ++c)
            textlike.push_back(static_cast<uint8_t>(*c));
    }
    inputs.push_back(textlike);
    for (const auto& input : inputs)
        EXPECT_EQ(input, round_trip(input)) << input.size();
    EXPECT_LT(palmdoc_pack(textlike).size(), textlike.size() / 3);
}

// A complete small book: one short paragraph per lesson naming the day.
std::string small_source(bool leap, const std::string& extra_lesson_line = "") {
    std::ostringstream s;
    s << "@book test\n";
    for (int set = 0; set < (leap ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            for (int day = 1; day <= month_record_count(month, set != 0); ++day) {
                s << "@lesson " << (set ? "leap " : "") << month << "/" << day << "\n";
                s << "title: אב\n";
                s << "label[ג]: דה (וז) " << month << "\n";
                if (month == 1 && day == 1) s << extra_lesson_line;
                s << "rule\n";
            }
        }
    }
    s << "@index\ngroup 1: חלק\nsection 2 9/19: פרק\n";
    return s.str();
}

TEST(BookSource, ConvertsToVisualOrderRecords) {
    BookSource book;
    std::string error;
    ASSERT_TRUE(parse_book_source(small_source(false), "t.lekta", &book, &error)) << error;
    EXPECT_FALSE(book.leap_cycle);
    const std::vector<uint8_t>& lesson = book.lessons.at(0x0101);
    // Title "אב" reversed; "ג דה (וז) 1" reversed with brackets swapped; a rule; four zeros.
    const std::vector<uint8_t> expected = {0xDC, 0,    'b',  'a', 0,   0x31, 0x40, '1', ' ',
                                           '(',  'g',  'f',  ')', ' ', 'e',  'd',  ' ', 'c',
                                           0,    0xC7, 0xAC, 0,   0,   0,    0,    0};
    EXPECT_EQ(expected, lesson);
    // "חלק" and "פרק", reversed.
    const std::vector<uint8_t> index = {0xFE, 0xBF, 0x8C, 1,   'x', 'm', 'h', 0, 0x13, 0x49, 0x01,
                                        2,    'x',  'y',  'u', 0,   0,   0,   0, 0,    0};
    EXPECT_EQ(index, book.index);
}

// Latin words and numbers in a Hebrew paragraph keep their order; text the reader could not
// read back as written is refused at its line.
TEST(BookSource, MixedDirectionParagraphs) {
    BookSource book;
    std::string error;
    ASSERT_TRUE(
        parse_book_source(small_source(false, "p: אבג ABC 123 דהו\n"), "t.lekta", &book, &error))
        << error;
    const std::vector<uint8_t>& lesson = book.lessons.at(0x0101);
    const std::string stored = "fed ABC 123 cba";  // "והד ABC 123 גבא"
    EXPECT_NE(lesson.end(),
              std::search(lesson.begin(), lesson.end(), stored.begin(), stored.end()));

    EXPECT_FALSE(
        parse_book_source(small_source(false, "p: אבג 123 ABC דהו\n"), "t.lekta", &book, &error));
    EXPECT_EQ(0u, error.rfind("t.lekta:5: the mixed-direction text 'אבג 123 ABC דהו' would read "
                              "back as 'אבג ABC 123 דהו'",
                              0))
        << error;
}

TEST(BookSource, ErrorsNameTheFileAndLine) {
    struct Case {
        std::string source;
        std::string message;
    };
    const std::string one = "@lesson 1/1\np: אב\n";
    const std::vector<Case> cases = {
        {one + "p: אָב\n", "t.lekta:3: character not allowed"},
        {one + "p: abc\n", "t.lekta:3: character not allowed"},
        {"@lesson 3/31\n", "t.lekta:1: day 31 exists only in months 8 and 9"},
        {"@lesson 13/1\n", "t.lekta:1: bad month '13'"},
        {"@lesson 2/30\n", "t.lekta:1: month 2 has no day 30"},
        {one + "@lesson 1/1\n", "t.lekta:3: lesson given twice (first at line 1)"},
        {one + "quote: x\n", "t.lekta:3: unknown paragraph kind 'quote'"},
        {one, "t.lekta:3: missing lesson 1/2"},
        {"p: אב\n", "t.lekta:1: text before the first @lesson"},
    };
    for (const Case& c : cases) {
        BookSource book;
        std::string error;
        EXPECT_FALSE(parse_book_source(c.source, "t.lekta", &book, &error)) << c.source;
        EXPECT_EQ(0u, error.rfind(c.message, 0)) << error;
    }
    BookSource book;
    std::string error;
    std::string missing_section = small_source(false);
    missing_section += "section 2 leap 13/1: אב\n";
    EXPECT_FALSE(parse_book_source(missing_section, "t.lekta", &book, &error));
    EXPECT_NE(std::string::npos, error.find("the book has no lesson leap 13/1")) << error;
}

TEST(BookFile, PackedBookReadsBackByteForByte) {
    for (bool leap : {false, true}) {
        BookSource book;
        std::string error;
        ASSERT_TRUE(parse_book_source(small_source(leap), "t.lekta", &book, &error)) << error;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(build_book_file(book, &bytes, &error)) << error;
        ASSERT_TRUE(use_book_bytes(bytes, &error, "t.res")) << error;
        EXPECT_EQ(leap, book_has_leap_cycle());
        for (const auto& [key, text] : book.lessons) {
            LessonText got = fetch_lesson_text(key);
            ASSERT_TRUE(got) << key;
            EXPECT_EQ(text, std::vector<uint8_t>(got.bytes.get(), got.bytes.get() + got.length));
        }
        LessonText index = fetch_lesson_text(INDEX_LESSON_KEY);
        ASSERT_TRUE(index);
        EXPECT_EQ(book.index,
                  std::vector<uint8_t>(index.bytes.get(), index.bytes.get() + index.length));
        unload_book();
    }
}

TEST(BookFile, FailedRunLeavesNoFile) {
    const auto dir = std::filesystem::temp_directory_path() / "lekta_pack_test";
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "book.res").string();
    std::filesystem::remove(out);
    std::string error;
    EXPECT_TRUE(write_file_atomically(out, {1, 2, 3}, &error)) << error;
    EXPECT_EQ(3u, std::filesystem::file_size(out));
    EXPECT_FALSE(write_file_atomically((dir / "no/such/dir/book.res").string(), {1}, &error));
    EXPECT_FALSE(std::filesystem::exists(dir / "no/such/dir/book.res.tmp"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lekta::pack
