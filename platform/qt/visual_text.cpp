// Qt's text controls order right-to-left letters themselves: a left-to-right override in front
// of the text makes them show it as given. A paragraph of Hebrew letters still counts as
// right-to-left, which would turn a right alignment into a left one; the alignment is made
// absolute so that it stays where the template put it.
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextEdit>

#include <string>

#include "platform/qt/qt_internal.h"
#include "platform/visual_text.h"

namespace lekta::plat {

void set_control_visual_text(Window* dialog, uint16_t id, const char16_t* text) {
    std::u16string shown = u"\u202D";
    if (text) shown += text;
    set_control_text(dialog, id, shown.c_str());
    auto* edit = qobject_cast<QTextEdit*>(qtplat::control_widget(dialog, id));
    if (!edit) return;
    const QSignalBlocker block(edit);
    edit->selectAll();
    edit->setAlignment(edit->alignment() | Qt::AlignAbsolute);
    edit->moveCursor(QTextCursor::Start);
}

}  // namespace lekta::plat
