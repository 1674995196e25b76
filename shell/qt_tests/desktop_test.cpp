// The reader on a desktop: margins and the scroll bar across faces, sizes and window sizes,
// zoom, the window's title, the dark palette and the screen's scale, on the offscreen platform
// with the demo book.
#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <utility>

#include "calendar/hebrew_calendar.h"
#include "font_chooser/font_sizes.h"
#include "platform/platform.h"
#include "platform/qt/qt_internal.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/zoom.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "store/book.h"
#include "view/palette.h"
#include "view/text_view.h"

using namespace lekta;

namespace {

// Faces the chooser offers that draw Hebrew; at most a handful, to keep the run short.
QStringList hebrew_faces() {
    QStringList faces;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Hebrew))
        if (!family.contains("Mono") && faces.size() < 6) faces << family;
    return faces;
}

// Ink of every text colour (black, blue, dark blue) and the yellow highlight are far darker
// than the white ground or the window's grey where a fractional scale leaves an edge pixel.
bool is_background(QColor c) {
    return c.lightness() > 200;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir config_;
    plat::Window* window_ = nullptr;
    QWidget* top_ = nullptr;
    QWidget* client_ = nullptr;
    QScrollBar* scroll_ = nullptr;

    void start(int32_t day = day_number_from_civil(12, 8, 2026)) {
        // Each test starts from the same face and size, whatever the one before left.
        write_string_value(u"FontName", u"DejaVu Sans");
        write_int_value(u"FontSize", 16);
        plat::registry_flush();
        g_settings = Settings{};
        g_reader = Reader{};
        read_shell_options();
        window_ = init_instance(day, "/usr/bin/lekta");
        QVERIFY(window_);
        top_ = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Lekta-Hebrew" && w->isVisible()) top_ = w;
        QVERIFY(top_);
        QVERIFY(QTest::qWaitForWindowExposed(top_));
        // Shortcuts reach an active window only.
        top_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top_));
        client_ = top_->focusProxy();
        scroll_ = top_->findChild<QScrollBar*>();
        QVERIFY(client_ && scroll_);
    }

    void resize_to(int width, int height) {
        top_->resize(width, height);
        QTRY_COMPARE(top_->size(), QSize(width, height));
        QCoreApplication::processEvents();
    }

    // The scroll bar agrees with the layout, and the view is never scrolled past the point
    // where the end of the lesson fills it.
    void check_scroll_range(const QString& what) {
        const TextView* view = g_reader.view;
        QVERIFY2(view->top_row <= view->max_top_row, qPrintable(what));
        QCOMPARE(scroll_->maximum(), int(view->max_top_row));
        QCOMPARE(scroll_->value(), int(view->top_row));
        QVERIFY2(scroll_->isEnabled() == (view->max_top_row > 0), qPrintable(what));
    }

    // No ink in the outermost columns of the text area, where the text meets the window's
    // edge and the scroll bar.
    void check_edges_clear(const QString& what) {
        QCoreApplication::processEvents();
        const TextView* view = g_reader.view;
        const QImage image = client_->grab().toImage();
        const qreal dpr = image.devicePixelRatio();
        const int right = int((view->left + view->width) * dpr) - 1;
        const int left = int(view->left * dpr);
        for (int y = int(view->top * dpr); y < int((view->top + view->height) * dpr); ++y) {
            QVERIFY2(is_background(image.pixelColor(right, y)), qPrintable(what + " right"));
            QVERIFY2(is_background(image.pixelColor(left, y)), qPrintable(what + " left"));
        }
    }

  private slots:
    void initTestCase() {
        QVERIFY(config_.isValid());
        qputenv("LEKTA_CONFIG_DIR", config_.path().toLocal8Bit());
        std::string error;
        QVERIFY(use_embedded_book(&error));
        write_string_value(u"FontName", u"DejaVu Sans");
        write_int_value(u"FontSize", 16);
        plat::registry_flush();
    }

    void cleanup() {
        if (window_) plat::destroy_window(window_);
        QCoreApplication::processEvents();
        window_ = nullptr;
    }

    // Every face and size keeps its ink off the edges, and every change of size, face or
    // window size leaves the scroll bar's range right.
    void marginsAndScrollRangeOverFacesAndSizes() {
        const QStringList faces = hebrew_faces();
        QVERIFY(!faces.isEmpty());
        start();
        resize_to(320, 300);
        for (const QString& face : faces) {
            for (int32_t size : FONT_SIZES) {
                const QString what = QString("%1 %2").arg(face).arg(size);
                FontSpec chosen = g_settings.font_spec;
                std::fill(std::begin(chosen.face_name), std::end(chosen.face_name), u'\0');
                for (qsizetype i = 0; i < std::min<qsizetype>(31, face.size()); ++i)
                    chosen.face_name[i] = face.at(i).unicode();
                chosen.font_size = size;
                g_settings.font_spec = chosen;
                change_font(g_reader.view, chosen);
                update_scroll_bar(window_);
                check_scroll_range(what);
                check_edges_clear(what);
            }
        }
    }

    // Scrolled to the end in a small window, then made large: the lesson's top is in sight
    // again and the bar follows; made small again, the bar is enabled without a wheel turn.
    void aLargerWindowBringsTheTopBack() {
        start();
        resize_to(320, 300);
        QTest::keyClick(client_, Qt::Key_End);
        QVERIFY(g_reader.view->top_row > 0);
        check_scroll_range("small, at the end");
        resize_to(1200, 1000);
        check_scroll_range("large");
        if (g_reader.view->max_top_row == 0) QCOMPARE(int(g_reader.view->top_row), 0);
        resize_to(320, 300);
        check_scroll_range("small again");
        QVERIFY(scroll_->isEnabled());
    }

    // The zoom keys and Ctrl+wheel reach the reader through the real shortcuts and wheel.
    void zoomKeysAndWheel() {
        start();
        const int32_t start_size = g_settings.font_spec.font_size;
        QTest::keyClick(client_, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(g_settings.font_spec.font_size, zoom_size(start_size, 1));
        QTest::keyClick(client_, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(g_settings.font_spec.font_size, zoom_size(zoom_size(start_size, 1), 1));
        QTest::keyClick(client_, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(g_settings.font_spec.font_size, zoom_size(start_size, 1));
        QTest::keyClick(client_, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(g_settings.font_spec.font_size, start_size);
        const QPointF middle(client_->width() / 2.0, client_->height() / 2.0);
        QWheelEvent down(middle, client_->mapToGlobal(middle), {}, {0, -120}, Qt::NoButton,
                         Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(client_, &down);
        QCOMPARE(g_settings.font_spec.font_size, zoom_size(start_size, -1));
        check_scroll_range("zoomed out");
    }

    // At scales 1, 1.5 and 2: tool images drawn at the screen's pixel density (at 1 exactly their
    // bits, above it smooth outlines rather than enlarged pixels), and lines of one unit equally
    // thick wherever they fall.
    void imagesAndLinesAtEveryScale() {
        start();
        QWidget* bar = top_->findChild<QWidget*>("bar");
        QVERIFY(bar);
        const auto buttons = bar->findChildren<QToolButton*>();
        for (const qreal dpr : {1.0, 1.5, 2.0}) {
            const QString what = QString("scale %1").arg(dpr);
            int images = 0;
            for (QToolButton* button : buttons) {
                if (!button->defaultAction()) continue;
                const QImage image =
                    button->defaultAction()->icon().pixmap(QSize(16, 16), dpr).toImage();
                QCOMPARE(image.size(), QSize(16, 16) * dpr);
                int partial = 0, solid = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        const int alpha = qAlpha(image.pixel(x, y));
                        partial += alpha > 0 && alpha < 255;
                        solid += alpha == 255;
                    }
                QVERIFY2(solid > 0, qPrintable(what));
                // One-bit pixels have no edges in between; smooth outlines do.
                QVERIFY2(dpr == 1.0 ? partial == 0 : partial > 0, qPrintable(what));
                ++images;
            }
            QCOMPARE(images, 7);

            QImage canvas(QSize(200, 40) * dpr, QImage::Format_RGB32);
            canvas.setDevicePixelRatio(dpr);
            canvas.fill(Qt::white);
            plat::Dc* dc = qtplat::create_image_dc(&canvas);
            for (int x = 3; x < 190; x += 7)
                plat::fill_rect(dc, {x, 0, x + 1, 20}, 0);
            plat::draw_rectangle(dc, {5, 22, 150, 38}, 0, std::nullopt);
            qtplat::delete_image_dc(dc);
            QSet<int> widths;
            for (int x = 0, run = 0; x < canvas.width(); ++x) {
                const bool dark = qGray(canvas.pixel(x, 5)) < 128;
                if (dark) ++run;
                if (!dark && run) widths.insert(std::exchange(run, 0));
            }
            QCOMPARE(widths.size(), 1);
            QCOMPARE(*widths.begin(), int(std::lround(dpr)));
            int top_edge = 0, bottom_edge = 0;
            for (int y = 0; y < canvas.height(); ++y)
                if (qGray(canvas.pixel(int(50 * dpr), y)) < 128)
                    (y < 30 * dpr ? top_edge : bottom_edge)++;
            QCOMPARE(top_edge, bottom_edge);
        }
    }

    // A window stored partly off the screen (or larger than it) opens whole on the screen, in
    // the desktop's units whatever the scale.
    void aWindowOffTheScreenComesBack() {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        struct Place {
            int left, top, width, height;
        };
        const Place places[] = {{room.right() - 100, room.top() + 10, 300, 250},
                                {room.left() + 20, room.bottom() - 50, 300, 400},
                                {room.left() + 10, room.top() + 10, room.width() * 2, 300}};
        for (const Place& p : places) {
            write_int_value(u"WindowLeft", p.left);
            write_int_value(u"WindowTop", p.top);
            write_int_value(u"WindowWidth", p.width);
            write_int_value(u"WindowHeight", p.height);
            plat::registry_flush();
            start();
            QVERIFY2(room.contains(top_->geometry()),
                     qPrintable(QString("%1,%2 in %3x%4: %5,%6 %7x%8")
                                    .arg(p.left)
                                    .arg(p.top)
                                    .arg(room.width())
                                    .arg(room.height())
                                    .arg(room.x())
                                    .arg(room.y())
                                    .arg(top_->width())
                                    .arg(top_->height())));
            QVERIFY(room.contains(top_->frameGeometry()));
            // As large as it was, as far as the screen holds it with the window's frame.
            QVERIFY(top_->width() <= p.width);
            QVERIFY(top_->width() >= std::min(p.width, room.width()) - 20);
            cleanup();
        }
        // The stored size is the one the desktop measures, not device pixels.
        start();
        top_->resize(300, 280);
        QTRY_COMPARE(top_->size(), QSize(300, 280));
        cleanup();
        QCOMPARE(read_int_value(SETTINGS_KEY, u"WindowWidth", 0), 300);
    }

    // Night on a light desktop: the reading area, the strip and the tool images turn dark
    // and stay readable; Night again gives the light reader back.
    void nightTurnsEverythingDark() {
        start();
        QWidget* bar = top_->findChild<QWidget*>("bar");
        QVERIFY(bar);
        auto sample = [this](int x, int y) {
            QCoreApplication::processEvents();
            return client_->grab().toImage().pixelColor(x, y);
        };
        const TextView* view = g_reader.view;
        const QPoint ground(view->left + 1, view->top + view->height - 2);
        const QPoint strip(2, g_reader.strip_top + 1);
        for (bool dark : {true, false}) {
            plat::send_message(window_, plat::WM_COMMAND, CMD_NIGHT, 0);
            QCOMPARE(dark_palette_in_use(), dark);
            QCOMPARE(sample(ground.x(), ground.y()).lightness() < 80, dark);
            QCOMPARE(sample(strip.x(), strip.y()).lightness() < 110, dark);
            // The images in the bar's text colour, far from its ground.
            const QColor bar_ground = bar->palette().color(QPalette::Window);
            for (QToolButton* button : bar->findChildren<QToolButton*>()) {
                if (!button->defaultAction()) continue;
                const QImage image =
                    button->defaultAction()->icon().pixmap(QSize(16, 16), 1.0).toImage();
                QColor ink;
                for (int y = 0; y < 16 && !ink.isValid(); ++y)
                    for (int x = 0; x < 16 && !ink.isValid(); ++x)
                        if (qAlpha(image.pixel(x, y)) == 255) ink = image.pixelColor(x, y);
                QVERIFY(ink.isValid());
                QVERIFY2(std::abs(ink.lightness() - bar_ground.lightness()) > 120,
                         qPrintable(QString("%1 on %2").arg(ink.name(), bar_ground.name())));
            }
        }
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    qputenv("TMPDIR", runtime.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (!plat::init_gui(argc, argv)) return 2;
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
