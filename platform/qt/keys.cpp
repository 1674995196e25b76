// Qt keys as the virtual-key codes the window procedure expects.
#include <Qt>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {

uint32_t vk_from_qt_key(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return uint32_t(0x30 + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return uint32_t(0x41 + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return uint32_t(0x70 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return plat::VK_RETURN;
        case Qt::Key_Escape:
            return plat::VK_ESCAPE;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return plat::VK_PRIOR;
        case Qt::Key_PageDown:
            return plat::VK_NEXT;
        case Qt::Key_End:
            return plat::VK_END;
        case Qt::Key_Home:
            return plat::VK_HOME;
        case Qt::Key_Left:
            return plat::VK_LEFT;
        case Qt::Key_Up:
            return plat::VK_UP;
        case Qt::Key_Right:
            return plat::VK_RIGHT;
        case Qt::Key_Down:
            return plat::VK_DOWN;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

}  // namespace lekta::qtplat
