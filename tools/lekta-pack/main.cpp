// lekta-pack SOURCE OUTPUT: a book source into a book file.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/lekta-pack/book_source.h"
#include "tools/lekta-pack/book_writer.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::puts(
            "Usage: lekta-pack SOURCE OUTPUT\n\nPacks a book source (docs/book-source.md) "
            "into a book file the reader opens with --book.");
        return 0;
    }
    if (argc != 3) {
        std::fputs("Usage: lekta-pack SOURCE OUTPUT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    std::ostringstream source;
    source << in.rdbuf();

    lekta::pack::BookSource book;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!lekta::pack::parse_book_source(source.str(), argv[1], &book, &error) ||
        !lekta::pack::build_book_file(book, &bytes, &error) ||
        !lekta::pack::write_file_atomically(argv[2], bytes, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
