#include "store/index_records.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lekta {
namespace {

using Bytes = std::vector<uint8_t>;

// Two records and the terminator: a group with title "a" and a section with title "bc".
const Bytes GOOD = {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 0x01, 0x41, 0x01,
                    2,    0x62, 0x63, 0, 0,    0, 0,    0,    0};

TEST(IndexRecords, ReadsRecordsToTheTerminator) {
    uint32_t cursor = 0;
    IndexRecord r;
    ASSERT_EQ(next_index_record(GOOD, cursor, r), RecordRead::record);
    EXPECT_EQ(r.key, 0xBFFE);
    EXPECT_EQ(r.attribute, 0x8C);
    EXPECT_EQ(r.level, 1);
    EXPECT_EQ(r.title_offset, 4u);
    EXPECT_EQ(r.title_length, 1u);
    ASSERT_EQ(next_index_record(GOOD, cursor, r), RecordRead::record);
    EXPECT_EQ(r.key, 0x4101);
    EXPECT_EQ(r.title_length, 2u);
    EXPECT_EQ(cursor, 13u);
    EXPECT_EQ(next_index_record(GOOD, cursor, r), RecordRead::end);
    uint32_t end = 0;
    EXPECT_TRUE(index_list_valid(GOOD, &end));
    EXPECT_EQ(end, 13u);
}

TEST(IndexRecords, MalformedListsAreRejectedWithoutReadingPast) {
    // Each list is copied into a buffer of its exact size, so a read past it would be caught
    // by the sanitizer build.
    const std::vector<Bytes> bad = {
        {},                                       // nothing
        {0xFE, 0xBF},                             // cut inside the first header
        {0xFE, 0xBF, 0x8C},                       // no level
        {0xFE, 0xBF, 0x8C, 1, 0x61},              // title without its zero
        {0xFE, 0xBF, 0x8C, 0, 0x61, 0, 0, 0, 0},  // level 0
        {0xFE, 0xBF, 0x8C, 4, 0x61, 0, 0, 0, 0},  // level 4
        {0xFE, 0xBF, 0x8C, 1, 0x61, 0},           // no terminator
        {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 0, 0},     // terminator cut short
        {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 1, 0x41, 1, 9, 0x62, 0, 0, 0, 0, 0, 0},  // second level 9
    };
    for (const Bytes& list : bad) {
        auto exact = std::make_unique<uint8_t[]>(list.size() + 1);
        std::copy(list.begin(), list.end(), exact.get());
        EXPECT_FALSE(index_list_valid({exact.get(), list.size()})) << list.size();
    }
}

TEST(IndexRecords, ListsBeyondSixteenBitOffsetsAreRejected) {
    Bytes list;
    while (list.size() < 0x10100) {
        list.insert(list.end(), {0x01, 0x41, 0x01, 2});
        list.insert(list.end(), 200, 0x61);
        list.push_back(0);
    }
    list.insert(list.end(), 5, 0);
    EXPECT_FALSE(index_list_valid(list));
}

}  // namespace
}  // namespace lekta
