// Arbitrary bytes as a lesson resource: every record the walk finds is unpacked. Then the same
// bytes as one record's packed data, its unpacked length taken from the first two bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/test/test_system.h"
#include "store/lesson_store.h"

using namespace lekta;

namespace {

void unpack_exactly(std::span<const uint8_t> packed, uint16_t length) {
    // A copy of its own, so reading past the record's data is caught.
    const std::vector<uint8_t> copy(packed.begin(), packed.end());
    const LessonText text = unpack_record(copy, length);
    if (text && (text.length != length || text.bytes[length] != 0 || text.bytes[length + 1] != 0))
        std::abort();
    testplat::message_boxes().clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> resource(data, size);
    const auto area = record_area(resource);
    for (int32_t index = 0; index < 40; ++index) {
        const auto record = find_lesson_record(area, index);
        if (!record) break;
        unpack_exactly(record->packed, record->unpacked_length);
    }
    if (size >= 2)
        unpack_exactly(resource.subspan(2), static_cast<uint16_t>(data[0] << 8 | data[1]));
    return 0;
}
