// Reading the .res container of a book file and checking that it is a complete book.
#include "store/book_file.h"

#include <algorithm>
#include <array>

namespace lekta {

namespace {

constexpr uint16_t RCDATA = 10;
constexpr uint16_t INDEX_ID = 32767;
constexpr size_t EMPTY_ENTRY_SIZE = 32;
constexpr size_t FIXED_HEADER_TAIL = 16;  // DataVersion .. Characteristics
constexpr size_t BOOK_INFO_SIZE = 16;
constexpr uint16_t BOOK_FORMAT_VERSION = 1;
constexpr uint16_t FLAG_LEAP_CYCLE = 1;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t le32(const uint8_t* p) {
    return uint32_t{le16(p)} | uint32_t{le16(p + 2)} << 16;
}
uint16_t be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
uint32_t be32(const uint8_t* p) {
    return uint32_t{be16(p)} << 16 | be16(p + 2);
}

struct Entry {
    bool numeric_type = false, numeric_name = false;
    uint16_t type = 0, name = 0;
    size_t data_offset = 0;
    size_t data_size = 0;
    size_t next = 0;  // where the following entry starts
};

enum class EntryStatus { ok, truncated, bad };

// A TYPE or NAME field: 0xFFFF and a number, or a zero-terminated UTF-16 string. Moves `at`
// past it; false when it does not end before `end`.
bool read_name_field(const uint8_t* bytes, size_t& at, size_t end, bool* numeric, uint16_t* id) {
    if (end - at < 2) return false;
    if (le16(bytes + at) == 0xFFFF) {
        if (end - at < 4) return false;
        *numeric = true;
        *id = le16(bytes + at + 2);
        at += 4;
        return true;
    }
    *numeric = false;
    for (; end - at >= 2; at += 2) {
        if (le16(bytes + at) == 0) {
            at += 2;
            return true;
        }
    }
    return false;
}

EntryStatus read_entry(std::span<const uint8_t> file, size_t at, Entry* entry) {
    const size_t size = file.size();
    const uint8_t* bytes = file.data();
    if (size - at < 8) return EntryStatus::truncated;
    const size_t data_size = le32(bytes + at);
    const size_t header_size = le32(bytes + at + 4);
    if (header_size < EMPTY_ENTRY_SIZE || header_size % 4 != 0) return EntryStatus::bad;
    if (header_size > size - at) return EntryStatus::truncated;
    const size_t header_end = at + header_size;
    size_t field = at + 8;
    if (!read_name_field(bytes, field, header_end, &entry->numeric_type, &entry->type) ||
        !read_name_field(bytes, field, header_end, &entry->numeric_name, &entry->name)) {
        return EntryStatus::bad;
    }
    field = at + (field - at + 3) / 4 * 4;
    if (field + FIXED_HEADER_TAIL != header_end) return EntryStatus::bad;
    if (data_size > size - header_end) return EntryStatus::truncated;
    entry->data_offset = header_end;
    entry->data_size = data_size;
    // The padding after the last resource may be left off.
    entry->next = std::min(size, header_end + (data_size + 3) / 4 * 4);
    return EntryStatus::ok;
}

// The conventional empty entry every .res file starts with.
constexpr std::array<uint8_t, EMPTY_ENTRY_SIZE> EMPTY_ENTRY = {
    0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
    0, 0, 0, 0, 0,  0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0};

// Walks a lesson or index resource: the header's length must match the resource and the
// records must end with the terminator as the last four bytes. The number of records, or -1.
int count_records(std::span<const uint8_t> data) {
    if (data.size() < 6 || be16(data.data()) != data.size() - 6) return -1;
    const uint8_t* cursor = data.data() + 6;
    size_t remaining = data.size() - 6;
    int records = 0;
    while (remaining >= 4) {
        const size_t packed = be16(cursor);
        if (packed == 0) return remaining == 4 && be16(cursor + 2) == 0 ? records : -1;
        if (packed > remaining - 4) return -1;
        cursor += packed + 4;
        remaining -= packed + 4;
        ++records;
    }
    return -1;
}

}  // namespace

namespace {
const std::array<uint32_t, 256>& crc_table() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}
}  // namespace

uint32_t book_crc32(uint32_t crc, std::span<const uint8_t> bytes) {
    const auto& table = crc_table();
    crc = ~crc;
    for (uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

int month_record_count(int month, bool leap_cycle) {
    if (month == 8 || month == 9) return 31;
    if (month == 12) return leap_cycle ? 30 : 29;
    if (month == 13) return 29;
    return month % 2 == 1 ? 30 : 29;
}

std::optional<BookFile> read_book_file(std::span<const uint8_t> bytes, const std::string& name,
                                       std::string* error, BookCheck check) {
    auto failed = [&](const std::string& reason) {
        if (error) *error = name + ": " + reason;
        return std::nullopt;
    };
    if (bytes.empty()) return failed("not a book file (empty)");
    const size_t head = std::min(bytes.size(), EMPTY_ENTRY_SIZE);
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head),
                    EMPTY_ENTRY.begin())) {
        return failed("not a book file (bad resource header at offset 0)");
    }

    // The entries, the conventional empty one first.
    BookFile book;
    std::vector<std::span<const uint8_t>> checked;  // every resource but the book info
    std::optional<std::span<const uint8_t>> info;
    for (size_t at = 0; at < bytes.size();) {
        Entry entry;
        switch (read_entry(bytes, at, &entry)) {
            case EntryStatus::truncated:
                return failed("truncated");
            case EntryStatus::bad:
                return failed("not a book file (bad resource header at offset " +
                              std::to_string(at) + ")");
            case EntryStatus::ok:
                break;
        }
        const auto data = bytes.subspan(entry.data_offset, entry.data_size);
        if (at == 0) {
            // The empty entry, checked above.
        } else if (entry.numeric_type && entry.type == RCDATA && entry.numeric_name &&
                   entry.name == BOOK_INFO_ID) {
            if (info) return failed("corrupt (two book info resources)");
            info = data;
            book.resources.push_back({entry.name, data});
        } else {
            checked.push_back(data);
            if (entry.numeric_type && entry.type == RCDATA && entry.numeric_name)
                book.resources.push_back({entry.name, data});
        }
        at = entry.next;
    }

    if (!info) return failed("not a book file (no book info)");
    if (info->size() < 4 || !std::equal(info->begin(), info->begin() + 4, "LKBK"))
        return failed("not a book file (bad magic)");
    if (info->size() != BOOK_INFO_SIZE)
        return failed("corrupt (book info of " + std::to_string(info->size()) + " bytes)");
    const uint16_t version = be16(info->data() + 4);
    if (version != BOOK_FORMAT_VERSION)
        return failed("not a book file (unsupported format version " + std::to_string(version) +
                      ")");
    book.leap_cycle = (be16(info->data() + 6) & FLAG_LEAP_CYCLE) != 0;
    const uint32_t count = be32(info->data() + 12);
    // A file cut at a resource boundary reads well up to there.
    if (checked.size() < count) return failed("truncated");
    if (checked.size() != count) return failed("corrupt (resource count mismatch)");
    if (check.checksum) {
        uint32_t crc = 0;
        for (const auto& data : checked)
            crc = book_crc32(crc, data);
        if (crc != be32(info->data() + 8)) return failed("corrupt (checksum mismatch)");
    }

    std::sort(book.resources.begin(), book.resources.end(),
              [](const BookResource& a, const BookResource& b) { return a.id < b.id; });
    for (size_t i = 1; i < book.resources.size(); ++i) {
        if (book.resources[i].id == book.resources[i - 1].id)
            return failed("corrupt (resource " + std::to_string(book.resources[i].id) + " twice)");
    }

    // Every month of the arrangements the book carries, and the index.
    auto check_resource = [&](uint16_t id, int records) -> std::optional<std::string> {
        const auto data = book_resource(book, id);
        if (!data) return "corrupt (resource " + std::to_string(id) + " missing)";
        const int found = count_records(*data);
        if (found < 0) return "corrupt (resource " + std::to_string(id) + " malformed)";
        if (found != records) {
            return "corrupt (resource " + std::to_string(id) + " has " + std::to_string(found) +
                   " records, not " + std::to_string(records) + ")";
        }
        return std::nullopt;
    };
    for (int set = 0; set < (book.leap_cycle ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            const auto id = static_cast<uint16_t>((set ? 1048 : 1000) + month);
            if (auto problem = check_resource(id, month_record_count(month, set != 0)))
                return failed(*problem);
        }
    }
    if (auto problem = check_resource(INDEX_ID, 1)) return failed(*problem);
    return book;
}

std::optional<std::span<const uint8_t>> book_resource(const BookFile& book, uint16_t id) {
    const auto it =
        std::lower_bound(book.resources.begin(), book.resources.end(), id,
                         [](const BookResource& r, uint16_t wanted) { return r.id < wanted; });
    if (it == book.resources.end() || it->id != id) return std::nullopt;
    return it->data;
}

}  // namespace lekta
