// Visual order by the Unicode bidirectional algorithm.
#pragma once

#include <cstdint>
#include <vector>

namespace lekta::pack {

// Letter-code text in reading order as the bidirectional algorithm lays it out on a single
// right-to-left line, read left to right: left-to-right runs keep their order, the rest is
// turned round and its ( ) [ ] { } mirrored. For text without Latin letters or digits this is
// the plain reversal with mirrored brackets.
std::vector<uint8_t> visual_order(const std::vector<uint8_t>& text);

}  // namespace lekta::pack
