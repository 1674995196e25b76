// The system's font families through Qt's font database (fontconfig on Linux).
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QStringList>

#include "platform/font_families.h"
#include "platform/platform.h"
#include "platform/qt/qt_internal.h"

namespace lekta::plat {
namespace {

// The family's own face at a size, or an invalid one for a symbol font or an alias. Kept for
// the run: a chooser asks about every family each time it opens.
const QRawFont& family_face(const QString& family) {
    // Never destroyed: fonts must not outlive the application at exit.
    static auto& faces = *new QHash<QString, QRawFont>;
    const auto known = faces.constFind(family);
    if (known != faces.constEnd()) return *known;
    QRawFont face;
    if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) {
        QFont font(family);
        font.setPixelSize(16);
        face = QRawFont::fromFont(font);
        if (face.familyName().compare(family, Qt::CaseInsensitive) != 0) face = QRawFont();
    }
    return *faces.insert(family, face);
}

}  // namespace

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

bool family_has_glyphs(const char16_t* face, const char32_t* code_points, int32_t count) {
    if (!face || !face[0] || !qtplat::gui_available()) return false;
    const QRawFont& raw = family_face(QString::fromUtf16(face));
    if (!raw.isValid()) return false;
    for (int32_t i = 0; i < count; ++i)
        if (!raw.supportsCharacter(code_points[i])) return false;
    return true;
}

DrawnFace drawn_face(const FontDesc& desc) {
    Font* font = create_font(desc);
    if (!font) return {};
    DrawnFace out{font->faces[0].familyName().toStdU16String(), font->qfont.pixelSize()};
    delete_font(font);
    return out;
}

}  // namespace lekta::plat
