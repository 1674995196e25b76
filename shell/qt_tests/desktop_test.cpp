// The reader on a desktop: margins and the scroll bar across faces, sizes and window sizes,
// zoom, the window's title, the dark palette and the screen's scale, on the offscreen platform
// with the demo book.
#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "calendar/hebrew_calendar.h"
#include "font_chooser/font_sizes.h"
#include "store/book.h"
#include "platform/platform.h"
#include "shell/main_window.h"
#include "state/registry.h"
#include "shell/startup.h"
#include "shell/zoom.h"
#include "state/settings.h"
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

bool is_background(QColor c) {
    return c.lightness() > 240;
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
        const TextView* view = g_settings.view;
        QVERIFY2(view->top_row <= view->max_top_row, qPrintable(what));
        QCOMPARE(scroll_->maximum(), int(view->max_top_row));
        QCOMPARE(scroll_->value(), int(view->top_row));
        QVERIFY2(scroll_->isEnabled() == (view->max_top_row > 0), qPrintable(what));
    }

    // No ink in the outermost columns of the text area, where the text meets the window's
    // edge and the scroll bar.
    void check_edges_clear(const QString& what) {
        QCoreApplication::processEvents();
        const TextView* view = g_settings.view;
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
                FontSpec spec = g_settings.font_spec;
                std::fill(std::begin(spec.face_name), std::end(spec.face_name), u'\0');
                for (qsizetype i = 0; i < std::min<qsizetype>(31, face.size()); ++i)
                    spec.face_name[i] = face.at(i).unicode();
                spec.font_size = size;
                g_settings.font_spec = spec;
                change_font(g_settings.view, spec);
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
        QVERIFY(g_settings.view->top_row > 0);
        check_scroll_range("small, at the end");
        resize_to(1200, 1000);
        check_scroll_range("large");
        if (g_settings.view->max_top_row == 0) QCOMPARE(int(g_settings.view->top_row), 0);
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
