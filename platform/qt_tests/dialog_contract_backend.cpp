// The dialog contract on the Qt backend: the user acts through Qt events once the modal dialog
// shows.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "platform/dialog_contract_test.h"
#include "platform/qt/qt_internal.h"

namespace lekta::contract {
namespace {

plat::WindowProc g_proc = nullptr;
plat::Window* g_open = nullptr;

// Notes the dialog's window for the user's actions, then hands on to the procedure.
intptr_t noting_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (message == plat::WM_INITDIALOG) g_open = dialog;
    return g_proc(dialog, message, wparam, lparam);
}

}  // namespace

intptr_t run(const plat::DialogTemplate& tmpl, plat::WindowProc proc, intptr_t param, void* data,
             std::function<void(plat::Window* dialog)> user) {
    g_proc = proc;
    g_open = nullptr;
    QTimer::singleShot(0, [user] {
        QApplication::processEvents();
        if (g_open) user(g_open);
    });
    const intptr_t result = plat::run_dialog(nullptr, tmpl, noting_proc, param, data);
    g_open = nullptr;
    return result;
}

void tap(plat::Window* dialog, int32_t x, int32_t y) {
    QTest::mouseClick(dialog->client, Qt::LeftButton, {}, QPoint(x, y));
}

void close_box(plat::Window* dialog) {
    dialog->top->close();
}

}  // namespace lekta::contract
