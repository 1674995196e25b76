// Reading a fuzz input front to back: fixed fields first, the rest as a lesson's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "store/lesson_store.h"

namespace lekta::fuzz {

struct Input {
    const uint8_t* data;
    size_t size;
    // Past the end every field reads as zero, so short inputs still run the whole path.
    uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    uint16_t word() { return static_cast<uint16_t>(byte() | byte() << 8); }

    // Exactly the remaining bytes: nothing may rely on terminators past the length.
    LessonText rest() {
        LessonText text;
        text.length = static_cast<uint32_t>(size);
        text.bytes = std::make_unique<uint8_t[]>(size ? size : 1);
        if (size) std::memcpy(text.bytes.get(), data, size);
        return text;
    }
};

}  // namespace lekta::fuzz
