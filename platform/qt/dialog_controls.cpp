// A dialog's controls: made from the template as Qt widgets on the client area; their
// clicks and changes arrive as WM_COMMAND with the control id and a notification code.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextEdit>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

void notify(plat::Window* w, uint16_t id, uint16_t code) {
    if (w->alive && !w->ended)
        deliver(w, plat::WM_COMMAND, uintptr_t{id} | uintptr_t{code} << 16, 0);
}

Qt::Alignment text_alignment(uint32_t style) {
    if (style & plat::CS_CENTER) return Qt::AlignHCenter | Qt::AlignTop;
    if (style & plat::CS_RIGHT) return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

// Radio buttons check as the program says: an auto radio is checked by a click and unchecks
// the dialog's other auto radios; a plain one changes only when told. Either may be left
// with nothing checked, which Qt's exclusive groups would not allow.
class RadioButton : public QRadioButton {
  public:
    RadioButton(plat::Window* w, bool automatic, const QString& text, QWidget* parent)
        : QRadioButton(text, parent), window_(w), automatic_(automatic) {
        setAutoExclusive(false);
    }

  protected:
    void nextCheckState() override {
        if (!automatic_) return;
        for (const plat::DialogControl& c : window_->controls)
            if (c.kind == plat::ControlKind::auto_radio && c.widget && c.widget != this)
                static_cast<QAbstractButton*>(c.widget.data())->setChecked(false);
        setChecked(true);
    }

  private:
    plat::Window* window_;
    bool automatic_;
};

// A push button drawn by the procedure: each paint sends WM_DRAWITEM with a dc on an image of
// the button's size.
class OwnerDrawnButton : public QAbstractButton {
  public:
    OwnerDrawnButton(plat::Window* w, uint16_t id, QWidget* parent)
        : QAbstractButton(parent), window_(w), id_(id) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const qreal dpr = devicePixelRatioF();
        QImage image(size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        image.fill(palette().color(QPalette::Window));
        plat::Dc* dc = create_image_dc(&image);
        plat::DrawItem item;
        item.id = id_;
        item.dc = dc;
        item.rect = {0, 0, width(), height()};
        item.pressed = isDown();
        item.focused = hasFocus();
        deliver(window_, plat::WM_DRAWITEM, id_, reinterpret_cast<intptr_t>(&item));
        delete_image_dc(dc);
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), image);
    }

  private:
    plat::Window* window_;
    uint16_t id_;
};

QWidget* make_widget(plat::Window* w, const plat::ControlTemplate& t, QWidget* parent) {
    const QString text = to_qstring(t.text);
    const uint16_t id = t.id;
    switch (t.kind) {
        case plat::ControlKind::push_button:
        case plat::ControlKind::default_button: {
            auto* b = new QPushButton(text, parent);
            b->setAutoDefault(false);
            b->setDefault(t.kind == plat::ControlKind::default_button);
            QObject::connect(b, &QPushButton::clicked, b,
                             [w, id] { notify(w, id, plat::BN_CLICKED); });
            return b;
        }
        case plat::ControlKind::owner_drawn_button: {
            auto* b = new OwnerDrawnButton(w, id, parent);
            b->setText(text);
            QObject::connect(b, &QAbstractButton::clicked, b,
                             [w, id] { notify(w, id, plat::BN_CLICKED); });
            return b;
        }
        case plat::ControlKind::static_text: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(text_alignment(t.style));
            if (t.style & plat::CS_BORDER) label->setFrameShape(QFrame::Box);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            return label;
        }
        case plat::ControlKind::group_box: {
            auto* box = new QGroupBox(text, parent);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            return box;
        }
        case plat::ControlKind::picture: {
            auto* label = new QLabel(parent);
            if (t.image) label->setPixmap(picture_pixmap(*t.image, parent->devicePixelRatioF()));
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            return label;
        }
        case plat::ControlKind::edit: {
            if (t.style & plat::CS_MULTILINE) {
                auto* e = new QTextEdit(parent);
                e->setAcceptRichText(false);
                e->setPlainText(text);
                e->setReadOnly((t.style & plat::CS_READONLY) != 0);
                e->setAlignment(t.style & plat::CS_RIGHT ? Qt::AlignRight : Qt::AlignLeft);
                e->setVerticalScrollBarPolicy(
                    (t.style & plat::CS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
                if (!(t.style & plat::CS_BORDER)) e->setFrameShape(QFrame::NoFrame);
                // Only the user's typing notifies, as with the other controls.
                QObject::connect(e, &QTextEdit::textChanged, e, [w, id, e] {
                    if (!e->signalsBlocked() && e->hasFocus()) notify(w, id, plat::EN_CHANGE);
                });
                return e;
            }
            auto* e = new QLineEdit(text, parent);
            // Right means right whatever way the text runs: the template places the text, and
            // Qt would otherwise mirror it for right-to-left text.
            e->setAlignment(t.style & plat::CS_RIGHT ? Qt::AlignRight | Qt::AlignAbsolute
                                                     : Qt::AlignLeft);
            e->setReadOnly((t.style & plat::CS_READONLY) != 0);
            e->setFrame((t.style & plat::CS_BORDER) != 0);
            QObject::connect(e, &QLineEdit::textEdited, e,
                             [w, id] { notify(w, id, plat::EN_CHANGE); });
            return e;
        }
        case plat::ControlKind::list_box: {
            auto* list = new QListWidget(parent);
            list->setVerticalScrollBarPolicy((t.style & plat::CS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                          : Qt::ScrollBarAlwaysOff);
            if (t.style & plat::CS_NOTIFY) {
                // Only the user's changes notify; the program's are made with signals blocked.
                QObject::connect(list, &QListWidget::currentRowChanged, list,
                                 [w, id] { notify(w, id, plat::LBN_SELCHANGE); });
                QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                                 [w, id] { notify(w, id, plat::LBN_DBLCLK); });
            }
            return list;
        }
        case plat::ControlKind::combo_box: {
            auto* combo = new QComboBox(parent);
            QObject::connect(combo, &QComboBox::activated, combo,
                             [w, id] { notify(w, id, plat::LBN_SELCHANGE); });
            return combo;
        }
        case plat::ControlKind::radio_button:
        case plat::ControlKind::auto_radio: {
            auto* b = new RadioButton(w, t.kind == plat::ControlKind::auto_radio, text, parent);
            QObject::connect(b, &QAbstractButton::clicked, b,
                             [w, id] { notify(w, id, plat::BN_CLICKED); });
            return b;
        }
        case plat::ControlKind::check_box: {
            auto* b = new QCheckBox(text, parent);
            QObject::connect(b, &QAbstractButton::clicked, b,
                             [w, id] { notify(w, id, plat::BN_CLICKED); });
            return b;
        }
    }
    return nullptr;
}

plat::DialogControl* find(plat::Window* dialog, uint16_t id) {
    if (!dialog || dialog->kind != plat::Window::Kind::dialog || !dialog->alive) return nullptr;
    plat::DialogControl* c = dialog->find_control(id);
    return c && c->widget ? c : nullptr;
}

}  // namespace

void create_controls(plat::Window* dialog, std::span<const plat::ControlTemplate> controls) {
    for (const plat::ControlTemplate& t : controls) {
        QWidget* widget = make_widget(dialog, t, dialog->client);
        if (!widget) continue;
        plat::Rect r = plat::dialog_units_to_pixels({t.x, t.y, t.x + t.cx, t.y + t.cy});
        if (t.kind == plat::ControlKind::picture && t.image)
            r = {r.left, r.top, r.left + t.image->width, r.top + t.image->height};
        widget->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
        widget->setEnabled((t.style & plat::CS_DISABLED) == 0);
        if (t.tip) widget->setToolTip(to_qstring(t.tip));
        if (!(t.style & plat::CS_TABSTOP) && widget->focusPolicy() == Qt::TabFocus)
            widget->setFocusPolicy(Qt::ClickFocus);
        dialog->controls.push_back({t.id, t.kind, t.style, widget, nullptr});
    }
}

QWidget* control_widget(plat::Window* dialog, uint16_t id) {
    plat::DialogControl* c = find(dialog, id);
    return c ? c->widget.data() : nullptr;
}

QPixmap picture_pixmap(const plat::MonoImage& image, qreal dpr) {
    if (image.draw && image.width > 0 && image.height > 0 && image.width <= 4096 &&
        image.height <= 4096) {
        QImage canvas(int(std::ceil(image.width * dpr)), int(std::ceil(image.height * dpr)),
                      QImage::Format_RGB32);
        canvas.setDevicePixelRatio(dpr);
        canvas.fill(Qt::white);
        plat::Dc* dc = create_image_dc(&canvas);
        const bool drawn = image.draw(dc, dpr);
        delete_image_dc(dc);
        if (drawn) return QPixmap::fromImage(canvas);
    }
    return QPixmap::fromImage(mono_image(image));
}

QImage mono_image(const plat::MonoImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > 4096 || image.height > 4096)
        return {};
    const size_t stride = size_t((image.width + 15) / 16) * 2;
    if (image.bits.size() < stride * size_t(image.height)) return {};
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint8_t* row = image.bits.data() + stride * size_t(y);
        for (int x = 0; x < image.width; ++x)
            line[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return out;
}

}  // namespace lekta::qtplat

namespace lekta::plat {

bool has_control(Window* dialog, uint16_t id) {
    return qtplat::find(dialog, id) != nullptr;
}

void set_control_text(Window* dialog, uint16_t id, const char16_t* text) {
    QWidget* w = qtplat::control_widget(dialog, id);
    const QString s = qtplat::to_qstring(text);
    const QSignalBlocker block(w);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(s);
        e->setCursorPosition(0);
    } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
        const Qt::Alignment align = t->alignment();
        t->setPlainText(s);
        t->selectAll();
        t->setAlignment(align);
        t->moveCursor(QTextCursor::Start);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(s);
        b->update();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(s);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(s);
    }
}

std::u16string control_text(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    QString s;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        s = e->text();
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        s = t->toPlainText();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        s = b->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        s = l->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        s = g->title();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        s = c->currentText();
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

void set_control_font(Window* dialog, uint16_t id, Font* font) {
    DialogControl* c = qtplat::find(dialog, id);
    if (!c) return;
    c->font = font;
    c->widget->setFont(font ? font->qfont : QFont());
    c->widget->update();
}

FontDesc control_font(Window* dialog, uint16_t id) {
    DialogControl* c = qtplat::find(dialog, id);
    if (!c) return {};
    if (c->font) {
        FontDesc desc;
        const QString family = c->font->qfont.family();
        const auto n = std::min<qsizetype>(family.size(), std::size(desc.face) - 1);
        std::copy_n(reinterpret_cast<const char16_t*>(family.utf16()), n, desc.face);
        desc.height = c->font->qfont.pixelSize();
        desc.weight = c->font->qfont.weight();
        return desc;
    }
    FontDesc desc;
    const QFont f = c->widget->font();
    const QString family = QFontInfo(f).family();
    const auto n = std::min<qsizetype>(family.size(), std::size(desc.face) - 1);
    std::copy_n(reinterpret_cast<const char16_t*>(family.utf16()), n, desc.face);
    desc.height = QFontInfo(f).pixelSize();
    desc.weight = f.weight();
    return desc;
}

void enable_control(Window* dialog, uint16_t id, bool enabled) {
    if (QWidget* w = qtplat::control_widget(dialog, id)) w->setEnabled(enabled);
}

void check_control(Window* dialog, uint16_t id, bool checked) {
    if (auto* b = qobject_cast<QAbstractButton*>(qtplat::control_widget(dialog, id))) {
        b->setCheckable(true);
        b->setChecked(checked);
    }
}

bool control_checked(Window* dialog, uint16_t id) {
    auto* b = qobject_cast<QAbstractButton*>(qtplat::control_widget(dialog, id));
    return b && b->isChecked();
}

void set_focus(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (!w) return;
    dialog->focus_target = w;
    if (dialog->top && dialog->top->isVisible()) w->setFocus(Qt::OtherFocusReason);
}

void set_control_name(Window* dialog, uint16_t id, const char16_t* name) {
    if (QWidget* w = qtplat::control_widget(dialog, id))
        w->setAccessibleName(qtplat::to_qstring(name));
}

void move_control(Window* dialog, uint16_t id, const Rect& rect) {
    if (QWidget* w = qtplat::control_widget(dialog, id))
        w->setGeometry(rect.left, rect.top, std::max(0, rect.right - rect.left),
                       std::max(0, rect.bottom - rect.top));
}

Rect control_rect(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (!w) return {};
    const QRect g = w->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

}  // namespace lekta::plat
