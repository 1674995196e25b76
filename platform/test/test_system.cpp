#include "platform/test/test_system.h"

#include "platform/test/test_file_dialog.h"

#include <deque>
#include "platform/test/test_clipboard.h"
#include "platform/test/test_open_url.h"

namespace lekta::testplat {
namespace {
std::vector<RecordedMessageBox> g_boxes;
plat::LocalDate g_today{2026, 12, 7};
RegistryMap g_registry;
bool g_registry_fails = false;
std::deque<int> g_answers;
}  // namespace

std::vector<RecordedMessageBox>& message_boxes() {
    return g_boxes;
}
void push_message_box_answer(int answer) {
    g_answers.push_back(answer);
}
void set_local_date(int year, int month, int day) {
    g_today = {year, month, day};
}
RegistryMap& registry() {
    return g_registry;
}
void set_registry_fails(bool fails) {
    g_registry_fails = fails;
}

void reset_system() {
    g_boxes.clear();
    g_answers.clear();
    g_registry.clear();
    g_registry_fails = false;
    g_today = {2026, 12, 7};
    reset_clipboard();
    opened_urls().clear();
    desktop_dark() = false;
    widgets_dark() = false;
    save_dialog() = SaveDialog{};
}

}  // namespace lekta::testplat

namespace lekta::plat {

int message_box(Window* owner, const char16_t* text, const char16_t* caption, uint32_t style) {
    testplat::RecordedMessageBox box;
    box.owner = owner;
    box.text = text ? text : u"";
    box.has_caption = caption != nullptr;
    box.caption = caption ? caption : u"";
    box.style = style;
    testplat::g_boxes.push_back(box);
    if (!testplat::g_answers.empty()) {
        const int answer = testplat::g_answers.front();
        testplat::g_answers.pop_front();
        return answer;
    }
    return (style & 0xF) == MB_YESNOCANCEL ? IDCLOSE : IDOK;
}

LocalDate local_date() {
    return testplat::g_today;
}

std::optional<RegValue> registry_read(const char16_t* key_path, const char16_t* value_name) {
    auto key = testplat::g_registry.find(key_path);
    if (key == testplat::g_registry.end()) return std::nullopt;
    auto value = key->second.find(value_name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

bool registry_write(const char16_t* key_path, const char16_t* value_name, const RegValue& value) {
    if (testplat::g_registry_fails) return false;
    testplat::g_registry[key_path][value_name] = value;
    return true;
}

std::string registry_location() {
    return "the test registry";
}

bool registry_flush() {
    return !testplat::g_registry_fails;
}

}  // namespace lekta::plat
