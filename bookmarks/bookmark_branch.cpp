// The bookmarks branch of the section index: built afresh each time the index opens.
#include <algorithm>
#include <cstring>

#include "bookmarks/bookmarks.h"
#include "calendar/date_text.h"
#include "calendar/schedule.h"
#include "state/settings.h"
#include "store/index_records.h"
#include "view/letter_code.h"

namespace lekta {
namespace {

// "jiyu" as stored: the branch header's title.
constexpr uint8_t HEADER_TITLE[] = {0x6A, 0x69, 0x79, 0x75};
// Titles made from a lesson are kept to what the index itself allows.
constexpr size_t TITLE_MAX = 60;
// Years that name the months of a regular and of a leap year.
constexpr int32_t REGULAR_YEAR = 5785;
constexpr int32_t LEAP_YEAR = 5784;

bool names_a_lesson(uint16_t key) {
    const int month = key >> 8 & 0x0F;
    const int slot = key & 0xFF;
    return (key & 0xE000) == 0 && month >= 1 && month <= 13 && slot >= 1 && slot <= 31;
}

// The section record of a lesson in a list that reads; null when there is none.
const uint8_t* section_title(std::span<const uint8_t> index, bool index_valid, uint16_t key,
                             uint32_t& length) {
    if (!index_valid) return nullptr;
    const auto wanted = static_cast<uint16_t>(key | INDEX_SECTION_BIT);
    uint32_t cursor = 0;
    IndexRecord record;
    while (next_index_record(index, cursor, record) == RecordRead::record) {
        if (record.key == wanted) {
            length = record.title_length;
            return index.data() + record.title_offset;
        }
    }
    return nullptr;
}

void put_record(std::vector<uint8_t>& out, uint16_t key, uint8_t attribute, uint8_t level,
                const uint8_t* title, size_t length) {
    out.push_back(static_cast<uint8_t>(key & 0xFF));
    out.push_back(static_cast<uint8_t>(key >> 8));
    out.push_back(attribute);
    out.push_back(level);
    out.insert(out.end(), title, title + length);
    out.push_back(0);
}

LessonText text_of(const std::vector<uint8_t>& bytes) {
    LessonText text;
    text.bytes = std::make_unique<uint8_t[]>(bytes.size() + 2);  // zeroed: the two end zeros
    std::memcpy(text.bytes.get(), bytes.data(), bytes.size());
    text.length = static_cast<uint32_t>(bytes.size());
    return text;
}

std::span<const uint8_t> list_of(const LessonText& text) {
    return {text.bytes.get(), text ? text.length : 0u};
}

}  // namespace

std::vector<uint8_t> lesson_branch_title(uint16_t lesson_key) {
    if (!names_a_lesson(lesson_key)) return {};
    if (const LessonText text = fetch_lesson_text(lesson_key)) {
        const TitleInfo info = read_title(text.span());
        if (info.title && info.title_length > 0) {
            const auto n = std::min<size_t>(static_cast<size_t>(info.title_length), TITLE_MAX);
            return {info.title, info.title + n};
        }
    }
    // No title of its own: the day and month, as the date strip writes them.
    const int month = lesson_key >> 8 & 0x0F;
    // Slot 31 is read on the 29th.
    const int slot = lesson_key & 0xFF;
    const int day = slot == SHORT_MONTH_SLOT ? 29 : std::clamp(slot, 1, 30);
    const bool leap = month == 13 || (lesson_key & 0x1000) != 0;
    const DateRecord date{month, day, leap ? LEAP_YEAR : REGULAR_YEAR};
    uint8_t text[DATE_TEXT_MAX] = {};
    const int length = hebrew_date_text(&date, text);
    // Visual order: the year comes first and holds no space; the rest is month and day.
    const uint8_t* space = static_cast<const uint8_t*>(std::memchr(text, ' ', length));
    if (!space) return {};
    return std::vector<uint8_t>(space + 1, static_cast<const uint8_t*>(text) + length);
}

LessonText build_bookmark_branch(const LessonText& index) {
    const std::vector<uint16_t>& keys = g_settings.bookmarks;
    if (keys.empty()) return {};
    const std::span<const uint8_t> list = list_of(index);
    uint32_t index_end = 0;
    const bool index_valid = index && index_list_valid(list, &index_end);

    std::vector<uint8_t> out;
    put_record(out, BOOKMARK_GROUP_KEY, BOOKMARK_GROUP_ATTRIBUTE, 1, HEADER_TITLE,
               sizeof HEADER_TITLE);
    // Room is left for the index's records: positions in the whole list are 16-bit.
    const size_t room = INDEX_LIST_MAX - (index_valid ? index_end : 0) - INDEX_TERMINATOR_SIZE;
    for (uint16_t key : keys) {
        uint32_t length = 0;
        const uint8_t* title = section_title(list, index_valid, key, length);
        std::vector<uint8_t> own;
        if (!title) {
            // A bookmark on a lesson where no section begins is shown by its own title, so
            // that every bookmark can be reached again.
            own = lesson_branch_title(key);
            if (own.empty()) continue;
            title = own.data();
            length = static_cast<uint32_t>(own.size());
        }
        if (out.size() + INDEX_RECORD_HEADER + length + 1 > room) break;
        put_record(out, static_cast<uint16_t>(key | INDEX_SECTION_BIT), BOOKMARK_ENTRY_ATTRIBUTE, 2,
                   title, length);
    }
    out.insert(out.end(), INDEX_TERMINATOR_SIZE, 0);
    return text_of(out);
}

LessonText prepend_bookmark_branch(LessonText index, uint32_t* branch_size) {
    if (branch_size) *branch_size = 0;
    if (g_settings.bookmarks.empty()) return index;
    LessonText branch = build_bookmark_branch(index);
    if (!branch) return index;
    if (branch_size) *branch_size = branch.length - INDEX_TERMINATOR_SIZE;
    const std::span<const uint8_t> list = list_of(index);
    uint32_t index_end = 0;
    if (!index || !index_list_valid(list, &index_end)) return branch;

    std::vector<uint8_t> joined(branch.bytes.get(),
                                branch.bytes.get() + branch.length - INDEX_TERMINATOR_SIZE);
    joined.insert(joined.end(), list.begin(), list.begin() + index_end);
    joined.insert(joined.end(), INDEX_TERMINATOR_SIZE, 0);
    return text_of(joined);
}

}  // namespace lekta
