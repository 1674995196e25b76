// Keyboard shortcuts of the main window, sending WM_COMMAND as the menu items do.
#include <QAction>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

void set_accelerators(Window* main_window, std::span<const Accelerator> accelerators) {
    if (!main_window || main_window->kind != Window::Kind::main || !main_window->alive ||
        !main_window->top)
        return;
    for (QShortcut* old : main_window->accelerators)
        delete old;
    main_window->accelerators.clear();
    for (const Accelerator& accelerator : accelerators) {
        if (!accelerator.keys) continue;
        QKeySequence keys = QKeySequence::fromString(QString::fromUtf8(accelerator.keys),
                                                     QKeySequence::PortableText);
        if (keys.isEmpty()) continue;
        auto* shortcut = new QShortcut(keys, main_window->top);
        shortcut->setContext(Qt::WindowShortcut);
        const uint16_t command = accelerator.command;
        Window* w = main_window;
        QObject::connect(shortcut, &QShortcut::activated, shortcut, [w, command] {
            // As with a menu, a shortcut whose menu item is greyed does nothing.
            if (w->bar) {
                auto it = w->bar->menu.actions.find(command);
                if (it != w->bar->menu.actions.end() && !it->second->isEnabled()) return;
            }
            send_message(w, WM_COMMAND, command, 0);
        });
        main_window->accelerators.push_back(shortcut);
    }
}

}  // namespace lekta::plat
