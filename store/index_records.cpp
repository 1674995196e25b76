#include "store/index_records.h"

#include <cstring>

namespace lekta {

RecordRead next_index_record(std::span<const uint8_t> list, uint32_t& cursor, IndexRecord& record) {
    const size_t size = list.size();
    if (cursor > size || size - cursor < 3) return RecordRead::malformed;
    const uint8_t* p = list.data() + cursor;
    if (p[2] == 0) return RecordRead::end;
    if (size - cursor < INDEX_RECORD_HEADER) return RecordRead::malformed;
    if (p[3] < 1 || p[3] > 3) return RecordRead::malformed;
    const uint32_t title = cursor + INDEX_RECORD_HEADER;
    const void* zero = std::memchr(list.data() + title, 0, size - title);
    if (!zero) return RecordRead::malformed;
    record.offset = cursor;
    record.key = static_cast<uint16_t>(p[0] | p[1] << 8);
    record.attribute = p[2];
    record.level = p[3];
    record.title_offset = title;
    record.title_length =
        static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - p) - INDEX_RECORD_HEADER;
    cursor = title + record.title_length + 1;
    return RecordRead::record;
}

bool index_list_valid(std::span<const uint8_t> list, uint32_t* end) {
    uint32_t cursor = 0;
    IndexRecord record;
    for (;;) {
        switch (next_index_record(list, cursor, record)) {
            case RecordRead::record:
                if (cursor > INDEX_LIST_MAX) return false;
                break;
            case RecordRead::end:
                if (end) *end = cursor;
                return true;
            case RecordRead::malformed:
                return false;
        }
    }
}

}  // namespace lekta
