// The test backend's desktop colour scheme: what a test sets, and the widgets' state.
#include "platform/colour_scheme.h"
#include "platform/test/test_system.h"

namespace lekta::testplat {

bool& desktop_dark() {
    static bool dark = false;
    return dark;
}

bool& widgets_dark() {
    static bool dark = false;
    return dark;
}

}  // namespace lekta::testplat

namespace lekta::plat {

bool desktop_prefers_dark() {
    return testplat::desktop_dark();
}

void use_dark_widgets(bool dark) {
    testplat::widgets_dark() = dark;
}

}  // namespace lekta::plat
