// Dialog units, system metrics and colours, and one-bit pictures drawn through a dc.
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyle>

#include <cmath>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

BaseUnits dialog_base_units() {
    static BaseUnits units;
    if (units.x == 0) {
        if (!qtplat::gui_available()) return {8, 16};
        // Dialog units from the dialog font: the average width of the Latin letters, rounded,
        // and the font's height, so templates scale with the font.
        const QFontMetrics metrics(QApplication::font());
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        units.x = std::max(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
        units.y = std::max(1, metrics.height());
    }
    return units;
}

Rect dialog_units_to_pixels(const Rect& units) {
    const BaseUnits b = dialog_base_units();
    auto scale = [](int32_t v, int32_t unit, int32_t div) {
        return static_cast<int32_t>(std::lround(double(v) * unit / div));
    };
    return {scale(units.left, b.x, 4), scale(units.top, b.y, 8), scale(units.right, b.x, 4),
            scale(units.bottom, b.y, 8)};
}

int32_t system_metric(uint32_t index) {
    switch (index) {
        case SM_CXVSCROLL:
            return qtplat::gui_available()
                       ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                       : 13;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        default:
            return 0;
    }
}

int32_t logical_pixels_y() {
    QScreen* screen = qtplat::gui_available() ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? static_cast<int32_t>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

Colorref system_color(uint32_t index) {
    if (!qtplat::gui_available()) return index == COLOR_BTNFACE ? 0xC0C0C0 : 0xFFFFFF;
    const QColor c =
        QApplication::palette().color(index == COLOR_BTNFACE ? QPalette::Window : QPalette::Base);
    return Colorref(c.red()) | Colorref(c.green()) << 8 | Colorref(c.blue()) << 16;
}

void draw_mono_image(Dc* dc, const MonoImage& image, const Rect& dest, Colorref ink,
                     Colorref ground) {
    if (!dc || !dc->image || dc->image->isNull()) return;
    QImage picture = qtplat::mono_image(image);
    if (ink != 0x000000 || ground != 0xFFFFFF) {
        const QRgb ink_rgb = qtplat::to_qcolor(ink).rgb(),
                   ground_rgb = qtplat::to_qcolor(ground).rgb();
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? ink_rgb : ground_rgb;
        }
    }
    const QRect target(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
    if (picture.isNull() || target.isEmpty()) return;
    QPainter painter(dc->image);
    painter.drawImage(target, picture);
    painter.end();
    qtplat::drawn(dc);
}

}  // namespace lekta::plat
