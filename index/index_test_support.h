// Index record lists for the tests, written from titles in reading order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/test/test_text.h"
#include "store/lesson_store.h"

namespace lekta::testing_support {

struct Entry {
    uint16_t key = 0;
    uint8_t attribute = 0;
    uint8_t level = 0;
    std::string title;  // letter code in reading order; stored reversed, as in a book
};

inline std::vector<uint8_t> index_list(const std::vector<Entry>& entries) {
    std::vector<uint8_t> list;
    for (const Entry& e : entries) {
        list.push_back(static_cast<uint8_t>(e.key & 0xFF));
        list.push_back(static_cast<uint8_t>(e.key >> 8));
        list.push_back(e.attribute);
        list.push_back(e.level);
        list.insert(list.end(), e.title.rbegin(), e.title.rend());
        list.push_back(0);
    }
    list.insert(list.end(), 5, 0);
    return list;
}

inline LessonText as_text(const std::vector<uint8_t>& bytes) {
    LessonText text;
    text.bytes = std::make_unique<uint8_t[]>(bytes.size() + 2);
    std::copy(bytes.begin(), bytes.end(), text.bytes.get());
    text.length = static_cast<uint32_t>(bytes.size());
    return text;
}

// A small index: two parts, the first with a chapter of two sections and a section of its own.
//   a (part, shown)             0xBFFE
//     bb (chapter)              0xBFFD
//       cc dd (1 Nisan)         0x4101
//       e (2 Nisan)             0x4102
//     f (3 Nisan)               0x4103
//   g (part, shown)             0xBFFC
//     h (4 Nisan)               0x4104
inline std::vector<Entry> small_index() {
    return {
        {0xBFFE, 0x8C, 1, "a"}, {0xBFFD, 0x01, 2, "bb"}, {0x4101, 0x01, 3, "cc dd"},
        {0x4102, 0x01, 3, "e"}, {0x4103, 0x01, 2, "f"},  {0xBFFC, 0x8C, 1, "g"},
        {0x4104, 0x01, 2, "h"},
    };
}

}  // namespace lekta::testing_support
