// Small books built in memory for the tests of day navigation and the main window: every
// lesson of the regular arrangement (and, when asked, of the leap-cycle one) in the book file
// layout, its text naming its own key so that a test can tell which lesson is shown.
#pragma once

#include <algorithm>
#include <cstdint>
#include <list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/book.h"

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

namespace detail {

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v >> 16);
    put16(out, v & 0xFFFF);
}
inline void put16le(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32le(std::vector<uint8_t>& out, uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

// Packed with literals only: the bytes that would read as control bytes go in runs of one.
inline std::vector<uint8_t> pack(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> out;
    for (uint8_t b : text) {
        if ((b >= 0x01 && b <= 0x08) || b >= 0x80) out.push_back(0x01);
        out.push_back(b);
    }
    return out;
}

inline std::vector<uint8_t> resource(const std::vector<std::vector<uint8_t>>& records,
                                     int day_count) {
    std::vector<uint8_t> area;
    for (const auto& text : records) {
        const std::vector<uint8_t> packed = pack(text);
        put16(area, static_cast<uint32_t>(packed.size()));
        put16(area, static_cast<uint32_t>(text.size()));
        area.insert(area.end(), packed.begin(), packed.end());
    }
    area.insert(area.end(), 4, 0);
    std::vector<uint8_t> out;
    put16(out, static_cast<uint32_t>(area.size()));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(day_count));
    out.insert(out.end(), area.begin(), area.end());
    return out;
}

inline uint32_t crc32(const std::vector<std::vector<uint8_t>>& parts) {
    uint32_t crc = 0xFFFFFFFF;
    for (const auto& part : parts)
        for (uint8_t b : part) {
            crc ^= b;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    return crc ^ 0xFFFFFFFF;
}

inline void res_entry(std::vector<uint8_t>& out, uint16_t type, uint16_t name,
                      const std::vector<uint8_t>& data, uint16_t memory_flags) {
    put32le(out, static_cast<uint32_t>(data.size()));
    put32le(out, 32);
    put16le(out, 0xFFFF);
    put16le(out, type);
    put16le(out, 0xFFFF);
    put16le(out, name);
    put32le(out, 0);
    put16le(out, memory_flags);
    put16le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4)
        out.push_back(0);
}

}  // namespace detail

// The book file: the .res container with the book info, the month resources and the index.
inline std::vector<uint8_t> book_file_bytes(const TestBook& book) {
    using namespace detail;
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> resources;
    for (int set = 0; set < (book.leap ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            std::vector<std::vector<uint8_t>> records;
            for (int day = 1; day <= month_records(month, set != 0); ++day) {
                const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                auto it = book.lessons.find(key);
                records.push_back(it == book.lessons.end() ? lesson_for_key(key, 1) : it->second);
            }
            const int days = std::min(30, month_records(month, set != 0));
            resources.emplace_back(static_cast<uint16_t>((set ? 1048 : 1000) + month),
                                   resource(records, days));
        }
    }
    resources.emplace_back(32767, resource({book.index}, 255));

    std::vector<std::vector<uint8_t>> data;
    for (const auto& r : resources)
        data.push_back(r.second);
    std::vector<uint8_t> info = {'L', 'K', 'B', 'K'};
    put16(info, 1);
    put16(info, book.leap ? 1 : 0);
    put32(info, crc32(data));
    put32(info, static_cast<uint32_t>(resources.size()));

    std::vector<uint8_t> out;
    res_entry(out, 0, 0, {}, 0);
    res_entry(out, 10, 1, info, 0x30);
    for (const auto& r : resources)
        res_entry(out, 10, r.first, r.second, 0x30);
    return out;
}

// Makes the book the current one; its bytes live until the end of the test program.
inline void use_test_book(const TestBook& book) {
    static std::list<std::vector<uint8_t>> kept;
    kept.push_back(book_file_bytes(book));
    std::string error;
    if (!use_book_bytes(kept.back(), &error, "test book")) throw std::runtime_error(error);
}

}  // namespace lekta::testing_support
