#include "platform/test/test_open_url.h"

#include "platform/open_url.h"

namespace lekta::testplat {

std::vector<OpenedUrl>& opened_urls() {
    static std::vector<OpenedUrl> urls;
    return urls;
}

}  // namespace lekta::testplat

namespace lekta::plat {

void open_url(Window* owner, const char16_t* url) {
    testplat::opened_urls().push_back({owner, url ? url : u""});
}

}  // namespace lekta::plat
