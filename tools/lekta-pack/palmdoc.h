// PalmDOC LZ77 packing: the scheme the lesson store unpacks.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lekta::pack {

std::vector<uint8_t> palmdoc_pack(std::span<const uint8_t> text);

}  // namespace lekta::pack
