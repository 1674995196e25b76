// The Rich Text Format document the clipboard receives: a fixed header, the body of one or
// more lessons with a separator between them, and a closing brace. Written by hand; the
// document reads as right-to-left Hebrew in word processors.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lekta {

// A right-to-left document in Hebrew code page 1255, 10-point text, black, white and red in
// its colour table, Unicode characters without ANSI fallbacks.
constexpr std::string_view RTF_HEADER =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset177\\cpg1255 David;}}{\\colortbl\\red0\\green0"
    "\\blue0;\\red255\\green255\\blue255;\\red255\\green0\\blue0;}\\rtldoc\\pard\\rtlpar\\qr"
    "\\lang1033\\f0\\fs20\\uc0\r\n";
// Between appended lessons: a centred, red, bold 36-point row of five asterisks, then back to
// right-aligned 10-point black text.
constexpr std::string_view RTF_SEPARATOR =
    "\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n";
constexpr std::string_view RTF_CLOSING = "}\r\n";

// The canonical decomposition of a Hebrew presentation form that the body spells out (a
// letter with dagesh, shin dot, holam...); empty for every other character.
std::u16string_view hebrew_decomposition(char16_t c);

// The body of one lesson from its flat text: a run of k spaces as k + 1 spaces, printable
// ASCII as itself (backslash and braces escaped, a digit kept apart from a \uN before it),
// each run of CR and LF as one paragraph end with a blank paragraph, everything else as \uN;
// a final paragraph end.
std::string rtf_body(std::u16string_view flat);

// What of the clipboard's earlier document the next lesson is appended to: its bytes up to the
// first zero byte, trailing line ends, spaces and tabs cut, and its closing brace dropped.
// Empty when nothing of it is left.
std::string_view open_document(std::string_view previous);

// The whole document: when earlier is empty, the header and the body; otherwise earlier (as
// open_document leaves it), the separator and the body. Then the closing brace.
std::string rtf_document(std::string_view earlier, std::string_view body);

}  // namespace lekta
