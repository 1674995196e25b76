#include "font_chooser/font_families.h"

#include <new>

#include "platform/font_families.h"

namespace lekta {
namespace {

FontFamilyEntry* allocate_block() {
    return new (std::nothrow) FontFamilyEntry[FAMILY_BLOCK_SIZE];
}

bool same_face(const char16_t* a, const char16_t* b) {
    int i = 0;
    for (; i < 31 && a[i] && a[i] == b[i]; ++i) {
    }
    return i == 31 || a[i] == b[i];
}

bool add_enumerated(void* context, const char16_t* face, uint8_t charset) {
    return add_family(*static_cast<FontFamilyList*>(context), face, charset);
}

}  // namespace

FamilyBlockAllocator g_allocate_family_block = allocate_block;

bool add_family(FontFamilyList& list, const char16_t* face, uint8_t charset) {
    if (list.count == static_cast<int32_t>(list.blocks.size()) * FAMILY_BLOCK_SIZE) {
        FontFamilyEntry* block = g_allocate_family_block();
        if (!block) return false;
        list.blocks.emplace_back(block);
    }
    FontFamilyEntry& entry = list.blocks.back()[list.count % FAMILY_BLOCK_SIZE];
    entry = FontFamilyEntry{};
    for (int i = 0; face && i < 31 && face[i]; ++i)
        entry.face_name[i] = face[i];
    entry.charset = charset;
    ++list.count;
    return true;
}

void enumerate_families(FontFamilyList& list) {
    plat::enum_font_families(add_enumerated, &list);
}

const FontFamilyEntry& family_at(const FontFamilyList& list, int32_t index) {
    return list.blocks[static_cast<size_t>(index / FAMILY_BLOCK_SIZE)]
                      [static_cast<size_t>(index % FAMILY_BLOCK_SIZE)];
}

const FontFamilyEntry* find_family(const FontFamilyList& list, const char16_t* face) {
    for (int32_t i = 0; i < list.count; ++i) {
        const FontFamilyEntry& entry = family_at(list, i);
        if (same_face(entry.face_name, face)) return &entry;
    }
    return nullptr;
}

void free_families(FontFamilyList& list) {
    list.blocks.clear();
    list.count = 0;
}

}  // namespace lekta
