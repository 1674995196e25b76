// From a lesson key to its resource and record, the record walk, and the fetch.
#include "store/lesson_store.h"

#include <algorithm>

#include "platform/platform.h"
#include "store/book.h"

namespace lekta {

namespace {

constexpr size_t HEADER_SIZE = 6;  // L, format word, day count
constexpr size_t RECORD_HEAD = 4;  // P, U

uint16_t read_be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

}  // namespace

std::optional<ResourceLocation> lesson_location(uint16_t key) {
    const int32_t k = int32_t{key} - 1;
    if (k < 0) return std::nullopt;
    if (key == INDEX_LESSON_KEY) return ResourceLocation{INDEX_RESOURCE_ID, 0};
    const int32_t id = 1000 + ((k >> 8) & 0x0F) + ((k & 0x1000) ? 48 : 0);
    return ResourceLocation{static_cast<uint16_t>(id), k & 0xFF};
}

std::span<const uint8_t> record_area(std::span<const uint8_t> resource) {
    if (resource.size() < HEADER_SIZE) return {};
    // A length beyond the resource is cut to it: the records that lie wholly inside stay
    // readable and the walk never leaves the resource.
    const size_t length =
        std::min<size_t>(read_be16(resource.data()), resource.size() - HEADER_SIZE);
    return resource.subspan(HEADER_SIZE, length);
}

std::optional<PackedRecord> find_lesson_record(std::span<const uint8_t> area, int32_t index) {
    if (index < 0 || area.size() < 5) return std::nullopt;
    const uint8_t* cursor = area.data();
    size_t remaining = area.size();
    while (remaining > RECORD_HEAD) {
        const size_t packed = read_be16(cursor);
        if (packed == 0) return std::nullopt;  // the terminator
        // A record cut off by the end of the area is as good as absent.
        if (packed > remaining - RECORD_HEAD) return std::nullopt;
        if (index == 0) {
            return PackedRecord{std::span<const uint8_t>(cursor + RECORD_HEAD, packed),
                                read_be16(cursor + 2)};
        }
        cursor += packed + RECORD_HEAD;
        remaining -= packed + RECORD_HEAD;
        --index;
    }
    return std::nullopt;
}

LessonText fetch_lesson_text(uint16_t key) {
    const auto location = lesson_location(key);
    if (!location) return {};
    const auto resource = find_resource(location->resource_id);
    if (!resource || resource->empty()) return {};
    const auto record = find_lesson_record(record_area(*resource), location->record_index);
    if (!record) return {};
    return unpack_record(record->packed, record->unpacked_length);
}

}  // namespace lekta
