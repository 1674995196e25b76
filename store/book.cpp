// The current book and the resource lookup over it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "store/book.h"
#include "store/book_file.h"

namespace lekta {

namespace {

// Far beyond any book (26 months of at most 64 KiB each); refused before reading it all.
constexpr uintmax_t MAX_BOOK_FILE_SIZE = 64u << 20;

struct CurrentBook {
    std::vector<uint8_t> owned;  // the bytes of a book read from a file
    BookFile file;
    bool present = false;
};

CurrentBook& current_book() {
    static CurrentBook book;
    return book;
}

bool set_error(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

}  // namespace

void use_book(BookFile file) {
    CurrentBook& book = current_book();
    book.file = std::move(file);
    book.owned.clear();
    book.owned.shrink_to_fit();
    book.present = true;
}

bool use_book_bytes(std::span<const uint8_t> bytes, std::string* error, const std::string& name,
                    BookCheck check) {
    auto file = read_book_file(bytes, name, error, check);
    if (!file) return false;
    use_book(std::move(*file));
    return true;
}

bool load_book_file(const std::string& path, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return set_error(error, path + ": missing");
    if (status.type() == fs::file_type::directory)
        return set_error(error, path + ": unreadable (a directory)");
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) return set_error(error, path + ": unreadable (" + std::strerror(errno) + ")");

    std::vector<uint8_t> bytes;
    uint8_t chunk[1 << 16];
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > MAX_BOOK_FILE_SIZE)
            return set_error(error, path + ": not a book file (too large)");
        if (n < sizeof chunk) break;
    }
    if (std::ferror(f.get())) return set_error(error, path + ": unreadable (read error)");

    auto file = read_book_file(bytes, path, error);
    if (!file) return false;
    // The table points into the vector's heap block, which moving the vector keeps.
    CurrentBook& book = current_book();
    book.owned = std::move(bytes);
    book.file = std::move(*file);
    book.present = true;
    return true;
}

bool book_has_leap_cycle() {
    const CurrentBook& book = current_book();
    return book.present && book.file.leap_cycle;
}

void unload_book() {
    current_book() = CurrentBook{};
}

std::optional<std::span<const uint8_t>> find_resource(uint16_t id) {
    const CurrentBook& book = current_book();
    if (!book.present) return std::nullopt;
    return book_resource(book.file, id);
}

}  // namespace lekta
