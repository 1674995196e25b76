// Check For Updates: the maker's update page, opened in the user's browser with the program's
// identifier and version in its query.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace lekta {

constexpr const char16_t* UPDATE_PATH = u"/cgi-bin/upgrade?p=arm/";
constexpr const char16_t* PROGRAM_IDENTIFIER = u"Halvern/Lekta-Hebrew";
// The longest URL the check may build, terminator included.
constexpr size_t UPDATE_URL_CAPACITY = 200;

// A query value as the update page reads it: a space as "+", digits, ASCII letters, "." and "/"
// as they are, every other UTF-16 unit as "%" and its value in two or more upper-case hex
// digits ("-" is "%2D").
std::u16string escape_query_value(std::u16string_view value);

// The update server, the path, the escaped identifier and "&v=" with the version.
std::u16string update_url();

// Opens the update page over owner. Nothing is remembered between checks.
void build_update_url(plat::Window* owner);

}  // namespace lekta
