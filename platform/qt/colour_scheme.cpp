// The desktop's colour scheme, read from the style hints where Qt has them (6.5) and from the
// window palette's lightness otherwise; and a dark widget palette for Night on a light desktop.
#include <QApplication>
#include <QPalette>
#include <QStyleHints>

#include "platform/colour_scheme.h"
#include "platform/qt/qt_internal.h"

namespace lekta::plat {
namespace {

// The palette the desktop gave, kept before the reader changes anything.
const QPalette& desktop_palette() {
    static const QPalette palette = QApplication::palette();
    return palette;
}

QPalette dark_widget_palette() {
    QPalette p;
    const QColor window(0x2B, 0x2B, 0x2B), base(0x1E, 0x1E, 0x1E), text(0xE6, 0xE6, 0xE6);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(0x3D, 0x6F, 0xB5));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Midlight, QColor(0x3A, 0x3A, 0x3A));
    p.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x25));
    p.setColor(QPalette::Dark, QColor(0x15, 0x15, 0x15));
    p.setColor(QPalette::Shadow, Qt::black);
    const QColor muted(0x80, 0x80, 0x80);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, muted);
    return p;
}

}  // namespace

bool desktop_prefers_dark() {
    if (!qtplat::gui_available()) return false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const Qt::ColorScheme scheme = QGuiApplication::styleHints()->colorScheme();
    if (scheme != Qt::ColorScheme::Unknown) return scheme == Qt::ColorScheme::Dark;
#endif
    const QPalette& p = desktop_palette();
    return p.color(QPalette::Window).lightness() < p.color(QPalette::WindowText).lightness();
}

void use_dark_widgets(bool dark) {
    if (!qtplat::gui_available()) return;
    const QPalette& desktop = desktop_palette();
    const bool desktop_dark = desktop_prefers_dark();
    QApplication::setPalette(dark && !desktop_dark ? dark_widget_palette() : desktop);
}

}  // namespace lekta::plat
