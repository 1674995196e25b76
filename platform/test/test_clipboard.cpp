#include "platform/test/test_clipboard.h"

#include "platform/clipboard.h"

namespace lekta::testplat {
namespace {
std::map<std::string, std::string> g_clipboard;
int g_writes = 0;
bool g_available = true;
}  // namespace

std::map<std::string, std::string>& clipboard() {
    return g_clipboard;
}
int clipboard_writes() {
    return g_writes;
}
void set_clipboard_available(bool available) {
    g_available = available;
}
void reset_clipboard() {
    g_clipboard.clear();
    g_writes = 0;
    g_available = true;
}

}  // namespace lekta::testplat

namespace lekta::plat {

std::optional<std::string> clipboard_data(const char* mime_type) {
    if (!testplat::g_available) return std::nullopt;
    auto it = testplat::g_clipboard.find(mime_type);
    if (it == testplat::g_clipboard.end()) return std::nullopt;
    return it->second;
}

bool set_clipboard_data(std::span<const ClipboardEntry> entries) {
    if (!testplat::g_available) return false;
    testplat::g_clipboard.clear();
    for (const ClipboardEntry& entry : entries)
        testplat::g_clipboard[entry.mime_type] = std::string(entry.data);
    ++testplat::g_writes;
    return true;
}

}  // namespace lekta::plat
