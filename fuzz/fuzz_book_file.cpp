// Arbitrary bytes as a book file: read and checked, then (with the checksum left out so that
// made-up books get through) made the current book and every key of the year fetched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/test/test_system.h"
#include "store/book.h"
#include "store/book_file.h"
#include "store/lesson_store.h"

using namespace lekta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::string error;
    if (!read_book_file(bytes, "fuzz", &error) && error.rfind("fuzz: ", 0) != 0) std::abort();
    auto book = read_book_file(bytes, "fuzz", &error, {.checksum = false});
    if (!book) return 0;
    use_book(std::move(*book));
    for (int set = 0; set <= 1; ++set) {
        for (int month = 0; month <= 15; ++month) {
            for (int day = 0; day <= 32; ++day) {
                const auto key = static_cast<uint16_t>(set << 12 | month << 8 | day);
                const LessonText text = fetch_lesson_text(key);
                if (text && text.bytes[text.length] != 0) std::abort();
            }
        }
    }
    (void)fetch_lesson_text(INDEX_LESSON_KEY);
    testplat::message_boxes().clear();
    unload_book();
    return 0;
}
