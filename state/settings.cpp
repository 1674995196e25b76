#include "state/settings.h"
#include "state/reader.h"

namespace lekta {

Settings g_settings;
Reader g_reader;
ShellOptions g_shell_options;

}  // namespace lekta
