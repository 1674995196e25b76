#include "export/rtf.h"

#include <array>

namespace lekta {
namespace {

struct Decomposition {
    char16_t form;
    char16_t parts[4];  // zero-terminated
};

// The presentation forms of the Alphabetic Presentation Forms block that a Hebrew font may
// draw, each with its canonical decomposition.
constexpr std::array<Decomposition, 27> DECOMPOSITIONS = {{
    {0xFB2A, {0x05E9, 0x05C1}},         {0xFB2B, {0x05E9, 0x05C2}},
    {0xFB2C, {0x05E9, 0x05BC, 0x05C1}}, {0xFB2D, {0x05E9, 0x05BC, 0x05C2}},
    {0xFB30, {0x05D0, 0x05BC}},         {0xFB31, {0x05D1, 0x05BC}},
    {0xFB32, {0x05D2, 0x05BC}},         {0xFB33, {0x05D3, 0x05BC}},
    {0xFB34, {0x05D4, 0x05BC}},         {0xFB35, {0x05D5, 0x05BC}},
    {0xFB36, {0x05D6, 0x05BC}},         {0xFB38, {0x05D8, 0x05BC}},
    {0xFB39, {0x05D9, 0x05BC}},         {0xFB3A, {0x05DA, 0x05BC}},
    {0xFB3B, {0x05DB, 0x05BC}},         {0xFB3C, {0x05DC, 0x05BC}},
    {0xFB3E, {0x05DE, 0x05BC}},         {0xFB40, {0x05E0, 0x05BC}},
    {0xFB41, {0x05E1, 0x05BC}},         {0xFB43, {0x05E3, 0x05BC}},
    {0xFB44, {0x05E4, 0x05BC}},         {0xFB46, {0x05E6, 0x05BC}},
    {0xFB47, {0x05E7, 0x05BC}},         {0xFB48, {0x05E8, 0x05BC}},
    {0xFB49, {0x05E9, 0x05BC}},         {0xFB4A, {0x05EA, 0x05BC}},
    {0xFB4B, {0x05D5, 0x05B9}},
}};

bool is_line_end(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool needs_backslash(char16_t c) {
    return c == u'\\' || c == u'{' || c == u'}';
}

bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void append_unicode(std::string& out, uint32_t c) {
    out += "\\u";
    out += std::to_string(c);
}

constexpr std::string_view PARAGRAPH_END = "\\par\\par\r\n";

}  // namespace

std::u16string_view hebrew_decomposition(char16_t c) {
    if (c < 0x05EB) return {};  // nothing below the Hebrew letters' end is ever decomposed
    for (const Decomposition& d : DECOMPOSITIONS) {
        if (d.form == c) return std::u16string_view(d.parts);
    }
    return {};
}

std::string rtf_body(std::u16string_view flat) {
    std::string out;
    bool after_escape = false;  // the last thing written was \uN
    for (size_t i = 0; i < flat.size();) {
        const char16_t c = flat[i];
        if (c == u' ') {
            // A word processor would fold a run of spaces: one more keeps the run's width.
            size_t run = 0;
            while (i < flat.size() && flat[i] == u' ')
                ++run, ++i;
            out.append(run + 1, ' ');
            after_escape = false;
            continue;
        }
        if (is_line_end(c)) {
            while (i < flat.size() && is_line_end(flat[i]))
                ++i;
            out += PARAGRAPH_END;
            after_escape = false;
            continue;
        }
        ++i;
        if (c >= 0x21 && c <= 0x7E) {
            // A book made by the packer may hold these; unescaped they would break the document.
            if (needs_backslash(c)) out += '\\';
            // A digit straight after \uN would be read as part of its number: a space ends
            // the control word first and is itself dropped by the reader.
            if (after_escape && is_digit(c)) out += ' ';
            out += static_cast<char>(c);
            after_escape = false;
        } else if (std::u16string_view parts = hebrew_decomposition(c); !parts.empty()) {
            for (char16_t part : parts)
                append_unicode(out, part);
            after_escape = true;
        } else {
            append_unicode(out, c);
            after_escape = true;
        }
    }
    out += PARAGRAPH_END;
    return out;
}

std::string_view open_document(std::string_view previous) {
    const size_t zero = previous.find('\0');
    if (zero != std::string_view::npos) previous = previous.substr(0, zero);
    const size_t last = previous.find_last_not_of("\r\n \t");
    if (last == std::string_view::npos) return {};
    previous = previous.substr(0, last + 1);
    if (previous.back() == '}') previous.remove_suffix(1);
    return previous;
}

std::string rtf_document(std::string_view earlier, std::string_view body) {
    std::string out;
    out.reserve(earlier.size() + body.size() + RTF_HEADER.size() + RTF_SEPARATOR.size() +
                RTF_CLOSING.size());
    if (earlier.empty()) {
        out += RTF_HEADER;
    } else {
        out += earlier;
        out += RTF_SEPARATOR;
    }
    out += body;
    out += RTF_CLOSING;
    return out;
}

}  // namespace lekta
