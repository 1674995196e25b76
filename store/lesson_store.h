// The book's lesson and index resources: from a lesson key to the resource and record, the
// record walk, and the unpacking of a record into a fresh buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace lekta {

constexpr uint16_t INDEX_LESSON_KEY = 31767;  // names the section index, not a lesson
constexpr uint16_t INDEX_RESOURCE_ID = 32767;
// The same index with each section at its lesson of the leap arrangement; optional.
constexpr uint16_t LEAP_INDEX_RESOURCE_ID = 32766;

// An unpacked record: `length` bytes of text followed by two zero bytes, so a reader that runs
// to the end of a malformed text always meets zeros before the end of the buffer.
struct LessonText {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t length = 0;

    explicit operator bool() const { return bytes != nullptr; }
    // The whole buffer, terminators included.
    std::span<const uint8_t> span() const { return {bytes.get(), bytes ? length + 2u : 0u}; }
};

struct ResourceLocation {
    uint16_t resource_id = 0;
    int32_t record_index = 0;
};
// Key 0 has no location.
std::optional<ResourceLocation> lesson_location(uint16_t key);

// The record area of a resource: the L bytes after its 6-byte header, cut to what the resource
// holds when L claims more. Empty when the resource is shorter than its header.
std::span<const uint8_t> record_area(std::span<const uint8_t> resource);

struct PackedRecord {
    std::span<const uint8_t> packed;  // P bytes, inside the record area
    uint16_t unpacked_length = 0;     // U
};
// Walks the record area (the resource less its 6-byte header) to the record of the given index.
// A record whose packed data would run past the area counts as not there.
std::optional<PackedRecord> find_lesson_record(std::span<const uint8_t> area, int32_t index);

// Unpacks PalmDOC-packed data into exactly `unpacked_length` bytes. Packed data that describes
// fewer bytes, or that is malformed (a run or pair cut off by the end of the data, a distance
// of 0 or before the start of the text), shows "UnCompress() buffer error!" and gives nothing.
// No data or a length of 0 gives nothing without a message.
LessonText unpack_record(std::span<const uint8_t> packed, uint16_t unpacked_length);

// Finds, walks and unpacks the record a lesson key names (31767: the section index).
LessonText fetch_lesson_text(uint16_t key);

// The section index for a cycle of the given kind: in a leap cycle the book's leap index when
// it has one, otherwise the index.
LessonText fetch_index_text(bool leap_cycle);

}  // namespace lekta
