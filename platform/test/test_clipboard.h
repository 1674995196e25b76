// The test backend's clipboard: an in-memory map from MIME type to bytes.
#pragma once

#include <map>
#include <string>

namespace lekta::testplat {

// What the clipboard holds now.
std::map<std::string, std::string>& clipboard();
// How many times the program has replaced the clipboard's contents.
int clipboard_writes();
// When unavailable, nothing can be read from or written to the clipboard.
void set_clipboard_available(bool available);
// Empties the clipboard and makes it available.
void reset_clipboard();

}  // namespace lekta::testplat
