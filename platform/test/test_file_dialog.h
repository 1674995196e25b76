// The test backend's Save dialog: answers with the path a test set (none: cancelled) and
// records what it was asked.
#pragma once

#include <optional>
#include <string>

namespace lekta::testplat {

struct SaveDialog {
    std::optional<std::string> answer;
    std::u16string suggested_name;
    int opened = 0;
};
SaveDialog& save_dialog();

}  // namespace lekta::testplat
