#include "platform/test/test_file_dialog.h"

#include "platform/file_dialog.h"

namespace lekta::testplat {

SaveDialog& save_dialog() {
    static SaveDialog dialog;
    return dialog;
}

}  // namespace lekta::testplat

namespace lekta::plat {

std::optional<std::string> choose_save_path(Window*, const char16_t*,
                                            const char16_t* suggested_name, const char16_t*) {
    testplat::SaveDialog& dialog = testplat::save_dialog();
    ++dialog.opened;
    dialog.suggested_name = suggested_name ? suggested_name : u"";
    return dialog.answer;
}

}  // namespace lekta::plat
