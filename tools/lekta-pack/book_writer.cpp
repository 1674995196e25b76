#include "tools/lekta-pack/book_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

#include "store/book_file.h"
#include "store/lesson_store.h"
#include "tools/lekta-pack/palmdoc.h"

namespace lekta::pack {
namespace {

using Bytes = std::vector<uint8_t>;

void put16be(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
void put16le(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32le(Bytes& out, uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

// Header (L, format 1, day count), the packed records, the zero terminator.
bool make_resource(const std::vector<const Bytes*>& texts, int day_count, Bytes* out,
                   std::string* error, const std::string& what) {
    Bytes area;
    for (const Bytes* text : texts) {
        const Bytes packed = palmdoc_pack(*text);
        if (packed.size() > 0xFFFF || text->size() > 0xFFFF) {
            *error = what + ": a record is too large";
            return false;
        }
        put16be(area, static_cast<uint32_t>(packed.size()));
        put16be(area, static_cast<uint32_t>(text->size()));
        area.insert(area.end(), packed.begin(), packed.end());
    }
    area.insert(area.end(), 4, 0);
    if (area.size() > 0xFFFF) {
        *error = what + ": more than 65535 bytes packed; shorten its lessons";
        return false;
    }
    out->clear();
    put16be(*out, static_cast<uint32_t>(area.size()));
    put16be(*out, 1);
    put16be(*out, static_cast<uint32_t>(day_count));
    out->insert(out->end(), area.begin(), area.end());
    return true;
}

void res_entry(Bytes& out, uint16_t type, uint16_t name, const Bytes& data, uint16_t flags) {
    put32le(out, static_cast<uint32_t>(data.size()));
    put32le(out, 32);
    put16le(out, 0xFFFF);
    put16le(out, type);
    put16le(out, 0xFFFF);
    put16le(out, name);
    put32le(out, 0);
    put16le(out, flags);
    put16le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4)
        out.push_back(0);
}

}  // namespace

bool build_book_file(const BookSource& book, std::vector<uint8_t>* out, std::string* error) {
    std::vector<std::pair<uint16_t, Bytes>> resources;
    for (int set = 0; set < (book.leap_cycle ? 2 : 1); ++set) {
        for (int month = 1; month <= (set ? 13 : 12); ++month) {
            const int count = month_record_count(month, set != 0);
            std::vector<const Bytes*> texts;
            for (int day = 1; day <= count; ++day) {
                const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                const auto it = book.lessons.find(key);
                if (it == book.lessons.end()) {
                    *error = "missing lesson " + std::to_string(month) + "/" + std::to_string(day);
                    return false;
                }
                texts.push_back(&it->second);
            }
            Bytes resource;
            const std::string what =
                std::string(set ? "leap month " : "month ") + std::to_string(month);
            // The day-count word: the month's days; months 8 and 9 say 30 beside their 31st.
            if (!make_resource(texts, count > 30 ? 30 : count, &resource, error, what)) {
                return false;
            }
            resources.emplace_back(static_cast<uint16_t>((set ? 1048 : 1000) + month),
                                   std::move(resource));
        }
    }
    Bytes index;
    if (!make_resource({&book.index}, 255, &index, error, "index")) return false;
    resources.emplace_back(INDEX_RESOURCE_ID, std::move(index));

    uint32_t crc = 0;
    for (const auto& r : resources)
        crc = book_crc32(crc, r.second);
    Bytes info = {'L', 'K', 'B', 'K', 0, 1, 0, static_cast<uint8_t>(book.leap_cycle ? 1 : 0)};
    put16be(info, crc >> 16);
    put16be(info, crc & 0xFFFF);
    put16be(info, 0);
    put16be(info, static_cast<uint32_t>(resources.size()));

    out->clear();
    res_entry(*out, 0, 0, {}, 0);  // the conventional empty first entry
    res_entry(*out, 10, BOOK_INFO_ID, info, 0x30);
    for (const auto& r : resources)
        res_entry(*out, 10, r.first, r.second, 0x30);
    return true;
}

bool write_file_atomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string* error) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            std::remove(temp.c_str());
            *error = path + ": cannot write";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        *error = path + ": cannot write (" + ec.message() + ")";
        return false;
    }
    return true;
}

}  // namespace lekta::pack
