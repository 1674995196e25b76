// Small books built in memory for the tests of day navigation and the main window: every
// lesson of the regular arrangement (and, when asked, of the leap-cycle one) in the book file
// layout, its text naming its own key so that a test can tell which lesson is shown.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/book.h"
#include "store/lesson_store.h"
#include "store/test_book_writer.h"

namespace lekta::testing_support {

struct TestBook {
    bool leap = false;                                 // carries resources 1049..1061
    std::map<uint16_t, std::vector<uint8_t>> lessons;  // lesson key -> text
    std::vector<uint8_t> index;                        // the index text
};

// Letter code of a digit: 0 -> 0x61 (the first letter) .. 9 -> 0x6A.
inline uint8_t digit_letter(int digit) {
    return static_cast<uint8_t>(0x61 + digit);
}

// A lesson whose title spells its key in letters and whose body has the given number of
// one-word paragraphs, each followed by a blank row.
inline std::vector<uint8_t> lesson_for_key(uint16_t key, int paragraphs) {
    std::vector<uint8_t> text;
    auto add = [&text](uint8_t style, const std::vector<uint8_t>& bytes) {
        text.push_back(style);
        text.push_back(0);
        text.insert(text.end(), bytes.begin(), bytes.end());
        text.push_back(0);
    };
    std::vector<uint8_t> title;
    for (int v = key, i = 0; i < 5; ++i, v /= 10)
        title.insert(title.begin(), digit_letter(v % 10));
    add(0xDC, title);
    for (int i = 0; i < paragraphs; ++i)
        add(0xB1, {0x62, 0x63, 0x64});
    text.insert(text.end(), 4, 0);
    return text;
}

// The key's lesson_for_key text with one more body paragraph holding the word.
inline std::vector<uint8_t> lesson_with_word(uint16_t key, const char* word) {
    std::vector<uint8_t> text = lesson_for_key(key, 3);
    std::vector<uint8_t> paragraph = {0xB1, 0};
    paragraph.insert(paragraph.end(), word, word + std::strlen(word));
    paragraph.push_back(0);
    text.insert(text.end() - 4, paragraph.begin(), paragraph.end());  // before the closing zeros
    return text;
}

// The key a lesson_for_key text spells in its title, or 0 for any other text.
inline uint16_t key_spelled_by(const LessonText& text) {
    if (!text || text.length < 8 || text.bytes[0] != 0xDC) return 0;
    int key = 0;
    for (int i = 2; i < 7; ++i)
        key = key * 10 + (text.bytes[i] - digit_letter(0));
    return static_cast<uint16_t>(key);
}

inline int month_records(int month, bool leap) {
    if (month == 8 || month == 9) return 31;
    if (leap && month == 12) return 30;
    if (month == 13) return 29;
    return month % 2 == 1 && month != 9 ? 30 : 29;
}

// Every lesson the book must carry: 3 body paragraphs each unless paragraphs_of says more.
template <typename Paragraphs>
TestBook make_test_book(bool leap, Paragraphs paragraphs_of) {
    TestBook book;
    book.leap = leap;
    for (int set = 0; set < (leap ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            for (int day = 1; day <= month_records(month, set != 0); ++day) {
                const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                book.lessons[key] = lesson_for_key(key, paragraphs_of(key));
            }
        }
    }
    // One section: a group and the lesson of 1 Nisan.
    book.index = {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 0x01, 0x41, 0x01, 2, 0x62, 0, 0, 0, 0, 0, 0};
    return book;
}
inline TestBook make_test_book(bool leap) {
    return make_test_book(leap, [](uint16_t) { return 3; });
}

// The book file: the .res container with the book info, the month resources and the index.
inline std::vector<uint8_t> book_file_bytes(const TestBook& book) {
    std::vector<std::pair<uint16_t, testbook::Bytes>> resources;
    for (int set = 0; set < (book.leap ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            std::vector<testbook::Record> records;
            for (int day = 1; day <= month_records(month, set != 0); ++day) {
                const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                auto it = book.lessons.find(key);
                records.push_back(testbook::packed_record(
                    it == book.lessons.end() ? lesson_for_key(key, 1) : it->second));
            }
            const int days = std::min(30, month_records(month, set != 0));
            resources.emplace_back(static_cast<uint16_t>((set ? 1048 : 1000) + month),
                                   testbook::resource(records, days));
        }
    }
    resources.emplace_back(32767, testbook::resource({testbook::packed_record(book.index)}, 255));
    return testbook::book_file(resources, book.leap);
}

// Makes the book the current one; its bytes live until the end of the test program.
inline void use_test_book(const TestBook& book) {
    static std::list<std::vector<uint8_t>> kept;
    kept.push_back(book_file_bytes(book));
    std::string error;
    if (!use_book_bytes(kept.back(), &error, "test book")) throw std::runtime_error(error);
}

}  // namespace lekta::testing_support
