// The current book: the book file whose resources find_resource gives. Until one is
// chosen there is none, and every resource is missing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "store/book_file.h"

namespace lekta {

// Reads a book file into memory kept for the run and makes it the current book. On failure
// the previous book stays and *error (when given) is one line naming the file.
bool load_book_file(const std::string& path, std::string* error);

// Makes the book file held in `bytes` the current book; the bytes must outlive its use. `name`
// stands for the file in error messages.
bool use_book_bytes(std::span<const uint8_t> bytes, std::string* error, const std::string& name,
                    BookCheck check = {});

// The demo book built into the program (link the target lekta_demo_book).
bool use_embedded_book(std::string* error);

// Whether the current book carries the leap-cycle arrangement (resources 1049..1061).
bool book_has_leap_cycle();

// Leaves no current book.
void unload_book();

// The bytes of a resource of the current book, used in place and never modified. An empty
// optional when the book has no such resource.
std::optional<std::span<const uint8_t>> find_resource(uint16_t id);

}  // namespace lekta
