// Finding the search string in one lesson text: the backward matcher with its two wildcards,
// and the walk over a text's paragraphs.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace lekta {

constexpr uint8_t WILDCARD_ONE = '?';  // any one byte
constexpr uint8_t WILDCARD_RUN = '*';  // any run of bytes within one paragraph, none included

// A match: the offset of its last stored byte (its highest offset) and its length in bytes.
struct Match {
    uint32_t position = 0;
    uint32_t length = 0;
};

// Looks for the pattern ending at scan, then scan - 1, ... down to low. The pattern's last byte
// is always compared literally; elsewhere '?' matches any byte and '*' the shortest run that
// lets the part before it match, within [low, scan]. A pattern starting with '*' never matches.
// Positions outside the text are never read.
std::optional<Match> match_backward(std::span<const uint8_t> text, uint32_t low,
                                    std::span<const uint8_t> pattern, uint32_t scan);

// A hit in a lesson text: offset 0 means none (paragraph text never starts before offset 2).
struct Hit {
    uint16_t offset = 0;
    uint16_t length = 0;
    explicit operator bool() const { return offset != 0; }
};

// The first hit in reading order from start: paragraphs in stored order, each scanned from its
// last byte downwards (or from start, in the paragraph holding it); paragraphs that end before
// start are passed over. Only the first 0xFFFF bytes count: offsets are 16-bit.
Hit search_text(std::span<const uint8_t> text, uint32_t start, std::span<const uint8_t> pattern);

// Called when the paragraph list cannot be allocated; the search then gives up without a hit.
// Filled in by the shell with its out-of-memory stop.
extern void (*g_search_out_of_memory)();

}  // namespace lekta
