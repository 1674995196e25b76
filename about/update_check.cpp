#include "about/update_check.h"

#include <cstdio>

#include "lekta_version.h"
#include "platform/open_url.h"

namespace lekta {
namespace {

constexpr const char16_t* UPDATE_SERVER = u"" LEKTA_UPDATE_SERVER;
constexpr const char16_t* VERSION_SUFFIX = u"&v=" LEKTA_VERSION_TEXT;

constexpr size_t length(const char16_t* text) {
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

// The identifier is fixed and has one character to escape ("-" as three); the server and the
// version are build settings, so the whole URL is checked against its room here.
static_assert(length(UPDATE_SERVER) + length(UPDATE_PATH) + length(PROGRAM_IDENTIFIER) + 2 +
                      length(VERSION_SUFFIX) + 1 <=
                  UPDATE_URL_CAPACITY,
              "the update URL would not fit its buffer: shorten LEKTA_UPDATE_SERVER");

bool kept_as_is(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'.' || c == u'/';
}

}  // namespace

std::u16string escape_query_value(std::u16string_view value) {
    std::u16string out;
    for (char16_t c : value) {
        if (c == u' ') {
            out += u'+';
        } else if (kept_as_is(c)) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%.2X", static_cast<unsigned>(c));
            for (const char* p = hex; *p; ++p)
                out += static_cast<char16_t>(*p);
        }
    }
    return out;
}

std::u16string update_url() {
    std::u16string url(UPDATE_SERVER);
    url += UPDATE_PATH;
    url += escape_query_value(PROGRAM_IDENTIFIER);
    url += VERSION_SUFFIX;
    return url;
}

void build_update_url(plat::Window* owner) {
    plat::open_url(owner, update_url().c_str());
}

}  // namespace lekta
