#include "bookmarks/bookmarks.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/dialog.h"
#include "platform/test/test_system.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/index_records.h"
#include "store/test_book_support.h"

namespace lekta {
namespace {

using Bytes = std::vector<uint8_t>;
namespace ts = testing_support;

class Bookmarks : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();
        g_settings = Settings{};
        g_reader = Reader{};
    }
    void TearDown() override {
        g_settings = Settings{};
        g_reader = Reader{};
        testplat::reset_system();
    }
    static std::vector<uint16_t>& keys() { return g_settings.bookmarks; }
};

Bytes bytes_of(const LessonText& text) {
    return text ? Bytes(text.bytes.get(), text.bytes.get() + text.length) : Bytes{};
}

LessonText text_of(const Bytes& bytes) {
    LessonText text;
    text.bytes = std::make_unique<uint8_t[]>(bytes.size() + 2);
    std::copy(bytes.begin(), bytes.end(), text.bytes.get());
    text.length = static_cast<uint32_t>(bytes.size());
    return text;
}

// The records of a list as (key, attribute, level, title).
struct Rec {
    uint16_t key;
    uint8_t attribute, level;
    Bytes title;
    friend bool operator==(const Rec&, const Rec&) = default;
};
std::vector<Rec> records_of(const Bytes& list) {
    std::vector<Rec> out;
    uint32_t cursor = 0;
    IndexRecord r;
    while (next_index_record(list, cursor, r) == RecordRead::record)
        out.push_back(
            {r.key, r.attribute, r.level,
             Bytes(list.begin() + r.title_offset, list.begin() + r.title_offset + r.title_length)});
    return out;
}

const Bytes HEADER_TITLE = {0x6A, 0x69, 0x79, 0x75};

TEST_F(Bookmarks, StoredValueReadsAsFarAsItIsWhole) {
    const std::vector<std::pair<Bytes, std::vector<uint16_t>>> cases = {
        {{0x01, 0x09, 0x13, 0x0A, 0, 0}, {0x0901, 0x0A13}},  // as written
        {{0, 0}, {}},                                        // an empty list
        {{0x01, 0x09, 0x13, 0x0A}, {0x0901, 0x0A13}},        // no zero entry
        {{0x01, 0x09, 0x13}, {0x0901}},                      // an odd last byte
        {{0x01}, {}},                                        // less than one entry
        {{}, {}},                                            // empty value
        {{0x01, 0x09, 0, 0, 0x13, 0x0A, 0, 0}, {0x0901}},    // the zero entry ends the list
    };
    for (const auto& [value, expected] : cases) {
        // Exactly the value's bytes, so a read past them would show in the sanitizer build.
        auto exact = std::make_unique<uint8_t[]>(value.size() + 1);
        std::copy(value.begin(), value.end(), exact.get());
        set_bookmarks_from_value(std::span<const uint8_t>(exact.get(), value.size()));
        EXPECT_EQ(keys(), expected) << value.size();
    }
    set_bookmarks_from_value(std::nullopt);
    EXPECT_TRUE(keys().empty());
    EXPECT_EQ(bookmarks_value(), (Bytes{0, 0}));
}

TEST_F(Bookmarks, ValueRoundTripsByteForByte) {
    const Bytes stored = {0x13, 0x09, 0x01, 0x0A, 0x1D, 0x0C, 0, 0};
    set_bookmarks_from_value(std::span<const uint8_t>(stored));
    EXPECT_EQ(bookmarks_value(), stored);
}

TEST_F(Bookmarks, AddOnceRemoveEveryCopy) {
    bookmark_add(0x0901);
    bookmark_add(0x0901);
    bookmark_add(0);  // no lesson: nothing to add
    bookmark_add(0x0A02);
    EXPECT_EQ(keys(), (std::vector<uint16_t>{0x0901, 0x0A02}));
    EXPECT_TRUE(is_bookmarked(0x0A02));
    EXPECT_FALSE(is_bookmarked(0));

    // An older stored value may hold a lesson twice: both go, and the others keep their order.
    const Bytes stored = {0x01, 0x09, 0x02, 0x0A, 0x01, 0x09, 0x03, 0x0A, 0, 0};
    set_bookmarks_from_value(std::span<const uint8_t>(stored));
    bookmark_remove(0x0901);
    EXPECT_EQ(keys(), (std::vector<uint16_t>{0x0A02, 0x0A03}));
    EXPECT_EQ(bookmarks_value(), (Bytes{0x02, 0x0A, 0x03, 0x0A, 0, 0}));
}

TEST_F(Bookmarks, ToggleAsksBeforeRemovingUntilToldNotTo) {
    g_settings.current_lesson = 0x0901;
    bookmark_toggle(nullptr);
    EXPECT_TRUE(is_bookmarked(0x0901));
    EXPECT_TRUE(testplat::message_boxes().empty());

    testplat::push_message_box_answer(plat::IDNO);
    bookmark_toggle(nullptr);
    ASSERT_EQ(testplat::message_boxes().size(), 1u);
    const auto& box = testplat::message_boxes()[0];
    EXPECT_EQ(box.text, u"Remove Bookmark?\n\nCancel - Don't ask again");
    EXPECT_EQ(box.caption, u"Bookmark");
    EXPECT_EQ(box.style, plat::MB_YESNOCANCEL);
    EXPECT_TRUE(is_bookmarked(0x0901));

    testplat::push_message_box_answer(plat::IDYES);
    bookmark_toggle(nullptr);
    EXPECT_FALSE(is_bookmarked(0x0901));
    EXPECT_EQ(g_reader.bookmark_question_flags, 0);

    bookmark_toggle(nullptr);  // added again, no question
    testplat::push_message_box_answer(plat::IDCANCEL);
    bookmark_toggle(nullptr);
    EXPECT_FALSE(is_bookmarked(0x0901));
    EXPECT_EQ(g_reader.bookmark_question_flags, BOOKMARK_NO_QUESTION);

    bookmark_toggle(nullptr);
    bookmark_toggle(nullptr);  // removed without a question now
    EXPECT_FALSE(is_bookmarked(0x0901));
    EXPECT_EQ(testplat::message_boxes().size(), 3u);
}

class Branch : public Bookmarks {
  protected:
    void SetUp() override {
        Bookmarks::SetUp();
        book_ = ts::make_test_book(false);
        // A group, two sections (1 Nisan, titled "bc"; 3 Nisan, "d").
        book_.index = {0xFE, 0xBF, 0x8C, 1,    0x61, 0,    0x01, 0x41, 0x01, 2, 0x62, 0x63,
                       0,    0x03, 0x41, 0x01, 2,    0x64, 0,    0,    0,    0, 0,    0};
        // 5 Nisan has no title paragraph.
        book_.lessons[0x0105] = {0xB1, 0, 0x62, 0x63, 0, 0, 0, 0, 0};
        ts::use_test_book(book_);
    }
    ts::TestBook book_;
};

TEST_F(Branch, NoBookmarksLeavesTheIndexAlone) {
    const LessonText joined = prepend_bookmark_branch(text_of(book_.index));
    EXPECT_EQ(bytes_of(joined), book_.index);
}

TEST_F(Branch, SectionBookmarksCopyTheirIndexTitle) {
    keys() = {0x0103, 0x0101};
    const Bytes joined = bytes_of(prepend_bookmark_branch(text_of(book_.index)));
    const std::vector<Rec> expected = {
        {0x8877, 0xC1, 1, HEADER_TITLE}, {0x4103, 0x81, 2, {0x64}},
        {0x4101, 0x81, 2, {0x62, 0x63}}, {0xBFFE, 0x8C, 1, {0x61}},
        {0x4101, 0x01, 2, {0x62, 0x63}}, {0x4103, 0x01, 2, {0x64}},
    };
    EXPECT_EQ(records_of(joined), expected);
    // Header 9 bytes, entries 6 and 7, the index's 19 record bytes, five zeros.
    ASSERT_EQ(joined.size(), 9u + 6 + 7 + 19 + 5);
    EXPECT_TRUE(index_list_valid(joined));
    EXPECT_EQ(Bytes(joined.end() - 5, joined.end()), Bytes(5, 0));
}

TEST_F(Branch, OtherLessonsAreTitledFromTheLesson) {
    // 2 Nisan begins no section: its lesson's title (its key spelled in letters). 5 Nisan has
    // no title: its day and month. A key that names no lesson gives no entry.
    keys() = {0x0102, 0x0105, 0x0F40};
    const Bytes branch = bytes_of(build_bookmark_branch(text_of(book_.index)));
    const std::vector<Rec> records = records_of(branch);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].key, 0x4102);
    EXPECT_EQ(records[1].title, lesson_branch_title(0x0102));
    EXPECT_EQ(records[1].title, (Bytes{0x61, 0x61, 0x63, 0x66, 0x69}));  // 0x0102 = 258
    EXPECT_EQ(records[2].key, 0x4105);
    // Visual order, as the date strip writes it: the month Nisan, a space, the day 5.
    EXPECT_EQ(records[2].title, (Bytes{0x70, 0x72, 0x6A, 0x71, ' ', 0x65}));
}

TEST_F(Branch, AMissingOrDamagedIndexShowsTheBranchAlone) {
    keys() = {0x0101};
    const Bytes alone = bytes_of(prepend_bookmark_branch(LessonText{}));
    const std::vector<Rec> records = records_of(alone);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].key, 0x8877);
    EXPECT_EQ(records[1].key, 0x4101);  // titled from its lesson
    EXPECT_TRUE(index_list_valid(alone));

    Bytes damaged = book_.index;
    damaged[3] = 7;  // a level no index has
    EXPECT_EQ(records_of(bytes_of(prepend_bookmark_branch(text_of(damaged)))).size(), 2u);
}

TEST_F(Branch, TheBranchLeavesRoomForTheIndexWithinSixteenBits) {
    for (uint16_t month = 1; month <= 12; ++month)
        for (uint16_t day = 1; day <= 29; ++day)
            keys().push_back(static_cast<uint16_t>(month << 8 | day));
    // Many bookmarks of long titles: every lesson titled 60 letters.
    for (auto& [key, text] : book_.lessons) {
        text = {0xDC, 0};
        text.insert(text.end(), 60, 0x61);
        text.insert(text.end(), {0, 0, 0, 0, 0});
    }
    ts::use_test_book(book_);
    const Bytes joined = bytes_of(prepend_bookmark_branch(text_of(book_.index)));
    EXPECT_LE(joined.size(), INDEX_LIST_MAX);
    EXPECT_TRUE(index_list_valid(joined));
}

}  // namespace
}  // namespace lekta
