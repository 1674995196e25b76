// The record list of the section index (also the shape of the bookmarks branch): key, attribute
// byte, level and a zero-terminated title per record, ended by a record whose attribute is 0.
// The list comes from a book file, so every reader here stays inside the bytes it is given.
#pragma once

#include <cstdint>
#include <span>

namespace lekta {

constexpr uint16_t INDEX_GROUP_BIT = 0x8000;    // a part or chapter: opens and closes
constexpr uint16_t INDEX_SECTION_BIT = 0x4000;  // a section: bits 0..13 are its lesson key
constexpr uint16_t INDEX_LESSON_MASK = 0x3FFF;

constexpr uint8_t INDEX_VISIBLE = 0x80;
constexpr uint8_t INDEX_EXPANDED = 0x40;
constexpr uint8_t INDEX_FONT_KEY_MASK = 0x1F;

// Titles and positions in the list are 16-bit.
constexpr uint32_t INDEX_LIST_MAX = 0xFFFF;
// Header bytes before a title, and the bytes of the terminating record.
constexpr uint32_t INDEX_RECORD_HEADER = 4;
constexpr uint32_t INDEX_TERMINATOR_SIZE = 5;

struct IndexRecord {
    uint32_t offset = 0;  // of the key
    uint16_t key = 0;
    uint8_t attribute = 0;
    uint8_t level = 0;
    uint32_t title_offset = 0;
    uint32_t title_length = 0;  // bytes before the title's zero byte
};

enum class RecordRead { record, end, malformed };

// Reads the record at cursor. `end` at a record whose attribute byte is 0; `malformed` when a
// record runs past the bytes, its level is outside 1..3 or its title has no zero byte. On a
// record, cursor moves to the next one.
RecordRead next_index_record(std::span<const uint8_t> list, uint32_t& cursor, IndexRecord& record);

// Whether the whole list reads: records up to a terminating record, all within 16-bit offsets.
// `end` receives the offset of the terminating record.
bool index_list_valid(std::span<const uint8_t> list, uint32_t* end = nullptr);

}  // namespace lekta
