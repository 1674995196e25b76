// The settings as a hand-edited file may leave them: arbitrary values of arbitrary types under both
// keys, then the start-up options and the settings are read.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/test/test_system.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "state/settings_table.h"

using namespace lekta;

// Each value: a name byte (the declared value it picks; its low bit also stores it under the other
// key, where the reader must not look), a type byte, a length byte, the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    testplat::reset_system();
    g_settings = Settings{};
    g_reader = Reader{};
    g_shell_options = ShellOptions{};
    size_t at = 0;
    while (at + 3 <= size) {
        const uint8_t name = data[at], type = data[at + 1];
        const size_t length = std::min<size_t>(data[at + 2], size - at - 3);
        at += 3;
        plat::RegValue value;
        value.type = type % 8;
        value.bytes.assign(data + at, data + at + length);
        at += length;
        const std::span<const StoredValue> values = stored_values();
        const StoredValue& v = values[(name >> 1) % values.size()];
        const bool vendor = (v.key == ValueKey::OPTIONS) != ((name & 1) != 0);
        testplat::registry()[vendor ? VENDOR_KEY : SETTINGS_KEY][v.name] = std::move(value);
    }
    read_shell_options();
    load_settings("/usr/bin/lekta");
    // What was read goes back out as it would at the end of a run.
    write_settings();
    return 0;
}
