// The bar: a row of flat tool buttons lying over the top (or bottom) of the main window's client
// area, with the one drop-down menu first. Its commands reach the window as WM_COMMAND.
// A plain row rather than a QToolBar: the bar never floats, moves or overflows, and a tool bar's
// machinery (its style icons in particular) costs start-up time for nothing.
#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>

#include <cmath>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

// One 16x16 image of the 1-bit strip; bits past the end of the strip count as clear.
QImage strip_image(std::span<const uint8_t> bits, int count, int index) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const size_t stride = size_t(count) * 2;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            size_t byte = size_t(y) * stride + size_t(index) * 2 + size_t(x / 8);
            if (byte < bits.size() && (bits[byte] & (0x80 >> (x % 8))))
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return image;
}

void send_command(plat::Window* owner, uint16_t id) {
    plat::send_message(owner, plat::WM_COMMAND, id, 0);
}

bool bar_alive(const plat::Window* bar) {
    return bar && bar->kind == plat::Window::Kind::bar && bar->alive && bar->toolbar;
}

}  // namespace

void place_bar(plat::Window* window) {
    plat::Window* bar = window ? window->bar : nullptr;
    if (!bar_alive(bar) || !window->client) return;
    QWidget* tb = bar->toolbar;
    int height = tb->sizeHint().height();
    int top = bar->at_bottom ? window->client->height() - height : 0;
    tb->setGeometry(0, top, window->client->width(), height);
}

}  // namespace lekta::qtplat

namespace lekta::plat {

Window* create_bar(Window* main_window, const BarSpec& params) {
    if (!main_window || main_window->kind != Window::Kind::main || !main_window->alive ||
        !main_window->client)
        return nullptr;
    if (main_window->bar) destroy_bar(main_window->bar);
    Window* bar = qtplat::new_window_record();
    bar->kind = Window::Kind::bar;
    bar->owner = main_window;
    bar->at_bottom = params.at_bottom;

    auto* tb = new QWidget(main_window->client);
    bar->toolbar = tb;
    tb->setObjectName(QStringLiteral("bar"));
    tb->setAutoFillBackground(true);
    tb->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout(tb);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    auto add_button = [tb, row]() {
        auto* button = new QToolButton(tb);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(16, 16));
        row->addWidget(button);
        return button;
    };

    auto* menu = new QMenu(tb);
    bar->menu.qmenu = menu;
    for (const MenuItemSpec& item : params.items) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QString text = qtplat::to_qstring(item.label);
        if (item.shortcut && *item.shortcut) text += u'\t' + qtplat::to_qstring(item.shortcut);
        QAction* action = menu->addAction(text);
        action->setEnabled(item.enabled);
        const uint16_t id = item.id;
        bar->menu.actions[id] = action;
        QObject::connect(action, &QAction::triggered, menu, [bar, action, id] {
            // A checkable action flips itself; the program decides the check mark.
            if (action->isCheckable()) {
                QSignalBlocker block(action);
                action->setChecked(bar->menu.checked[id]);
            }
            qtplat::send_command(bar->owner, id);
        });
    }

    QToolButton* go = add_button();
    go->setText(qtplat::to_qstring(params.menu_title));
    go->setMenu(menu);
    go->setPopupMode(QToolButton::InstantPopup);
    go->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->menu_button = go;

    for (const ToolButtonSpec& button : params.buttons) {
        auto* action = new QAction(tb);
        if (button.image >= 0 && button.image < params.image_count) {
            const auto index = size_t(button.image);
            const char* outline =
                index < params.image_outlines.size() ? params.image_outlines[index] : nullptr;
            action->setIcon(qtplat::bar_icon(
                qtplat::strip_image(params.image_bits, params.image_count, button.image), outline));
        }
        action->setToolTip(qtplat::to_qstring(button.tooltip));
        action->setEnabled(button.enabled);
        QToolButton* tool = add_button();
        tool->setDefaultAction(action);
        // Shown as a picture only: its name is what a screen reader says.
        tool->setAccessibleName(action->toolTip());
        const uint16_t command = button.command;
        bar->buttons[command] = action;
        QObject::connect(action, &QAction::triggered, tb,
                         [bar, command] { qtplat::send_command(bar->owner, command); });
    }

    row->addStretch(1);
    main_window->bar = bar;
    tb->ensurePolished();  // so that its height is final before the window is shown
    tb->show();
    qtplat::place_bar(main_window);
    qtplat::fit_minimum_size(main_window);
    return bar;
}

int32_t bar_height(Window* bar) {
    if (!qtplat::bar_alive(bar)) return 0;
    return bar->toolbar->sizeHint().height();
}

void destroy_bar(Window* bar) {
    if (!bar || bar->kind != Window::Kind::bar || !bar->toolbar) return;
    bar->alive = false;
    if (bar->owner && bar->owner->bar == bar) bar->owner->bar = nullptr;
    // Later, not now: this may run inside one of the bar's own actions.
    bar->toolbar->hide();
    bar->toolbar->deleteLater();
    bar->menu.actions.clear();
    bar->buttons.clear();
}

Menu* bar_menu(Window* bar) {
    return qtplat::bar_alive(bar) ? &bar->menu : nullptr;
}

void open_bar_menu(Window* bar) {
    if (!qtplat::bar_alive(bar) || !bar->menu.qmenu || !bar->menu_button) return;
    QMenu* menu = bar->menu.qmenu;
    if (menu->isVisible()) return;
    QWidget* button = bar->menu_button;
    const int above = menu->sizeHint().height();
    menu->popup(button->mapToGlobal(QPoint(0, bar->at_bottom ? -above : button->height())));
    // Opened from the keyboard: the first item that can be chosen is ready, as in a menu bar.
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            menu->setActiveAction(action);
            break;
        }
    }
}

void check_menu_item(Menu* menu, uint16_t id, bool checked) {
    if (!menu) return;
    auto it = menu->actions.find(id);
    if (it == menu->actions.end()) return;
    menu->checked[id] = checked;
    QSignalBlocker block(it->second);
    it->second->setCheckable(true);
    it->second->setChecked(checked);
}

bool menu_item_checked(Menu* menu, uint16_t id) {
    if (!menu) return false;
    auto it = menu->checked.find(id);
    return it != menu->checked.end() && it->second;
}

void enable_menu_item(Menu* menu, uint16_t id, bool enabled) {
    if (!menu) return;
    auto it = menu->actions.find(id);
    if (it != menu->actions.end()) it->second->setEnabled(enabled);
}

void enable_tool_button(Window* bar, uint16_t command, bool enabled) {
    if (!qtplat::bar_alive(bar)) return;
    auto it = bar->buttons.find(command);
    if (it != bar->buttons.end()) it->second->setEnabled(enabled);
}

}  // namespace lekta::plat
