// The book source (UTF-8, reading order, a paragraph per line) read into lesson and index texts
// in the letter code, ready to pack.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lekta::pack {

struct BookSource {
    std::string title;
    // Lesson key (month << 8 | day, 0x1000 for the leap-cycle arrangement) -> lesson text:
    // paragraph records followed by four zero bytes.
    std::map<uint16_t, std::vector<uint8_t>> lessons;
    std::vector<uint8_t> index;  // index records and their five-zero terminator
    // The same records with each section's leap-arrangement lesson, when the source names one
    // for some section; empty otherwise.
    std::vector<uint8_t> leap_index;
    bool has_leap_index = false;
    bool leap_cycle = false;
};

// Reads a book source. On failure returns false and sets *error to "FILE:LINE: message".
bool parse_book_source(const std::string& text, const std::string& file_name, BookSource* book,
                       std::string* error);

}  // namespace lekta::pack
