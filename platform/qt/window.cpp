// The main window: a top-level widget whose client area turns Qt events into the messages of
// the window procedure and shows the backing image that the window's kept dc draws into.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

constexpr int DEFAULT_WIDTH = 480;
constexpr int DEFAULT_HEIGHT = 640;

// Window records live for the whole run, so a handle kept after its window closed stays
// harmless: every operation checks whether the window is still alive.
std::vector<std::unique_ptr<plat::Window>>& all_windows() {
    static std::vector<std::unique_ptr<plat::Window>> windows;
    return windows;
}

void report_size(plat::Window* w) {
    QWidget* client = w->client;
    if (!client || (client->width() == w->sent_width && client->height() == w->sent_height)) return;
    w->sent_width = client->width();
    w->sent_height = client->height();
    deliver(w, plat::WM_SIZE, 0, lparam_of(w->sent_width, w->sent_height));
}

// The room the scroll bar takes at the right. Some styles lay a bar over the content (transient
// bars) or hint a narrower one than they draw: the style's full extent keeps the client area,
// and so the text, clear of it whatever the style.
int scroll_bar_width(const plat::Window* w) {
    QScrollBar* bar = w->scroll;
    if (!bar) return 0;
    bar->ensurePolished();
    const int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    return std::max({bar->sizeHint().width(), extent, 0});
}

// The client area gets what the scroll bar leaves. A change of client size reaches the
// program as WM_SIZE.
void layout_children(plat::Window* w) {
    QWidget* top = w->top;
    if (!top || !w->client) return;
    const int bar = scroll_bar_width(w);
    w->client->setGeometry(0, 0, std::max(0, top->width() - bar), top->height());
    if (w->scroll) w->scroll->setGeometry(top->width() - bar, 0, bar, top->height());
}

void send_destroy(plat::Window* w) {
    if (w->destroy_sent) return;
    w->destroy_sent = true;
    deliver(w, plat::WM_DESTROY, 0, 0);
    w->alive = false;
    if (w->bar) w->bar->alive = false;
}

// A held button drags past the window's edges: the point travels signed.
intptr_t pointer_lparam(const QPoint& p) {
    auto half = [](int v) { return uint32_t(uint16_t(int16_t(std::clamp(v, -0x8000, 0x7FFF)))); };
    return intptr_t(half(p.x()) | half(p.y()) << 16);
}

class ClientWidget : public QWidget {
  public:
    ClientWidget(plat::Window* w, QWidget* parent) : QWidget(parent), window_(w) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        mark_accessible_client(this, w);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        plat::Window* w = window_;
        if (ensure_backing(w)) w->needs_wm_paint = true;
        // Drawing done through the dc between paints is already in the image; only a new or
        // resized window asks the program to paint.
        if (w->needs_wm_paint && w->alive) {
            w->needs_wm_paint = false;
            w->in_paint = true;
            deliver(w, plat::WM_PAINT, 0, 0);
            w->in_paint = false;
        }
        QPainter painter(this);
        painter.setClipRegion(event->region());
        painter.drawImage(QPoint(0, 0), w->backing);
    }

    void resizeEvent(QResizeEvent*) override {
        plat::Window* w = window_;
        ensure_backing(w);
        w->needs_wm_paint = true;
        if (w->bar) place_bar(w);
        report_size(w);
    }

    void keyPressEvent(QKeyEvent* event) override {
        // The help key asks for help, as the system's own handling of F1 did.
        if (event->key() == Qt::Key_F1 || event->key() == Qt::Key_Help) {
            deliver(window_, plat::WM_HELP, 0, 0);
            return;
        }
        uint32_t vk = vk_from_qt_key(event->key());
        if (!vk) return QWidget::keyPressEvent(event);
        intptr_t flags = 1 | (event->isAutoRepeat() ? intptr_t(1) << 30 : 0);
        if (event->modifiers() & Qt::ShiftModifier) flags |= plat::KEY_SHIFT;
        deliver(window_, plat::WM_KEYDOWN, vk, flags);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        setFocus(Qt::MouseFocusReason);
        QPoint p = event->position().toPoint();
        deliver(window_, plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, lparam_of(p.x(), p.y()));
    }

    // Without mouse tracking, moves arrive only while a button is held.
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
        QPoint p = event->position().toPoint();
        deliver(window_, plat::WM_MOUSEMOVE, plat::MK_LBUTTON, pointer_lparam(p));
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
        QPoint p = event->position().toPoint();
        deliver(window_, plat::WM_LBUTTONUP, 0, pointer_lparam(p));
    }

    // The wheel scrolls by lines, as the scroll bar's arrows do; with Ctrl it goes to the
    // program, a message per notch.
    void wheelEvent(QWheelEvent* event) override {
        wheel_rest_ += event->angleDelta().y();
        int notches = wheel_rest_ / 120;
        wheel_rest_ -= notches * 120;
        if (event->modifiers() & Qt::ControlModifier) {
            const int step = notches > 0 ? 120 : -120;
            for (int i = 0; i < std::abs(notches); ++i)
                deliver(window_, plat::WM_MOUSEWHEEL,
                        plat::MK_CONTROL | (uintptr_t(uint16_t(int16_t(step))) << 16), 0);
            event->accept();
            return;
        }
        int lines = std::min(std::abs(notches) * QApplication::wheelScrollLines(), 50);
        uint32_t request = notches > 0 ? plat::SB_LINEUP : plat::SB_LINEDOWN;
        for (int i = 0; i < lines; ++i)
            deliver(window_, plat::WM_VSCROLL, request, 0);
        if (lines > 0) deliver(window_, plat::WM_VSCROLL, plat::SB_ENDSCROLL, 0);
        event->accept();
    }

  private:
    plat::Window* window_;
    int wheel_rest_ = 0;
};

class TopWidget : public QWidget {
  public:
    // The client area and the scroll bar cover it whole: nothing of its own to paint.
    explicit TopWidget(plat::Window* w) : window_(w) { setAttribute(Qt::WA_OpaquePaintEvent); }

  protected:
    void resizeEvent(QResizeEvent*) override {
        layout_children(window_);
        // Without a window manager nothing holds the window to its minimum size: it grows
        // back by itself.
        if (isFullScreen() || isMaximized()) return;
        if (width() < minimumWidth() || height() < minimumHeight())
            QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
    }

    // Another style may draw a wider scroll bar, a larger bar or button row.
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::StyleChange) {
            layout_children(window_);
            fit_minimum_size(window_);
        }
        QWidget::changeEvent(event);
    }

    // A close request ends the window as destroy_window does: WM_DESTROY once, then gone.
    void closeEvent(QCloseEvent* event) override {
        send_destroy(window_);
        event->accept();
        deleteLater();
    }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowActivate)
            deliver(window_, plat::WM_ACTIVATE, 1, 0);
        else if (event->type() == QEvent::WindowDeactivate)
            deliver(window_, plat::WM_ACTIVATE, 0, 0);
        return QWidget::event(event);
    }

  private:
    plat::Window* window_;
};

uint32_t scroll_request(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return plat::SB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub:
            return plat::SB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return plat::SB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return plat::SB_PAGEUP;
        case QAbstractSlider::SliderToMinimum:
            return plat::SB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return plat::SB_BOTTOM;
        case QAbstractSlider::SliderMove:
            return plat::SB_THUMBTRACK;
        default:
            return plat::SB_ENDSCROLL;
    }
}

uintptr_t scroll_wparam(uint32_t request, int position) {
    return request | (uintptr_t(uint16_t(int16_t(std::clamp(position, -32768, 32767)))) << 16);
}

// Moves (and if need be shrinks) a shown window so that its frame lies on its screen.
void keep_on_screen(QWidget* top) {
    QScreen* screen = top->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QRect frame = top->frameGeometry();
    if (room.contains(frame)) return;
    const QSize extra(frame.width() - top->width(), frame.height() - top->height());
    QRect rect = top->geometry();
    rect.setSize(rect.size().boundedTo(room.size() - extra));
    QRect outer(frame.topLeft(), rect.size() + extra);
    if (outer.right() > room.right()) outer.moveRight(room.right());
    if (outer.bottom() > room.bottom()) outer.moveBottom(room.bottom());
    if (outer.left() < room.left()) outer.moveLeft(room.left());
    if (outer.top() < room.top()) outer.moveTop(room.top());
    top->resize(rect.size());
    top->move(outer.topLeft());
}

bool alive_main(const plat::Window* w) {
    return w && w->alive && w->kind == plat::Window::Kind::main && w->top;
}

}  // namespace

intptr_t lparam_of(int low, int high) {
    return intptr_t(uint32_t(std::clamp(low, 0, 0xFFFF)) |
                    (uint32_t(std::clamp(high, 0, 0xFFFF)) << 16));
}

intptr_t deliver(plat::Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (!w || !w->alive || w->kind == plat::Window::Kind::bar || !w->proc) return 0;
    return w->proc(w, message, wparam, lparam);
}

// The old contents stay until the program paints again.
bool ensure_backing(plat::Window* w) {
    QWidget* client = w->client;
    if (!client) return false;
    const qreal dpr = client->devicePixelRatioF();
    const QSize size = client->size().expandedTo(QSize(1, 1));
    const QSize device(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
    if (!w->backing.isNull() && w->backing.size() == device && w->backing.devicePixelRatio() == dpr)
        return false;
    QImage image(device, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    if (!w->backing.isNull()) {
        QPainter painter(&image);
        painter.drawImage(QPoint(0, 0), w->backing);
    }
    w->backing = std::move(image);
    return true;
}

QScrollBar* make_scroll_bar(plat::Window* w, QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setRange(0, 0);
    bar->setEnabled(false);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [w, bar](int action) {
        uint32_t request = scroll_request(action);
        if (request == plat::SB_ENDSCROLL) return;
        deliver(w, plat::WM_VSCROLL, scroll_wparam(request, bar->sliderPosition()), 0);
        // The slider has already moved on its own; it shows what the program scrolled to.
        if (action != QAbstractSlider::SliderMove && w->scroll) {
            QSignalBlocker block(bar);
            bar->setSliderPosition(w->scroll_pos);
        }
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [w, bar] {
        deliver(w, plat::WM_VSCROLL, scroll_wparam(plat::SB_THUMBPOSITION, bar->sliderPosition()),
                0);
        deliver(w, plat::WM_VSCROLL, plat::SB_ENDSCROLL, 0);
    });
    return bar;
}

bool alive_client(const plat::Window* w) {
    return w && w->alive && w->kind != plat::Window::Kind::bar && w->top;
}

plat::Window* first_main_window() {
    for (auto& w : all_windows())
        if (alive_main(w.get())) return w.get();
    return nullptr;
}

plat::Window* new_window_record() {
    all_windows().push_back(std::make_unique<plat::Window>());
    return all_windows().back().get();
}

void fit_minimum_size(plat::Window* w) {
    if (!w || !w->top) return;
    // The date strip and a few lines of text below the bar.
    constexpr int MIN_TEXT_HEIGHT = 120;
    int width = scroll_bar_width(w);
    int height = MIN_TEXT_HEIGHT;
    if (plat::Window* bar = w->bar; bar && bar->alive && bar->toolbar) {
        const QSize hint = bar->toolbar->sizeHint();
        width += hint.width();
        height += hint.height();
    }
    w->top->setMinimumSize(width, height);
}

void drawn(plat::Dc* dc) {
    plat::Window* w = dc ? dc->window : nullptr;
    if (w && w->alive && !w->in_paint && w->client) w->client->update();
}

}  // namespace lekta::qtplat

namespace lekta::plat {

Window* create_main_window(const WindowSpec& params) {
    if (!params.proc || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    Window* w = qtplat::new_window_record();
    w->proc = params.proc;
    w->full_screen = params.full_screen;

    auto* top = new qtplat::TopWidget(w);
    w->top = top;
    top->setObjectName(qtplat::to_qstring(params.class_name));
    top->setWindowTitle(qtplat::to_qstring(params.title));
    w->client = new qtplat::ClientWidget(w, top);
    if (params.vscroll) w->scroll = qtplat::make_scroll_bar(w, top);
    top->setFocusProxy(w->client);

    const Rect& place = params.placement;
    if (place.right > place.left && place.bottom > place.top) {
        QRect rect(place.left, place.top, place.right - place.left, place.bottom - place.top);
        // The size as it was, as far as the screen holds it; the place only when a screen still
        // shows the window's middle there (screens come and go), moved back onto that screen
        // where it would stand past an edge (the screen's scale or size may have changed).
        // Places and sizes are in the desktop's device-independent units.
        QScreen* there = QGuiApplication::screenAt(rect.center());
        QScreen* screen = there ? there : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect room = screen->availableGeometry();
            rect.setSize(rect.size().boundedTo(room.size()));
            if (rect.right() > room.right()) rect.moveRight(room.right());
            if (rect.bottom() > room.bottom()) rect.moveBottom(room.bottom());
            if (rect.left() < room.left()) rect.moveLeft(room.left());
            if (rect.top() < room.top()) rect.moveTop(room.top());
        }
        if (there)
            top->setGeometry(rect);
        else
            top->resize(rect.size());
    } else {
        QSize size(qtplat::DEFAULT_WIDTH, qtplat::DEFAULT_HEIGHT);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
        top->resize(size);
    }
    qtplat::layout_children(w);
    qtplat::fit_minimum_size(w);

    w->dc.window = w;
    w->dc.image = &w->backing;
    qtplat::register_dc(&w->dc);
    qtplat::ensure_backing(w);

    // As CreateWindow: -1 from WM_CREATE refuses the window.
    if (w->proc(w, WM_CREATE, 0, 0) == -1) {
        w->alive = false;
        w->destroy_sent = true;
        delete top;
        return nullptr;
    }
    qtplat::report_size(w);
    return w;
}

void show_window(Window* window) {
    if (!qtplat::alive_main(window)) return;
    if (window->full_screen)
        window->top->showFullScreen();
    else {
        window->top->show();
        qtplat::keep_on_screen(window->top);
        // Once more when a window manager has framed it: its title bar must be on the screen
        // too, and the frame is not known until then.
        QTimer::singleShot(qtplat::PLACE_AGAIN_MS, window->top,
                           [top = window->top] { qtplat::keep_on_screen(top); });
    }
    // Without a window manager nobody else gives the new window the keys.
    window->top->activateWindow();
    window->client->setFocus(Qt::ActiveWindowFocusReason);
}

void set_window_title(Window* window, const char16_t* title) {
    if (qtplat::alive_main(window)) window->top->setWindowTitle(qtplat::to_qstring(title));
}

void destroy_window(Window* window) {
    if (!window || !window->alive) return;
    if (window->kind == Window::Kind::bar) return destroy_bar(window);
    qtplat::send_destroy(window);
    // Later, not now: this may run inside a handler of one of the window's own widgets.
    if (window->top) {
        window->top->hide();
        window->top->deleteLater();
    }
}

intptr_t send_message(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    return qtplat::deliver(window, message, wparam, lparam);
}

Rect client_rect(Window* window) {
    if (!window || !window->alive) return {};
    if (window->kind == Window::Kind::dialog)
        return window->client ? Rect{0, 0, window->client->width(), window->client->height()}
                              : Rect{};
    if (window->kind == Window::Kind::bar) {
        if (!window->toolbar) return {};
        return {0, 0, window->toolbar->width(), window->toolbar->height()};
    }
    if (!window->client) return {};
    return {0, 0, window->client->width(), window->client->height()};
}

Rect window_placement(Window* window) {
    if (!window || window->kind != Window::Kind::main || !window->top) return {};
    const QWidget* top = window->top;
    const QRect r =
        top->isMaximized() || top->isFullScreen() ? top->normalGeometry() : top->geometry();
    if (r.isEmpty()) return {};
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

Dc* get_dc(Window* window) {
    // The dc outlives the window (the view may keep it); drawing on it then shows nothing.
    if (!window || window->kind == Window::Kind::bar) return nullptr;
    return &window->dc;
}

void release_dc(Window*, Dc*) {}  // the dc is kept for the window's life

bool is_foreground(Window* window) {
    return qtplat::alive_main(window) && window->top->isActiveWindow() && !modal_dialog_open();
}

void bring_to_front(Window* window) {
    if (!qtplat::alive_main(window)) return;
    QWidget* top = window->top;
    if (top->isMinimized()) top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
    top->show();
    top->raise();
    top->activateWindow();
}

void set_scroll_info(Window* window, int32_t min, int32_t max, int32_t pos, int32_t page) {
    if (!qtplat::alive_client(window) || !window->scroll) return;
    QScrollBar* bar = window->scroll;
    QSignalBlocker block(bar);
    max = std::max(min, max);
    window->scroll_pos = std::clamp(pos, min, max);
    bar->setRange(min, max);
    bar->setPageStep(std::max(1, page));
    bar->setValue(window->scroll_pos);
    bar->setEnabled(max > min);
}

}  // namespace lekta::plat
