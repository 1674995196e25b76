// For tests only: small book files written in the .res layout, independent of the packer. Each
// lesson's text names its key, so a test can tell which record it got.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "store/book_file.h"

namespace lekta::testbook {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
inline void put16le(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32le(Bytes& out, uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

// A paragraph with the key in digits, then the lesson's closing zeros.
inline Bytes lesson_text(uint16_t key) {
    Bytes text = {0xB1, 0};
    for (char c : std::to_string(key))
        text.push_back(static_cast<uint8_t>(c));
    text.insert(text.end(), 5, 0);
    return text;
}

// Literal runs only: every byte that would read as a control byte goes in a run of one.
inline Bytes pack_literally(const Bytes& text) {
    Bytes out;
    for (uint8_t b : text) {
        if ((b >= 0x01 && b <= 0x08) || b >= 0x80) out.push_back(0x01);
        out.push_back(b);
    }
    return out;
}

struct Record {
    Bytes packed;
    uint16_t unpacked_length = 0;
};

// Header (L, format 1, day count), the records, the terminator.
inline Bytes resource(const std::vector<Record>& records, int day_count) {
    Bytes area;
    for (const Record& r : records) {
        put16(area, static_cast<uint32_t>(r.packed.size()));
        put16(area, r.unpacked_length);
        area.insert(area.end(), r.packed.begin(), r.packed.end());
    }
    area.insert(area.end(), 4, 0);
    Bytes out;
    put16(out, static_cast<uint32_t>(area.size()));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(day_count));
    out.insert(out.end(), area.begin(), area.end());
    return out;
}

inline Record packed_record(const Bytes& text) {
    return {pack_literally(text), static_cast<uint16_t>(text.size())};
}

inline uint32_t crc32(const std::vector<std::pair<uint16_t, Bytes>>& resources) {
    uint32_t crc = 0xFFFFFFFF;
    for (const auto& r : resources) {
        for (uint8_t b : r.second) {
            crc ^= b;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// One .res entry with a numeric type and name.
inline void entry(Bytes& out, uint16_t type, uint16_t name, const Bytes& data,
                  uint16_t memory_flags = 0x30) {
    put32le(out, static_cast<uint32_t>(data.size()));
    put32le(out, 32);
    put16le(out, 0xFFFF);
    put16le(out, type);
    put16le(out, 0xFFFF);
    put16le(out, name);
    put32le(out, 0);
    put16le(out, memory_flags);
    put16le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4)
        out.push_back(0);
}

// The month resources (and the index) of a complete book, in file order.
inline std::vector<std::pair<uint16_t, Bytes>> book_resources(bool leap) {
    std::vector<std::pair<uint16_t, Bytes>> resources;
    for (int set = 0; set < (leap ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            std::vector<Record> records;
            const int count = month_record_count(month, set != 0);
            for (int day = 1; day <= count; ++day) {
                const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                records.push_back(packed_record(lesson_text(key)));
            }
            resources.emplace_back(static_cast<uint16_t>((set ? 1048 : 1000) + month),
                                   resource(records, count > 30 ? 30 : count));
        }
    }
    const Bytes index = {0xFE, 0xBF, 0x8C, 1, 0x61, 0, 0, 0, 0, 0, 0};
    resources.emplace_back(32767, resource({packed_record(index)}, 255));
    return resources;
}

// The book info and the resources in a .res file.
inline Bytes book_file(const std::vector<std::pair<uint16_t, Bytes>>& resources, bool leap) {
    Bytes info = {'L', 'K', 'B', 'K', 0, 1, 0, static_cast<uint8_t>(leap ? 1 : 0)};
    const uint32_t crc = crc32(resources);
    put16(info, crc >> 16);
    put16(info, crc & 0xFFFF);
    put16(info, 0);
    put16(info, static_cast<uint32_t>(resources.size()));
    Bytes out;
    entry(out, 0, 0, {}, 0);
    entry(out, 10, BOOK_INFO_ID, info);
    for (const auto& r : resources)
        entry(out, 10, r.first, r.second);
    return out;
}

inline Bytes book_file(bool leap) {
    return book_file(book_resources(leap), leap);
}

}  // namespace lekta::testbook
