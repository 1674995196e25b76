// The RTF writer byte for byte: header, body rules, bounds, documents built onto earlier ones.
#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "export/rtf.h"

namespace lekta {
namespace {

TEST(RtfTest, FixedPiecesAreExact) {
    EXPECT_EQ(RTF_HEADER.size(), 180u);
    EXPECT_TRUE(
        RTF_HEADER.starts_with("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset177\\cpg1255 "
                               "David;}}"));
    EXPECT_TRUE(RTF_HEADER.ends_with("\\rtldoc\\pard\\rtlpar\\qr\\lang1033\\f0\\fs20\\uc0\r\n"));
    EXPECT_EQ(RTF_SEPARATOR, "\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n");
    // The fixed pieces around the bodies stay within the room the export sets aside for them.
    EXPECT_LE(RTF_SEPARATOR.size() + RTF_CLOSING.size() + 1, 58u);
    EXPECT_LE(RTF_HEADER.size() + RTF_CLOSING.size() + 1, 186u);
}

TEST(RtfTest, BodyRules) {
    // Letters as decimal escapes, space runs one longer, a CR/LF run as one paragraph end.
    EXPECT_EQ(rtf_body(u"\u05D0\u05D1  \u05D2\r\n\r\n"),
              "\\u1488\\u1489   \\u1490\\par\\par\r\n\\par\\par\r\n");
    // Printable ASCII as itself; other characters below 0x21 and above 0x7E escaped.
    EXPECT_EQ(rtf_body(u"(a):\"'*.\t\u007F\u00E0"), "(a):\"'*.\\u9\\u127\\u224\\par\\par\r\n");
    EXPECT_EQ(rtf_body(u""), "\\par\\par\r\n");
    EXPECT_EQ(rtf_body(u" "), "  \\par\\par\r\n");
    EXPECT_EQ(rtf_body(u"\n\r\r\n"), "\\par\\par\r\n\\par\\par\r\n");
}

TEST(RtfTest, BackslashAndBracesAreEscaped) {
    EXPECT_EQ(rtf_body(u"{\u05D0}\\"), "\\{\\u1488\\}\\\\\\par\\par\r\n");
}

TEST(RtfTest, DigitAfterEscapeIsKeptApart) {
    // "\u14881" would be one character U+3A41; the space ends the control word.
    EXPECT_EQ(rtf_body(u"\u05D01-2 3"), "\\u1488 1-2  3\\par\\par\r\n");
    EXPECT_EQ(rtf_body(u"a1\u05D0"), "a1\\u1488\\par\\par\r\n");
}

TEST(RtfTest, PresentationFormsDecompose) {
    EXPECT_EQ(rtf_body(u"\uFB2C\uFB4B\uFB1D"),
              "\\u1513\\u1468\\u1473\\u1493\\u1465\\u64285\\par\\par\r\n");
    // Every listed form against Unicode's canonical decomposition; nothing else decomposes.
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    ASSERT_TRUE(U_SUCCESS(status));
    int decomposed = 0;
    for (char32_t c = 0x0590; c <= 0xFB4F; ++c) {
        const std::u16string_view parts = hebrew_decomposition(static_cast<char16_t>(c));
        if (parts.empty()) continue;
        ++decomposed;
        const icu::UnicodeString expected =
            nfd->normalize(icu::UnicodeString(static_cast<UChar32>(c)), status);
        EXPECT_EQ(std::u16string(expected.getBuffer(), size_t(expected.length())),
                  std::u16string(parts))
            << std::hex << uint32_t(c);
    }
    EXPECT_EQ(decomposed, 27);
}

TEST(RtfTest, OpenDocumentTrimsTheEarlierOne) {
    EXPECT_EQ(open_document("{\\rtf1 x}\r\n"), "{\\rtf1 x");
    EXPECT_EQ(open_document("{\\rtf1 x} \t\n\r"), "{\\rtf1 x");
    // Bytes after a terminator are not the document's.
    EXPECT_EQ(open_document(std::string_view("{\\rtf1 x}\0garbage}", 18)), "{\\rtf1 x");
    // Only one closing brace is dropped, and only at the very end.
    EXPECT_EQ(open_document("{a{b}}"), "{a{b}");
    EXPECT_EQ(open_document("{a x"), "{a x");
    EXPECT_EQ(open_document(""), "");
    EXPECT_EQ(open_document(" \r\n"), "");
    EXPECT_EQ(open_document("}\r\n"), "");
    EXPECT_EQ(open_document(std::string_view("\0{\\rtf1}", 8)), "");
}

TEST(RtfTest, DocumentsNewAndAppended) {
    const std::string body = rtf_body(u"\u05D0");
    EXPECT_EQ(rtf_document("", body), std::string(RTF_HEADER) + "\\u1488\\par\\par\r\n}\r\n");

    const std::string first = rtf_document("", body);
    const std::string both = rtf_document(open_document(first), rtf_body(u"\u05D1"));
    EXPECT_EQ(both, std::string(RTF_HEADER) + "\\u1488\\par\\par\r\n" + std::string(RTF_SEPARATOR) +
                        "\\u1489\\par\\par\r\n}\r\n");
}

}  // namespace
}  // namespace lekta
