// What screen readers and other assistive programs are told about what we draw ourselves (the
// lesson, the date strip, the calendar's days, the index's entries, the keyboard's keys). A
// window names a source that describes its client area as a flat list of nodes; the backend
// asks it only while an assistive program is listening, and never before one asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lekta::plat {

enum class AccessibleRole : uint8_t {
    document,   // readable text with children (the lesson)
    heading,    // a title or subtitle, with level
    paragraph,  // readable text
    label,      // static text (the date strip)
    button,     // something a tap or Space presses (a month button, a key)
    cell,       // a day of the calendar
    tree_item,  // an index entry, with level
};

constexpr uint32_t ACC_FOCUSABLE = 0x01;
constexpr uint32_t ACC_FOCUSED = 0x02;
constexpr uint32_t ACC_SELECTED = 0x04;
constexpr uint32_t ACC_EXPANDABLE = 0x08;
constexpr uint32_t ACC_EXPANDED = 0x10;

struct AccessibleNode {
    AccessibleRole role = AccessibleRole::label;
    std::u16string name;  // what is said for it
    std::u16string text;  // readable text (document, heading, paragraph), reading order
    Rect rect;            // client pixels; empty when not on screen
    int32_t parent = -1;  // index of the node it belongs to; -1: the client area itself
    int32_t level = 0;    // heading level, or tree depth from 1
    uint32_t state = 0;   // ACC_ bits
    // Readable text only: where the reading stands and what is selected ([start, end)).
    int32_t caret = 0;
    int32_t selection_start = 0, selection_end = 0;
};

// Fills nodes (given empty) with what the window's client area shows now.
using AccessibleSource = void (*)(Window* window, std::vector<AccessibleNode>& nodes);
void set_accessible_source(Window* window, AccessibleSource source);

enum class AccessibleChange : uint8_t {
    content,  // the nodes changed: ask the source again
    focus,    // the node given has the keyboard focus now
};
// Tells listening assistive programs; does nothing (and asks nothing) while none listens.
// announcement: said at once when not empty (a new day, and its lesson).
void accessible_changed(Window* window, AccessibleChange change, int32_t node = -1,
                        const std::u16string& announcement = {});
// Whether an assistive program listens (then sources are worth keeping up to date).
bool accessibility_active();

}  // namespace lekta::plat
