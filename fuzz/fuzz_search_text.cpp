// The search over one lesson text with an arbitrary pattern, start and text: every hit lies
// inside the text and inside one paragraph, and agrees with a plain byte-by-byte reading of
// the matching rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "search/match.h"

using namespace lekta;

namespace {

// The rules, one byte at a time.
std::optional<Match> reference(const uint8_t* text, int64_t low, const uint8_t* pattern, int64_t n,
                               int64_t scan) {
    const uint8_t last = n ? pattern[n - 1] : 0;
    for (int64_t q = scan; q >= low; --q) {
        if (text[q] != last) continue;
        int64_t t = q - 1, k = n - 2;
        bool hit = true;
        for (; k >= 0; --k, --t) {
            if (t < low) {
                hit = false;
                break;
            }
            if (pattern[k] == '*') {
                const auto inner = reference(text, low, pattern, k, t);
                if (!inner) return std::nullopt;
                return Match{uint32_t(q), uint32_t(q - inner->position) + inner->length};
            }
            if (pattern[k] != '?' && pattern[k] != text[t]) {
                hit = false;
                break;
            }
        }
        if (hit) return Match{uint32_t(q), uint32_t(q - t)};
    }
    return std::nullopt;
}

Hit reference_search(const uint8_t* text, size_t size, uint32_t start, const uint8_t* pattern,
                     size_t n) {
    size = std::min<size_t>(size, 0xFFFF);  // offsets are 16-bit
    size_t cursor = 0;
    while (cursor < size && text[cursor] != 0) {
        const size_t first = cursor + 2;
        size_t zero = first;
        while (zero < size && text[zero] != 0)
            ++zero;
        if (first >= size) break;
        if (start <= zero && zero > first) {
            const int64_t scan =
                start >= first ? std::min<int64_t>(start, int64_t(zero) - 1) : int64_t(zero) - 1;
            const auto m = reference(text, int64_t(first), pattern, int64_t(n), scan);
            if (m) return {uint16_t(m->position), uint16_t(m->length)};
        }
        cursor = zero + 1;
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const size_t pattern_length = data[0] % 34;
    const uint32_t start = data[1] | uint32_t{data[2]} << 8;
    data += 3;
    size -= 3;
    if (size < pattern_length) return 0;
    // The pattern is a zero-terminated string: it ends at its first zero byte.
    const size_t n = strnlen(reinterpret_cast<const char*>(data), pattern_length);
    auto pattern = std::make_unique<uint8_t[]>(n ? n : 1);
    std::memcpy(pattern.get(), data, n);
    const size_t text_size = size - pattern_length;
    auto text = std::make_unique<uint8_t[]>(text_size ? text_size : 1);
    std::memcpy(text.get(), data + pattern_length, text_size);

    const std::span<const uint8_t> text_span(text.get(), text_size);
    const Hit hit = search_text(text_span, start, {pattern.get(), n});
    if (hit) {
        if (hit.offset >= text_size || hit.length == 0 || hit.length > hit.offset + 1u)
            __builtin_trap();
        // No zero byte inside a hit: it never spans two paragraphs.
        if (std::memchr(text.get() + hit.offset + 1 - hit.length, 0, hit.length)) __builtin_trap();
        if (text[hit.offset] != pattern[n - 1]) __builtin_trap();
    }
    const Hit expected = reference_search(text.get(), text_size, start, pattern.get(), n);
    if (expected.offset != hit.offset || expected.length != hit.length) __builtin_trap();
    return 0;
}
