// The system's font families through Qt's font database (fontconfig on Linux).
#include <QFontDatabase>
#include <QList>
#include <QStringList>

#include "platform/font_families.h"
#include "platform/platform.h"

namespace lekta::plat {

void enum_font_families(FontFamilyCallback callback, void* context) {
    for (const QString& family : QFontDatabase::families()) {
        // Private families are the system's own interface faces, not meant to be picked.
        if (QFontDatabase::isPrivateFamily(family)) continue;
        // A face name is kept in 31 units; a longer name, cut short, would name no family, and
        // the text would silently come out in another face.
        if (family.isEmpty() || family.size() > 31) continue;
        const bool hebrew = QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew);
        if (!callback(context, reinterpret_cast<const char16_t*>(family.utf16()),
                      hebrew ? HEBREW_CHARSET : uint8_t{0}))
            return;
    }
}

}  // namespace lekta::plat
