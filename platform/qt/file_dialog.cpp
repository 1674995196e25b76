// The Save dialog, made only when asked for: its machinery costs nothing at start.
#include <QFileDialog>
#include <QStandardPaths>

#include "platform/file_dialog.h"
#include "platform/qt/qt_internal.h"

namespace lekta::plat {

std::optional<std::string> choose_save_path(Window* owner, const char16_t* caption,
                                            const char16_t* suggested_name,
                                            const char16_t* filter) {
    QWidget* parent = owner && owner->alive ? owner->top : nullptr;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        parent, qtplat::to_qstring(caption), folder + u'/' + qtplat::to_qstring(suggested_name),
        qtplat::to_qstring(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace lekta::plat
