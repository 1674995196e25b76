// Bookmarked lessons: the list in the settings record, its stored value, the
// Bookmark command, and the branch the section index shows in front of its own records.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "store/lesson_store.h"

namespace lekta {

// Bit of Reader::bookmark_question_flags: remove without asking, for the rest of the run.
constexpr uint16_t BOOKMARK_NO_QUESTION = 0x0001;
// The branch's own group record.
constexpr uint16_t BOOKMARK_GROUP_KEY = 0x8877;
constexpr uint8_t BOOKMARK_GROUP_ATTRIBUTE = 0xC1;
constexpr uint8_t BOOKMARK_ENTRY_ATTRIBUTE = 0x81;

// ---- The list (g_settings.bookmarks) -----------------------------------------------------------

// Takes the stored value's keys (see keys_of_value in state/settings_table.h). No value: no list.
void set_bookmarks_from_value(std::optional<std::span<const uint8_t>> value);
// The value to store: the keys and a zero key, (count + 1) * 2 bytes.
std::vector<uint8_t> bookmarks_value();

bool is_bookmarked(uint16_t lesson_key);
// The end of a run: the list emptied, and no longer written (the stored one stays).
void free_bookmarks();

// Checks the menu's item when the current lesson is bookmarked, else unchecks it; no menu, no-op.
void show_bookmark_check(plat::Menu* menu, uint16_t item);

// Adds the key unless it is there already or is 0.
void bookmark_add(uint16_t lesson_key);
// Drops every copy of the key.
void bookmark_remove(uint16_t lesson_key);
// The Bookmark command on the current lesson: adds it, or removes it after the question
// "Remove Bookmark?" (Yes removes, No keeps, Cancel removes and stops asking for this run).
void bookmark_toggle(plat::Window* owner);

// ---- The branch in the index -----------------------------------------------------------------

// The branch's records (a group header, then one entry per bookmark) and five zero bytes.
// A bookmark whose lesson has a section record copies that record's title; any other is titled
// from its lesson. Null when there are no bookmarks.
LessonText build_bookmark_branch(const LessonText& index);
// The list the index dialog shows: the branch, then the index's records. The index alone when
// there are no bookmarks; the branch alone when the index is missing or does not read.
LessonText prepend_bookmark_branch(LessonText index);
// A lesson's own title as a branch title: the title paragraph of its text, else its Hebrew day
// and month. Letter code, visual order; empty for a key that names no lesson.
std::vector<uint8_t> lesson_branch_title(uint16_t lesson_key);

}  // namespace lekta
