// A book file: the 32-bit .res container holding the book info, the month resources and the
// section index, parsed and checked before any of its bytes are used.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lekta {

constexpr uint16_t BOOK_INFO_ID = 1;

struct BookResource {
    uint16_t id = 0;
    std::span<const uint8_t> data;
};

struct BookFile {
    std::vector<BookResource> resources;  // the RCDATA resources with numeric names, by id
    bool leap_cycle = false;              // carries the leap-cycle months 1049..1061
};

struct BookCheck {
    // Off only where the bytes are made up on purpose (fuzzing), so the deeper checks are
    // reached.
    bool checksum = true;
};

// Parses and checks a book file; the result points into `bytes`, which must outlive it. On
// failure *error (when given) is one line naming the file: "<name>: truncated",
// "<name>: not a book file (...)", "<name>: corrupt (...)".
std::optional<BookFile> read_book_file(std::span<const uint8_t> bytes, const std::string& name,
                                       std::string* error, BookCheck check = {});

// The data of the resource with the given id; nothing when the book has none.
std::optional<std::span<const uint8_t>> book_resource(const BookFile& book, uint16_t id);

// Makes an already read book the current one (its bytes must outlive its use).
void use_book(BookFile book);

// The zlib CRC-32 (the book info's checksum), continued from `crc` (0 to start).
uint32_t book_crc32(uint32_t crc, std::span<const uint8_t> bytes);

// Records a month resource holds: 29, 30, or 31 for months 8 and 9 (the short-month slot).
int month_record_count(int month, bool leap_cycle);

}  // namespace lekta
