#include "tools/lekta-pack/palmdoc.h"

#include <algorithm>

namespace lekta::pack {
namespace {

constexpr size_t MAX_DISTANCE = 2047;
constexpr size_t MIN_MATCH = 3;
constexpr size_t MAX_MATCH = 10;
constexpr size_t HASH_SIZE = 1 << 12;
constexpr int MAX_CHAIN = 64;

// Bytes that would read as control bytes must travel inside a literal run.
bool needs_run(uint8_t b) {
    return (b >= 0x01 && b <= 0x08) || b >= 0x80;
}

size_t hash3(const uint8_t* p) {
    return ((p[0] << 8) ^ (p[1] << 4) ^ p[2]) & (HASH_SIZE - 1);
}

}  // namespace

std::vector<uint8_t> palmdoc_pack(std::span<const uint8_t> text) {
    std::vector<uint8_t> out;
    out.reserve(text.size());
    const size_t n = text.size();
    // Hash chains over the last 2047 bytes: head per hash, previous position per position.
    std::vector<int32_t> head(HASH_SIZE, -1);
    std::vector<int32_t> prev(n, -1);
    auto insert = [&](size_t pos) {
        if (pos + MIN_MATCH > n) return;
        const size_t h = hash3(&text[pos]);
        prev[pos] = head[h];
        head[h] = static_cast<int32_t>(pos);
    };

    size_t i = 0;
    while (i < n) {
        size_t best_len = 0, best_dist = 0;
        if (i + MIN_MATCH <= n) {
            const size_t limit = std::min(MAX_MATCH, n - i);
            int chain = MAX_CHAIN;
            for (int32_t cand = head[hash3(&text[i])]; cand >= 0 && chain-- > 0;
                 cand = prev[static_cast<size_t>(cand)]) {
                const size_t dist = i - static_cast<size_t>(cand);
                if (dist > MAX_DISTANCE) break;
                size_t len = 0;
                while (len < limit && text[static_cast<size_t>(cand) + len] == text[i + len])
                    ++len;
                if (len > best_len) {
                    best_len = len;
                    best_dist = dist;
                    if (len == limit) break;
                }
            }
        }
        if (best_len >= MIN_MATCH) {
            const auto v = static_cast<uint16_t>(0x8000 | best_dist << 3 | (best_len - MIN_MATCH));
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v));
            for (size_t k = 0; k < best_len; ++k)
                insert(i + k);
            i += best_len;
        } else if (text[i] == ' ' && i + 1 < n && text[i + 1] >= 0x40 && text[i + 1] <= 0x7F) {
            out.push_back(static_cast<uint8_t>(text[i + 1] ^ 0x80));
            insert(i);
            insert(i + 1);
            i += 2;
        } else if (needs_run(text[i])) {
            // A run of up to eight bytes that need escaping, taken together.
            size_t run = 1;
            while (run < 8 && i + run < n && needs_run(text[i + run]))
                ++run;
            out.push_back(static_cast<uint8_t>(run));
            for (size_t k = 0; k < run; ++k) {
                out.push_back(text[i + k]);
                insert(i + k);
            }
            i += run;
        } else {
            out.push_back(text[i]);
            insert(i);
            ++i;
        }
    }
    return out;
}

}  // namespace lekta::pack
