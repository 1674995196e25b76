// The font families the chooser offers, read from the system when the dialog opens and freed
// when it closes. Entries are carved from blocks of 25, so that many fonts need few allocations.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace lekta {

constexpr int32_t FAMILY_BLOCK_SIZE = 25;

struct FontFamilyEntry {
    char16_t face_name[32] = {};  // at most 31 units
    uint8_t charset = 0;          // HEBREW_CHARSET for a family that covers Hebrew
};

struct FontFamilyList {
    std::vector<std::unique_ptr<FontFamilyEntry[]>> blocks;
    int32_t count = 0;  // entries in use, in enumeration order
};

// Allocates one block of FAMILY_BLOCK_SIZE entries, or returns null; the default never throws.
// Tests replace it to run out of memory.
using FamilyBlockAllocator = FontFamilyEntry* (*)();
extern FamilyBlockAllocator g_allocate_family_block;

// Appends a family; false when its block could not be allocated.
bool add_family(FontFamilyList& list, const char16_t* face, uint8_t charset);
// Appends every family of the system, in its order; stops at the first failed block.
void enumerate_families(FontFamilyList& list);
const FontFamilyEntry& family_at(const FontFamilyList& list, int32_t index);
// The first entry whose face name equals face exactly, or null.
const FontFamilyEntry* find_family(const FontFamilyList& list, const char16_t* face);
void free_families(FontFamilyList& list);

}  // namespace lekta
