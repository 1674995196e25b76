// Drawing through a dc into its image: text runs, rectangles and the dc's colour state.
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <cmath>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {
namespace {

bool can_draw(const Dc* dc) {
    return dc && dc->image && !dc->image->isNull();
}

QRect to_qrect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A rectangle in device pixels: its place rounded, its size rounded on its own (at least a
// pixel), so that lines of the same width come out equally thick at any scale.
QRect device_rect(const QRect& r, qreal dpr) {
    auto scaled = [dpr](int v) { return int(std::lround(v * dpr)); };
    const int width = r.width() > 0 ? std::max(1, scaled(r.width())) : 0;
    const int height = r.height() > 0 ? std::max(1, scaled(r.height())) : 0;
    return QRect(scaled(r.x()), scaled(r.y()), width, height);
}

// Fills rectangles given in window units on the dc's image, in whole device pixels.
class DeviceFill {
  public:
    explicit DeviceFill(QImage* image) : image_(image), dpr_(image->devicePixelRatio()) {
        // Painting in device pixels: the image's own scale is set aside meanwhile.
        image_->setDevicePixelRatio(1.0);
        painter_.begin(image_);
    }
    ~DeviceFill() {
        painter_.end();
        image_->setDevicePixelRatio(dpr_);
    }
    DeviceFill(const DeviceFill&) = delete;
    DeviceFill& operator=(const DeviceFill&) = delete;
    void fill(const QRect& r, const QColor& color) {
        painter_.fillRect(device_rect(r, dpr_), color);
    }

  private:
    QImage* image_;
    qreal dpr_;
    QPainter painter_;
};

}  // namespace

void draw_text(Dc* dc, const char16_t* text, int32_t count, const Rect& rect, uint32_t format) {
    Font* font = qtplat::dc_font(dc);
    if (!can_draw(dc) || !font || !text || count <= 0) return;
    QRect clip = to_qrect(rect);
    if (clip.isEmpty()) return;

    int32_t width = text_extent(dc, text, count, 0).width;
    int32_t x = rect.left;
    if (format & DT_CENTER)
        x = rect.left + (rect.right - rect.left - width) / 2;
    else if (format & DT_RIGHT)
        x = rect.right - width;
    int32_t y = rect.top;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE))
        y = rect.top + (rect.bottom - rect.top - font->height) / 2;

    // Glyphs go where the measured advances put them, in the order given: no shaping and no
    // bidi reordering, so a stored visual-order run appears exactly as stored.
    QList<quint32> glyphs[2];
    QList<QPointF> positions[2];
    int32_t pen = x;
    const qreal baseline = y + font->ascent;
    for (int32_t i = 0; i < count; ++i) {
        char16_t c = text[i];
        const auto& page = qtplat::glyph_page(font, c);
        int f = page.face[c & 0xFF];
        int16_t advance = page.advance[c & 0xFF];
        if (advance > 0 || page.glyph[c & 0xFF] != 0) {
            glyphs[f].append(page.glyph[c & 0xFF]);
            positions[f].append(QPointF(pen, baseline));
        }
        pen += advance;
    }

    QPainter painter(dc->image);
    painter.setClipRect(clip);
    if (!dc->transparent)
        painter.fillRect(QRect(x, y, width, font->height), qtplat::to_qcolor(dc->bk_color));
    painter.setPen(qtplat::to_qcolor(dc->text_color));
    for (int f = 0; f < 2; ++f) {
        if (glyphs[f].isEmpty() || !font->faces[f].isValid()) continue;
        QGlyphRun run;
        run.setRawFont(font->faces[f]);
        run.setGlyphIndexes(glyphs[f]);
        run.setPositions(positions[f]);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    // Glyph runs carry no underline of their own.
    if (font->underline_width > 0)
        painter.fillRect(
            QRect(x, int(baseline) + font->underline_pos, width, font->underline_width),
            qtplat::to_qcolor(dc->text_color));
    painter.end();
    qtplat::drawn(dc);
}

Colorref get_text_color(Dc* dc) {
    return dc ? dc->text_color : 0;
}

Colorref set_text_color(Dc* dc, Colorref color) {
    if (!dc) return 0;
    Colorref previous = dc->text_color;
    dc->text_color = color & 0xFFFFFF;
    return previous;
}

Colorref set_bk_color(Dc* dc, Colorref color) {
    if (!dc) return 0;
    Colorref previous = dc->bk_color;
    dc->bk_color = color & 0xFFFFFF;
    return previous;
}

void set_bk_transparent(Dc* dc, bool transparent) {
    if (dc) dc->transparent = transparent;
}

void fill_rect(Dc* dc, const Rect& rect, Colorref color) {
    QRect r = to_qrect(rect);
    if (!can_draw(dc) || r.isEmpty()) return;
    {
        DeviceFill device(dc->image);
        device.fill(r, qtplat::to_qcolor(color));
    }
    qtplat::drawn(dc);
}

void draw_rectangle(Dc* dc, const Rect& rect, Colorref pen_color, std::optional<Colorref> fill) {
    QRect r = to_qrect(rect);
    if (!can_draw(dc) || r.isEmpty()) return;
    // The frame covers the outermost pixels of the rectangle (right and bottom edges
    // exclusive), the fill what is inside it.
    {
        DeviceFill device(dc->image);
        QColor pen = qtplat::to_qcolor(pen_color);
        if (fill && r.width() > 2 && r.height() > 2)
            device.fill(r.adjusted(1, 1, -1, -1), qtplat::to_qcolor(*fill));
        device.fill(QRect(r.left(), r.top(), r.width(), 1), pen);
        device.fill(QRect(r.left(), r.bottom(), r.width(), 1), pen);
        device.fill(QRect(r.left(), r.top(), 1, r.height()), pen);
        device.fill(QRect(r.right(), r.top(), 1, r.height()), pen);
    }
    qtplat::drawn(dc);
}

}  // namespace lekta::plat
