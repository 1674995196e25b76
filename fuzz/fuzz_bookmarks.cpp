// The stored "Bookmarks" value as a hand edit may leave it: read, written back, and shown as
// the index's branch in front of a small index.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bookmarks/bookmarks.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/index_records.h"

using namespace lekta;

namespace {

// A group and two sections, as a book's index holds them.
constexpr uint8_t INDEX[] = {0xFE, 0xBF, 0x8C, 1,    0x61, 0,    0x01, 0x41, 0x01, 2, 0x62, 0x63,
                             0,    0x03, 0x41, 0x01, 2,    0x64, 0,    0,    0,    0, 0,    0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_settings = Settings{};
    g_reader = Reader{};
    // Exactly the value's bytes, as the registry hands them over.
    auto value = std::make_unique<uint8_t[]>(size ? size : 1);
    if (size) std::memcpy(value.get(), data, size);
    set_bookmarks_from_value(std::span<const uint8_t>(value.get(), size));

    // What is written back is whole: the value's leading keys as they were stored, then one
    // zero key, so a value that was whole comes back byte for byte.
    const std::vector<uint8_t> written = bookmarks_value();
    const size_t keys = written.size() - 2;
    if (written.size() % 2 != 0 || keys > size) std::abort();
    if (written[keys] != 0 || written[keys + 1] != 0) std::abort();
    if (keys > 0 && std::memcmp(written.data(), data, keys) != 0) std::abort();

    LessonText index;
    index.bytes = std::make_unique<uint8_t[]>(sizeof INDEX + 2);
    std::memcpy(index.bytes.get(), INDEX, sizeof INDEX);
    index.length = sizeof INDEX;
    const LessonText joined = prepend_bookmark_branch(std::move(index));
    if (joined && !index_list_valid({joined.bytes.get(), joined.length})) std::abort();

    if (!g_settings.bookmarks.empty()) {
        g_settings.current_lesson = g_settings.bookmarks.front();
        bookmark_add(static_cast<uint16_t>(size));
        bookmark_remove(g_settings.current_lesson);
    }
    g_settings = Settings{};
    g_reader = Reader{};
    return 0;
}
