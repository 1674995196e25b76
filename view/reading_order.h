// From stored visual order back to reading order. The packer stores a right-to-left paragraph
// as the Unicode bidirectional algorithm draws it on one line; here is the way back, on letter
// code, without a bidi library: Hebrew and the marks around it are turned round with their
// brackets mirrored, while left-to-right runs (Latin words, numbers) keep their own order.
// Text without Latin letters or digits comes out exactly as a plain reverse-and-mirror.
#pragma once

#include <cstdint>
#include <vector>

namespace lekta {

// The left-to-right runs of a stored run, in stored order: [first, end) byte ranges.
struct LtrRun {
    int32_t first = 0;
    int32_t end = 0;
};

// The left-to-right runs of count stored bytes, left to right; none (and no allocation) for
// text without Latin letters or digits. Where the stored order fits more than one reading (a
// number and a Latin word side by side), the whole left-to-right stretch is read as one run.
std::vector<LtrRun> ltr_runs(const uint8_t* bytes, int32_t count);

// Reads count stored bytes (visual order) into reading: reading order, brackets mirrored
// outside the left-to-right runs. reading must hold count bytes and may not overlap bytes.
void visual_to_reading(const uint8_t* bytes, int32_t count, uint8_t* reading);

// Where the stored byte at index stored of count bytes stands in their reading order, runs
// being the bytes' ltr_runs.
int32_t reading_index(const std::vector<LtrRun>& runs, int32_t count, int32_t stored);

// The same order applied to run, the display characters converted one to one from bytes.
void visual_to_reading_run(const uint8_t* bytes, int32_t count, char16_t* run);

// The partner of a bracket, ( ) [ ] { }, in the letter code (where 0x7E stands for '{') and in
// display characters; anything else is returned as it is. Only these are mirrored, < > are not.
uint8_t mirror_byte(uint8_t b);
char16_t mirror_char(char16_t c);

// Whether a byte of the letter code is a strong left-to-right character, or a digit.
bool is_latin_letter(uint8_t b);
bool is_digit_byte(uint8_t b);

}  // namespace lekta
