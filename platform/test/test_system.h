// Inspection and control of the test backend's clock, message boxes and registry.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lekta::testplat {

struct RecordedMessageBox {
    plat::Window* owner = nullptr;
    std::u16string text;
    std::u16string caption;
    bool has_caption = false;
    uint32_t style = 0;
};

// Every message box shown since the last reset.
std::vector<RecordedMessageBox>& message_boxes();
// Answers for the next message boxes, first in first used; a box with none queued answers
// IDOK (IDCLOSE, as when closed, when it asks Yes / No / Cancel).
void push_message_box_answer(int answer);

void set_local_date(int year, int month, int day);

// The in-memory registry: key path -> value name -> value.
using RegistryMap = std::map<std::u16string, std::map<std::u16string, plat::RegValue>>;
RegistryMap& registry();
// When set, registry writes fail (and report it).
void set_registry_fails(bool fails);

// Clears the message boxes, the registry, the clipboard and the opened URLs, and sets the
// clock to 7 December 2026.
void reset_system();

// The desktop's colour scheme as the reader reads it, and whether it made its widgets dark.
bool& desktop_dark();
bool& widgets_dark();

}  // namespace lekta::testplat
