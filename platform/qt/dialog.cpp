// Dialogs: a modal QDialog whose client area turns Qt events into the dialog procedure's
// messages and shows the backing image that the dialog's kept dc draws into.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

DialogControl* Window::find_control(uint16_t id) {
    auto it = std::find_if(controls.begin(), controls.end(),
                           [id](const DialogControl& c) { return c.id == id; });
    return it == controls.end() ? nullptr : &*it;
}

}  // namespace lekta::plat

namespace lekta::qtplat {
namespace {

bool open_dialog(const plat::Window* w) {
    return w && w->kind == plat::Window::Kind::dialog && w->alive && !w->ended && w->top;
}

void command(plat::Window* w, uint16_t id) {
    if (open_dialog(w)) deliver(w, plat::WM_COMMAND, id, 0);
}

// What Return presses: the default button, else OK.
uint16_t default_id(plat::Window* w) {
    for (const plat::DialogControl& c : w->controls)
        if (c.kind == plat::ControlKind::default_button && c.widget && c.widget->isEnabled())
            return c.id;
    return uint16_t(plat::IDOK);
}

void place_children(plat::Window* w) {
    QWidget* top = w->top;
    if (!top || !w->client) return;
    const int strip = w->done_strip ? w->done_strip->sizeHint().height() : 0;
    w->client->setGeometry(0, 0, top->width(), std::max(0, top->height() - strip));
    if (w->done_strip) w->done_strip->setGeometry(0, top->height() - strip, top->width(), strip);
    if (w->scroll) {
        const int bar = plat::system_metric(plat::SM_CXVSCROLL);
        w->scroll->setGeometry(w->client->width() - bar, 0, bar, w->client->height());
    }
    if (w->focus_frame) {
        w->focus_frame->setGeometry(w->client->rect());
        w->focus_frame->raise();
    }
}

// The focus frame: over everything in the client area (pictures included), drawn while the
// client area has the keyboard focus, round the place the procedure named or the whole area.
class FocusFrame : public QWidget {
  public:
    FocusFrame(plat::Window* w, QWidget* parent) : QWidget(parent), window_(w) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QWidget* client = window_->client;
        if (!client || !client->hasFocus()) return;
        const plat::Rect& r = window_->focus_rect;
        QRect frame = r.right > r.left && r.bottom > r.top
                          ? QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)
                          : rect();
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Highlight), 3);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(frame.adjusted(1, 1, -2, -2));
    }

  private:
    plat::Window* window_;
};

class DialogClient : public QWidget {
  public:
    DialogClient(plat::Window* w, QWidget* parent) : QWidget(parent), window_(w) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setObjectName(QStringLiteral("dialog_client"));
        mark_accessible_client(this, w);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        plat::Window* w = window_;
        if (ensure_backing(w)) w->needs_wm_paint = w->needs_erase = true;
        if (w->needs_wm_paint && open_dialog(w)) {
            const bool erase = w->needs_erase;
            w->needs_wm_paint = w->needs_erase = false;
            w->in_paint = true;
            if (erase && !deliver(w, plat::WM_ERASEBKGND, reinterpret_cast<uintptr_t>(&w->dc), 0))
                plat::fill_rect(&w->dc, plat::client_rect(w),
                                plat::system_color(plat::COLOR_BTNFACE));
            deliver(w, plat::WM_PAINT, 0, 0);
            w->in_paint = false;
            // The paint covers what was invalidated while erasing.
            w->needs_wm_paint = w->needs_erase = false;
        }
        QPainter painter(this);
        painter.setClipRegion(event->region());
        painter.drawImage(QPoint(0, 0), w->backing);
    }

    void resizeEvent(QResizeEvent*) override {
        plat::Window* w = window_;
        ensure_backing(w);
        w->needs_wm_paint = w->needs_erase = true;
        place_children(w);
        if (w->sent_width == width() && w->sent_height == height()) return;
        w->sent_width = width();
        w->sent_height = height();
        if (open_dialog(w)) deliver(w, plat::WM_SIZE, 0, lparam_of(width(), height()));
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        const intptr_t flags = 1 | (event->isAutoRepeat() ? intptr_t(1) << 30 : 0);
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The procedure may take Return for itself; otherwise it is the dialog's OK.
            if (!(deliver(window_, plat::WM_GETDLGCODE, plat::VK_RETURN, 0) &
                  plat::DLGC_WANTMESSAGE))
                return event->ignore();
            deliver(window_, plat::WM_KEYDOWN, plat::VK_RETURN, flags);
            return;
        }
        if (key == Qt::Key_Escape) return event->ignore();  // the dialog's
        const uint32_t vk = vk_from_qt_key(key);
        if (vk) deliver(window_, plat::WM_KEYDOWN, vk, flags);
        // What the key typed, for the procedures that take letters and digits.
        const QString text = event->text();
        bool typed = false;
        for (QChar c : text)
            if (c.isPrint() && open_dialog(window_)) {
                deliver(window_, plat::WM_CHAR, c.unicode(), flags);
                typed = true;
            }
        if (!vk && !typed) QWidget::keyPressEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        if (window_->focus_frame) window_->focus_frame->update();
        // Showing a dialog hands its first focus over as if by Tab: only a later one is the user's.
        const bool by_tab = window_->client_focused && (event->reason() == Qt::TabFocusReason ||
                                                        event->reason() == Qt::BacktabFocusReason);
        window_->client_focused = true;
        if (open_dialog(window_)) deliver(window_, plat::WM_SETFOCUS, by_tab ? 1 : 0, 0);
    }

    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        if (window_->focus_frame) window_->focus_frame->update();
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        if (!window_->tap_keeps_focus) setFocus(Qt::MouseFocusReason);
        const QPoint p = event->position().toPoint();
        deliver(window_, plat::WM_LBUTTONDOWN, 1, lparam_of(p.x(), p.y()));
    }

  private:
    plat::Window* window_;
};

class DialogWidget : public QDialog {
  public:
    DialogWidget(plat::Window* w, QWidget* parent) : QDialog(parent), window_(w) {}

  protected:
    void resizeEvent(QResizeEvent*) override { place_children(window_); }

    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (QWidget* target = window_->focus_target) target->setFocus(Qt::OtherFocusReason);
    }

    // The close box asks the procedure, as Cancel does; only end_dialog closes.
    void closeEvent(QCloseEvent* event) override {
        if (window_->ended) return event->accept();
        event->ignore();
        command(window_, uint16_t(plat::IDCANCEL));
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Escape:
                return command(window_, uint16_t(plat::IDCANCEL));
            case Qt::Key_Return:
            case Qt::Key_Enter:
                return command(window_, default_id(window_));
            default:
                return QWidget::keyPressEvent(event);
        }
    }

    void reject() override { command(window_, uint16_t(plat::IDCANCEL)); }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowActivate)
            deliver(window_, plat::WM_ACTIVATE, plat::WA_ACTIVE, 0);
        else if (event->type() == QEvent::WindowDeactivate)
            deliver(window_, plat::WM_ACTIVATE, plat::WA_INACTIVE, 0);
        return QDialog::event(event);
    }

  private:
    plat::Window* window_;
};

QWidget* parent_widget(plat::Window* owner) {
    return alive_client(owner) ? static_cast<QWidget*>(owner->top) : nullptr;
}

}  // namespace

void keep_centred_over(QWidget* box, QWidget* owner, bool now) {
    if (!box || !owner) return;
    const auto centre = [box, owner = QPointer<QWidget>(owner)] {
        if (!owner || !owner->isVisible()) return;
        const QRect frame = box->frameGeometry();
        box->move(box->pos() + owner->frameGeometry().center() - frame.center());
    };
    if (now) centre();
    QTimer::singleShot(PLACE_AGAIN_MS, box, centre);
}

}  // namespace lekta::qtplat

namespace lekta::plat {

intptr_t run_dialog(Window* owner, const DialogTemplate& tmpl, WindowProc proc, intptr_t param,
                    void* data) {
    if (!proc || !qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
    Window* w = qtplat::new_window_record();
    w->kind = Window::Kind::dialog;
    w->proc = proc;
    w->owner = owner;
    w->dialog_data = data;

    auto* dialog = new qtplat::DialogWidget(w, qtplat::parent_widget(owner));
    w->top = dialog;
    dialog->setWindowTitle(qtplat::to_qstring(tmpl.caption));
    dialog->setModal(true);
    w->client = new qtplat::DialogClient(w, dialog);
    w->focus_target = w->client;
    if (tmpl.vscroll) w->scroll = qtplat::make_scroll_bar(w, w->client);
    qtplat::create_controls(w, tmpl.controls);
    w->focus_frame = new qtplat::FocusFrame(w, w->client);
    const Rect size = dialog_units_to_pixels({0, 0, tmpl.cx, tmpl.cy});
    dialog->resize(std::max(1, size.right), std::max(1, size.bottom));
    qtplat::place_children(w);
    w->sent_width = w->client->width();
    w->sent_height = w->client->height();

    w->dc.window = w;
    w->dc.image = &w->backing;
    qtplat::register_dc(&w->dc);
    qtplat::ensure_backing(w);

    {
        qtplat::ModalScope modal;
        if (proc(w, WM_INITDIALOG, 0, param)) {
            // The default focus: the first control that takes it.
            for (const DialogControl& c : w->controls)
                if (c.widget && c.widget->focusPolicy() != Qt::NoFocus && c.widget->isEnabled()) {
                    w->focus_target = c.widget;
                    break;
                }
        }
        if (!w->ended) {
            // The size after initialisation (a Done strip or full screen may have changed it).
            w->sent_width = w->client->width();
            w->sent_height = w->client->height();
            qtplat::deliver(w, WM_SIZE, 0, qtplat::lparam_of(w->sent_width, w->sent_height));
        }
        if (!w->ended) {
            if (owner && owner->top && !(dialog->windowState() & Qt::WindowFullScreen))
                qtplat::keep_centred_over(dialog, owner->top, true);
            // A loop of our own rather than exec(): a quit requested while no loop ran (the
            // program ending one window before opening another) must not end the dialog.
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->show();
            while (!w->ended && dialog->isVisible())
                QCoreApplication::processEvents(QEventLoop::AllEvents |
                                                QEventLoop::WaitForMoreEvents);
            dialog->hide();
        }
    }
    qtplat::deliver(w, WM_DESTROY, 0, 0);
    w->alive = false;
    qtplat::unregister_dc(&w->dc);
    const intptr_t result = w->ended ? w->result : -1;
    delete dialog;
    // The owner is active again, as when a modal dialog box ends: its keys (F3 after a search)
    // work at once, with or without a window manager to hand the focus back.
    if (owner && owner->alive && owner->top) owner->top->activateWindow();
    w->backing = QImage();
    return result;
}

void end_dialog(Window* dialog, intptr_t result) {
    if (!qtplat::open_dialog(dialog)) return;
    dialog->ended = true;
    dialog->result = result;
    dialog->top->hide();
}

Window* dialog_owner(Window* dialog) {
    return dialog && dialog->kind == Window::Kind::dialog ? dialog->owner : nullptr;
}

void* dialog_data(Window* dialog) {
    return dialog && dialog->kind == Window::Kind::dialog ? dialog->dialog_data : nullptr;
}

void init_full_screen_dialog(Window* dialog, uint32_t flags) {
    if (!qtplat::open_dialog(dialog)) return;
    Window* main = dialog->owner;
    while (main && main->kind == Window::Kind::dialog)
        main = main->owner;
    if (main && main->full_screen) {
        if (flags & DIALOG_FULL_SCREEN)
            dialog->top->setWindowState(dialog->top->windowState() | Qt::WindowFullScreen);
        return;
    }
    if (dialog->done_strip) return;
    // The Done button stands outside the client area, so the procedure's layout keeps all of it.
    auto* strip = new QWidget(dialog->top);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addStretch();
    auto* done = new QPushButton(QStringLiteral("Done"), strip);
    done->setAutoDefault(false);
    done->setObjectName(QStringLiteral("done_button"));
    layout->addWidget(done);
    QObject::connect(done, &QPushButton::clicked, done,
                     [dialog] { qtplat::command(dialog, uint16_t(IDOK)); });
    dialog->done_strip = strip;
    const QSize client = dialog->client->size();
    dialog->top->resize(client.width(), client.height() + strip->sizeHint().height());
    qtplat::place_children(dialog);
}

void set_focus_rect(Window* dialog, const Rect& rect) {
    if (!qtplat::alive_client(dialog)) return;
    dialog->focus_rect = rect;
    if (dialog->focus_frame) dialog->focus_frame->update();
}

void invalidate(Window* window, bool erase) {
    if (!qtplat::alive_client(window) || !window->client) return;
    window->needs_wm_paint = true;
    if (erase) window->needs_erase = true;
    window->client->update();
}

}  // namespace lekta::plat
