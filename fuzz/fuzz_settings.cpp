// The settings as a hand-edited file may leave them: arbitrary values of arbitrary types under both
// keys, then the start-up options and the settings are read.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/test/test_system.h"
#include "shell/settings_store.h"
#include "shell/startup.h"
#include "state/registry.h"
#include "state/settings.h"

using namespace lekta;

namespace {

constexpr const char16_t* NAMES[] = {
    u"FontName",
    u"SearchString",
    u"FontSize",
    u"FontAsciiBase",
    u"LastPosition",
    u"Flags",
    u"Day",
    u"Lesson",
    u"Bookmarks",
    u"Program Path",
    u"IgnoreActivate",
    u"FullScreen",
    u"AllowSipInHebrewSearch",
    u"MenuBarOnBottom",
    u"SurroundingGutter",
};
constexpr size_t NAME_COUNT = sizeof NAMES / sizeof NAMES[0];

}  // namespace

// Each value: a name byte (its low bit picks the key), a type byte, a length byte, the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    testplat::reset_system();
    g_settings = Settings{};
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
        const char16_t* key = (name & 1) ? VENDOR_KEY : SETTINGS_KEY;
        testplat::registry()[key][NAMES[(name >> 1) % NAME_COUNT]] = std::move(value);
    }
    read_shell_options();
    load_settings("/usr/bin/lekta");
    // What was read goes back out as it would at the end of a run.
    write_settings();
    return 0;
}
