#include "search/match.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace lekta {

void (*g_search_out_of_memory)() = nullptr;

namespace {

constexpr uint32_t MAX_TEXT = 0xFFFF;

// One node per paragraph record: where its text starts and the offset of its zero byte (the
// end of the text when a malformed record runs off it).
struct Paragraph {
    uint32_t first = 0;
    uint32_t zero = 0;
};

// Kept between searches: a search over the year builds one list per lesson.
std::vector<Paragraph> g_paragraphs;

bool build_paragraph_list(std::span<const uint8_t> text) {
    g_paragraphs.clear();
    try {
        uint32_t cursor = 0;
        while (cursor < text.size() && text[cursor] != 0) {
            const uint32_t first = cursor + 2;
            uint32_t zero = std::min<uint32_t>(first, static_cast<uint32_t>(text.size()));
            if (zero < text.size()) {
                const void* found = std::memchr(text.data() + zero, 0, text.size() - zero);
                zero = found
                           ? static_cast<uint32_t>(static_cast<const uint8_t*>(found) - text.data())
                           : static_cast<uint32_t>(text.size());
            }
            g_paragraphs.push_back({first, zero});
            cursor = zero + 1;
        }
    } catch (const std::bad_alloc&) {
        g_paragraphs.clear();
        g_paragraphs.shrink_to_fit();
        if (g_search_out_of_memory) g_search_out_of_memory();
        return false;
    }
    return true;
}

}  // namespace

std::optional<Match> match_backward(std::span<const uint8_t> text, uint32_t low,
                                    std::span<const uint8_t> pattern, uint32_t scan) {
    if (text.empty() || low >= text.size()) return std::nullopt;
    scan = std::min<uint32_t>(scan, static_cast<uint32_t>(text.size() - 1));
    const uint8_t last = pattern.empty() ? 0 : pattern.back();
    const uint8_t* bytes = text.data();
    int64_t q = scan;
    while (q >= low) {
        // The last byte is compared literally: find the nearest one at or below q.
        const void* found = memrchr(bytes + low, last, static_cast<size_t>(q - low + 1));
        if (!found) return std::nullopt;
        q = static_cast<const uint8_t*>(found) - bytes;
        int64_t t = q - 1;
        bool matched = true;
        for (int64_t k = static_cast<int64_t>(pattern.size()) - 2; k >= 0; --k, --t) {
            if (t < low) {
                matched = false;
                break;
            }
            const uint8_t p = pattern[static_cast<size_t>(k)];
            if (p == WILDCARD_RUN) {
                // The part before the star, nearest first: the shortest run, or no hit in this
                // stretch at all.
                const auto inner = match_backward(text, low, pattern.first(static_cast<size_t>(k)),
                                                  static_cast<uint32_t>(t));
                if (!inner) return std::nullopt;
                return Match{static_cast<uint32_t>(q),
                             static_cast<uint32_t>(q - inner->position) + inner->length};
            }
            if (p != WILDCARD_ONE && p != bytes[t]) {
                matched = false;
                break;
            }
        }
        if (matched) return Match{static_cast<uint32_t>(q), static_cast<uint32_t>(q - t)};
        --q;
    }
    return std::nullopt;
}

Hit search_text(std::span<const uint8_t> text, uint32_t start, std::span<const uint8_t> pattern) {
    if (text.size() > MAX_TEXT) text = text.first(MAX_TEXT);
    if (pattern.empty() || text.empty()) return {};
    // Every hit ends with the pattern's bytes after its last wildcard, taken literally. Most
    // lessons of a search hold none: one pass over the text settles them.
    size_t tail = pattern.size() - 1;
    while (tail > 0 && pattern[tail - 1] != WILDCARD_ONE && pattern[tail - 1] != WILDCARD_RUN)
        --tail;
    if (!memmem(text.data(), text.size(), pattern.data() + tail, pattern.size() - tail)) return {};
    if (!build_paragraph_list(text)) return {};
    for (const Paragraph& p : g_paragraphs) {
        if (start > p.zero) continue;
        if (p.zero <= p.first) continue;  // no text
        const uint32_t scan = start >= p.first ? std::min(start, p.zero - 1) : p.zero - 1;
        const auto m = match_backward(text.first(p.zero), p.first, pattern, scan);
        if (m) return {static_cast<uint16_t>(m->position), static_cast<uint16_t>(m->length)};
    }
    return {};
}

}  // namespace lekta
