// UTF-8 text (file names, paths) as UTF-16 for the registry and the message boxes.
#pragma once

#include <string>
#include <string_view>

namespace lekta {

// What isn't UTF-8 shows as U+FFFD, one for each byte that does not decode, rather than being
// dropped or read as another character.
std::u16string utf16_of(std::string_view utf8);

}  // namespace lekta
