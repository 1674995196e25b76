// Tool button images drawn for the screen: the 1-bit image pixel for pixel at one device pixel
// per unit, and its outline drawn smoothly at any other density, in the palette's button text
// colour, so that the images stay sharp at any scale and readable on a dark bar.
#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <sstream>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

QColor image_color(QIcon::Mode mode) {
    const QPalette palette = QApplication::palette();
    return palette.color(mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active,
                         QPalette::ButtonText);
}

// Draws an outline (the steps of plat::BarSpec::image_outlines) scaled from the 16-unit grid.
void draw_outline(QPainter& painter, const char* outline, const QColor& color) {
    std::istringstream steps(outline ? outline : "");
    steps.imbue(std::locale::classic());
    QPainterPath path;
    qreal width = 1.0;
    char step = 0;
    while (steps >> step) {
        qreal a = 0, b = 0, c = 0, d = 0;
        switch (step) {
            case 'M':
                if (steps >> a >> b) path.moveTo(a, b);
                break;
            case 'L':
                if (steps >> a >> b) path.lineTo(a, b);
                break;
            case 'Z':
                path.closeSubpath();
                break;
            case 'R':
                if (steps >> a >> b >> c >> d) path.addRect(a, b, c, d);
                break;
            case 'O':
                if (steps >> a >> b >> c) path.addEllipse(QPointF(a, b), c, c);
                break;
            case 'W':
                steps >> width;
                break;
            case 'F':
                path.setFillRule(Qt::WindingFill);
                painter.fillPath(path, color);
                path = QPainterPath();
                break;
            case 'S':
                painter.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::FlatCap));
                path = QPainterPath();
                break;
            default:
                return;  // a step this reader does not know: stop rather than guess
        }
        if (steps.fail()) return;
    }
}

class BarIconEngine : public QIconEngine {
  public:
    BarIconEngine(QImage bits, const char* outline) : bits_(std::move(bits)), outline_(outline) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(
            rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QColor color = image_color(mode);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (size == bits_.size() || !outline_) {
            // The image's own pixels, in the text colour.
            QPainter painter(&image);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            QImage tinted = bits_;
            for (int y = 0; y < tinted.height(); ++y)
                for (int x = 0; x < tinted.width(); ++x)
                    if (qAlpha(tinted.pixel(x, y))) tinted.setPixel(x, y, color.rgba());
            painter.drawImage(QRect(QPoint(0, 0), size), tinted);
        } else {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(size.width() / 16.0, size.height() / 16.0);
            draw_outline(painter, outline_, color);
        }
        return QPixmap::fromImage(image);
    }

    QIconEngine* clone() const override { return new BarIconEngine(bits_, outline_); }

  private:
    QImage bits_;
    const char* outline_;
};

}  // namespace

QIcon bar_icon(const QImage& bits, const char* outline) {
    return QIcon(new BarIconEngine(bits, outline));
}

}  // namespace lekta::qtplat
