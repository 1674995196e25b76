#include "store/lesson_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/test/test_system.h"
#include "store/book.h"
#include "store/test_book_writer.h"

namespace lekta {
namespace {

using testbook::Bytes;

Bytes text_of(const LessonText& text) {
    return text ? Bytes(text.bytes.get(), text.bytes.get() + text.length) : Bytes{};
}

class Fetch : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();
        use(testbook::book_file(false));
    }
    void TearDown() override { unload_book(); }
    void use(Bytes bytes) {
        book_ = std::move(bytes);
        std::string error;
        ASSERT_TRUE(use_book_bytes(book_, &error, "test")) << error;
    }
    Bytes book_;
};

TEST_F(Fetch, LessonsByKey) {
    EXPECT_EQ(text_of(fetch_lesson_text(0x0101)), testbook::lesson_text(0x0101));
    EXPECT_EQ(text_of(fetch_lesson_text(0x0C1D)), testbook::lesson_text(0x0C1D));
    // Slot 31 of months 8 and 9 is the 31st record.
    EXPECT_EQ(text_of(fetch_lesson_text(0x081F)), testbook::lesson_text(0x081F));
    EXPECT_EQ(text_of(fetch_lesson_text(0x091F)), testbook::lesson_text(0x091F));
    LessonText index = fetch_lesson_text(INDEX_LESSON_KEY);
    ASSERT_TRUE(index);
    EXPECT_EQ(index.length, 11u);
    EXPECT_EQ(index.bytes[0], 0xFE);
}

TEST_F(Fetch, NothingWithoutARecord) {
    // Key 0; day 30 of a 29-record month; day 32 of months 8/9; months 0, 13, 14, 15; the
    // leap-cycle set in a book without it.
    for (int key : {0x0000, 0x021E, 0x0820, 0x0005, 0x0D01, 0x0E01, 0x0F01, 0x1101, 0x1D0E})
        EXPECT_FALSE(fetch_lesson_text(static_cast<uint16_t>(key))) << std::hex << key;
    unload_book();
    EXPECT_FALSE(fetch_lesson_text(0x0101));
    EXPECT_TRUE(testplat::message_boxes().empty());
}

TEST_F(Fetch, LeapCycleSet) {
    use(testbook::book_file(true));
    EXPECT_EQ(text_of(fetch_lesson_text(0x1D0E)), testbook::lesson_text(0x1D0E));  // Adar II
    EXPECT_EQ(text_of(fetch_lesson_text(0x1C1E)), testbook::lesson_text(0x1C1E));  // Adar I 30
    EXPECT_FALSE(fetch_lesson_text(0x1D1E));
}

TEST(LessonLocation, KeysToResourcesAndRecords) {
    EXPECT_FALSE(lesson_location(0));
    auto at = [](uint16_t key) {
        auto l = lesson_location(key);
        return l ? std::make_pair(int{l->resource_id}, l->record_index) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(at(INDEX_LESSON_KEY), std::make_pair(32767, 0));
    EXPECT_EQ(at(0x0901), std::make_pair(1009, 0));
    EXPECT_EQ(at(0x091F), std::make_pair(1009, 30));
    EXPECT_EQ(at(0x1D0E), std::make_pair(1061, 13));
    EXPECT_EQ(at(0x0F01), std::make_pair(1015, 0));
    // Day 0 falls back into the month before, at a record no month has.
    EXPECT_EQ(at(0x0300), std::make_pair(1002, 255));
}

TEST(RecordWalk, StaysInsideTheArea) {
    const Bytes resource = testbook::resource(
        {testbook::packed_record({1, 2, 3}), testbook::packed_record({4, 5})}, 30);
    const std::span<const uint8_t> area = record_area(resource);
    ASSERT_EQ(area.size(), resource.size() - 6);
    auto second = find_lesson_record(area, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->unpacked_length, 2);
    EXPECT_EQ(Bytes(second->packed.begin(), second->packed.end()), (Bytes{1, 4, 1, 5}));
    EXPECT_FALSE(find_lesson_record(area, 2));  // the terminator
    EXPECT_FALSE(find_lesson_record(area, -1));

    // Cut inside the second record: the first is still there, the second is not.
    const auto cut = area.first(6 + 4 + 2);
    EXPECT_TRUE(find_lesson_record(cut, 0));
    EXPECT_FALSE(find_lesson_record(cut, 1));
    EXPECT_FALSE(find_lesson_record(area.first(4), 0));

    // A length beyond the resource is cut to it; a resource shorter than its header is empty.
    Bytes longer = resource;
    longer[0] = 0xFF;
    EXPECT_EQ(record_area(longer).size(), area.size());
    EXPECT_TRUE(record_area(std::span(resource).first(5)).empty());
    Bytes shorter = resource;
    shorter[1] = 12;  // only the first record and two bytes of the second
    EXPECT_TRUE(find_lesson_record(record_area(shorter), 0));
    EXPECT_FALSE(find_lesson_record(record_area(shorter), 1));
}

class Unpack : public ::testing::Test {
  protected:
    void SetUp() override { testplat::reset_system(); }
    // The text, or nothing; and whether the error message was shown.
    Bytes unpack(const Bytes& packed, uint16_t length, bool* failed_loudly = nullptr) {
        testplat::message_boxes().clear();
        LessonText text = unpack_record(packed, length);
        const auto& boxes = testplat::message_boxes();
        if (failed_loudly) *failed_loudly = !boxes.empty();
        if (text) {
            EXPECT_EQ(text.length, length);
            EXPECT_EQ(text.bytes[length], 0);
            EXPECT_EQ(text.bytes[length + 1], 0);
            EXPECT_TRUE(boxes.empty());
        }
        return text_of(text);
    }
};

TEST_F(Unpack, ControlBytes) {
    // Literals, a run that carries control bytes, space + letter, a back-reference.
    EXPECT_EQ(unpack({0x41, 0x00, 0x7F, 0x02, 0x01, 0xC1, 0xE1}, 7),
              (Bytes{0x41, 0x00, 0x7F, 0x01, 0xC1, 0x20, 0x61}));
    // Distance 1, length 10: the previous byte ten times.
    EXPECT_EQ(unpack({0x61, 0x80, 0x0F}, 11), Bytes(11, 0x61));
    // Distance 3, length 3 copies; distance 2, length 5 repeats a pair.
    EXPECT_EQ(unpack({0x61, 0x62, 0x63, 0x80, 0x18, 0x80, 0x12}, 11),
              (Bytes{0x61, 0x62, 0x63, 0x61, 0x62, 0x63, 0x62, 0x63, 0x62, 0x63, 0x62}));
    // The text's own trailing zeros are kept and the two bytes after it are zero.
    EXPECT_EQ(unpack({0x61, 0x00, 0x00, 0x00}, 4), (Bytes{0x61, 0, 0, 0}));
}

TEST_F(Unpack, StopsAtTheLength) {
    bool loud = false;
    // More than U described: the first U bytes, no message.
    EXPECT_EQ(unpack({0x61, 0x62, 0x63, 0x64}, 2, &loud), (Bytes{0x61, 0x62}));
    EXPECT_EQ(unpack({0x61, 0x80, 0x0F}, 4, &loud), Bytes(4, 0x61));
    EXPECT_EQ(unpack({0x03, 0x61, 0x62, 0x63}, 2, &loud), (Bytes{0x61, 0x62}));
    // A run cut short by U does not need its remaining bytes.
    EXPECT_EQ(unpack({0x08, 0x61, 0x62}, 2, &loud), (Bytes{0x61, 0x62}));
    // Space + letter with one byte of room: only the space, and complete.
    EXPECT_EQ(unpack({0x61, 0xE2}, 2, &loud), (Bytes{0x61, 0x20}));
    EXPECT_FALSE(loud);
}

TEST_F(Unpack, FailsWithTheMessage) {
    const std::vector<Bytes> failing = {
        {0x61, 0x62},        // fewer bytes than U
        {0x61, 0x03, 0x62},  // a run past the packed data
        {0x61, 0x80},        // a back-reference without its second byte
        {0x61, 0x80, 0x00},  // distance 0
        {0x61, 0x80, 0x10},  // distance 2 with one byte produced
        {0x80, 0x08},        // a back-reference before any output
    };
    for (const Bytes& packed : failing) {
        bool loud = false;
        EXPECT_TRUE(unpack(packed, 12, &loud).empty());
        ASSERT_TRUE(loud);
        const auto& box = testplat::message_boxes().front();
        EXPECT_EQ(box.text, u"UnCompress() buffer error!");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_FALSE(box.has_caption);
        EXPECT_EQ(box.style, plat::MB_OK);
    }
    // No data or no length: nothing, quietly.
    bool loud = true;
    EXPECT_TRUE(unpack({}, 4, &loud).empty());
    EXPECT_FALSE(loud);
    EXPECT_TRUE(unpack({0x61}, 0, &loud).empty());
    EXPECT_FALSE(loud);
}

// A plain decoder, one byte at a time, with the same rules for malformed data.
std::optional<Bytes> reference_unpack(const Bytes& packed, size_t length) {
    Bytes out;
    size_t in = 0;
    while (in < packed.size() && out.size() < length) {
        const unsigned ctl = packed[in++];
        if (ctl >= 1 && ctl <= 8) {
            for (unsigned i = 0; i < ctl && out.size() < length; ++i) {
                if (in == packed.size()) return std::nullopt;
                out.push_back(packed[in++]);
            }
        } else if (ctl < 0x80) {
            out.push_back(static_cast<uint8_t>(ctl));
        } else if (ctl < 0xC0) {
            if (in == packed.size()) return std::nullopt;
            const unsigned v = ctl << 8 | packed[in++];
            const size_t distance = (v >> 3) & 0x7FF;
            if (distance == 0 || distance > out.size()) return std::nullopt;
            for (unsigned i = 0; i < (v & 7) + 3 && out.size() < length; ++i)
                out.push_back(out[out.size() - distance]);
        } else {
            out.push_back(0x20);
            if (out.size() < length) out.push_back(static_cast<uint8_t>(ctl ^ 0x80));
        }
    }
    if (out.size() != length) return std::nullopt;
    return out;
}

// Random streams, mostly well formed, against the plain decoder: the word-at-a-time copies of
// the fast path must never show.
TEST_F(Unpack, AgreesWithAPlainDecoder) {
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 3000; ++round) {
        Bytes packed;
        size_t produced = 0;
        const size_t steps = next(200);
        for (size_t s = 0; s < steps; ++s) {
            switch (next(4)) {
                case 0:
                    packed.push_back(static_cast<uint8_t>(0x09 + next(0x77)));
                    produced += 1;
                    break;
                case 1: {
                    const uint32_t n = 1 + next(8);
                    packed.push_back(static_cast<uint8_t>(n));
                    for (uint32_t i = 0; i < n; ++i)
                        packed.push_back(static_cast<uint8_t>(next(256)));
                    produced += n;
                    break;
                }
                case 2: {
                    const uint32_t limit = static_cast<uint32_t>(std::min<size_t>(produced, 2047));
                    const uint32_t distance =
                        limit ? 1 + next(next(8) ? std::min(limit, 20u) : limit) : 1;
                    const uint32_t v = 0x8000 | distance << 3 | next(8);
                    packed.push_back(static_cast<uint8_t>(v >> 8));
                    packed.push_back(static_cast<uint8_t>(v));
                    produced += (v & 7) + 3;
                    break;
                }
                default:
                    packed.push_back(static_cast<uint8_t>(0xC0 + next(64)));
                    produced += 2;
            }
        }
        if (packed.empty()) continue;
        if (next(10) == 0) packed[next(static_cast<uint32_t>(packed.size()))] ^= 0x80;
        if (next(10) == 0) packed.resize(next(static_cast<uint32_t>(packed.size())) + 1);
        const size_t length = std::clamp<size_t>(produced + next(5) - 2, 1, 65535);
        const auto expected = reference_unpack(packed, length);
        bool loud = false;
        const Bytes got = unpack(packed, static_cast<uint16_t>(length), &loud);
        if (expected) {
            EXPECT_EQ(got, *expected) << "round " << round;
        } else {
            EXPECT_TRUE(got.empty() && loud) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace lekta
