#include "store/book_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "store/test_book_writer.h"

namespace lekta {
namespace {

using testbook::Bytes;
using Resources = std::vector<std::pair<uint16_t, Bytes>>;

std::string error_of(const Bytes& bytes, BookCheck check = {}) {
    std::string error;
    if (read_book_file(bytes, "book.res", &error, check)) return "";
    return error;
}

TEST(BookFile, ReadsACompleteBook) {
    for (bool leap : {false, true}) {
        const Bytes bytes = testbook::book_file(leap);
        std::string error;
        const auto book = read_book_file(bytes, "book.res", &error);
        ASSERT_TRUE(book) << error;
        EXPECT_EQ(book->leap_cycle, leap);
        EXPECT_EQ(book->resources.size(), leap ? 27u : 14u);  // with the book info
        const auto index = book_resource(*book, 32767);
        ASSERT_TRUE(index);
        EXPECT_EQ(index->size(), testbook::book_resources(leap).back().second.size());
        EXPECT_EQ(book_resource(*book, 1049).has_value(), leap);
        EXPECT_FALSE(book_resource(*book, 1013));
        EXPECT_EQ(book_resource(*book, BOOK_INFO_ID)->size(), 16u);
    }
}

TEST(BookFile, CutAnywhereIsRefused) {
    const Bytes whole = testbook::book_file(false);
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const std::string error = error_of(cut);
        if (error.empty()) {
            // Only the final padding may go missing.
            EXPECT_GT(size + 4, whole.size()) << size;
            continue;
        }
        EXPECT_EQ(error.find('\n'), std::string::npos);
        EXPECT_EQ(error.rfind("book.res: ", 0), 0u) << error;
        if (size > 32) {
            EXPECT_EQ(error, "book.res: truncated") << size;
        }
    }
    EXPECT_EQ(error_of({}), "book.res: not a book file (empty)");
}

TEST(BookFile, RefusesWhatIsNotABook) {
    EXPECT_EQ(error_of(Bytes(100, 'x')),
              "book.res: not a book file (bad resource header at offset 0)");

    Bytes bytes = testbook::book_file(false);
    bytes[32 + 32] = 'X';  // the book info's magic
    EXPECT_EQ(error_of(bytes), "book.res: not a book file (bad magic)");

    bytes = testbook::book_file(false);
    bytes[32 + 4] = 16;  // the book info's header size
    EXPECT_EQ(error_of(bytes), "book.res: not a book file (bad resource header at offset 32)");

    // Without the book info.
    Bytes no_info;
    testbook::entry(no_info, 0, 0, {}, 0);
    for (const auto& r : testbook::book_resources(false))
        testbook::entry(no_info, 10, r.first, r.second);
    EXPECT_EQ(error_of(no_info), "book.res: not a book file (no book info)");
}

TEST(BookFile, RefusesACorruptBook) {
    Bytes bytes = testbook::book_file(false);
    bytes[bytes.size() - 12] ^= 1;  // inside the index
    EXPECT_EQ(error_of(bytes), "book.res: corrupt (checksum mismatch)");

    Resources resources = testbook::book_resources(false);
    resources.erase(resources.begin() + 4);
    EXPECT_EQ(error_of(testbook::book_file(resources, false)),
              "book.res: corrupt (resource 1005 missing)");
    // The leap flag without the leap-cycle months.
    EXPECT_EQ(error_of(testbook::book_file(testbook::book_resources(false), true)),
              "book.res: corrupt (resource 1049 missing)");

    resources = testbook::book_resources(false);
    resources[1].second[1] ^= 1;  // L no longer matches the size
    EXPECT_EQ(error_of(testbook::book_file(resources, false)),
              "book.res: corrupt (resource 1002 malformed)");
    resources = testbook::book_resources(false);
    resources[7].second = testbook::resource({testbook::packed_record({0x61})}, 30);
    EXPECT_EQ(error_of(testbook::book_file(resources, false)),
              "book.res: corrupt (resource 1008 has 1 records, not 31)");
    resources = testbook::book_resources(false);
    resources.push_back(resources[0]);
    EXPECT_EQ(error_of(testbook::book_file(resources, false)),
              "book.res: corrupt (resource 1001 twice)");
}

TEST(BookFile, SkipsOtherResources) {
    // A string-named resource and one of another type, both counted and checksummed.
    Resources resources = testbook::book_resources(false);
    Bytes bytes = testbook::book_file(resources, false);
    Bytes named;
    testbook::put32le(named, 2);                             // DataSize
    testbook::put32le(named, 36);                            // HeaderSize
    for (uint32_t w : {0xFFFFu, 10u, 0x41u, 0x42u, 0u, 0u})  // type 10, name "AB", padding
        testbook::put16le(named, w);
    named.resize(named.size() + 16);
    named.push_back(0x61);
    named.push_back(0x62);
    named.resize(named.size() + 2);
    bytes.insert(bytes.end(), named.begin(), named.end());
    testbook::entry(bytes, 3, 1001, {1, 2, 3, 4});
    // Fix up the count and the checksum in the book info.
    resources.push_back({0, {0x61, 0x62}});
    resources.push_back({0, {1, 2, 3, 4}});
    const Bytes info = testbook::book_file(resources, false);
    std::copy(info.begin() + 64, info.begin() + 80, bytes.begin() + 64);
    std::string error;
    const auto book = read_book_file(bytes, "book.res", &error);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(book_resource(*book, 1001)->size(), resources[0].second.size());
}

TEST(BookFile, ChecksumCheckCanBeLeftOut) {
    Bytes bytes = testbook::book_file(false);
    bytes[bytes.size() - 12] ^= 1;
    EXPECT_EQ(error_of(bytes, {.checksum = false}), "");
}

}  // namespace
}  // namespace lekta
