// Choosing the built-in demo book. Kept apart so that only programs that call it link the book.
#include "store/embedded_book.h"
#include "store/book.h"

namespace lekta {

bool use_embedded_book(std::string* error) {
    // Checked when it was packed, and part of the program since: its checksum would only cost
    // start-up time. Its layout is still checked like any book's.
    return use_book_bytes(std::span<const uint8_t>(lekta_demo_book, lekta_demo_book_size), error,
                          "demo book", {.checksum = false});
}

}  // namespace lekta
