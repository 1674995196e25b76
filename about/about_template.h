// The About box's template: the program's name and edition, its picture, the
// version, the maker's notice and a link to the maker's home page.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "about/about_image.h"
#include "lekta_version.h"
#include "platform/dialog.h"

namespace lekta {

constexpr uint16_t ID_ABOUT_LINK = 1025;
// The texts beside the picture; the box widens them when the desktop's font needs more room.
constexpr uint16_t ID_ABOUT_NAME = 1001;
constexpr uint16_t ID_ABOUT_VERSION = 1002;
constexpr uint16_t ID_ABOUT_NOTICE = 1003;

constexpr const char16_t* ABOUT_VERSION_TEXT = u"Version " LEKTA_VERSION_TEXT;
constexpr const char16_t* ABOUT_NOTICE = u"\u00A9 2026 Halvern";
constexpr const char16_t* HOME_PAGE_URL = u"" LEKTA_HOMEPAGE_URL;

namespace about_detail {

template <size_t N>
struct WebAddress {
    char16_t text[N] = {};
};

// The home page as people write it: no scheme, no closing slash.
template <size_t N>
constexpr WebAddress<N> web_address(const char (&url)[N]) {
    std::string_view rest(url, N - 1);
    if (const size_t scheme = rest.find("://"); scheme != std::string_view::npos)
        rest.remove_prefix(scheme + 3);
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    WebAddress<N> address;
    for (size_t i = 0; i < rest.size(); ++i)
        address.text[i] = static_cast<char16_t>(static_cast<unsigned char>(rest[i]));
    return address;
}

inline constexpr auto LINK_CAPTION = web_address(LEKTA_HOMEPAGE_URL);

}  // namespace about_detail

inline constexpr plat::MonoImage ABOUT_IMAGE{ABOUT_IMAGE_WIDTH, ABOUT_IMAGE_HEIGHT,
                                             ABOUT_IMAGE_BITS};

inline constexpr std::array<plat::ControlTemplate, 5> ABOUT_CONTROLS = {{
    {ID_ABOUT_NAME, plat::ControlKind::static_text, u"Lekta (Hebrew): Regular Year", 7, 7, 81, 8},
    {ID_ABOUT_PICTURE, plat::ControlKind::picture, nullptr, 88, 7, 0, 0, 0, &ABOUT_IMAGE},
    {ID_ABOUT_VERSION, plat::ControlKind::static_text, ABOUT_VERSION_TEXT, 7, 24, 45, 8},
    {ID_ABOUT_NOTICE, plat::ControlKind::static_text, ABOUT_NOTICE, 7, 41, 80, 8},
    {ID_ABOUT_LINK, plat::ControlKind::owner_drawn_button, about_detail::LINK_CAPTION.text, 7, 58,
     100, 8},
}};

inline constexpr plat::DialogTemplate ABOUT_TEMPLATE{u"Lekta", 130, 85, ABOUT_CONTROLS};

}  // namespace lekta
