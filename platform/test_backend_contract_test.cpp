// The dialog contract on the test backend: the user is a script played once the dialog shows.
#include "platform/dialog_contract_test.h"
#include "platform/test/test_dialog.h"

namespace lekta::contract {

intptr_t run(const plat::DialogTemplate& tmpl, plat::WindowProc proc, intptr_t param, void* data,
             std::function<void(plat::Window* dialog)> user) {
    testplat::reset_windows();
    testplat::push_dialog_script(std::move(user));
    const intptr_t result = plat::run_dialog(nullptr, tmpl, proc, param, data);
    testplat::reset_windows();
    return result;
}

void tap(plat::Window* dialog, int32_t x, int32_t y) {
    testplat::tap(dialog, x, y);
}

void close_box(plat::Window* dialog) {
    testplat::send_command(dialog, static_cast<uint16_t>(plat::IDCANCEL));
}

}  // namespace lekta::contract
