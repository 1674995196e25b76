// The sizes the font chooser offers, and the size list's texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lekta {

constexpr std::array<int32_t, 14> FONT_SIZES = {10, 11, 12, 14, 16, 18, 20,
                                                22, 24, 26, 28, 32, 52, 72};

// A size of the table as the list shows it: its decimal digits.
std::u16string size_text(int32_t size);
// The value of a size list item: each unit taken as a decimal digit.
int32_t parse_size(std::u16string_view text);
// The index of the size in FONT_SIZES, or -1 when the list does not offer it.
int32_t size_index(int32_t size);
// The size of the table nearest to height (the smaller of two as near).
int32_t nearest_size(int32_t height);

}  // namespace lekta
