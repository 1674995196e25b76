// Asking the user where to save a file.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace lekta::plat {

// The desktop's own Save dialog over owner, opened on suggested_name in the user's documents
// folder: the path chosen (UTF-8), or none when the user cancelled.
std::optional<std::string> choose_save_path(Window* owner, const char16_t* caption,
                                            const char16_t* suggested_name, const char16_t* filter);

}  // namespace lekta::plat
