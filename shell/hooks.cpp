// Steps whose subsystems come later: each is a no-op until its work fills it in.
#include "shell/settings_store.h"
#include "shell/startup.h"

namespace lekta {

// The index tree's three images: loaded at start, released at the end.
void load_index_bitmaps() {}
void free_index_bitmaps() {}

// The bookmark list: read at start, written ("Bookmarks") and freed at the end.
void load_bookmarks() {}
void write_bookmarks() {}
void free_bookmarks() {}

}  // namespace lekta
