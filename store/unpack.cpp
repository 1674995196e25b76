// PalmDOC unpacking of one record into a fresh buffer of exactly the record's text length.
#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "store/lesson_store.h"

namespace lekta {

namespace {

// The most one step of the fast loop takes from the input (a literal block of 8, then a run
// of 8 after its control byte) and gives to the output (a block of 8, then 16 bytes written
// for a back-reference of at most 10).
constexpr size_t MAX_IN = 8 + 9;
constexpr size_t MAX_OUT = 8 + 16;

constexpr uint64_t HIGH_BITS = 0x8080808080808080ull;
constexpr uint64_t LOW_BITS = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t BELOW_9 = 0x7777777777777777ull;  // b + 0x77 < 0x80 exactly when b <= 8

// How many of the 8 bytes at p, from the first, stand for themselves (0x09..0x7F).
inline size_t literal_prefix(const uint8_t* p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    const uint64_t not_literal = (~((word & LOW_BITS) + BELOW_9) | word) & HIGH_BITS;
    if (!not_literal) return 8;
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<size_t>(std::countr_zero(not_literal)) / 8;
    else
        return static_cast<size_t>(std::countl_zero(not_literal)) / 8;
}

// Fills dst[0, dst_size) from src. False when the data runs out first or is malformed: a run
// or a byte pair cut off by the end of the data, a distance of 0 or before the start.
bool unpack_bytes(const uint8_t* src, size_t src_size, uint8_t* dst, size_t dst_size) {
    size_t in = 0, out = 0;
    // While the largest step fits on both sides no step needs clamping, and copies may be
    // done a word at a time: bytes written past the step lie inside the buffer and are
    // overwritten by the steps that follow. Most of a lesson is letters that stand for
    // themselves: they go over eight at a time, up to the next control byte.
    while (src_size - in >= MAX_IN && dst_size - out >= MAX_OUT) {
        std::memcpy(dst + out, src + in, 8);
        const size_t literals = literal_prefix(src + in);
        in += literals;
        out += literals;
        if (literals == 8) continue;
        const unsigned ctl = src[in++];
        if (ctl < 0x80) {
            if (ctl != 0) {  // 1..8: a run of that many bytes
                std::memcpy(dst + out, src + in, 8);
                in += ctl;
                out += ctl;
            } else {
                dst[out++] = 0;
            }
        } else if (ctl >= 0xC0) {
            dst[out++] = 0x20;
            dst[out++] = static_cast<uint8_t>(ctl ^ 0x80);
        } else {
            const unsigned pair = ctl << 8 | src[in++];
            const size_t distance = (pair >> 3) & 0x7FF;
            const size_t length = (pair & 7) + 3;
            if (distance == 0 || distance > out) return false;
            uint8_t* to = dst + out;
            const uint8_t* from = to - distance;
            if (distance >= 8) {
                // The second half reads only bytes the first one has written or that were
                // there before.
                std::memcpy(to, from, 8);
                std::memcpy(to + 8, from + 8, 8);
            } else {
                // Byte by byte, so a short distance repeats what was just written.
                for (size_t i = 0; i < length; ++i)
                    to[i] = from[i];
            }
            out += length;
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
