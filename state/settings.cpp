#include "state/settings.h"

namespace lekta {

Settings g_settings;

}  // namespace lekta
