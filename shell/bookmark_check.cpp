#include "shell/main_window.h"

namespace lekta {

// The bookmark list is not part of this build yet: no lesson is bookmarked.
void update_bookmark_check() {}

}  // namespace lekta
