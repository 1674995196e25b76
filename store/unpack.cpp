// PalmDOC unpacking of one record into a fresh buffer of exactly the record's text length.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "store/lesson_store.h"

namespace lekta {

namespace {

// The most a control byte can take from the input (a run of 8 after it) and give to the
// output (a back-reference of 10).
constexpr size_t MAX_IN = 9;
constexpr size_t MAX_OUT = 10;

// Fills dst[0, dst_size) from src. False when the data runs out first or is malformed: a run
// or a byte pair cut off by the end of the data, a distance of 0 or before the start.
bool unpack_bytes(const uint8_t* src, size_t src_size, uint8_t* dst, size_t dst_size) {
    size_t in = 0, out = 0;
    // While the largest step fits on both sides no step needs clamping, and copies may be
    // done a word at a time: bytes written past the step lie inside the buffer and are
    // overwritten by the steps that follow.
    while (src_size - in >= MAX_IN && dst_size - out >= MAX_OUT) {
        const unsigned ctl = src[in++];
        if (ctl < 0x80) {
            if (ctl - 1u < 8u) {
                std::memcpy(dst + out, src + in, 8);
                in += ctl;
                out += ctl;
            } else {
                dst[out++] = static_cast<uint8_t>(ctl);
            }
        } else if (ctl < 0xC0) {
            const unsigned pair = ctl << 8 | src[in++];
            const size_t distance = (pair >> 3) & 0x7FF;
            const size_t length = (pair & 7) + 3;
            if (distance == 0 || distance > out) return false;
            uint8_t* to = dst + out;
            const uint8_t* from = to - distance;
            size_t i = 0;
            if (distance >= 8) {
                std::memcpy(to, from, 8);
                i = 8;
            }
            // Byte by byte, so a short distance repeats what was just written.
            for (; i < length; ++i)
                to[i] = from[i];
            out += length;
        } else {
            dst[out++] = 0x20;
            dst[out++] = static_cast<uint8_t>(ctl ^ 0x80);
        }
    }
    // The last steps, each clamped to the room left.
    while (in < src_size && out < dst_size) {
        const unsigned ctl = src[in++];
        if (ctl < 0x80) {
            if (ctl - 1u < 8u) {
                const size_t n = std::min<size_t>(ctl, dst_size - out);
                if (n > src_size - in) return false;
                std::memcpy(dst + out, src + in, n);
                in += n;
                out += n;
            } else {
                dst[out++] = static_cast<uint8_t>(ctl);
            }
        } else if (ctl < 0xC0) {
            if (in == src_size) return false;
            const unsigned pair = ctl << 8 | src[in++];
            const size_t distance = (pair >> 3) & 0x7FF;
            if (distance == 0 || distance > out) return false;
            const size_t length = std::min<size_t>((pair & 7) + 3, dst_size - out);
            for (size_t i = 0; i < length; ++i, ++out)
                dst[out] = dst[out - distance];
        } else {
            dst[out++] = 0x20;
            if (out < dst_size) dst[out++] = static_cast<uint8_t>(ctl ^ 0x80);
        }
    }
    return out == dst_size;
}

}  // namespace

LessonText unpack_record(std::span<const uint8_t> packed, uint16_t unpacked_length) {
    if (packed.empty() || unpacked_length == 0) return {};
    const size_t length = unpacked_length;
    LessonText text;
    text.bytes.reset(new (std::nothrow) uint8_t[length + 2]);
    if (!text.bytes) return {};
    text.length = unpacked_length;
    if (!unpack_bytes(packed.data(), packed.size(), text.bytes.get(), length)) {
        text.bytes.reset();
        plat::message_box(nullptr, u"UnCompress() buffer error!", nullptr, plat::MB_OK);
        return {};
    }
    // Readers of the text rely on both bytes after it being zero.
    text.bytes[length] = 0;
    text.bytes[length + 1] = 0;
    return text;
}

}  // namespace lekta
