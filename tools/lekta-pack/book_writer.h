// A parsed book packed into the resources of a book file and the .res container around them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/lekta-pack/book_source.h"

namespace lekta::pack {

// The whole book file. On failure returns false with *error naming what does not fit.
bool build_book_file(const BookSource& book, std::vector<uint8_t>* out, std::string* error);

// Writes bytes to path through a temporary file renamed into place, so a failed run never
// leaves a partial file. false with *error on failure.
bool write_file_atomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string* error);

}  // namespace lekta::pack
