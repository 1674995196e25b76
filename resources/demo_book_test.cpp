// The built-in book: the program skips its checksum at start-up, so the build proves it here.
#include <gtest/gtest.h>

#include "store/book.h"
#include "store/book_file.h"
#include "store/embedded_book.h"
#include "store/lesson_store.h"

namespace lekta {
namespace {

TEST(DemoBook, PassesEveryCheckAndCarriesBothArrangements) {
    const std::span<const uint8_t> bytes(lekta_demo_book, lekta_demo_book_size);
    std::string error;
    const auto book = read_book_file(bytes, "demo book", &error);
    ASSERT_TRUE(book) << error;
    EXPECT_TRUE(book->leap_cycle);

    ASSERT_TRUE(use_embedded_book(&error)) << error;
    EXPECT_TRUE(book_has_leap_cycle());
    EXPECT_TRUE(fetch_lesson_text(0x0101));  // 1 Tishri
    EXPECT_TRUE(fetch_lesson_text(0x1D1D));  // 29 Adar II, leap cycle
    EXPECT_TRUE(fetch_lesson_text(INDEX_LESSON_KEY));
    unload_book();
}

}  // namespace
}  // namespace lekta
