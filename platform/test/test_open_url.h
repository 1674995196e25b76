// The test backend's desktop: every URL the program asked it to open, in order.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace lekta::testplat {

struct OpenedUrl {
    plat::Window* owner = nullptr;
    std::u16string url;
};
std::vector<OpenedUrl>& opened_urls();

}  // namespace lekta::testplat
