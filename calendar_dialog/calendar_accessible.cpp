#include "calendar_dialog/calendar_accessible.h"

#include <cstring>
#include <string>

#include "view/accessible_lesson.h"

namespace lekta {
namespace {

int32_t month_count(const CalendarState& s) {
    return s.leap ? 13 : 12;
}

}  // namespace

int32_t calendar_day_node(const CalendarState& s, int32_t day) {
    return 1 + month_count(s) + day - 1;
}

void calendar_accessible_nodes(plat::Window*, std::vector<plat::AccessibleNode>& nodes) {
    const CalendarState& s = g_calendar;
    plat::AccessibleNode year;
    year.role = plat::AccessibleRole::label;
    for (char c : std::to_string(s.displayed.year))
        year.name += char16_t(c);
    year.rect = {s.year_left, s.layout.year_top, s.year_left + s.year_width,
                 s.layout.year_top + s.layout.year_height};
    nodes.push_back(year);
    for (int32_t month = 1; month <= month_count(s); ++month) {
        const MonthButton& b = s.buttons[month];
        plat::AccessibleNode node;
        node.role = plat::AccessibleRole::button;
        if (b.label) {
            const auto* label = b.label;
            node.name = reading_text(
                label, int32_t(std::strlen(reinterpret_cast<const char*>(label))), true);
        }
        node.rect = {b.left, b.top, b.right, b.bottom};
        if (month == s.displayed.month) node.state |= plat::ACC_SELECTED;
        nodes.push_back(node);
    }
    const int32_t first = s.selected_day - s.displayed.day + 1;
    for (int32_t day = 1; day <= s.month_length; ++day) {
        plat::AccessibleNode node;
        node.role = plat::AccessibleRole::cell;
        node.name = spoken_date(first + day - 1, false);
        node.rect = day_cell_rect(s, day);
        node.state = plat::ACC_FOCUSABLE;
        if (s.key_marked && day == s.displayed.day)
            node.state |= plat::ACC_SELECTED | plat::ACC_FOCUSED;
        nodes.push_back(node);
    }
}

}  // namespace lekta
